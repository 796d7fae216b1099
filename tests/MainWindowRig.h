#pragma once
// The scope's main window for headless tests: a window over a link whose COM1 is whatever a
// ports folder says, with its config.dat in a folder of its own, messages recorded instead of
// shown, and file dialogs answered from a script.

#include <QApplication>
#include <QDialog>
#include <QFocusEvent>
#include <QTest>
#include <QTimer>

#include <array>
#include <cstdint>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "RecordingNotifier.h"
#include "TemporaryFolder.h"
#include "acquisition/ChannelAddress.h"
#include "plot/channels/PlotChannel.h"
#include "workbench/Mainform.h"

namespace ondrix::test {

// Answers file dialogs from a queue: a file name, or nothing for a cancelled dialog.
class ScriptedFileDialogs : public TFileDialogs {
public:
    std::deque<std::optional<std::string>> answers;
    std::vector<TFileDialogRequest> saveRequests;
    std::vector<TFileDialogRequest> openRequests;

    std::optional<std::string> SaveFileName(const TFileDialogRequest& request) override {
        saveRequests.push_back(request);
        return Next();
    }
    std::optional<std::string> OpenFileName(const TFileDialogRequest& request) override {
        openRequests.push_back(request);
        return Next();
    }

private:
    std::optional<std::string> Next() {
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Every modal dialog that opens is closed as its "Exit" closes it; its caption is noted.
class ModalCloser {
public:
    ModalCloser() {
        timer_.setInterval(10);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) return;
            captions.push_back(dialog->windowTitle().toStdString());
            dialog->reject();
        });
        timer_.start();
    }
    std::vector<std::string> captions;

private:
    QTimer timer_;
};

constexpr int kScreenWidth = 50000;

struct WindowSetup {
    explicit WindowSetup(std::string ports) : portsFolder(std::move(ports)) {}
    // The boxes as config.dat, or the records' initial values, have them.
    WindowSetup& WithoutPresetAddresses() {
        presetAddresses.reset();
        return *this;
    }
    WindowSetup& WithSettingsIn(std::string folder) {
        settingsFolder = std::move(folder);
        return *this;
    }

    std::string portsFolder;
    std::optional<std::array<uint32_t, kChannelCount>> presetAddresses = kDemoAddresses;
    // Where config.dat is; a fresh empty folder when not given.
    std::string settingsFolder;
};

class MainWindow {
public:
    explicit MainWindow(const WindowSetup& setup)
        : settingsFolderUsed_(setup.settingsFolder.empty() ? settingsFolder_.String() : setup.settingsFolder),
          link(settings, notifier, PortResolverForFolder(setup.portsFolder)),
          form(settings, link, notifier, Options(setup)) {
        form.show();
    }

    QLineEdit& AddressBox(int channel) { return form.ChannelBoxes[channel].Address; }
    // The box loses the focus to another control, as when the user tabs or clicks away.
    static void Leave(QWidget& box) {
        QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(&box, &focusOut);
    }
    void LeaveAddressBox(int channel) { Leave(AddressBox(channel)); }
    int Points(int channel) { return form.Plot1.GetChannel(channel)->GetCount(); }
    bool WaitForPoints(int points) {
        return QTest::qWaitFor([&] { return Points(0) >= points; }, 10000);
    }
    // The file jobs given so far have delivered their results.
    bool WaitForFiles() {
        return QTest::qWaitFor([&] { return form.PendingFileJobs() == 0; }, 10000);
    }
    std::string SettingsFile() const { return settingsFolderUsed_ + "/config.dat"; }

private:
    MainformOptions Options(const WindowSetup& setup) {
        MainformOptions options;
        options.settings.programFolder = settingsFolderUsed_;
        options.presetAddresses = setup.presetAddresses;
        options.fileDialogs = &dialogs;
        options.portsFolder = setup.portsFolder;
        return options;
    }

    TemporaryFolder settingsFolder_;
    std::string settingsFolderUsed_;

public:
    PortSettings settings;
    RecordingNotifier notifier;
    ScriptedFileDialogs dialogs;
    SerialLink link;
    TForm1 form;
};

}  // namespace ondrix::test
