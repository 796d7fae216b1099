// The assembler must never crash on any byte stream, must deliver only frames whose CRC
// matches, and must find the same frames, and count the same, however the stream is cut into
// reads.

#include <cstdlib>
#include <vector>

#include "acquisition/AcquisitionSession.h"

using ondrix::FrameAssembler;
using ondrix::SampleBatch;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const size_t readSize = data[0] % 32 + 1;
    const uint8_t* stream = data + 1;
    const size_t length = size - 1;

    std::vector<std::vector<uint8_t>> whole;
    FrameAssembler assembler;
    assembler.Feed(stream, length, [&](const uint8_t* frame) {
        if (!ondrix::SampleFrameValid(frame)) std::abort();
        whole.emplace_back(frame, frame + ondrix::kSampleFrameSize);
    });

    FrameAssembler pieces;
    SampleBatch batch;
    for (size_t offset = 0; offset < length; offset += readSize)
        ondrix::AssembleSamples(pieces, stream + offset, std::min(readSize, length - offset), batch);
    if (batch.frames.size() != whole.size()) std::abort();
    for (size_t f = 0; f < whole.size(); ++f)
        if (batch.frames[f] != ondrix::DecodeSampleValues(whole[f].data())) std::abort();

    const ondrix::FrameStatistics& a = assembler.Statistics();
    const ondrix::FrameStatistics& b = pieces.Statistics();
    if (a.frames != whole.size() || a.frames != b.frames || a.skippedBytes != b.skippedBytes ||
        a.resyncs != b.resyncs || a.chanceMatches != b.chanceMatches)
        std::abort();
    // Every byte is in a delivered frame, skipped, or still in the window or held.
    if (a.frames * ondrix::kSampleFrameSize + a.skippedBytes > length) std::abort();
    return 0;
}
