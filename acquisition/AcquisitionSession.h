#pragma once
// The scope's live loop. Run prepares the four channels, opens the port, tells the MPU which
// addresses to report and starts a 20 ms tick; each tick drains the port, finds the sample
// frames and hands them to the owner's thread, where their values are appended to the four
// channels with the running sample number as X. Stop ends it; the channels keep their points.
//
// Threads: Run, Stop, PrefillChannels and every channel call happen on the owner's thread (the
// one behind `owner`). The tick runs on the timer's thread and touches only the serial link and
// the frame assembler; it hands each tick's frames over as one SampleBatch, tagged with the
// session's generation. Run and Stop start a new generation, so batches still queued from a
// stopped session are dropped instead of landing in cleared channels. Stop waits for a running
// tick before the port is closed.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "ChannelSink.h"
#include "FrameAssembler.h"
#include "SerialLink.h"
#include "WireProtocol.h"
#include "platform/Executor.h"
#include "platform/PeriodicTimer.h"

namespace ondrix {

// The window that owns the session: its channel panel, caption and buttons.
class SessionHost {
public:
    virtual ~SessionHost() = default;
    // The channel switches, channel 1 first.
    virtual std::array<bool, kChannelCount> ChannelSwitches() const = 0;
    // Applies the address-box rule to the four boxes in order (showing its messages) and
    // returns what to request; nullopt when a box cannot be converted, which abandons the start.
    virtual std::optional<std::array<ChannelRequest, kChannelCount>> ParseChannelRequests() = 0;
    // Run has reset the session: views kept of the previous data (the zoom history) are void.
    virtual void SessionReset() = 0;
    // Caption and RUN/STOP buttons follow the session.
    virtual void SessionStateChanged(bool running) = 0;
};

// The frames one tick completed, in order. A tick reads at most 8192 bytes, so at most 820.
struct SampleBatch {
    uint64_t generation = 0;
    std::vector<SampleValues> frames;
};

// The tick's work between the read and the hand-over: appends the frames these bytes complete.
void AssembleSamples(FrameAssembler& assembler, const uint8_t* bytes, size_t count, SampleBatch& batch);

class AcquisitionSession {
public:
    static constexpr std::chrono::milliseconds kTickPeriod{20};
    static constexpr std::chrono::milliseconds kRequestBytePause{2};
    static constexpr uint32_t kDefaultScreenWidth = 50000;

    AcquisitionSession(SerialLink& link, Executor& owner, SessionHost& host,
                       const std::array<ChannelSink*, kChannelCount>& channels);
    ~AcquisitionSession();
    AcquisitionSession(const AcquisitionSession&) = delete;
    AcquisitionSession& operator=(const AcquisitionSession&) = delete;

    void Run();
    void Stop();
    bool Running() const { return running_; }

    // Hides and clears the channels, adds one screen of zero points (X 0..ScreenWidth-1),
    // continues X at ScreenWidth and shows the channels whose switch is on.
    void PrefillChannels();

    uint32_t SampleCounter() const { return sampleCounter_; }
    // A recorded file that was opened continues the numbering after its points.
    void SetSampleCounter(uint32_t value) { sampleCounter_ = value; }
    uint32_t ScreenWidth() const { return screenWidth_; }
    void SetScreenWidth(uint32_t samples) { screenWidth_ = samples; }

private:
    void SendRequest(const std::array<ChannelRequest, kChannelCount>& channels);
    void AcquisitionTick(uint64_t generation);
    void Deliver(const SampleBatch& batch);

    SerialLink& link_;
    Executor& owner_;
    SessionHost& host_;
    std::array<ChannelSink*, kChannelCount> channels_;

    // Owner's thread.
    bool running_ = false;
    uint64_t generation_ = 0;
    uint32_t sampleCounter_ = 0;
    uint32_t screenWidth_ = kDefaultScreenWidth;

    // The tick's thread while running; the owner's thread while no tick runs.
    FrameAssembler assembler_;
    PeriodicTimer timer_;

    // Posted batches check it, so that one still queued when the session is destroyed is dropped.
    std::shared_ptr<AcquisitionSession*> alive_ = std::make_shared<AcquisitionSession*>(this);
};

}  // namespace ondrix
