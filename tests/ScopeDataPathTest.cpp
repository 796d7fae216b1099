// The scope's data path without a window: the virtual MPU on a pseudo-terminal, the real
// acquisition session, and a TPlot loaded with the scope's configuration.

#include <gtest/gtest.h>

#include <thread>

#include "RecordingNotifier.h"
#include "ScopeRig.h"
#include "acquisition/AcquisitionSession.h"
#include "platform/EventLoop.h"
#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "tools/mpu-sim/MemoryMap.h"
#include "workbench/PlotChannelSink.h"
#include "workbench/ScopePlotConfiguration.h"

namespace ondrix {
namespace {

using namespace std::chrono_literals;

class DemoHost : public SessionHost {
public:
    std::array<bool, kChannelCount> ChannelSwitches() const override { return {true, true, true, true}; }
    std::optional<std::array<ChannelRequest, kChannelCount>> ParseChannelRequests() override {
        std::array<ChannelRequest, kChannelCount> requests{};
        for (int c = 0; c < kChannelCount; ++c) requests[c] = {mpusim::kDemoAddresses[c], true};
        return requests;
    }
    void SessionReset() override {}
    void SessionStateChanged(bool) override {}
    void SessionDeviceLost(int, const std::string&) override {}
    void SessionDeviceRejoined() override {}
};

struct ScopeFixture {
    explicit ScopeFixture(const std::string& portsFolder)
        : link(settings, notifier, PortResolverForFolder(portsFolder)),
          sinks{PlotChannelSink(*plot.GetChannel(0)), PlotChannelSink(*plot.GetChannel(1)),
                PlotChannelSink(*plot.GetChannel(2)), PlotChannelSink(*plot.GetChannel(3))},
          session(link, loop, host, {&sinks[0], &sinks[1], &sinks[2], &sinks[3]}) {
        plot.OnRepaintRequest = [this] {
            ++repaintRequests;
            EXPECT_EQ(std::this_thread::get_id(), owner) << "the plot was touched off its own thread";
        };
    }

    TPlot plot;
    bool configured = (ConfigureScopePlot(plot), true);  // before the sinks take the channels
    PortSettings settings;
    RecordingNotifier notifier;
    SerialLink link;
    EventLoop loop;
    DemoHost host;
    PlotChannelSink sinks[kChannelCount];
    AcquisitionSession session;
    int repaintRequests = 0;
    std::thread::id owner = std::this_thread::get_id();
};

TEST(ScopeDataPath, SamplesScrollThePlotFromTheVirtualMpu) {
    test::VirtualMpuRig mpu;
    ScopeFixture f(mpu.PortsFolder());
    f.session.Run();
    ASSERT_TRUE(f.session.Running()) << (f.notifier.messages.empty() ? "" : f.notifier.messages[0]);

    const uint32_t width = f.session.ScreenWidth();
    TPlotChannel& first = *f.plot.GetChannel(0);
    ASSERT_TRUE(f.loop.RunUntil([&] { return first.GetCount() >= static_cast<int>(width) + 500; }, 10s));
    f.session.Stop();

    for (int c = 0; c < 4; ++c) {
        TPlotChannel& channel = *f.plot.GetChannel(c);
        ASSERT_EQ(channel.GetCount(), first.GetCount());
        EXPECT_EQ(channel.GetDataX(0), 0);
        EXPECT_EQ(channel.GetDataX(static_cast<int>(width)), width) << "the first sample comes after one screen";
        EXPECT_EQ(channel.GetDataX(channel.GetCount() - 1), channel.GetCount() - 1);
        EXPECT_TRUE(channel.GetVisible());
    }
    // Square wave of the demo: +-15000.
    const double square = f.plot.GetChannel(2)->GetDataY(first.GetCount() - 1);
    EXPECT_TRUE(square == 15000 || square == -15000) << square;

    // The X axis keeps the newest sample at its right end; the Y axes hold their range.
    const TPlotXAxis& x = *f.plot.GetXAxis(0);
    EXPECT_EQ(x.GetSpan(), 50000);
    EXPECT_EQ(x.GetMax(), first.GetDataX(first.GetCount() - 1));
    for (int a = 0; a < 4; ++a) {
        EXPECT_EQ(f.plot.GetYAxis(a)->GetMin(), -40000);
        EXPECT_EQ(f.plot.GetYAxis(a)->GetSpan(), 80000);
    }
    EXPECT_GT(f.repaintRequests, 0);
}

}  // namespace
}  // namespace ondrix
