#pragma once
// The assistant's send data without any window: turning the typed send text into the bytes of
// one send (hexadecimal pairs or plain text), appending the protocol's CRC16, and the texts the
// receive display and the period box work with.
//
// One send carries at most 255 bytes (the count is 8 bits wide). Input that would prepare more
// is refused as a whole rather than cut, so that what goes out is always what was typed.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace ondrix {

constexpr size_t kSendBufferSize = 256;
constexpr size_t kMaxSendLength = 255;
constexpr size_t kCrcLength = 2;
// The most bytes that still leave room for the CRC16 behind them.
constexpr size_t kMaxSendLengthBeforeCrc = kMaxSendLength - kCrcLength;

struct TSendData {
    std::array<uint8_t, kSendBufferSize> SendBuffer{};
    uint8_t SendLength = 0;  // bytes of SendBuffer prepared for sending
};

enum class TSendTextStatus { Ok, InvalidData, TooLong };

struct TParsedSendText {
    TSendTextStatus status = TSendTextStatus::Ok;
    TSendData data;  // empty unless status is Ok
};

// Blank-separated hexadecimal tokens, each read as the C library reads a base-16 long (leading
// digits only, clamped to 0x7FFFFFFF) and kept as its low byte. Only 0-9, A-F, a-f and blanks
// are allowed once blanks and control characters around the text are dropped. More than
// kMaxSendLength tokens give TooLong.
TParsedSendText ParseHexSendText(const std::string& text);
// The bytes as they are; more than kMaxSendLength of them give TooLong.
TParsedSendText ParsePlainSendText(const std::string& bytes);

// Stores CRC_CHECK over the prepared bytes behind them, low byte first, and counts them in.
// False, changing nothing, when the two bytes would not fit in one send.
bool AppendCrc16(TSendData& data);

// Each byte as two upper-case hexadecimal digits followed by a blank: "41 42 0D ".
std::string HexPairs(const uint8_t* bytes, size_t count);
// The bytes as single-byte characters up to the first zero byte.
std::string TextUpToZero(const uint8_t* bytes, size_t count);

enum class TPeriodStatus { Ok, OutOfRange, NotANumber };
constexpr int kMinSendPeriod = 1;
constexpr int kMaxSendPeriod = 9000;

struct TParsedPeriod {
    TPeriodStatus status = TPeriodStatus::NotANumber;
    int value = 0;  // meaningful when Ok
};

// A decimal integer (optional sign, digits only, blanks around it allowed) in 1..9000.
TParsedPeriod ParseSendPeriod(const std::string& text);

}  // namespace ondrix
