// ondrix: the serial-link oscilloscope. Creates the main window and runs the event loop until
// it closes.
//
// Options, for demos and smoke tests (Qt's own single-dash ones, such as -platform, pass through):
//   --run                     press RUN once the window is shown
//   --quit-after SECONDS      close the window SECONDS after it is shown
//   --addresses A1,A2,A3,A4   start with these addresses in the four boxes
// With --run or --quit-after a script drives the start, so a message at start-up (a damaged
// config.dat) stays up without holding it.
// Exit status: 0 after the window closed, 2 on bad options.

#include <QApplication>
#include <QTimer>

#include <cmath>
#include <cstdlib>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "acquisition/PortSettings.h"
#include "acquisition/SerialLink.h"
#include "acquisition/SettingsStore.h"
#include "app/ProgramOptions.h"
#include "workbench/Mainform.h"
#include "workbench/MessageBoxNotifier.h"

int main(int argc, char** argv) {
    using namespace ondrix;
    ProgramOptions options;
    try {
        options = ParseProgramOptions(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "ondrix: " << error.what() << "\n\n" << kProgramUsage;
        return 2;
    }
    if (options.help) {
        std::cout << kProgramUsage;
        return EXIT_SUCCESS;
    }

    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ondrix"));

    PortSettings settings;
    MessageBoxNotifier notifier;
    SerialLink link(settings, notifier);
    MainformOptions windowOptions;
    windowOptions.settings = DefaultSettingsLocation();
    windowOptions.presetAddresses = options.addresses;
    windowOptions.unattended = options.Unattended();
    TForm1 form(settings, link, notifier, windowOptions);
    form.show();
    if (options.run) QTimer::singleShot(0, &form, [&form] { form.Run.click(); });
    if (options.quitAfterSeconds > 0) {
        const int quitAfterMs = static_cast<int>(std::lround(options.quitAfterSeconds * 1000));
        QTimer::singleShot(quitAfterMs, &form, [&form] { form.close(); });
    }
    return QApplication::exec();
}
