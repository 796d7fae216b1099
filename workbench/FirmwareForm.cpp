#include "workbench/FirmwareForm.h"

#include <sys/stat.h>

#include <QBrush>
#include <QColor>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QStringList>

#include <algorithm>
#include <utility>

#include "acquisition/ChannelAddress.h"
#include "firmware/VariableParts.h"
#include "workbench/ControlHint.h"

namespace ondrix {

namespace {

constexpr int kWindowWidth = 560;
constexpr int kWindowHeight = 480;
// A filter opens the rows holding its matches as long as the tree stays this short; longer
// would be more than anyone reads.
constexpr int kExpandedRows = 200;
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

// What became of a channel's variable in the file read last.
QString VanishedText(const std::string& name, const QString& file, const std::string& why) {
    if (why.empty()) return QStringLiteral("%1 is no longer in %2").arg(QString::fromStdString(name), file);
    return QStringLiteral("%1 in %2: %3").arg(QString::fromStdString(name), file, QString::fromStdString(why));
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
    filter_ = index_ ? index_->Filter("") : VariableFilter{};
    Rebuild();
    endResetModel();
}

size_t TVariableTreeModel::SetFilter(const std::string& text) {
    if (!index_) return 0;
    beginResetModel();
    filter_ = index_->Filter(text);
    Rebuild();
    endResetModel();
    return filter_.Blank() ? index_->Size() : filter_.Matches().size();
}

// The top level's rows are made at once: the view lays them all out anyway.
void TVariableTreeModel::Rebuild() {
    const std::vector<VariableFilter::Shown>& top = filter_.TopLevel();
    topCount_ = top.size();
    nodes_ = std::vector<Node>(topCount_);
    for (size_t row = 0; row < topCount_; ++row) {
        nodes_[row].row = static_cast<uint32_t>(row);
        nodes_[row].part = top[row].variable;
        nodes_[row].scope = top[row].scope;
    }
    children_ = {};
    variables_ = {};
}

TVariableTreeModel::Children& TVariableTreeModel::ChildrenOf(uint32_t node) const {
    if (nodes_[node].children == kNotYet) {
        Children children;
        if (!nodes_[node].more) {
            children.parts = index_->PartsShown(filter_, VariableOf(node), nodes_[node].scope, kMaxRows);
            children.rows =
                children.parts.leading + children.parts.listed.size() + (children.parts.unlisted > 0 ? 1 : 0);
        }
        nodes_[node].children = static_cast<uint32_t>(children_.size());
        children_.push_back(std::move(children));
    }
    return children_[nodes_[node].children];
}

uint32_t TVariableTreeModel::NodeAt(uint32_t parentNode, uint64_t row) const {
    Children& children = ChildrenOf(parentNode);
    if (children.nodes.empty()) children.nodes.assign(children.rows, kNotYet);
    if (children.nodes[row] != kNotYet) return children.nodes[row];
    const ShownParts& parts = children.parts;
    Node node;
    node.parent = parentNode;
    node.row = static_cast<uint32_t>(row);
    if (row < parts.leading) {
        node.part = row;
        node.scope = parts.override && parts.override->index == row ? parts.override->scope : parts.leadingScope;
    } else if (row - parts.leading < parts.listed.size()) {
        node.part = parts.listed[row - parts.leading].index;
        node.scope = parts.listed[row - parts.leading].scope;
    } else {
        node.more = true;
    }
    children.nodes[row] = static_cast<uint32_t>(nodes_.size());
    nodes_.push_back(node);
    return children.nodes[row];
}

std::optional<uint64_t> TVariableTreeModel::RowOfPart(const Children& children, uint64_t part) const {
    const ShownParts& parts = children.parts;
    if (part < parts.leading) return part;
    const auto listed =
        std::lower_bound(parts.listed.begin(), parts.listed.end(), part,
                         [](const ShownParts::Part& shown, uint64_t index) { return shown.index < index; });
    if (listed == parts.listed.end() || listed->index != part) return std::nullopt;
    return parts.leading + static_cast<uint64_t>(listed - parts.listed.begin());
}

FirmwareVariable TVariableTreeModel::VariableOf(uint32_t node) const {
    const auto cached = variables_.find(node);
    if (cached != variables_.end()) return cached->second;
    const Node& shown = nodes_[node];
    FirmwareVariable variable = shown.parent == kTop ? index_->Variable(shown.part)
                                                     : Part(index_->Symbols(), VariableOf(shown.parent), shown.part);
    if (variables_.size() >= kCachedVariables) variables_.clear();
    variables_.emplace(node, variable);
    return variable;
}

std::optional<FirmwareVariable> TVariableTreeModel::VariableAt(const QModelIndex& index) const {
    if (!index_ || !index.isValid() || nodes_[NodeOf(index)].more) return std::nullopt;
    return VariableOf(NodeOf(index));
}

QModelIndex TVariableTreeModel::IndexOf(const std::string& path) const {
    if (!index_) return {};
    const VariableLookup found = index_->Resolve(path);
    if (!found.variable) return {};
    const std::vector<VariableFilter::Shown>& top = filter_.TopLevel();
    const auto head = std::lower_bound(top.begin(), top.end(), *found.head,
                                       [](const VariableFilter::Shown& shown, size_t v) { return shown.variable < v; });
    if (head == top.end() || head->variable != *found.head) return {};
    auto node = static_cast<uint32_t>(head - top.begin());
    for (;;) {
        const FirmwareVariable shown = VariableOf(node);
        if (shown.path == found.variable->path) return createIndex(static_cast<int>(nodes_[node].row), 0, node);
        const std::optional<uint64_t> part = index_->PartToward(shown, found.variable->path);
        const std::optional<uint64_t> row = part ? RowOfPart(ChildrenOf(node), *part) : std::nullopt;
        if (!row) return {};
        node = NodeAt(node, *row);
    }
}

bool TVariableTreeModel::LeadsToMatches(const QModelIndex& index) const {
    if (!index_ || !index.isValid()) return false;
    const Node& node = nodes_[NodeOf(index)];
    return !node.more && (!node.scope.Everything() || node.scope.pathStep != FilterScope::kOffPath);
}

QModelIndex TVariableTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (!index_ || row < 0 || column < 0 || column >= ColumnCount || parent.column() > 0) return {};
    if (!parent.isValid())
        return static_cast<size_t>(row) < topCount_ ? createIndex(row, column, static_cast<quintptr>(row))
                                                    : QModelIndex();
    const uint32_t parentNode = NodeOf(parent);
    if (static_cast<uint64_t>(row) >= ChildrenOf(parentNode).rows) return {};
    return createIndex(row, column, static_cast<quintptr>(NodeAt(parentNode, static_cast<uint64_t>(row))));
}

QModelIndex TVariableTreeModel::parent(const QModelIndex& child) const {
    if (!index_ || !child.isValid()) return {};
    const uint32_t parentNode = nodes_[NodeOf(child)].parent;
    if (parentNode == kTop) return {};
    return createIndex(static_cast<int>(nodes_[parentNode].row), 0, static_cast<quintptr>(parentNode));
}

int TVariableTreeModel::rowCount(const QModelIndex& parent) const {
    if (!index_ || parent.column() > 0) return 0;
    if (!parent.isValid()) return static_cast<int>(topCount_);
    return static_cast<int>(ChildrenOf(NodeOf(parent)).rows);
}

// Asked for every row the view shows. Where the filter tells elements apart by index, what
// lies below a row leading to matches is worked out when it is opened: looking at each element
// of an array for every row in sight would hold the window up.
bool TVariableTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!index_ || parent.column() > 0) return false;
    if (!parent.isValid()) return topCount_ > 0;
    const uint32_t id = NodeOf(parent);
    const Node& node = nodes_[id];
    if (node.more) return false;
    if (node.scope.Everything() && node.scope.pathStep == FilterScope::kOffPath && node.children == kNotYet) {
        if (node.parent == kTop) return PartCount(index_->Symbols(), index_->Variable(node.part)) > 0;
        return PartCount(index_->Symbols(), VariableOf(id)) > 0;
    }
    if (node.children == kNotYet && filter_.IndexWords()) return true;
    return ChildrenOf(id).rows > 0;
}

int TVariableTreeModel::columnCount(const QModelIndex&) const { return ColumnCount; }

// The row standing for the parts past those shown: how many, and how to reach one.
QVariant TVariableTreeModel::MoreData(uint32_t node, int column, int role) const {
    const uint32_t parentNode = nodes_[node].parent;
    const ShownParts& parts = ChildrenOf(parentNode).parts;
    const FirmwareVariable whole = VariableOf(parentNode);
    const uint64_t count = PartCount(index_->Symbols(), whole);
    const bool elements = whole.kind == VariableKind::Array;
    const QString example = QString::fromStdString(Part(index_->Symbols(), whole, count - parts.unlisted).path);
    switch (role) {
        case Qt::DisplayRole:
            if (column != NameColumn) return {};
            return QStringLiteral("%L1 more %2").arg(parts.unlisted).arg(elements ? "elements" : "members");
        case Qt::ToolTipRole:
            return QStringLiteral("%L1 more %2 not listed: type a path such as %3 into the filter to reach one")
                .arg(parts.unlisted)
                .arg(elements ? "elements" : "members", example);
        case Qt::ForegroundRole:
            return QBrush(QColor(Qt::gray));
        default:
            return {};
    }
}

QVariant TVariableTreeModel::data(const QModelIndex& index, int role) const {
    if (!index_ || !index.isValid()) return {};
    const uint32_t node = NodeOf(index);
    if (nodes_[node].more) return MoreData(node, index.column(), role);
    const FirmwareVariable variable = VariableOf(node);
    const std::string refusal = NotAssignableReason(variable);
    const std::string warning = WidthWarning(variable);
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case NameColumn: {
                    if (nodes_[node].parent == kTop) return QString::fromStdString(variable.path);
                    const size_t start = LastComponentStart(variable.path);
                    return QString::fromStdString(
                        variable.path.substr(variable.path[start] == '.' ? start + 1 : start));
                }
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
    if (nodes_[NodeOf(index)].more) return Qt::ItemIsEnabled;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (NotAssignableReason(VariableOf(NodeOf(index))).empty()) flags |= Qt::ItemIsDragEnabled;
    return flags;
}

QStringList TVariableTreeModel::mimeTypes() const { return {QString::fromLatin1(kVariableMimeType)}; }

QMimeData* TVariableTreeModel::mimeData(const QModelIndexList& indexes) const {
    const std::optional<FirmwareVariable> variable = indexes.isEmpty() ? std::nullopt : VariableAt(indexes.front());
    if (!variable) return nullptr;
    auto mime = std::make_unique<QMimeData>();
    mime->setData(QString::fromLatin1(kVariableMimeType), QByteArray::fromStdString(variable->path));
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
    SetHint(FilterBox, QStringLiteral("Show the variables whose names, or their members' names, hold every word "
                                      "typed; or type a path such as motor[12].speed"));
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
                read.index = std::make_shared<const FirmwareVariableIndex>(ReadFirmwareSymbols(path));
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
    ShowVariables(std::move(read.index));
}

void TFirmwareForm::ShowVariables(std::shared_ptr<const FirmwareVariableIndex> index) {
    Model.SetIndex(std::move(index));
    FilterChanged();
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
    const size_t matches = Model.SetFilter(FilterBox.text().toStdString());
    ExpandMatches();
    ShowCount(matches);
}

// Breadth first, so that when the rows run out it is the deeper matches that stay closed.
void TFirmwareForm::ExpandMatches() {
    if (FilterBox.text().trimmed().isEmpty()) return;
    const int top = Model.rowCount();
    if (top > kExpandedRows) return;
    int rows = top;
    std::vector<QModelIndex> level;
    for (int row = 0; row < top; ++row) level.push_back(Model.index(row, 0));
    while (!level.empty()) {
        std::vector<QModelIndex> next;
        for (const QModelIndex& shown : level) {
            if (!Model.LeadsToMatches(shown)) continue;
            const int parts = Model.rowCount(shown);
            if (rows + parts > kExpandedRows) continue;
            rows += parts;
            Tree.expand(shown);
            for (int row = 0; row < parts; ++row) next.push_back(Model.index(row, 0, shown));
        }
        level = std::move(next);
    }
}

void TFirmwareForm::ShowCount(size_t matches) {
    const FirmwareVariableIndex* index = Model.Index();
    const size_t all = index ? index->Size() : 0;
    QString text = FilterBox.text().trimmed().isEmpty() || matches == all
                       ? QStringLiteral("%1 variables").arg(all)
                       : QStringLiteral("%1 of %2 variables match").arg(matches).arg(all);
    QStringList notes;
    if (index) {
        if (!index->Symbols().fromDebugInfo) text += QStringLiteral(" (no debug information: names and sizes only)");
        for (const std::string& note : index->Symbols().notes) notes << QString::fromStdString(note);
    }
    // A note may name a long path: the line says there is one, its tool tip says what.
    if (notes.size() == 1) text += QStringLiteral("; a note: point here to read it");
    else if (notes.size() > 1) text += QStringLiteral("; %1 notes: point here to read them").arg(notes.size());
    CountLabel.setText(text);
    CountLabel.setToolTip(notes.join(QLatin1Char('\n')));
}

void TFirmwareForm::DoubleClicked(const QModelIndex& index) {
    const std::optional<FirmwareVariable> variable = Model.VariableAt(index);
    if (!variable) return;
    if (!Assign(ChannelChoice.currentIndex(), *variable))
        CountLabel.setText(QString::fromStdString(variable->path + ": " + NotAssignableReason(*variable)));
}

// ---- Channels ----------------------------------------------------------------------------

std::optional<FirmwareVariable> TFirmwareForm::AssignableVariable(const std::string& path) const {
    const FirmwareVariableIndex* index = Model.Index();
    if (!index) return std::nullopt;
    std::optional<FirmwareVariable> variable = index->Resolve(path).variable;
    if (!variable || !NotAssignableReason(*variable).empty()) return std::nullopt;
    return variable;
}

bool TFirmwareForm::Assign(int channel, const FirmwareVariable& variable) {
    if (!Model.Index() || channel < 0 || channel >= kChannelCount) return false;
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
    const std::optional<FirmwareVariable> variable = AssignableVariable(path);
    return variable && Assign(channel, *variable);
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
        const VariableLookup found = index->Resolve(name);
        const std::string why = found.variable ? NotAssignableReason(*found.variable) : found.error;
        if (!found.variable || !why.empty()) {
            if (!vanished_[c]) notes << VanishedText(name, file, why).prepend(QStringLiteral("CH%1 ").arg(c + 1));
            SetVanished(c, true, why);
            continue;
        }
        SetVanished(c, false);
        const auto address = static_cast<uint32_t>(*found.variable->address);
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

void TFirmwareForm::SetVanished(int channel, bool vanished, const std::string& why) {
    QLineEdit& title = host_.channels[channel]->Title;
    if (!vanished) {
        if (!std::exchange(vanished_[channel], false)) return;
        title.setPalette(titlePalettes_[channel]);
        title.setToolTip(titleHints_[channel]);
        return;
    }
    vanished_[channel] = true;
    QPalette marked = titlePalettes_[channel];
    marked.setColor(QPalette::Base, kVanishedColour);
    // The channel's shade is made for light boxes and all but vanishes on the red.
    marked.setColor(QPalette::Text, kVanishedTextColour);
    title.setPalette(marked);
    title.setToolTip(VanishedText(assignments_.variables[channel], FileNameOf(assignments_.elfPath), why));
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
            if (!AssignableVariable(mime->data(QString::fromLatin1(kVariableMimeType)).toStdString())) return false;
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
