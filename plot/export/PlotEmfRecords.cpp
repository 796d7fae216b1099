#include "plot/export/PlotEmfRecords.h"

#include <cmath>
#include <cstring>

#include "plot/core/PlotTypes.h"

namespace ondrix {

namespace {

// Header field offsets from the start of the file.
constexpr size_t kHeaderBytesAt = 48;
constexpr size_t kHeaderRecordsAt = 52;
constexpr size_t kHeaderHandlesAt = 56;

// The reference device: 96 pixels per inch, a size that is a whole number of millimetres both
// ways (480 pixels are exactly 127 mm), so players that scale by szlMillimeters / szlDevice get
// 96 per inch exactly.
constexpr int32_t kDeviceWidth = 1920;
constexpr int32_t kDeviceHeight = 1440;
constexpr int32_t kDeviceWidthMm = 508;
constexpr int32_t kDeviceHeightMm = 381;

// Pixels at 96 per inch in hundredths of a millimetre.
int32_t HundredthsOfMm(int pixels) { return static_cast<int32_t>(std::lround(pixels * 2540.0 / 96.0)); }

void WriteU32At(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

void WriteU16At(std::string& bytes, size_t at, uint16_t value) {
    bytes[at] = static_cast<char>(value & 0xFF);
    bytes[at + 1] = static_cast<char>(value >> 8);
}

}  // namespace

std::u16string Utf8ToUtf16(const std::string& text) {
    std::u16string result;
    result.reserve(text.size());
    const auto byte = [&text](size_t i) { return static_cast<unsigned char>(text[i]); };
    for (size_t i = 0; i < text.size();) {
        const unsigned char lead = byte(i);
        size_t length = 0;
        uint32_t code = 0;
        uint32_t least = 0;
        if (lead < 0x80) {
            length = 1, code = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2, code = lead & 0x1F, least = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3, code = lead & 0x0F, least = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4, code = lead & 0x07, least = 0x10000;
        }
        bool valid = length != 0 && i + length <= text.size();
        for (size_t k = 1; valid && k < length; ++k) {
            valid = (byte(i + k) & 0xC0) == 0x80;
            code = (code << 6) | (byte(i + k) & 0x3F);
        }
        valid = valid && code >= least && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
        if (!valid) {
            result.push_back(u'\uFFFD');
            ++i;
            continue;
        }
        if (code >= 0x10000) {
            code -= 0x10000;
            result.push_back(static_cast<char16_t>(0xD800 + (code >> 10)));
            result.push_back(static_cast<char16_t>(0xDC00 + (code & 0x3FF)));
        } else {
            result.push_back(static_cast<char16_t>(code));
        }
        i += length;
    }
    return result;
}

TEmfRecordWriter::TEmfRecordWriter(int width, int height, const std::string& creator, const std::string& title)
    : width_(width < 0 ? 0 : width), height_(height < 0 ? 0 : height) {
    std::u16string description = Utf8ToUtf16(creator);
    description.push_back(u'\0');
    description += Utf8ToUtf16(title);
    description.push_back(u'\0');
    description.push_back(u'\0');

    Begin(emrHeader);
    // Bounds, whole picture, inclusive; no pixels is the empty box (0, 0, -1, -1).
    PutRect({0, 0, width_ - 1, height_ - 1});
    // Frame in hundredths of a millimetre, inclusive as well.
    PutRect({0, 0, HundredthsOfMm(width_) - 1, HundredthsOfMm(height_) - 1});
    PutU32(kEmfSignature);
    PutU32(0x00010000);  // version
    PutU32(0);           // file size: Finish
    PutU32(0);           // record count: Finish
    PutU16(0);           // handle count: Finish
    PutU16(0);
    PutU32(static_cast<uint32_t>(description.size()));
    PutU32(kEmfHeaderFixedSize);
    PutU32(0);  // no palette
    PutI32(kDeviceWidth);
    PutI32(kDeviceHeight);
    PutI32(kDeviceWidthMm);
    PutI32(kDeviceHeightMm);
    PutU32(0);  // no pixel format
    PutU32(0);
    PutU32(0);  // no OpenGL
    PutI32(kDeviceWidthMm * 1000);
    PutI32(kDeviceHeightMm * 1000);
    PutUtf16(description);
    End();
}

void TEmfRecordWriter::Begin(TEmfRecordType type) {
    recordStart_ = bytes_.size();
    PutU32(type);
    PutU32(0);  // size: End
}

void TEmfRecordWriter::PutU16(uint16_t value) {
    bytes_.push_back(static_cast<char>(value & 0xFF));
    bytes_.push_back(static_cast<char>(value >> 8));
}

void TEmfRecordWriter::PutU32(uint32_t value) {
    PutU16(static_cast<uint16_t>(value & 0xFFFF));
    PutU16(static_cast<uint16_t>(value >> 16));
}

void TEmfRecordWriter::PutF32(float value) {
    uint32_t bits = 0;
    static_assert(sizeof bits == sizeof value, "32-bit floats");
    std::memcpy(&bits, &value, sizeof bits);
    PutU32(bits);
}

void TEmfRecordWriter::PutRect(const TEmfRect& rect) {
    PutI32(rect.Left);
    PutI32(rect.Top);
    PutI32(rect.Right);
    PutI32(rect.Bottom);
}

void TEmfRecordWriter::PutBytes(const void* data, size_t size) {
    bytes_.append(static_cast<const char*>(data), size);
}

void TEmfRecordWriter::PutUtf16(const std::u16string& text) {
    for (char16_t unit : text) PutU16(static_cast<uint16_t>(unit));
}

void TEmfRecordWriter::End() {
    while ((bytes_.size() - recordStart_) % 4 != 0) bytes_.push_back('\0');
    const size_t size = bytes_.size() - recordStart_;
    if (size > UINT32_MAX) throw EPlotError("metafile record too large");
    WriteU32At(bytes_, recordStart_ + 4, static_cast<uint32_t>(size));
    ++records_;
}

void TEmfRecordWriter::Simple(TEmfRecordType type) {
    Begin(type);
    End();
}

void TEmfRecordWriter::Simple(TEmfRecordType type, uint32_t parameter) {
    Begin(type);
    PutU32(parameter);
    End();
}

void TEmfRecordWriter::UseHandle(uint32_t index) {
    if (index >= 0xFFFF) throw EPlotError("metafile handle table full");
    if (index + 1 > handles_) handles_ = index + 1;
}

std::string TEmfRecordWriter::Finish() {
    Begin(emrEof);
    PutU32(0);   // no palette entries
    PutU32(16);  // where they would start
    PutU32(20);  // this record's size, repeated at its end
    End();
    if (bytes_.size() > UINT32_MAX) throw EPlotError("metafile too large");
    WriteU32At(bytes_, kHeaderBytesAt, static_cast<uint32_t>(bytes_.size()));
    WriteU32At(bytes_, kHeaderRecordsAt, records_);
    WriteU16At(bytes_, kHeaderHandlesAt, static_cast<uint16_t>(handles_));
    return std::move(bytes_);
}

}  // namespace ondrix
