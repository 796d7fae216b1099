#include "ChannelAddress.h"

#include <cinttypes>
#include <cstdio>

namespace ondrix {

namespace {

bool IsUpperHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

}  // namespace

std::string AddressText(uint32_t address) {
    char text[9];
    std::snprintf(text, sizeof text, "%08" PRIX32, address);
    return text;
}

ParsedAddress ParseAddressText(const std::string& text) {
    using Status = ParsedAddress::Status;
    if (text.empty() || text.size() > 8) {
        // Past eight characters the box is not checked character by character: the conversion
        // itself fails, as a ninth digit cannot fit in 32 bits.
        return {Status::NotConvertible, 0};
    }
    uint32_t value = 0;
    for (char c : text) {
        if (!IsUpperHexDigit(c)) return {Status::InvalidCharacter, 0};
        value = value << 4 | static_cast<uint32_t>(c <= '9' ? c - '0' : c - 'A' + 10);
    }
    return {Status::Ok, value};
}

std::string InvalidAddressMessage(int channel) { return "CH" + std::to_string(channel) + " invalid address!"; }

// Named by its channel: RUN reads all four boxes, and the message must say which one it means.
std::string AddressConversionMessage(int channel, const std::string& text) {
    static const std::string kDigits = "eight hexadecimal digits (0-9, A-F)";
    const std::string box = "CH" + std::to_string(channel) + ": ";
    if (text.empty()) return box + "the address box is empty: type one to " + kDigits;
    // Addresses copied from map files and debuggers come with the prefix.
    const bool prefixed = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    if (prefixed) return box + "'" + text + "' is not an address: type it without 0x, in one to " + kDigits;
    return box + "'" + text + "' is too long: an address has at most " + kDigits;
}

}  // namespace ondrix
