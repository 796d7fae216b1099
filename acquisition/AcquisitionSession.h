#pragma once
// The scope's live loop. Run prepares the four channels, opens the port and starts the
// acquisition's own thread, which first tells the MPU which addresses to report and then, every
// 20 ms, drains the port, finds the sample frames and hands them to the owner's thread, where
// their values are appended to the four channels with the running sample number as X. Stop ends
// it; the channels keep their points.
//
// The request goes out only once the line has been quiet long enough for the MPU to take it (see
// QuietBeforeRequest); the statistics then say whether it went out in time. A link that stays
// open but delivers no frame for kNoDataTime is flagged in the statistics too, until frames come.
//
// A device that goes away while running (a USB adapter pulled, the MPU's side of a
// pseudo-terminal closed) is *lost*: the session tells its host, releases the dead device and
// every 500 ms tries to open the same device again, quietly, never another one in its place
// (SerialLink::TryRejoin). When the device is back it sends the request again and carries on:
// the sample numbers continue, and one Null point per channel marks the gap so that the traces
// break there. Nothing received before the loss is dropped. Reopen, for new port settings while
// running, breaks the traces the same way.
//
// Threads: Run, Stop, Reopen, PrefillChannels, every channel call and every host call happen on
// the owner's thread (the one behind `owner`). The acquisition thread touches only the serial
// link and the frame assembler; it hands each tick's frames over as one SampleBatch, and the
// loss, the rejoin and the request's fate as events, all tagged with the session's generation.
// Run and Stop start a new generation, so whatever is still queued from a stopped session is
// dropped instead of landing in cleared channels. Stop cuts a request or a wait short and waits
// for the acquisition thread before the port is closed.

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "ChannelSink.h"
#include "FrameAssembler.h"
#include "LinkStatistics.h"
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
    // The device behind COM<portNumber> has gone; the session, still running, waits for it.
    virtual void SessionDeviceLost(int portNumber, const std::string& reason) = 0;
    // The lost device is back; the request goes out again once the line has been quiet.
    virtual void SessionDeviceRejoined() = 0;
    // Reopen took the new port settings: the traces break here.
    virtual void SessionReopened() {}
    // The request went out, or frames stopped or came again: Statistics() says how the link
    // fares. For a host that shows it.
    virtual void SessionLinkChanged() {}
    // One batch's samples were appended to the channels: frame i at X `firstX` + i. For what
    // watches the signal as it arrives; a host without such a watcher ignores them.
    virtual void SessionSamplesAppended(double /*firstX*/, const std::vector<SampleValues>& /*frames*/) {}
};

// The frames one tick completed, in order. A tick reads at most 8192 bytes, so at most 820.
struct SampleBatch {
    uint64_t generation = 0;
    std::vector<SampleValues> frames;
    FrameStatistics statistics;  // the assembler's, after this tick
};

// The tick's work between the read and the hand-over: appends the frames these bytes complete.
void AssembleSamples(FrameAssembler& assembler, const uint8_t* bytes, size_t count, SampleBatch& batch);

class AcquisitionSession {
public:
    static constexpr std::chrono::milliseconds kTickPeriod{20};
    static constexpr std::chrono::milliseconds kRequestBytePause{2};
    static constexpr std::chrono::milliseconds kRejoinInterval{500};
    // An open link without a frame for this long is flagged: long enough that a healthy MPU,
    // whatever its period, has sent something, short enough to tell a stalled one at a glance.
    static constexpr std::chrono::seconds kNoDataTime{1};
    static constexpr uint32_t kDefaultScreenWidth = 50000;

    AcquisitionSession(SerialLink& link, Executor& owner, SessionHost& host,
                       const std::array<ChannelSink*, kChannelCount>& channels);
    ~AcquisitionSession();
    AcquisitionSession(const AcquisitionSession&) = delete;
    AcquisitionSession& operator=(const AcquisitionSession&) = delete;

    void Run();
    void Stop();
    // While running: closes the port, opens it with the settings as they are now and sends the
    // request again. The samples go on after one Null point. False when it is not running, or
    // when the port cannot be opened with them: its message has been shown and the session has
    // stopped.
    bool Reopen();
    // From a successful Run until Stop, also while waiting for a lost device.
    bool Running() const { return running_; }
    bool WaitingForDevice() const { return waitingForDevice_; }
    // The settings the port was last opened with by Run or Reopen.
    const PortSettings& PortInUse() const { return portSettings_; }
    // While waiting: the device waited for, as the user may recognise it.
    const std::string& AwaitedDevice() const { return awaitedDevice_; }

    // Hides and clears the channels, adds one screen of zero points (X 0..ScreenWidth-1),
    // continues X at ScreenWidth and shows the channels whose switch is on.
    void PrefillChannels();

    uint32_t SampleCounter() const { return sampleCounter_; }
    // A recorded file that was opened continues the numbering after its points.
    void SetSampleCounter(uint32_t value) { sampleCounter_ = value; }
    uint32_t ScreenWidth() const { return screenWidth_; }
    void SetScreenWidth(uint32_t samples) { screenWidth_ = samples; }
    // While running, as of the last batch handed over; after Stop, complete.
    const LinkStatistics& Statistics() const { return statistics_; }

private:
    using Clock = std::chrono::steady_clock;

    // Starts the acquisition thread, which sends the request first; `firstEvent` runs on the
    // owner's thread before anything that thread hands over.
    void StartAcquisition(std::function<void(AcquisitionSession&, uint64_t)> firstEvent = {});

    // ---- the acquisition thread ----
    void SendRequest(uint64_t generation);
    // Keeps the line quiet until the request may go out. Whether the quiet was long enough;
    // nullopt when Stop cut it short or the device went away.
    std::optional<bool> KeepLineQuiet();
    void AcquisitionTick(uint64_t generation);
    void WatchForSilence(uint64_t generation, Clock::time_point now);
    void LeaveLostDevice(uint64_t generation);
    void TryRejoin(uint64_t generation);
    // Runs `event` on the owner's thread, unless the session is gone by then.
    void PostToOwner(std::function<void(AcquisitionSession&)> event);

    // ---- the owner's thread ----
    void Deliver(const SampleBatch& batch);
    void RequestSent(uint64_t generation, RequestOutcome outcome);
    void NoData(uint64_t generation);
    void DeviceLost(uint64_t generation, const std::string& reason, const std::string& awaited);
    void DeviceRejoined(uint64_t generation);
    void Reopened(uint64_t generation);
    // One Null point per channel with an X of its own.
    void AddGap();

    SerialLink& link_;
    Executor& owner_;
    SessionHost& host_;
    std::array<ChannelSink*, kChannelCount> channels_;

    // Owner's thread.
    bool running_ = false;
    bool waitingForDevice_ = false;
    std::string awaitedDevice_;
    uint64_t generation_ = 0;
    uint32_t sampleCounter_ = 0;
    uint32_t screenWidth_ = kDefaultScreenWidth;
    LinkStatistics statistics_;

    // Set by Run (the settings by Reopen too) while the acquisition thread does not run.
    std::array<ChannelRequest, kChannelCount> requests_{};
    PortSettings portSettings_;

    // The acquisition thread's while running; the owner's thread's while it does not run.
    FrameAssembler assembler_;
    bool deviceLost_ = false;
    Clock::time_point nextRejoinAttempt_{};
    // Since the request went out: the last frame, and whether the silence since was told.
    Clock::time_point lastFrameAt_{};
    bool noDataTold_ = false;
    PeriodicTimer timer_;

    // Posted events check it, so that one still queued when the session is destroyed is dropped.
    std::shared_ptr<AcquisitionSession*> alive_ = std::make_shared<AcquisitionSession*>(this);
};

}  // namespace ondrix
