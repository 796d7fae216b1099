// Frame assembly throughput: the tick's path from received bytes to a SampleBatch, fed in reads
// of 8192 bytes as the tick gets them.
//
// Goal on the 2-core development machine: at least 100 MB/s on a clean stream (the fastest
// line of the setup list carries 62.5 kB/s), and a stream with 1 % corrupted bytes no slower
// than a quarter of that.

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "acquisition/AcquisitionSession.h"
#include "acquisition/SerialLink.h"

namespace ondrix {
namespace {

std::vector<uint8_t> MakeStream(double corruptRate) {
    constexpr size_t kFrames = 100000;
    std::mt19937 random(7);
    std::uniform_int_distribution<int> value(-32768, 32767);
    std::vector<uint8_t> bytes;
    bytes.reserve(kFrames * kSampleFrameSize);
    for (size_t f = 0; f < kFrames; ++f) {
        const SampleFrame frame = EncodeSampleFrame({static_cast<int16_t>(value(random)), static_cast<int16_t>(value(random)),
                                                     static_cast<int16_t>(value(random)), static_cast<int16_t>(value(random))});
        bytes.insert(bytes.end(), frame.begin(), frame.end());
    }
    std::bernoulli_distribution corrupt(corruptRate);
    std::uniform_int_distribution<int> flip(1, 255);
    for (auto& byte : bytes)
        if (corrupt(random)) byte = static_cast<uint8_t>(byte ^ flip(random));
    return bytes;
}

void AssembleStream(benchmark::State& state, double corruptRate) {
    const std::vector<uint8_t> stream = MakeStream(corruptRate);
    FrameAssembler assembler;
    SampleBatch batch;
    size_t frames = 0;
    for (auto _ : state) {
        for (size_t offset = 0; offset < stream.size(); offset += SerialLink::kMaxRead) {
            batch.frames.clear();
            AssembleSamples(assembler, stream.data() + offset, std::min(SerialLink::kMaxRead, stream.size() - offset), batch);
            frames += batch.frames.size();
            benchmark::DoNotOptimize(batch.frames.data());
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
    state.counters["frames_per_pass"] = static_cast<double>(frames) / static_cast<double>(state.iterations());
}

void BM_FrameAssembler_clean(benchmark::State& state) { AssembleStream(state, 0.0); }
void BM_FrameAssembler_noisy(benchmark::State& state) { AssembleStream(state, 0.01); }

BENCHMARK(BM_FrameAssembler_clean)->Name("BM_FrameAssembler/clean")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FrameAssembler_noisy)->Name("BM_FrameAssembler/noisy")->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace ondrix
