#include "acquisition/SettingsFile.h"

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <future>
#include <fstream>
#include <iterator>
#include <ostream>

#include "Bytes.h"
#include "FileSizeLimit.h"
#include "TemporaryFolder.h"
#include "acquisition/SettingsStore.h"
#include "platform/ConfigurationFolder.h"
#include "platform/WholeFile.h"

namespace ondrix {

// Failures show the settings as a reader checks them, not as a dump of bytes.
void PrintTo(const ScopeSettings& settings, std::ostream* out) {
    for (const ChannelConfig& channel : settings.Channels)
        *out << "{\"" << channel.Title.Text() << "\" 0x" << std::hex << channel.Address << std::dec << " On " << channel.On
             << "} ";
    *out << SettingsSummary(settings.Port);
}

namespace {

using test::Hex;

std::vector<uint8_t> Slice(const std::vector<uint8_t>& bytes, size_t offset, size_t size) {
    return {bytes.begin() + static_cast<std::ptrdiff_t>(offset), bytes.begin() + static_cast<std::ptrdiff_t>(offset + size)};
}

std::vector<uint8_t> Field(const std::string& text) {
    std::vector<uint8_t> field(text.begin(), text.end());
    field.resize(kTitleFieldSize, 0);
    return field;
}

std::vector<uint8_t> ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every field away from its default, so that a field a load misses shows.
ScopeSettings Custom() {
    ScopeSettings settings;
    const char* titles[] = {"Motor rpm", "0123456789", "I", "Vbus"};
    for (int c = 0; c < kChannelCount; ++c) {
        settings.Channels[c].Title.SetText(titles[c]);
        settings.Channels[c].Address = 0x20001000u + 0x10u * c;
        settings.Channels[c].On = 0;
    }
    settings.Port = PortSettings{7, 115200, 7, 2, 1};
    return settings;
}

// ---- The record ----

TEST(SettingsFile, DefaultRecordLayout) {
    const auto bytes = EncodeSettings(ScopeSettings{});
    ASSERT_EQ(bytes.size(), 136u);
    EXPECT_EQ(Slice(bytes, 0, 4), Hex("88 00 00 00"));
    EXPECT_EQ(Slice(bytes, 4, 20), Field("CH1"));
    EXPECT_EQ(Slice(bytes, 24, 20), Field("CH2"));
    EXPECT_EQ(Slice(bytes, 44, 20), Field("CH3"));
    EXPECT_EQ(Slice(bytes, 64, 20), Field("CH4"));
    EXPECT_EQ(Slice(bytes, 84, 16), std::vector<uint8_t>(16, 0));
    EXPECT_EQ(Slice(bytes, 100, 16), Hex("01 00 00 00 01 00 00 00 01 00 00 00 01 00 00 00"));
    EXPECT_EQ(Slice(bytes, 116, 20), Hex("01 00 00 00 80 25 00 00 08 00 00 00 00 00 00 00 00 00 00 00"));
}

TEST(SettingsFile, FieldsAtTheirOffsets) {
    const auto bytes = EncodeSettings(Custom());
    EXPECT_EQ(Slice(bytes, 24, 20), Field("0123456789"));
    EXPECT_EQ(Slice(bytes, 92, 4), Hex("20 10 00 20"));  // channel 3's address
    EXPECT_EQ(Slice(bytes, 104, 4), Hex("00 00 00 00"));  // channel 2's On
    EXPECT_EQ(Slice(bytes, 116, 20), Hex("07 00 00 00 00 C2 01 00 07 00 00 00 02 00 00 00 01 00 00 00"));
}

// The file as it would be with only its first `size` bytes, the length word saying so.
std::vector<uint8_t> Cut(std::vector<uint8_t> bytes, size_t size) {
    bytes.resize(size);
    for (int b = 0; b < 4; ++b) bytes[b] = static_cast<uint8_t>(size >> (8 * b));
    return bytes;
}

TEST(SettingsFile, LoadRules) {
    const ScopeSettings inUse;
    const ScopeSettings file = Custom();
    const auto whole = EncodeSettings(file);

    ScopeSettings titles = inUse;  // what a file ending after the titles gives
    for (int c = 0; c < kChannelCount; ++c) titles.Channels[c].Title = file.Channels[c].Title;
    ScopeSettings twoAddresses = titles;
    twoAddresses.Channels[0].Address = file.Channels[0].Address;
    twoAddresses.Channels[1].Address = file.Channels[1].Address;
    ScopeSettings oneAddress = twoAddresses;
    oneAddress.Channels[1].Address = inUse.Channels[1].Address;
    ScopeSettings threePortFields = file;
    threePortFields.Port.Parity = inUse.Port.Parity;
    threePortFields.Port.StopBits = inUse.Port.StopBits;
    ScopeSettings oneTitle = inUse;
    oneTitle.Channels[0].Title = file.Channels[0].Title;

    auto longer = whole;
    longer.push_back(0);
    auto shorterThanItsWord = whole;
    shorterThanItsWord.pop_back();
    auto withTail = Cut(whole, 136);
    withTail.resize(200, 0xEE);
    withTail[0] = 200;
    auto channel2Off = EncodeSettings(inUse);
    channel2Off[104] = 0;
    ScopeSettings onlyChannel2Off = inUse;
    onlyChannel2Off.Channels[1].On = 0;

    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        SettingsLoadStatus status;
        ScopeSettings expected;
    } cases[] = {
        {"136 bytes beginning 88 00 00 00", whole, SettingsLoadStatus::Loaded, file},
        {"137 bytes beginning 88 00 00 00", longer, SettingsLoadStatus::LengthMismatch, inUse},
        {"135 bytes beginning 88 00 00 00", shorterThanItsWord, SettingsLoadStatus::LengthMismatch, inUse},
        {"200 bytes whose word says 200", withTail, SettingsLoadStatus::Loaded, file},
        {"channel 2 switched off", channel2Off, SettingsLoadStatus::Loaded, onlyChannel2Off},
        {"only a length word", Cut(whole, 4), SettingsLoadStatus::Loaded, inUse},
        {"ends inside title 2", Cut(whole, 30), SettingsLoadStatus::Loaded, oneTitle},
        {"ends after the titles", Cut(whole, 84), SettingsLoadStatus::Loaded, titles},
        {"ends after channel 2's address", Cut(whole, 92), SettingsLoadStatus::Loaded, twoAddresses},
        {"ends inside channel 2's address", Cut(whole, 90), SettingsLoadStatus::Loaded, oneAddress},
        {"ends inside Parity", Cut(whole, 130), SettingsLoadStatus::Loaded, threePortFields},
        {"too short for a length word", Hex("03 00 00"), SettingsLoadStatus::LengthMismatch, inUse},
        {"empty", {}, SettingsLoadStatus::LengthMismatch, inUse},
    };
    for (const Case& c : cases) {
        const SettingsLoadResult result = LoadSettings(c.bytes, inUse);
        EXPECT_EQ(result.status, c.status) << c.what;
        EXPECT_EQ(result.settings, c.expected) << c.what;
        EXPECT_EQ(result.message, c.status == SettingsLoadStatus::LengthMismatch ? "File Open Error" : "") << c.what;
    }
}

// ---- Titles ----

TEST(SettingsFile, ShorterTitleLeavesTheLongerOnesTail) {
    ScopeSettings settings;
    settings.Channels[0].Title.SetText("Pressure12");
    const auto first = EncodeSettings(settings);

    // The next run loads that file, the user types a shorter title, and the window saves.
    ScopeSettings next = LoadSettings(first, ScopeSettings{}).settings;
    next.Channels[0].Title.SetText("Vb");
    const auto second = EncodeSettings(next);

    EXPECT_EQ(Slice(second, 4, 20), Field(std::string("Vb\0ssure12", 10)));
    EXPECT_EQ(LoadSettings(second, ScopeSettings{}).settings.Channels[0].Title.Text(), "Vb");
}

TEST(SettingsFile, TitleWithoutZeroTakesAllTwentyBytes) {
    auto bytes = EncodeSettings(ScopeSettings{});
    std::fill(bytes.begin() + 4, bytes.begin() + 24, 'x');
    const ScopeSettings loaded = LoadSettings(bytes, ScopeSettings{}).settings;
    EXPECT_EQ(loaded.Channels[0].Title.Text(), std::string(20, 'x'));
    EXPECT_EQ(loaded.Channels[1].Title.Text(), "CH2");  // the next field is not run into
    EXPECT_EQ(EncodeSettings(loaded), bytes);           // and a save gives the field back as it was
}

TEST(TitleField, SetTextKeepsWhatTheBoxAllowsAndRoomForTheZero) {
    struct Case {
        std::string text;
        std::string kept;
    } cases[] = {
        {"CH1", "CH1"},
        {"", ""},
        {"0123456789", "0123456789"},
        {"0123456789AB", "0123456789"},
        {std::string("ab\0cd", 5), "ab"},
        // Ten two-byte characters would leave no room for the zero: nine are kept.
        {"\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF\u00E9\u00E8\u00EA", "\u00C4\u00D6\u00DC\u00E4\u00F6\u00FC\u00DF\u00E9\u00E8"},
        {"a\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC", "a\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC"},  // exactly 19 bytes
        {"ab\u20AC\u20AC\u20AC\u20AC\u20AC\u20AC", "ab\u20AC\u20AC\u20AC\u20AC\u20AC"},     // a character is not split
    };
    for (const Case& c : cases) {
        TitleField title(std::string(19, 'z'));
        title.SetText(c.text);
        EXPECT_EQ(title.Text(), c.kept) << c.text;
        EXPECT_EQ(title.Bytes()[c.kept.size()], 0) << c.text;
    }
}

// ---- Where the file lives ----

TEST(UserConfigurationFolder, Rule) {
    struct Case {
        const char* xdgConfigHome;
        const char* home;
        const char* folder;
    } cases[] = {
        {"/x/conf", "/home/u", "/x/conf/ondrix"},
        {nullptr, "/home/u", "/home/u/.config/ondrix"},
        {"", "/home/u", "/home/u/.config/ondrix"},
        {"relative/conf", "/home/u", "/home/u/.config/ondrix"},
        {"/x/conf", nullptr, "/x/conf/ondrix"},
        {nullptr, "", ""},
        {nullptr, nullptr, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(UserConfigurationFolder(c.xdgConfigHome, c.home), c.folder)
            << (c.xdgConfigHome ? c.xdgConfigHome : "(unset)") << " " << (c.home ? c.home : "(unset)");
}

class SettingsStore : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(program_); }

    std::string ProgramFile() const { return (program_ / "config.dat").string(); }
    std::string UserFile() const { return (user_ / "config.dat").string(); }

    test::TemporaryFolder root_;
    const std::filesystem::path program_ = root_.Path() / "program";
    const std::filesystem::path user_ = root_.Path() / "home/.config/ondrix";  // not there yet
    const SettingsLocation location_{program_.string(), user_.string()};
};

TEST_F(SettingsStore, SavesBesideTheProgramAndLoadsItBack) {
    EXPECT_EQ(SaveSettingsFile(location_, Custom()), "");
    EXPECT_EQ(ReadAll(ProgramFile()), EncodeSettings(Custom()));
    EXPECT_FALSE(std::filesystem::exists(user_));

    const SettingsLoadResult loaded = LoadSettingsFile(location_, ScopeSettings{});
    EXPECT_EQ(loaded.status, SettingsLoadStatus::Loaded);
    EXPECT_EQ(loaded.settings, Custom());
}

TEST_F(SettingsStore, NoFileLeavesTheValuesInUse) {
    const SettingsLoadResult none = LoadSettingsFile(location_, Custom());
    EXPECT_EQ(none.status, SettingsLoadStatus::Missing);
    EXPECT_EQ(none.settings, Custom());
    EXPECT_EQ(none.message, "");
}

TEST_F(SettingsStore, LengthWordIsCheckedAgainstTheWholeFile) {
    auto bytes = EncodeSettings(Custom());
    bytes.push_back(0);
    ASSERT_EQ(WriteFileAtomically(ProgramFile(), bytes), "");
    const SettingsLoadResult result = LoadSettingsFile(location_, ScopeSettings{});
    EXPECT_EQ(result.status, SettingsLoadStatus::LengthMismatch);
    EXPECT_EQ(result.message.rfind("File Open Error\n" + ProgramFile() + ": ", 0), 0u) << result.message;
    EXPECT_EQ(result.settings, ScopeSettings{});
}

// A load that would wait for ever (a FIFO opened for reading waits for a writer) is ended by
// becoming a writer, and fails the test instead of hanging it.
SettingsLoadResult LoadWithoutHanging(const SettingsLocation& location, const std::string& file) {
    auto loading = std::async(std::launch::async, [&] { return LoadSettingsFile(location, Custom()); });
    if (loading.wait_for(std::chrono::seconds(5)) == std::future_status::timeout) {
        ADD_FAILURE() << "the load waits on " << file;
        close(open(file.c_str(), O_WRONLY | O_NONBLOCK));
    }
    return loading.get();
}

// Whatever is in config.dat's place and cannot be used is refused with its path and the reason,
// changes nothing, and is moved aside whole, so that the save at shut-down cannot destroy it.
TEST_F(SettingsStore, ADamagedFileIsNamedWithTheReasonAndKeptAside) {
    std::vector<uint8_t> random(136);
    uint32_t state = 12345;
    for (uint8_t& byte : random) byte = static_cast<uint8_t>((state = state * 1103515245u + 12345u) >> 16);
    random[3] = 0x7F;  // so the length word cannot be 136
    auto lying = EncodeSettings(Custom());
    std::fill(lying.begin(), lying.begin() + 4, 0xFF);
    const std::string lyingWord = "Its length word says 4294967295 bytes, but the file has 136 bytes";
    const std::string randomWord = "Its length word says " +
                                   std::to_string(random[0] | random[1] << 8 | random[2] << 16 | 0x7Fu << 24) +
                                   " bytes, but the file has 136 bytes";

    enum class Kind { File, Folder, Fifo };
    const struct {
        const char* what;
        Kind kind;
        std::vector<uint8_t> bytes;
        SettingsLoadStatus status;
        std::string reason;
    } cases[] = {
        {"empty", Kind::File, {}, SettingsLoadStatus::LengthMismatch, "The file is empty"},
        {"3 bytes", Kind::File, Hex("88 00 00"), SettingsLoadStatus::LengthMismatch,
         "The file has 3 bytes, too few for its length word"},
        {"random", Kind::File, random, SettingsLoadStatus::LengthMismatch, randomWord},
        {"a lying length word", Kind::File, lying, SettingsLoadStatus::LengthMismatch, lyingWord},
        {"a folder", Kind::Folder, {}, SettingsLoadStatus::Unreadable, "A folder, not a file"},
        {"a FIFO", Kind::Fifo, {}, SettingsLoadStatus::Unreadable, "A FIFO, not a file"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string kept = ProgramFile() + ".bad";
        switch (c.kind) {
            case Kind::File: test::WriteBytes(ProgramFile(), c.bytes); break;
            case Kind::Folder:
                std::filesystem::create_directory(ProgramFile());
                test::WriteBytes(ProgramFile() + "/inside", {1, 2, 3});
                break;
            case Kind::Fifo: ASSERT_EQ(mkfifo(ProgramFile().c_str(), 0644), 0); break;
        }
        const SettingsLoadResult result = LoadWithoutHanging(location_, ProgramFile());
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.settings, Custom()) << "nothing is loaded";
        EXPECT_EQ(result.reason, c.reason);
        EXPECT_EQ(result.message, "File Open Error\n" + ProgramFile() + ": " + c.reason + ".\nIt is kept as " + kept + ".");

        EXPECT_FALSE(std::filesystem::exists(std::filesystem::symlink_status(ProgramFile())));
        switch (c.kind) {
            case Kind::File: EXPECT_EQ(ReadAll(kept), c.bytes); break;
            case Kind::Folder: EXPECT_EQ(test::ReadBytes(kept + "/inside"), Hex("01 02 03")); break;
            case Kind::Fifo: EXPECT_TRUE(std::filesystem::is_fifo(kept)); break;
        }
        std::filesystem::remove_all(kept);
    }
}

// A file kept from an earlier start is never replaced: each refused file takes the next name.
TEST_F(SettingsStore, KeptFilesAreNeverReplaced) {
    const std::vector<uint8_t> damaged[] = {Hex("01"), Hex("02 02"), Hex("03 03 03")};
    for (const auto& bytes : damaged) {
        test::WriteBytes(ProgramFile(), bytes);
        EXPECT_EQ(LoadSettingsFile(location_, Custom()).status, SettingsLoadStatus::LengthMismatch);
    }
    EXPECT_EQ(ReadAll(ProgramFile() + ".bad"), damaged[0]);
    EXPECT_EQ(ReadAll(ProgramFile() + ".bad.2"), damaged[1]);
    EXPECT_EQ(ReadAll(ProgramFile() + ".bad.3"), damaged[2]);

    // With the damaged file out of the way, the save writes a sound one.
    ASSERT_EQ(SaveSettingsFile(location_, Custom()), "");
    EXPECT_EQ(LoadSettingsFile(location_, ScopeSettings{}).settings, Custom());
}

TEST_F(SettingsStore, UserFileIsReadUntilTheProgramFolderHasOne) {
    std::filesystem::create_directories(user_);
    ASSERT_EQ(WriteFileAtomically(UserFile(), EncodeSettings(Custom())), "");
    EXPECT_EQ(LoadSettingsFile(location_, ScopeSettings{}).settings, Custom());

    ScopeSettings changed = Custom();
    changed.Port.BaudRate = 19200;
    ASSERT_EQ(SaveSettingsFile(location_, changed), "");
    EXPECT_EQ(SettingsLoadPath(location_), ProgramFile());
    EXPECT_EQ(LoadSettingsFile(location_, ScopeSettings{}).settings, changed);
}

TEST_F(SettingsStore, UnknownProgramFolderUsesTheUserFolder) {
    const SettingsLocation userOnly{"", user_.string()};
    EXPECT_EQ(SaveSettingsFile(userOnly, Custom()), "");
    EXPECT_EQ(ReadAll(UserFile()), EncodeSettings(Custom()));
    EXPECT_EQ(LoadSettingsFile(userOnly, ScopeSettings{}).settings, Custom());

    const SettingsLocation nowhere{"", ""};
    EXPECT_NE(SaveSettingsFile(nowhere, Custom()), "");
    EXPECT_EQ(LoadSettingsFile(nowhere, Custom()).status, SettingsLoadStatus::Missing);
}

TEST_F(SettingsStore, FailedSaveLeavesTheOldFile) {
    ASSERT_EQ(SaveSettingsFile(location_, Custom()), "");
    std::string error;
    {
        test::FileSizeLimit limit(64);
        error = SaveSettingsFile(location_, ScopeSettings{});
    }
    EXPECT_NE(error.find(ProgramFile()), std::string::npos) << error;
    EXPECT_EQ(ReadAll(ProgramFile()), EncodeSettings(Custom()));
    const auto entries = std::distance(std::filesystem::directory_iterator(program_), std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1) << "a partial file was left behind";
}

// What a read-only program folder must give: saves go to the user folder, the program
// folder's file stays as it was, and the user's file is what comes back from then on.
void ExpectUserFolderTakesOver(const SettingsLocation& location, const ScopeSettings& old) {
    const std::string programFile = location.programFolder + "/config.dat";
    const std::string userFile = location.userFolder + "/config.dat";
    EXPECT_EQ(LoadSettingsFile(location, ScopeSettings{}).settings, old);  // read-only, but read

    ScopeSettings changed = old;
    changed.Channels[2].On = 1;
    changed.Channels[2].Title.SetText("Temp");
    EXPECT_EQ(SettingsSavePath(location), userFile);
    EXPECT_EQ(SaveSettingsFile(location, changed), "");
    EXPECT_EQ(ReadAll(programFile), EncodeSettings(old));
    EXPECT_EQ(ReadAll(userFile), EncodeSettings(changed));

    EXPECT_EQ(SettingsLoadPath(location), userFile);
    EXPECT_EQ(LoadSettingsFile(location, ScopeSettings{}).settings, changed);
}

TEST_F(SettingsStore, ReadOnlyProgramFolderFallsBackToTheUserFolder) {
    ASSERT_EQ(SaveSettingsFile(location_, Custom()), "");
    ASSERT_EQ(chmod(program_.c_str(), 0555), 0);
    struct Writable {
        std::string folder;
        ~Writable() { chmod(folder.c_str(), 0755); }
    } restore{program_.string()};

    if (!FolderIsWritable(program_.string())) {
        ExpectUserFolderTakesOver(location_, Custom());
        return;
    }
    // Permissions do not bind this process (root): the check runs in a child process that
    // has given them up, in folders handed over to it.
    if (geteuid() != 0) GTEST_SKIP() << "mode 0555 does not stop this process from writing, and it is not root";
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(chown(root_.Path().c_str(), kNobody, kNobody), 0);
    ASSERT_EQ(chown(program_.c_str(), kNobody, kNobody), 0);
    constexpr int kCannotDrop = 77;
    std::fflush(stdout);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0 ||
            FolderIsWritable(program_.string()))
            _exit(kCannotDrop);
        ExpectUserFolderTakesOver(location_, Custom());
        std::fflush(stdout);
        _exit(::testing::Test::HasFailure() ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    const int exitCode = WEXITSTATUS(status);
    if (exitCode == kCannotDrop) GTEST_SKIP() << "running as root and unable to give up privileges";
    EXPECT_EQ(exitCode, 0) << "the unprivileged run failed: its messages are above";
}

}  // namespace
}  // namespace ondrix
