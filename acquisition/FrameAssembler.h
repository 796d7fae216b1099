#pragma once
// Finds sample frames in a byte stream that has no frame marker.
//
// A window of the last bytes received is tested whenever it holds ten bytes and one more byte
// arrives, before that byte is stored. A window whose CRC matches is a frame, and the byte that
// triggered the test starts the next one; a window that fails slides on by one byte. After a
// stray or lost byte the assembler therefore re-locks within ten bytes of a clean stream. The
// window persists between Feed calls, so how the stream is cut into reads changes nothing.
// One consequence: a frame is delivered only when the byte after it arrives.
//
// In step and searching. While sliding, every window is a new guess, and one misaligned window
// in 65,536 passes the 16-bit CRC by chance: 7 to 19 phantom samples a minute were measured with
// 1 % of the bytes damaged and 1 % lost at 6,250 frames a second. So a window that passes after
// a slide is held, not delivered, until the next ten bytes form a frame in line with it; then
// both are delivered and the assembler is in step. If the next window fails instead, the held
// one is dropped as a chance match. In step (and at the start of a stream), each frame is
// delivered as soon as it is tested, as on a clean stream it always was; only the first frame
// after a resynchronisation comes one frame later.
//
// What no rule of this kind can catch is left, about one phantom sample in two minutes at that
// noise: a frame with damaged bytes that the CRC happens to accept (it misses one in about 8,600
// frames with two damaged bytes), and, in step, a frame short of one byte whose window passes by
// chance. Telling the latter apart would delay every frame of a clean stream by one frame.
//
// Not thread-safe: one thread feeds it (the acquisition tick), and Reset happens while no tick
// runs.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "WireProtocol.h"

namespace ondrix {

// What the assembler made of the bytes it was fed, since it was built or cleared.
struct FrameStatistics {
    uint64_t frames = 0;         // delivered
    uint64_t skippedBytes = 0;   // slid past, or part of a dropped chance match
    uint64_t resyncs = 0;        // times the assembler fell out of step
    // Held windows dropped because the next ten bytes were no frame: a few true chance matches,
    // most of them genuine frames followed by a damaged one.
    uint64_t chanceMatches = 0;
};

class FrameAssembler {
public:
    // Forgets the partial frame and any held one, as at the start of a stream; the statistics
    // go on counting.
    void Reset() {
        buffer_.fill(0);
        count_ = 0;
        step_ = Step::Starting;
        holding_ = false;
    }
    uint8_t Count() const { return count_; }
    const FrameStatistics& Statistics() const { return statistics_; }

    // Calls onFrame(const uint8_t* frame) for every frame completed by these bytes, in order.
    // `frame` points at the ten frame bytes and is valid only during the call.
    template <typename OnFrame>
    void Feed(const uint8_t* bytes, size_t count, OnFrame&& onFrame) {
        for (size_t i = 0; i < count; ++i) {
            if (count_ == kSampleFrameSize) TestWindow(onFrame);
            buffer_[count_++] = bytes[i];
        }
    }

private:
    template <typename OnFrame>
    void TestWindow(OnFrame& onFrame) {
        if (SampleFrameValid(buffer_.data())) {
            if (step_ != Step::Searching) {
                Deliver(buffer_, onFrame);
                step_ = Step::InStep;
            } else if (holding_) {
                Deliver(held_, onFrame);
                Deliver(buffer_, onFrame);
                holding_ = false;
                step_ = Step::InStep;
            } else {
                held_ = buffer_;
                holding_ = true;
            }
            buffer_.fill(0);
            count_ = 0;
            return;
        }
        if (holding_) {
            holding_ = false;
            ++statistics_.chanceMatches;
            statistics_.skippedBytes += kSampleFrameSize;
        }
        if (step_ == Step::InStep) ++statistics_.resyncs;
        step_ = Step::Searching;
        ++statistics_.skippedBytes;
        std::memmove(buffer_.data(), buffer_.data() + 1, kSampleFrameSize - 1);
        count_ = kSampleFrameSize - 1;
    }

    template <typename OnFrame>
    void Deliver(const std::array<uint8_t, 16>& frame, OnFrame& onFrame) {
        ++statistics_.frames;
        onFrame(static_cast<const uint8_t*>(frame.data()));
    }

    // Sixteen bytes of which ten are used, as the frame record of the protocol has it.
    std::array<uint8_t, 16> buffer_{};
    uint8_t count_ = 0;
    // Starting: nothing tested yet. In step: the last window passed and was delivered, so the
    // next one is in line with it. Searching: sliding after a failed test.
    enum class Step : uint8_t { Starting, InStep, Searching };
    Step step_ = Step::Starting;
    // While searching: a window that passed, waiting for the next ten bytes to confirm it.
    bool holding_ = false;
    std::array<uint8_t, 16> held_{};
    FrameStatistics statistics_;
};

}  // namespace ondrix
