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

struct FirmwareVariable {
    // "motor[1].current.a"; C++ names qualified, "ns::value".
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
};

struct FirmwareSymbols {
    std::vector<FirmwareVariable> variables;
    // False: the file has no DWARF and the list comes from its symbol table (name, address and
    // size only).
    bool fromDebugInfo = false;
};

// A file that cannot be opened, is not ELF, is truncated or corrupt, or is an object file not
// yet linked; the message names it.
class FirmwareFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How far aggregates are expanded into members and elements. A watched variable is picked by
// hand from a list, so the list must stay one a person can scroll through: deeper or further
// elements are still reachable by typing their address.
//  - eight levels of members/elements cover any realistic nesting of device-state structs;
constexpr int kMaxExpansionDepth = 8;
//  - the first 64 elements of each array dimension are listed (a 1000-element buffer lists
//    itself and its first 64 elements);
constexpr uint64_t kMaxListedArrayElements = 64;
//  - one type expands into at most 4096 members/elements, so that arrays of arrays of structs
//    cannot multiply into millions of lines;
constexpr size_t kMaxEntriesPerType = 4096;
//  - once the whole list holds 500,000 entries further aggregates are listed but not expanded,
//    which bounds the memory a hostile file can make the reader take.
constexpr size_t kMaxListedEntries = 500000;

// The highest address a channel can watch: a request carries 32 bits.
constexpr uint64_t kLargestWatchableAddress = 0xFFFFFFFFu;
// "0x" and eight (or more) upper-case hexadecimal digits, as lists show an address.
std::string AddressListing(uint64_t address);

// Throws FirmwareFileError.
FirmwareSymbols ReadFirmwareSymbols(const std::string& elfPath);

}  // namespace ondrix
