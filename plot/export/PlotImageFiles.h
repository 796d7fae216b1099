#pragma once
// Picture files of a painted bitmap, whole, as the bytes to write: a Windows bitmap written by
// our own code, PNG through libpng and JPEG through libjpeg. Every failure, of ours or of a
// library, is an EPlotError; nothing prints to the console or ends the process.
//
// Threads: any thread, one bitmap each; the bitmap must not be drawn on meanwhile.

#include <string>

#include "plot/core/PlotCanvas.h"

namespace ondrix {

// 24-bit BGR rows, bottom-up, each padded to 4 bytes, 96 pixels per inch.
std::string EncodeBmp(const TPlotBitmap& bitmap);

// 8-bit RGB; compression is zlib's level, 0 (stored) to 9 (smallest).
std::string EncodePng(const TPlotBitmap& bitmap, int compression);

// 24-bit RGB at quality 1..100; quality 100 also keeps full colour resolution (4:4:4).
std::string EncodeJpeg(const TPlotBitmap& bitmap, int quality, bool progressive);

}  // namespace ondrix
