// The main window's channel panel and plot handlers: the start-up and shut-down sequences with
// config.dat, the value readouts under the mouse in Dec and Hex, the time interval of two double
// clicks, the screen width, the markers' timer, a Y axis of a channel's own, and the plot's
// clicks.

#include <gtest/gtest.h>

#include <QMouseEvent>
#include <QTest>

#include <array>
#include <cmath>
#include <cstdint>
#include <optional>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Bytes.h"
#include "MainWindowRig.h"
#include "acquisition/SettingsFile.h"
#include "plot/axes/PlotAxis.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotToolBar.h"
#include "workbench/CursorReadout.h"

namespace ondrix {
namespace {

using test::kScreenWidth;
using test::ReadBytes;
using test::WriteBytes;

uint32_t Word(const std::vector<uint8_t>& bytes, size_t offset) {
    return bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

// ---- config.dat --------------------------------------------------------------------------

ScopeSettings StoredSetup() {
    ScopeSettings stored;
    const char* const titles[] = {"Sine", "Triangle", "Square", "Damped"};
    for (int c = 0; c < kChannelCount; ++c) {
        stored.Channels[c].Title.SetText(titles[c]);
        stored.Channels[c].Address = 0x20001000u + static_cast<uint32_t>(c) * 2;
    }
    stored.Channels[1].On = 0;
    stored.Port.PortNumber = 3;
    stored.Port.BaudRate = 115200;
    return stored;
}

TEST(MainWindowStartUp, TheStoredSetupFillsThePanelAndASwitchedOffChannelStaysHidden) {
    test::TemporaryFolder noPorts, settings;
    WriteBytes(settings.String() + "/config.dat", EncodeSettings(StoredSetup()));
    test::MainWindow w(test::WindowSetup(noPorts.String()).WithoutPresetAddresses().WithSettingsIn(settings.String()));
    const char* const titles[] = {"Sine", "Triangle", "Square", "Damped"};
    const char* const addresses[] = {"20001000", "20001002", "20001004", "20001006"};
    for (int c = 0; c < kChannelCount; ++c) {
        SCOPED_TRACE(c + 1);
        EXPECT_EQ(w.form.ChannelBoxes[c].Title.text().toStdString(), titles[c]);
        EXPECT_EQ(w.AddressBox(c).text().toStdString(), addresses[c]);
        EXPECT_EQ(w.form.ChannelBoxes[c].Switch.isChecked(), c != 1);
        EXPECT_EQ(w.form.Plot1.GetChannel(c)->GetVisible(), c != 1);
        EXPECT_EQ(w.form.ChannelOn(c), c != 1 ? 1 : 0);
    }
    EXPECT_EQ(w.settings.PortNumber, 3);
    EXPECT_EQ(w.form.StatusBar1.SettingsPanel.text().toStdString(),
              "|COM3|Baud = 115200|Data Length = 8|NOPARITY  |ONESTOPBIT  ");
    EXPECT_TRUE(w.notifier.messages.empty());
}

// A file whose length word is not its size: the message, and the rest of the start-up skipped.
TEST(MainWindowStartUp, AFileOfTheWrongLengthLeavesTheDesignedPanelWithEverySwitchOff) {
    test::TemporaryFolder noPorts, settings;
    std::vector<uint8_t> bytes = EncodeSettings(StoredSetup());
    bytes.push_back(0);
    WriteBytes(settings.String() + "/config.dat", bytes);
    test::MainWindow w(test::WindowSetup(noPorts.String()).WithoutPresetAddresses().WithSettingsIn(settings.String()));
    const std::string file = settings.String() + "/config.dat";
    EXPECT_EQ(w.notifier.messages,
              std::vector<std::string>{"File Open Error\n" + file +
                                       ": Its length word says 136 bytes, but the file has 137 bytes.\nIt is kept as " +
                                       file + ".bad."});
    for (int c = 0; c < kChannelCount; ++c) {
        SCOPED_TRACE(c + 1);
        EXPECT_EQ(w.form.ChannelBoxes[c].Title.text().toStdString(), "CH" + std::to_string(c + 1));
        EXPECT_EQ(w.AddressBox(c).text().toStdString(), "00000000");
        EXPECT_FALSE(w.form.ChannelBoxes[c].Switch.isChecked());
        EXPECT_FALSE(w.form.Plot1.GetChannel(c)->GetVisible());
        EXPECT_EQ(w.form.Plot1.GetChannel(c)->GetCount(), kScreenWidth) << "the prefill came before the load";
    }
    EXPECT_EQ(w.settings.PortNumber, 1);
}

// --addresses puts the demo's addresses over the stored ones; the rest is the stored setup.
TEST(MainWindowStartUp, PresetAddressesOverrideTheStoredOnes) {
    test::TemporaryFolder noPorts, settings;
    WriteBytes(settings.String() + "/config.dat", EncodeSettings(StoredSetup()));
    test::MainWindow w(test::WindowSetup(noPorts.String()).WithSettingsIn(settings.String()));
    EXPECT_EQ(w.AddressBox(3).text().toStdString(), "2000000C");
    EXPECT_EQ(w.form.ChannelAddress(3), 0x2000000Cu);
    EXPECT_EQ(w.form.ChannelBoxes[3].Title.text().toStdString(), "Damped");
    EXPECT_FALSE(w.form.ChannelBoxes[1].Switch.isChecked());
}

TEST(MainWindowShutDown, ClosingWritesTheTitlesAddressesSwitchesAndPortSettings) {
    test::TemporaryFolder noPorts;
    test::MainWindow w(test::WindowSetup(noPorts.String()).WithoutPresetAddresses());
    w.form.ChannelBoxes[0].Title.setText("Pressure");
    w.AddressBox(1).setText("1A2B");
    w.LeaveAddressBox(1);
    w.AddressBox(2).setText("FFFF");  // typed but never left: not an address yet
    w.form.ChannelBoxes[2].Switch.click();
    w.settings.BaudRate = 57600;
    ASSERT_TRUE(w.form.close());

    const std::vector<uint8_t> file = ReadBytes(w.SettingsFile());
    ASSERT_EQ(file.size(), 136u);
    EXPECT_EQ(Word(file, 0), 136u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[4])), "Pressure");
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[24])), "CH2");
    const uint32_t addresses[] = {0, 0x1A2B, 0, 0};
    const uint32_t on[] = {1, 1, 0, 1};
    for (int c = 0; c < kChannelCount; ++c) {
        EXPECT_EQ(Word(file, 84 + 4 * c), addresses[c]) << "address of channel " << c + 1;
        EXPECT_EQ(Word(file, 100 + 4 * c), on[c]) << "On of channel " << c + 1;
    }
    const uint32_t port[] = {1, 57600, 8, 0, 0};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Word(file, 116 + 4 * i), port[i]);
    EXPECT_TRUE(w.notifier.messages.empty());
}

// Losing the setup quietly would surprise the user at the next start.
TEST(MainWindowShutDown, ASetupThatCannotBeWrittenIsReported) {
    test::TemporaryFolder noPorts, folder;
    WriteBytes(folder.String() + "/plain-file", {1});
    test::MainWindow w(test::WindowSetup(noPorts.String()).WithSettingsIn(folder.String() + "/plain-file"));
    ASSERT_TRUE(w.form.close());
    ASSERT_EQ(w.notifier.messages.size(), 1u);
    EXPECT_NE(w.notifier.messages[0].find("config.dat"), std::string::npos) << w.notifier.messages[0];
}

// ---- The plot under the mouse ------------------------------------------------------------

class MainWindowPlot : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QTest::qWaitForWindowExposed(&w_.form)); }

    // Channel c holds values[c] at every X from first to first + count - 1; the X axis shows
    // `span` samples from `min`, and the layout is current.
    void Show(int first, int count, const std::array<double, kChannelCount>& values, double min, double span) {
        TPlot& plot = w_.form.Plot1;
        for (int c = 0; c < kChannelCount; ++c) {
            TPlotChannel& channel = *plot.GetChannel(c);
            channel.Clear();
            for (int i = 0; i < count; ++i) channel.AddXY(first + i, values[c]);
        }
        plot.GetXAxis(0)->SetMin(min);
        plot.GetXAxis(0)->SetSpan(span);
        plot.ReCalcLayout();
    }

    // The window's pixel over a sample: the cursor follows the pixel ten left of the mouse.
    int PixelOf(double sample) const {
        const TPlotXAxis& axis = *w_.form.Plot1.GetXAxis(0);
        const double percent = (sample - axis.GetMin()) / axis.GetSpan() * 100;
        return w_.form.Plot1.GetDataView(0)->PositionPercentToPixelsX(percent) + 10;
    }
    int MiddleY() const {
        const TPlotRect& view = w_.form.Plot1.GetDataView(0)->GetDrawRect();
        return (view.Top + view.Bottom) / 2;
    }

    void Mouse(QEvent::Type type, int x, Qt::MouseButton button = Qt::NoButton) {
        const QPointF at(x, MiddleY());
        const Qt::MouseButtons held = type == QEvent::MouseButtonRelease || type == QEvent::MouseMove ? Qt::NoButton : button;
        QMouseEvent event(type, at, w_.form.PlotWindow().mapToGlobal(at), button, held, Qt::NoModifier);
        QApplication::sendEvent(&w_.form.PlotWindow(), &event);
    }
    void MoveTo(int x) { Mouse(QEvent::MouseMove, x); }
    void DoubleClickAt(int x) {
        MoveTo(x);
        Mouse(QEvent::MouseButtonDblClick, x, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, x, Qt::LeftButton);
    }
    void ClickAt(int x) {
        Mouse(QEvent::MouseButtonPress, x, Qt::LeftButton);
        Mouse(QEvent::MouseButtonRelease, x, Qt::LeftButton);
    }
    std::string Data(int channel) const { return w_.form.ChannelBoxes[channel].Data.text().toStdString(); }
    bool Paused() const { return w_.form.View().States().ResumeEnabled && !w_.form.View().States().PauseEnabled; }

    test::TemporaryFolder noPorts_;
    test::MainWindow w_{test::WindowSetup(noPorts_.String())};
};

TEST_F(MainWindowPlot, TheValueBoxesReadTheChannelsUnderTheMouseInDecOrHex) {
    w_.form.ToolBar1.ToolButton_Cursor.trigger();
    ASSERT_TRUE(w_.form.Plot1.GetToolBar(0)->GetCursorActive());
    Show(0, 1000, {-1, 4660, -32768, 32767}, 0, 1000);

    MoveTo(PixelOf(500));
    EXPECT_EQ(Data(0), "-1");
    EXPECT_EQ(Data(1), "4660");
    EXPECT_EQ(Data(2), "-32768");
    EXPECT_EQ(Data(3), "32767");

    w_.form.MainMenu1.Hex.trigger();
    EXPECT_EQ(Data(0), "-1") << "the boxes change only when the mouse moves";
    MoveTo(PixelOf(400));
    EXPECT_EQ(Data(0), "FFFF");
    EXPECT_EQ(Data(1), "1234");
    EXPECT_EQ(Data(2), "8000");
    EXPECT_EQ(Data(3), "7FFF");

    // A hidden channel's box keeps its text.
    w_.form.ChannelBoxes[2].Switch.click();
    Show(0, 1000, {5, 6, 7, 8}, 0, 1000);
    w_.form.MainMenu1.Dec.trigger();
    MoveTo(PixelOf(300));
    EXPECT_EQ(Data(0), "5");
    EXPECT_EQ(Data(2), "8000");
    EXPECT_EQ(Data(3), "8");
}

// The pointer snaps to the whole sample under the mouse, and the readings are of that sample
// at once, not of the place the pointer was at when the plot was last painted: with the cursor
// hidden, as the scope keeps it, and shown.
TEST_F(MainWindowPlot, TheCursorsPointerFollowsTheMouseToWholeSamples) {
    for (const bool shown : {false, true}) {
        SCOPED_TRACE(shown ? "shown" : "hidden");
        if (shown) w_.form.ToolBar1.ToolButton_Cursor.trigger();
        Show(0, 1, {0, 0, 0, 0}, 1000, 40);
        TPlotChannel& ramp = *w_.form.Plot1.GetChannel(0);
        ramp.Clear();
        for (int x = 900; x < 1100; ++x) ramp.AddXY(x, x);
        const TPlotDataCursor& cursor = *w_.form.Plot1.GetDataCursor(0);
        for (const double sample : {1005.0, 1020.0, 1033.0}) {
            MoveTo(PixelOf(sample));
            EXPECT_DOUBLE_EQ(cursor.GetPointer1Position(), (sample - 1000) * 100 / 40) << sample;
            EXPECT_EQ(Data(0), std::to_string(static_cast<int>(sample)));
        }
    }
}

TEST_F(MainWindowPlot, TwoDoubleClicksInCursorModeMeasureTheSamplesBetween) {
    w_.form.ToolBar1.ToolButton_Cursor.trigger();
    Show(0, 2000, {0, 0, 0, 0}, 900, 400);
    const double spanBefore = w_.form.Plot1.GetXAxis(0)->GetSpan();

    DoubleClickAt(PixelOf(1000));
    EXPECT_EQ(w_.form.Others.TimeIntervalEdit.text().toStdString(), "1000") << "measured from 0 the first time";
    DoubleClickAt(PixelOf(1250));
    EXPECT_EQ(w_.form.Others.TimeIntervalEdit.text().toStdString(), "250");
    DoubleClickAt(PixelOf(1100));
    EXPECT_EQ(w_.form.Others.TimeIntervalEdit.text().toStdString(), "-150");
    EXPECT_EQ(w_.form.Plot1.GetXAxis(0)->GetSpan(), spanBefore) << "no Zoom Fit in cursor mode";
}

TEST_F(MainWindowPlot, AClickPausesAndADoubleClickOutsideCursorModeIsZoomFit) {
    ASSERT_FALSE(Paused());
    Show(0, 2000, {0, 0, 0, 0}, 0, 2000);
    ClickAt(PixelOf(100));
    EXPECT_TRUE(Paused());
    EXPECT_TRUE(w_.form.ToolBar1.ToolButton_Resume.isEnabled());
    EXPECT_FALSE(w_.form.ToolBar1.ToolButton_Pause.isEnabled());

    w_.form.ToolBar1.ToolButton_Resume.trigger();
    EXPECT_FALSE(Paused());
    DoubleClickAt(PixelOf(1000));
    EXPECT_EQ(w_.form.Plot1.GetXAxis(0)->GetSpan(), kScreenWidth) << "Zoom Fit spans one screen";
    EXPECT_EQ(w_.form.Others.TimeIntervalEdit.text().toStdString(), "0");
    EXPECT_TRUE(w_.form.MainMenu1.UnZoom.isEnabled()) << "Zoom Fit saved the view before it";
}

// ---- Screen width, markers, separate axes, history ---------------------------------------

TEST_F(MainWindowPlot, TheScreenWidthTakesWholeSampleCountsTheChannelsCanHold) {
    QLineEdit& edit5 = w_.form.Others.Edit5;
    const TPlotXAxis& xAxis = *w_.form.Plot1.GetXAxis(0);
    for (const char* refused : {"abc", "", "0", "-5", "12 ", "1500001", "99999999999"}) {
        SCOPED_TRACE(refused);
        w_.notifier.Clear();
        edit5.setText(refused);
        test::MainWindow::Leave(edit5);
        EXPECT_EQ(w_.notifier.messages, std::vector<std::string>{"Invalid Screen Width"});
        EXPECT_EQ(w_.form.Session().ScreenWidth(), static_cast<uint32_t>(kScreenWidth));
        EXPECT_EQ(xAxis.GetSpan(), kScreenWidth);
        EXPECT_FALSE(Paused());
    }
    w_.notifier.Clear();
    edit5.setText("2000");
    test::MainWindow::Leave(edit5);
    EXPECT_TRUE(w_.notifier.messages.empty());
    EXPECT_EQ(w_.form.Session().ScreenWidth(), 2000u);
    EXPECT_EQ(xAxis.GetSpan(), 2000);
    EXPECT_TRUE(Paused());

    edit5.setText("1500000");
    test::MainWindow::Leave(edit5);
    EXPECT_EQ(w_.form.Session().ScreenWidth(), 1500000u);
    EXPECT_TRUE(w_.notifier.messages.empty());
}

TEST_F(MainWindowPlot, MarkersShowWithinHalfASecondOnceTheXSpanIsBelow500) {
    TPlot& plot = w_.form.Plot1;
    const auto markers = [&](bool visible) {
        for (int c = 0; c < kChannelCount; ++c)
            if (plot.GetChannel(c)->GetMarkersVisible() != visible) return false;
        return true;
    };
    ASSERT_TRUE(markers(false));
    plot.GetXAxis(0)->SetSpan(499);
    EXPECT_TRUE(QTest::qWaitFor([&] { return markers(true); }, 600));
    plot.GetXAxis(0)->SetSpan(500);
    EXPECT_TRUE(QTest::qWaitFor([&] { return markers(false); }, 600));
}

TEST_F(MainWindowPlot, APopUpItemGivesItsChannelAYAxisOfItsOwnAndTakesItBack) {
    TPlot& plot = w_.form.Plot1;
    TPlotYAxis& first = *plot.GetYAxis(0);
    first.SetMin(-1000);
    first.SetSpan(3000);
    QAction& ch3 = w_.form.PopupMenu1.ShowYAxisFor[1];

    ch3.trigger();
    EXPECT_TRUE(ch3.isChecked());
    EXPECT_EQ(plot.GetChannel(2)->GetYAxisName(), "Ch3YAxis");
    EXPECT_TRUE(plot.GetYAxis(2)->GetVisible());
    EXPECT_EQ(plot.GetYAxis(2)->GetMin(), -1000);
    EXPECT_EQ(plot.GetYAxis(2)->GetSpan(), 3000);
    EXPECT_EQ(plot.GetChannel(1)->GetYAxisName(), "Ch1YAxis") << "the other channels stay";
    EXPECT_FALSE(plot.GetYAxis(1)->GetVisible());

    ch3.trigger();
    EXPECT_FALSE(ch3.isChecked());
    EXPECT_EQ(plot.GetChannel(2)->GetYAxisName(), "Ch1YAxis");
    EXPECT_FALSE(plot.GetYAxis(2)->GetVisible());
}

// The view buttons and the menu items of the same name run one command and share its states;
// RUN empties the history.
TEST_F(MainWindowPlot, ViewCommandsDriveButtonsAndMenuItemsAndRunEmptiesTheHistory) {
    const TPlotXAxis& xAxis = *w_.form.Plot1.GetXAxis(0);
    TMainToolBar& bar = w_.form.ToolBar1;
    TMainMenu& menu = w_.form.MainMenu1;

    menu.XAxisZoomIn.trigger();
    EXPECT_EQ(xAxis.GetSpan(), kScreenWidth / 2);
    EXPECT_TRUE(Paused());
    EXPECT_TRUE(bar.ToolButton_UnZoom.isEnabled());
    EXPECT_TRUE(menu.UnZoom.isEnabled());
    EXPECT_FALSE(menu.ReZoom.isEnabled());

    bar.ToolButton_UnZoom.trigger();
    EXPECT_EQ(xAxis.GetSpan(), kScreenWidth);
    EXPECT_TRUE(menu.ReZoom.isEnabled());
    EXPECT_TRUE(bar.ToolButton_ReZoom.isEnabled());
    EXPECT_FALSE(menu.UnZoom.isEnabled());

    menu.ReZoom.trigger();
    EXPECT_EQ(xAxis.GetSpan(), kScreenWidth / 2);

    // A latching button shows the mode the plot is in, whatever the click did to it.
    bar.ToolButton_Move.trigger();
    EXPECT_TRUE(bar.ToolButton_Move.isChecked());
    bar.ToolButton_ZoomAxis.trigger();
    EXPECT_TRUE(bar.ToolButton_ZoomAxis.isChecked());
    EXPECT_FALSE(bar.ToolButton_Move.isChecked());
    bar.ToolButton_Sel.trigger();
    bar.ToolButton_ZoomSel.trigger();
    EXPECT_TRUE(bar.ToolButton_ZoomSel.isChecked());
    EXPECT_FALSE(bar.ToolButton_Sel.isChecked());

    w_.form.Run.click();  // COM1 is nowhere: the start ends at the port, after the reset
    EXPECT_FALSE(bar.ToolButton_UnZoom.isEnabled());
    EXPECT_FALSE(bar.ToolButton_ReZoom.isEnabled());
    EXPECT_FALSE(menu.UnZoom.isEnabled());
    EXPECT_FALSE(menu.ReZoom.isEnabled());
}

// ---- The readout rules alone -------------------------------------------------------------

TEST(CursorReadout, ValuesAsDecAndHexText) {
    const struct {
        double value;
        const char* dec;
        const char* hex;
    } cases[] = {
        {-1, "-1", "FFFF"},       {4660, "4660", "1234"},    {-5, "-5", "FFFB"},     {-5.9, "-5", "FFFB"},
        {7.9, "7", "0007"},       {-32768, "-32768", "8000"}, {65536 + 2, "65538", "0002"},
        {1e300, "9223372036854775807", "FFFF"}, {std::nan(""), "0", "0000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DataValueText(c.value, TDataFormat::Dec), c.dec) << c.value;
        EXPECT_EQ(DataValueText(c.value, TDataFormat::Hex), c.hex) << c.value;
    }
}

TEST(CursorReadout, ThePointerSnapsToTheNearestWholeSample) {
    const struct {
        double min, span, percent;
        std::optional<double> pointer;
    } cases[] = {
        {0, 1000, 50.04, 50.0},     // 500.4 -> 500
        {0, 1000, 50.06, 50.1},     // 500.6 -> 501
        {100, 50, 0, 0.0},          // on the left edge
        {-10.25, 10, 50, 62.5},     // -4.75 truncates toward zero to -4
        {0, 0, 50, std::nullopt},   // no span, no pointer
    };
    for (const auto& c : cases) {
        const auto pointer = SnappedPointerPercent(c.min, c.span, c.percent);
        ASSERT_EQ(pointer.has_value(), c.pointer.has_value()) << c.percent;
        if (pointer) {
            EXPECT_NEAR(*pointer, *c.pointer, 1e-9) << c.min << " " << c.span << " " << c.percent;
        }
    }
    EXPECT_EQ(CursorSample(999.6), 1000);
    EXPECT_EQ(CursorSample(1250.2), 1250);
    EXPECT_EQ(CursorSample(1e12), INT32_MAX);
}

}  // namespace
}  // namespace ondrix
