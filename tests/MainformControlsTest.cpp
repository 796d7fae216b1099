// The main window's controls as a user meets them: the menus with their captions and access
// keys, the tool bar's buttons in order with their hints and first states, the hints in the
// status bar, the names a screen reader gives the controls, and the status bar's click.

#include <gtest/gtest.h>

#include <QAbstractSpinBox>
#include <QComboBox>
#include <QEnterEvent>
#include <QTest>
#include <QToolButton>

#include <set>
#include <string>
#include <vector>

#include "MainWindowRig.h"

namespace ondrix {
namespace {

struct MenuItem {
    std::string caption;  // "-" for a separator
    bool enabled = true;
};

std::vector<MenuItem> Items(const QMenu& menu) {
    std::vector<MenuItem> items;
    for (const QAction* action : menu.actions())
        items.push_back({action->isSeparator() ? "-" : action->text().toStdString(), action->isEnabled()});
    return items;
}

std::vector<std::string> Captions(const QMenu& menu) {
    std::vector<std::string> captions;
    for (const MenuItem& item : Items(menu)) captions.push_back(item.caption);
    return captions;
}

class MainWindowControls : public ::testing::Test {
protected:
    test::TemporaryFolder noPorts_;
    test::MainWindow w_{test::WindowSetup(noPorts_.String())};
};

TEST_F(MainWindowControls, TheMainMenuHasEveryItemInOrderWithItsAccessKey) {
    std::vector<std::string> menus;
    for (const QAction* menu : w_.form.menuBar()->actions()) menus.push_back(menu->text().toStdString());
    EXPECT_EQ(menus, (std::vector<std::string>{"&File", "&Setup", "&View", "Tools", "&Help"}));

    const TMainMenu& m = w_.form.MainMenu1;
    const struct {
        const QMenu& menu;
        std::vector<std::string> captions;
    } cases[] = {
        {m.File, {"&Open", "&Save", "Save for Matlab Analysis", "-", "&Exit"}},
        {m.Setup, {"Communication Setup", "Firmware Variables..."}},
        {m.View,
         {"Un Zoom", "Re Zoom ", "-", "Zoom In", "Zoom Out", "-", "X Axis Zoom In", "X Axis Zoom Out", "-",
          "Y Axis Zoom In", "Y Axis Zoom Out", "-", "Zoom Fit", "Zoom All", "-", "&Data Format"}},
        {m.DataFormat, {"Hex", "Dec"}},
        {m.Tools, {"SCom &Assistant", "&Calc", "&Notepad"}},
        {m.Help, {"&About...", "Communication Protocol"}},
        {w_.form.PopupMenu1, {"Show Y Axis For Ch2", "Show Y Axis For Ch3", "Show Y Axis For Ch4"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Captions(c.menu), c.captions) << c.menu.title().toStdString();

    EXPECT_EQ(m.SaveForMatlab.statusTip().toStdString(),
              "Format: n+Ch1D1+...Ch1Dn+Ch2D1+...Ch2Dn+Ch3D1+...Ch3Dn+Ch4D1+...Ch4Dn,");
    EXPECT_FALSE(m.UnZoom.isEnabled());
    EXPECT_FALSE(m.ReZoom.isEnabled());
    EXPECT_TRUE(m.Dec.isChecked());
    EXPECT_FALSE(m.Hex.isChecked());
    for (const QAction& item : w_.form.PopupMenu1.ShowYAxisFor) {
        EXPECT_TRUE(item.isCheckable());
        EXPECT_FALSE(item.isChecked());
    }
}

// Hex and Dec are radio items; the window's data format follows the one chosen.
TEST_F(MainWindowControls, HexAndDecExcludeEachOther) {
    TMainMenu& m = w_.form.MainMenu1;
    m.Hex.trigger();
    EXPECT_TRUE(m.Hex.isChecked());
    EXPECT_FALSE(m.Dec.isChecked());
    EXPECT_EQ(w_.form.DataFormat(), TDataFormat::Hex);
    m.Dec.trigger();
    EXPECT_FALSE(m.Hex.isChecked());
    EXPECT_TRUE(m.Dec.isChecked());
    EXPECT_EQ(w_.form.DataFormat(), TDataFormat::Dec);
}

TEST_F(MainWindowControls, TheToolBarHoldsTheButtonsInOrderWithTheirHintsAndFirstStates) {
    enum State { Up, Down, Disabled, Push };
    const struct {
        const char* caption;
        const char* hint;
        State state;
    } buttons[] = {
        {"Open", "Open File", Push},
        {"Save", "Save Data To File", Push},
        {"Resume", "Resume", Disabled},
        {"Pause  ", "Pause", Push},
        {"Move", "Move", Down},
        {"Zoom Axis", "Stretch", Up},
        {"Zoon In", "Zoom In", Push},
        {"Zoom Out", "Zoom Out", Push},
        {"Zoom In X", "X-Axis Zoom In ", Push},
        {"Zoom Out X", "X-Axis Zoom Out", Push},
        {"Zoom In Y", "Y-Axis Zoom In ", Push},
        {"Zoom Out Y", "Y-Axis Zoom Out", Push},
        {"Zoom Fit", "Zoom Fit ", Push},
        {"Zoom All", "Zoom All", Push},
        {"Un Zoom", "ReZoom", Disabled},
        {"Re Zoom", "UnZoom", Disabled},
        {"Select", "Select", Up},
        {"Zoom Sel", "Zoom Box", Up},
        {"Cursor", "Cursor", Up},
    };
    std::vector<QAction*> actions;
    for (QAction* action : w_.form.ToolBar1.actions())
        if (!action->isSeparator()) actions.push_back(action);
    ASSERT_EQ(actions.size(), std::size(buttons));
    for (size_t i = 0; i < actions.size(); ++i) {
        const QAction& action = *actions[i];
        const auto& expected = buttons[i];
        SCOPED_TRACE(expected.caption);
        EXPECT_EQ(action.text().toStdString(), expected.caption);
        EXPECT_EQ(action.toolTip().toStdString(), expected.hint);
        EXPECT_EQ(action.statusTip().toStdString(), expected.hint);
        EXPECT_EQ(action.isEnabled(), expected.state != Disabled);
        EXPECT_EQ(action.isCheckable(), expected.state == Up || expected.state == Down);
        EXPECT_EQ(action.isChecked(), expected.state == Down);

        const QToolButton& button = w_.form.ToolBar1.ButtonOf(*actions[i]);
        EXPECT_EQ(button.size(), QSize(39, 38));
        EXPECT_EQ(button.toolButtonStyle(), Qt::ToolButtonIconOnly) << "captions are not shown on the bar";
        const QIcon icon = action.icon();
        const QImage normal = icon.pixmap(QSize(32, 32), QIcon::Normal).toImage();
        const QImage disabled = icon.pixmap(QSize(32, 32), QIcon::Disabled).toImage();
        EXPECT_EQ(normal.size(), QSize(32, 32));
        EXPECT_NE(normal, disabled) << "the disabled picture is a variant of its own";
    }
}

// Every hint shows as the control's tool tip and, while the mouse is over the control, in status
// panel 0.
TEST_F(MainWindowControls, AHintShowsAsToolTipAndInStatusPanelZero) {
    TChannelGroupBox& ch2 = w_.form.ChannelBoxes[1];
    const struct {
        QWidget* control;
        const char* hint;
    } cases[] = {
        {&ch2.Title, "Channel 2 Title"},
        {&ch2.Switch, "switch channel 2 on or  off"},
        {&ch2.Address, "Ch2 address(HEX)"},
        {&ch2.Data, "Ch2 data"},
        {&w_.form.ChannelBoxes[3].Data, "Ch4 data"},
        {&w_.form.Others.TimeIntervalEdit, "double click twice to acquire time interval when curson on"},
        {&w_.form.ToolBar1.ButtonOf(w_.form.ToolBar1.ToolButton_ZoomInX), "X-Axis Zoom In "},
        {&w_.form.ToolBar1.ButtonOf(w_.form.ToolBar1.ToolButton_UnZoom), "ReZoom"},
    };
    const QLabel& panel0 = w_.form.StatusBar1.HintPanel;
    EXPECT_EQ(panel0.width(), 500);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hint);
        EXPECT_EQ(c.control->toolTip().toStdString(), c.hint);
        const QPointF inside(2, 2);
        QEnterEvent enter(inside, c.control->mapTo(&w_.form, inside), c.control->mapToGlobal(inside));
        QApplication::sendEvent(c.control, &enter);
        EXPECT_EQ(panel0.text().toStdString(), c.hint);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(c.control, &leave);
        EXPECT_EQ(panel0.text().toStdString(), "");
    }
}

// Each control a screen reader can reach is told apart from the others by its name.
TEST_F(MainWindowControls, EveryControlHasAnAccessibleNameOfItsOwn) {
    std::set<std::string> names;
    int controls = 0;
    for (QWidget* widget : w_.form.findChildren<QWidget*>()) {
        // A spin box's text field is part of the spin box, which carries the name.
        const bool ownLineEdit = qobject_cast<QLineEdit*>(widget) && !qobject_cast<QAbstractSpinBox*>(widget->parent());
        const bool control = ownLineEdit || qobject_cast<QAbstractButton*>(widget) || qobject_cast<QGroupBox*>(widget) ||
                             qobject_cast<QAbstractSpinBox*>(widget) || qobject_cast<QComboBox*>(widget) ||
                             widget == &w_.form.PlotWindow();
        if (!control || !widget->isVisibleTo(&w_.form)) continue;
        ++controls;
        const std::string name = widget->accessibleName().toStdString();
        EXPECT_FALSE(name.empty()) << widget->metaObject()->className() << " " << widget->objectName().toStdString();
        EXPECT_TRUE(names.insert(name).second) << "two controls are called \"" << name << "\"";
    }
    EXPECT_GE(controls, 4 * 5 + 3 + 2 + 19 + 8 + 1)
        << "channel groups, Others, RUN and STOP, the tool bars and the plot";
    for (const char* name : {"CH1 title", "CH1 address", "CH1 data", "CH4 switch", "Screen width", "Time interval",
                             "RUN", "STOP", "Un zoom", "Re zoom"})
        EXPECT_EQ(names.count(name), 1u) << name;
}

// A click on the status bar does what "Communication Setup" does; both then show the summary
// of the port settings in panel 1.
TEST_F(MainWindowControls, TheStatusBarAndTheSetupItemOpenTheCommunicationSetup) {
    test::ModalCloser closer;
    w_.settings.BaudRate = 115200;
    QTest::mouseClick(&w_.form.StatusBar1, Qt::LeftButton, Qt::NoModifier, QPoint(600, 10));
    ASSERT_EQ(closer.captions, std::vector<std::string>{"Comm Set"});
    EXPECT_EQ(w_.form.StatusBar1.SettingsPanel.text().toStdString(),
              "|COM1|Baud = 115200|Data Length = 8|NOPARITY  |ONESTOPBIT  ");

    w_.settings.Parity = 2;
    w_.form.MainMenu1.CommunicationSetup.trigger();
    EXPECT_EQ(closer.captions.size(), 2u);
    EXPECT_EQ(w_.form.StatusBar1.SettingsPanel.text().toStdString(),
              "|COM1|Baud = 115200|Data Length = 8|EVENPARITY|ONESTOPBIT  ");
}

TEST_F(MainWindowControls, ExitClosesTheWindow) {
    ASSERT_TRUE(w_.form.isVisible());
    w_.form.MainMenu1.Exit.trigger();
    EXPECT_FALSE(w_.form.isVisible());
}

}  // namespace
}  // namespace ondrix
