#include "AcquisitionSession.h"

#include <utility>

namespace ondrix {

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

    // The request goes out on the acquisition thread, before its first tick: sending it takes
    // about 100 ms (the line's settling time, then 18 bytes with a pause after each), which the
    // window would otherwise spend frozen.
    running_ = true;
    const uint64_t generation = generation_;
    timer_.Start(kTickPeriod, [this, generation] { AcquisitionTick(generation); }, [this] { SendRequest(); });
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
    if (!batch.frames.empty()) host_.SessionSamplesAppended(firstX, batch.frames);
}

void AcquisitionSession::DeviceLost(uint64_t generation, const std::string& reason) {
    if (generation != generation_) return;
    waitingForDevice_ = true;
    ++statistics_.losses;
    host_.SessionDeviceLost(portSettings_.PortNumber, reason);
}

// The gap takes one sample number of its own, so the channels keep one point per X and the
// trace breaks there rather than drawing a line across the time the device was away.
void AcquisitionSession::DeviceRejoined(uint64_t generation) {
    if (generation != generation_) return;
    waitingForDevice_ = false;
    ++statistics_.rejoins;
    const double x = sampleCounter_;
    for (ChannelSink* channel : channels_) channel->AddNull(x);
    ++sampleCounter_;
    host_.SessionDeviceRejoined();
}

// ---- the acquisition thread ------------------------------------------------------------------

// The MPU reads the request byte by byte; the pause after each byte gives a slow receiver
// time, and the purge afterwards drops sample bytes that came in while the request went out.
// Write results are not looked at: a lost request only means the MPU keeps its old addresses.
// Stop cuts the request short.
void AcquisitionSession::SendRequest() {
    const RequestFrame frame = BuildRequestFrame(requests_);
    for (uint8_t byte : frame) {
        link_.WriteBytes(&byte, 1);
        if (!timer_.Pause(kRequestBytePause)) return;
    }
    link_.PurgePort();
}

void AcquisitionSession::AcquisitionTick(uint64_t generation) {
    if (deviceLost_) {
        TryRejoin(generation);
        return;
    }
    uint8_t bytes[SerialLink::kMaxRead];
    const size_t count = link_.ReadAvailable(bytes);
    if (count == 0) {
        if (link_.Lost()) LeaveLostDevice(generation);
        return;
    }

    SampleBatch batch{generation, {}, {}};
    AssembleSamples(assembler_, bytes, count, batch);
    if (batch.frames.empty()) return;
    batch.statistics = assembler_.Statistics();
    PostToOwner([batch = std::move(batch)](AcquisitionSession& session) { session.Deliver(batch); });
}

// The dead device is released at once: a USB adapter plugged in again gets its old device name
// back only when nobody holds the old one open.
void AcquisitionSession::LeaveLostDevice(uint64_t generation) {
    const std::string reason = link_.LossReason();
    link_.ClosePort();
    assembler_.Reset();
    deviceLost_ = true;
    nextRejoinAttempt_ = std::chrono::steady_clock::now() + kRejoinInterval;
    PostToOwner([generation, reason](AcquisitionSession& session) { session.DeviceLost(generation, reason); });
}

// COM<n> is resolved again at every attempt: the ports folder may now name another device.
void AcquisitionSession::TryRejoin(uint64_t generation) {
    const auto now = std::chrono::steady_clock::now();
    if (now < nextRejoinAttempt_) return;
    nextRejoinAttempt_ = now + kRejoinInterval;
    if (!link_.TryOpenPort(portSettings_)) return;
    deviceLost_ = false;
    SendRequest();
    PostToOwner([generation](AcquisitionSession& session) { session.DeviceRejoined(generation); });
}

void AcquisitionSession::PostToOwner(std::function<void(AcquisitionSession&)> event) {
    std::weak_ptr<AcquisitionSession*> alive = alive_;
    owner_.Post([alive, event = std::move(event)] {
        if (auto session = alive.lock()) event(**session);
    });
}

}  // namespace ondrix
