#pragma once
// The serial debug assistant: a small terminal over the program's one serial link, for checking
// the line to an MPU by hand. It sends typed hexadecimal bytes or text once or periodically,
// shows what arrives as hexadecimal pairs or text, counts both directions and can append the
// protocol's CRC16 to the typed bytes.
//
// Wiring: the program builds one form at start-up, after the communication setup dialog, with
// the process-wide PortSettings, SerialLink and Notifier, and keeps it for its whole run. The
// main window stops acquisition and then shows it with `exec()` (modal); closing the window (its
// close button or Escape) stops both ticks and closes the port, so the window returns to Closed.
// Between showings it is only hidden, so its controls and counters keep their state.
// `OnSetupRequested` is what "SCom Setup" and a click on the status bar do: the program shows
// the communication setup dialog there; the status panel is refreshed afterwards.
//
// Threads: everything here belongs to the GUI thread. The receive tick (200 ms) and the send
// tick (1..9000 ms) run on timer threads of their own and do port I/O only; what they read or
// count reaches the widgets through a posted task. A single send is written by a worker, so the
// window never waits on the device. The bytes the send tick writes are replaced as a whole
// under a lock, never while the tick is copying them.

#include <QDialog>

#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "HexSendText.h"
#include "acquisition/PortSettings.h"
#include "acquisition/SerialLink.h"
#include "platform/Notifier.h"
#include "platform/PeriodicTimer.h"
#include "platform/qt/QtExecutor.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;

namespace ondrix {

class TFileJobs;

class TSComAssistantForm : public QDialog {
public:
    static constexpr int kWidth = 1024;
    static constexpr int kHeight = 660;
    static constexpr int kReceivePeriodMs = 200;
    static constexpr int kSendTextMaxLength = 750;
    // Beyond this many lines the receive display starts afresh.
    static constexpr int kDisplayLineLimit = 101;

    TSComAssistantForm(const PortSettings& settings, SerialLink& link, Notifier& notifier,
                       QWidget* parent = nullptr);
    ~TSComAssistantForm() override;

    std::function<void()> OnSetupRequested;

    // Widgets, named as the window's designer named them; public for the program's tests.
    QPlainTextEdit* Memo2 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QPushButton* Button_Send = nullptr;
    QPushButton* Button_Stop = nullptr;
    QPushButton* Button_OpenClose = nullptr;
    QPushButton* Button_StopReceive = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QCheckBox* CheckBox3 = nullptr;
    QPushButton* BitBtn1 = nullptr;
    QStatusBar* StatusBar1 = nullptr;

    // State, read by tests.
    TSendData SendData() const;
    int SendPeriod() const { return sendPeriod_; }
    int SentCount() const { return sentCount_; }
    int ReceivedCount() const { return receivedCount_; }
    bool PortClosed() const { return portClosed_; }
    bool Receiving() const { return receiving_; }
    bool AutoSending() const { return sendTimer_.Active(); }
    // Single sends handed to the writer whose write has not finished yet.
    int SendsInFlight() const;

    // Closing: stops both ticks and the port and returns to Closed; also reached by Escape.
    void reject() override;

private:
    void BuildControls();
    void Button_OpenCloseClick();
    void OpenPort();
    void ClosePort();
    void Button_SendClick();
    void Button_StopClick();
    void Button_StopReceiveClick();
    void BitBtn1Click();
    void Edit1Change();
    void SetupRequested();
    void Memo1Change();
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Parses Memo1 into the send bytes; shows why when it cannot. A refused text leaves
    // nothing to send.
    bool PrepareSendData();
    void PublishSendData(const TSendData& data);
    void StartReceiveTimer();
    void ReceiveTick();
    void SendTick();
    void ShowReceived(const std::vector<uint8_t>& bytes);
    void AppendToLastDisplayLine(const QString& text);
    void ShowCounts();
    void ShowSettingsSummary();

    const PortSettings& settings_;
    SerialLink& link_;
    Notifier& notifier_;
    QLabel* statusPanel0_ = nullptr;

    int sendPeriod_ = 30;
    int sentCount_ = 0;
    int receivedCount_ = 0;
    bool portClosed_ = true;
    bool receiving_ = true;

    // The send bytes as the GUI thread last prepared them; the send tick copies them whole.
    mutable std::mutex sendDataMutex_;
    TSendData sendData_;

    QtExecutor guiThread_;
    std::unique_ptr<TFileJobs> writer_;
    // Declared last so that they stop before what their ticks use goes.
    PeriodicTimer receiveTimer_;
    PeriodicTimer sendTimer_;
};

}  // namespace ondrix
