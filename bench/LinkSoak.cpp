// ondrix-link-soak: what the real acquisition path delivers from a clean or noisy line over a
// long run.
//
// The virtual MPU serves a pseudo-terminal on a thread of its own and keeps every frame it
// sends, as its firmware built it (before line noise). The real serial link and acquisition
// session read that line as COM1 of a ports folder of their own, into four channels that only
// record. The channels ask for the sample counter, sine, noise and damped oscillation, so that
// no two frames of a run are alike. Afterwards every delivered sample is held against what the
// MPU sent:
//
//  - phantom samples: delivered values that are not, in order, frames the MPU sent (a window
//    the CRC let through by chance, or a damaged frame it failed to catch);
//  - gaps in the sample counter (channel 1 is the MPU's 16-bit frame counter) and the frames
//    missing in them: frames lost between the MPU's transmitter and the channels;
//  - the share of the sent frames that reached the channels, and the link's own statistics.
//
// The load average at the start and the end goes with the figures: on a busy machine the MPU's
// thread or the acquisition thread runs late, and that shows as gaps a quiet machine would not
// have. The two standard measurements, best made on a quiet machine:
//
//     build/bench/ondrix-link-soak --rate 6250 --corrupt 0.01 --drop 0.01 --seconds 60
//     build/bench/ondrix-link-soak --rate 10000 --seconds 60
//
// SIGINT or SIGTERM ends the run early; the figures then cover the time run. Exit status: 0
// measured (whatever the figures say: this reports, it does not judge), 1 the run could not be
// made, 2 bad options.

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "acquisition/AcquisitionSession.h"
#include "acquisition/SerialLink.h"
#include "platform/EventLoop.h"
#include "platform/Notifier.h"
#include "platform/PortResolver.h"
#include "tests/ScopeRig.h"
#include "tools/mpu-sim/MemoryMap.h"

namespace ondrix {
namespace {

constexpr int kRunDone = 0;
constexpr int kRunFailed = 1;
constexpr int kBadOptions = 2;

constexpr const char* kProgram = "ondrix-link-soak";

std::atomic<bool> interrupted{false};

void OnSignal(int) { interrupted = true; }

// ---- Options ---------------------------------------------------------------------------------

struct SoakOptions {
    double seconds = 60;
    double rate = 6250;  // frames per second
    double corruptRate = 0;
    double dropRate = 0;
    uint32_t seed = 1;
};

struct SoakCommand {
    std::optional<SoakOptions> options;
    bool help = false;
    std::string error;
};

const char* const kUsage =
    "usage: ondrix-link-soak [--seconds S] [--rate FRAMES_PER_SECOND] [--corrupt RATE] [--drop RATE]\n"
    "                        [--seed N]\n"
    "  --seconds S    how long the session runs (default 60)\n"
    "  --rate R       frames the virtual MPU sends per second (default 6250); its period is\n"
    "                 round(1e6 / R) microseconds\n"
    "  --corrupt P    probability per sent byte of being damaged (default 0)\n"
    "  --drop P       probability per sent byte of being lost (default 0)\n"
    "  --seed N       seed of the line noise (default 1)\n";

// A real-valued option and the interval it must lie in.
struct RealOption {
    const char* flag;
    double SoakOptions::*field;
    double low;
    bool lowIncluded;
    double high;
};

// The rate's upper bound keeps the period at one microsecond or more.
const RealOption kRealOptions[] = {
    {"--seconds", &SoakOptions::seconds, 0, false, 1e6},
    {"--rate", &SoakOptions::rate, 1, true, 1e6},
    {"--corrupt", &SoakOptions::corruptRate, 0, true, 1},
    {"--drop", &SoakOptions::dropRate, 0, true, 1},
};

std::optional<double> ParseReal(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<uint32_t> ParseSeed(const std::string& text) {
    // strtoull would take "-1" as a huge number; only plain digits are a seed.
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    errno = 0;
    const unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE || value > UINT32_MAX) return std::nullopt;
    return static_cast<uint32_t>(value);
}

std::string Describe(const RealOption& option) {
    std::ostringstream text;
    text << std::setprecision(10) << option.flag << " takes a number " << (option.lowIncluded ? "from " : "above ")
         << option.low << (option.lowIncluded ? " to " : " up to ") << option.high;
    return text.str();
}

bool KnownFlag(const std::string& flag) {
    return flag == "--seed" || std::any_of(std::begin(kRealOptions), std::end(kRealOptions),
                                           [&flag](const RealOption& option) { return flag == option.flag; });
}

// Reads the value of `flag` into `options`; returns what is wrong with it, or empty.
std::string TakeValue(const std::string& flag, const std::string& value, SoakOptions& options) {
    if (flag == "--seed") {
        const auto seed = ParseSeed(value);
        if (!seed) return "--seed takes a whole number from 0 to 4294967295, not '" + value + "'";
        options.seed = *seed;
        return {};
    }
    for (const RealOption& option : kRealOptions) {
        if (flag != option.flag) continue;
        const auto number = ParseReal(value);
        const bool aboveLow = number && (option.lowIncluded ? *number >= option.low : *number > option.low);
        if (!aboveLow || *number > option.high) return Describe(option) + ", not '" + value + "'";
        options.*option.field = *number;
        return {};
    }
    return "unknown option '" + flag + "'";
}

SoakCommand ParseCommand(const std::vector<std::string>& arguments) {
    SoakCommand command;
    SoakOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& flag = arguments[i];
        if (flag == "--help" || flag == "-h") {
            command.help = true;
            return command;
        }
        if (!KnownFlag(flag)) {
            const bool looksLikeOption = flag.rfind("-", 0) == 0;
            command.error = (looksLikeOption ? "unknown option '" : "unexpected argument '") + flag + "'";
            return command;
        }
        if (i + 1 == arguments.size()) {
            command.error = flag + " needs a value";
            return command;
        }
        command.error = TakeValue(flag, arguments[++i], options);
        if (!command.error.empty()) return command;
    }
    command.options = options;
    return command;
}

std::chrono::microseconds PeriodFor(double framesPerSecond) {
    return std::chrono::microseconds(std::llround(1e6 / framesPerSecond));
}

// ---- The session's surroundings --------------------------------------------------------------

struct RecordedPoint {
    double x;
    double y;
    bool null;
};

class RecordingChannel : public ChannelSink {
public:
    void Clear() override { points_.clear(); }
    void AddXY(double x, double y) override { points_.push_back({x, y, false}); }
    void AddNull(double x) override { points_.push_back({x, 0, true}); }
    bool Visible() const override { return visible_; }
    void SetVisible(bool visible) override { visible_ = visible; }

    void Reserve(size_t points) { points_.reserve(points); }
    const std::vector<RecordedPoint>& Points() const { return points_; }

private:
    std::vector<RecordedPoint> points_;
    bool visible_ = true;
};

// The counter first, for the gaps; noise makes every frame of a run unlike every other.
constexpr std::array<ChannelRequest, kChannelCount> kRequests = {{{mpusim::kSampleCounterAddress, true},
                                                                  {mpusim::kSineAddress, true},
                                                                  {mpusim::kNoiseAddress, true},
                                                                  {mpusim::kDampedAddress, true}}};

// Losses are told as they happen, so that a reader of a long run sees when.
class SoakHost : public SessionHost {
public:
    explicit SoakHost(std::chrono::steady_clock::time_point start) : start_(start) {}

    std::array<bool, kChannelCount> ChannelSwitches() const override { return {true, true, true, true}; }
    std::optional<std::array<ChannelRequest, kChannelCount>> ParseChannelRequests() override { return kRequests; }
    void SessionReset() override {}
    void SessionStateChanged(bool) override {}
    void SessionDeviceLost(int portNumber, const std::string& reason) override {
        std::cerr << kProgram << ": COM" << portNumber << " lost after " << SecondsSinceStart() << " s: " << reason
                  << '\n';
    }
    void SessionDeviceRejoined() override {
        std::cerr << kProgram << ": device back after " << SecondsSinceStart() << " s\n";
    }

private:
    double SecondsSinceStart() const {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
    }

    std::chrono::steady_clock::time_point start_;
};

class StderrNotifier : public Notifier {
public:
    void ShowMessage(const std::string& text) override { std::cerr << kProgram << ": " << text << '\n'; }
    MessageAnswer MessageBox(const std::string& text, const std::string&, MessageButtons) override {
        ShowMessage(text);
        return MessageAnswer::Ok;
    }
};

// ---- Figures ---------------------------------------------------------------------------------

// The values of each delivered sample, channel 1 first. The Null points that mark a rejoin carry
// no sample and are left out.
std::vector<SampleValues> DeliveredSamples(const std::array<RecordingChannel, kChannelCount>& channels) {
    const auto byLength = [](const RecordingChannel& a, const RecordingChannel& b) {
        return a.Points().size() < b.Points().size();
    };
    const auto [shortest, longest] = std::minmax_element(channels.begin(), channels.end(), byLength);
    const size_t length = shortest->Points().size();
    if (longest->Points().size() != length)
        std::cerr << kProgram << ": the channels hold different numbers of points; comparing the common part\n";
    std::vector<SampleValues> samples;
    samples.reserve(length);
    for (size_t i = 0; i < length; ++i) {
        if (channels[0].Points()[i].null) continue;
        SampleValues values{};
        for (int c = 0; c < kChannelCount; ++c) values[c] = static_cast<int16_t>(channels[c].Points()[i].y);
        samples.push_back(values);
    }
    return samples;
}

struct SubsequenceCheck {
    uint64_t phantoms = 0;
    // Sent frames passed over between the first and the last delivered one: the losses, counted
    // from the MPU's own record rather than from the counter.
    uint64_t skippedSent = 0;
};

// Each delivered sample must be a sent frame later than the one before it. The cursor stays
// where it was after a phantom, so that one stranger does not hide the genuine frames after it.
SubsequenceCheck CheckAgainstSent(const std::vector<SampleValues>& sent, const std::vector<SampleValues>& delivered) {
    SubsequenceCheck check;
    auto next = sent.begin();
    std::optional<std::vector<SampleValues>::const_iterator> first;
    uint64_t matched = 0;
    for (const SampleValues& values : delivered) {
        const auto found = std::find(next, sent.end(), values);
        if (found == sent.end()) {
            ++check.phantoms;
            continue;
        }
        if (!first) first = found;
        ++matched;
        next = found + 1;
    }
    if (first) check.skippedSent = static_cast<uint64_t>(next - *first) - matched;
    return check;
}

struct CounterGaps {
    uint64_t gaps = 0;
    uint64_t missingFrames = 0;
};

// A 16-bit counter cannot tell a repeat or a step back from a wrap: those count as a gap of
// (difference - 1) mod 65536 frames. A phantom sample usually makes two gaps of that kind, so
// these figures mean something only beside a phantom count of zero.
CounterGaps FindCounterGaps(const std::vector<SampleValues>& delivered) {
    CounterGaps found;
    for (size_t i = 1; i < delivered.size(); ++i) {
        const auto step = static_cast<uint16_t>(delivered[i][0] - delivered[i - 1][0]);
        if (step == 1) continue;
        ++found.gaps;
        found.missingFrames += static_cast<uint16_t>(step - 1);
    }
    return found;
}

// The MPU reads address 0 for every channel until the request arrives, so its frames are all
// zero until then; after it, the noise channel alone makes an all-zero frame a rarity.
uint64_t FramesBeforeRequest(std::vector<SampleValues>::const_iterator begin,
                             std::vector<SampleValues>::const_iterator end) {
    const auto isEmpty = [](const SampleValues& values) {
        return std::all_of(values.begin(), values.end(), [](int16_t value) { return value == 0; });
    };
    return static_cast<uint64_t>(std::find_if_not(begin, end, isEmpty) - begin);
}

// The 1, 5 and 15 minute load averages.
std::string LoadAverage() {
    std::ifstream file("/proc/loadavg");
    std::string one, five, fifteen;
    if (!(file >> one >> five >> fifteen)) return "unknown";
    return one + " " + five + " " + fifteen;
}

double Percent(uint64_t part, uint64_t whole) { return whole == 0 ? 0.0 : 100.0 * part / whole; }

// ---- The run ---------------------------------------------------------------------------------

struct SoakResult {
    double seconds = 0;
    uint64_t framesSent = 0;
    uint64_t framesSentBeforeRequest = 0;
    uint64_t samplesDelivered = 0;
    SubsequenceCheck subsequence;
    CounterGaps counterGaps;
    LinkStatistics link;
    std::string loadAtStart;
    std::string loadAtEnd;
};

void PrintFigure(std::ostream& out, const char* name, const std::string& value) {
    out << name << ": " << value << '\n';
}

template <typename Number>
std::string Text(Number value, int decimals = 0) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(decimals) << value;
    return text.str();
}

void PrintReport(std::ostream& out, const SoakOptions& options, const SoakResult& result) {
    const uint64_t sentAfterRequest = result.framesSent - result.framesSentBeforeRequest;
    const FrameStatistics& assembler = result.link.assembler;
    const uint64_t notHandedOver =
        assembler.frames > result.samplesDelivered ? assembler.frames - result.samplesDelivered : 0;

    PrintFigure(out, "frames per second asked for", Text(options.rate, 1));
    PrintFigure(out, "mpu period us", Text(PeriodFor(options.rate).count()));
    PrintFigure(out, "corrupt rate", Text(options.corruptRate, 4));
    PrintFigure(out, "drop rate", Text(options.dropRate, 4));
    PrintFigure(out, "seed", Text(options.seed));
    PrintFigure(out, "seconds run", Text(result.seconds, 2));
    PrintFigure(out, "load average at start", result.loadAtStart);
    PrintFigure(out, "frames sent", Text(result.framesSent));
    PrintFigure(out, "frames sent per second", Text(result.seconds > 0 ? result.framesSent / result.seconds : 0.0, 1));
    PrintFigure(out, "frames sent before the request took effect", Text(result.framesSentBeforeRequest));
    PrintFigure(out, "samples delivered", Text(result.samplesDelivered));
    PrintFigure(out, "delivered percent of sent", Text(Percent(result.samplesDelivered, result.framesSent), 3));
    PrintFigure(out, "delivered percent of sent after the request",
                Text(Percent(result.samplesDelivered, sentAfterRequest), 3));
    PrintFigure(out, "phantom samples", Text(result.subsequence.phantoms));
    PrintFigure(out, "counter gaps", Text(result.counterGaps.gaps));
    PrintFigure(out, "frames missing in counter gaps", Text(result.counterGaps.missingFrames));
    PrintFigure(out, "sent frames skipped between first and last delivered", Text(result.subsequence.skippedSent));
    PrintFigure(out, "assembler frames", Text(assembler.frames));
    PrintFigure(out, "assembler skipped bytes", Text(assembler.skippedBytes));
    PrintFigure(out, "assembler resyncs", Text(assembler.resyncs));
    PrintFigure(out, "assembler chance matches", Text(assembler.chanceMatches));
    PrintFigure(out, "assembled but dropped at stop", Text(notHandedOver));
    PrintFigure(out, "device losses", Text(result.link.losses));
    PrintFigure(out, "device rejoins", Text(result.link.rejoins));
    PrintFigure(out, "load average at end", result.loadAtEnd);

    out << "summary: " << Text(options.rate) << " frames/s for " << Text(result.seconds, 1) << " s, "
        << Text(options.corruptRate * 100, 2) << " % corrupted and " << Text(options.dropRate * 100, 2)
        << " % dropped bytes: " << result.subsequence.phantoms << " phantom samples, " << result.counterGaps.gaps
        << " counter gaps (" << result.counterGaps.missingFrames << " frames missing), "
        << Text(Percent(result.samplesDelivered, result.framesSent), 2) << " % of " << result.framesSent
        << " frames delivered (load " << result.loadAtStart << " -> " << result.loadAtEnd << ")\n";
}

// The figures that come from holding the delivered samples against the frames sent; those of
// the session are sent[sessionBegin, sessionEnd).
void CompareWithSent(const std::vector<SampleValues>& sent, size_t sessionBegin, size_t sessionEnd,
                     const std::vector<SampleValues>& delivered, SoakResult& result) {
    result.framesSent = sessionEnd - sessionBegin;
    result.framesSentBeforeRequest = FramesBeforeRequest(sent.begin() + static_cast<std::ptrdiff_t>(sessionBegin),
                                                         sent.begin() + static_cast<std::ptrdiff_t>(sessionEnd));
    result.samplesDelivered = delivered.size();
    // Against everything the MPU sent, not only during the session: a frame from before Run
    // would be stale, but no phantom.
    result.subsequence = CheckAgainstSent(sent, delivered);
    result.counterGaps = FindCounterGaps(delivered);
}

int RunSoak(const SoakOptions& options) {
    SoakResult result;
    result.loadAtStart = LoadAverage();

    const mpusim::VirtualMpuOptions mpuOptions{PeriodFor(options.rate), options.corruptRate, options.dropRate,
                                               options.seed};
    // The MPU runs from before the session opens the port until it is halted; headroom for a
    // second of that and for a rate a little above the nominal one.
    const auto expectedFrames = static_cast<size_t>(options.rate * (options.seconds * 1.05 + 1));
    test::VirtualMpuRig mpu(mpuOptions, expectedFrames);

    StderrNotifier notifier;
    PortSettings settings;
    SerialLink link(settings, notifier, PortResolverForFolder(mpu.PortsFolder()));
    EventLoop loop;
    std::array<RecordingChannel, kChannelCount> channels;
    for (RecordingChannel& channel : channels) channel.Reserve(expectedFrames);
    const auto start = std::chrono::steady_clock::now();
    SoakHost host(start);
    AcquisitionSession session(link, loop, host, {&channels[0], &channels[1], &channels[2], &channels[3]});
    session.SetScreenWidth(0);

    const size_t sentBeforeRun = mpu.SentCount();
    session.Run();
    if (!session.Running()) {
        std::cerr << kProgram << ": the session did not start: " << link.LastFailureDetail() << '\n';
        return kRunFailed;
    }
    loop.RunUntil([&] { return interrupted.load() || mpu.Failed(); },
                  std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                      std::chrono::duration<double>(options.seconds)));
    // The same span for the time as for the frames sent, so that their ratio is the MPU's rate.
    const size_t sentAtStop = mpu.SentCount();
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    session.Stop();
    mpu.Unplug();
    result.loadAtEnd = LoadAverage();
    if (mpu.Failed()) {
        std::cerr << kProgram << ": the virtual MPU stopped: " << mpu.Failure() << '\n';
        return kRunFailed;
    }

    CompareWithSent(mpu.Sent(), sentBeforeRun, sentAtStop, DeliveredSamples(channels), result);
    result.link = session.Statistics();

    PrintReport(std::cout, options, result);
    return kRunDone;
}

}  // namespace
}  // namespace ondrix

int main(int argc, char** argv) {
    const ondrix::SoakCommand command = ondrix::ParseCommand({argv + 1, argv + argc});
    if (command.help) {
        std::cout << ondrix::kUsage;
        return ondrix::kRunDone;
    }
    if (!command.options) {
        std::cerr << ondrix::kProgram << ": " << command.error << '\n' << ondrix::kUsage;
        return ondrix::kBadOptions;
    }
    std::signal(SIGINT, ondrix::OnSignal);
    std::signal(SIGTERM, ondrix::OnSignal);
    try {
        return ondrix::RunSoak(*command.options);
    } catch (const std::exception& error) {
        std::cerr << ondrix::kProgram << ": " << error.what() << '\n';
        return ondrix::kRunFailed;
    }
}
