// The scope's command line: what it accepts, what it refuses, and what passes through to Qt.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "acquisition/ChannelAddress.h"
#include "app/ProgramOptions.h"

namespace ondrix {
namespace {

using Addresses = std::array<uint32_t, kChannelCount>;

TEST(ProgramOptions, AcceptedCommandLines) {
    const struct {
        std::vector<std::string> arguments;
        bool run;
        double quitAfter;
        std::optional<Addresses> addresses;
        bool unattended;  // a script drives the start: no message may hold it
    } cases[] = {
        {{}, false, 0, std::nullopt, false},
        {{"--run", "-platform", "xcb"}, true, 0, std::nullopt, true},
        {{"--quit-after", "2.5"}, false, 2.5, std::nullopt, true},
        {{"--quit-after=10", "--run"}, true, 10, std::nullopt, true},
        {{"--addresses", "20000000,20000004,20000006,2000000C"},
         false, 0, Addresses{0x20000000, 0x20000004, 0x20000006, 0x2000000C}, false},
        {{"--addresses=ffffffff,1a2b,0,80000000"}, false, 0, Addresses{0xFFFFFFFF, 0x1A2B, 0, 0x80000000}, false},
    };
    for (const auto& c : cases) {
        const ProgramOptions options = ParseProgramOptions(c.arguments);
        EXPECT_EQ(options.run, c.run);
        EXPECT_EQ(options.quitAfterSeconds, c.quitAfter);
        EXPECT_EQ(options.addresses, c.addresses);
        EXPECT_EQ(options.Unattended(), c.unattended);
        EXPECT_FALSE(options.help);
    }
    EXPECT_TRUE(ParseProgramOptions({"--help"}).help);
}

TEST(ProgramOptions, MistakesAreRefusedWithTheOptionNamed) {
    const struct {
        std::vector<std::string> arguments;
        const char* named;
    } cases[] = {
        {{"--addresses"}, "--addresses"},
        {{"--addresses", "1,2,3"}, "--addresses"},
        {{"--addresses", "1,2,3,4,5"}, "--addresses"},
        {{"--addresses", "1,2,,4"}, "channel 3"},
        {{"--addresses", "1,2,3,123456789"}, "channel 4"},
        {{"--addresses", "12G4,2,3,4"}, "channel 1"},
        {{"--quit-after", "soon"}, "--quit-after"},
        {{"--quit-after", "0"}, "--quit-after"},
        {{"--colour"}, "--colour"},
    };
    for (const auto& c : cases) {
        try {
            ParseProgramOptions(c.arguments);
            ADD_FAILURE() << c.arguments.back() << " was accepted";
        } catch (const std::invalid_argument& error) {
            EXPECT_NE(std::string(error.what()).find(c.named), std::string::npos) << error.what();
        }
    }
}

// scripts/run gives the scope the virtual MPU's demo variables; a change to one of them must
// not leave the demo showing flat lines.
TEST(ProgramOptions, TheRunScriptPassesTheVirtualMpusDemoAddresses) {
    std::ifstream script(std::string(ONDRIX_SOURCE_DIR) + "/scripts/run");
    ASSERT_TRUE(script) << "scripts/run is missing";
    std::stringstream text;
    text << script.rdbuf();
    std::smatch found;
    const std::string content = text.str();
    ASSERT_TRUE(std::regex_search(content, found, std::regex("demo_addresses=([0-9A-Fa-f,]+)")));
    const ProgramOptions options = ParseProgramOptions({"--addresses", found[1].str()});
    EXPECT_EQ(options.addresses, kDemoAddresses);
    EXPECT_NE(content.find("--addresses \"$demo_addresses\""), std::string::npos);
}

}  // namespace
}  // namespace ondrix
