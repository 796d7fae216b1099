#include "AcquisitionSession.h"

#include <thread>

namespace ondrix {

void AssembleSamples(FrameAssembler& assembler, const uint8_t* bytes, size_t count, SampleBatch& batch) {
    batch.frames.reserve(batch.frames.size() + count / kSampleFrameSize + 1);
    assembler.Feed(bytes, count, [&batch](const uint8_t* frame) { batch.frames.push_back(DecodeSampleValues(frame)); });
}

AcquisitionSession::AcquisitionSession(SerialLink& link, Executor& owner, SessionHost& host,
                                       const std::array<ChannelSink*, kChannelCount>& channels)
    : link_(link), owner_(owner), host_(host), channels_(channels) {}

AcquisitionSession::~AcquisitionSession() { timer_.Stop(); }

void AcquisitionSession::Run() {
    // The start button is disabled while running; should Run come anyway, the old tick must end
    // before the assembler it uses is reset.
    timer_.Stop();
    assembler_.Reset();
    sampleCounter_ = 0;
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
    SendRequest(*requests);

    running_ = true;
    const uint64_t generation = generation_;
    timer_.Start(kTickPeriod, [this, generation] { AcquisitionTick(generation); });
    host_.SessionStateChanged(true);
}

void AcquisitionSession::Stop() {
    timer_.Stop();
    link_.ClosePort();
    running_ = false;
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

// The MPU reads the request byte by byte; the pause after each byte gives a slow receiver
// time, and the purge afterwards drops sample bytes that came in while the request went out.
// Write results are not looked at: a lost request only means the MPU keeps its old addresses.
void AcquisitionSession::SendRequest(const std::array<ChannelRequest, kChannelCount>& channels) {
    const RequestFrame frame = BuildRequestFrame(channels);
    for (uint8_t byte : frame) {
        link_.WriteBytes(&byte, 1);
        std::this_thread::sleep_for(kRequestBytePause);
    }
    link_.PurgePort();
}

void AcquisitionSession::AcquisitionTick(uint64_t generation) {
    uint8_t bytes[SerialLink::kMaxRead];
    const size_t count = link_.ReadAvailable(bytes);
    if (count == 0) return;

    SampleBatch batch{generation, {}};
    AssembleSamples(assembler_, bytes, count, batch);
    if (batch.frames.empty()) return;

    std::weak_ptr<AcquisitionSession*> alive = alive_;
    owner_.Post([alive, batch = std::move(batch)] {
        if (auto session = alive.lock()) (*session)->Deliver(batch);
    });
}

void AcquisitionSession::Deliver(const SampleBatch& batch) {
    if (batch.generation != generation_) return;
    for (const SampleValues& values : batch.frames) {
        const double x = sampleCounter_;
        for (int c = 0; c < kChannelCount; ++c) channels_[c]->AddXY(x, values[c]);
        ++sampleCounter_;
    }
}

}  // namespace ondrix
