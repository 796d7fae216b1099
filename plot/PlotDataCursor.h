#pragma once
// The measuring cursor. So far only what the object model needs: the channel it reads, bound by
// name and cached, and the data view it lies in. Pointers, styles, the hint box, "<All>" and the
// input handling come with the data cursor work.

#include <string>

#include "plot/PlotObjectReference.h"
#include "plot/PlotObjects.h"

namespace ondrix {

class TPlotChannelCustom;
class TPlotDataView;

class TPlotDataCursor : public TPlotManagerObject {
public:
    // Starts hidden: the toolbar's Cursor button shows it.
    TPlotDataCursor(TPlotComponent* owner, TPlotObjectEvents events);

    const std::string& GetChannelName() const { return channel_.Name(); }
    void SetChannelName(const std::string& value);
    // The channel read, or null when no channel bears the name.
    TPlotChannelCustom* GetChannel();

    TPlotDataView* GetDataView() const { return dataView_; }
    void SetDataView(TPlotDataView* value) { dataView_ = value; }

    void NotificationRemove(TPlotObject& obj) override;
    void NotificationRename(TPlotObject& obj) override;

private:
    TPlotObjectReference<TPlotChannelCustom> channel_;
    TPlotDataView* dataView_ = nullptr;
};

}  // namespace ondrix
