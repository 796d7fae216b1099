#pragma once
// The data view, the rectangle the channels are drawn in. So far only what the object model
// needs: its title and the axes its grid follows, bound by name and cached like a channel's.
// The grid's "<All>" meaning, the background, the grid drawing and the percent conversions come
// with the data view work.

#include <string>

#include "plot/PlotObjectReference.h"
#include "plot/PlotObjects.h"

namespace ondrix {

class TPlotXAxis;
class TPlotYAxis;

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

    void NotificationRemove(TPlotObject& obj) override;
    void NotificationRename(TPlotObject& obj) override;

private:
    std::string title_;
    TPlotObjectReference<TPlotXAxis> gridXAxis_;
    TPlotObjectReference<TPlotYAxis> gridYAxis_;
};

}  // namespace ondrix
