#include "workbench/TriggerToolBar.h"

#include <QPainter>
#include <QPalette>
#include <QScopedValueRollback>
#include <QString>

#include <algorithm>
#include <iterator>

#include "workbench/ControlHint.h"

namespace ondrix {

namespace {

template <typename T>
struct TChoice {
    const char* text;
    T value;
};

// In list order.
const TChoice<int> kSources[] = {{"CH1", 0}, {"CH2", 1}, {"CH3", 2}, {"CH4", 3}};
const TChoice<TriggerEdge> kEdges[] = {
    {"Rising", TriggerEdge::Rising}, {"Falling", TriggerEdge::Falling}, {"Either", TriggerEdge::Either}};
const TChoice<TriggerMode> kModes[] = {
    {"Auto", TriggerMode::Auto}, {"Normal", TriggerMode::Normal}, {"Single", TriggerMode::Single}};

// Room between one labelled control and the next label, so the pairs read as pairs.
constexpr int kPairGap = 6;
constexpr int kLabelGap = 3;

template <typename T, size_t N>
void Fill(QComboBox& box, const TChoice<T> (&choices)[N]) {
    for (const TChoice<T>& choice : choices) box.addItem(QString::fromLatin1(choice.text));
}

template <typename T, size_t N>
int IndexOf(T value, const TChoice<T> (&choices)[N]) {
    const auto found = std::find_if(std::begin(choices), std::end(choices),
                                    [value](const TChoice<T>& choice) { return choice.value == value; });
    return found == std::end(choices) ? 0 : static_cast<int>(found - std::begin(choices));
}

// Nothing chosen reads as the first item.
template <typename T, size_t N>
T ValueAt(const QComboBox& box, const TChoice<T> (&choices)[N]) {
    const int index = box.currentIndex();
    return index >= 0 && index < static_cast<int>(N) ? choices[index].value : choices[0].value;
}

void SetUpNumber(QSpinBox& box, int minimum, int maximum, const QString& suffix) {
    box.setRange(minimum, maximum);
    box.setSuffix(suffix);
    // One change per number typed, when it is committed, not one per key.
    box.setKeyboardTracking(false);
    box.setAccelerated(true);
}

}  // namespace

TTriggerToolBar::TTriggerToolBar(QWidget* parent)
    : QToolBar(QStringLiteral("Trigger"), parent),
      TriggerSwitch(QStringLiteral("Trigger"), this),
      SourceLabel(QStringLiteral("Source"), this),
      SourceBox(this),
      EdgeLabel(QStringLiteral("Edge"), this),
      EdgeBox(this),
      LevelLabel(QStringLiteral("Level"), this),
      LevelBox(this),
      HysteresisLabel(QStringLiteral("Hysteresis"), this),
      HysteresisBox(this),
      ModeLabel(QStringLiteral("Mode"), this),
      ModeBox(this),
      PositionLabel(QStringLiteral("Position"), this),
      PositionBox(this),
      HoldOffLabel(QStringLiteral("Hold-off"), this),
      HoldOffBox(this) {
    setObjectName(QStringLiteral("Trigger"));
    setAccessibleName(QStringLiteral("Trigger"));
    setMovable(false);
    setFloatable(false);
    setContextMenuPolicy(Qt::PreventContextMenu);

    Fill(SourceBox, kSources);
    Fill(EdgeBox, kEdges);
    Fill(ModeBox, kModes);
    SetUpNumber(LevelBox, kTriggerLevelMin, kTriggerLevelMax, QString());
    SetUpNumber(HysteresisBox, 0, kTriggerHysteresisMax, QString());
    SetUpNumber(PositionBox, 0, 100, QStringLiteral(" %"));
    SetUpNumber(HoldOffBox, 0, static_cast<int>(kTriggerHoldOffMax), QStringLiteral(" samples"));

    SetHint(TriggerSwitch, QStringLiteral("Start each sweep where the signal crosses the level"));
    SetHint(SourceBox, QStringLiteral("Channel whose signal starts a sweep"));
    SetHint(EdgeBox, QStringLiteral("Direction in which the signal must cross the level"));
    SetHint(LevelBox, QStringLiteral("Value the signal must cross to start a sweep"));
    SetHint(HysteresisBox, QStringLiteral("How far the signal must move back before it can trigger again"));
    SetHint(ModeBox, QStringLiteral("Auto scrolls without a trigger, Normal waits, Single stops after one sweep"));
    SetHint(PositionBox, QStringLiteral("Share of the screen shown before the trigger point"));
    SetHint(HoldOffBox, QStringLiteral("Samples to wait after a sweep before the next one may start"));

    TriggerSwitch.setAccessibleName(QStringLiteral("Trigger"));
    SourceBox.setAccessibleName(QStringLiteral("Trigger source"));
    EdgeBox.setAccessibleName(QStringLiteral("Trigger edge"));
    LevelBox.setAccessibleName(QStringLiteral("Trigger level"));
    HysteresisBox.setAccessibleName(QStringLiteral("Trigger hysteresis"));
    ModeBox.setAccessibleName(QStringLiteral("Trigger mode"));
    PositionBox.setAccessibleName(QStringLiteral("Trigger position"));
    HoldOffBox.setAccessibleName(QStringLiteral("Trigger hold-off"));

    addWidget(&TriggerSwitch);
    AddLabelled(SourceLabel, SourceBox);
    AddLabelled(EdgeLabel, EdgeBox);
    AddLabelled(LevelLabel, LevelBox);
    AddLabelled(HysteresisLabel, HysteresisBox);
    AddLabelled(ModeLabel, ModeBox);
    AddLabelled(PositionLabel, PositionBox);
    AddLabelled(HoldOffLabel, HoldOffBox);

    connect(&TriggerSwitch, &QCheckBox::toggled, this, [this] { Changed(); });
    for (QComboBox* box : {&SourceBox, &EdgeBox, &ModeBox})
        connect(box, qOverload<int>(&QComboBox::currentIndexChanged), this, [this] { Changed(); });
    for (QSpinBox* box : {&LevelBox, &HysteresisBox, &PositionBox, &HoldOffBox})
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this, [this] { Changed(); });

    Show(SweepSettings{});
}

SweepSettings TTriggerToolBar::Settings() const {
    SweepSettings settings;
    settings.on = TriggerSwitch.isChecked();
    settings.detection.channel = ValueAt(SourceBox, kSources);
    settings.detection.edge = ValueAt(EdgeBox, kEdges);
    settings.detection.level = LevelBox.value();
    settings.detection.hysteresis = HysteresisBox.value();
    settings.mode = ValueAt(ModeBox, kModes);
    settings.positionPercent = PositionBox.value();
    settings.holdOff = static_cast<uint32_t>(HoldOffBox.value());
    return settings;
}

void TTriggerToolBar::Show(const SweepSettings& settings) {
    const QScopedValueRollback<bool> quiet(showing_, true);
    const SweepSettings shown = WithinRanges(settings);
    TriggerSwitch.setChecked(shown.on);
    SourceBox.setCurrentIndex(IndexOf(shown.detection.channel, kSources));
    EdgeBox.setCurrentIndex(IndexOf(shown.detection.edge, kEdges));
    LevelBox.setValue(static_cast<int>(shown.detection.level));
    HysteresisBox.setValue(static_cast<int>(shown.detection.hysteresis));
    ModeBox.setCurrentIndex(IndexOf(shown.mode, kModes));
    PositionBox.setValue(shown.positionPercent);
    HoldOffBox.setValue(static_cast<int>(shown.holdOff));
}

void TTriggerToolBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    painter.fillRect(QRect(0, height() - 1, width(), 1), palette().color(QPalette::Mid));
}

void TTriggerToolBar::AddLabelled(QLabel& label, QWidget& control) {
    label.setContentsMargins(kPairGap, 0, kLabelGap, 0);
    label.setBuddy(&control);
    addWidget(&label);
    addWidget(&control);
}

void TTriggerToolBar::Changed() {
    if (!showing_ && OnChange) OnChange();
}

}  // namespace ondrix
