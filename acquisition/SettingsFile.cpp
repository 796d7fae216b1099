#include "SettingsFile.h"

#include <algorithm>
#include <iterator>

namespace ondrix {

namespace {

constexpr size_t kTitlesOffset = 4;
constexpr size_t kAddressesOffset = kTitlesOffset + kChannelCount * kTitleFieldSize;  // 84
constexpr size_t kSwitchesOffset = kAddressesOffset + 4 * kChannelCount;               // 100
constexpr size_t kPortOffset = kSwitchesOffset + 4 * kChannelCount;                    // 116
static_assert(kPortOffset + 5 * 4 == kSettingsFileSize, "the record's fields fill it exactly");

void PutU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<uint8_t>(value >> (8 * b)));
}

uint32_t GetU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

bool IsUtf8Continuation(char c) { return (static_cast<uint8_t>(c) & 0xC0) == 0x80; }

std::string LengthMismatchReason(const uint8_t* head, size_t present, uint64_t fileSize) {
    if (fileSize == 0) return "The file is empty";
    const std::string size = std::to_string(fileSize) + (fileSize == 1 ? " byte" : " bytes");
    if (present < 4) return "The file has " + size + ", too few for its length word";
    return "Its length word says " + std::to_string(GetU32(head)) + " bytes, but the file has " + size;
}

}  // namespace

// ---- TitleField ----

TitleField::TitleField(std::string_view text) { SetText(text); }

std::string TitleField::Text() const {
    const auto end = std::find(bytes_.begin(), bytes_.end(), 0);
    return std::string(bytes_.begin(), end);
}

void TitleField::SetText(std::string_view text) {
    size_t end = 0;
    size_t characters = 0;
    while (end < text.size() && text[end] != '\0' && characters < kTitleMaxLength) {
        size_t next = end + 1;
        while (next < text.size() && IsUtf8Continuation(text[next])) ++next;
        if (next > kTitleFieldSize - 1) break;  // the zero must still fit
        end = next;
        ++characters;
    }
    std::copy(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(end), bytes_.begin());
    bytes_[end] = 0;
}

TitleField TitleField::FromBytes(const uint8_t* field) {
    TitleField title;
    std::copy(field, field + kTitleFieldSize, title.bytes_.begin());
    return title;
}

// ---- ScopeSettings ----

bool ChannelConfig::operator==(const ChannelConfig& other) const {
    return Title == other.Title && Address == other.Address && On == other.On;
}

ScopeSettings::ScopeSettings() {
    for (int c = 0; c < kChannelCount; ++c) Channels[c].Title.SetText("CH" + std::to_string(c + 1));
}

bool ScopeSettings::operator==(const ScopeSettings& other) const {
    return Channels == other.Channels && Port == other.Port;
}

// ---- The record ----

std::vector<uint8_t> EncodeSettings(const ScopeSettings& settings) {
    std::vector<uint8_t> out;
    out.reserve(kSettingsFileSize);
    PutU32(out, kSettingsFileSize);
    for (const ChannelConfig& channel : settings.Channels)
        out.insert(out.end(), channel.Title.Bytes().begin(), channel.Title.Bytes().end());
    for (const ChannelConfig& channel : settings.Channels) PutU32(out, channel.Address);
    for (const ChannelConfig& channel : settings.Channels) PutU32(out, static_cast<uint32_t>(channel.On));
    const PortSettings& port = settings.Port;
    for (int32_t value : {port.PortNumber, port.BaudRate, port.DataBits, port.Parity, port.StopBits})
        PutU32(out, static_cast<uint32_t>(value));
    return out;
}

SettingsLoadResult LoadSettings(const uint8_t* head, size_t headSize, uint64_t fileSize, const ScopeSettings& inUse) {
    SettingsLoadResult result;
    result.settings = inUse;
    const size_t present = static_cast<size_t>(std::min<uint64_t>({headSize, fileSize, kSettingsFileSize}));
    if (present < 4 || GetU32(head) != fileSize) {
        result.status = SettingsLoadStatus::LengthMismatch;
        result.message = kSettingsFileOpenError;
        result.reason = LengthMismatchReason(head, present, fileSize);
        return result;
    }
    result.status = SettingsLoadStatus::Loaded;

    // In the file's order, each field only when it is all there: a file that ends inside a
    // field leaves that field and every later one as they were.
    const auto reaches = [present](size_t offset, size_t size) { return offset + size <= present; };
    auto& channels = result.settings.Channels;
    for (int c = 0; c < kChannelCount; ++c) {
        const size_t offset = kTitlesOffset + c * kTitleFieldSize;
        if (reaches(offset, kTitleFieldSize)) channels[c].Title = TitleField::FromBytes(head + offset);
    }
    for (int c = 0; c < kChannelCount; ++c) {
        const size_t offset = kAddressesOffset + 4 * c;
        if (reaches(offset, 4)) channels[c].Address = GetU32(head + offset);
    }
    for (int c = 0; c < kChannelCount; ++c) {
        const size_t offset = kSwitchesOffset + 4 * c;
        if (reaches(offset, 4)) channels[c].On = static_cast<int32_t>(GetU32(head + offset));
    }
    PortSettings& port = result.settings.Port;
    int32_t* const portFields[] = {&port.PortNumber, &port.BaudRate, &port.DataBits, &port.Parity, &port.StopBits};
    for (size_t f = 0; f < std::size(portFields); ++f) {
        const size_t offset = kPortOffset + 4 * f;
        if (reaches(offset, 4)) *portFields[f] = static_cast<int32_t>(GetU32(head + offset));
    }
    return result;
}

SettingsLoadResult LoadSettings(const std::vector<uint8_t>& file, const ScopeSettings& inUse) {
    return LoadSettings(file.data(), file.size(), file.size(), inUse);
}

}  // namespace ondrix
