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
#include <unordered_map>
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

// The tree of the window: the variables of a FirmwareVariableIndex, those matching a filter,
// with their members and elements below them. A row's parts are made when the view asks for
// them, so a keystroke costs a pass over the variables however large their types, and opening
// an array makes its elements' rows only. Rows keep their identities (internal ids) until the
// next filter or file.
class TVariableTreeModel : public QAbstractItemModel {
public:
    enum Column { NameColumn, AddressColumn, SizeColumn, TypeColumn, ColumnCount };
    // An aggregate shows this many of its parts at most, then a row saying how many more there
    // are and how to reach them: the view lays out every row of an open aggregate, and an array
    // of a few billion elements must open as quickly as one of ten.
    static constexpr uint64_t kMaxRows = 100000;

    void SetIndex(std::shared_ptr<const FirmwareVariableIndex> index);
    const FirmwareVariableIndex* Index() const { return index_.get(); }
    // Shows the variables matching `text` with the parts holding the matches; returns the
    // number of variables that match (all of them for blank text).
    size_t SetFilter(const std::string& text);
    // The variable, member or element shown at `index`; none for the row of parts not shown.
    std::optional<FirmwareVariable> VariableAt(const QModelIndex& index) const;
    // The row showing `path`, made (with those above it) as the view would make them; invalid
    // when the filter hides it.
    QModelIndex IndexOf(const std::string& path) const;
    // The row is shown because something below it matches the filter (rather than as a match
    // itself): what the window opens when the matches are few.
    bool LeadsToMatches(const QModelIndex& index) const;
    // How many rows of parts the view has had made: what opening aggregates costs.
    size_t RowsMade() const { return nodes_.size() - topCount_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    bool hasChildren(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

private:
    static constexpr uint32_t kTop = UINT32_MAX;
    static constexpr uint32_t kNotYet = UINT32_MAX;
    static constexpr size_t kCachedVariables = 4096;

    struct Node {
        uint32_t parent = kTop;
        uint32_t row = 0;
        // The part's place in its whole; the variable's place in the index at the top level.
        uint64_t part = 0;
        FilterScope scope;
        // The row saying how many parts are not shown.
        bool more = false;
        uint32_t children = kNotYet;  // in children_
    };
    struct Children {
        ShownParts parts;
        uint64_t rows = 0;
        // The node of each row, once the view asked for it.
        std::vector<uint32_t> nodes;
    };

    void Rebuild();
    Children& ChildrenOf(uint32_t node) const;
    uint32_t NodeAt(uint32_t parentNode, uint64_t row) const;
    // The row of part `part` among the parts shown; none when it is not shown.
    std::optional<uint64_t> RowOfPart(const Children& children, uint64_t part) const;
    FirmwareVariable VariableOf(uint32_t node) const;
    QVariant MoreData(uint32_t node, int column, int role) const;
    uint32_t NodeOf(const QModelIndex& index) const { return static_cast<uint32_t>(index.internalId()); }

    std::shared_ptr<const FirmwareVariableIndex> index_;
    VariableFilter filter_;
    size_t topCount_ = 0;
    // Made as the view asks, hence mutable: rows and their parts are what the model shows, not
    // what it is.
    mutable std::vector<Node> nodes_;
    mutable std::vector<Children> children_;
    // Variables of rows made lately: a painted row asks for each column and role in turn.
    mutable std::unordered_map<uint32_t, FirmwareVariable> variables_;
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
    // Shows the variables of the file read (read on the file jobs' thread) and looks the
    // channels' names up in it.
    void ShowVariables(std::shared_ptr<const FirmwareVariableIndex> index);
    // Puts the variable (or part of one) on the channel (from 0). False when it cannot go on one.
    bool Assign(int channel, const FirmwareVariable& variable);
    // The same for a variable named by its path, as a drop or ondrix.ini names it.
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
    // How many variables there are, or match; what could not be read, in its tool tip.
    QLabel CountLabel;

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
    // Opens the rows leading to the filter's matches, as long as the tree stays short.
    void ExpandMatches();
    void ShowCount(size_t matches);
    // Reads the file on the file jobs' thread; `whenChanged`: only when it differs from the
    // file read last (a watcher's report may concern another file of the folder).
    void ReadFile(bool whenChanged);
    void FileReadDone(FileRead read);
    void Watch();
    // Looks every channel's name up in the file read last.
    void ResolveNames();
    // `why`: what the index says of the name, when more than that it is not there.
    void SetVanished(int channel, bool vanished, const std::string& why = {});
    void AddressEdited(int channel);
    void SaveAssignments();
    std::optional<FirmwareVariable> AssignableVariable(const std::string& path) const;
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
