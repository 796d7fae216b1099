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
// Not thread-safe: one thread feeds it (the acquisition tick), and Reset happens while no tick
// runs.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "WireProtocol.h"

namespace ondrix {

class FrameAssembler {
public:
    void Reset() {
        buffer_.fill(0);
        count_ = 0;
    }
    uint8_t Count() const { return count_; }

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
            onFrame(static_cast<const uint8_t*>(buffer_.data()));
            Reset();
        } else {
            std::memmove(buffer_.data(), buffer_.data() + 1, kSampleFrameSize - 1);
            count_ = kSampleFrameSize - 1;
        }
    }

    // Sixteen bytes of which ten are used, as the frame record of the protocol has it.
    std::array<uint8_t, 16> buffer_{};
    uint8_t count_ = 0;
};

}  // namespace ondrix
