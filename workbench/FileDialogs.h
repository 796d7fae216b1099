#pragma once
// The file dialogs the main window asks for a file name, behind an interface so that tests can
// answer them instead of a user.

#include <QString>
#include <QWidget>

#include <optional>
#include <string>

namespace ondrix {

struct TFileDialogRequest {
    std::string filter;         // "Data(*.dat)": a description with the pattern in brackets
    std::string defaultSuffix;  // appended to a name typed without an extension
};

class TFileDialogs {
public:
    virtual ~TFileDialogs() = default;
    // The file to write, or nothing when the dialog was cancelled. An existing file is
    // replaced only after the user agreed to it.
    virtual std::optional<std::string> SaveFileName(const TFileDialogRequest& request) = 0;
    // An existing file to read, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> OpenFileName(const TFileDialogRequest& request) = 0;
};

// The desktop's dialogs, modal over `parent`. Each starts in the folder of the file chosen last.
class TQtFileDialogs final : public TFileDialogs {
public:
    explicit TQtFileDialogs(QWidget& parent) : parent_(parent) {}

    std::optional<std::string> SaveFileName(const TFileDialogRequest& request) override;
    std::optional<std::string> OpenFileName(const TFileDialogRequest& request) override;

private:
    std::optional<std::string> Ask(const TFileDialogRequest& request, bool save);

    QWidget& parent_;
    QString folder_;
};

}  // namespace ondrix
