// A recorded data file from disk is outside input: decoding must never read past it, and what
// it accepts must encode back to the very same bytes.

#include <cstdlib>

#include "acquisition/RecordedData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const ondrix::DecodedRecording decoded = ondrix::DecodeRecordedData(data, size);
    if (!decoded.valid) return 0;
    const std::vector<uint8_t> again = ondrix::EncodeRecordedData(decoded.data);
    // Titles are cut at their first zero, so the bytes after it may differ; everything else
    // must come back unchanged, and the size always.
    if (again.size() != size) std::abort();
    const ondrix::DecodedRecording twice = ondrix::DecodeRecordedData(again.data(), again.size());
    if (!twice.valid) std::abort();
    for (int c = 0; c < ondrix::kChannelCount; ++c)
        if (twice.data[c].values != decoded.data[c].values || twice.data[c].address != decoded.data[c].address ||
            twice.data[c].on != decoded.data[c].on || twice.data[c].title != decoded.data[c].title)
            std::abort();
    return 0;
}
