#include "AcquisitionSession.h"

#include <utility>

#include "QuietBeforeRequest.h"

namespace ondrix {

namespace {

// How often the quiet line is looked at while the request waits: the frames that arrive are
// counted to measure the MPU's period, and a short step keeps Stop and a loss prompt.
constexpr std::chrono::milliseconds kQuietStep{5};

}  // namespace

void AssembleSamples(FrameAssembler& assembler, const uint8_t* bytes, size_t count, SampleBatch& batch) {
    batch.frames.reserve(batch.frames.size() + count / kSampleFrameSize + 1);
    assembler.Feed(bytes, count, [&batch](const uint8_t* frame) { batch.frames.push_back(DecodeSampleValues(frame)); });
}

AcquisitionSession::AcquisitionSession(SerialLink& link, Executor& owner, SessionHost& host,
                                       const std::array<ChannelSink*, kChannelCount>& channels)
    : link_(link), owner_(owner), host_(host), channels_(channels) {}

AcquisitionSession::~AcquisitionSession() { timer_.Stop(); }

// ---- the owner's thread ----------------------------------------------------------------------

void AcquisitionSession::Run() {
    // The start button is disabled while running; should Run come anyway, the old acquisition
    // thread must end before the state it uses is reset.
    timer_.Stop();
    assembler_ = FrameAssembler();
    deviceLost_ = false;
    sampleCounter_ = 0;
    waitingForDevice_ = false;
    statistics_ = {};
    ++generation_;
    host_.SessionReset();

    PrefillChannels();
    if (!link_.OpenPort()) return;

    const auto requests = host_.ParseChannelRequests();
    if (!requests) {
        // The start is abandoned; closing the port again keeps the link and the buttons, which
        // still offer RUN, telling the same story.
        link_.ClosePort();
        return;
    }
    requests_ = *requests;
    portSettings_ = link_.OpenSettings();
    statistics_.portNumber = portSettings_.PortNumber;

    running_ = true;
    StartAcquisition();
    host_.SessionStateChanged(true);
}

void AcquisitionSession::Stop() {
    timer_.Stop();
    link_.ClosePort();
    running_ = false;
    waitingForDevice_ = false;
    // The acquisition thread has ended: its figures can be read directly, the last tick's too.
    statistics_.assembler = assembler_.Statistics();
    ++generation_;
    host_.SessionStateChanged(false);
}

// The generation stays: what the old thread handed over before it ended still lands, before the
// gap, and the gap comes as the new thread's first event, so the order of samples holds.
bool AcquisitionSession::Reopen() {
    if (!running_) return false;
    timer_.Stop();
    if (!link_.OpenPort()) {
        Stop();
        return false;
    }
    portSettings_ = link_.OpenSettings();
    assembler_.Reset();
    deviceLost_ = false;
    StartAcquisition([](AcquisitionSession& session, uint64_t generation) { session.Reopened(generation); });
    return true;
}

// The request goes out on the acquisition thread, before its first tick: the line is kept quiet
// first, for up to seconds, which the window would otherwise spend frozen.
void AcquisitionSession::StartAcquisition(std::function<void(AcquisitionSession&, uint64_t)> firstEvent) {
    const uint64_t generation = generation_;
    timer_.Start(
        kTickPeriod, [this, generation] { AcquisitionTick(generation); },
        [this, generation, firstEvent = std::move(firstEvent)] {
            if (firstEvent)
                PostToOwner([generation, firstEvent](AcquisitionSession& session) { firstEvent(session, generation); });
            SendRequest(generation);
        });
}

void AcquisitionSession::PrefillChannels() {
    for (ChannelSink* channel : channels_) channel->SetVisible(false);
    for (ChannelSink* channel : channels_) channel->Clear();
    for (uint32_t i = 0; i < screenWidth_; ++i)
        for (ChannelSink* channel : channels_) channel->AddXY(i, 0.0);
    sampleCounter_ = screenWidth_;
    const auto switches = host_.ChannelSwitches();
    for (int c = 0; c < kChannelCount; ++c)
        if (switches[c]) channels_[c]->SetVisible(true);
}

void AcquisitionSession::Deliver(const SampleBatch& batch) {
    if (batch.generation != generation_) return;
    const double firstX = sampleCounter_;
    for (const SampleValues& values : batch.frames) {
        const double x = sampleCounter_;
        for (int c = 0; c < kChannelCount; ++c) channels_[c]->AddXY(x, values[c]);
        ++sampleCounter_;
    }
    statistics_.assembler = batch.statistics;
    if (batch.frames.empty()) return;
    host_.SessionSamplesAppended(firstX, batch.frames);
    if (statistics_.noData) {
        statistics_.noData = false;
        host_.SessionLinkChanged();
    }
}

void AcquisitionSession::RequestSent(uint64_t generation, RequestOutcome outcome) {
    if (generation != generation_) return;
    statistics_.request = outcome;
    host_.SessionLinkChanged();
}

void AcquisitionSession::NoData(uint64_t generation) {
    if (generation != generation_ || waitingForDevice_) return;
    statistics_.noData = true;
    host_.SessionLinkChanged();
}

void AcquisitionSession::DeviceLost(uint64_t generation, const std::string& reason, const std::string& awaited) {
    if (generation != generation_) return;
    waitingForDevice_ = true;
    awaitedDevice_ = awaited;
    statistics_.noData = false;
    ++statistics_.losses;
    host_.SessionDeviceLost(portSettings_.PortNumber, reason);
}

void AcquisitionSession::DeviceRejoined(uint64_t generation) {
    if (generation != generation_) return;
    waitingForDevice_ = false;
    ++statistics_.rejoins;
    statistics_.request = RequestOutcome::Pending;
    AddGap();
    host_.SessionDeviceRejoined();
}

void AcquisitionSession::Reopened(uint64_t generation) {
    if (generation != generation_) return;
    waitingForDevice_ = false;
    statistics_.noData = false;
    statistics_.request = RequestOutcome::Pending;
    statistics_.portNumber = portSettings_.PortNumber;
    AddGap();
    host_.SessionReopened();
}

// The gap takes one sample number of its own, so the channels keep one point per X and the
// trace breaks there rather than drawing a line across the time the device was away.
void AcquisitionSession::AddGap() {
    const double x = sampleCounter_;
    for (ChannelSink* channel : channels_) channel->AddNull(x);
    ++sampleCounter_;
}

// ---- the acquisition thread ------------------------------------------------------------------

// The MPU reads the request byte by byte; the pause after each byte gives a slow receiver
// time, and the purge afterwards drops sample bytes that came in while the request went out.
// A byte that did not leave makes the request unsure; the MPU then keeps its old addresses.
// Stop cuts the request short.
void AcquisitionSession::SendRequest(uint64_t generation) {
    const std::optional<bool> quietEnough = KeepLineQuiet();
    if (!quietEnough) return;
    const RequestFrame frame = BuildRequestFrame(requests_);
    bool allLeft = true;
    for (uint8_t byte : frame) {
        allLeft = link_.WriteBytes(&byte, 1) && allLeft;
        if (!timer_.Pause(kRequestBytePause)) return;
    }
    link_.PurgePort();
    lastFrameAt_ = Clock::now();
    noDataTold_ = false;
    const RequestOutcome outcome = *quietEnough && allLeft ? RequestOutcome::Sent : RequestOutcome::Unsure;
    PostToOwner([generation, outcome](AcquisitionSession& session) { session.RequestSent(generation, outcome); });
}

// The frames read meanwhile carry the old addresses and are dropped; they only measure the
// period. A separate assembler, so that the session's figures count only what is delivered.
std::optional<bool> AcquisitionSession::KeepLineQuiet() {
    QuietBeforeRequest quiet(Clock::now(), SerialLink::kSettleTime);
    FrameAssembler measure;
    uint8_t bytes[SerialLink::kMaxRead];
    for (;;) {
        const Clock::time_point now = Clock::now();
        const size_t count = link_.ReadAvailable(bytes);
        if (count == 0 && link_.Lost()) return std::nullopt;
        uint64_t frames = 0;
        measure.Feed(bytes, count, [&frames](const uint8_t*) { ++frames; });
        quiet.Read(count, frames, now);
        const Clock::time_point sendAt = quiet.SendAt();
        if (now >= sendAt) return quiet.LongEnough(now);
        if (!timer_.Pause(std::min<Clock::duration>(kQuietStep, sendAt - now))) return std::nullopt;
    }
}

void AcquisitionSession::AcquisitionTick(uint64_t generation) {
    if (deviceLost_) {
        TryRejoin(generation);
        return;
    }
    uint8_t bytes[SerialLink::kMaxRead];
    const size_t count = link_.ReadAvailable(bytes);
    const Clock::time_point now = Clock::now();
    if (count == 0) {
        if (link_.Lost()) {
            LeaveLostDevice(generation);
        } else {
            WatchForSilence(generation, now);
        }
        return;
    }

    SampleBatch batch{generation, {}, {}};
    AssembleSamples(assembler_, bytes, count, batch);
    if (batch.frames.empty()) {
        WatchForSilence(generation, now);
        return;
    }
    lastFrameAt_ = now;
    noDataTold_ = false;
    batch.statistics = assembler_.Statistics();
    PostToOwner([batch = std::move(batch)](AcquisitionSession& session) { session.Deliver(batch); });
}

// Told once per silence; the next batch with frames clears it on the owner's side.
void AcquisitionSession::WatchForSilence(uint64_t generation, Clock::time_point now) {
    if (noDataTold_ || now - lastFrameAt_ < kNoDataTime) return;
    noDataTold_ = true;
    PostToOwner([generation](AcquisitionSession& session) { session.NoData(generation); });
}

// The dead device is released at once: a USB adapter plugged in again gets its old device name
// back only when nobody holds the old one open.
void AcquisitionSession::LeaveLostDevice(uint64_t generation) {
    const std::string reason = link_.LossReason();
    link_.ClosePort();
    assembler_.Reset();
    deviceLost_ = true;
    nextRejoinAttempt_ = Clock::now() + kRejoinInterval;
    PostToOwner([generation, reason, awaited = link_.AwaitedDevice()](AcquisitionSession& session) {
        session.DeviceLost(generation, reason, awaited);
    });
}

// The host hears of the rejoin before the request goes out: the device is back, and the quiet
// before the request may take a while.
void AcquisitionSession::TryRejoin(uint64_t generation) {
    const auto now = Clock::now();
    if (now < nextRejoinAttempt_) return;
    nextRejoinAttempt_ = now + kRejoinInterval;
    if (!link_.TryRejoin()) return;
    deviceLost_ = false;
    PostToOwner([generation](AcquisitionSession& session) { session.DeviceRejoined(generation); });
    SendRequest(generation);
}

void AcquisitionSession::PostToOwner(std::function<void(AcquisitionSession&)> event) {
    std::weak_ptr<AcquisitionSession*> alive = alive_;
    owner_.Post([alive, event = std::move(event)] {
        if (auto session = alive.lock()) event(**session);
    });
}

}  // namespace ondrix
