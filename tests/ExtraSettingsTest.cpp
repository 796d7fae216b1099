#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "Bytes.h"
#include "SweepSettings.h"
#include "TemporaryFolder.h"
#include "acquisition/ExtraSettings.h"

namespace ondrix {
namespace {

using Entries = std::vector<std::pair<std::string, std::string>>;

void WriteText(const std::filesystem::path& path, const std::string& text) { std::ofstream(path) << text; }

using test::UnusualSweep;

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

TEST(ExtraSettingsTest, SweepSettingsRoundTripAsReadableLines) {
    ExtraSettings settings;
    WriteSweepSettings(UnusualSweep(), settings);
    const std::string text = settings.Encode();
    EXPECT_EQ(text,
              "trigger.on = yes\ntrigger.source = CH3\ntrigger.edge = falling\ntrigger.level = -1234\n"
              "trigger.hysteresis = 50\ntrigger.mode = single\ntrigger.position = 75\ntrigger.holdoff = 5000\n");
    EXPECT_EQ(ReadSweepSettings(ExtraSettings::Decode(text)), UnusualSweep()) << "unusual";

    SweepSettings extremes;
    extremes.detection.channel = 3;
    extremes.detection.edge = TriggerEdge::Either;
    extremes.detection.level = kTriggerLevelMin;
    extremes.detection.hysteresis = kTriggerHysteresisMax;
    extremes.mode = TriggerMode::Normal;
    extremes.positionPercent = 100;
    extremes.holdOff = kTriggerHoldOffMax;
    // Written over the unusual ones: each key is replaced, none doubled.
    WriteSweepSettings(extremes, settings);
    EXPECT_EQ(settings.Entries().size(), 8u);
    EXPECT_EQ(ReadSweepSettings(ExtraSettings::Decode(settings.Encode())), extremes) << "extremes";

    EXPECT_EQ(ReadSweepSettings(ExtraSettings{}), SweepSettings{}) << "no keys at all";
}

TEST(ExtraSettingsTest, EachBadSweepValueFallsBackToItsOwnDefault) {
    using Reset = void (*)(SweepSettings&);
    const Reset on = [](SweepSettings& s) { s.on = SweepSettings{}.on; };
    const Reset source = [](SweepSettings& s) { s.detection.channel = SweepSettings{}.detection.channel; };
    const Reset edge = [](SweepSettings& s) { s.detection.edge = SweepSettings{}.detection.edge; };
    const Reset level = [](SweepSettings& s) { s.detection.level = SweepSettings{}.detection.level; };
    const Reset hysteresis = [](SweepSettings& s) { s.detection.hysteresis = SweepSettings{}.detection.hysteresis; };
    const Reset mode = [](SweepSettings& s) { s.mode = SweepSettings{}.mode; };
    const Reset position = [](SweepSettings& s) { s.positionPercent = SweepSettings{}.positionPercent; };
    const Reset holdOff = [](SweepSettings& s) { s.holdOff = SweepSettings{}.holdOff; };
    const struct {
        const char* key;
        const char* value;  // empty: the line is gone
        Reset reset;
    } cases[] = {
        {"trigger.on", "", on},                   {"trigger.on", "Yes", on},
        {"trigger.on", "true", on},               {"trigger.on", "1", on},
        {"trigger.source", "", source},           {"trigger.source", "CH0", source},
        {"trigger.source", "CH5", source},        {"trigger.source", "ch2", source},
        {"trigger.source", "3", source},          {"trigger.source", "CH01", source},
        {"trigger.edge", "Falling", edge},        {"trigger.edge", "up", edge},
        {"trigger.level", "", level},             {"trigger.level", "32768", level},
        {"trigger.level", "-32769", level},       {"trigger.level", "12abc", level},
        {"trigger.level", "1.5", level},          {"trigger.level", "+5", level},
        {"trigger.level", "0x10", level},         {"trigger.level", "- 5", level},
        {"trigger.level", "99999999999999999999999", level},
        {"trigger.hysteresis", "-1", hysteresis}, {"trigger.hysteresis", "65536", hysteresis},
        {"trigger.hysteresis", "ten", hysteresis},
        {"trigger.mode", "Auto", mode},           {"trigger.mode", "continuous", mode},
        {"trigger.position", "101", position},    {"trigger.position", "-1", position},
        {"trigger.position", "50%", position},    {"trigger.position", "50 %", position},
        {"trigger.holdoff", "1000001", holdOff},  {"trigger.holdoff", "-5", holdOff},
        {"trigger.holdoff", "1e3", holdOff},      {"trigger.holdoff", "4294967296", holdOff},
    };
    for (const auto& c : cases) {
        ExtraSettings settings;
        WriteSweepSettings(UnusualSweep(), settings);
        ASSERT_TRUE(settings.Set(c.key, c.value)) << c.key;
        // Through the file's text, as a hand-edited file arrives.
        const SweepSettings read = ReadSweepSettings(ExtraSettings::Decode(settings.Encode()));
        SweepSettings expected = UnusualSweep();
        c.reset(expected);
        EXPECT_EQ(read, expected) << std::string(c.key) + " = '" + c.value + "'";
    }
}

TEST(ExtraSettingsTest, SweepValuesOutOfRangeAreWrittenAsTheNearestTheFileTakes) {
    SweepSettings wild;
    wild.detection.channel = 9;
    wild.detection.edge = static_cast<TriggerEdge>(7);
    wild.detection.level = 1e12;
    wild.detection.hysteresis = -3;
    wild.mode = static_cast<TriggerMode>(-1);
    wild.positionPercent = 150;
    wild.holdOff = 4000000000u;
    ExtraSettings settings;
    WriteSweepSettings(wild, settings);

    SweepSettings expected;
    expected.detection.channel = 3;
    expected.detection.level = kTriggerLevelMax;
    expected.positionPercent = 100;
    expected.holdOff = kTriggerHoldOffMax;
    EXPECT_EQ(ReadSweepSettings(settings), expected) << "clamped";

    SweepSettings fractional;
    fractional.detection.level = -99.6;
    fractional.detection.hysteresis = std::numeric_limits<double>::quiet_NaN();
    WriteSweepSettings(fractional, settings);
    EXPECT_EQ(settings.Value("trigger.level"), "-100");
    EXPECT_EQ(settings.Value("trigger.hysteresis"), "0");
}

TEST(ExtraSettingsTest, WritingSweepSettingsLeavesOtherKeysAlone) {
    ExtraSettings settings =
        ExtraSettings::Decode("firmware.elf = /fw/app.elf\nfirmware.ch1 = sine\nlater.version.key = 7\n");
    const FirmwareAssignments before = ReadFirmwareAssignments(settings);
    WriteSweepSettings(UnusualSweep(), settings);

    const ExtraSettings again = ExtraSettings::Decode(settings.Encode());
    EXPECT_EQ(ReadFirmwareAssignments(again), before);
    EXPECT_EQ(again.Value("later.version.key"), "7");
    EXPECT_EQ(again.Entries().front(), (std::pair<std::string, std::string>{"firmware.elf", "/fw/app.elf"}));
    EXPECT_EQ(ReadSweepSettings(again), UnusualSweep()) << "beside firmware keys";
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
