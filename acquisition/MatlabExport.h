#pragma once
// The analysis export (".mdt"): the four channels' values and nothing else, for a script that
// reads a count and then four equally long columns. Little-endian:
//
//   n (4, unsigned), channel 1's n values (2 each, signed, oldest first), then channels 2..4
//
// 8n + 4 bytes. The program never reads it back; tools/readers/ holds readers for the scripts.

#include <array>
#include <cstdint>
#include <vector>

#include "WireProtocol.h"

namespace ondrix {

using ExportColumns = std::array<std::vector<int16_t>, kChannelCount>;

// Throws std::invalid_argument when the columns differ in length, which the format cannot
// express.
std::vector<uint8_t> EncodeMatlabExport(const ExportColumns& columns);

}  // namespace ondrix
