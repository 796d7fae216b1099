// The main window's tool bar as an assistive tool meets it, through Qt's accessibility
// interface: what each button is called, whether it is down, and that every action it offers
// runs the button's command exactly as a click does.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QToolButton>

#include <ostream>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "MainWindowRig.h"
#include "plot/axes/PlotAxis.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {
namespace {

QAccessibleInterface& AccessibleOf(QWidget& widget) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&widget);
    if (accessible == nullptr) throw std::runtime_error("no accessible interface");
    return *accessible;
}

QStringList ActionNames(QWidget& widget) {
    QAccessibleActionInterface* actions = AccessibleOf(widget).actionInterface();
    return actions == nullptr ? QStringList() : actions->actionNames();
}

void DoAction(QWidget& widget, const QString& name) { AccessibleOf(widget).actionInterface()->doAction(name); }

// Everything a tool button's command can change that a user would notice.
struct WindowState {
    std::vector<bool> buttonsEnabled;
    std::vector<bool> buttonsDown;
    std::vector<bool> plotButtonsDown;
    std::vector<int> axisModes;
    std::vector<bool> axesTracking;
    std::vector<double> axisRanges;
    size_t fileDialogs = 0;
    std::vector<std::string> messages;

    bool operator==(const WindowState& other) const {
        return buttonsEnabled == other.buttonsEnabled && buttonsDown == other.buttonsDown &&
               plotButtonsDown == other.plotButtonsDown && axisModes == other.axisModes &&
               axesTracking == other.axesTracking && axisRanges == other.axisRanges &&
               fileDialogs == other.fileDialogs && messages == other.messages;
    }
};

template <typename T>
void PrintList(const char* name, const std::vector<T>& values, std::ostream& out) {
    out << name << ' ';
    for (const T& value : values) out << value << ' ';
    out << "; ";
}

void PrintTo(const WindowState& state, std::ostream* out) {
    PrintList("enabled", state.buttonsEnabled, *out);
    PrintList("down", state.buttonsDown, *out);
    PrintList("plot buttons down", state.plotButtonsDown, *out);
    PrintList("axis modes", state.axisModes, *out);
    PrintList("tracking", state.axesTracking, *out);
    PrintList("axis ranges", state.axisRanges, *out);
    *out << "file dialogs " << state.fileDialogs << "; ";
    PrintList("messages", state.messages, *out);
}

std::vector<QAction*> Buttons(TMainToolBar& bar) {
    std::vector<QAction*> buttons;
    for (QAction* action : bar.actions())
        if (!action->isSeparator()) buttons.push_back(action);
    return buttons;
}

WindowState StateOf(test::MainWindow& w) {
    WindowState state;
    for (QAction* action : Buttons(w.form.ToolBar1)) {
        state.buttonsEnabled.push_back(action->isEnabled());
        state.buttonsDown.push_back(action->isChecked());
    }
    const TPlotToolBar& plotBar = *w.form.Plot1.GetToolBar(0);
    for (const TPlotToolBarButtonType type : {iptbbtScrollAxesMode, iptbbtZoomAxesMode, iptbbtSelect, iptbbtZoomBox,
                                              iptbbtCursor})
        state.plotButtonsDown.push_back(plotBar.GetButton(type).GetDown());
    std::vector<const TPlotAxis*> axes{w.form.Plot1.GetXAxis(0)};
    for (int k = 0; k < kChannelCount; ++k) axes.push_back(w.form.Plot1.GetYAxis(k));
    for (const TPlotAxis* axis : axes) {
        state.axisModes.push_back(axis->GetMode());
        state.axesTracking.push_back(axis->GetTrackingEnabled());
        state.axisRanges.push_back(axis->GetMin());
        state.axisRanges.push_back(axis->GetSpan());
    }
    state.fileDialogs = w.dialogs.openRequests.size() + w.dialogs.saveRequests.size();
    state.messages = w.notifier.messages;
    return state;
}

class ToolBarAccessibility : public ::testing::Test {
protected:
    QToolButton& Button(QAction& action) { return w_.form.ToolBar1.ButtonOf(action); }

    test::TemporaryFolder noPorts_;
    test::MainWindow w_{test::WindowSetup(noPorts_.String())};
};

// A screen reader tells the buttons apart by name, and hears which latching buttons are down.
TEST_F(ToolBarAccessibility, EachButtonIsNamedAndTellsWhetherItIsDown) {
    TMainToolBar& bar = w_.form.ToolBar1;
    const struct {
        QAction& action;
        const char* name;
        bool checkable;
        bool down;
    } cases[] = {
        {bar.ToolButton_Open, "Open file", false, false},      {bar.ToolButton_Pause, "Pause", false, false},
        {bar.ToolButton_Move, "Move mode", true, true},        {bar.ToolButton_ZoomAxis, "Zoom axis mode", true, false},
        {bar.ToolButton_UnZoom, "Un zoom", false, false},      {bar.ToolButton_ReZoom, "Re zoom", false, false},
        {bar.ToolButton_ZoomSel, "Zoom box mode", true, false}, {bar.ToolButton_Cursor, "Cursor mode", true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QAccessibleInterface& accessible = AccessibleOf(Button(c.action));
        EXPECT_EQ(accessible.text(QAccessible::Name).toStdString(), c.name);
        EXPECT_EQ(accessible.text(QAccessible::Description), c.action.toolTip()) << "the hint describes it";
        EXPECT_EQ(accessible.role(), c.checkable ? QAccessible::CheckBox : QAccessible::Button);
        EXPECT_EQ(bool(accessible.state().checkable), c.checkable);
        EXPECT_EQ(bool(accessible.state().checked), c.down);
        EXPECT_EQ(bool(accessible.state().disabled), !c.action.isEnabled());
    }
    EXPECT_TRUE(ActionNames(Button(bar.ToolButton_UnZoom)).isEmpty()) << "a disabled button offers nothing to do";
}

// The latching buttons through their accessible actions: the button pressed is down, its group's
// other button is up, and the plot is in the mode the buttons show.
TEST_F(ToolBarAccessibility, TheModeButtonsActionsSwitchTheModeAsAClickDoes) {
    TMainToolBar& bar = w_.form.ToolBar1;
    const TPlotToolBar& plotBar = *w_.form.Plot1.GetToolBar(0);
    const QString press = QAccessibleActionInterface::pressAction();
    const QString toggle = QAccessibleActionInterface::toggleAction();
    const struct {
        QAction& button;
        QString action;
        bool moveDown, zoomAxisDown, selectDown, zoomSelDown, cursorDown;
    } steps[] = {
        {bar.ToolButton_ZoomAxis, toggle, false, true, false, false, false},
        {bar.ToolButton_ZoomAxis, toggle, false, true, false, false, false},
        {bar.ToolButton_Move, toggle, true, false, false, false, false},
        {bar.ToolButton_ZoomAxis, press, false, true, false, false, false},
        {bar.ToolButton_Move, press, true, false, false, false, false},
        {bar.ToolButton_Sel, toggle, true, false, true, false, false},
        {bar.ToolButton_ZoomSel, toggle, true, false, false, true, false},
        {bar.ToolButton_ZoomSel, press, true, false, false, false, false},
        {bar.ToolButton_Cursor, toggle, true, false, false, false, true},
        {bar.ToolButton_Cursor, press, true, false, false, false, false},
    };
    int step = 0;
    for (const auto& s : steps) {
        SCOPED_TRACE("step " + std::to_string(++step) + ": " + s.action.toStdString() + " " +
                     s.button.text().toStdString());
        QToolButton& button = Button(s.button);
        ASSERT_TRUE(ActionNames(button).contains(s.action));
        DoAction(button, s.action);

        const bool down[] = {s.moveDown, s.zoomAxisDown, s.selectDown, s.zoomSelDown, s.cursorDown};
        QAction* const buttons[] = {&bar.ToolButton_Move, &bar.ToolButton_ZoomAxis, &bar.ToolButton_Sel,
                                    &bar.ToolButton_ZoomSel, &bar.ToolButton_Cursor};
        const TPlotToolBarButtonType plotButtons[] = {iptbbtScrollAxesMode, iptbbtZoomAxesMode, iptbbtSelect,
                                                      iptbbtZoomBox, iptbbtCursor};
        for (size_t i = 0; i < std::size(buttons); ++i) {
            SCOPED_TRACE(buttons[i]->text().toStdString());
            EXPECT_EQ(buttons[i]->isChecked(), down[i]);
            EXPECT_EQ(Button(*buttons[i]).isChecked(), down[i]);
            EXPECT_EQ(bool(AccessibleOf(Button(*buttons[i])).state().checked), down[i]);
            EXPECT_EQ(plotBar.GetButton(plotButtons[i]).GetDown(), down[i]) << "the plot's mode follows";
        }
        const TPlotAxisMode mode = s.zoomAxisDown ? ipamZoom : ipamScroll;
        EXPECT_EQ(w_.form.Plot1.GetXAxis(0)->GetMode(), mode);
        for (int k = 0; k < kChannelCount; ++k) EXPECT_EQ(w_.form.Plot1.GetYAxis(k)->GetMode(), mode) << k;
    }
}

// Two windows in step: one has each button clicked, the other each of the button's accessible
// actions invoked in its place. Twice along the bar, so that the buttons disabled at first
// (Resume, Un Zoom, Re Zoom) are enabled on the second pass; after every step the windows agree.
TEST_F(ToolBarAccessibility, EveryActionOfEveryButtonDoesWhatAClickDoes) {
    test::TemporaryFolder otherSettings;
    test::MainWindow clicked(test::WindowSetup(noPorts_.String()).WithSettingsIn(otherSettings.String()));
    test::MainWindow& invoked = w_;
    const std::vector<QAction*> clickedButtons = Buttons(clicked.form.ToolBar1);
    const std::vector<QAction*> invokedButtons = Buttons(invoked.form.ToolBar1);
    ASSERT_EQ(clickedButtons.size(), invokedButtons.size());
    ASSERT_EQ(StateOf(clicked), StateOf(invoked));

    std::set<std::string> buttonsInvoked;
    for (int pass = 0; pass < 2; ++pass)
        for (size_t i = 0; i < invokedButtons.size(); ++i) {
            QToolButton& invokedButton = invoked.form.ToolBar1.ButtonOf(*invokedButtons[i]);
            QToolButton& clickedButton = clicked.form.ToolBar1.ButtonOf(*clickedButtons[i]);
            const QStringList names = ActionNames(invokedButton);
            EXPECT_EQ(names.isEmpty(), !invokedButton.isEnabled()) << invokedButtons[i]->text().toStdString();
            for (const QString& name : names) {
                SCOPED_TRACE("pass " + std::to_string(pass + 1) + ": " + name.toStdString() + " " +
                             invokedButtons[i]->text().toStdString());
                clickedButton.click();
                DoAction(invokedButton, name);
                buttonsInvoked.insert(invokedButtons[i]->text().toStdString());
                EXPECT_EQ(StateOf(clicked), StateOf(invoked));
            }
        }
    EXPECT_EQ(buttonsInvoked.size(), invokedButtons.size()) << "the disabled buttons came to be enabled on the way";
}

}  // namespace
}  // namespace ondrix
