#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "firmware/FirmwareVariableIndex.h"
#include "firmware/VariableParts.h"

namespace ondrix {
namespace {

// A firmware's variables and types as the reader gives them, written by hand.
class Firmware {
public:
    Firmware() { symbols.fromDebugInfo = true; }

    TypeRef Scalar(std::string name, uint64_t size, VariableKind kind = VariableKind::SignedInteger) {
        FirmwareType type;
        type.name = std::move(name);
        type.kind = kind;
        type.byteSize = size;
        return Add(std::move(type));
    }
    // Members one after the other, in the order given.
    TypeRef Struct(std::string name, const std::vector<std::pair<std::string, TypeRef>>& members) {
        FirmwareType type;
        type.name = std::move(name);
        type.kind = VariableKind::Struct;
        for (const auto& [member, memberType] : members) {
            type.members.push_back({member, type.byteSize, memberType, 0, 0});
            type.byteSize += symbols.types[memberType].byteSize;
        }
        return Add(std::move(type));
    }
    TypeRef Array(TypeRef element, uint64_t count) {
        FirmwareType type;
        type.name = symbols.types[element].name + "[" + std::to_string(count) + "]";
        type.kind = VariableKind::Array;
        type.element = element;
        type.count = count;
        type.stride = symbols.types[element].byteSize;
        type.byteSize = count * type.stride;
        return Add(std::move(type));
    }
    void Variable(std::string path, uint64_t address, TypeRef type, std::string sourceFile = {}) {
        FirmwareVariable variable;
        variable.path = std::move(path);
        variable.address = address;
        variable.byteSize = symbols.types[type].byteSize;
        variable.typeName = symbols.types[type].name;
        variable.kind = symbols.types[type].kind;
        variable.type = type;
        variable.sourceFile = std::move(sourceFile);
        symbols.variables.push_back(std::move(variable));
    }

    FirmwareSymbols symbols;

private:
    TypeRef Add(FirmwareType type) {
        symbols.types.push_back(std::move(type));
        return static_cast<TypeRef>(symbols.types.size() - 1);
    }
};

// A small firmware: plain variables, an array of structs holding a struct, a qualified C++
// name, and a name with a dot of its own (as a symbol table names a function's static).
FirmwareVariableIndex SampleIndex() {
    Firmware firmware;
    const TypeRef int16 = firmware.Scalar("int16_t", 2);
    const TypeRef current = firmware.Struct("struct current", {{"a", int16}, {"b", int16}});
    const TypeRef motor = firmware.Struct("struct motor", {{"current", current}, {"speed", int16}});
    firmware.Variable("sine", 0x20000000, int16);
    firmware.Variable("cosine", 0x20000002, int16);
    firmware.Variable("motor", 0x20000004, firmware.Array(motor, 2));
    firmware.Variable("Sample_Counter", 0x20000010, int16);
    firmware.Variable("ns::value", 0x20000012, int16);
    firmware.Variable("orphan.member", 0x20000014, int16);
    return FirmwareVariableIndex(std::move(firmware.symbols));
}

struct ShownRow {
    std::string path;
    // Its own path holds every word (or the text names it): all below it is shown too.
    bool matches = false;
};

// The rows a tree shows for `text`, depth first as it lists them, every aggregate open, up to
// `maxRows` parts per aggregate and `allRows` in all.
std::vector<ShownRow> Rows(const FirmwareVariableIndex& index, const std::string& text, uint64_t maxRows = 1000,
                           size_t allRows = 10000) {
    const VariableFilter filter = index.Filter(text);
    std::vector<ShownRow> rows;
    const std::function<void(const FirmwareVariable&, const FilterScope&)> visit = [&](const FirmwareVariable& shown,
                                                                                       const FilterScope& scope) {
        if (rows.size() == allRows) return;
        rows.push_back({shown.path, scope.Everything()});
        const ShownParts parts = index.PartsShown(filter, shown, scope, maxRows);
        for (uint64_t part = 0; part < parts.leading; ++part)
            visit(Part(index.Symbols(), shown, part),
                  parts.override && parts.override->index == part ? parts.override->scope : parts.leadingScope);
        for (const ShownParts::Part& part : parts.listed) visit(Part(index.Symbols(), shown, part.index), part.scope);
    };
    for (const VariableFilter::Shown& top : filter.TopLevel()) visit(index.Variable(top.variable), top.scope);
    return rows;
}

std::vector<std::string> Matching(const FirmwareVariableIndex& index, const std::string& text) {
    std::vector<std::string> paths;
    for (const ShownRow& row : Rows(index, text))
        if (row.matches) paths.push_back(row.path);
    return paths;
}

std::vector<std::string> Shown(const FirmwareVariableIndex& index, const std::string& text) {
    std::vector<std::string> paths;
    for (const ShownRow& row : Rows(index, text)) paths.push_back(row.path);
    return paths;
}

TEST(FirmwareVariableIndexTest, FilterMatchesEveryWordIgnoringCase) {
    const FirmwareVariableIndex index = SampleIndex();
    const struct {
        std::string text;
        std::vector<std::string> expected;
    } cases[] = {
        {"SINE", {"sine", "cosine"}},
        {"motor current",
         {"motor[0].current", "motor[0].current.a", "motor[0].current.b", "motor[1].current", "motor[1].current.a",
          "motor[1].current.b"}},
        {"  CUR \t  mot[1] ", {}},
        {"  CUR \t  or[1] ", {"motor[1].current", "motor[1].current.a", "motor[1].current.b"}},
        {"[1]", {"motor[1]", "motor[1].current", "motor[1].current.a", "motor[1].current.b", "motor[1].speed"}},
        // A word across the variable's name and its members', and one ending inside an index.
        {"r[0].cur", {"motor[0].current", "motor[0].current.a", "motor[0].current.b"}},
        {"1].speed", {"motor[1].speed"}},
        {"current.b", {"motor[0].current.b", "motor[1].current.b"}},
        {"sample_c", {"Sample_Counter"}},
        {"::val", {"ns::value"}},
        {"sine zzz", {}},
        {"speed [2]", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Matching(index, c.text), c.expected) << '"' << c.text << '"';
}

TEST(FirmwareVariableIndexTest, BlankFilterMatchesEverything) {
    const FirmwareVariableIndex index = SampleIndex();
    for (const std::string text : {"", "   ", "\t"}) {
        const VariableFilter filter = index.Filter(text);
        EXPECT_TRUE(filter.Blank()) << '"' << text << '"';
        ASSERT_EQ(filter.TopLevel().size(), index.Size()) << '"' << text << '"';
        for (const VariableFilter::Shown& shown : filter.TopLevel()) EXPECT_TRUE(shown.scope.Everything());
    }
    EXPECT_EQ(Rows(index, "").size(), 16u) << "every variable with every part";
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
        {"motor[1].current", "motor[1]", ".current"},
        {"motor[1].current.a", "motor[1].current", ".a"},
        {"ns::value", "", "ns::value"},
        {"orphan.member", "", "orphan.member"},
    };
    for (const auto& c : cases) {
        const VariableLookup found = index.Resolve(c.path);
        ASSERT_TRUE(found.variable) << c.path << ": " << found.error;
        if (c.parent.empty()) {
            EXPECT_EQ(index.Variable(*found.head).path, c.path);
            EXPECT_EQ(LastComponentStart(c.path), c.path.find('.')) << "a name's own dot is no member";
            continue;
        }
        const VariableLookup parent = index.Resolve(c.parent);
        ASSERT_TRUE(parent.variable) << c.parent;
        const auto part = index.PartToward(*parent.variable, c.path);
        ASSERT_TRUE(part) << c.path;
        ASSERT_LT(*part, PartCount(index.Symbols(), *parent.variable));
        EXPECT_EQ(Part(index.Symbols(), *parent.variable, *part).path, c.path);
        EXPECT_EQ(c.path.substr(LastComponentStart(c.path)), c.component) << c.path;
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
    EXPECT_EQ(Shown(index, "current.a"),
              (std::vector<std::string>{"motor", "motor[0]", "motor[0].current", "motor[0].current.a", "motor[1]",
                                        "motor[1].current", "motor[1].current.a"}));
    // An index word tells the elements apart.
    EXPECT_EQ(Shown(index, "r[1] speed"), (std::vector<std::string>{"motor", "motor[1]", "motor[1].speed"}));
    EXPECT_EQ(Shown(index, "[0] sine"), std::vector<std::string>{});
    EXPECT_EQ(index.Filter("current.a").Matches().size(), 1u) << "matches are counted by variable";
}

TEST(FirmwareVariableIndexTest, ResolveFindsExactPathsOnly) {
    Firmware firmware;
    const TypeRef int16 = firmware.Scalar("int16_t", 2);
    firmware.Variable("speed", 0x100, int16);
    firmware.Variable("speed", 0x200, int16);
    firmware.Variable("sp", 0x300, int16);
    const FirmwareVariableIndex index(std::move(firmware.symbols));
    const VariableLookup speed = index.Resolve("speed");
    ASSERT_TRUE(speed.variable);
    EXPECT_EQ(speed.variable->address, 0x100u) << "a name listed twice is its first entry";
    for (const std::string missing : {"Speed", "spee", "", "speed.x"}) {
        const VariableLookup found = index.Resolve(missing);
        EXPECT_FALSE(found.variable) << missing;
        EXPECT_EQ(found.error.empty(), missing != "speed.x") << missing << ": " << found.error;
    }
}

TEST(FirmwareVariableIndexTest, ResolveReachesAnyMemberAndElement) {
    Firmware firmware;
    const TypeRef int16 = firmware.Scalar("int16_t", 2);
    const TypeRef phase = firmware.Struct("struct phase", {{"a", int16}, {"b", int16}});
    const TypeRef axis = firmware.Struct("struct axis", {{"speed", int16}, {"phase", firmware.Array(phase, 3)}});
    firmware.Variable("axes", 0x20000000, firmware.Array(axis, 10000));
    firmware.Variable("big", 0x10000000, firmware.Array(axis, 4000000000));
    firmware.Variable("grid", 0x20030000, firmware.Array(firmware.Array(int16, 4), 3));
    const FirmwareVariableIndex index(std::move(firmware.symbols));
    const uint64_t axisSize = 14;
    const struct {
        std::string path;
        uint64_t address;  // 0: none, and `text` is the error
        std::string text;  // the type, or a part of the error
    } cases[] = {
        {"axes", 0x20000000, "struct axis[10000]"},
        {"axes[0].speed", 0x20000000, "int16_t"},
        {"axes[9999].phase[2].b", 0x20000000 + 9999 * axisSize + 2 + 2 * 4 + 2, "int16_t"},
        {"axes[700].phase", 0x20000000 + 700 * axisSize + 2, "struct phase[3]"},
        {"big[3999999999].phase[1].a", 0x10000000 + 3999999999 * axisSize + 2 + 4, "int16_t"},
        {"grid[2][3]", 0x20030000 + 2 * 8 + 3 * 2, "int16_t"},
        {"axes[10000]", 0, "past the end"},
        {"axes[3].torque", 0, "torque"},
        {"axes[3].speed.x", 0, "speed"},
        {"axes.speed", 0, "axes"},
        {"axes[x]", 0, "[x]"},
    };
    for (const auto& c : cases) {
        const VariableLookup found = index.Resolve(c.path);
        if (c.address == 0) {
            EXPECT_FALSE(found.variable) << c.path;
            EXPECT_NE(found.error.find(c.text), std::string::npos) << c.path << ": " << found.error;
            continue;
        }
        ASSERT_TRUE(found.variable) << c.path << ": " << found.error;
        EXPECT_EQ(found.variable->path, c.path);
        EXPECT_EQ(found.variable->address, c.address) << c.path;
        EXPECT_EQ(found.variable->typeName, c.text) << c.path;
    }
}

TEST(FirmwareVariableIndexTest, StaticsOfOneNameAreToldApartByTheirFiles) {
    Firmware firmware;
    const TypeRef int16 = firmware.Scalar("int16_t", 2);
    const TypeRef state = firmware.Struct("struct state", {{"speed", int16}});
    firmware.Variable("counter", 0x20000010, int16, "motor.c");
    firmware.Variable("counter", 0x20000020, int16, "src/speed.c");
    firmware.Variable("state", 0x20000030, state, "motor.c");
    firmware.Variable("state", 0x20000040, state, "speed.c");
    // Visible to the whole program: the plain name is this one's.
    firmware.Variable("state", 0x20000050, state);
    firmware.Variable("tick::count", 0x20000060, int16, "motor.c");
    // Two files of one name in different folders: only their whole paths tell them apart.
    firmware.Variable("mode", 0x20000070, int16, "a/io.c");
    firmware.Variable("mode", 0x20000080, int16, "b/io.c");
    const FirmwareVariableIndex index(std::move(firmware.symbols));

    const VariableLookup ambiguous = index.Resolve("counter");
    EXPECT_FALSE(ambiguous.variable);
    EXPECT_EQ(ambiguous.error,
              "'counter' is ambiguous: a static in motor.c at 0x20000010 and in src/speed.c at 0x20000020; write "
              "'motor.c'::counter");

    const struct {
        std::string path;
        uint64_t address;
        std::string shownPath;  // the path as the index names it
    } cases[] = {
        {"'motor.c'::counter", 0x20000010, "'motor.c'::counter"},
        {"motor.c::counter", 0x20000010, "'motor.c'::counter"},
        {"'speed.c'::counter", 0x20000020, "'speed.c'::counter"},
        {"speed.c::counter", 0x20000020, "'speed.c'::counter"},
        {"'src/speed.c'::counter", 0x20000020, "'speed.c'::counter"},
        {"state.speed", 0x20000050, "state.speed"},
        {"'speed.c'::state.speed", 0x20000040, "'speed.c'::state.speed"},
        {"'motor.c'::state", 0x20000030, "'motor.c'::state"},
        {"tick::count", 0x20000060, "tick::count"},
        {"'motor.c'::tick::count", 0x20000060, "tick::count"},
        {"'a/io.c'::mode", 0x20000070, "'a/io.c'::mode"},
    };
    for (const auto& c : cases) {
        const VariableLookup found = index.Resolve(c.path);
        ASSERT_TRUE(found.variable) << c.path << ": " << found.error;
        EXPECT_EQ(found.variable->address, c.address) << c.path;
        EXPECT_EQ(found.variable->path, c.shownPath) << c.path;
        EXPECT_EQ(index.Resolve(c.shownPath).variable->address, c.address) << "what is shown resolves: " << c.shownPath;
    }
    for (size_t v = 0; v < index.Size(); ++v)
        EXPECT_EQ(index.Resolve(index.Variable(v).path).head, v) << index.Variable(v).path;

    const struct {
        std::string path;
        std::string error;
    } refused[] = {
        {"'tick.c'::counter", "tick.c has no static variable 'counter'; the firmware has 'motor.c'::counter, "
                              "'speed.c'::counter"},
        {"'io.c'::mode", "'mode' is ambiguous: a static in a/io.c at 0x20000070 and in b/io.c at 0x20000080; "
                         "write 'a/io.c'::mode"},
        {"'motor.c'counter", "a static variable is named with its file as 'motor.c'::name"},
        {"tick.c::counter", ""},
    };
    for (const auto& c : refused) {
        const VariableLookup found = index.Resolve(c.path);
        EXPECT_FALSE(found.variable) << c.path;
        EXPECT_EQ(found.error, c.error) << c.path;
    }
    EXPECT_EQ(Matching(index, "motor.c count"), (std::vector<std::string>{"'motor.c'::counter"}));
}

TEST(FirmwareVariableIndexTest, DroppedVariablesAreSaidToBeLeftOut) {
    Firmware firmware;
    firmware.Variable("used", 0x20000000, firmware.Scalar("int16_t", 2));
    firmware.symbols.dropped = {"unused_table"};
    const FirmwareVariableIndex index(std::move(firmware.symbols));
    for (const std::string path : {"unused_table", "unused_table[3]", "unused_table.x"}) {
        const VariableLookup found = index.Resolve(path);
        EXPECT_FALSE(found.variable) << path;
        EXPECT_NE(found.error.find("'unused_table' is not in the firmware image: the linker left it out"),
                  std::string::npos)
            << path << ": " << found.error;
    }
    EXPECT_EQ(index.Resolve("unused").error, "");
    EXPECT_TRUE(index.Filter("unused").TopLevel().empty()) << "never listed";
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
        {"motor[1].curent", {"motor[1].current", "motor[1].current.a", "motor[1].current.b"}},
        // An element stands for all: the members of the first are suggested.
        {"motor.speed", {"motor[0].speed"}},
        {"temperature", {}},
        {"", {}},
    };
    for (const auto& c : cases) EXPECT_EQ(index.ClosestNames(c.name), c.expected) << c.name;
    EXPECT_EQ(index.ClosestNames("motor[1].curent", 1), std::vector<std::string>{"motor[1].current"});
}

// A firmware large in its types: a 4-billion-element array and a variable nested deep.
class LargeTypesTest : public ::testing::Test {
protected:
    static constexpr int kDepth = 40;

    void SetUp() override {
        const TypeRef int16 = firmware_.Scalar("int16_t", 2);
        const TypeRef axis = firmware_.Struct("struct axis", {{"speed", int16}, {"phase", firmware_.Array(int16, 3)}});
        firmware_.Variable("big", 0x10000000, firmware_.Array(axis, 4000000000));
        TypeRef level = firmware_.Struct("struct leaf", {{"value", int16}, {"deepest", int16}});
        for (int depth = 0; depth < kDepth; ++depth)
            level = firmware_.Struct("struct level" + std::to_string(depth), {{"inner", level}});
        firmware_.Variable("nest", 0x20000000, level);
    }

    static std::string DeepPath() {
        std::string path = "nest";
        for (int depth = 0; depth < kDepth; ++depth) path += ".inner";
        return path + ".deepest";
    }

    Firmware firmware_;
};

TEST_F(LargeTypesTest, EveryPartIsReachedWithoutListingThem) {
    const FirmwareVariableIndex index(std::move(firmware_.symbols));
    const VariableLookup deep = index.Resolve(DeepPath());
    ASSERT_TRUE(deep.variable) << deep.error;
    EXPECT_EQ(deep.variable->address, 0x20000002u);

    // Unfiltered, an array shows as many elements as asked for, and counts the others.
    const VariableFilter all = index.Filter("");
    const ShownParts parts = index.PartsShown(all, index.Variable(0), all.TopLevel()[0].scope, 100);
    EXPECT_EQ(parts.leading, 100u);
    EXPECT_TRUE(parts.listed.empty());
    EXPECT_EQ(parts.unlisted, 4000000000u - 100);
}

TEST_F(LargeTypesTest, FilterFindsANameNestedDeep) {
    const FirmwareVariableIndex index(std::move(firmware_.symbols));
    std::vector<std::string> expected;
    for (std::string path = DeepPath(); path != "nest"; path.resize(LastComponentStart(path)))
        expected.insert(expected.begin(), path);
    expected.insert(expected.begin(), "nest");
    EXPECT_EQ(Shown(index, "deepest"), expected);
}

TEST_F(LargeTypesTest, FilterFindsAMemberOfAnElement) {
    const FirmwareVariableIndex index(std::move(firmware_.symbols));
    const std::vector<ShownRow> rows = Rows(index, "phase", 3);
    ASSERT_GE(rows.size(), 4u);
    EXPECT_EQ(rows[0].path, "big");
    EXPECT_EQ(rows[1].path, "big[0]");
    EXPECT_FALSE(rows[1].matches);
    EXPECT_EQ(rows[2].path, "big[0].phase");
    EXPECT_TRUE(rows[2].matches);
    // The elements share their members' paths: each is shown, up to the rows asked for.
    const VariableFilter filter = index.Filter("phase");
    const ShownParts parts = index.PartsShown(filter, index.Variable(0), filter.TopLevel()[0].scope, 3);
    EXPECT_EQ(parts.leading, 3u);
    EXPECT_EQ(parts.unlisted, 4000000000u - 3);
}

TEST_F(LargeTypesTest, TypedPathReachesAnElementPastThoseListed) {
    const FirmwareVariableIndex index(std::move(firmware_.symbols));
    const struct {
        std::string text;
        std::vector<std::string> shown;
    } cases[] = {
        {"big[3999999999].phase[2]", {"big", "big[3999999999]", "big[3999999999].phase", "big[3999999999].phase[2]"}},
        // The part named is shown whole.
        {"big[3999999998]", {"big", "big[3999999998]", "big[3999999998].speed", "big[3999999998].phase",
                             "big[3999999998].phase[0]", "big[3999999998].phase[1]", "big[3999999998].phase[2]"}},
        // A path within the elements looked at is found as the words find it.
        {"big[7].speed", {"big", "big[7]", "big[7].speed"}},
    };
    for (const auto& c : cases) EXPECT_EQ(Shown(index, c.text), c.shown) << c.text;
}

// A type made of two of a type made of two of ... has 2^depth paths: a crafted file must not
// make the index list them.
TEST(FirmwareVariableIndexTest, TypesThatMultiplyAreListedWithinBounds) {
    Firmware firmware;
    const TypeRef int16 = firmware.Scalar("int16_t", 2);
    constexpr int kTrees = 100;
    for (int tree = 0; tree < kTrees; ++tree) {
        TypeRef level = int16;
        for (int depth = 0; depth < 30; ++depth)
            level = firmware.Struct("struct t" + std::to_string(tree) + "_" + std::to_string(depth),
                                    {{"left", level}, {"right", level}});
        firmware.Variable("tree" + std::to_string(tree), 0x20000000, level);
    }
    firmware.Variable("last", 0x20001000, int16);
    const FirmwareVariableIndex index(std::move(firmware.symbols));
    EXPECT_EQ(Matching(index, "last"), std::vector<std::string>{"last"});
    // The last tree's own members are listed whatever the others took.
    const std::string lastTree = "tree" + std::to_string(kTrees - 1);
    const std::vector<ShownRow> rows = Rows(index, lastTree + ".right", 1000, 2);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].path, lastTree);
    EXPECT_EQ(rows[1].path, lastTree + ".right");
    EXPECT_TRUE(index.Resolve(lastTree + std::string(".left.right.left.right.left.right.left.right.left.right.left"))
                    .variable);
}

}  // namespace
}  // namespace ondrix
