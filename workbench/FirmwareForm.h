#pragma once
// TFirmwareForm, the "Firmware Variables" window: the variables of a firmware file (ELF) in a
// filterable tree, put on a channel by a double click (onto the channel chosen in the window) or
// by dragging one onto a channel's group on the main window. Putting a variable on a channel
// fills the channel's address box as if the user had typed the address and left the box, and
// its title box with the variable's name cut to the title's ten characters.
//
// The window remembers the file and each channel's variable by name in ondrix.ini. Whenever the
// file changes on disk (a rebuild), it is read again and every name looked up anew: an address
// that moved goes into its box and the status bar names it; a name that is gone marks its
// channel's title. A running acquisition keeps the addresses it was started with until the next
// RUN. A channel whose address the user types over no longer follows its variable.
//
// Wiring: the main window makes the window once, with its file jobs, notifier, file dialogs,
// settings location and a TFirmwareHost, calls Start() after reading config.dat, and shows it
// from its Setup menu. The file jobs must outlive the window, which their results come back to.
//
// Threads: GUI thread only. Files are read and ondrix.ini written on the file jobs' thread.

#include <QAbstractItemModel>
#include <QComboBox>
#include <QEvent>
#include <QFileSystemWatcher>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPalette>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <QTreeView>
#include <QWidget>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "acquisition/ExtraSettings.h"
#include "acquisition/SettingsStore.h"
#include "firmware/FirmwareVariableIndex.h"
#include "platform/Notifier.h"
#include "platform/qt/FileJobs.h"
#include "workbench/ChannelGroupBox.h"
#include "workbench/FileDialogs.h"

namespace ondrix {

// What a dragged variable carries: its path, UTF-8.
constexpr const char* kVariableMimeType = "application/x-ondrix-variable";

// Why a variable cannot be put on a channel; empty when it can.
std::string NotAssignableReason(const FirmwareVariable& variable);
// "not 16 bits: ..." or "bit field" for a variable that is not one 16-bit word; empty for one
// that is.
std::string WidthWarning(const FirmwareVariable& variable);

// The tree of the window: a FirmwareVariableIndex, filtered, with members and elements under
// their aggregates. Rebuilt per filter from flat arrays, so a keystroke costs one pass over the
// entries however many there are.
class TVariableTreeModel : public QAbstractItemModel {
public:
    enum Column { NameColumn, AddressColumn, SizeColumn, TypeColumn, ColumnCount };

    void SetIndex(std::shared_ptr<const FirmwareVariableIndex> index);
    const FirmwareVariableIndex* Index() const { return index_.get(); }
    // Shows the entries matching `text` with the aggregates holding them; returns the number of
    // matches.
    size_t SetFilter(const std::string& text);
    // The entry shown at `index`; FirmwareVariableIndex::kNoParent for none.
    size_t EntryAt(const QModelIndex& index) const;
    // The place of a shown entry; invalid when the filter hides it.
    QModelIndex IndexOf(size_t entry) const;

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    static constexpr uint32_t kHidden = UINT32_MAX;

    void Show(const std::vector<size_t>& entries);
    // Slot 0 holds the top level, slot e + 1 the parts of entry e.
    int ChildCount(size_t slot) const { return static_cast<int>(childStart_[slot + 1] - childStart_[slot]); }

    std::shared_ptr<const FirmwareVariableIndex> index_;
    std::vector<uint32_t> childStart_;
    std::vector<uint32_t> children_;
    std::vector<uint32_t> rowInParent_;  // kHidden for an entry not shown
};

// What the window needs of the main window.
struct TFirmwareHost {
    // Channel 1 first; all four, outliving the window.
    std::array<TChannelGroupBox*, kChannelCount> channels{};
    // Whether an acquisition runs (with the addresses it was started with).
    std::function<bool()> running;
    // A line for the status bar's hint panel.
    std::function<void(const QString&)> showStatus;
};

class TFirmwareForm : public QWidget {
public:
    TFirmwareForm(TFileJobs& fileJobs, Notifier& notifier, TFileDialogs& fileDialogs, SettingsLocation settings,
                  TFirmwareHost host, QWidget* parent);
    ~TFirmwareForm() override;
    TFirmwareForm(const TFirmwareForm&) = delete;
    TFirmwareForm& operator=(const TFirmwareForm&) = delete;

    // Takes the file and the channels' variables from ondrix.ini as the window read it at start-up,
    // and reads the firmware file. With
    // `presetAddresses` (given on the command line, for this run only) a channel whose variable
    // is elsewhere keeps the given address and shows no variable this run.
    void Start(const ExtraSettings& stored, bool presetAddresses);
    // Shows the window, or raises it when it is open.
    void ShowWindow();

    // "Open ELF...".
    void OpenClick();
    // Reads `path` as the firmware file; the channels keep their variables' names.
    void OpenFile(const std::string& path);
    // Puts the entry on the channel (from 0). False when it cannot go on one.
    bool Assign(int channel, size_t entry);
    // The same for a variable named by its path, as a drop names it.
    bool AssignPath(int channel, const std::string& path);

    const FirmwareAssignments& Assignments() const { return assignments_; }
    // The channel's variable is not in the file read last.
    bool Vanished(int channel) const { return vanished_[channel]; }
    const FirmwareVariableIndex* Index() const { return Model.Index(); }

    // Named as the rest of the program knows them.
    TVariableTreeModel Model;
    QPushButton OpenButton;  // "Open ELF..."
    QLabel FileLabel;        // the file's path
    QLineEdit FilterBox;
    QLabel ChannelLabel;      // "Channel"
    QComboBox ChannelChoice;  // "CH1" .. "CH4": where a double click puts a variable
    QTreeView Tree;
    QLabel CountLabel;  // how many variables there are, or match

protected:
    // Drops of variables onto the channels' groups.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FileRead;

    void BuildLayout();
    void DoubleClicked(const QModelIndex& index);
    // Into the box as if typed, then taken as when the user leaves the box.
    void PutAddress(int channel, uint32_t address);
    void FilterChanged();
    void ShowCount(size_t matches);
    // Reads the file on the file jobs' thread; `whenChanged`: only when it differs from the
    // file read last (a watcher's report may concern another file of the folder).
    void ReadFile(bool whenChanged);
    void FileReadDone(FileRead read);
    void Watch();
    // Looks every channel's name up in the file read last.
    void ResolveNames();
    void SetVanished(int channel, bool vanished);
    void AddressEdited(int channel);
    void SaveAssignments();
    std::optional<size_t> AssignableEntry(const std::string& path) const;
    int ChannelOf(QObject* watched) const;

    TFileJobs& fileJobs_;
    Notifier& notifier_;
    TFileDialogs& fileDialogs_;
    SettingsLocation settings_;
    TFirmwareHost host_;
    QGridLayout layout_;

    FirmwareAssignments assignments_;
    // The address each channel's variable had when it was put on it or last looked up.
    std::array<std::optional<uint32_t>, kChannelCount> knownAddresses_{};
    std::array<bool, kChannelCount> vanished_{};
    // Channels whose address was given on the command line, until the first resolution.
    std::array<bool, kChannelCount> presetChannels_{};
    std::array<QString, kChannelCount> titleHints_;
    std::array<QPalette, kChannelCount> titlePalettes_;

    // The read whose result counts: a later one makes earlier ones stale.
    uint64_t readSerial_ = 0;
    // Identifies the contents read last (device, inode, size, modification time).
    std::string fileStamp_;
    QFileSystemWatcher watcher_;
    // A rebuild writes the file in several steps: it is read once they have settled.
    QTimer settle_;
};

}  // namespace ondrix
