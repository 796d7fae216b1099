#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/FirmwareVariableIndex.h"

namespace ondrix {
namespace {

FirmwareVariable Variable(std::string path, uint64_t address) {
    FirmwareVariable variable;
    variable.path = std::move(path);
    variable.address = address;
    variable.byteSize = 2;
    variable.typeName = "int16_t";
    variable.kind = VariableKind::SignedInteger;
    return variable;
}

// A small firmware: plain variables, an array of structs listed with its parts as the reader
// lists them, a qualified C++ name, and a member whose aggregate is not listed.
FirmwareVariableIndex SampleIndex() {
    std::vector<FirmwareVariable> variables;
    for (const char* path : {"sine", "cosine", "motor", "motor[0]", "motor[0].current", "motor[1]",
                             "motor[1].current", "motor[1].current.a", "Sample_Counter", "ns::value",
                             "orphan.member"})
        variables.push_back(Variable(path, 0x20000000 + 2 * variables.size()));
    return FirmwareVariableIndex(std::move(variables));
}

std::vector<std::string> Paths(const FirmwareVariableIndex& index, const std::vector<size_t>& entries) {
    std::vector<std::string> paths;
    for (size_t entry : entries) paths.push_back(index.Variable(entry).path);
    return paths;
}

TEST(FirmwareVariableIndexTest, FilterMatchesEveryWordIgnoringCase) {
    const FirmwareVariableIndex index = SampleIndex();
    const struct {
        std::string text;
        std::vector<std::string> expected;
    } cases[] = {
        {"SINE", {"sine", "cosine"}},
        {"motor current", {"motor[0].current", "motor[1].current", "motor[1].current.a"}},
        {"  CUR \t  mot[1] ", {}},
        {"  CUR \t  or[1] ", {"motor[1].current", "motor[1].current.a"}},
        {"[1]", {"motor[1]", "motor[1].current", "motor[1].current.a"}},
        {"sample_c", {"Sample_Counter"}},
        {"::val", {"ns::value"}},
        {"sine zzz", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Paths(index, index.Filter(c.text)), c.expected) << '"' << c.text << '"';
}

TEST(FirmwareVariableIndexTest, BlankFilterMatchesEverything) {
    const FirmwareVariableIndex index = SampleIndex();
    for (const std::string text : {"", "   ", "\t"}) EXPECT_EQ(index.Filter(text).size(), index.Size()) << '"' << text << '"';
}

TEST(FirmwareVariableIndexTest, MembersAndElementsHangUnderTheirAggregate) {
    const FirmwareVariableIndex index = SampleIndex();
    const struct {
        std::string path;
        std::string parent;  // empty: a variable of its own
        std::string component;
    } cases[] = {
        {"sine", "", "sine"},
        {"motor[0]", "motor", "[0]"},
        {"motor[1].current", "motor[1]", "current"},
        {"motor[1].current.a", "motor[1].current", "a"},
        {"ns::value", "", "ns::value"},
        {"orphan.member", "", "orphan.member"},
    };
    for (const auto& c : cases) {
        const auto entry = index.Resolve(c.path);
        ASSERT_TRUE(entry) << c.path;
        const size_t parent = index.Parent(*entry);
        EXPECT_EQ(parent == FirmwareVariableIndex::kNoParent ? "" : index.Variable(parent).path, c.parent) << c.path;
        EXPECT_EQ(index.LastComponent(*entry), c.component) << c.path;
    }
}

TEST(FirmwareVariableIndexTest, LastComponentStartSkipsBracketedParts) {
    const struct {
        std::string path;
        size_t start;
    } cases[] = {
        {"a", std::string::npos}, {"a.b", 1}, {"a[3]", 1}, {"a[1][2]", 4}, {"a.b[10]", 3}, {".a", std::string::npos},
    };
    for (const auto& c : cases) EXPECT_EQ(LastComponentStart(c.path), c.start) << c.path;
}

TEST(FirmwareVariableIndexTest, MatchesAreShownWithTheAggregatesHoldingThem) {
    const FirmwareVariableIndex index = SampleIndex();
    EXPECT_EQ(Paths(index, index.WithAncestors(index.Filter("current.a"))),
              (std::vector<std::string>{"motor", "motor[1]", "motor[1].current", "motor[1].current.a"}));
    EXPECT_EQ(Paths(index, index.WithAncestors(index.Filter("[0] sine"))), std::vector<std::string>{});
}

TEST(FirmwareVariableIndexTest, ResolveFindsExactPathsOnly) {
    std::vector<FirmwareVariable> variables{Variable("speed", 0x100), Variable("speed", 0x200), Variable("sp", 0x300)};
    const FirmwareVariableIndex index(std::move(variables));
    ASSERT_TRUE(index.Resolve("speed"));
    EXPECT_EQ(index.Variable(*index.Resolve("speed")).address, 0x100u) << "a name listed twice is its first entry";
    EXPECT_FALSE(index.Resolve("Speed"));
    EXPECT_FALSE(index.Resolve("spee"));
    EXPECT_FALSE(index.Resolve(""));
}

TEST(FirmwareVariableIndexTest, ClosestNamesSuggestWhatWasMeant) {
    const FirmwareVariableIndex index = SampleIndex();
    const struct {
        std::string name;
        std::vector<std::string> expected;
    } cases[] = {
        {"sampel_counter", {"Sample_Counter"}},
        {"counter", {"Sample_Counter"}},
        {"sin", {"sine", "cosine"}},
        {"motor[1].curent", {"motor[1].current", "motor[0].current", "motor[1].current.a"}},
        {"temperature", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(index.ClosestNames(c.name), c.expected) << c.name;
    EXPECT_EQ(index.ClosestNames("motor[1].curent", 1), std::vector<std::string>{"motor[1].current"});
}

}  // namespace
}  // namespace ondrix
