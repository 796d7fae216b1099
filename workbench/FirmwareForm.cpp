#include "workbench/FirmwareForm.h"

#include <sys/stat.h>

#include <QBrush>
#include <QColor>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QStringList>

#include <utility>

#include "acquisition/ChannelAddress.h"
#include "workbench/ControlHint.h"

namespace ondrix {

namespace {

constexpr int kWindowWidth = 560;
constexpr int kWindowHeight = 480;
// A filter with at most this many matches opens the aggregates holding them; more would make
// the tree longer than anyone reads.
constexpr size_t kExpandedMatches = 200;
constexpr int kSettleMs = 300;
const QColor kVanishedColour(Qt::red);
const QColor kVanishedTextColour(Qt::black);  // 5.25:1 on the red
const char* const kElfFilter = "ELF files (*.elf *.axf *.out);;All files (*)";

QString HexAddress(uint64_t address) { return QString::fromStdString(AddressListing(address)); }

QString BoxAddress(uint32_t address) { return QString::fromStdString(AddressText(address)); }

QString FileNameOf(const std::string& path) { return QFileInfo(QString::fromStdString(path)).fileName(); }

// Tells one version of a file from the next: a rebuild replaces the file (a new inode) or
// rewrites it (a new size or modification time). Empty when the file is not there.
std::string FileStamp(const std::string& path) {
    struct stat status {};
    if (stat(path.c_str(), &status) != 0) return {};
    return std::to_string(status.st_dev) + ':' + std::to_string(status.st_ino) + ':' + std::to_string(status.st_size) +
           ':' + std::to_string(status.st_mtim.tv_sec) + '.' + std::to_string(status.st_mtim.tv_nsec);
}

std::optional<uint32_t> BoxValue(const QLineEdit& box) {
    const ParsedAddress parsed = ParseAddressText(box.text().toLatin1().toStdString());
    if (parsed.status != ParsedAddress::Status::Ok) return std::nullopt;
    return parsed.value;
}

}  // namespace

std::string NotAssignableReason(const FirmwareVariable& variable) {
    if (!variable.address) return "no fixed address";
    if (*variable.address > kLargestWatchableAddress) return "beyond the 32-bit addresses a channel can watch";
    return {};
}

std::string WidthWarning(const FirmwareVariable& variable) {
    if (variable.kind == VariableKind::BitField) return "bit field: the channel shows the 16-bit word at its address";
    if (variable.byteSize != 2) return "not 16 bits: the channel shows the 16-bit word at its address";
    return {};
}

// ---- TVariableTreeModel ------------------------------------------------------------------

void TVariableTreeModel::SetIndex(std::shared_ptr<const FirmwareVariableIndex> index) {
    beginResetModel();
    index_ = std::move(index);
    Show(index_ ? index_->Filter("") : std::vector<size_t>{});
    endResetModel();
}

size_t TVariableTreeModel::SetFilter(const std::string& text) {
    if (!index_) return 0;
    const std::vector<size_t> matches = index_->Filter(text);
    beginResetModel();
    Show(index_->WithAncestors(matches));
    endResetModel();
    return matches.size();
}

// Each shown entry's aggregate is shown too, so every entry has a row under its parent.
void TVariableTreeModel::Show(const std::vector<size_t>& entries) {
    const size_t count = index_ ? index_->Size() : 0;
    const auto slotOf = [this](size_t entry) {
        const size_t parent = index_->Parent(entry);
        return parent == FirmwareVariableIndex::kNoParent ? 0 : parent + 1;
    };
    childStart_.assign(count + 2, 0);
    rowInParent_.assign(count, kHidden);
    children_.resize(entries.size());
    for (size_t entry : entries) ++childStart_[slotOf(entry) + 1];
    for (size_t slot = 1; slot < childStart_.size(); ++slot) childStart_[slot] += childStart_[slot - 1];
    std::vector<uint32_t> next(childStart_.begin(), childStart_.end() - 1);
    for (size_t entry : entries) {
        const size_t slot = slotOf(entry);
        children_[next[slot]] = static_cast<uint32_t>(entry);
        rowInParent_[entry] = next[slot] - childStart_[slot];
        ++next[slot];
    }
}

size_t TVariableTreeModel::EntryAt(const QModelIndex& index) const {
    return index.isValid() ? static_cast<size_t>(index.internalId() - 1) : FirmwareVariableIndex::kNoParent;
}

QModelIndex TVariableTreeModel::IndexOf(size_t entry) const {
    if (!index_ || entry >= rowInParent_.size() || rowInParent_[entry] == kHidden) return {};
    return createIndex(static_cast<int>(rowInParent_[entry]), 0, static_cast<quintptr>(entry + 1));
}

QModelIndex TVariableTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!index_ || row < 0 || column < 0 || column >= ColumnCount || parent.column() > 0) return {};
    const size_t slot = parent.isValid() ? static_cast<size_t>(parent.internalId()) : 0;
    if (row >= ChildCount(slot)) return {};
    return createIndex(row, column, static_cast<quintptr>(children_[childStart_[slot] + row] + 1));
}

QModelIndex TVariableTreeModel::parent(const QModelIndex& child) const {
    if (!index_ || !child.isValid()) return {};
    const size_t parent = index_->Parent(EntryAt(child));
    if (parent == FirmwareVariableIndex::kNoParent) return {};
    return createIndex(static_cast<int>(rowInParent_[parent]), 0, static_cast<quintptr>(parent + 1));
}

int TVariableTreeModel::rowCount(const QModelIndex& parent) const {
    if (!index_ || parent.column() > 0) return 0;
    return ChildCount(parent.isValid() ? static_cast<size_t>(parent.internalId()) : 0);
}

int TVariableTreeModel::columnCount(const QModelIndex&) const { return ColumnCount; }

QVariant TVariableTreeModel::data(const QModelIndex& index, int role) const {
    if (!index_ || !index.isValid()) return {};
    const size_t entry = EntryAt(index);
    const FirmwareVariable& variable = index_->Variable(entry);
    const std::string refusal = NotAssignableReason(variable);
    const std::string warning = WidthWarning(variable);
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case NameColumn:
                    return QString::fromStdString(index_->LastComponent(entry));
                case AddressColumn:
                    return variable.address ? HexAddress(*variable.address) : QString();
                case SizeColumn:
                    if (variable.kind == VariableKind::BitField)
                        return QStringLiteral("%1 bits").arg(variable.bitSize);
                    return QString::number(variable.byteSize);
                case TypeColumn:
                    return QString::fromStdString(variable.typeName.empty() ? VariableKindText(variable.kind)
                                                                            : variable.typeName);
                default:
                    return {};
            }
        case Qt::ToolTipRole: {
            QString tip = QString::fromStdString(variable.path);
            if (!refusal.empty()) tip += QStringLiteral(": ") + QString::fromStdString(refusal);
            else if (!warning.empty()) tip += QStringLiteral(": ") + QString::fromStdString(warning);
            return tip;
        }
        case Qt::ForegroundRole:
            if (!refusal.empty() || !warning.empty()) return QBrush(QColor(Qt::gray));
            return {};
        default:
            return {};
    }
}

QVariant TVariableTreeModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kTitles[ColumnCount] = {"Name", "Address", "Size", "Type"};
    if (section < 0 || section >= ColumnCount) return {};
    return QString::fromLatin1(kTitles[section]);
}

Qt::ItemFlags TVariableTreeModel::flags(const QModelIndex& index) const {
    if (!index_ || !index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (NotAssignableReason(index_->Variable(EntryAt(index))).empty()) flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList TVariableTreeModel::mimeTypes() const { return {QString::fromLatin1(kVariableMimeType)}; }

QMimeData* TVariableTreeModel::mimeData(const QModelIndexList& indexes) const {
    if (!index_ || indexes.isEmpty()) return nullptr;
    auto mime = std::make_unique<QMimeData>();
    mime->setData(QString::fromLatin1(kVariableMimeType),
                  QByteArray::fromStdString(index_->Variable(EntryAt(indexes.front())).path));
    return mime.release();  // the view owns it
}

// ---- TFirmwareForm -----------------------------------------------------------------------

struct TFirmwareForm::FileRead {
    uint64_t serial = 0;
    bool afterChange = false;
    // The file is as read last, or gone for the moment (a rebuild between deleting and writing).
    bool unchanged = false;
    std::string stamp;
    std::shared_ptr<const FirmwareVariableIndex> index;
    bool fromDebugInfo = false;
    std::string error;
};

TFirmwareForm::TFirmwareForm(TFileJobs& fileJobs, Notifier& notifier, TFileDialogs& fileDialogs,
                             SettingsLocation settings, TFirmwareHost host, QWidget* parent)
    : QWidget(parent, Qt::Tool),
      OpenButton(QStringLiteral("Open ELF..."), this),
      FileLabel(QStringLiteral("No ELF file open"), this),
      FilterBox(this),
      ChannelLabel(QStringLiteral("Channel"), this),
      ChannelChoice(this),
      Tree(this),
      CountLabel(this),
      fileJobs_(fileJobs),
      notifier_(notifier),
      fileDialogs_(fileDialogs),
      settings_(std::move(settings)),
      host_(std::move(host)),
      layout_(this) {
    setWindowTitle(QStringLiteral("Firmware Variables"));
    resize(kWindowWidth, kWindowHeight);
    BuildLayout();

    connect(&OpenButton, &QPushButton::clicked, this, [this] { OpenClick(); });
    connect(&FilterBox, &QLineEdit::textChanged, this, [this] { FilterChanged(); });
    connect(&Tree, &QTreeView::doubleClicked, this, [this](const QModelIndex& index) { DoubleClicked(index); });

    for (int c = 0; c < kChannelCount; ++c) {
        TChannelGroupBox& box = *host_.channels[c];
        titleHints_[c] = box.Title.toolTip();
        titlePalettes_[c] = box.Title.palette();
        box.setAcceptDrops(true);
        box.installEventFilter(this);
        connect(&box.Address, &QLineEdit::textEdited, this, [this, c] { AddressEdited(c); });
    }

    settle_.setSingleShot(true);
    settle_.setInterval(kSettleMs);
    connect(&settle_, &QTimer::timeout, this, [this] { ReadFile(true); });
    connect(&watcher_, &QFileSystemWatcher::fileChanged, this, [this] { settle_.start(); });
    connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, [this] { settle_.start(); });
}

TFirmwareForm::~TFirmwareForm() {
    for (TChannelGroupBox* box : host_.channels) box->removeEventFilter(this);
}

void TFirmwareForm::BuildLayout() {
    for (int c = 1; c <= kChannelCount; ++c) ChannelChoice.addItem(QStringLiteral("CH%1").arg(c));
    FilterBox.setPlaceholderText(QStringLiteral("Filter"));
    FilterBox.setClearButtonEnabled(true);
    SetHint(OpenButton, QStringLiteral("Open the firmware's ELF file"));
    SetHint(FilterBox, QStringLiteral("Show the variables whose names hold every word typed"));
    SetHint(ChannelChoice, QStringLiteral("The channel a double-clicked variable goes on"));
    SetHint(Tree, QStringLiteral("Double click a variable, or drag it onto a channel, to watch it"));
    FileLabel.setTextInteractionFlags(Qt::TextSelectableByMouse);
    OpenButton.setAccessibleName(QStringLiteral("Open ELF"));
    FilterBox.setAccessibleName(QStringLiteral("Filter"));
    ChannelChoice.setAccessibleName(QStringLiteral("Channel"));
    Tree.setAccessibleName(QStringLiteral("Variables"));

    Tree.setModel(&Model);
    // Rows of one height let the view place a row without measuring the rows before it.
    Tree.setUniformRowHeights(true);
    Tree.setSelectionMode(QAbstractItemView::SingleSelection);
    Tree.setDragEnabled(true);
    Tree.setDragDropMode(QAbstractItemView::DragOnly);
    Tree.setExpandsOnDoubleClick(false);
    Tree.header()->resizeSection(TVariableTreeModel::NameColumn, 220);
    Tree.header()->resizeSection(TVariableTreeModel::AddressColumn, 100);
    Tree.header()->resizeSection(TVariableTreeModel::SizeColumn, 60);

    layout_.addWidget(&OpenButton, 0, 0);
    layout_.addWidget(&FileLabel, 0, 1, 1, 3);
    layout_.addWidget(&FilterBox, 1, 0, 1, 2);
    layout_.addWidget(&ChannelLabel, 1, 2, Qt::AlignRight);
    layout_.addWidget(&ChannelChoice, 1, 3);
    layout_.addWidget(&Tree, 2, 0, 1, 4);
    layout_.addWidget(&CountLabel, 3, 0, 1, 4);
    layout_.setColumnStretch(1, 1);
}

void TFirmwareForm::ShowWindow() {
    show();
    raise();
    activateWindow();
}

// ---- Files -------------------------------------------------------------------------------

void TFirmwareForm::Start(const ExtraSettings& stored, bool presetAddresses) {
    assignments_ = ReadFirmwareAssignments(stored);
    for (int c = 0; c < kChannelCount; ++c) {
        if (assignments_.variables[c].empty()) continue;
        knownAddresses_[c] = BoxValue(host_.channels[c]->Address);
        presetChannels_[c] = presetAddresses;
    }
    if (assignments_.elfPath.empty()) return;
    FileLabel.setText(QString::fromStdString(assignments_.elfPath));
    ReadFile(false);
    Watch();
}

void TFirmwareForm::OpenClick() {
    const auto file = fileDialogs_.OpenFileName({kElfFilter, ""});
    if (file) OpenFile(*file);
}

void TFirmwareForm::OpenFile(const std::string& path) {
    if (path.empty()) return;
    const QStringList watched = watcher_.files() + watcher_.directories();
    if (!watched.isEmpty()) watcher_.removePaths(watched);
    assignments_.elfPath = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    fileStamp_.clear();
    FileLabel.setText(QString::fromStdString(assignments_.elfPath));
    SaveAssignments();
    ReadFile(false);
    Watch();
}

void TFirmwareForm::ReadFile(bool whenChanged) {
    const std::string path = assignments_.elfPath;
    if (path.empty()) return;
    const uint64_t serial = ++readSerial_;
    const std::string lastStamp = fileStamp_;
    fileJobs_.Run<FileRead>(
        "reading " + path,
        [path, serial, whenChanged, lastStamp] {
            FileRead read;
            read.serial = serial;
            read.afterChange = whenChanged;
            read.stamp = FileStamp(path);
            if (whenChanged && (read.stamp.empty() || read.stamp == lastStamp)) {
                read.unchanged = true;
                return read;
            }
            try {
                FirmwareSymbols symbols = ReadFirmwareSymbols(path);
                read.fromDebugInfo = symbols.fromDebugInfo;
                read.index = std::make_shared<const FirmwareVariableIndex>(std::move(symbols.variables));
            } catch (const FirmwareFileError& error) {
                read.error = error.what();
            }
            return read;
        },
        [this](FileRead read) { FileReadDone(std::move(read)); });
}

void TFirmwareForm::FileReadDone(FileRead read) {
    if (read.serial != readSerial_) return;
    // A file replaced by a rebuild is no longer the one watched: the new one is.
    Watch();
    if (read.unchanged) return;
    if (!read.error.empty()) {
        // A rebuild may still be writing the file; its last write brings another read. A message
        // box for each would stand in the way of the user's build.
        if (read.afterChange && host_.showStatus) host_.showStatus(QString::fromStdString(read.error));
        else notifier_.ShowMessage(read.error);
        return;
    }
    fileStamp_ = read.stamp;
    Model.SetIndex(read.index);
    FilterChanged();
    if (!read.fromDebugInfo)
        CountLabel.setText(CountLabel.text() + QStringLiteral(" (no debug information: names and sizes only)"));
    ResolveNames();
}

void TFirmwareForm::Watch() {
    if (assignments_.elfPath.empty()) return;
    const QString file = QString::fromStdString(assignments_.elfPath);
    const QString folder = QFileInfo(file).absolutePath();
    if (!watcher_.directories().contains(folder)) watcher_.addPath(folder);
    if (!watcher_.files().contains(file) && QFileInfo::exists(file)) watcher_.addPath(file);
}

void TFirmwareForm::SaveAssignments() {
    fileJobs_.Run<std::string>(
        std::string("saving ") + kExtraSettingsFileName,
        [location = settings_, assignments = assignments_] {
            bool complete = true;
            const std::string failure = UpdateExtraSettingsFile(
                location, [&](ExtraSettings& settings) { complete = WriteFirmwareAssignments(assignments, settings); });
            if (failure.empty() && !complete)
                return std::string("A name or file path with line breaks or blanks at its ends cannot be kept in ") +
                       kExtraSettingsFileName;
            return failure;
        },
        [this](std::string failure) {
            if (!failure.empty()) notifier_.ShowMessage(failure);
        });
}

// ---- The tree ----------------------------------------------------------------------------

void TFirmwareForm::FilterChanged() {
    const std::string text = FilterBox.text().toStdString();
    const size_t matches = Model.SetFilter(text);
    if (!FilterBox.text().trimmed().isEmpty() && matches <= kExpandedMatches) Tree.expandAll();
    ShowCount(matches);
}

void TFirmwareForm::ShowCount(size_t matches) {
    const FirmwareVariableIndex* index = Model.Index();
    const size_t all = index ? index->Size() : 0;
    if (FilterBox.text().trimmed().isEmpty() || matches == all)
        CountLabel.setText(QStringLiteral("%1 variables").arg(all));
    else
        CountLabel.setText(QStringLiteral("%1 of %2 variables match").arg(matches).arg(all));
}

void TFirmwareForm::DoubleClicked(const QModelIndex& index) {
    const size_t entry = Model.EntryAt(index);
    if (entry == FirmwareVariableIndex::kNoParent) return;
    if (!Assign(ChannelChoice.currentIndex(), entry)) {
        const FirmwareVariable& variable = Model.Index()->Variable(entry);
        CountLabel.setText(QString::fromStdString(variable.path + ": " + NotAssignableReason(variable)));
    }
}

// ---- Channels ----------------------------------------------------------------------------

std::optional<size_t> TFirmwareForm::AssignableEntry(const std::string& path) const {
    const FirmwareVariableIndex* index = Model.Index();
    if (!index) return std::nullopt;
    const auto entry = index->Resolve(path);
    if (!entry || !NotAssignableReason(index->Variable(*entry)).empty()) return std::nullopt;
    return entry;
}

bool TFirmwareForm::Assign(int channel, size_t entry) {
    const FirmwareVariableIndex* index = Model.Index();
    if (!index || channel < 0 || channel >= kChannelCount || entry >= index->Size()) return false;
    const FirmwareVariable& variable = index->Variable(entry);
    if (!NotAssignableReason(variable).empty()) return false;
    const auto address = static_cast<uint32_t>(*variable.address);
    knownAddresses_[channel] = address;
    PutAddress(channel, address);
    host_.channels[channel]->Title.setText(
        QString::fromStdString(variable.path).left(TChannelGroupBox::kTitleLength));
    SetVanished(channel, false);
    if (assignments_.variables[channel] != variable.path) {
        assignments_.variables[channel] = variable.path;
        SaveAssignments();
    }
    return true;
}

bool TFirmwareForm::AssignPath(int channel, const std::string& path) {
    const auto entry = AssignableEntry(path);
    return entry && Assign(channel, *entry);
}

void TFirmwareForm::PutAddress(int channel, uint32_t address) {
    TChannelGroupBox& box = *host_.channels[channel];
    box.Address.setText(BoxAddress(address));
    if (box.OnAddressExit) box.OnAddressExit();
}

void TFirmwareForm::ResolveNames() {
    const FirmwareVariableIndex* index = Model.Index();
    if (!index) return;
    const QString file = FileNameOf(assignments_.elfPath);
    QStringList notes;
    bool moved = false;
    for (int c = 0; c < kChannelCount; ++c) {
        const std::string& name = assignments_.variables[c];
        if (name.empty()) continue;
        const QString channelName = QStringLiteral("CH%1 %2").arg(c + 1).arg(QString::fromStdString(name));
        const auto entry = AssignableEntry(name);
        if (!entry) {
            if (!vanished_[c]) notes << QStringLiteral("%1 is no longer in %2").arg(channelName, file);
            SetVanished(c, true);
            continue;
        }
        SetVanished(c, false);
        const auto address = static_cast<uint32_t>(*index->Variable(*entry).address);
        const std::optional<uint32_t> known = knownAddresses_[c];
        if (std::exchange(presetChannels_[c], false) && known != address) {
            // The address given for this run wins; ondrix.ini keeps the variable for later runs.
            assignments_.variables[c].clear();
            knownAddresses_[c].reset();
            continue;
        }
        if (known == address) continue;
        if (known)
            notes << QStringLiteral("%1 moved from %2 to %3").arg(channelName, HexAddress(*known), HexAddress(address));
        else
            notes << QStringLiteral("%1 is at %2").arg(channelName, HexAddress(address));
        knownAddresses_[c] = address;
        PutAddress(c, address);
        moved = true;
    }
    if (moved && host_.running && host_.running()) notes << QStringLiteral("New addresses take effect at the next RUN");
    if (!notes.isEmpty() && host_.showStatus) host_.showStatus(notes.join(QStringLiteral("; ")));
}

void TFirmwareForm::SetVanished(int channel, bool vanished) {
    if (vanished_[channel] == vanished) return;
    vanished_[channel] = vanished;
    QLineEdit& title = host_.channels[channel]->Title;
    if (!vanished) {
        title.setPalette(titlePalettes_[channel]);
        title.setToolTip(titleHints_[channel]);
        return;
    }
    QPalette marked = titlePalettes_[channel];
    marked.setColor(QPalette::Base, kVanishedColour);
    // The channel's shade is made for light boxes and all but vanishes on the red.
    marked.setColor(QPalette::Text, kVanishedTextColour);
    title.setPalette(marked);
    title.setToolTip(QStringLiteral("%1 is no longer in %2")
                         .arg(QString::fromStdString(assignments_.variables[channel]), FileNameOf(assignments_.elfPath)));
}

// Typing another address means the channel is to show something else than its variable.
void TFirmwareForm::AddressEdited(int channel) {
    if (assignments_.variables[channel].empty()) return;
    const auto typed = BoxValue(host_.channels[channel]->Address);
    if (typed && typed == knownAddresses_[channel]) return;
    assignments_.variables[channel].clear();
    knownAddresses_[channel].reset();
    SetVanished(channel, false);
    SaveAssignments();
}

int TFirmwareForm::ChannelOf(QObject* watched) const {
    for (int c = 0; c < kChannelCount; ++c)
        if (host_.channels[c] == watched) return c;
    return -1;
}

bool TFirmwareForm::eventFilter(QObject* watched, QEvent* event) {
    const int channel = ChannelOf(watched);
    if (channel < 0) return QWidget::eventFilter(watched, event);
    switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            const QMimeData* mime = drag->mimeData();
            if (!mime || !mime->hasFormat(QString::fromLatin1(kVariableMimeType))) return false;
            if (!AssignableEntry(mime->data(QString::fromLatin1(kVariableMimeType)).toStdString())) return false;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QMimeData* mime = drop->mimeData();
            if (!mime || !mime->hasFormat(QString::fromLatin1(kVariableMimeType))) return false;
            if (!AssignPath(channel, mime->data(QString::fromLatin1(kVariableMimeType)).toStdString())) return false;
            drop->acceptProposedAction();
            return true;
        }
        default:
            return QWidget::eventFilter(watched, event);
    }
}

}  // namespace ondrix
