#pragma once
// The kinds the plot keeps managers and a paint place for besides the main ones: limits, tables
// and annotations. Limits draw the scope's thin marks; tables and annotations exist only as far
// as the managers need them, their contents and drawing left for when a use appears.
//
// A limit is one thin line across the data view at a value of an axis, such as the scope's marks
// for the trigger point (an X value) and the trigger level (a Y value). Its axes are named, not
// cached: every paint looks them up through the owner, so a limit whose axis is missing draws
// nothing until an axis bears the name again. A renamed axis takes the limit's reference with it.
//
// Threads: GUI thread only.

#include <cstdint>
#include <string>

#include "plot/objects/PlotObjects.h"

namespace ondrix {

class TCanvas;
class TPlotAxis;

class TPlotTable : public TPlotLayoutObject {
public:
    using TPlotLayoutObject::TPlotLayoutObject;
};

// Which value the line marks: an X value (the line runs across the X axis) or a Y value.
enum TPlotLimitStyle : uint8_t { iplsXLine, iplsYLine };
inline constexpr auto kPlotLimitStyleNames = EnumValueNames<iplsYLine>({"iplsXLine", "iplsYLine"});

class TPlotLimit : public TPlotObject {
public:
    // One above the other objects' Layer: limits sort with their own letter below the channels of
    // the same layer, and a mark hidden under the traces it marks would be of no use.
    static constexpr int32_t kDefaultLayer = 101;

    TPlotLimit(TPlotComponent* owner, TPlotObjectEvents events);

    const std::string& GetXAxisName() const { return xAxisName_; }
    void SetXAxisName(const std::string& value);
    const std::string& GetYAxisName() const { return yAxisName_; }
    void SetYAxisName(const std::string& value);

    TPlotLimitStyle GetStyle() const { return style_; }
    void SetStyle(TPlotLimitStyle value);
    double GetPosition() const { return position_; }
    void SetPosition(double value);
    TColor GetColor() const { return color_; }
    void SetColor(TColor value);
    TPenStyle GetLineStyle() const { return lineStyle_; }
    void SetLineStyle(TPenStyle value);
    int32_t GetLineWidth() const { return lineWidth_; }
    // Widths below 1 are stored as 1, the thinnest line.
    void SetLineWidth(int32_t value);

    // One line through the whole data view at the axis's pixel for Position: top to bottom on a
    // horizontal axis, left to right on a vertical one. Nothing when the limit is hidden, its
    // axis is missing or Position is off the axis's scale. The caller clips to the data view.
    void Draw(TCanvas& canvas, const TPlotRect& dataViewRect) const;

    // Follows a rename of the axis the limit names.
    void NotificationRename(TPlotObject& obj) override;

private:
    // The axis Style refers to, or null when the plot has none by that name.
    const TPlotAxis* MarkedAxis() const;

    std::string xAxisName_;
    std::string yAxisName_;
    TPlotLimitStyle style_ = iplsXLine;
    double position_ = 0;
    // White stands apart from the four trace colours and the dark green grid on the black view.
    TColor color_ = clWhite;
    TPenStyle lineStyle_ = psSolid;
    int32_t lineWidth_ = 1;
};

class TPlotAnnotation : public TPlotObject {
public:
    using TPlotObject::TPlotObject;
};

}  // namespace ondrix
