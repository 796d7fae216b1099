// The real program in a real X window: the virtual MPU serves COM1, `ondrix` runs on a private
// Xvfb display, xdotool clicks RUN as a user would, and the screen is read back for the four
// live traces on the data view's grid.
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
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "TemporaryFolder.h"
#include "workbench/MainformGeometry.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// ---- Processes -----------------------------------------------------------------------------

std::optional<std::string> FindProgram(const std::string& name) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');) {
        const fs::path candidate = fs::path(folder) / name;
        if (!folder.empty() && access(candidate.c_str(), X_OK) == 0) return candidate.string();
    }
    return std::nullopt;
}

// A started program. It gets SIGKILL should the test process die; otherwise the destructor
// asks it to stop, waits a moment, kills it if need be, and reaps it.
class ChildProcess {
public:
    // Standard output and error go to `log`; `passFd` (if not -1) becomes the child's fd 3.
    ChildProcess(const std::vector<std::string>& args, const fs::path& log, int passFd = -1) {
        std::vector<char*> argv;
        for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
        argv.push_back(nullptr);
        const int logFd = open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (logFd < 0) throw std::runtime_error("cannot create " + log.string());
        const pid_t parent = getpid();
        pid_ = fork();
        if (pid_ == 0) {
            // Only async-signal-safe calls from here on.
            prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (getppid() != parent) _exit(127);
            dup2(logFd, STDOUT_FILENO);
            dup2(logFd, STDERR_FILENO);
            // dup2 onto itself would keep the close-on-exec flag.
            if (passFd == 3) fcntl(3, F_SETFD, 0);
            else if (passFd >= 0) dup2(passFd, 3);
            execv(argv[0], argv.data());
            _exit(127);
        }
        close(logFd);
        if (pid_ < 0) throw std::runtime_error("cannot start " + args[0]);
    }
    ~ChildProcess() {
        kill(pid_, SIGTERM);
        int status = 0;
        for (const auto give = Clock::now() + 2s; Clock::now() < give; std::this_thread::sleep_for(10ms))
            if (waitpid(pid_, &status, WNOHANG) == pid_) return;
        kill(pid_, SIGKILL);
        waitpid(pid_, &status, 0);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

private:
    pid_t pid_ = -1;
};

// Runs a command through the shell and answers what it printed, or nullopt if it failed.
std::optional<std::string> Output(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (!pipe) return std::nullopt;
    std::string text;
    char buffer[256];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
    return pclose(pipe) == 0 ? std::optional<std::string>(text) : std::nullopt;
}

bool WaitFor(const std::function<bool()>& done, Clock::duration timeout) {
    for (const auto give = Clock::now() + timeout; Clock::now() < give; std::this_thread::sleep_for(50ms))
        if (done()) return true;
    return done();
}

// The first line written to `fd` within the time, without its newline.
std::string ReadLine(int fd, std::chrono::milliseconds timeout) {
    std::string line;
    for (const auto give = Clock::now() + timeout; Clock::now() < give;) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 50) <= 0) continue;
        char c = 0;
        if (read(fd, &c, 1) != 1 || c == '\n') break;
        line += c;
    }
    return line;
}

// Hard links where the file system allows, copies elsewhere.
void PlaceProgram(const fs::path& from, const fs::path& to) {
    std::error_code linked;
    fs::create_hard_link(from, to, linked);
    if (linked) fs::copy_file(from, to);
}

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

TEST(ScopeWindow, RunClickedInARealWindowDrawsTheFourLiveTracesOnTheGrid) {
    const auto xvfb = FindProgram("Xvfb");
    if (!xvfb) GTEST_SKIP() << "Xvfb is not installed (scripts/setup installs it)";
    ASSERT_TRUE(FindProgram("xdotool")) << "xdotool is not installed (scripts/setup installs it)";

    test::TemporaryFolder folder;
    const fs::path scope = folder.Path() / "ondrix";
    const fs::path mpuSim = folder.Path() / "ondrix-mpu-sim";
    PlaceProgram(ONDRIX_PROGRAM, scope);
    PlaceProgram(ONDRIX_MPU_SIM_PROGRAM, mpuSim);

    // Xvfb picks a free display itself and writes its number once it accepts clients.
    int displayPipe[2];
    ASSERT_EQ(pipe2(displayPipe, O_CLOEXEC), 0);
    ChildProcess xserver({*xvfb, "-displayfd", "3", "-screen", "0", "1280x1024x24", "-nolisten", "tcp"},
                         folder.Path() / "xvfb.log", displayPipe[1]);
    close(displayPipe[1]);
    const std::string display = ReadLine(displayPipe[0], 10s);
    close(displayPipe[0]);
    ASSERT_FALSE(display.empty()) << "Xvfb did not start";
    setenv("DISPLAY", (":" + display).c_str(), 1);

    ChildProcess mpu({mpuSim.string(), "--link", "COM1"}, folder.Path() / "mpu-sim.log");
    ASSERT_TRUE(WaitFor([&] { return fs::is_symlink(folder.Path() / "ports" / "COM1"); }, 10s))
        << "the virtual MPU did not link COM1";
    ChildProcess program({scope.string(), "-platform", "xcb"}, folder.Path() / "ondrix.log");

    std::string window;
    ASSERT_TRUE(WaitFor([&] {
        window = Output("xdotool search --name '^Serial Ondrix$'").value_or("");
        window = window.substr(0, window.find('\n'));
        return !window.empty();
    }, 15s)) << "no window captioned \"Serial Ondrix\" appeared";
    const auto geometry = Geometry(window);
    ASSERT_TRUE(geometry);
    ASSERT_EQ(geometry->width, mainform::kWindowWidth);
    ASSERT_EQ(geometry->height, mainform::kWindowHeight);

    // RUN sits at a fixed place on the bottom panel. A click that lands before the window is
    // ready for it is repeated.
    const mainform::TPlace run = mainform::kRunButton;
    const int runX = geometry->x + run.Left + run.Width / 2;
    const int runY = geometry->y + geometry->height - mainform::kPanelHeight + run.Top + run.Height / 2;
    const std::string click = "xdotool mousemove --sync " + std::to_string(runX) + " " + std::to_string(runY) + " click 1";
    bool running = false;
    for (int attempt = 0; attempt < 3 && !running; ++attempt) {
        ASSERT_TRUE(Output(click));
        running = WaitFor([&] { return WindowName(window) == "Ondrix  ---  Running..."; }, 5s);
    }
    ASSERT_TRUE(running) << "RUN did not start the session; the caption is \"" << WindowName(window) << "\"";

    std::this_thread::sleep_for(2s);
    const QImage screen = GrabScreen();
    ASSERT_FALSE(screen.isNull());
    const Box plot{geometry->x, geometry->y, geometry->x + geometry->width,
                   geometry->y + geometry->height - mainform::kPanelHeight};
    const auto dataView = BoxOf(screen, plot, kGrid);
    EXPECT_TRUE(dataView) << "no grid line in the plot";
    if (dataView) {
        EXPECT_GT(dataView->right - dataView->left, geometry->width / 2);
        EXPECT_GT(dataView->bottom - dataView->top, (geometry->height - mainform::kPanelHeight) / 2);
        const std::pair<const char*, QRgb> traces[] = {
            {"CH1 red", 0xFFFF0000}, {"CH2 yellow", 0xFFFFFF00}, {"CH3 blue", 0xFF0000FF}, {"CH4 fuchsia", 0xFFFF00FF}};
        for (const auto& [trace, colour] : traces)
            EXPECT_GT(CountOf(screen, *dataView, colour), 20) << trace << " is missing from the data view";
    }
    if (::testing::Test::HasFailure()) {
        const fs::path kept = fs::temp_directory_path() / "ondrix-window-test.png";
        screen.save(QString::fromStdString(kept.string()));
        ADD_FAILURE() << "the screen is kept in " << kept << "\nondrix said:\n"
                      << Output("cat " + (folder.Path() / "ondrix.log").string()).value_or("");
    }
}

}  // namespace
}  // namespace ondrix
