// The real program in a real X window: the virtual MPU serves COM1, `ondrix` runs on a private
// Xvfb display, xdotool clicks RUN as a user would, and the screen is read back for the four
// live traces on the data view's grid, or the MPU is taken away and brought back while the
// status bar is watched.
//
// Both programs run as copies in a folder of their own, so that the COM1 they share is that
// folder's ports/COM1 and never the build's or a user's. Every process the test starts dies
// with it, on every way out.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>

#include "ChildProcess.h"
#include "PortLinks.h"
#include "TemporaryFolder.h"
#include "acquisition/ChannelAddress.h"
#include "workbench/MainformGeometry.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test::ChildProcess;
using test::FindProgram;
using test::Output;
using test::PlaceProgram;
using test::ReadFile;
using test::ReadLine;
using test::WaitFor;

// ---- The window --------------------------------------------------------------------------

struct WindowGeometry {
    int x = 0, y = 0, width = 0, height = 0;
};

std::optional<WindowGeometry> Geometry(const std::string& window) {
    const auto shell = Output("xdotool getwindowgeometry --shell " + window);
    if (!shell) return std::nullopt;
    std::map<std::string, int> values;
    std::istringstream lines(*shell);
    for (std::string line; std::getline(lines, line);)
        if (const auto equals = line.find('='); equals != std::string::npos)
            values[line.substr(0, equals)] = std::atoi(line.c_str() + equals + 1);
    return WindowGeometry{values["X"], values["Y"], values["WIDTH"], values["HEIGHT"]};
}

std::string WindowName(const std::string& window) {
    auto name = Output("xdotool getwindowname " + window).value_or("");
    while (!name.empty() && name.back() == '\n') name.pop_back();
    return name;
}

// The whole screen of the display in DISPLAY, read by this process as an X client.
QImage GrabScreen() {
    int argc = 3;
    char name[] = "xvfb-test";
    char platformOption[] = "-platform";
    char platform[] = "xcb";
    char* argv[] = {name, platformOption, platform, nullptr};
    QGuiApplication application(argc, argv);
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
}

struct Box {
    int left, top, right, bottom;  // right and bottom just outside
};

std::optional<Box> BoxOf(const QImage& image, const Box& within, QRgb colour) {
    Box box{within.right, within.bottom, within.left, within.top};
    for (int y = within.top; y < within.bottom; ++y)
        for (int x = within.left; x < within.right; ++x)
            if (image.pixel(x, y) == colour) {
                box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1), std::max(box.bottom, y + 1)};
            }
    if (box.left >= box.right) return std::nullopt;
    return box;
}

int CountOf(const QImage& image, const Box& within, QRgb colour) {
    int count = 0;
    for (int y = within.top; y < within.bottom; ++y)
        for (int x = within.left; x < within.right; ++x) count += image.pixel(x, y) == colour;
    return count;
}

constexpr QRgb kGrid = 0xFF003100;
constexpr QRgb kChannel1 = 0xFFFF0000;

// The share of `before`'s pixels of the colour inside the box that `after` has `dy` rows lower,
// counting those that stay inside the box.
double ShareMovedDown(const QImage& before, const QImage& after, const Box& box, QRgb colour, int dy) {
    int kept = 0;
    int total = 0;
    for (int y = box.top; y + dy < box.bottom; ++y)
        for (int x = box.left; x < box.right; ++x)
            if (before.pixel(x, y) == colour) {
                ++total;
                kept += after.pixel(x, y + dy) == colour;
            }
    return total == 0 ? 0 : static_cast<double>(kept) / total;
}

// Xvfb on a display of its own, the virtual MPU as COM1 and the scope's window with RUN clicked
// and the session running.
class ScopeWindow : public ::testing::Test {
protected:
    void SetUp() override {
        const auto xvfb = FindProgram("Xvfb");
        if (!xvfb) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
        ASSERT_TRUE(FindProgram("xdotool")) << "xdotool is not installed (scripts/setup installs it)";

        const fs::path scope = folder_.Path() / "ondrix";
        mpuSim_ = folder_.Path() / "ondrix-mpu-sim";
        PlaceProgram(ONDRIX_PROGRAM, scope);
        PlaceProgram(ONDRIX_MPU_SIM_PROGRAM, mpuSim_);

        // Xvfb picks a free display itself and writes its number once it accepts clients.
        int displayPipe[2];
        ASSERT_EQ(pipe2(displayPipe, O_CLOEXEC), 0);
        xserver_.emplace(std::vector<std::string>{*xvfb, "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                         folder_.Path() / "xvfb.log", displayPipe[1]);
        close(displayPipe[1]);
        const std::string display = ReadLine(displayPipe[0], 10s);
        close(displayPipe[0]);
        ASSERT_FALSE(display.empty()) << "Xvfb did not start";
        setenv("DISPLAY", (":" + display).c_str(), 1);

        ASSERT_NO_FATAL_FAILURE(StartMpu());
        program_.emplace(std::vector<std::string>{scope.string(), "-platform", "xcb"}, folder_.Path() / "ondrix.log");

        ASSERT_TRUE(WaitFor([&] {
            window_ = Output("xdotool search --name '^Serial Ondrix$'").value_or("");
            window_ = window_.substr(0, window_.find('\n'));
            return !window_.empty();
        }, 15s)) << "no window captioned \"Serial Ondrix\" appeared";
        const auto geometry = Geometry(window_);
        ASSERT_TRUE(geometry);
        geometry_ = *geometry;
        ASSERT_EQ(geometry_.width, mainform::kWindowWidth);
        ASSERT_EQ(geometry_.height, mainform::kWindowHeight);

        // The virtual MPU's demo variables typed as a user types them, so that the four traces
        // differ and all show; leaving a box takes its address.
        for (int channel = 0; channel < kChannelCount; ++channel) {
            char typed[9];
            std::snprintf(typed, sizeof typed, "%08X", static_cast<unsigned>(kDemoAddresses[channel]));
            const auto box = mainform::ChannelField(channel, mainform::kAddressRow);
            ASSERT_TRUE(Output("xdotool mousemove --sync " + PanelPoint(box) + " click 1 key ctrl+a type " +
                               std::string(typed) + " key Tab")
                            .has_value());
        }

        // A click that lands before the window is ready for it is repeated.
        bool running = false;
        for (int attempt = 0; attempt < 3 && !running; ++attempt) {
            ASSERT_TRUE(Click(mainform::kRunButton));
            running = WaitFor([&] { return WindowName(window_) == kRunningCaption; }, 5s);
        }
        ASSERT_TRUE(running) << "RUN did not start the session; the caption is \"" << WindowName(window_) << "\"";
    }

    // A new virtual MPU as COM1, with a new pseudo-terminal, once it has taken ports/COM1 over.
    void StartMpu() {
        ++mpuStarts_;
        const fs::path log = folder_.Path() / ("mpu-sim-" + std::to_string(mpuStarts_) + ".log");
        mpu_.emplace(std::vector<std::string>{mpuSim_.string(), "--link", "COM1"}, log);
        ASSERT_TRUE(WaitFor([&] { return test::PortLinkedBy(folder_.Path() / "ports" / "COM1", log); }, 10s))
            << "the virtual MPU did not link COM1";
    }

    // The bottom panel's top edge on the screen: the panel lies on the status bar at the
    // window's bottom.
    int PanelTop() const {
        return geometry_.y + geometry_.height - mainform::kStatusBarHeight - mainform::kPanelHeight;
    }

    // The screen point at the centre of a place in the bottom panel, as xdotool takes it.
    std::string PanelPoint(const mainform::TPlace& place) const {
        return std::to_string(geometry_.x + place.Left + place.Width / 2) + " " +
               std::to_string(PanelTop() + place.Top + place.Height / 2);
    }

    // A button of the bottom panel, which sits at a fixed place.
    bool Click(const mainform::TPlace& button) const {
        return Output("xdotool mousemove --sync " + PanelPoint(button) + " click 1").has_value();
    }

    // A place of the bottom panel on the screen, right and bottom just outside.
    Box PanelBox(const mainform::TPlace& place) const {
        const int left = geometry_.x + place.Left;
        const int top = PanelTop() + place.Top;
        return {left, top, left + place.Width, top + place.Height};
    }

    // The status bar's panels tell a lost device on a colour of their own.
    bool DeviceLostShown() const {
        const Box statusBar{geometry_.x, geometry_.y + geometry_.height - mainform::kStatusBarHeight,
                            geometry_.x + geometry_.width, geometry_.y + geometry_.height};
        return CountOf(GrabScreen(), statusBar, mainform::kDeviceLostColour) > 100;
    }

    std::string ScopeLog() const { return ReadFile(folder_.Path() / "ondrix.log"); }

    // A left-button drag from one screen point to another (at least a pixel away), as a hand
    // would do it: a first small step, then the rest.
    static bool Drag(int x, int y, int toX, int toY) {
        const auto to = [](int px, int py) { return " mousemove --sync " + std::to_string(px) + " " + std::to_string(py); };
        std::string steps = to(x, y) + " mousedown 1" + to(x, y + 1);
        if (toX != x || toY != y + 1) steps += to(toX, toY);
        return Output("xdotool" + steps + " mouseup 1").has_value();
    }

    Box PlotArea() const { return {geometry_.x, geometry_.y, geometry_.x + geometry_.width, PanelTop()}; }

    static constexpr const char* kRunningCaption = "Ondrix  ---  Running...";

    test::TemporaryFolder folder_;
    fs::path mpuSim_;
    // Declared in the order they start, so that they stop the other way round: the scope before
    // the device it reads and the display it draws on.
    std::optional<ChildProcess> xserver_;
    std::optional<ChildProcess> mpu_;
    int mpuStarts_ = 0;
    std::optional<ChildProcess> program_;
    std::string window_;
    WindowGeometry geometry_;
};

TEST_F(ScopeWindow, RunClickedInARealWindowDrawsTheFourLiveTracesOnTheGrid) {
    std::this_thread::sleep_for(2s);
    const QImage screen = GrabScreen();
    ASSERT_FALSE(screen.isNull());
    const auto dataView = BoxOf(screen, PlotArea(), kGrid);
    EXPECT_TRUE(dataView) << "no grid line in the plot";
    if (dataView) {
        EXPECT_GT(dataView->right - dataView->left, geometry_.width / 2);
        EXPECT_GT(dataView->bottom - dataView->top, (PanelTop() - geometry_.y) / 2);
        const std::pair<const char*, QRgb> traces[] = {
            {"CH1 red", kChannel1}, {"CH2 yellow", 0xFFFFFF00}, {"CH3 blue", 0xFF0000FF}, {"CH4 fuchsia", 0xFFFF00FF}};
        for (const auto& [trace, colour] : traces)
            EXPECT_GT(CountOf(screen, *dataView, colour), 20) << trace << " is missing from the data view";

        // The value boxes follow the pointer over the plot: each shows its channel's value there,
        // among the newest samples at the right edge, instead of the 0 it started with (the rest
        // of the screen still shows the zeros RUN started from).
        const int y = (dataView->top + dataView->bottom) / 2;
        for (const int x : {dataView->right - 12, dataView->right - 4}) {
            ASSERT_TRUE(Output("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y)).has_value());
            std::this_thread::sleep_for(300ms);
        }
        const QImage following = GrabScreen();
        for (int channel = 0; channel < kChannelCount; ++channel) {
            const Box data = PanelBox(mainform::ChannelField(channel, mainform::kDataRow));
            int changed = 0;
            for (int py = data.top; py < data.bottom; ++py)
                for (int px = data.left; px < data.right; ++px) changed += screen.pixel(px, py) != following.pixel(px, py);
            EXPECT_GT(changed, 0) << "CH" << channel + 1 << "'s value box did not follow the pointer";
        }
    }
    if (::testing::Test::HasFailure()) {
        const fs::path kept = fs::temp_directory_path() / "ondrix-window-test.png";
        screen.save(QString::fromStdString(kept.string()));
        ADD_FAILURE() << "the screen is kept in " << kept << "\nondrix said:\n" << ScopeLog();
    }
}

// Dragging the data view takes the axes out of tracking and moves the traces with the pointer;
// the wheel over it then moves them again.
TEST_F(ScopeWindow, DraggingAndWheelingTheDataViewMoveTheTraces) {
    std::this_thread::sleep_for(1500ms);
    const auto dataView = BoxOf(GrabScreen(), PlotArea(), kGrid);
    ASSERT_TRUE(dataView) << "no grid line in the plot";
    const Box inside{dataView->left + 1, dataView->top + 1, dataView->right - 1, dataView->bottom - 1};
    const int x = (inside.left + inside.right) / 2;
    const int y = (inside.top + inside.bottom) / 2;

    // A drag of one pixel stops the scrolling: the picture holds still while samples arrive.
    ASSERT_TRUE(Drag(x, y, x, y + 1));
    std::this_thread::sleep_for(400ms);
    const QImage paused = GrabScreen();
    std::this_thread::sleep_for(600ms);
    const QImage stillPaused = GrabScreen();
    EXPECT_GT(ShareMovedDown(paused, stillPaused, inside, kChannel1, 0), 0.99) << "the traces still scroll";

    constexpr int kDown = 60;
    ASSERT_TRUE(Drag(x, y, x, y + kDown));
    std::this_thread::sleep_for(400ms);
    const QImage dragged = GrabScreen();
    double best = 0;
    for (int dy = kDown - 1; dy <= kDown + 1; ++dy) best = std::max(best, ShareMovedDown(paused, dragged, inside, kChannel1, dy));
    EXPECT_GT(best, 0.9) << "CH1 did not follow the pointer " << kDown << " pixels down";

    ASSERT_TRUE(Output("xdotool mousemove --sync " + std::to_string(x) + " " + std::to_string(y) + " click 4").has_value());
    std::this_thread::sleep_for(400ms);
    const QImage wheeled = GrabScreen();
    EXPECT_LT(ShareMovedDown(dragged, wheeled, inside, kChannel1, 0), 0.5) << "the wheel left the traces where they were";

    if (::testing::Test::HasFailure()) {
        const fs::path kept = fs::temp_directory_path() / "ondrix-window-drag-test.png";
        dragged.save(QString::fromStdString(kept.string()));
        ADD_FAILURE() << "the dragged screen is kept in " << kept << "\nondrix said:\n" << ScopeLog();
    }
}

// The MPU's process killed is a USB adapter pulled: its end of the pseudo-terminal closes and
// the scope's end hangs up. A new MPU on the same COM1 is the adapter plugged in again, under a
// new device name. The caption keeps saying the session runs; the status bar tells the wait.
TEST_F(ScopeWindow, ALostDeviceIsWaitedForUntilItIsBackOrStopIsClicked) {
    const auto killMpu = [&] {
        mpu_->Signal(SIGKILL);
        ASSERT_TRUE(mpu_->WaitForExit(5s)) << "the virtual MPU outlived SIGKILL";
        test::PointPortAtNothing(folder_.Path() / "ports" / "COM1");
    };

    // Samples flowing first: the request has gone out, so the loss is noticed while reading.
    std::this_thread::sleep_for(500ms);
    ASSERT_FALSE(DeviceLostShown()) << "the status bar tells a loss before any";
    ASSERT_NO_FATAL_FAILURE(killMpu());
    ASSERT_TRUE(WaitFor([&] { return DeviceLostShown(); }, 3s)) << "no loss in the status bar\nondrix said:\n" << ScopeLog();
    EXPECT_EQ(WindowName(window_), kRunningCaption);
    // Tries at a port that is not there yet must leave the scope waiting.
    std::this_thread::sleep_for(1200ms);
    EXPECT_TRUE(DeviceLostShown()) << "after several failed tries at the missing port";

    ASSERT_NO_FATAL_FAILURE(StartMpu());
    EXPECT_TRUE(WaitFor([&] { return !DeviceLostShown(); }, 3s))
        << "the device came back but the status bar still waits\nondrix said:\n" << ScopeLog();
    EXPECT_EQ(WindowName(window_), kRunningCaption);

    ASSERT_NO_FATAL_FAILURE(killMpu());
    ASSERT_TRUE(WaitFor([&] { return DeviceLostShown(); }, 3s)) << "lost a second time, the status bar does not say so";
    ASSERT_TRUE(Click(mainform::kStopButton));
    EXPECT_TRUE(WaitFor([&] { return WindowName(window_) == "Ondrix"; }, 3s))
        << "STOP did not end the wait; the caption is \"" << WindowName(window_) << "\"";
    EXPECT_TRUE(WaitFor([&] { return !DeviceLostShown(); }, 3s)) << "the status bar still waits after STOP";
}

}  // namespace
}  // namespace ondrix
