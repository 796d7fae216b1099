#include "LinkStatistics.h"

#include <utility>

namespace ondrix {

namespace {

const char* RequestNote(const LinkStatistics& statistics) {
    return statistics.request == RequestOutcome::Unsure ? " request=unsure" : "";
}

}  // namespace

std::string LinkStatisticsText(const LinkStatistics& statistics) {
    const FrameStatistics& frames = statistics.assembler;
    return "frames=" + std::to_string(frames.frames) + " skipped=" + std::to_string(frames.skippedBytes) +
           " resyncs=" + std::to_string(frames.resyncs) + " chance=" + std::to_string(frames.chanceMatches) +
           " losses=" + std::to_string(statistics.losses) + RequestNote(statistics);
}

std::string LinkStatisticsBrief(const LinkStatistics& statistics) {
    const FrameStatistics& frames = statistics.assembler;
    std::string text = "frames=" + std::to_string(frames.frames);
    const std::pair<const char*, uint64_t> troubles[] = {{" skipped=", frames.skippedBytes},
                                                         {" resyncs=", frames.resyncs},
                                                         {" chance=", frames.chanceMatches},
                                                         {" losses=", statistics.losses}};
    for (const auto& [name, count] : troubles)
        if (count != 0) text += name + std::to_string(count);
    return text + RequestNote(statistics);
}

}  // namespace ondrix
