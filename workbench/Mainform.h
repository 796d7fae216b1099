#pragma once
// The scope's main window: the plot Plot1 filling the middle, and the bottom panel with one
// group per channel (title, on/off switch, address, value) and the RUN and STOP buttons of the
// acquisition session.
//
// It owns the plot, the channels' addresses and the session. The serial link and the notifier
// are the program's, shared with its other windows; both must outlive the window.
//
// Threads: everything here runs on the GUI thread. The session's tick hands its samples over
// through the window's executor, so the plot's channels are only ever touched here.

#include <QCloseEvent>
#include <QMainWindow>
#include <QPushButton>
#include <QVBoxLayout>
#include <QWidget>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/AcquisitionSession.h"
#include "acquisition/SerialLink.h"
#include "platform/Notifier.h"
#include "platform/qt/QtExecutor.h"
#include "plot/component/Plot.h"
#include "plot/qt/PlotWidget.h"
#include "workbench/ChannelGroupBox.h"
#include "workbench/PlotChannelSink.h"

namespace ondrix {

class TForm1 : public QMainWindow, private SessionHost {
public:
    TForm1(SerialLink& link, Notifier& notifier);
    ~TForm1() override;
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // "RUN" and "STOP".
    void RunClick();
    void StopClick();

    const AcquisitionSession& Session() const { return *session_; }
    // The channel's MPU address as the address-box rule last accepted it; channel from 0.
    uint32_t ChannelAddress(int channel) const { return addresses_[channel]; }

    // ---- The window's parts, named as the rest of the program knows them. Members are
    // declared in construction order: a parent before its children, the plot before its window.
private:
    QWidget central_;

public:
    TPlot Plot1;

private:
    TPlotWidget plotWindow_;
    QWidget panel_;

public:
    // Channel 1 first: Ch1Title, CheckBox1, Edit1 and Ch1DataEdit are ChannelBoxes[0]'s.
    std::array<TChannelGroupBox, kChannelCount> ChannelBoxes;
    QPushButton Run;
    QPushButton Stop;

protected:
    // The shut-down sequence: the run timer is killed and the port closed.
    void closeEvent(QCloseEvent* event) override;

private:
    // ---- SessionHost ----
    std::array<bool, kChannelCount> ChannelSwitches() const override;
    std::optional<std::array<ChannelRequest, kChannelCount>> ParseChannelRequests() override;
    void SessionReset() override;
    void SessionStateChanged(bool running) override;
    void SessionDeviceLost(int portNumber, const std::string& reason) override;
    void SessionDeviceRejoined() override;

    void BuildPanel();
    void StartUp();
    // The address-box rule for one box, channel from 0. False when the text cannot be
    // converted at all; a refused character shows its message but counts as handled.
    bool ApplyAddressBox(int channel);

    Notifier& notifier_;
    QVBoxLayout layout_;
    std::array<uint32_t, kChannelCount> addresses_;
    QtExecutor guiThread_;
    std::vector<PlotChannelSink> sinks_;
    std::unique_ptr<AcquisitionSession> session_;
};

}  // namespace ondrix
