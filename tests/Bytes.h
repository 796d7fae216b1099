#pragma once
// Byte-string helpers for tests that write frames out by hand.

#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

namespace ondrix::test {

inline std::vector<uint8_t> Ascii(const std::string& text) { return {text.begin(), text.end()}; }

// "01 00 FF FF" -> {0x01, 0x00, 0xFF, 0xFF}
inline std::vector<uint8_t> Hex(const std::string& text) {
    std::vector<uint8_t> bytes;
    std::istringstream in(text);
    std::string token;
    while (in >> token) bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
    return bytes;
}

}  // namespace ondrix::test
