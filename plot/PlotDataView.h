#pragma once
// The data view, the rectangle the channels are drawn in. So far what the object model needs
// (its title and the axes its grid follows, bound by name and cached like a channel's) and the
// stored grid and axis-control settings. The grid's "<All>" meaning, the background, the grid
// drawing, the mouse handling and the percent conversions come with the data view work.

#include <cstdint>
#include <string>

#include "plot/PlotObjectReference.h"
#include "plot/PlotObjects.h"

namespace ondrix {

class TPlotXAxis;
class TPlotYAxis;

// Which axes a drag or the wheel on the data view moves (Shift swaps X and Y for the single
// kinds).
enum TPlotAxesControlStyle : uint8_t { ipacsXAxis, ipacsYAxis, ipacsBoth };

class TPlotDataView : public TPlotLayoutObject {
public:
    TPlotDataView(TPlotComponent* owner, TPlotObjectEvents events);

    const std::string& GetTitle() const { return title_; }
    void SetTitle(const std::string& value);

    const std::string& GetGridXAxisName() const { return gridXAxis_.Name(); }
    void SetGridXAxisName(const std::string& value);
    const std::string& GetGridYAxisName() const { return gridYAxis_.Name(); }
    void SetGridYAxisName(const std::string& value);
    // The axis the grid follows, or null when no axis of that kind bears the name.
    TPlotXAxis* GetGridXAxis();
    TPlotYAxis* GetGridYAxis();

    // ---- Grid lines ----
    // The common colour of the grid lines and of the frame.
    TColor GetGridLineColor() const { return gridLineColor_; }
    void SetGridLineColor(TColor value);
    // Pen widths of the lines that use their own attributes; 0 is a one-pixel line.
    int32_t GetGridLineXMajorWidth() const { return gridLineXMajorWidth_; }
    void SetGridLineXMajorWidth(int32_t value);
    int32_t GetGridLineXMinorWidth() const { return gridLineXMinorWidth_; }
    void SetGridLineXMinorWidth(int32_t value);
    int32_t GetGridLineYMajorWidth() const { return gridLineYMajorWidth_; }
    void SetGridLineYMajorWidth(int32_t value);
    int32_t GetGridLineYMinorWidth() const { return gridLineYMinorWidth_; }
    void SetGridLineYMinorWidth(int32_t value);

    // ---- Axis control ----
    // Drags and the wheel on the data view act on the axes. The mode is read at every mouse
    // event and changes nothing on screen, so setting it reports no change.
    bool GetAxesControlEnabled() const { return axesControlEnabled_; }
    void SetAxesControlEnabled(bool value) { axesControlEnabled_ = value; }
    TPlotAxesControlStyle GetAxesControlMouseStyle() const { return axesControlMouseStyle_; }
    void SetAxesControlMouseStyle(TPlotAxesControlStyle value);
    TPlotAxesControlStyle GetAxesControlWheelStyle() const { return axesControlWheelStyle_; }
    void SetAxesControlWheelStyle(TPlotAxesControlStyle value);

    void NotificationRemove(TPlotObject& obj) override;
    void NotificationRename(TPlotObject& obj) override;

private:
    template <class T>
    void Store(T& field, T value) {
        if (field == value) return;
        field = value;
        TriggerChange();
    }

    std::string title_;
    TPlotObjectReference<TPlotXAxis> gridXAxis_;
    TPlotObjectReference<TPlotYAxis> gridYAxis_;

    TColor gridLineColor_ = clGreen;
    int32_t gridLineXMajorWidth_ = 0;
    int32_t gridLineXMinorWidth_ = 0;
    int32_t gridLineYMajorWidth_ = 0;
    int32_t gridLineYMinorWidth_ = 0;

    bool axesControlEnabled_ = false;
    TPlotAxesControlStyle axesControlMouseStyle_ = ipacsBoth;
    TPlotAxesControlStyle axesControlWheelStyle_ = ipacsXAxis;
};

}  // namespace ondrix
