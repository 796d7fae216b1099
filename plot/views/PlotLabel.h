#pragma once
// A text label; label 0 of a plot is its title. Its margins are counted in widths (left, right)
// and heights (top, bottom) of the character "0" in the label's font, so they scale with it.

#include <cstdint>
#include <string>

#include "plot/core/PlotCanvas.h"
#include "plot/core/PlotFont.h"
#include "plot/objects/PlotObjects.h"

namespace ondrix {

// Where the caption sits along the label's side. On a vertical label, left is toward the bottom
// end and right toward the top.
enum TAlignmentHorizontal : uint8_t { iahCenter, iahLeft, iahRight };
inline constexpr auto kAlignmentHorizontalNames = EnumValueNames<iahRight>({"iahCenter", "iahLeft", "iahRight"});

class TPlotLabel : public TPlotLayoutObject {
public:
    TPlotLabel(TPlotComponent* owner, TPlotObjectEvents events);

    // A label keeps its selection whatever else is selected.
    void NotificationSetFocus(TPlotObject&) override {}

    const std::string& GetCaption() const { return caption_; }
    void SetCaption(const std::string& value);
    double GetMarginLeft() const { return marginLeft_; }
    void SetMarginLeft(double value);
    double GetMarginTop() const { return marginTop_; }
    void SetMarginTop(double value);
    double GetMarginRight() const { return marginRight_; }
    void SetMarginRight(double value);
    double GetMarginBottom() const { return marginBottom_; }
    void SetMarginBottom(double value);

    TAlignmentHorizontal GetAlignment() const { return alignment_; }
    void SetAlignment(TAlignmentHorizontal value);
    const TPlotFont& GetFont() const { return font_; }
    void SetFont(const TPlotFont& value);

    // The caption's height plus the top and bottom margins.
    int GetRequiredWidth(const TPlotTextMeasure& measure) override;
    // The caption inside DrawRect less the margins; rotated by 90 degrees on a vertical label.
    void Draw(TCanvas& canvas);

private:
    struct Margins {
        int left, top, right, bottom;
    };
    Margins PixelMargins(const TPlotTextMeasure& measure) const;

    std::string caption_;
    double marginLeft_ = 0;
    double marginTop_ = 0;
    double marginRight_ = 0;
    double marginBottom_ = 0;
    TAlignmentHorizontal alignment_ = iahCenter;
    TPlotFont font_ = MakeFont("Arial", 14, clWhite, true);
};

}  // namespace ondrix
