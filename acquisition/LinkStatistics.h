#pragma once
// How the link has fared since RUN, and its one-line text, which the scope's status bar and the
// headless recorder's last line share so that both say the same thing in the same words.

#include <cstdint>
#include <string>

#include "FrameAssembler.h"

namespace ondrix {

// What became of the last request, as far as the scope can tell: the MPU acknowledges nothing.
enum class RequestOutcome {
    // Not sent yet: the line is still kept quiet before it.
    Pending,
    // Sent after as much quiet as an MPU with the measured period needs to take it, or after the
    // settling time when no frame came to measure a period from.
    Sent,
    // Frames arrived, but the request went out before the line had been quiet for as long as the
    // MPU needs to be ready for it, or not all of its bytes left: the MPU may still report the
    // addresses it had.
    Unsure,
};

struct LinkStatistics {
    FrameStatistics assembler;
    uint64_t losses = 0;
    uint64_t rejoins = 0;
    RequestOutcome request = RequestOutcome::Pending;
    // The port is open and the request went out, but no frame has come for a while: a wrong
    // address range that stops the MPU, a crashed firmware, a wrong device or baud rate.
    bool noData = false;
    // The COM number the session runs on.
    int portNumber = 0;
};

// "frames=N skipped=B resyncs=R chance=C losses=L", followed by " request=unsure" when the
// request may not have been taken.
std::string LinkStatisticsText(const LinkStatistics& statistics);
// The same with the counts of trouble left out while they are 0: "frames=4719" on a clean line.
std::string LinkStatisticsBrief(const LinkStatistics& statistics);

}  // namespace ondrix
