// The main window's answers to the plot: the mouse over it (cursor following, click, double
// click), its pop-up menu (a Y axis of its own for channels 2..4), and Timer1.

#include <QMouseEvent>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"
#include "workbench/Mainform.h"

namespace ondrix {

namespace {

// The cursor follows the pixel this far left of the mouse.
constexpr int kCursorFollowOffset = 10;

}  // namespace

// A click is a left press and release on the plot; the press of a double click makes none.
bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &plotWindow_) return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::MouseMove:
            PlotMouseMove(static_cast<QMouseEvent*>(event)->position().toPoint().x());
            break;
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) plotClickPending_ = true;
            break;
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                plotClickPending_ = false;
                PlotDblClick();
            }
            break;
        case QEvent::MouseButtonRelease: {
            const auto* release = static_cast<QMouseEvent*>(event);
            if (release->button() != Qt::LeftButton || !plotClickPending_) break;
            plotClickPending_ = false;
            if (plotWindow_.rect().contains(release->position().toPoint())) PlotClick();
            break;
        }
        default:
            break;
    }
    return false;
}

// Data cursor 0's first pointer goes to the whole sample under the mouse, and each visible
// channel's value box shows the channel's value there.
void TForm1::PlotMouseMove(int x) {
    TPlotDataView* view = Plot1.DataViewCount() > 0 ? Plot1.GetDataView(0) : nullptr;
    TPlotDataCursor* cursor = Plot1.DataCursorCount() > 0 ? Plot1.GetDataCursor(0) : nullptr;
    if (view == nullptr || cursor == nullptr) return;
    const TPlotXAxis& xAxis = *Plot1.GetXAxis(0);
    const auto pointer =
        SnappedPointerPercent(xAxis.GetMin(), xAxis.GetSpan(), view->PixelsXToPositionPercent(x - kCursorFollowOffset));
    if (!pointer) return;
    cursor->SetPointer1Position(*pointer);
    // Read now, shown or not (the scope's own cursor is hidden), so that the boxes tell the
    // values under the pointer rather than those where the paint before left it.
    cursor->DoUpdate();
    for (int c = 0; c < kChannelCount; ++c) {
        const TPlotChannelCustom& channel = *Plot1.GetChannel(c);
        if (!channel.GetVisible()) continue;
        ChannelBoxes[c].Data.setText(QString::fromStdString(DataValueText(channel.GetCursorValueY(), dataFormat_)));
    }
}

void TForm1::PlotClick() {
    RunViewCommand([](ViewCommands& view) { view.PlotClick(); });
}

// In cursor mode two double clicks measure the samples between the cursor's two places; else a
// double click is Zoom Fit.
void TForm1::PlotDblClick() {
    bool zoomed = false;
    RunViewCommand([&zoomed](ViewCommands& view) { zoomed = view.PlotDoubleClick(); });
    if (zoomed) return;
    const int32_t sample = CursorSample(Plot1.GetChannel(0)->GetCursorValueX());
    Others.TimeIntervalEdit.setText(QString::number(static_cast<int64_t>(sample) - lastCursorX_));
    lastCursorX_ = sample;
}

// The item's check mark has toggled already: checked, channel N scales on Y axis N-1, which
// takes Y axis 0's range and shows; unchecked, it goes back to Y axis 0.
void TForm1::SeparateAxisChosen(int channel) {
    const bool own = PopupMenu1.ShowYAxisFor[static_cast<size_t>(channel - 1)].isChecked();
    TPlotYAxis& axis = *Plot1.GetYAxis(channel);
    TPlotYAxis& first = *Plot1.GetYAxis(0);
    if (own) {
        Plot1.GetChannel(channel)->SetYAxisName(axis.GetName());
        axis.SetMin(first.GetMin());
        axis.SetSpan(first.GetSpan());
        axis.SetVisible(true);
    } else {
        Plot1.GetChannel(channel)->SetYAxisName(first.GetName());
        axis.SetVisible(false);
    }
}

void TForm1::Timer1Timer() {
    viewCommands_->ShowMarkersBySpan();
    if (!StatusBar1.DeviceLostShown()) StatusBar1.ShowLinkStatistics(session_->Statistics());
}

}  // namespace ondrix
