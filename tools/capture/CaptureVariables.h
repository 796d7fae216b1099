#pragma once
// The recorder's firmware variables: --addr items that name variables become their addresses,
// and --list prints what a firmware holds.

#include <ostream>
#include <string>
#include <vector>

#include "CaptureOptions.h"
#include "firmware/FirmwareSymbols.h"

namespace ondrix {

struct VariableResolution {
    // Why the names cannot be used (a name no variable has, with the closest ones); empty when
    // every name was resolved.
    std::string error;
    // One line per channel whose variable is not a plain 16-bit one: what the channel shows.
    std::vector<std::string> warnings;
};

// Gives each channel named in options.variableNames its variable's address. A name no variable
// has falls back to the hexadecimal address the item also spells, if it does.
VariableResolution ResolveVariableNames(CaptureOptions& options, const FirmwareSymbols& symbols);

// Reads the firmware of --elf, when given, and resolves the names of --addr, telling `errors`
// what a channel will show of a variable that is not 16 bits wide. kCaptureDone, or the exit
// code: kCaptureFailed when the firmware cannot be read, kCaptureBadUsage for a name it lacks.
int ResolveFirmwareNames(CaptureOptions& options, std::ostream& errors);

// --elf FIRMWARE --list: kCaptureDone, or kCaptureFailed when the firmware cannot be read.
int ListFirmwareVariables(const std::string& elfPath, std::ostream& out, std::ostream& errors);

// How deep --list goes below each variable. A type nested deeper than any source nests its
// structs (only generated code does) would otherwise list paths whose length grows with each
// level; beyond it the list says where it stopped, and --addr resolves any depth.
constexpr int kListedDepth = 64;

// One line per variable and per member and element of each, at any index: path, address ("0x"
// and 8 hex digits, "-" without a fixed one), byte size, type name and kind, tab-separated.
// Notes on what could not be read, and where the list stops short, go to `errors`.
void WriteVariableList(const FirmwareSymbols& symbols, std::ostream& out, std::ostream& errors);

}  // namespace ondrix
