// ondrix: the serial-link oscilloscope. Creates the main window and runs the event loop until
// it closes.
//
// Options, for demos and smoke tests (Qt's own single-dash ones, such as -platform, pass through):
//   --run                 press RUN once the window is shown
//   --quit-after SECONDS  close the window SECONDS after it is shown
// Exit status: 0 after the window closed, 2 on bad options.

#include <QApplication>
#include <QTimer>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <stdexcept>
#include <string>

#include "acquisition/PortSettings.h"
#include "acquisition/SerialLink.h"
#include "workbench/Mainform.h"
#include "workbench/MessageBoxNotifier.h"

namespace {

struct ProgramOptions {
    bool run = false;
    double quitAfterSeconds = 0;  // 0: stay until closed
    bool help = false;
};

const char* const kUsage =
    "Usage: ondrix [--run] [--quit-after SECONDS]\n"
    "A live four-channel oscilloscope of an MPU's memory over a serial link.\n"
    "\n"
    "  --run                 press RUN once the window is shown\n"
    "  --quit-after SECONDS  close the window SECONDS after it is shown\n"
    "  --help                show this text\n";

double ParseSeconds(const std::string& text) {
    char* end = nullptr;
    const double seconds = std::strtod(text.c_str(), &end);
    if (text.empty() || *end != '\0' || !(seconds > 0 && seconds <= 1e6))
        throw std::invalid_argument("--quit-after wants a number of seconds, not \"" + text + "\"");
    return seconds;
}

// Read before the application exists, so that --help and mistakes need no display. Double-dash
// arguments must be ours; the rest is Qt's (-platform xcb, -style fusion).
ProgramOptions ParseOptions(int argc, char** argv) {
    ProgramOptions options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--run") {
            options.run = true;
        } else if (arg == "--help" || arg == "-h") {
            options.help = true;
        } else if (arg == "--quit-after") {
            if (i + 1 >= argc) throw std::invalid_argument("--quit-after needs a number of seconds");
            options.quitAfterSeconds = ParseSeconds(argv[++i]);
        } else if (arg.rfind("--quit-after=", 0) == 0) {
            options.quitAfterSeconds = ParseSeconds(arg.substr(std::string("--quit-after=").size()));
        } else if (arg.rfind("--", 0) == 0) {
            throw std::invalid_argument("unknown option \"" + arg + "\"");
        }
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace ondrix;
    ProgramOptions options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const std::invalid_argument& error) {
        std::cerr << "ondrix: " << error.what() << "\n\n" << kUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kUsage;
        return EXIT_SUCCESS;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ondrix"));

    PortSettings settings;
    MessageBoxNotifier notifier;
    SerialLink link(settings, notifier);
    TForm1 form(link, notifier);
    form.show();
    if (options.run) QTimer::singleShot(0, &form, [&form] { form.Run.click(); });
    if (options.quitAfterSeconds > 0) {
        const int quitAfterMs = static_cast<int>(std::lround(options.quitAfterSeconds * 1000));
        QTimer::singleShot(quitAfterMs, &form, [&form] { form.close(); });
    }
    return QApplication::exec();
}
