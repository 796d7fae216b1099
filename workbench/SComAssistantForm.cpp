#include "SComAssistantForm.h"

#include <QCheckBox>
#include <QEvent>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QVBoxLayout>

#include <array>
#include <exception>
#include <string>

#include "platform/qt/FileJobs.h"

namespace ondrix {

namespace {

const char* const kClosedCaption = "Open";
const char* const kOpenCaption = "Close";

QString Latin1(const std::string& bytes) { return QString::fromLatin1(bytes.data(), static_cast<int>(bytes.size())); }

// The send box's text as the bytes a single-byte terminal sends: a line break goes out as
// CR LF.
std::string SendBoxBytes(const QString& text) {
    QString withReturns = text;
    withReturns.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return withReturns.toLatin1().toStdString();
}

const char* const kTooLongToSend = "Too many bytes: one send carries at most 255 bytes!";
const char* const kNoRoomForCrc = "No room for the CRC16: at most 253 bytes may come before it!";

}  // namespace

TSComAssistantForm::TSComAssistantForm(const PortSettings& settings, SerialLink& link, Notifier& notifier,
                                       QWidget* parent)
    : QDialog(parent), settings_(settings), link_(link), notifier_(notifier),
      writer_(std::make_unique<TFileJobs>()) {
    writer_->OnUnexpectedError = [this](const std::string& job, const std::string& error) {
        notifier_.ShowMessage("Error while " + job + ": " + error);
    };
    BuildControls();
    ShowSettingsSummary();
}

TSComAssistantForm::~TSComAssistantForm() {
    sendTimer_.Stop();
    receiveTimer_.Stop();
}

void TSComAssistantForm::BuildControls() {
    setWindowTitle("SCom Assistant");
    setMinimumSize(kWidth, kHeight);
    resize(kWidth, kHeight);
    if (QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        move(area.center() - QPoint(kWidth / 2, kHeight / 2));
    }

    auto* layout = new QVBoxLayout(this);
    auto* menuBar = new QMenuBar(this);
    QMenu* setupMenu = menuBar->addMenu("&Setup");
    connect(setupMenu->addAction("SCom Setup"), &QAction::triggered, this, [this] { SetupRequested(); });
    layout->setMenuBar(menuBar);

    Memo2 = new QPlainTextEdit(this);
    QFont displayFont("Times New Roman");
    displayFont.setFixedPitch(true);
    Memo2->setFont(displayFont);
    Memo2->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    layout->addWidget(Memo2, 3);

    auto* lower = new QHBoxLayout;
    Memo1 = new QPlainTextEdit(this);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] { Memo1Change(); });
    lower->addWidget(Memo1, 2);

    auto* controls = new QGridLayout;
    CheckBox1 = new QCheckBox("Auto Send Period(ms)", this);
    Edit1 = new QLineEdit("30", this);
    Edit1->setMaxLength(4);
    Button_Send = new QPushButton("Send", this);
    Button_Stop = new QPushButton("Stop Sending", this);
    Button_OpenClose = new QPushButton(kClosedCaption, this);
    Button_StopReceive = new QPushButton("Stop Receivng", this);
    Label5 = new QLabel("Com Status:", this);
    Label2 = new QLabel("Closed", this);
    QFont statusFont = Label2->font();
    statusFont.setBold(true);
    statusFont.setUnderline(true);
    Label2->setFont(statusFont);
    Label2->setStyleSheet("color: #FF0000;");
    Label4 = new QLabel("Send data count:", this);
    Label3 = new QLabel("0", this);
    Label6 = new QLabel("Received data count:", this);
    Label1 = new QLabel("0", this);
    CheckBox2 = new QCheckBox("HEX Format Send", this);
    CheckBox2->setChecked(true);
    CheckBox3 = new QCheckBox("HEX Format Received", this);
    CheckBox3->setChecked(true);
    BitBtn1 = new QPushButton("CRC16 Generate", this);

    controls->addWidget(CheckBox1, 0, 0);
    controls->addWidget(Edit1, 0, 1);
    controls->addWidget(Button_Send, 1, 0);
    controls->addWidget(Button_Stop, 1, 1);
    controls->addWidget(Button_OpenClose, 2, 0);
    controls->addWidget(Button_StopReceive, 2, 1);
    controls->addWidget(Label5, 3, 0);
    controls->addWidget(Label2, 3, 1);
    controls->addWidget(Label4, 4, 0);
    controls->addWidget(Label3, 4, 1);
    controls->addWidget(Label6, 5, 0);
    controls->addWidget(Label1, 5, 1);
    controls->addWidget(CheckBox2, 6, 0);
    controls->addWidget(CheckBox3, 6, 1);
    controls->addWidget(BitBtn1, 7, 0);
    lower->addLayout(controls, 1);
    layout->addLayout(lower, 2);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    statusPanel0_ = new QLabel(this);
    StatusBar1->addWidget(statusPanel0_, 1);
    layout->addWidget(StatusBar1);

    // Only the buttons that are pressed on purpose answer Enter; the dialog's default button
    // would otherwise send whatever is typed.
    for (QPushButton* button : {Button_Send, Button_Stop, Button_OpenClose, Button_StopReceive, BitBtn1}) {
        button->setAutoDefault(false);
    }
    connect(Button_OpenClose, &QPushButton::clicked, this, [this] { Button_OpenCloseClick(); });
    connect(Button_Send, &QPushButton::clicked, this, [this] { Button_SendClick(); });
    connect(Button_Stop, &QPushButton::clicked, this, [this] { Button_StopClick(); });
    connect(Button_StopReceive, &QPushButton::clicked, this, [this] { Button_StopReceiveClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(Edit1, &QLineEdit::textChanged, this, [this] { Edit1Change(); });
    // A click on the status panel reaches the status bar too, as the panel leaves it unhandled.
    for (QWidget* clickable : {static_cast<QWidget*>(Label1), static_cast<QWidget*>(Label3),
                               static_cast<QWidget*>(StatusBar1)}) {
        clickable->installEventFilter(this);
    }
}

bool TSComAssistantForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == Label1) {
            receivedCount_ = 0;
            ShowCounts();
        } else if (watched == Label3) {
            sentCount_ = 0;
            ShowCounts();
        } else if (watched == StatusBar1) {
            SetupRequested();
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TSComAssistantForm::SetupRequested() {
    if (OnSetupRequested) OnSetupRequested();
    ShowSettingsSummary();
}

void TSComAssistantForm::ShowSettingsSummary() { statusPanel0_->setText(QString::fromStdString(SettingsSummary(settings_))); }

void TSComAssistantForm::ShowCounts() {
    Label3->setText(QString::number(sentCount_));
    Label1->setText(QString::number(receivedCount_));
}

// ---- port ----------------------------------------------------------------------------------

void TSComAssistantForm::Button_OpenCloseClick() {
    if (portClosed_)
        OpenPort();
    else
        ClosePort();
}

void TSComAssistantForm::OpenPort() {
    try {
        link_.ClosePort();
        if (!link_.OpenPort()) return;  // the link has shown why
    } catch (const std::exception&) {
        notifier_.ShowMessage("Cann't open port!");
        return;
    }
    StartReceiveTimer();
    ShowSettingsSummary();
    Button_OpenClose->setText(kOpenCaption);
    Label2->setText(" Openned!");
    portClosed_ = false;
}

void TSComAssistantForm::ClosePort() {
    // The send tick stops first, so that the port is never released under its write.
    sendTimer_.Stop();
    link_.ClosePort();
    Button_Send->setEnabled(true);
    Button_OpenClose->setText(kClosedCaption);
    Label2->setText(" Closed!");
    portClosed_ = true;
}

void TSComAssistantForm::reject() {
    receiveTimer_.Stop();
    sendTimer_.Stop();
    try {
        link_.PurgePort();
        link_.ClosePort();
    } catch (const std::exception& error) {
        // The window closes whatever the port says, but the user hears of it once.
        notifier_.ShowMessage(std::string("Closing the port failed: ") + error.what());
    }
    Button_Send->setEnabled(true);
    Button_OpenClose->setText(kClosedCaption);
    Label2->setText(" Closed!");
    portClosed_ = true;
    QDialog::reject();
}

// ---- receiving -----------------------------------------------------------------------------

void TSComAssistantForm::StartReceiveTimer() {
    receiveTimer_.Start(std::chrono::milliseconds(kReceivePeriodMs), [this] { ReceiveTick(); });
}

void TSComAssistantForm::Button_StopReceiveClick() {
    if (receiving_) {
        receiveTimer_.Stop();
        Button_StopReceive->setText("Receive Enable");
        receiving_ = false;
    } else {
        StartReceiveTimer();
        Button_StopReceive->setText("Stop receiving");
        receiving_ = true;
    }
}

// Timer thread: reads only; the display and the count are the GUI thread's.
void TSComAssistantForm::ReceiveTick() {
    std::array<uint8_t, SerialLink::kMaxRead> buffer{};
    const size_t count = link_.ReadAvailable(buffer.data());
    guiThread_.Post([this, bytes = std::vector<uint8_t>(buffer.begin(), buffer.begin() + count)] {
        ShowReceived(bytes);
    });
}

void TSComAssistantForm::ShowReceived(const std::vector<uint8_t>& bytes) {
    receivedCount_ += static_cast<int>(bytes.size());
    ShowCounts();
    if (Memo2->blockCount() > kDisplayLineLimit) {
        Memo2->hide();
        Memo2->clear();
        Memo2->show();
    }
    if (bytes.empty()) return;
    const std::string text = CheckBox3->isChecked() ? HexPairs(bytes.data(), bytes.size())
                                                    : TextUpToZero(bytes.data(), bytes.size());
    AppendToLastDisplayLine(Latin1(text));
}

void TSComAssistantForm::AppendToLastDisplayLine(const QString& text) {
    QTextCursor cursor(Memo2->document()->lastBlock());
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(text);
}

// ---- sending -------------------------------------------------------------------------------

void TSComAssistantForm::Memo1Change() {
    const QString text = Memo1->toPlainText();
    if (text.size() <= kSendTextMaxLength) return;
    Memo1->setPlainText(text.left(kSendTextMaxLength));
    Memo1->moveCursor(QTextCursor::End);
}

TSendData TSComAssistantForm::SendData() const {
    std::lock_guard<std::mutex> lock(sendDataMutex_);
    return sendData_;
}

void TSComAssistantForm::PublishSendData(const TSendData& data) {
    std::lock_guard<std::mutex> lock(sendDataMutex_);
    sendData_ = data;
}

bool TSComAssistantForm::PrepareSendData() {
    const TParsedSendText parsed = CheckBox2->isChecked() ? ParseHexSendText(Memo1->toPlainText().toStdString())
                                                          : ParsePlainSendText(SendBoxBytes(Memo1->toPlainText()));
    PublishSendData(parsed.data);
    switch (parsed.status) {
    case TSendTextStatus::Ok:
        return true;
    case TSendTextStatus::InvalidData:
        notifier_.ShowMessage("invalid data!");
        return false;
    case TSendTextStatus::TooLong:
        notifier_.ShowMessage(kTooLongToSend);
        return false;
    }
    return false;
}

int TSComAssistantForm::SendsInFlight() const { return writer_->Pending(); }

void TSComAssistantForm::Button_SendClick() {
    if (!PrepareSendData()) return;
    if (CheckBox1->isChecked()) {
        link_.PurgePort();
        sendTimer_.Start(std::chrono::milliseconds(sendPeriod_), [this] { SendTick(); });
        Button_Send->setEnabled(false);
        return;
    }
    const TSendData data = SendData();
    // Counted when handed over, whether or not the line takes it.
    sentCount_ += data.SendLength;
    ShowCounts();
    writer_->Run<bool>(
        "sending", [this, data] {
            link_.PurgePort();
            return link_.WriteBytes(data.SendBuffer.data(), data.SendLength);
        },
        [](bool) {});
}

// Timer thread: writes a copy of the send bytes and hands the count to the GUI thread.
void TSComAssistantForm::SendTick() {
    const TSendData data = SendData();
    link_.WriteBytes(data.SendBuffer.data(), data.SendLength);
    guiThread_.Post([this, length = data.SendLength] {
        sentCount_ += length;
        ShowCounts();
    });
}

void TSComAssistantForm::Button_StopClick() {
    sendTimer_.Stop();
    Button_Send->setEnabled(true);
}

void TSComAssistantForm::BitBtn1Click() {
    if (!PrepareSendData()) return;
    TSendData data = SendData();
    if (!AppendCrc16(data)) {
        notifier_.ShowMessage(kNoRoomForCrc);
        return;
    }
    if (Memo2->blockCount() > kDisplayLineLimit) Memo2->clear();
    const size_t crcAt = data.SendLength - kCrcLength;
    AppendToLastDisplayLine(Latin1(HexPairs(&data.SendBuffer[crcAt], kCrcLength)));
    PublishSendData(data);
}

void TSComAssistantForm::Edit1Change() {
    const TParsedPeriod period = ParseSendPeriod(Edit1->text().toStdString());
    switch (period.status) {
    case TPeriodStatus::Ok:
        // A running auto-send keeps its period until the next Send.
        sendPeriod_ = period.value;
        return;
    case TPeriodStatus::OutOfRange:
        notifier_.MessageBox("Invalid data(1~9000)", "Rangle Err", MessageButtons::OkCancel);
        break;
    case TPeriodStatus::NotANumber:
        notifier_.MessageBox("Invalid data", "data err", MessageButtons::OkCancel);
        break;
    }
    Edit1->setText(QString::number(sendPeriod_));
}

}  // namespace ondrix
