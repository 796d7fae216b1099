#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Bytes.h"
#include "TemporaryFolder.h"
#include "acquisition/ExtraSettings.h"

namespace ondrix {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

void WriteText(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }

TEST(ExtraSettingsTest, DecodeReadsKeyValueLinesAndSkipsTheRest) {
    const struct {
        std::string text;
        Entries expected;
    } cases[] = {
        {"", {}},
        {"firmware.elf = /home/me/fw.elf\n", {{"firmware.elf", "/home/me/fw.elf"}}},
        {"  a=1  \r\nb =  two words \r\n", {{"a", "1"}, {"b", "two words"}}},
        {"a = x = y", {{"a", "x = y"}}},
        {"no equals sign\n= no key\n# a = comment\n; b = comment\na = 1", {{"a", "1"}}},
        {"a = 1\nb = 2\na = 3\n", {{"a", "3"}, {"b", "2"}}},
        {"a = 1\na =\n", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(ExtraSettings::Decode(c.text).Entries(), c.expected) << c.text;
}

TEST(ExtraSettingsTest, SetRefusesWhatTheFileCouldNotGiveBack) {
    const struct {
        std::string key;
        std::string value;
        bool taken;
    } cases[] = {
        {"firmware.ch1", "motor[1].current", true}, {"firmware.elf", "/a b/fw.elf", true},
        {"", "x", false},  {"a=b", "x", false},      {"#a", "x", false},
        {" a", "x", false}, {"a", "line\nbreak", false}, {"a", " padded", false},
        {"a", "padded\t", false},
    };
    for (const auto& c : cases) {
        ExtraSettings settings;
        EXPECT_EQ(settings.Set(c.key, c.value), c.taken) << c.key << " = " << c.value;
        EXPECT_EQ(settings.Entries().size(), c.taken ? 1u : 0u) << c.key;
        if (c.taken) {
            EXPECT_EQ(ExtraSettings::Decode(settings.Encode()).Value(c.key), c.value);
        }
    }
}

TEST(ExtraSettingsTest, AssignmentsRoundTripAndKeepKeysOfOtherFeatures) {
    ExtraSettings settings = ExtraSettings::Decode("trigger.level = 100\nfirmware.ch2 = old\n");
    FirmwareAssignments assignments;
    assignments.elfPath = "/work/fw build/app.elf";
    assignments.variables = {"sine", "", "motor[1].current", "ns::value"};
    ASSERT_TRUE(WriteFirmwareAssignments(assignments, settings));

    const ExtraSettings again = ExtraSettings::Decode(settings.Encode());
    EXPECT_EQ(ReadFirmwareAssignments(again), assignments);
    EXPECT_EQ(again.Value("trigger.level"), "100");
    EXPECT_EQ(again.Value("firmware.ch2"), "") << "a channel without a variable leaves no line";
}

TEST(ExtraSettingsTest, NoFileGivesDefaults) {
    test::TemporaryFolder folder;
    const SettingsLocation location{folder.String(), ""};
    EXPECT_TRUE(LoadExtraSettingsFile(location).Entries().empty());
    EXPECT_EQ(ReadFirmwareAssignments(LoadExtraSettingsFile(location)), FirmwareAssignments{});
    EXPECT_TRUE(LoadExtraSettingsFile(SettingsLocation{}).Entries().empty());
}

TEST(ExtraSettingsTest, FileLivesBesideConfigDat) {
    test::TemporaryFolder program, user;
    const SettingsLocation location{program.String(), (user.Path() / "ondrix").string()};
    ExtraSettings settings;
    settings.Set("firmware.elf", "fw.elf");
    ASSERT_EQ(SaveExtraSettingsFile(location, settings), "");
    EXPECT_EQ(test::ReadText((program.Path() / "ondrix.ini").string()), "firmware.elf = fw.elf\n");
    EXPECT_EQ(ExtraSettingsSavePath(location), (program.Path() / "ondrix.ini").string());
    EXPECT_EQ(LoadExtraSettingsFile(location).Value("firmware.elf"), "fw.elf");

    // A program folder that cannot take a file: the user's folder, created on the way.
    const SettingsLocation elsewhere{(program.Path() / "missing").string(), (user.Path() / "ondrix").string()};
    ASSERT_EQ(SaveExtraSettingsFile(elsewhere, settings), "");
    EXPECT_TRUE(std::filesystem::exists(user.Path() / "ondrix" / "ondrix.ini"));
}

TEST(ExtraSettingsTest, LoadingFallsBackToTheOtherFolder) {
    test::TemporaryFolder program, user;
    WriteText(user.Path() / "ondrix.ini", "firmware.elf = from user folder\n");
    const SettingsLocation location{program.String(), user.String()};
    EXPECT_EQ(ExtraSettingsLoadPath(location), (user.Path() / "ondrix.ini").string());
    EXPECT_EQ(LoadExtraSettingsFile(location).Value("firmware.elf"), "from user folder");

    WriteText(program.Path() / "ondrix.ini", "firmware.elf = from program folder\n");
    EXPECT_EQ(LoadExtraSettingsFile(location).Value("firmware.elf"), "from program folder");
}

}  // namespace
}  // namespace ondrix
