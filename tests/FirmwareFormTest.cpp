// The "Firmware Variables" window on the main window, headless: firmware files are compiled
// from small C sources with the host's C compiler while the tests run.

#include <gtest/gtest.h>

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QProcess>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "Bytes.h"
#include "MainWindowRig.h"
#include "firmware/FirmwareSymbols.h"
#include "firmware/FirmwareVariableIndex.h"
#include "workbench/FirmwareForm.h"
#include "workbench/LegibleColour.h"

namespace ondrix {
namespace {

const char* const kFirstBuild =
    "#include <stdint.h>\n"
    "int16_t sine = 1;\n"
    "int16_t cosine = 2;\n"
    "int32_t wide = 3;\n"
    "struct Flags { unsigned ready : 3; unsigned mode : 5; int16_t level; } flags = {1, 2, 3};\n"
    "int16_t a_rather_long_name = 4;\n"
    "struct Axis { int16_t speed; int16_t position; } axes[1000] = {{5, 6}};\n";
// The same variables behind a new one: each has moved.
const char* const kMovedBuild =
    "#include <stdint.h>\n"
    "int16_t added[8] = {1};\n"
    "int16_t sine = 1;\n"
    "int16_t cosine = 2;\n"
    "int32_t wide = 3;\n"
    "struct Flags { unsigned ready : 3; unsigned mode : 5; int16_t level; } flags = {1, 2, 3};\n"
    "int16_t a_rather_long_name = 4;\n"
    "struct Axis { int16_t speed; int16_t position; } axes[1000] = {{5, 6}};\n";
// "cosine" renamed.
const char* const kRenamedBuild =
    "#include <stdint.h>\n"
    "int16_t sine = 1;\n"
    "int16_t cosine_table = 2;\n";

// Compiles `source` into `elf`, replacing the file in one step as a linker does.
void Build(const std::filesystem::path& elf, const std::string& source, const QStringList& options = {}) {
    const std::filesystem::path c = elf.string() + ".c";
    const std::filesystem::path partial = elf.string() + ".partial";
    std::ofstream(c) << source;
    QProcess compiler;
    compiler.setProcessChannelMode(QProcess::MergedChannels);
    compiler.start(ONDRIX_HOST_C_COMPILER,
                   QStringList{"-g", "-O0", "-fno-toplevel-reorder", "-nostdlib", "-static", "-no-pie", "-Wl,-e,0"} +
                       options +
                       QStringList{"-o", QString::fromStdString(partial.string()), QString::fromStdString(c.string())});
    ASSERT_TRUE(compiler.waitForFinished(60000)) << compiler.errorString().toStdString();
    ASSERT_EQ(compiler.exitCode(), 0) << compiler.readAll().toStdString();
    std::filesystem::rename(partial, elf);
}

uint32_t AddressOf(const std::filesystem::path& elf, const std::string& path) {
    const VariableLookup found = FirmwareVariableIndex(ReadFirmwareSymbols(elf.string())).Resolve(path);
    if (found.variable && found.variable->address) return static_cast<uint32_t>(*found.variable->address);
    ADD_FAILURE() << path << " is not in " << elf << ": " << found.error;
    return 0;
}

QString BoxText(uint32_t address) { return QStringLiteral("%1").arg(address, 8, 16, QLatin1Char('0')).toUpper(); }

// Sends a drag of `mime` over a channel's group and drops it there; true when the group took it.
bool DropOn(QWidget& target, const QMimeData& mime) {
    const QPoint centre = target.rect().center();
    QDragEnterEvent enter(centre, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &enter);
    if (!enter.isAccepted()) return false;
    QDropEvent drop(QPointF(centre), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&target, &drop);
    return drop.isAccepted();
}

class FirmwareFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        Build(Elf(), kFirstBuild);
        window_ = std::make_unique<test::MainWindow>(
            test::WindowSetup(noPorts_.String()).WithoutPresetAddresses().WithSettingsIn(settings_.String()));
        ASSERT_TRUE(Open());
    }

    std::filesystem::path Elf() const { return firmware_.Path() / "firmware.elf"; }
    test::MainWindow& Window() { return *window_; }
    TFirmwareForm& Form() { return window_->form.FirmwareVariables(); }
    TChannelGroupBox& Channel(int channel) { return window_->form.ChannelBoxes[channel]; }

    // The file chosen with "Open ELF..." and read.
    bool Open() {
        window_->dialogs.answers.push_back(Elf().string());
        Form().OpenClick();
        return window_->WaitForFiles() && Form().Index() != nullptr;
    }
    QModelIndex Shown(const std::string& path) { return Form().Model.IndexOf(path); }
    bool WaitForAddress(int channel, uint32_t address) {
        return QTest::qWaitFor([&] { return window_->form.ChannelAddress(channel) == address; }, 10000);
    }

    test::TemporaryFolder noPorts_;
    test::TemporaryFolder settings_;
    test::TemporaryFolder firmware_;
    std::unique_ptr<test::MainWindow> window_;
};

TEST_F(FirmwareFormTest, SetupMenuOpensTheWindow) {
    const QList<QAction*> items = Window().form.MainMenu1.Setup.actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[0]->text(), QStringLiteral("Communication Setup"));
    EXPECT_EQ(items[1]->text(), QStringLiteral("Firmware Variables..."));
    items[1]->trigger();
    EXPECT_TRUE(Form().isVisible());
    EXPECT_EQ(Form().windowTitle(), QStringLiteral("Firmware Variables"));
    ASSERT_EQ(Window().dialogs.openRequests.size(), 1u);
    EXPECT_EQ(Window().dialogs.openRequests[0].filter, "ELF files (*.elf *.axf *.out);;All files (*)");
    EXPECT_EQ(Form().FileLabel.text().toStdString(), Elf().string());
}

TEST_F(FirmwareFormTest, DoubleClickPutsTheVariableOnTheChosenChannel) {
    Form().ShowWindow();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&Form()));
    Form().ChannelChoice.setCurrentIndex(2);
    const QModelIndex item = Shown("a_rather_long_name");
    ASSERT_TRUE(item.isValid());
    Form().Tree.scrollTo(item);
    const QRect place = Form().Tree.visualRect(item);
    ASSERT_FALSE(place.isEmpty());
    // A real double click begins with a click.
    QTest::mouseClick(Form().Tree.viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
    QTest::mouseDClick(Form().Tree.viewport(), Qt::LeftButton, Qt::NoModifier, place.center());

    const uint32_t address = AddressOf(Elf(), "a_rather_long_name");
    EXPECT_EQ(Channel(2).Address.text(), BoxText(address));
    EXPECT_EQ(Window().form.ChannelAddress(2), address) << "taken as when the user leaves the box";
    EXPECT_EQ(Channel(2).Title.text(), QStringLiteral("a_rather_l"));
    EXPECT_EQ(Form().Assignments().variables[2], "a_rather_long_name");
}

TEST_F(FirmwareFormTest, DroppingOnAChannelGroupPutsTheVariableThere) {
    const std::unique_ptr<QMimeData> sine(Form().Model.mimeData({Shown("sine")}));
    ASSERT_TRUE(sine);
    EXPECT_TRUE(DropOn(Channel(1), *sine));
    EXPECT_EQ(Window().form.ChannelAddress(1), AddressOf(Elf(), "sine"));
    EXPECT_EQ(Channel(1).Title.text(), QStringLiteral("sine"));

    // What cannot be watched is not taken: a name this file does not have, and foreign data.
    const uint32_t before = Window().form.ChannelAddress(3);
    QMimeData unknown;
    unknown.setData(kVariableMimeType, "no_such_variable");
    QMimeData text;
    text.setText(QStringLiteral("sine"));
    for (const QMimeData* refused : {&unknown, &text}) {
        EXPECT_FALSE(DropOn(Channel(3), *refused));
        EXPECT_EQ(Window().form.ChannelAddress(3), before);
        EXPECT_EQ(Channel(3).Title.text(), QStringLiteral("CH4"));
    }
}

TEST_F(FirmwareFormTest, FilterNarrowsTheTree) {
    const struct {
        QString text;
        std::vector<QString> topRows;
        QString count;
    } cases[] = {
        {QStringLiteral("SINE"), {QStringLiteral("sine"), QStringLiteral("cosine")}, QStringLiteral("2 of")},
        {QStringLiteral("flags mode"), {QStringLiteral("flags")}, QStringLiteral("1 of")},
        {QStringLiteral("nothing like it"), {}, QStringLiteral("0 of")},
    };
    for (const auto& c : cases) {
        Form().FilterBox.setText(c.text);
        std::vector<QString> rows;
        for (int row = 0; row < Form().Model.rowCount(); ++row)
            rows.push_back(Form().Model.index(row, TVariableTreeModel::NameColumn).data().toString());
        EXPECT_EQ(rows, c.topRows) << c.text.toStdString();
        EXPECT_TRUE(Form().CountLabel.text().startsWith(c.count)) << Form().CountLabel.text().toStdString();
    }
    // The member matched is shown under its struct.
    Form().FilterBox.setText(QStringLiteral("flags mode"));
    const QModelIndex flags = Form().Model.index(0, 0);
    ASSERT_EQ(Form().Model.rowCount(flags), 1);
    EXPECT_EQ(Form().Model.index(0, 0, flags).data().toString(), QStringLiteral("mode"));
    Form().FilterBox.clear();
    EXPECT_EQ(Form().Model.rowCount(), 6);
}

TEST_F(FirmwareFormTest, WhatIsNotOneSixteenBitWordIsMarked) {
    const struct {
        std::string path;
        QString tip;  // empty: no mark
        QString size;
    } cases[] = {
        {"sine", "", "2"},
        {"wide", "not 16 bits", "4"},
        {"flags.ready", "bit field", "3 bits"},
        {"flags.level", "", "2"},
        {"axes[999].position", "", "2"},
    };
    for (const auto& c : cases) {
        const QModelIndex name = Shown(c.path);
        ASSERT_TRUE(name.isValid()) << c.path;
        const QString tip = name.data(Qt::ToolTipRole).toString();
        const bool greyed = name.data(Qt::ForegroundRole).isValid();
        EXPECT_EQ(greyed, !c.tip.isEmpty()) << c.path;
        EXPECT_TRUE(tip.contains(c.tip)) << c.path << ": " << tip.toStdString();
        EXPECT_EQ(name.siblingAtColumn(TVariableTreeModel::SizeColumn).data().toString(), c.size) << c.path;
        EXPECT_EQ(name.siblingAtColumn(TVariableTreeModel::AddressColumn).data().toString(),
                  QStringLiteral("0x") + BoxText(AddressOf(Elf(), c.path)))
            << c.path;
    }
}

TEST_F(FirmwareFormTest, RebuiltFileMovesTheAddressesAndSaysSo) {
    ASSERT_TRUE(Form().AssignPath(0, "sine"));
    ASSERT_TRUE(Form().AssignPath(1, "cosine"));
    const uint32_t oldSine = AddressOf(Elf(), "sine");

    Build(Elf(), kMovedBuild);
    const uint32_t newSine = AddressOf(Elf(), "sine");
    const uint32_t newCosine = AddressOf(Elf(), "cosine");
    ASSERT_NE(newSine, oldSine);
    ASSERT_TRUE(WaitForAddress(0, newSine));
    ASSERT_TRUE(WaitForAddress(1, newCosine));
    EXPECT_EQ(Channel(0).Address.text(), BoxText(newSine));
    const QString status = Window().form.StatusBar1.HintPanel.text();
    EXPECT_TRUE(status.contains(QStringLiteral("CH1 sine moved from 0x%1 to 0x%2").arg(BoxText(oldSine), BoxText(newSine))))
        << status.toStdString();
    EXPECT_TRUE(status.contains(QStringLiteral("CH2 cosine moved"))) << status.toStdString();
    EXPECT_FALSE(status.contains(QStringLiteral("next RUN"))) << "nothing runs";
    EXPECT_EQ(Channel(0).Title.text(), QStringLiteral("sine"));

    // Rebuilt once more: the watch holds on to the file that replaced the first.
    Build(Elf(), kFirstBuild);
    EXPECT_TRUE(WaitForAddress(0, oldSine));
}

TEST_F(FirmwareFormTest, VanishedNameIsFlaggedOnItsChannel) {
    ASSERT_TRUE(Form().AssignPath(0, "sine"));
    ASSERT_TRUE(Form().AssignPath(1, "cosine"));
    const uint32_t cosine = Window().form.ChannelAddress(1);

    Build(Elf(), kRenamedBuild);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form().Vanished(1); }, 10000));
    EXPECT_FALSE(Form().Vanished(0));
    EXPECT_EQ(Channel(1).Title.toolTip(), QStringLiteral("cosine is no longer in firmware.elf"));
    EXPECT_EQ(Channel(1).Title.palette().color(QPalette::Base), QColor(Qt::red));
    EXPECT_GE(ContrastRatio(Channel(1).Title.palette().color(QPalette::Text), QColor(Qt::red)), kLegibleContrast)
        << "the title stays readable on the mark";
    EXPECT_EQ(Window().form.ChannelAddress(1), cosine) << "the last known address stays";
    EXPECT_EQ(Form().Assignments().variables[1], "cosine") << "the name is kept for a later build";

    // Back in the next build: the flag goes.
    Build(Elf(), kFirstBuild);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Form().Vanished(1); }, 10000));
    EXPECT_EQ(Channel(1).Title.toolTip(), QStringLiteral("Channel 2 Title"));
}

TEST_F(FirmwareFormTest, TypingAnotherAddressLetsTheVariableGo) {
    ASSERT_TRUE(Form().AssignPath(0, "sine"));
    Channel(0).Address.setFocus();
    Channel(0).Address.selectAll();
    QTest::keyClicks(&Channel(0).Address, "20000000");
    EXPECT_EQ(Form().Assignments().variables[0], "");
    ASSERT_TRUE(Window().WaitForFiles());

    const FirmwareVariableIndex* before = Form().Index();
    Build(Elf(), kMovedBuild);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form().Index() != before; }, 10000)) << "the rebuild was read";
    EXPECT_EQ(Channel(0).Address.text(), QStringLiteral("20000000"));
    EXPECT_FALSE(Form().Vanished(0));
}

TEST_F(FirmwareFormTest, AssignmentsAndFileAreKeptInOndrixIni) {
    ASSERT_TRUE(Form().AssignPath(0, "sine"));
    ASSERT_TRUE(Form().AssignPath(2, "axes[700].speed"));
    ASSERT_TRUE(Form().AssignPath(3, "flags.level"));
    ASSERT_TRUE(Window().WaitForFiles());
    const std::string ini = test::ReadText((settings_.Path() / "ondrix.ini").string());
    EXPECT_NE(ini.find("firmware.elf = " + Elf().string() + "\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("firmware.ch1 = sine\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("firmware.ch3 = axes[700].speed\n"), std::string::npos) << ini;
    EXPECT_NE(ini.find("firmware.ch4 = flags.level\n"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("firmware.ch2"), std::string::npos) << ini;

    // The next start, after a rebuild while the scope was closed: the names find their new places.
    window_.reset();
    Build(Elf(), kMovedBuild);
    window_ = std::make_unique<test::MainWindow>(
        test::WindowSetup(noPorts_.String()).WithoutPresetAddresses().WithSettingsIn(settings_.String()));
    ASSERT_TRUE(Window().WaitForFiles());
    EXPECT_EQ(Form().Assignments().elfPath, Elf().string());
    EXPECT_EQ(Form().Assignments().variables[0], "sine");
    EXPECT_EQ(Form().Assignments().variables[2], "axes[700].speed");
    EXPECT_EQ(Form().Assignments().variables[3], "flags.level");
    EXPECT_TRUE(WaitForAddress(0, AddressOf(Elf(), "sine")));
    EXPECT_TRUE(WaitForAddress(2, AddressOf(Elf(), "axes[700].speed")));
    EXPECT_TRUE(WaitForAddress(3, AddressOf(Elf(), "flags.level")));
    EXPECT_TRUE(Window().notifier.messages.empty());
}

// Addresses given on the command line are for that run: they win over a stored variable that is
// elsewhere, and ondrix.ini keeps the variable for the runs after.
TEST_F(FirmwareFormTest, CommandLineAddressesWinForTheirRun) {
    ASSERT_TRUE(Form().AssignPath(0, "sine"));
    ASSERT_TRUE(Window().WaitForFiles());
    window_.reset();
    window_ = std::make_unique<test::MainWindow>(test::WindowSetup(noPorts_.String()).WithSettingsIn(settings_.String()));
    ASSERT_TRUE(Window().WaitForFiles());
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form().Index() != nullptr; }, 10000));
    EXPECT_EQ(Window().form.ChannelAddress(0), kDemoAddresses[0]);
    EXPECT_EQ(Form().Assignments().variables[0], "");
    EXPECT_NE(test::ReadText((settings_.Path() / "ondrix.ini").string()).find("firmware.ch1 = sine\n"), std::string::npos);
}

TEST_F(FirmwareFormTest, VariablesWithoutAUsableAddressCannotBePutOnAChannel) {
    const auto variable = [](std::string path, std::optional<uint64_t> address) {
        FirmwareVariable v;
        v.path = std::move(path);
        v.address = address;
        v.byteSize = 2;
        v.kind = VariableKind::SignedInteger;
        return v;
    };
    const struct {
        FirmwareVariable variable;
        std::string refusal;  // empty: it can go on a channel
    } cases[] = {
        {variable("in_register", std::nullopt), "no fixed address"},
        {variable("high_memory", uint64_t{0x100000000}), "beyond the 32-bit addresses a channel can watch"},
        {variable("top_word", uint64_t{0xFFFFFFFE}), ""},
    };
    FirmwareSymbols symbols;
    for (const auto& c : cases) symbols.variables.push_back(c.variable);
    Form().Model.SetIndex(std::make_shared<const FirmwareVariableIndex>(std::move(symbols)));
    for (const auto& c : cases) {
        const std::string& path = c.variable.path;
        EXPECT_EQ(NotAssignableReason(c.variable), c.refusal) << path;
        EXPECT_EQ(Form().Model.flags(Shown(path)).testFlag(Qt::ItemIsDragEnabled), c.refusal.empty()) << path;
        EXPECT_EQ(Form().AssignPath(2, path), c.refusal.empty()) << path;
    }
    EXPECT_EQ(Window().form.ChannelAddress(2), 0xFFFFFFFEu);
}

TEST(FirmwareFormStartTest, WithoutOndrixIniTheWindowStartsEmpty) {
    test::TemporaryFolder noPorts, settings;
    test::MainWindow window(
        test::WindowSetup(noPorts.String()).WithoutPresetAddresses().WithSettingsIn(settings.String()));
    ASSERT_TRUE(window.WaitForFiles());
    TFirmwareForm& form = window.form.FirmwareVariables();
    EXPECT_EQ(form.Assignments(), FirmwareAssignments{});
    EXPECT_EQ(form.Index(), nullptr);
    EXPECT_EQ(form.Model.rowCount(), 0);
    EXPECT_TRUE(window.notifier.messages.empty());
    EXPECT_FALSE(std::filesystem::exists(settings.Path() / "ondrix.ini")) << "nothing changed, nothing written";
}

TEST(FirmwareFormStartTest, UnreadableFileIsReported) {
    test::TemporaryFolder noPorts, settings, firmware;
    const std::filesystem::path notElf = firmware.Path() / "notes.elf";
    std::ofstream(notElf) << "not a firmware file";
    // Neither debug information nor symbols: nothing to name a variable by.
    const std::filesystem::path stripped = firmware.Path() / "stripped.elf";
    Build(stripped, kFirstBuild, {"-g0", "-s"});
    test::MainWindow window(
        test::WindowSetup(noPorts.String()).WithoutPresetAddresses().WithSettingsIn(settings.String()));
    for (const std::filesystem::path& file : {notElf, firmware.Path() / "missing.elf", stripped}) {
        window.notifier.Clear();
        window.dialogs.answers.push_back(file.string());
        window.form.FirmwareVariables().OpenClick();
        ASSERT_TRUE(window.WaitForFiles());
        ASSERT_EQ(window.notifier.messages.size(), 1u) << file;
        EXPECT_NE(window.notifier.messages[0].find(file.filename().string()), std::string::npos)
            << window.notifier.messages[0];
    }
}

// The window alone, on a running acquisition: its channels' groups and status line stand on
// their own.
TEST(FirmwareFormRunningTest, MovedAddressesWaitForTheNextRun) {
    test::TemporaryFolder settings, firmware;
    const std::filesystem::path elf = firmware.Path() / "firmware.elf";
    Build(elf, kFirstBuild);
    QWidget panel;
    std::vector<std::unique_ptr<TChannelGroupBox>> boxes;
    TFirmwareHost host;
    std::vector<int> exits(kChannelCount, 0);
    for (int c = 0; c < kChannelCount; ++c) {
        boxes.push_back(std::make_unique<TChannelGroupBox>(c + 1, clRed, &panel));
        host.channels[c] = boxes.back().get();
        boxes.back()->OnAddressExit = [&exits, c] { ++exits[c]; };
    }
    QString status;
    host.running = [] { return true; };
    host.showStatus = [&status](const QString& text) { status = text; };
    RecordingNotifier notifier;
    test::ScriptedFileDialogs dialogs;
    TFileJobs jobs;
    TFirmwareForm form(jobs, notifier, dialogs, SettingsLocation{settings.String(), ""}, std::move(host), nullptr);
    form.OpenFile(elf.string());
    ASSERT_TRUE(QTest::qWaitFor([&] { return jobs.Pending() == 0 && form.Index() != nullptr; }, 10000));
    ASSERT_TRUE(form.AssignPath(0, "sine"));
    EXPECT_EQ(exits[0], 1) << "the address is taken as when the box is left";

    Build(elf, kMovedBuild);
    ASSERT_TRUE(QTest::qWaitFor([&] { return status.contains(QStringLiteral("next RUN")); }, 10000));
    EXPECT_TRUE(status.startsWith(QStringLiteral("CH1 sine moved from"))) << status.toStdString();
    EXPECT_TRUE(status.endsWith(QStringLiteral("New addresses take effect at the next RUN"))) << status.toStdString();
    EXPECT_EQ(boxes[0]->Address.text(), BoxText(AddressOf(elf, "sine")));
    EXPECT_EQ(exits[0], 2);
    EXPECT_TRUE(notifier.messages.empty());
}

// ---- The tree, on firmware written by hand: large types need no compiler -------------------

// A firmware's variables and types as the reader gives them.
class HandWrittenFirmware {
public:
    HandWrittenFirmware() {
        symbols.fromDebugInfo = true;
        int16 = Add({"int16_t", VariableKind::SignedInteger, 2, {}, kNoType, 0, 0});
        const TypeRef phase =
            Add({"struct phase", VariableKind::Struct, 4, {{"a", 0, int16}, {"b", 2, int16}}, kNoType, 0, 0});
        const TypeRef phases = Add({"struct phase[3]", VariableKind::Array, 12, {}, phase, 3, 4});
        axis =
            Add({"struct axis", VariableKind::Struct, 14, {{"speed", 0, int16}, {"phase", 2, phases}}, kNoType, 0, 0});
    }
    TypeRef Axes(uint64_t count) {
        return Add(
            {"struct axis[" + std::to_string(count) + "]", VariableKind::Array, 14 * count, {}, axis, count, 14});
    }
    void Variable(std::string path, uint64_t address, TypeRef type, std::string sourceFile = {}) {
        const FirmwareType& described = symbols.types[type];
        symbols.variables.push_back({std::move(path), address, described.byteSize, described.name, described.kind, 0, 0,
                                     type, std::move(sourceFile)});
    }
    std::shared_ptr<const FirmwareVariableIndex> Index() {
        return std::make_shared<const FirmwareVariableIndex>(FirmwareSymbols(symbols));
    }

    FirmwareSymbols symbols;
    TypeRef int16 = kNoType;
    TypeRef axis = kNoType;

private:
    TypeRef Add(FirmwareType type) {
        symbols.types.push_back(std::move(type));
        return static_cast<TypeRef>(symbols.types.size() - 1);
    }
};

// The window alone, shown, on firmware written by hand.
class FirmwareTreeTest : public ::testing::Test {
protected:
    void SetUp() override {
        TFirmwareHost host;
        for (int c = 0; c < kChannelCount; ++c) {
            boxes_.push_back(std::make_unique<TChannelGroupBox>(c + 1, clRed, &panel_));
            host.channels[c] = boxes_.back().get();
        }
        host.showStatus = [this](const QString& text) { status_ = text; };
        form_ = std::make_unique<TFirmwareForm>(jobs_, notifier_, dialogs_, SettingsLocation{settings_.String(), ""},
                                                std::move(host), nullptr);
        firmware_.Variable("sine", 0x20000000, firmware_.int16);
        firmware_.Variable("axes", 0x20000010, firmware_.Axes(10000));
        firmware_.Variable("big", 0x10000000, firmware_.Axes(4000000000));
        firmware_.Variable("counter", 0x20030000, firmware_.int16, "motor.c");
        firmware_.Variable("counter", 0x20030010, firmware_.int16, "speed.c");
        form_->ShowWindow();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form_.get()));
    }
    void TearDown() override { ASSERT_TRUE(QTest::qWaitFor([&] { return jobs_.Pending() == 0; }, 10000)); }

    TFirmwareForm& Form() { return *form_; }
    TVariableTreeModel& Model() { return form_->Model; }
    QString Name(const QModelIndex& index) {
        return index.siblingAtColumn(TVariableTreeModel::NameColumn).data().toString();
    }
    std::vector<QString> TopRows() {
        std::vector<QString> rows;
        for (int row = 0; row < Model().rowCount(); ++row) rows.push_back(Name(Model().index(row, 0)));
        return rows;
    }
    // The row is in sight once scrolled to: every row above it is open.
    bool Reachable(const QModelIndex& index) {
        for (QModelIndex above = index.parent(); above.isValid(); above = above.parent())
            if (!Form().Tree.isExpanded(above)) return false;
        return index.isValid();
    }

    test::TemporaryFolder settings_;
    QWidget panel_;
    std::vector<std::unique_ptr<TChannelGroupBox>> boxes_;
    RecordingNotifier notifier_;
    test::ScriptedFileDialogs dialogs_;
    TFileJobs jobs_;
    HandWrittenFirmware firmware_;
    QString status_;
    std::unique_ptr<TFirmwareForm> form_;
};

TEST_F(FirmwareTreeTest, ArraysOpenRowByRow) {
    Form().ShowVariables(firmware_.Index());
    const QModelIndex axes = Model().IndexOf("axes");
    ASSERT_TRUE(axes.isValid());
    EXPECT_EQ(Model().rowCount(axes), 10000);
    EXPECT_EQ(Model().RowsMade(), 0u) << "nothing below a closed row is made";

    Form().Tree.expand(axes);
    QApplication::processEvents();
    // The elements' rows, none of their members' (120,000 paths in all).
    EXPECT_GT(Model().RowsMade(), 0u);
    EXPECT_LE(Model().RowsMade(), 10000u);
    const QModelIndex last = Model().index(9999, 0, axes);
    EXPECT_EQ(Name(last), QStringLiteral("[9999]"));
    EXPECT_EQ(last.siblingAtColumn(TVariableTreeModel::AddressColumn).data().toString(),
              QStringLiteral("0x") + BoxText(0x20000010 + 9999 * 14));

    Form().Tree.expand(last);
    QApplication::processEvents();
    ASSERT_EQ(Model().rowCount(last), 2);
    EXPECT_EQ(Name(Model().index(1, 0, last)), QStringLiteral("phase"));
    EXPECT_LE(Model().RowsMade(), 10002u);
    const std::unique_ptr<QMimeData> mime(Model().mimeData({Model().index(1, 0, last)}));
    ASSERT_TRUE(mime);
    EXPECT_EQ(mime->data(kVariableMimeType).toStdString(), "axes[9999].phase") << "a drag carries the whole path";
}

TEST_F(FirmwareTreeTest, AHugeArrayListsItsFirstElementsAndSaysHowToReachTheRest) {
    Form().ShowVariables(firmware_.Index());
    const QModelIndex big = Model().IndexOf("big");
    const auto shown = static_cast<int>(TVariableTreeModel::kMaxRows);
    ASSERT_EQ(Model().rowCount(big), shown + 1);
    const QModelIndex more = Model().index(shown, 0, big);
    EXPECT_TRUE(Name(more).contains(QStringLiteral("more elements"))) << Name(more).toStdString();
    EXPECT_TRUE(more.data(Qt::ToolTipRole).toString().contains(QStringLiteral("big[100000]")))
        << more.data(Qt::ToolTipRole).toString().toStdString();
    EXPECT_FALSE(Model().VariableAt(more));
    EXPECT_FALSE(Model().hasChildren(more));
    EXPECT_FALSE(Model().flags(more).testFlag(Qt::ItemIsDragEnabled));
    EXPECT_EQ(Model().mimeData({more}), nullptr);

    Form().Tree.expand(big);
    QApplication::processEvents();
    EXPECT_LE(Model().RowsMade(), TVariableTreeModel::kMaxRows + 1);

    // A path typed into the filter reaches an element past those listed, and opens the way to it.
    Form().FilterBox.setText(QStringLiteral("big[3999999999].phase[2].b"));
    const QModelIndex deep = Model().IndexOf("big[3999999999].phase[2].b");
    ASSERT_TRUE(deep.isValid());
    EXPECT_TRUE(Reachable(deep));
    EXPECT_EQ(Name(deep.parent().parent().parent()), QStringLiteral("[3999999999]"));
    EXPECT_TRUE(deep.data(Qt::ToolTipRole).toString().contains(QStringLiteral("beyond the 32-bit addresses")));
}

TEST_F(FirmwareTreeTest, FilterFindsAMemberOfAnElement) {
    Form().ShowVariables(firmware_.Index());
    const struct {
        QString text;
        std::string path;  // a match the window opens the way to; empty: too many to open
        int axesRows;      // rows under "axes"
    } cases[] = {
        {QStringLiteral("axes[12] phase[2].b"), "axes[12].phase[2].b", 1},
        {QStringLiteral("XES[9999].SPEED"), "axes[9999].speed", 1},
        // Every element holds a phase: they are all listed, and too many to open.
        {QStringLiteral("axes phase"), "", 10000},
    };
    for (const auto& c : cases) {
        Form().FilterBox.setText(c.text);
        EXPECT_EQ(TopRows(), std::vector<QString>{QStringLiteral("axes")}) << c.text.toStdString();
        EXPECT_TRUE(Form().CountLabel.text().startsWith(QStringLiteral("1 of 5 variables match")))
            << Form().CountLabel.text().toStdString();
        const QModelIndex axes = Model().index(0, 0);
        EXPECT_EQ(Model().rowCount(axes), c.axesRows) << c.text.toStdString();
        if (c.path.empty()) {
            EXPECT_FALSE(Form().Tree.isExpanded(axes)) << c.text.toStdString();
            continue;
        }
        EXPECT_TRUE(Reachable(Model().IndexOf(c.path))) << c.text.toStdString();
    }
}

TEST_F(FirmwareTreeTest, StaticsOfOneNameAreShownWithTheirFiles) {
    Form().ShowVariables(firmware_.Index());
    Form().FilterBox.setText(QStringLiteral("counter"));
    EXPECT_EQ(TopRows(),
              (std::vector<QString>{QStringLiteral("'motor.c'::counter"), QStringLiteral("'speed.c'::counter")}));
    const std::unique_ptr<QMimeData> mime(Model().mimeData({Model().index(1, 0)}));
    ASSERT_TRUE(mime);
    EXPECT_TRUE(DropOn(*boxes_[1], *mime));
    EXPECT_EQ(boxes_[1]->Address.text(), QStringLiteral("20030010"));
    EXPECT_EQ(Form().Assignments().variables[1], "'speed.c'::counter");
    EXPECT_FALSE(Form().AssignPath(2, "counter")) << "ambiguous";
    EXPECT_TRUE(Form().AssignPath(2, "motor.c::counter"));
    EXPECT_EQ(Form().Assignments().variables[2], "'motor.c'::counter") << "kept as the window names it";
}

TEST_F(FirmwareTreeTest, ANameTheLinkerDroppedSaysSoOnItsChannel) {
    Form().ShowVariables(firmware_.Index());
    ASSERT_TRUE(Form().AssignPath(0, "axes[3].speed"));
    firmware_.symbols.variables.erase(firmware_.symbols.variables.begin() + 1);
    firmware_.symbols.dropped = {"axes"};
    Form().ShowVariables(firmware_.Index());
    EXPECT_TRUE(Form().Vanished(0));
    EXPECT_TRUE(boxes_[0]->Title.toolTip().contains(QStringLiteral("the linker left it out")))
        << boxes_[0]->Title.toolTip().toStdString();
    EXPECT_TRUE(status_.startsWith(QStringLiteral("CH1 axes[3].speed in"))) << status_.toStdString();
}

TEST_F(FirmwareTreeTest, WhatCouldNotBeReadIsNoted) {
    const struct {
        bool fromDebugInfo;
        std::vector<std::string> notes;
        QString text;  // in the count's line
    } cases[] = {
        {true, {}, QStringLiteral("5 variables")},
        {false, {}, QStringLiteral("5 variables (no debug information: names and sizes only)")},
        {true, {"motor.dwo is missing: motor.c's variables are not listed"}, QStringLiteral("5 variables; a note")},
        {true, {"motor.dwo is missing", "speed.dwo is missing"}, QStringLiteral("5 variables; 2 notes")},
    };
    for (const auto& c : cases) {
        firmware_.symbols.fromDebugInfo = c.fromDebugInfo;
        firmware_.symbols.notes = c.notes;
        Form().ShowVariables(firmware_.Index());
        EXPECT_TRUE(Form().CountLabel.text().startsWith(c.text)) << Form().CountLabel.text().toStdString();
        for (const std::string& note : c.notes)
            EXPECT_TRUE(Form().CountLabel.toolTip().contains(QString::fromStdString(note)));
        Form().FilterBox.setText(QStringLiteral("sine"));
        EXPECT_EQ(Form().CountLabel.toolTip().isEmpty(), c.notes.empty()) << "kept while filtering";
        Form().FilterBox.clear();
    }
}

}  // namespace
}  // namespace ondrix
