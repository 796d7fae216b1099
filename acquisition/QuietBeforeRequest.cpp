#include "QuietBeforeRequest.h"

#include <algorithm>

namespace ondrix {

QuietBeforeRequest::QuietBeforeRequest(Clock::time_point silentSince, Clock::duration settle)
    : silentSince_(silentSince), settle_(settle) {}

void QuietBeforeRequest::Read(size_t bytes, uint64_t frames, Clock::time_point now) {
    if (bytes > 0) heardBytes_ = true;
    if (frames == 0) return;
    if (!firstFramesAt_) {
        firstFramesAt_ = now;
        return;
    }
    framesAfterFirst_ += frames;
    lastFramesAt_ = now;
}

// The frames counted after the first read arrived between it and the last read with frames;
// the error of one period at either end shrinks with their number.
std::optional<QuietBeforeRequest::Clock::duration> QuietBeforeRequest::Period() const {
    if (framesAfterFirst_ == 0) return std::nullopt;
    return (lastFramesAt_ - *firstFramesAt_) / static_cast<Clock::rep>(framesAfterFirst_);
}

QuietBeforeRequest::Clock::duration QuietBeforeRequest::QuietNeeded(Clock::duration period) {
    return period * kMpuSilencePeriods * 21 / 20 + period;
}

QuietBeforeRequest::Clock::time_point QuietBeforeRequest::SendAt() const {
    const Clock::time_point settled = silentSince_ + settle_;
    if (!firstFramesAt_) return heardBytes_ ? std::max(settled, silentSince_ + kFirstFrameWait) : settled;
    const Clock::time_point bound = silentSince_ + kLongestWait;
    const std::optional<Clock::duration> period = Period();
    if (!period) return bound;
    return std::max(settled, std::min(bound, silentSince_ + QuietNeeded(*period)));
}

bool QuietBeforeRequest::LongEnough(Clock::time_point at) const {
    if (!firstFramesAt_) return true;
    const std::optional<Clock::duration> period = Period();
    return period && at - silentSince_ >= QuietNeeded(*period);
}

}  // namespace ondrix
