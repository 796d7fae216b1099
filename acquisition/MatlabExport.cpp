#include "MatlabExport.h"

#include <stdexcept>

namespace ondrix {

std::vector<uint8_t> EncodeMatlabExport(const ExportColumns& columns) {
    const size_t n = columns[0].size();
    for (const auto& column : columns)
        if (column.size() != n) throw std::invalid_argument("export columns differ in length");

    std::vector<uint8_t> out;
    out.reserve(8 * n + 4);
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(static_cast<uint32_t>(n) >> (8 * b)));
    for (const auto& column : columns)
        for (int16_t value : column) {
            const auto word = static_cast<uint16_t>(value);
            out.push_back(static_cast<uint8_t>(word & 0xFF));
            out.push_back(static_cast<uint8_t>(word >> 8));
        }
    return out;
}

}  // namespace ondrix
