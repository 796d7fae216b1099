#pragma once
// The variables of a firmware image with a fixed address: what a user can put on a channel.
// Read from the image's DWARF when it has some, else from its ELF symbol table.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace ondrix {

enum class VariableKind { SignedInteger, UnsignedInteger, Float, Pointer, Enum, Struct, Union, Array, BitField, Other };

// "signed", "unsigned", "float", "pointer", "enum", "struct", "union", "array", "bit field";
// empty for Other.
const char* VariableKindText(VariableKind kind);

// A type in FirmwareSymbols::types, by its place there.
using TypeRef = uint32_t;
constexpr TypeRef kNoType = UINT32_MAX;

struct FirmwareVariable {
    // "motor[1].current.a"; C++ names qualified, "ns::value"; a function's static variable
    // "function::name" ("ns::Class::method()::name" in C++).
    std::string path;
    // None: "no fixed address" (a location list or a computed location).
    std::optional<uint64_t> address;
    uint64_t byteSize = 0;
    // The type as written in the source: a typedef keeps its own name ("int16_t").
    std::string typeName;
    VariableKind kind = VariableKind::Other;
    // Bit fields only: `address` is the byte holding the first bit, and the offset counts bits
    // within it in the target's own order (from the least significant bit on a little-endian
    // target, from the most significant on a big-endian one); `byteSize` covers every byte the
    // field touches.
    int bitOffset = 0;
    int bitSize = 0;
    // Where its members or elements are described; kNoType for a variable without any.
    TypeRef type = kNoType;
    // Variables only (not their parts): the source file of a static one, which tells two
    // statics of one name apart ("motor.c"); empty for one visible to the whole program.
    std::string sourceFile;
};

// A member of a struct, union or class. Base classes' members and those of anonymous structs
// and unions are listed as the type's own, at their offsets within it.
struct FirmwareMember {
    std::string name;
    // From the start of the aggregate; for a bit field, the byte holding its first bit.
    uint64_t offset = 0;
    TypeRef type = kNoType;
    // Bit fields only, as in FirmwareVariable.
    int bitOffset = 0;
    int bitSize = 0;
};

// What a variable's members and elements are made from, when someone asks for them: types are
// kept once, so a firmware with a 10,000-element array of structs costs one struct's worth.
struct FirmwareType {
    std::string name;
    VariableKind kind = VariableKind::Other;
    uint64_t byteSize = 0;
    // Struct, union and class.
    std::vector<FirmwareMember> members;
    // Arrays, one dimension each: `int16_t[3][4]` holds 3 elements of `int16_t[4]`, `stride`
    // bytes apart. `count` 0 for a bound the source leaves open.
    TypeRef element = kNoType;
    uint64_t count = 0;
    uint64_t stride = 0;
};

struct FirmwareSymbols {
    // The variables themselves; their members and elements come from `types` (VariableParts.h).
    std::vector<FirmwareVariable> variables;
    std::vector<FirmwareType> types;
    // False: the file has no DWARF and the list comes from its symbol table (name, address and
    // size only).
    bool fromDebugInfo = false;
    // Variables the debug information describes but the linker left out of the image (as
    // --gc-sections does): never listed, so never watched at the address they seem to have.
    std::vector<std::string> dropped;
    // What could not be read, for the user: split debug files that are missing, ...
    std::vector<std::string> notes;
};

// A file that cannot be opened, is not ELF, is truncated or corrupt, or is an object file not
// yet linked; the message names it.
class FirmwareFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The highest address a channel can watch: a request carries 32 bits.
constexpr uint64_t kLargestWatchableAddress = 0xFFFFFFFFu;
// "0x" and eight (or more) upper-case hexadecimal digits, as lists show an address.
std::string AddressListing(uint64_t address);

// Throws FirmwareFileError, also for a file with neither debug information nor symbols.
FirmwareSymbols ReadFirmwareSymbols(const std::string& elfPath);

}  // namespace ondrix
