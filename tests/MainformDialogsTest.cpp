// The main window's other windows, shown from its menus. Apart from the threaded tests: the
// sanitizer of threads cannot see how Qt's own painting threads synchronise with the GUI
// thread when a large window paints, and these tests start no thread of ours.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MainWindowRig.h"

namespace ondrix {
namespace {

TEST(MainWindowDialogs, TheAssistantAboutAndProtocolItemsShowTheirWindows) {
    test::TemporaryFolder noPorts;
    test::MainWindow w{test::WindowSetup(noPorts.String())};
    test::ModalCloser closer;
    w.form.MainMenu1.SComAssistant.trigger();
    w.form.MainMenu1.About.trigger();
    w.form.MainMenu1.CommunicationProtocol.trigger();
    EXPECT_EQ(closer.captions, (std::vector<std::string>{"SCom Assistant", "About", "Communication Protocol"}));
}

}  // namespace
}  // namespace ondrix
