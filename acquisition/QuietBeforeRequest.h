#pragma once
// How long the line stays silent before the request goes out.
//
// The MPU collects the request's 18 bytes with a receive count that only a silence of 500 of its
// monitoring periods sets back to 0. Any byte it received before (a terminal's echo while the
// port was still in its default cooked state, a glitch when a cable was plugged in, noise)
// leaves that count out of step; the request is then cut in two, fails its CRC, and the MPU
// goes on reporting its old addresses with nothing to show for it. So the request waits until
// the scope's side has been silent for those 500 periods and a margin, counted from the open.
//
// The period is the MPU's, which the scope is never told. It is measured from the frames that
// arrive meanwhile (the MPU sends one per period, asked or not), and the measure sharpens as the
// wait goes on: by the time the request goes out it spans the whole wait. When nothing arrives
// within the line's settling time there is nothing to measure and nothing known to be
// listening, and the request goes out then. Bytes that are no frame yet may be a slow MPU's
// first frame, which is told only by the next: they are given kFirstFrameWait to become frames.
//
// Plain arithmetic on the times it is given, so that the rule is testable without waiting.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace ondrix {

class QuietBeforeRequest {
public:
    using Clock = std::chrono::steady_clock;

    // The silence after which the MPU drops a request it has only begun to receive.
    static constexpr int kMpuSilencePeriods = 500;
    // The longest wait. At the default 9600 baud a frame takes 10.4 ms on the line, so an MPU
    // there has a period of at least that and needs 5.2 s of quiet; 10 s serves every period up
    // to about 19 ms (some 50 frames a second), which takes in an MPU that reports at about the
    // pace of such a line. A slower MPU would keep RUN showing nothing for longer than a user
    // waits before trying again, so past the bound the request goes out anyway and is reported
    // as unsure.
    static constexpr std::chrono::milliseconds kLongestWait{10000};
    // The second after which an open line without frames counts as bringing no data.
    static constexpr std::chrono::milliseconds kFirstFrameWait{1000};

    // `silentSince`: when the scope's side fell silent (the open). `settle`: the wait without
    // frames.
    QuietBeforeRequest(Clock::time_point silentSince, Clock::duration settle);

    // A read at `now` brought `bytes` bytes, which completed `frames` frames.
    void Read(size_t bytes, uint64_t frames, Clock::time_point now);

    // When the request may go out, as far as is known now.
    Clock::time_point SendAt() const;
    // False only when frames arrived and a request sent at `at` comes before the MPU can be
    // ready for it: the measured period asks for more quiet than the bound allows, or one frame
    // came and no second one to measure a period by.
    bool LongEnough(Clock::time_point at) const;
    // The MPU's period as measured so far; nullopt until two reads brought frames.
    std::optional<Clock::duration> Period() const;

private:
    // The quiet an MPU with this period needs: 5 % above its 500 periods for its clock against
    // ours and for what is left of the measuring error, and one more period because the MPU
    // may only see the last bytes it was sent at its next period.
    static Clock::duration QuietNeeded(Clock::duration period);

    Clock::time_point silentSince_;
    Clock::duration settle_;
    bool heardBytes_ = false;
    // The first read that brought frames, and the frames brought by the reads after it until
    // the last of them.
    std::optional<Clock::time_point> firstFramesAt_;
    Clock::time_point lastFramesAt_{};
    uint64_t framesAfterFirst_ = 0;
};

}  // namespace ondrix
