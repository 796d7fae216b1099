// The scope's plot as its configuration leaves it. The file (workbench/ScopePlot.cfg, compiled
// in) drives the first two tests: every value it assigns must read back from the configured plot
// through the property table, and every manager must hold the file's items and nothing else. The
// last test holds what the scope's code relies on, whatever the file says.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "acquisition/WireProtocol.h"
#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/component/PlotManagers.h"
#include "plot/config/PlotConfiguration.h"
#include "plot/config/PlotProperties.h"
#include "plot/core/PlotText.h"
#include "plot/views/PlotLegend.h"
#include "workbench/ScopePlotConfiguration.h"

namespace ondrix {
namespace {

class ScopePlotConfiguration : public ::testing::Test {
protected:
    void SetUp() override { ConfigureScopePlot(plot); }

    // The manager holding the objects of a stored section, by the name the file gives it; null
    // for a name no configuration uses.
    const TPlotObjectManagerCustom* SectionManager(const std::string& section) const {
        for (const auto& [name, manager] : Managers())
            if (SameText(name, section)) return manager;
        return nullptr;
    }

    // Every manager a configuration can fill, by its section name.
    std::vector<std::pair<std::string, const TPlotObjectManagerCustom*>> Managers() const {
        return {{"ToolBarManager", plot.GetToolBarManager()},   {"LegendManager", plot.GetLegendManager()},
                {"TableManager", plot.GetTableManager()},       {"XAxisManager", plot.GetXAxisManager()},
                {"YAxisManager", plot.GetYAxisManager()},       {"ChannelManager", plot.GetChannelManager()},
                {"DataViewManager", plot.GetDataViewManager()}, {"DataCursorManager", plot.GetDataCursorManager()},
                {"LimitManager", plot.GetLimitManager()},       {"LabelManager", plot.GetLabelManager()}};
    }

    TPlot plot;
    const TPlotConfiguration file = ParsePlotConfiguration(ScopePlotConfigurationText());
};

// Texts compare exactly; other values as the property table reads them, without regard to case
// (True, #C0C0C0 and ipmsCircle read back in the letter case they are written in anyway).
void ExpectReadsBack(const TPlotConfigAssignment& assignment, const std::string& readBack) {
    if (assignment.Quoted) {
        EXPECT_EQ(readBack, assignment.Value) << "line " << assignment.Line << ": " << assignment.Name;
    } else {
        EXPECT_TRUE(SameText(readBack, assignment.Value))
            << "line " << assignment.Line << ": " << assignment.Name << " = " << assignment.Value << " reads back as "
            << readBack;
    }
}

TEST_F(ScopePlotConfiguration, EveryValueOfTheFileReadsBack) {
    int checked = 0;
    for (const TPlotConfigAssignment& assignment : file.Properties) {
        const TPlotComponentProperty* found = nullptr;
        for (const TPlotComponentProperty& property : PlotComponentProperties())
            if (SameText(property.Name, assignment.Name)) found = &property;
        ASSERT_NE(found, nullptr) << "line " << assignment.Line << ": " << assignment.Name;
        ExpectReadsBack(assignment, found->Read(plot));
        ++checked;
    }
    for (const TPlotConfigSection& section : file.Sections) {
        const TPlotObjectManagerCustom* manager = SectionManager(section.Name);
        ASSERT_NE(manager, nullptr) << "line " << section.Line << ": [" << section.Name << "]";
        ASSERT_EQ(manager->GetCount(), static_cast<int>(section.Items.size())) << section.Name;
        for (size_t i = 0; i < section.Items.size(); ++i) {
            const TPlotObject& object = *manager->GetObject(static_cast<int>(i));
            for (const TPlotConfigAssignment& assignment : section.Items[i].Properties) {
                const TPlotProperty* property = FindPlotProperty(object, assignment.Name);
                ASSERT_NE(property, nullptr) << "line " << assignment.Line << ": " << assignment.Name;
                ASSERT_TRUE(property->Read) << "line " << assignment.Line << ": " << assignment.Name
                                            << " is a stored name that does not read back; use the property's own";
                ExpectReadsBack(assignment, property->Read(object));
                ++checked;
            }
        }
    }
    EXPECT_GT(checked, 0) << "the compiled-in text holds no assignment";
}

TEST_F(ScopePlotConfiguration, EachManagerHoldsTheFilesItemsAndNothingElse) {
    for (const auto& [name, manager] : Managers()) {
        size_t items = 0;
        for (const TPlotConfigSection& section : file.Sections)
            if (SameText(section.Name, name)) items += section.Items.size();
        EXPECT_EQ(manager->GetCount(), static_cast<int>(items)) << name;
    }
    EXPECT_EQ(plot.AnnotationCount(), 0) << "no configuration stores annotations";
}

// The window gives each of its four channels a sink and sizes their rings in code; the traces
// scroll along one X axis and are read against a Y scale that is shown.
TEST_F(ScopePlotConfiguration, WhatTheScopesCodeReliesOn) {
    ASSERT_EQ(plot.ChannelCount(), kChannelCount);
    ASSERT_EQ(plot.XAxisCount(), 1);
    TPlotXAxis* x = plot.GetXAxis(0);
    EXPECT_EQ(x->GetTrackingStyle(), iptsScrollSmooth);
    ASSERT_EQ(plot.LegendCount(), 1);
    EXPECT_FALSE(plot.GetLegend(0)->GetVisible()) << "a legend would take its room from the traces";
    for (int c = 0; c < kChannelCount; ++c) {
        TPlotChannel& channel = *plot.GetChannel(c);
        SCOPED_TRACE(channel.GetName());
        EXPECT_EQ(channel.GetRingBufferSize(), kScopeRingBufferSize);
        EXPECT_EQ(channel.GetMemoryUsed(), 36000000) << "the ring is allocated in full before acquiring";
        EXPECT_EQ(channel.GetXAxis(), x);
        ASSERT_NE(channel.GetYAxis(), nullptr);
        EXPECT_TRUE(channel.GetYAxis()->GetVisible());
    }
}

}  // namespace
}  // namespace ondrix
