#include "workbench/ToolLauncher.h"

#include <unistd.h>

#include <QCloseEvent>
#include <QEvent>

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <utility>

namespace ondrix {

namespace {

std::string JoinNames(const std::vector<std::string>& names) {
    std::string joined;
    for (const std::string& name : names) joined += (joined.empty() ? "" : ", ") + name;
    return joined;
}

bool IsExecutableFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

TToolLauncher::TToolLauncher(Notifier& notifier, QWidget& window, std::vector<std::string> searchPath)
    : notifier_(notifier), window_(window), searchPath_(std::move(searchPath)) {
    window_.installEventFilter(this);
}

TToolLauncher::~TToolLauncher() {
    window_.removeEventFilter(this);
    if (!process_) return;
    // Only the quitting program gets here: the window was disabled all along.
    process_->disconnect(this);
    window_.setEnabled(true);
}

// In order of preference: the desktops' own first, the small stand-alone ones after them.
const std::vector<std::string>& TToolLauncher::CalculatorPrograms() {
    static const std::vector<std::string> names = {"gnome-calculator", "kcalc",    "galculator",
                                                   "qalculate-gtk",    "mate-calc", "xcalc"};
    return names;
}

const std::vector<std::string>& TToolLauncher::EditorPrograms() {
    static const std::vector<std::string> names = {"gedit",  "gnome-text-editor", "kwrite", "kate",
                                                   "mousepad", "pluma", "xed", "featherpad", "leafpad"};
    return names;
}

std::vector<std::string> TToolLauncher::PathFolders() {
    std::vector<std::string> folders;
    const char* path = std::getenv("PATH");
    if (!path) return folders;
    std::istringstream entries(path);
    for (std::string folder; std::getline(entries, folder, ':');)
        if (!folder.empty()) folders.push_back(folder);
    return folders;
}

std::optional<std::string> TToolLauncher::FindProgram(const std::vector<std::string>& names,
                                                      const std::vector<std::string>& folders) {
    for (const std::string& name : names)
        for (const std::string& folder : folders) {
            const std::filesystem::path candidate = std::filesystem::path(folder) / name;
            if (IsExecutableFile(candidate)) return candidate.string();
        }
    return std::nullopt;
}

void TToolLauncher::RunCalculator() { Run(CalculatorPrograms(), "calculator"); }

void TToolLauncher::RunEditor() { Run(EditorPrograms(), "text editor"); }

void TToolLauncher::Run(const std::vector<std::string>& names, const char* what) {
    if (process_) return;
    const std::optional<std::string> program = FindProgram(names, searchPath_);
    if (!program) {
        notifier_.ShowMessage(std::string("No ") + what + " is installed. Install one of: " + JoinNames(names) + ".");
        return;
    }

    process_ = std::make_unique<QProcess>();
    process_->setProgram(QString::fromStdString(*program));
    process_->setStandardInputFile(QProcess::nullDevice());
    process_->setProcessChannelMode(QProcess::ForwardedChannels);
    connect(process_.get(), &QProcess::finished, this, [this] { Finished(); });
    // No finished signal follows a failed start.
    connect(process_.get(), &QProcess::errorOccurred, this, [this, program = *program](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart) return;
        const std::string reason = process_->errorString().toStdString();
        Finished();
        notifier_.ShowMessage("Cannot start " + program + ": " + reason);
    });
    window_.setEnabled(false);
    process_->start();
}

void TToolLauncher::Finished() {
    // Destroyed later: this runs inside the process object's own signal.
    process_.release()->deleteLater();
    window_.setEnabled(true);
    window_.activateWindow();
}

bool TToolLauncher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::Close && process_) {
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace ondrix
