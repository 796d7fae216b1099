// Members and elements made from types when asked for: paths, addresses and kinds of parts at
// any depth and index, the words for a path that names nothing, and a walk over every path
// that neither recurses nor holds them.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "firmware/VariableParts.h"

namespace ondrix {
namespace {

// struct Motor { uint16_t speed; struct { int16_t a, b; } phase[3]; unsigned mode : 3, on : 1; };
// struct Motor motor[4] at 0x20000000; int16_t grid[2][3] at 0x20001000;
// struct Log { uint16_t length; int16_t data[]; } log at 0x20002000; int16_t plain at 0x20003000.
enum : TypeRef { kInt16, kUint16, kUnsigned, kPhase, kPhases, kMotor, kMotors, kRow, kGrid, kData, kLog };

FirmwareSymbols Firmware() {
    FirmwareSymbols symbols;
    symbols.types.resize(kLog + 1);
    symbols.types[kInt16] = {"int16_t", VariableKind::SignedInteger, 2, {}, kNoType, 0, 0};
    symbols.types[kUint16] = {"uint16_t", VariableKind::UnsignedInteger, 2, {}, kNoType, 0, 0};
    symbols.types[kUnsigned] = {"unsigned int", VariableKind::UnsignedInteger, 4, {}, kNoType, 0, 0};
    symbols.types[kPhase] = {"(anonymous struct)", VariableKind::Struct, 4, {{"a", 0, kInt16}, {"b", 2, kInt16}},
                             kNoType, 0, 0};
    symbols.types[kPhases] = {"(anonymous struct)[3]", VariableKind::Array, 12, {}, kPhase, 3, 4};
    symbols.types[kMotor] = {"struct Motor",
                             VariableKind::Struct,
                             20,
                             {{"speed", 0, kUint16}, {"phase", 2, kPhases}, {"mode", 16, kUnsigned, 0, 3},
                              {"on", 16, kUnsigned, 3, 1}},
                             kNoType,
                             0,
                             0};
    symbols.types[kMotors] = {"struct Motor[4]", VariableKind::Array, 80, {}, kMotor, 4, 20};
    symbols.types[kRow] = {"int16_t[3]", VariableKind::Array, 6, {}, kInt16, 3, 2};
    symbols.types[kGrid] = {"int16_t[2][3]", VariableKind::Array, 12, {}, kRow, 2, 6};
    symbols.types[kData] = {"int16_t[]", VariableKind::Array, 0, {}, kInt16, 0, 2};
    symbols.types[kLog] = {"struct Log", VariableKind::Struct, 2, {{"length", 0, kUint16}, {"data", 2, kData}},
                           kNoType, 0, 0};
    const auto add = [&symbols](const char* path, uint64_t address, TypeRef type) {
        FirmwareVariable variable;
        variable.path = path;
        variable.address = address;
        variable.type = type;
        variable.typeName = symbols.types[type].name;
        variable.kind = symbols.types[type].kind;
        variable.byteSize = symbols.types[type].byteSize;
        symbols.variables.push_back(variable);
    };
    add("motor", 0x20000000, kMotors);
    add("grid", 0x20001000, kGrid);
    add("log", 0x20002000, kLog);
    add("plain", 0x20003000, kInt16);
    return symbols;
}

TEST(VariableParts, AnyPathIsFoundAtItsAddress) {
    const FirmwareSymbols symbols = Firmware();
    const struct {
        int variable;
        const char* suffix;
        uint64_t address;
        uint64_t size;
        const char* typeName;
        VariableKind kind;
        int bitOffset, bitSize;
    } cases[] = {
        {0, "", 0x20000000, 80, "struct Motor[4]", VariableKind::Array, 0, 0},
        {0, "[3]", 0x2000003C, 20, "struct Motor", VariableKind::Struct, 0, 0},
        {0, "[3].phase[2].b", 0x20000048, 2, "int16_t", VariableKind::SignedInteger, 0, 0},
        {0, "[1].on", 0x20000024, 1, "unsigned int", VariableKind::BitField, 3, 1},
        {1, "[1]", 0x20001006, 6, "int16_t[3]", VariableKind::Array, 0, 0},
        {1, "[1][2]", 0x2000100A, 2, "int16_t", VariableKind::SignedInteger, 0, 0},
        // A flexible array member has no bound to check an index against.
        {2, ".data[500]", 0x200023EA, 2, "int16_t", VariableKind::SignedInteger, 0, 0},
    };
    for (const auto& c : cases) {
        const FirmwareVariable& whole = symbols.variables[c.variable];
        SCOPED_TRACE(whole.path + c.suffix);
        const PartLookup found = FindPart(symbols, whole, c.suffix);
        ASSERT_TRUE(found.part) << found.error;
        EXPECT_EQ(found.part->path, whole.path + c.suffix);
        EXPECT_EQ(*found.part->address, c.address);
        EXPECT_EQ(found.part->byteSize, c.size);
        EXPECT_EQ(found.part->typeName, c.typeName);
        EXPECT_EQ(found.part->kind, c.kind);
        EXPECT_EQ(found.part->bitOffset, c.bitOffset);
        EXPECT_EQ(found.part->bitSize, c.bitSize);
    }
}

TEST(VariableParts, APathThatNamesNothingSaysWhy) {
    const FirmwareSymbols symbols = Firmware();
    const struct {
        int variable;
        const char* suffix;
        const char* error;
    } cases[] = {
        {0, "[4]", "index 4 is past the end of 'motor', which has 4 elements"},
        {0, "[1].torque", "'motor[1]' has no member 'torque'"},
        {0, ".speed", "'motor' has no members"},
        {3, "[0]", "'plain' is not an array"},
        {3, ".x", "'plain' has no members"},
        {0, "[1].on.x", "'motor[1].on' has no members"},
        {0, "[x]", "'[x]' is no element index"},
        {0, "[2", "'[2' is no element index"},
        {0, "[-1]", "'[-1]' is no element index"},
        {0, "[18446744073709551616]", "is no element index"},
        {0, "->speed", "'->speed' is no member or element"},
    };
    for (const auto& c : cases) {
        const PartLookup found = FindPart(symbols, symbols.variables[c.variable], c.suffix);
        EXPECT_FALSE(found.part) << c.suffix;
        EXPECT_NE(found.error.find(c.error), std::string::npos) << c.suffix << ": " << found.error;
    }
}

TEST(VariableParts, EveryPathInOrderWithPartsAfterTheirWhole) {
    const FirmwareSymbols symbols = Firmware();
    std::vector<std::string> paths;
    ForEachPath(symbols, 64, [&paths](const FirmwareVariable& variable) {
        paths.push_back(variable.path);
        return true;
    });
    // motor: itself, 4 × (itself, speed, phase, 3 × (itself, a, b), mode, on); grid: 1 + 2 × 4;
    // log: itself, length, data (no elements without a bound); plain.
    ASSERT_EQ(paths.size(), 1 + 4 * 14 + 9 + 3 + 1u);
    EXPECT_EQ(std::vector<std::string>(paths.begin(), paths.begin() + 8),
              (std::vector<std::string>{"motor", "motor[0]", "motor[0].speed", "motor[0].phase", "motor[0].phase[0]",
                                        "motor[0].phase[0].a", "motor[0].phase[0].b", "motor[0].phase[1]"}));
    EXPECT_EQ(paths.back(), "plain");

    // A walk stops when told to, and goes no deeper than asked, saying where it stopped.
    size_t visited = 0;
    ForEachPath(symbols, 64, [&visited](const FirmwareVariable&) { return ++visited < 5; });
    EXPECT_EQ(visited, 5u);
    std::vector<std::string> shallow, cut;
    ForEachPath(
        symbols, 1,
        [&shallow](const FirmwareVariable& variable) {
            shallow.push_back(variable.path);
            return true;
        },
        [&cut](const FirmwareVariable& whole) { cut.push_back(whole.path); });
    EXPECT_EQ(shallow.size(), 1 + 4 + 1 + 2 + 1 + 2 + 1u);
    EXPECT_EQ(cut, (std::vector<std::string>{"motor[0]", "motor[1]", "motor[2]", "motor[3]", "grid[0]", "grid[1]"}));
}

TEST(VariableParts, ATypeThatContainsItselfIsWalkedAsDeepAsAsked) {
    // Only a damaged file says so; the walk must still end, at the depth it was given.
    FirmwareSymbols symbols;
    symbols.types.push_back({"struct Loop", VariableKind::Struct, 2, {{"next", 0, 0}}, kNoType, 0, 0});
    FirmwareVariable loop;
    loop.path = "loop";
    loop.address = 0x20000000;
    loop.type = 0;
    loop.kind = VariableKind::Struct;
    symbols.variables.push_back(loop);
    size_t visited = 0, cut = 0;
    ForEachPath(
        symbols, 1000, [&visited](const FirmwareVariable&) { return ++visited != 0; },
        [&cut](const FirmwareVariable&) { ++cut; });
    EXPECT_EQ(visited, 1001u);
    EXPECT_EQ(cut, 1u);
    std::string deep;
    for (int i = 0; i < 5000; ++i) deep += ".next";
    EXPECT_TRUE(FindPart(symbols, loop, deep).part);
}

}  // namespace
}  // namespace ondrix
