#include "plot/export/PlotImageFiles.h"

#include <png.h>

// jpeglib.h needs size_t and FILE declared before it.
#include <cstddef>
#include <cstdio>
#include <jpeglib.h>

#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <new>
#include <vector>

namespace ondrix {

namespace {

// Both libraries report errors through a callback that must not return. We longjmp out of it
// back to a setjmp in a function that holds no C++ object with a destructor, so no destructor
// is skipped; the message travels in a plain buffer and becomes an EPlotError once we are out.
constexpr size_t kMessageSize = 200;

void CopyMessage(char (&target)[kMessageSize], const char* message) {
    std::snprintf(target, kMessageSize, "%s", message != nullptr ? message : "unknown error");
}

void RequirePixels(const TPlotBitmap& bitmap) {
    if (bitmap.Width() <= 0 || bitmap.Height() <= 0) throw EPlotError("Picture has no pixels to write");
}

// A scan line's 0xAARRGGBB words as R, G, B bytes.
void ToRgb(const uint32_t* pixels, int width, unsigned char* rgb) {
    for (int x = 0; x < width; ++x, rgb += 3) {
        rgb[0] = static_cast<unsigned char>(pixels[x] >> 16);
        rgb[1] = static_cast<unsigned char>(pixels[x] >> 8);
        rgb[2] = static_cast<unsigned char>(pixels[x]);
    }
}

void PutU16(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
    out.push_back(static_cast<char>((value >> 8) & 0xFF));
}

void PutU32(std::string& out, uint32_t value) {
    PutU16(out, value & 0xFFFF);
    PutU16(out, value >> 16);
}

}  // namespace

// ---- Windows bitmap

std::string EncodeBmp(const TPlotBitmap& bitmap) {
    RequirePixels(bitmap);
    const int width = bitmap.Width();
    const int height = bitmap.Height();
    constexpr uint32_t kHeadersSize = 14 + 40;
    constexpr uint32_t kPixelsPerMetre = 3780;  // 96 per inch
    const uint64_t rowSize = (static_cast<uint64_t>(width) * 3 + 3) / 4 * 4;
    const uint64_t imageSize = rowSize * static_cast<uint64_t>(height);
    if (imageSize + kHeadersSize > std::numeric_limits<uint32_t>::max())
        throw EPlotError("Picture too large for a bitmap file");

    std::string out;
    out.reserve(static_cast<size_t>(imageSize + kHeadersSize));
    out += "BM";
    PutU32(out, static_cast<uint32_t>(imageSize + kHeadersSize));
    PutU32(out, 0);  // two reserved words
    PutU32(out, kHeadersSize);
    PutU32(out, 40);
    PutU32(out, static_cast<uint32_t>(width));
    PutU32(out, static_cast<uint32_t>(height));  // positive: rows run bottom-up
    PutU16(out, 1);                               // planes
    PutU16(out, 24);                              // bits per pixel
    PutU32(out, 0);                               // no compression
    PutU32(out, static_cast<uint32_t>(imageSize));
    PutU32(out, kPixelsPerMetre);
    PutU32(out, kPixelsPerMetre);
    PutU32(out, 0);  // colours used: none, no palette
    PutU32(out, 0);  // important colours

    const size_t padding = static_cast<size_t>(rowSize) - static_cast<size_t>(width) * 3;
    for (int y = height - 1; y >= 0; --y) {
        const uint32_t* pixels = bitmap.ScanLine(y);
        for (int x = 0; x < width; ++x) {
            out.push_back(static_cast<char>(pixels[x] & 0xFF));
            out.push_back(static_cast<char>((pixels[x] >> 8) & 0xFF));
            out.push_back(static_cast<char>((pixels[x] >> 16) & 0xFF));
        }
        out.append(padding, '\0');
    }
    return out;
}

// ---- PNG

namespace {

struct PngSink {
    std::string bytes;
    char message[kMessageSize] = {};
};

[[noreturn]] void PngFailed(png_structp png, png_const_charp message) {
    auto* sink = static_cast<PngSink*>(png_get_error_ptr(png));
    CopyMessage(sink->message, message);
    png_longjmp(png, 1);
}

void PngWarning(png_structp, png_const_charp) {}

void PngWrite(png_structp png, png_bytep data, size_t length) {
    auto* sink = static_cast<PngSink*>(png_get_io_ptr(png));
    bool appended = true;
    try {
        sink->bytes.append(reinterpret_cast<const char*>(data), length);
    } catch (const std::exception&) {
        appended = false;
    }
    // Out of the handler first: the jump must not leave an exception behind.
    if (!appended) png_error(png, "Out of memory");
}

void PngFlush(png_structp) {}

// Holds no object with a destructor: libpng's errors longjmp back into it.
bool WritePngRows(png_structp png, png_infop info, const TPlotBitmap& bitmap, int compression, unsigned char* row) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_IHDR(png, info, static_cast<png_uint_32>(bitmap.Width()), static_cast<png_uint_32>(bitmap.Height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, compression);
    png_set_pHYs(png, info, 3780, 3780, PNG_RESOLUTION_METER);
    png_write_info(png, info);
    for (int y = 0; y < bitmap.Height(); ++y) {
        ToRgb(bitmap.ScanLine(y), bitmap.Width(), row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    return true;
}

class PngWriter {
public:
    explicit PngWriter(PngSink& sink) {
        png_ = png_create_write_struct(PNG_LIBPNG_VER_STRING, &sink, PngFailed, PngWarning);
        if (png_ != nullptr) info_ = png_create_info_struct(png_);
        if (info_ == nullptr) {
            png_destroy_write_struct(&png_, nullptr);
            throw EPlotError("PNG encoder could not start");
        }
        png_set_write_fn(png_, &sink, PngWrite, PngFlush);
    }
    ~PngWriter() { png_destroy_write_struct(&png_, &info_); }
    PngWriter(const PngWriter&) = delete;
    PngWriter& operator=(const PngWriter&) = delete;

    png_structp Png() const { return png_; }
    png_infop Info() const { return info_; }

private:
    png_structp png_ = nullptr;
    png_infop info_ = nullptr;
};

}  // namespace

std::string EncodePng(const TPlotBitmap& bitmap, int compression) {
    if (compression < 0 || compression > 9) throw EPlotError("Compression must be in the range of 0-9");
    RequirePixels(bitmap);
    std::vector<unsigned char> row(static_cast<size_t>(bitmap.Width()) * 3);
    PngSink sink;
    PngWriter writer(sink);
    if (!WritePngRows(writer.Png(), writer.Info(), bitmap, compression, row.data()))
        throw EPlotError(std::string("PNG encoding failed: ") + sink.message);
    return std::move(sink.bytes);
}

// ---- JPEG

namespace {

// The error manager first, so that libjpeg's pointer to it is a pointer to the whole.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[kMessageSize];
};

[[noreturn]] void JpegFailed(j_common_ptr info) {
    auto* errors = reinterpret_cast<JpegErrors*>(info->err);
    char text[JMSG_LENGTH_MAX] = {};
    (*info->err->format_message)(info, text);
    CopyMessage(errors->message, text);
    std::longjmp(errors->jump, 1);
}

void JpegMessage(j_common_ptr) {}

// The memory destination's buffer, grown by libjpeg with malloc; ours to free.
struct JpegBuffer {
    unsigned char* data = nullptr;
    unsigned long size = 0;
};

// Holds no object with a destructor: libjpeg's errors longjmp back into it.
bool WriteJpegRows(jpeg_compress_struct& info, JpegErrors& errors, JpegBuffer& buffer, const TPlotBitmap& bitmap,
                   int quality, bool progressive, unsigned char* row) {
    if (setjmp(errors.jump)) return false;
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer.data, &buffer.size);
    info.image_width = static_cast<JDIMENSION>(bitmap.Width());
    info.image_height = static_cast<JDIMENSION>(bitmap.Height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    info.density_unit = 1;  // dots per inch
    info.X_density = 96;
    info.Y_density = 96;
    if (quality == 100) {
        // The best the format does: colour at full resolution, the exact integer DCT (the float
        // one is no more accurate here and differs between machines) and optimal Huffman tables.
        for (int c = 0; c < info.num_components; ++c) {
            info.comp_info[c].h_samp_factor = 1;
            info.comp_info[c].v_samp_factor = 1;
        }
        info.dct_method = JDCT_ISLOW;
        info.optimize_coding = TRUE;
    }
    if (progressive) jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        ToRgb(bitmap.ScanLine(static_cast<int>(info.next_scanline)), bitmap.Width(), row);
        JSAMPROW rows[1] = {row};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    return true;
}

}  // namespace

std::string EncodeJpeg(const TPlotBitmap& bitmap, int quality, bool progressive) {
    if (quality < 1 || quality > 100) throw EPlotError("Compression must be in the range of 1-100");
    RequirePixels(bitmap);
    std::vector<unsigned char> row(static_cast<size_t>(bitmap.Width()) * 3);
    jpeg_compress_struct info{};
    JpegErrors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = JpegFailed;
    errors.manager.output_message = JpegMessage;
    JpegBuffer buffer;
    const bool written = WriteJpegRows(info, errors, buffer, bitmap, quality, progressive, row.data());
    jpeg_destroy_compress(&info);
    std::string bytes;
    try {
        if (written) bytes.assign(reinterpret_cast<const char*>(buffer.data), buffer.size);
    } catch (...) {
        std::free(buffer.data);
        throw;
    }
    std::free(buffer.data);
    if (!written) throw EPlotError(std::string("JPEG encoding failed: ") + errors.message);
    return bytes;
}

}  // namespace ondrix
