#pragma once
// config.dat: the user's setup kept between runs, a fixed 136-byte record, little-endian:
//
//   0    length word, always written as 136
//   4    four 20-byte title fields (channel 1 first)
//   84   four addresses, unsigned
//   100  four On words, signed (1 on, 0 off)
//   116  PortNumber, BaudRate, DataBits, Parity, StopBits
//
// The record checks itself only by its length word, which must equal the file's size.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "PortSettings.h"
#include "RecordedData.h"
#include "WireProtocol.h"

namespace ondrix {

constexpr size_t kSettingsFileSize = 136;
constexpr size_t kTitleMaxLength = 10;  // what the title box accepts
constexpr const char* kSettingsFileOpenError = "File Open Error";

// A title as the file keeps it: a zero-terminated text at the start of 20 bytes. The bytes
// after the zero belong to no one; they are kept as they are (zeros when fresh, or the tail
// of a longer earlier title) so that a load and a save change nothing but the text.
class TitleField {
public:
    TitleField() = default;  // the empty title, twenty zero bytes
    explicit TitleField(std::string_view text);

    // The text up to the first zero byte. A field with no zero at all, which this program
    // never writes, gives all 20 bytes: nothing in them says where a shorter text would end.
    std::string Text() const;
    // Copies the text and its zero into the start of the field, keeping the bytes after it.
    // The text is cut at a zero byte, after kTitleMaxLength characters, and so that the zero
    // still fits; a UTF-8 character is never split.
    void SetText(std::string_view text);

    const std::array<uint8_t, kTitleFieldSize>& Bytes() const { return bytes_; }
    static TitleField FromBytes(const uint8_t* field);  // reads exactly kTitleFieldSize bytes

    bool operator==(const TitleField& other) const { return bytes_ == other.bytes_; }
    bool operator!=(const TitleField& other) const { return !(*this == other); }

private:
    std::array<uint8_t, kTitleFieldSize> bytes_{};
};

struct ChannelConfig {
    TitleField Title;
    uint32_t Address = 0;
    int32_t On = 1;

    bool operator==(const ChannelConfig& other) const;
};

// What config.dat holds. Constructed with the values used when there is no file: titles
// "CH1".."CH4", addresses 0, all channels on, and the initial PortSettings.
struct ScopeSettings {
    ScopeSettings();

    std::array<ChannelConfig, kChannelCount> Channels;
    PortSettings Port;

    bool operator==(const ScopeSettings& other) const;
    bool operator!=(const ScopeSettings& other) const { return !(*this == other); }
};

// Always kSettingsFileSize bytes.
std::vector<uint8_t> EncodeSettings(const ScopeSettings& settings);

enum class SettingsLoadStatus {
    Loaded,          // the file's fields replaced the values in use
    Missing,         // there is no file: the values in use stay
    LengthMismatch,  // the length word is not the file's size: nothing loaded
    Unreadable,      // something is there that cannot be read as a file: nothing loaded
};

struct SettingsLoadResult {
    SettingsLoadStatus status = SettingsLoadStatus::Missing;
    ScopeSettings settings;  // the values in use, with whatever the file held put over them
    // For a refused file: kSettingsFileOpenError, to which LoadSettingsFile adds the file's path,
    // the reason and where the file was kept. Empty otherwise.
    std::string message;
    std::string reason;  // why the file was refused, as a sentence; empty otherwise

    bool Refused() const {
        return status == SettingsLoadStatus::LengthMismatch || status == SettingsLoadStatus::Unreadable;
    }
};

// Loads a file of `fileSize` bytes whose first `headSize` bytes are `head` (the first 136 are
// all that is ever looked at). A file shorter than the record is read as far as it goes: a
// field is taken only when all of its bytes are present, every other keeps its value in use.
// A file too short for its length word cannot match its size and is refused.
SettingsLoadResult LoadSettings(const uint8_t* head, size_t headSize, uint64_t fileSize, const ScopeSettings& inUse);
SettingsLoadResult LoadSettings(const std::vector<uint8_t>& file, const ScopeSettings& inUse);

}  // namespace ondrix
