#pragma once
// "&Calc" and "&Notepad": start the desktop's calculator or plain-text editor and wait for it
// to end, as the commands always did, but without stopping the GUI thread: while the program
// runs the window is disabled (it takes no input, and its close requests are refused), and
// the event loop goes on, so samples keep arriving and the plot keeps painting. When the
// program ends, the window takes input again.
//
// Which program: the first of a fixed list (CalculatorPrograms(), EditorPrograms(), in order of
// preference) that is an executable file in one of the search folders (by default those of
// PATH). It is started directly, with no arguments and without a shell. When none is found, or
// the one found cannot be started, the notifier says so.
//
// Wiring: one launcher per main window, built after it and destroyed before it; connect the
// menu items to RunCalculator and RunEditor. A program still running when the launcher goes
// (the program quits) is ended with it.
//
// Threads: GUI thread only.

#include <QObject>
#include <QProcess>
#include <QWidget>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Notifier.h"

namespace ondrix {

class TToolLauncher : public QObject {
public:
    // `searchPath`: the folders to look in, in order.
    TToolLauncher(Notifier& notifier, QWidget& window, std::vector<std::string> searchPath = PathFolders());
    ~TToolLauncher() override;
    TToolLauncher(const TToolLauncher&) = delete;
    TToolLauncher& operator=(const TToolLauncher&) = delete;

    // "&Calc" and "&Notepad". Return at once; the window is disabled until the program ends.
    // Ignored while a program started here still runs.
    void RunCalculator();
    void RunEditor();

    // True from the start until the program has ended (or failed to start).
    bool Running() const { return process_ != nullptr; }

    static const std::vector<std::string>& CalculatorPrograms();
    static const std::vector<std::string>& EditorPrograms();
    // The folders of the PATH environment variable, in order; empty entries dropped.
    static std::vector<std::string> PathFolders();
    // Full path of the first program of `names` that is a regular executable file in one of
    // `folders`. The order of `names` decides before the order of `folders`.
    static std::optional<std::string> FindProgram(const std::vector<std::string>& names,
                                                  const std::vector<std::string>& folders);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Run(const std::vector<std::string>& names, const char* what);
    void Finished();

    Notifier& notifier_;
    QWidget& window_;
    std::vector<std::string> searchPath_;
    std::unique_ptr<QProcess> process_;
};

}  // namespace ondrix
