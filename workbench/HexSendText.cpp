#include "HexSendText.h"

#include <algorithm>

#include "acquisition/WireProtocol.h"

namespace ondrix {

namespace {

// Blanks and control characters, as the send box's text is trimmed.
bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::string Trim(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && IsTrimmed(text[first])) ++first;
    while (last > first && IsTrimmed(text[last - 1])) --last;
    return text.substr(first, last - first);
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// The C library's base-16 conversion to a 32-bit long: it saturates rather than wraps, so a
// long run of digits gives 0x7FFFFFFF and thus the byte FF.
uint8_t TokenByte(const std::string& token) {
    constexpr uint32_t kLongMax = 0x7FFFFFFF;
    uint32_t value = 0;
    for (char c : token) {
        const int digit = HexDigitValue(c);
        if (digit < 0) break;
        if (value > (kLongMax - static_cast<uint32_t>(digit)) / 16) {
            value = kLongMax;
            break;
        }
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return static_cast<uint8_t>(value & 0xFF);
}

TParsedSendText Refused(TSendTextStatus status) {
    TParsedSendText result;
    result.status = status;
    return result;
}

}  // namespace

TParsedSendText ParseHexSendText(const std::string& text) {
    std::string rest = Trim(text);
    if (!std::all_of(rest.begin(), rest.end(), [](char c) { return c == ' ' || HexDigitValue(c) >= 0; }))
        return Refused(TSendTextStatus::InvalidData);

    TParsedSendText result;
    size_t length = 0;
    while (!rest.empty()) {
        const size_t blank = rest.find(' ');
        const std::string token = rest.substr(0, blank);
        rest = blank == std::string::npos ? std::string() : Trim(rest.substr(blank + 1));
        if (length == kMaxSendLength) return Refused(TSendTextStatus::TooLong);
        result.data.SendBuffer[length++] = TokenByte(token);
    }
    result.data.SendLength = static_cast<uint8_t>(length);
    return result;
}

TParsedSendText ParsePlainSendText(const std::string& bytes) {
    if (bytes.size() > kMaxSendLength) return Refused(TSendTextStatus::TooLong);
    TParsedSendText result;
    std::copy(bytes.begin(), bytes.end(), result.data.SendBuffer.begin());
    result.data.SendLength = static_cast<uint8_t>(bytes.size());
    return result;
}

bool AppendCrc16(TSendData& data) {
    const size_t length = data.SendLength;
    if (length > kMaxSendLengthBeforeCrc) return false;
    const uint16_t crc = CRC_CHECK(data.SendBuffer.data(), data.SendLength);
    data.SendBuffer[length] = static_cast<uint8_t>(crc & 0xFF);
    data.SendBuffer[length + 1] = static_cast<uint8_t>(crc >> 8);
    data.SendLength = static_cast<uint8_t>(length + kCrcLength);
    return true;
}

std::string HexPairs(const uint8_t* bytes, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
        text += ' ';
    }
    return text;
}

std::string TextUpToZero(const uint8_t* bytes, size_t count) {
    const uint8_t* end = std::find(bytes, bytes + count, uint8_t{0});
    return std::string(bytes, end);
}

TParsedPeriod ParseSendPeriod(const std::string& text) {
    const std::string trimmed = Trim(text);
    size_t position = 0;
    bool negative = false;
    if (position < trimmed.size() && (trimmed[position] == '+' || trimmed[position] == '-')) {
        negative = trimmed[position] == '-';
        ++position;
    }
    if (position == trimmed.size()) return {};
    long long value = 0;
    for (; position < trimmed.size(); ++position) {
        const char c = trimmed[position];
        if (c < '0' || c > '9') return {};
        // Past the range either way; stop before the number grows without bound.
        if (value <= kMaxSendPeriod) value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    if (value < kMinSendPeriod || value > kMaxSendPeriod) return {TPeriodStatus::OutOfRange, 0};
    return {TPeriodStatus::Ok, static_cast<int>(value)};
}

}  // namespace ondrix
