#pragma once
// The bytes of an Enhanced Metafile: records of 32-bit words, little-endian, each starting with
// its type and its size. TEmfRecordWriter appends records and keeps the figures the header
// carries (record count, file size, handle table size), so that Finish can write them in.
//
// Threads: one thread at a time.

#include <cstddef>
#include <cstdint>
#include <string>

namespace ondrix {

// Record types (the numbers the file format gives them).
enum TEmfRecordType : uint32_t {
    emrHeader = 1,
    emrPolygon = 3,
    emrPolyline = 4,
    emrPolyPolyline = 7,
    emrEof = 14,
    emrSetMapMode = 17,
    emrSetBkMode = 18,
    emrSetPolyFillMode = 19,
    emrSetRop2 = 20,
    emrSetTextAlign = 22,
    emrSetTextColor = 24,
    emrIntersectClipRect = 30,
    emrSaveDc = 33,
    emrRestoreDc = 34,
    emrSelectObject = 37,
    emrCreatePen = 38,
    emrCreateBrushIndirect = 39,
    emrDeleteObject = 40,
    emrEllipse = 42,
    emrRectangle = 43,
    emrStretchDiBits = 81,
    emrExtCreateFontIndirectW = 82,
    emrExtTextOutW = 84,
    emrPolygon16 = 86,
    emrPolyline16 = 87,
    emrPolyPolyline16 = 90,
    emrExtCreatePen = 95,
};

// "\x20EMF" read as a little-endian word: the header's signature.
constexpr uint32_t kEmfSignature = 0x464D4520;
// Stock objects are named by this flag and their number, and need no creating.
constexpr uint32_t kEmfStockObject = 0x80000000u;
constexpr uint32_t kEmfStockNullBrush = kEmfStockObject | 5;
constexpr uint32_t kEmfStockNullPen = kEmfStockObject | 8;
// The header's fixed part, with both extensions; the description follows it.
constexpr uint32_t kEmfHeaderFixedSize = 108;

struct TEmfRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;
};

// UTF-8 to UTF-16 code units; a malformed sequence becomes U+FFFD.
std::u16string Utf8ToUtf16(const std::string& text);

class TEmfRecordWriter {
public:
    // Writes a header whose sizes, counts and frame Finish completes. The description is
    // "creator\0title\0\0" in UTF-16LE.
    TEmfRecordWriter(int width, int height, const std::string& creator, const std::string& title);

    // A record is begun, filled with the Put functions, and ended; End pads it to 4 bytes and
    // writes its size.
    void Begin(TEmfRecordType type);
    void PutU32(uint32_t value);
    void PutI32(int32_t value) { PutU32(static_cast<uint32_t>(value)); }
    void PutU16(uint16_t value);
    void PutI16(int16_t value) { PutU16(static_cast<uint16_t>(value)); }
    void PutU8(uint8_t value) { bytes_.push_back(static_cast<char>(value)); }
    void PutF32(float value);
    void PutRect(const TEmfRect& rect);
    void PutBytes(const void* data, size_t size);
    void PutUtf16(const std::u16string& text);
    void PutZeros(size_t count) { bytes_.append(count, '\0'); }
    void End();

    // A record of one or no parameters, the most common kind.
    void Simple(TEmfRecordType type);
    void Simple(TEmfRecordType type, uint32_t parameter);

    // The handle table grows to hold every index used (index 0 is the metafile's own).
    void UseHandle(uint32_t index);

    // Writes EMR_EOF and completes the header; the file's bytes.
    std::string Finish();

private:
    std::string bytes_;
    size_t recordStart_ = 0;
    uint32_t records_ = 0;
    uint32_t handles_ = 1;
    int width_;
    int height_;
};

}  // namespace ondrix
