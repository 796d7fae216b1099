#include "workbench/CommForm.h"

#include <QAbstractItemView>
#include <QFont>
#include <QFontMetrics>
#include <QLineEdit>
#include <QStringList>

#include <cctype>
#include <cstdio>
#include <exception>
#include <limits>
#include <utility>

#include "plot/qt/QtCanvas.h"

namespace ondrix {

namespace {

constexpr int kFontPixels = 11;  // 8 points at 96 pixels per inch, as the main window
constexpr int kRowHeight = 21;
// Which unlisted device a row after the separator binds.
constexpr int kUnlistedRole = Qt::UserRole + 1;

const QStringList kBaudRates = {"300",    "600",    "1200",   "2400",   "4800",   "9600",   "19200",
                                "38400",  "56000",  "57600",  "115200", "128000", "153600", "230400",
                                "250000", "256000", "460800", "500000", "576000", "625000"};
constexpr int kDefaultBaudItem = 5;

void Underline(QLabel& label) {
    QFont font = label.font();
    font.setUnderline(true);
    label.setFont(font);
}

std::string Trimmed(const std::string& text) {
    const char* const blanks = " \t";
    const size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(blanks) - first + 1);
}

}  // namespace

std::optional<int32_t> ParseBaudRate(const std::string& text) {
    const std::string number = Trimmed(text);
    size_t at = 0;
    const bool negative = !number.empty() && number[0] == '-';
    if (!number.empty() && (number[0] == '-' || number[0] == '+')) at = 1;
    if (at == number.size()) return std::nullopt;
    int64_t value = 0;
    for (; at < number.size(); ++at) {
        if (!std::isdigit(static_cast<unsigned char>(number[at]))) return std::nullopt;
        value = value * 10 + (number[at] - '0');
        if (value > int64_t{std::numeric_limits<int32_t>::max()} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > std::numeric_limits<int32_t>::max()) return std::nullopt;
    return static_cast<int32_t>(value);
}

int32_t ParsePortName(const std::string& text) {
    const std::string name = Trimmed(text);
    if (name.size() < 4 || name.size() > 13) return 0;
    for (size_t i = 0; i < 3; ++i) {
        if (std::toupper(static_cast<unsigned char>(name[i])) != "COM"[i]) return 0;
    }
    int64_t number = 0;
    for (size_t i = 3; i < name.size(); ++i) {
        if (!std::isdigit(static_cast<unsigned char>(name[i]))) return 0;
        number = number * 10 + (name[i] - '0');
    }
    if (number < 1 || number > std::numeric_limits<int32_t>::max()) return 0;
    return static_cast<int32_t>(number);
}

TCommForm::TCommForm(PortSettings& settings, SerialLink& link, Notifier& notifier, std::string portsFolder,
                     std::unique_ptr<SerialDeviceCatalog> devices, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      Label1(QStringLiteral("Comm No."), this),
      ComboBox1(this),
      PortDevice(this),
      GroupBox1(QStringLiteral("  Comm Setup  "), this),
      Label2(QStringLiteral("Baud rate"), &GroupBox1),
      ComboBox2(&GroupBox1),
      Label3(QStringLiteral("Verify bits"), &GroupBox1),
      ComboBox3(&GroupBox1),
      Label4(QStringLiteral("Data bits"), &GroupBox1),
      ComboBox4(&GroupBox1),
      Label5(QStringLiteral("Stop Bits"), &GroupBox1),
      ComboBox5(&GroupBox1),
      BitBtn5(QStringLiteral("Default"), this),
      Button1(QStringLiteral("OK"), this),
      Exit(QStringLiteral("Exit"), this),
      settings_(settings),
      link_(link),
      notifier_(notifier),
      portsFolder_(std::move(portsFolder)),
      devices_(std::move(devices)),
      baudExit_(ComboBox2),
      summary_(SettingsSummary(settings)) {
    setWindowTitle(QStringLiteral("Comm Set"));
    QFont font(ResolveFontFamily("MS Sans Serif"));
    font.setPixelSize(kFontPixels);
    setFont(font);
    setFixedSize(kClientWidth, kClientHeight);
    BuildControls();
    Connect();
}

void TCommForm::BuildControls() {
    Label1.setGeometry(12, 12, 60, kRowHeight);
    ComboBox1.setGeometry(74, 12, 84, kRowHeight);
    PortDevice.setGeometry(166, 12, 163, kRowHeight);
    GroupBox1.setGeometry(8, 40, 321, 88);
    Label2.setGeometry(10, 22, 58, kRowHeight);
    ComboBox2.setGeometry(70, 22, 80, kRowHeight);
    Label3.setGeometry(162, 22, 58, kRowHeight);
    ComboBox3.setGeometry(222, 22, 88, kRowHeight);
    Label4.setGeometry(10, 54, 58, kRowHeight);
    ComboBox4.setGeometry(70, 54, 80, kRowHeight);
    Label5.setGeometry(162, 54, 58, kRowHeight);
    ComboBox5.setGeometry(222, 54, 88, kRowHeight);
    BitBtn5.setGeometry(40, 138, 75, 25);
    Button1.setGeometry(131, 138, 75, 25);
    Exit.setGeometry(222, 138, 75, 25);

    for (QLabel* label : {&Label1, &Label2, &Label3, &Label4, &Label5}) Underline(*label);

    for (int n = 1; n <= kPortItems; ++n) ComboBox1.addItem(QStringLiteral("COM%1").arg(n));
    ComboBox2.addItems(kBaudRates);
    ComboBox3.addItems({QStringLiteral("No "), QStringLiteral("Odd"), QStringLiteral("Even")});
    ComboBox4.addItems({QStringLiteral("7"), QStringLiteral("8")});
    ComboBox5.addItems({QStringLiteral("1"), QStringLiteral("1.5"), QStringLiteral("2")});

    // Typed text is taken as typed: no completion that would turn "1" into "1200" on leaving,
    // and no item added on Enter.
    for (QComboBox* box : {static_cast<QComboBox*>(&ComboBox1), &ComboBox2}) {
        box->setEditable(true);
        box->setCompleter(nullptr);
        box->setInsertPolicy(QComboBox::NoInsert);
    }
    // Enter in a box must not open the port.
    for (QPushButton* button : {&BitBtn5, &Button1, &Exit}) button->setAutoDefault(false);

    PortDevice.setTextInteractionFlags(Qt::TextSelectableByMouse);
    Label1.setAccessibleName(QStringLiteral("Comm No."));
    ComboBox1.setAccessibleName(QStringLiteral("Comm No."));
    ComboBox2.setAccessibleName(QStringLiteral("Baud rate"));
    ComboBox3.setAccessibleName(QStringLiteral("Verify bits"));
    ComboBox4.setAccessibleName(QStringLiteral("Data bits"));
    ComboBox5.setAccessibleName(QStringLiteral("Stop Bits"));
}

void TCommForm::Connect() {
    // A choice from the list counts also when it is the item chosen before: typed text may
    // have changed the setting since.
    connect(&ComboBox1, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { PortBoxChanged(index); });
    connect(&ComboBox1, &QComboBox::activated, this, [this](int index) { PortBoxChanged(index); });
    connect(ComboBox1.lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) { PortBoxEdited(text); });
    ComboBox1.OnBeforePopup = [this] { RefreshPorts(); };

    connect(&ComboBox2, qOverload<int>(&QComboBox::currentIndexChanged), this,
            [this](int index) { BaudBoxChanged(index); });
    connect(&ComboBox2, &QComboBox::activated, this, [this](int index) { BaudBoxChanged(index); });
    baudExit_.OnExit = [this] { BaudBoxExit(); };
    connect(&ComboBox3, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (!filling_) settings_.Parity = index;
    });
    connect(&ComboBox4, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (!filling_) settings_.DataBits = index == 0 ? 7 : 8;
    });
    connect(&ComboBox5, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int index) {
        if (!filling_) settings_.StopBits = index;
    });

    connect(&BitBtn5, &QPushButton::clicked, this, [this] { DefaultClick(); });
    connect(&Button1, &QPushButton::clicked, this, [this] { OkClick(); });
    connect(&Exit, &QPushButton::clicked, this, [this] { reject(); });
}

int TCommForm::Exec(QWidget* opener, std::function<void()> openPort) {
    QWidget* const over = opener ? opener->window() : parentWidget();
    if (over) {
        QRect place(QPoint(), frameGeometry().size());
        place.moveCenter(over->frameGeometry().center());
        move(place.topLeft());
    }
    openPort_ = std::move(openPort);
    const int result = exec();
    openPort_ = nullptr;
    return result;
}

void TCommForm::showEvent(QShowEvent* event) {
    RefreshPorts();
    FillFromSettings();
    QDialog::showEvent(event);
}

void TCommForm::done(int result) {
    summary_ = SettingsSummary(settings_);
    QDialog::done(result);
}

void TCommForm::FillFromSettings() {
    filling_ = true;
    if (settings_.DataBits == 8) {
        ComboBox4.setCurrentIndex(1);
    } else {
        ComboBox4.setCurrentIndex(0);
    }
    if (settings_.Parity >= 0 && settings_.Parity <= 2) ComboBox3.setCurrentIndex(settings_.Parity);
    if (settings_.StopBits >= 0 && settings_.StopBits <= 2) ComboBox5.setCurrentIndex(settings_.StopBits);
    ComboBox2.setEditText(QString::number(settings_.BaudRate));
    if (settings_.PortNumber <= kPortItems) {
        // 0 and below select nothing: the box is empty, as the number names no port.
        ComboBox1.setCurrentIndex(settings_.PortNumber >= 1 ? settings_.PortNumber - 1 : -1);
    } else {
        // A number past the list, typed earlier or stored: the box shows it, not a stale item.
        ComboBox1.setCurrentIndex(-1);
        ComboBox1.setEditText(QStringLiteral("COM%1").arg(settings_.PortNumber));
    }
    filling_ = false;
    ShowPortDevice();
}

void TCommForm::PortBoxChanged(int index) {
    if (filling_) return;
    if (index >= 0 && index < kPortItems) {
        settings_.PortNumber = index + 1;
    } else if (index > kPortItems) {
        const QVariant row = ComboBox1.itemData(index, kUnlistedRole);
        if (row.isValid() && row.toInt() >= 0 && row.toInt() < static_cast<int>(ports_.Unlisted.size())) {
            // A copy: binding lists the ports anew.
            const UnlistedDevice unlisted = ports_.Unlisted[row.toInt()];
            Bind(unlisted);
            return;
        }
    }
    ShowPortDevice();
}

void TCommForm::BaudBoxChanged(int index) {
    if (filling_ || index < 0 || index >= kBaudRates.size()) return;
    settings_.BaudRate = kBaudRates[index].toInt();
}

// A typed name takes effect as it is typed; one that names no port leaves PortNumber 0, which
// the next open reports.
void TCommForm::PortBoxEdited(const QString& text) {
    settings_.PortNumber = ParsePortName(text.toStdString());
    ShowPortDevice();
}

void TCommForm::Bind(const UnlistedDevice& unlisted) {
    const std::string failure = BindDevice(portsFolder_, unlisted.PortNumber, unlisted.Device);
    if (!failure.empty()) notifier_.ShowMessage("Cannot bind " + unlisted.Device.Path + ": " + failure);
    RefreshPorts();
    if (failure.empty()) settings_.PortNumber = unlisted.PortNumber;
    FillFromSettings();
}

void TCommForm::RefreshPorts() {
    devicesSeen_ = devices_ ? devices_->Devices() : std::vector<SerialDeviceInfo>();
    ports_ = MapPorts(kPortItems, portsFolder_, devicesSeen_);

    const bool wasFilling = filling_;
    filling_ = true;
    const QString typed = ComboBox1.currentText();
    const int current = ComboBox1.currentIndex();
    while (ComboBox1.count() > kPortItems) ComboBox1.removeItem(ComboBox1.count() - 1);
    for (int i = 0; i < kPortItems; ++i) {
        ComboBox1.setItemData(i, QString::fromStdString(PortDescription(ports_.Ports[i])), Qt::ToolTipRole);
    }
    if (!ports_.Unlisted.empty()) {
        ComboBox1.insertSeparator(kPortItems);
        for (size_t row = 0; row < ports_.Unlisted.size(); ++row) {
            const UnlistedDevice& unlisted = ports_.Unlisted[row];
            ComboBox1.addItem(QStringLiteral("%1 as COM%2")
                                  .arg(QString::fromStdString(unlisted.Device.Path))
                                  .arg(unlisted.PortNumber));
            const int index = ComboBox1.count() - 1;
            ComboBox1.setItemData(index, static_cast<int>(row), kUnlistedRole);
            const std::string description = DeviceDescription(unlisted.Device);
            ComboBox1.setItemData(index,
                                  QString::fromStdString("Binds " + unlisted.Device.Path + " to COM" +
                                                         std::to_string(unlisted.PortNumber) +
                                                         (description.empty() ? "" : "\n" + description)),
                                  Qt::ToolTipRole);
        }
    }
    // The list is widened so that a device's name is not cut off.
    ComboBox1.view()->setMinimumWidth(ComboBox1.view()->sizeHintForColumn(0) + 8);
    if (current >= 0 && current < kPortItems) {
        ComboBox1.setCurrentIndex(current);
    } else {
        ComboBox1.setCurrentIndex(-1);
        ComboBox1.setEditText(typed);
    }
    filling_ = wasFilling;
    ShowPortDevice();
}

void TCommForm::ShowPortDevice() {
    const int number = settings_.PortNumber;
    QString device;
    QString description;
    if (number >= 1 && number <= static_cast<int>(ports_.Ports.size())) {
        const ComPortTarget& port = ports_.Ports[number - 1];
        device = QString::fromStdString(port.Device.empty() ? port.Entry + " (not present)" : port.Device);
        description = QString::fromStdString(PortDescription(port));
    } else if (number >= 1) {
        const ComPortTarget port = MapPort(number, portsFolder_, devicesSeen_);
        device = QString::fromStdString(port.Device.empty() ? port.Entry + " (not present)" : port.Device);
        description = QString::fromStdString(PortDescription(port));
    }
    PortDevice.setText(PortDevice.fontMetrics().elidedText(device, Qt::ElideMiddle, PortDevice.width()));
    PortDevice.setToolTip(description);
    ComboBox1.setToolTip(description);
}

void TCommForm::BaudBoxExit() {
    const std::optional<int32_t> rate = ParseBaudRate(ComboBox2.currentText().toStdString());
    if (!rate) {
        notifier_.ShowMessage("Invalid data");
        return;
    }
    settings_.BaudRate = *rate;
}

void TCommForm::DefaultClick() {
    filling_ = true;
    ComboBox1.setCurrentIndex(0);
    ComboBox2.setCurrentIndex(kDefaultBaudItem);
    ComboBox4.setCurrentIndex(1);
    ComboBox3.setCurrentIndex(0);
    ComboBox5.setCurrentIndex(0);
    filling_ = false;
    settings_ = PortSettings{};
    ShowPortDevice();
}

// The open's own failures show their step's message inside OpenPort and leave the link closed;
// anything it throws besides is still the user's failed open, told in the open's words with
// what was thrown, so that it can be traced.
void TCommForm::OkClick() {
    try {
        if (openPort_) {
            openPort_();
        } else {
            link_.OpenPort();
        }
    } catch (const std::exception& error) {
        char text[64];
        std::snprintf(text, sizeof text, "Open COM%d Err!", settings_.PortNumber);
        notifier_.ShowMessage(std::string(text) + "\nComm Set: " + error.what());
    }
    accept();
}

}  // namespace ondrix
