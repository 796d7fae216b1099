// "&Calc" and "&Notepad": the program found, the wait that keeps the event loop running while
// the window takes no input, and the messages when there is nothing to start.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "RecordingNotifier.h"
#include "TemporaryFolder.h"
#include "workbench/ToolLauncher.h"

namespace ondrix {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const std::string& content, mode_t mode) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << content;
    chmod(path.c_str(), mode);
}

TEST(ToolLauncher, FindsTheFirstListedProgramInTheSearchFolders) {
    test::TemporaryFolder root;
    const fs::path a = root.Path() / "a";
    const fs::path b = root.Path() / "b";
    WriteFile(a / "second", "#!/bin/sh\n", 0755);
    WriteFile(b / "first", "#!/bin/sh\n", 0755);
    WriteFile(a / "plain", "not a program\n", 0644);
    WriteFile(b / "plain", "#!/bin/sh\n", 0755);
    fs::create_directories(a / "folder");
    WriteFile(b / "folder", "#!/bin/sh\n", 0755);
    const std::vector<std::string> folders = {a.string(), b.string(), (root.Path() / "missing").string()};

    struct Case {
        std::vector<std::string> names;
        std::optional<fs::path> found;
    } cases[] = {
        {{"first", "second"}, b / "first"},    // the list's order decides before the folders'
        {{"second", "first"}, a / "second"},
        {{"plain"}, b / "plain"},              // not executable in a
        {{"folder"}, b / "folder"},            // a folder of that name in a
        {{"absent", "first"}, b / "first"},
        {{"absent"}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.names.empty() ? "(none)" : c.names.front());
        const auto found = TToolLauncher::FindProgram(c.names, folders);
        ASSERT_EQ(found.has_value(), c.found.has_value());
        if (found) {
            EXPECT_EQ(fs::path(*found), *c.found);
        }
    }
    EXPECT_FALSE(TToolLauncher::FindProgram({"first"}, {}).has_value());
}

// A window with controls that count the input they get.
struct Window {
    QWidget widget;
    QPushButton button{"Press", &widget};
    QLineEdit edit{&widget};
    int presses = 0;

    Window() {
        widget.resize(200, 80);
        button.setGeometry(10, 10, 180, 25);
        edit.setGeometry(10, 45, 180, 25);
        QObject::connect(&button, &QPushButton::clicked, [this] { ++presses; });
        widget.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&widget));
    }
};

TEST(ToolLauncher, WaitsForTheProgramWhileTheWindowTakesNoInput) {
    for (const bool calculator : {true, false}) {
        SCOPED_TRACE(calculator ? "calculator" : "editor");
        test::TemporaryFolder folder;
        const auto& names = calculator ? TToolLauncher::CalculatorPrograms() : TToolLauncher::EditorPrograms();
        WriteFile(folder.Path() / names.front(), "#!/bin/sh\nsleep 0.5\n", 0755);
        RecordingNotifier notifier;
        Window window;
        TToolLauncher launcher(notifier, window.widget, {folder.String()});

        int ticks = 0;
        QTimer ticker;
        QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
        ticker.start(10);

        calculator ? launcher.RunCalculator() : launcher.RunEditor();
        ASSERT_TRUE(launcher.Running());
        EXPECT_FALSE(window.widget.isEnabled());
        QTest::mouseClick(&window.button, Qt::LeftButton);
        QTest::keyClick(&window.edit, Qt::Key_A);
        EXPECT_FALSE(window.widget.close());  // its close request is refused
        calculator ? launcher.RunCalculator() : launcher.RunEditor();  // no second program

        QTRY_VERIFY_WITH_TIMEOUT(!launcher.Running(), 10000);
        EXPECT_GE(ticks, 20);  // the event loop ran all along
        EXPECT_TRUE(window.widget.isEnabled());
        EXPECT_EQ(window.presses, 0);
        EXPECT_TRUE(window.edit.text().isEmpty());
        EXPECT_TRUE(notifier.messages.empty());

        QTest::mouseClick(&window.button, Qt::LeftButton);
        EXPECT_EQ(window.presses, 1);
    }
}

TEST(ToolLauncher, SaysWhenThereIsNothingToStart) {
    struct Case {
        const char* what;
        bool calculator;
        const char* fileContent;  // of a file named as the first program; null: none
        const char* message;
    } cases[] = {
        {"no calculator", true, nullptr, "No calculator is installed. Install one of: gnome-calculator,"},
        {"no editor", false, nullptr, "No text editor is installed. Install one of: gedit,"},
        {"a calculator that cannot run", true, "\x7f" "ELF broken", "Cannot start "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::TemporaryFolder folder;
        if (c.fileContent) WriteFile(folder.Path() / TToolLauncher::CalculatorPrograms().front(), c.fileContent, 0755);
        RecordingNotifier notifier;
        Window window;
        TToolLauncher launcher(notifier, window.widget, {folder.String()});

        c.calculator ? launcher.RunCalculator() : launcher.RunEditor();
        QTRY_VERIFY_WITH_TIMEOUT(!notifier.messages.empty(), 5000);
        ASSERT_EQ(notifier.messages.size(), 1u);
        EXPECT_EQ(notifier.messages[0].rfind(c.message, 0), 0u) << notifier.messages[0];
        EXPECT_FALSE(launcher.Running());
        EXPECT_TRUE(window.widget.isEnabled());
    }
}

}  // namespace
}  // namespace ondrix
