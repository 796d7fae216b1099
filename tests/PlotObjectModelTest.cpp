#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "PlotErrors.h"
#include "plot/component/Plot.h"
#include "plot/component/PlotMasterManager.h"

using namespace ondrix;

namespace {

using test::ErrorOf;

// A channel that remembers what the plot told it, made through the plot's channel class.
class RecordingChannel : public TPlotChannel {
public:
    using TPlotChannel::TPlotChannel;

    void NotificationSetFocus(TPlotObject& obj) override { focusHeard.push_back(obj.GetName()); }
    void DoMouseLeft(const TPlotMouseData& data) override { presses.push_back(data); }

    std::vector<std::string> focusHeard;
    std::vector<TPlotMouseData> presses;
};

RecordingChannel& RecordingChannelAt(const TPlotComponent& plot, int index) {
    return dynamic_cast<RecordingChannel&>(*plot.GetChannel(index));
}

// Counts the repaint requests of a plot.
struct RepaintCounter {
    explicit RepaintCounter(TPlotComponent& plot) {
        plot.OnRepaintRequest = [this] { ++count; };
    }
    int count = 0;
};

}  // namespace

// ---- Default names and colours -----------------------------------------------------------

TEST(PlotObjectNaming, ChannelsAddedOneByOneGetNumberedNamesAndPaletteColours) {
    struct Row {
        const char* name;
        TColor color;
    } rows[] = {
        {"Channel 1", clRed},     {"Channel 2", clYellow}, {"Channel 3", clBlue},  {"Channel 4", clFuchsia},
        {"Channel 5", clAqua},    {"Channel 6", clLime},   {"Channel 7", clWhite},
    };
    TPlotComponent plot;
    for (int i = 0; i < 7; ++i) ASSERT_EQ(plot.AddChannel(), i);
    for (int i = 0; i < 7; ++i) {
        SCOPED_TRACE(rows[i].name);
        EXPECT_EQ(plot.GetChannel(i)->GetName(), rows[i].name);
        EXPECT_EQ(plot.GetChannel(i)->GetTitleText(), rows[i].name);
        EXPECT_EQ(plot.GetChannel(i)->GetColor(), rows[i].color);
    }
}

TEST(PlotObjectNaming, NextColourIsTheFirstPaletteColourWornByTheFewest) {
    TPlotComponent plot;
    for (int i = 0; i < 3; ++i) plot.AddChannel();  // red, yellow, blue
    plot.DeleteChannel(1);
    plot.AddChannel();
    EXPECT_EQ(plot.GetChannel(2)->GetColor(), clYellow);

    // A user's colour outside the palette counts for nothing; two reds make red the busiest.
    plot.GetChannel(1)->SetColor(ColorFromRgb(0x123456));
    plot.AddChannel();
    EXPECT_EQ(plot.GetChannel(3)->GetColor(), clBlue);
}

TEST(PlotObjectNaming, NextNameFollowsTheHighestNumberAfterTheBaseName) {
    struct Case {
        std::vector<std::string> existing;
        const char* next;
    } cases[] = {
        {{"Channel 1", "channel 7"}, "Channel 8"},  // the prefix matches without regard to case
        {{"Channel 2", "Channel x", "Channel", "Channel 5b"}, "Channel 3"},  // not numbers: skipped
        {{"Channel    4"}, "Channel 5"},           // leading blanks are allowed
        {{"Channel 4 "}, "Channel 1"},             // a trailing blank is not
        {{"Channels 9"}, "Channel 1"},
        {{"Channel -3"}, "Channel 1"},
        {{"Channel 99999999999"}, "Channel 1"},    // does not fit in 32 bits
        {{"Ch1"}, "Channel 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.next);
        TPlotComponent plot;
        for (size_t i = 0; i < c.existing.size(); ++i) {
            plot.GetChannel(plot.AddChannel())->SetName(c.existing[i]);
        }
        plot.AddChannel();
        EXPECT_EQ(plot.GetChannel(plot.ChannelCount() - 1)->GetName(), c.next);
    }
}

TEST(PlotObjectNaming, NumbersBelowTheHighestAreNotReused) {
    struct Case {
        int deleted;
        const char* next;
    } cases[] = {{0, "Channel 3"}, {1, "Channel 2"}};
    for (const Case& c : cases) {
        TPlotComponent plot;
        plot.AddChannel();
        plot.AddChannel();
        plot.DeleteChannel(c.deleted);
        plot.AddChannel();
        EXPECT_EQ(plot.GetChannel(1)->GetName(), c.next);
    }
}

// ---- The families of component operations ------------------------------------------------

TEST(PlotObjectFamilies, EveryAddAnswersTheNewIndexAndNamesByKind) {
    struct Kind {
        const char* name1;
        const char* name2;
        std::function<int(TPlotComponent&)> add;
        std::function<int(TPlotComponent&)> count;
        std::function<TPlotObject*(TPlotComponent&, int)> get;
    } kinds[] = {
        {"Toolbar 1", "Toolbar 2", &TPlotComponent::AddToolBar, &TPlotComponent::ToolBarCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetToolBar(i); }},
        {"Legend 1", "Legend 2", &TPlotComponent::AddLegend, &TPlotComponent::LegendCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetLegend(i); }},
        {"Table 1", "Table 2", &TPlotComponent::AddTable, &TPlotComponent::TableCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetTable(i); }},
        {"X-Axis 1", "X-Axis 2", &TPlotComponent::AddXAxis, &TPlotComponent::XAxisCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetXAxis(i); }},
        {"Y-Axis 1", "Y-Axis 2", &TPlotComponent::AddYAxis, &TPlotComponent::YAxisCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetYAxis(i); }},
        {"Channel 1", "Channel 2", &TPlotComponent::AddChannel, &TPlotComponent::ChannelCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetChannel(i); }},
        {"Data View 1", "Data View 2", &TPlotComponent::AddDataView, &TPlotComponent::DataViewCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetDataView(i); }},
        {"Cursor 1", "Cursor 2", &TPlotComponent::AddDataCursor, &TPlotComponent::DataCursorCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetDataCursor(i); }},
        {"Limit 1", "Limit 2", &TPlotComponent::AddLimit, &TPlotComponent::LimitCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetLimit(i); }},
        {"Label 1", "Label 2", &TPlotComponent::AddLabel, &TPlotComponent::LabelCount,
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetLabel(i); }},
        {"", "", &TPlotComponent::AddAnnotation, &TPlotComponent::AnnotationCount,  // not even a name
         [](TPlotComponent& p, int i) -> TPlotObject* { return p.GetAnnotation(i); }},
    };
    for (const Kind& kind : kinds) {
        SCOPED_TRACE(kind.name1);
        TPlotComponent plot;
        EXPECT_EQ(kind.add(plot), 0);
        EXPECT_EQ(kind.add(plot), 1);
        EXPECT_EQ(kind.count(plot), 2);
        EXPECT_EQ(kind.get(plot, 0)->GetName(), kind.name1);
        EXPECT_EQ(kind.get(plot, 1)->GetName(), kind.name2);
        EXPECT_GE(plot.GetPlotObjectManager()->IndexOf(*kind.get(plot, 1)), 0);
    }
}

TEST(PlotObjectFamilies, IndexOutsideTheListNamesTheIndex) {
    TPlot plot;
    struct Case {
        std::function<void()> action;
        const char* message;
    } cases[] = {
        {[&] { plot.GetChannel(1); }, "List index out of bounds (1)"},
        {[&] { plot.GetXAxis(-1); }, "List index out of bounds (-1)"},
        {[&] { plot.GetAnnotation(0); }, "List index out of bounds (0)"},
        {[&] { plot.DeleteToolBar(5); }, "List index out of bounds (5)"},
        {[&] { plot.DeleteLabel(3); }, "List index out of bounds (3)"},
        {[&] { plot.GetLayoutManager()->GetItem(8); }, "List index out of bounds (8)"},
    };
    for (const Case& c : cases) EXPECT_EQ(ErrorOf(c.action), c.message);
    EXPECT_EQ(plot.ToolBarCount(), 1);
}

TEST(PlotObjectFamilies, LookupByNameIgnoresCaseAndKnowsNoPseudoNames) {
    TPlot plot;
    plot.GetYAxis(0)->SetName("Ch1YAxis");
    plot.AddYAxis();
    EXPECT_EQ(plot.GetYAxisByName("CH1YAXIS"), plot.GetYAxis(0));
    EXPECT_EQ(plot.GetYAxisIndexByName("y-axis 1"), 1);  // numbered after the names left
    EXPECT_EQ(plot.GetYAxisByName("<None>"), nullptr);
    EXPECT_EQ(plot.GetYAxisByName("<All>"), nullptr);
    EXPECT_EQ(plot.GetYAxisByName("Ch1YAxis "), nullptr);
    EXPECT_EQ(plot.GetYAxisIndexByName("Ch2YAxis"), -1);
    EXPECT_EQ(plot.GetXAxisByName("Ch1YAxis"), nullptr);  // names are looked up per kind
}

TEST(PlotObjectFamilies, LabelZeroIsTheTitleAndStays) {
    TPlot plot;
    EXPECT_EQ(ErrorOf([&] { plot.DeleteLabel(0); }), "Label Index 0 can not be Deleted (Resevered for Title)");
    ASSERT_EQ(plot.LabelCount(), 1);
    EXPECT_EQ(plot.GetLabel(0)->GetName(), "Title");

    plot.AddLabel();
    plot.AddLabel();
    plot.DeleteLabel(1);
    EXPECT_EQ(plot.GetLabel(1)->GetName(), "Label 2");
    plot.AddLabel();
    plot.RemoveAllLabels();
    ASSERT_EQ(plot.LabelCount(), 1);
    EXPECT_EQ(plot.GetLabel(0)->GetName(), "Title");
}

TEST(PlotObjectFamilies, RemoveAllFreesEveryObjectOfTheKindOnly) {
    TPlot plot;
    plot.AddChannel();
    plot.RemoveAllChannels();
    EXPECT_EQ(plot.ChannelCount(), 0);
    EXPECT_EQ(plot.GetDataCursor(0)->GetChannel(), nullptr);
    plot.RemoveAllXAxes();
    EXPECT_EQ(plot.GetDataView(0)->GetGridXAxis(), nullptr);
    EXPECT_EQ(plot.YAxisCount(), 1);
    // Objects: toolbar, legend, Y axis, data view, cursor, title, and the two placeholders.
    EXPECT_EQ(plot.GetPlotObjectManager()->GetCount(), 8);
}

// Every kind's names share one implementation: a name that forwards to another kind's list
// shows as a lookup that misses or as a count that moves in the wrong kind.
TEST(PlotObjectFamilies, EveryKindsOperationsReachItsOwnObjectsOnly) {
    struct Family {
        std::string kind;
        int keptByRemoveAll;
        std::function<int(TPlotComponent&)> add;
        std::function<int(const TPlotComponent&)> count;
        std::function<TPlotObject*(const TPlotComponent&, int)> get;
        std::function<TPlotObject*(const TPlotComponent&, const std::string&)> byName;
        std::function<int(const TPlotComponent&, const std::string&)> indexByName;
        std::function<void(TPlotComponent&, int)> remove;
        std::function<void(TPlotComponent&)> removeAll;
    };
    using P = TPlotComponent;
    const Family families[] = {
        {"toolbar", 0, &P::AddToolBar, &P::ToolBarCount, &P::GetToolBar, &P::GetToolBarByName,
         &P::GetToolBarIndexByName, &P::DeleteToolBar, &P::RemoveAllToolBars},
        {"legend", 0, &P::AddLegend, &P::LegendCount, &P::GetLegend, &P::GetLegendByName, &P::GetLegendIndexByName,
         &P::DeleteLegend, &P::RemoveAllLegends},
        {"table", 0, &P::AddTable, &P::TableCount, &P::GetTable, &P::GetTableByName, &P::GetTableIndexByName,
         &P::DeleteTable, &P::RemoveAllTables},
        {"x axis", 0, &P::AddXAxis, &P::XAxisCount, &P::GetXAxis, &P::GetXAxisByName, &P::GetXAxisIndexByName,
         &P::DeleteXAxis, &P::RemoveAllXAxes},
        {"y axis", 0, &P::AddYAxis, &P::YAxisCount, &P::GetYAxis, &P::GetYAxisByName, &P::GetYAxisIndexByName,
         &P::DeleteYAxis, &P::RemoveAllYAxes},
        {"channel", 0, &P::AddChannel, &P::ChannelCount, &P::GetChannel, &P::GetChannelByName,
         &P::GetChannelIndexByName, &P::DeleteChannel, &P::RemoveAllChannels},
        {"data view", 0, &P::AddDataView, &P::DataViewCount, &P::GetDataView, &P::GetDataViewByName,
         &P::GetDataViewIndexByName, &P::DeleteDataView, &P::RemoveAllDataViews},
        {"data cursor", 0, &P::AddDataCursor, &P::DataCursorCount, &P::GetDataCursor, &P::GetDataCursorByName,
         &P::GetDataCursorIndexByName, &P::DeleteDataCursor, &P::RemoveAllDataCursors},
        {"limit", 0, &P::AddLimit, &P::LimitCount, &P::GetLimit, &P::GetLimitByName, &P::GetLimitIndexByName,
         &P::DeleteLimit, &P::RemoveAllLimits},
        {"label", 1, &P::AddLabel, &P::LabelCount, &P::GetLabel, &P::GetLabelByName, &P::GetLabelIndexByName,
         &P::DeleteLabel, &P::RemoveAllLabels},
        {"annotation", 0, &P::AddAnnotation, &P::AnnotationCount, &P::GetAnnotation, &P::GetAnnotationByName,
         &P::GetAnnotationIndexByName, &P::DeleteAnnotation, &P::RemoveAllAnnotations},
    };
    const auto counts = [&](const TPlotComponent& plot) {
        std::vector<int> result;
        for (const Family& family : families) result.push_back(family.count(plot));
        return result;
    };

    for (size_t row = 0; row < std::size(families); ++row) {
        const Family& family = families[row];
        SCOPED_TRACE(family.kind);
        TPlotComponent plot;
        // Two objects of every kind; the second wears a name that no other kind has.
        for (const Family& each : families) {
            each.add(plot);
            each.add(plot);
            each.get(plot, 1)->SetName("own " + each.kind);
        }
        EXPECT_EQ(family.byName(plot, "OWN " + family.kind), family.get(plot, 1));
        EXPECT_EQ(family.indexByName(plot, "own " + family.kind), 1);

        std::vector<int> expected = counts(plot);
        family.remove(plot, 1);
        expected[row] = 1;
        EXPECT_EQ(counts(plot), expected);
        EXPECT_EQ(family.byName(plot, "own " + family.kind), nullptr);

        family.add(plot);
        family.removeAll(plot);
        expected[row] = family.keptByRemoveAll;
        EXPECT_EQ(counts(plot), expected);
    }
}

// ---- New objects and their defaults ------------------------------------------------------

TEST(PlotObjectDefaults, NewObjectsAreBoundToTheFirstObjectsOfOtherKinds) {
    TPlotComponent plot;
    plot.AddChannel();
    plot.AddDataCursor();
    plot.AddXAxis();
    plot.AddYAxis();
    plot.AddXAxis();
    plot.AddChannel();
    plot.AddDataView();
    plot.AddDataCursor();
    plot.AddLimit();
    plot.AddLabel();

    // Added before any axis: unbound, and an axis named later does not bind it.
    EXPECT_EQ(plot.GetChannel(0)->GetXAxisName(), "");
    EXPECT_EQ(plot.GetChannel(0)->GetYAxisName(), "");
    EXPECT_EQ(plot.GetDataCursor(0)->GetDataView(), nullptr);
    EXPECT_EQ(plot.GetDataCursor(0)->GetChannelName(), "Channel 1");

    EXPECT_EQ(plot.GetXAxis(1)->GetTitle(), "X-Axis 2");
    EXPECT_EQ(plot.GetYAxis(0)->GetTitle(), "Y-Axis 1");
    EXPECT_EQ(plot.GetChannel(1)->GetXAxisName(), "X-Axis 1");
    EXPECT_EQ(plot.GetChannel(1)->GetYAxisName(), "Y-Axis 1");
    EXPECT_EQ(plot.GetChannel(1)->GetXAxis(), plot.GetXAxis(0));
    EXPECT_EQ(plot.GetDataView(0)->GetGridXAxisName(), "X-Axis 1");
    EXPECT_EQ(plot.GetDataView(0)->GetGridYAxisName(), "Y-Axis 1");
    EXPECT_EQ(plot.GetDataCursor(1)->GetDataView(), plot.GetDataView(0));
    EXPECT_EQ(plot.GetDataCursor(1)->GetChannelName(), "Channel 1");
    EXPECT_FALSE(plot.GetDataCursor(1)->GetVisible());
    EXPECT_EQ(plot.GetLimit(0)->GetXAxisName(), "X-Axis 1");
    EXPECT_EQ(plot.GetLimit(0)->GetYAxisName(), "Y-Axis 1");
    EXPECT_EQ(plot.GetLabel(0)->GetCaption(), "Label 1");
}

// The order of a stored configuration: the manager cleared, objects created, properties set,
// then Loaded. A named object keeps what was stored; the kind's defaults are for nameless ones.
TEST(PlotObjectDefaults, AnObjectLoadedWithANameKeepsItsStoredValues) {
    TPlot plot;
    TPlotChannelManager& channels = *plot.GetChannelManager();
    channels.Clear();
    TPlotChannelCustom& stored = channels.CreateObject();
    stored.SetName("Ch1");
    stored.SetColor(clBlue);
    channels.CreateObject();  // made but never loaded: not listed, still freed with the plot
    EXPECT_EQ(plot.ChannelCount(), 0);

    stored.Loaded();
    ASSERT_EQ(plot.ChannelCount(), 1);
    EXPECT_EQ(plot.GetChannel(0), &stored);
    EXPECT_EQ(stored.GetColor(), clBlue);
    EXPECT_EQ(stored.GetTitleText(), "");
    EXPECT_EQ(stored.GetXAxisName(), "");
    EXPECT_GE(plot.GetPlotObjectManager()->IndexOf(stored), 0);
}

// ---- References between objects ----------------------------------------------------------

TEST(PlotObjectReferences, DeletingAnObjectClearsEveryCachedReferenceToIt) {
    TPlot plot;
    plot.AddXAxis();
    TPlotChannelCustom* channel = plot.GetChannel(0);
    TPlotDataView* dataView = plot.GetDataView(0);
    TPlotDataCursor* cursor = plot.GetDataCursor(0);
    ASSERT_EQ(channel->GetXAxis(), plot.GetXAxis(0));
    ASSERT_EQ(dataView->GetGridXAxis(), plot.GetXAxis(0));
    ASSERT_EQ(cursor->GetChannel(), channel);

    plot.DeleteXAxis(0);
    EXPECT_EQ(channel->GetXAxis(), nullptr);
    EXPECT_EQ(dataView->GetGridXAxis(), nullptr);
    EXPECT_EQ(channel->GetXAxisName(), "X-Axis 1");  // the name stays; nothing bears it now
    EXPECT_EQ(plot.GetXAxis(0)->GetName(), "X-Axis 2");
    EXPECT_EQ(plot.GetXAxisIndexByName("X-Axis 2"), 0);
    EXPECT_NE(channel->GetYAxis(), nullptr);

    plot.DeleteChannel(0);
    EXPECT_EQ(cursor->GetChannel(), nullptr);
    plot.DeleteDataView(0);
    EXPECT_EQ(cursor->GetDataView(), nullptr);
}

TEST(PlotObjectReferences, RenamingAnObjectRenamesTheReferencesToIt) {
    for (bool resolvedFirst : {true, false}) {
        SCOPED_TRACE(resolvedFirst ? "cached" : "not looked up yet");
        TPlot plot;
        plot.AddXAxis();
        TPlotChannelCustom* channel = plot.GetChannel(0);
        TPlotDataView* dataView = plot.GetDataView(0);
        TPlotDataCursor* cursor = plot.GetDataCursor(0);
        if (resolvedFirst) {
            channel->GetXAxis();
            dataView->GetGridYAxis();
            cursor->GetChannel();
        }

        plot.GetXAxis(0)->SetName("Time");
        plot.GetYAxis(0)->SetName("Volts");
        plot.GetChannel(0)->SetName("Ch1");
        plot.GetXAxis(1)->SetName("Other");  // nobody refers to it

        EXPECT_EQ(channel->GetXAxisName(), "Time");
        EXPECT_EQ(channel->GetYAxisName(), "Volts");
        EXPECT_EQ(dataView->GetGridXAxisName(), "Time");
        EXPECT_EQ(dataView->GetGridYAxisName(), "Volts");
        EXPECT_EQ(cursor->GetChannelName(), "Ch1");
        EXPECT_EQ(channel->GetXAxis(), plot.GetXAxis(0));
        EXPECT_EQ(cursor->GetChannel(), channel);
    }
}

// ---- Notifications -----------------------------------------------------------------------

TEST(PlotObjectNotifications, InsertAndRemoveReachTheMasterAroundTheirChanges) {
    TPlotComponent plot;
    TPlotMasterManager& master = plot.GetMasterManager();
    std::vector<std::string> events;
    master.OnInsert = [&](TPlotObject& obj) { events.push_back("insert " + obj.GetName()); };
    master.OnRemove = [&](TPlotObject& obj) {
        events.push_back("remove " + obj.GetName() + " listed " +
                         std::to_string(plot.GetPlotObjectManager()->IndexOf(obj)));
    };
    master.OnChange = [&](TPlotObject& obj) { events.push_back("change " + obj.GetName()); };

    plot.AddLabel();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), "insert Label 1");  // named before the plot hears of it
    EXPECT_NE(std::find(events.begin(), events.end(), "change Label 1"), events.end());

    const int index = plot.AddLabel();
    const int objectsBefore = plot.GetPlotObjectManager()->GetCount();
    const int layoutObjectsBefore = plot.GetLayoutManager()->GetCount();
    events.clear();
    plot.DeleteLabel(index);

    // The component hears first, while the object is still listed; every list then drops it.
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events.front(), "remove Label 2 listed 3");
    for (size_t i = 1; i < events.size(); ++i) EXPECT_EQ(events[i].rfind("change ", 0), 0u) << events[i];
    EXPECT_NE(std::find(events.begin(), events.end(), "change Label 2"), events.end());
    // The deleted label was alone in its band: the band closes, so the objects beyond it move in.
    EXPECT_NE(std::find(events.begin(), events.end(), "change Label 1"), events.end());
    EXPECT_NE(std::find(events.begin(), events.end(), "change Data View"), events.end());
    EXPECT_EQ(plot.GetPlotObjectManager()->GetCount(), objectsBefore - 1);
    EXPECT_EQ(plot.GetLayoutManager()->GetCount(), layoutObjectsBefore - 1);
    EXPECT_EQ(plot.LabelCount(), 1);
}

TEST(PlotObjectNotifications, SelectingAnObjectTellsEveryObjectOfThePlot) {
    TPlotComponent plot;
    plot.SetChannelClass(&CreateChannel<RecordingChannel>);
    plot.AddChannel();
    plot.AddChannel();
    plot.AddToolBar();
    int immediateRepaints = 0;
    plot.OnRepaintRequest = [&] { ++immediateRepaints; };

    plot.GetToolBar(0)->SetUserSelected(true);
    EXPECT_EQ(RecordingChannelAt(plot, 0).focusHeard, std::vector<std::string>{"Toolbar 1"});
    EXPECT_EQ(RecordingChannelAt(plot, 1).focusHeard, std::vector<std::string>{"Toolbar 1"});
    EXPECT_EQ(immediateRepaints, 1);

    plot.GetToolBar(0)->SetUserSelected(true);  // no change, nobody told again
    EXPECT_EQ(RecordingChannelAt(plot, 0).focusHeard.size(), 1u);
    plot.GetMasterManager().DeSelectAll();
    EXPECT_FALSE(plot.GetToolBar(0)->GetUserSelected());
}

TEST(PlotObjectNotifications, MouseBroadcastsReachOnlySelectedObjectsWithTheirAxesCoordinates) {
    TPlotComponent plot;
    plot.SetChannelClass(&CreateChannel<RecordingChannel>);
    plot.AddChannel();
    plot.AddChannel();
    plot.SetXYAxesReverse(true);
    plot.GetChannel(1)->SetUserSelected(true);

    plot.GetPlotObjectManager()->MouseDownFocusObjects(mbLeft, ssShift, 10, 20);
    EXPECT_TRUE(RecordingChannelAt(plot, 0).presses.empty());
    ASSERT_EQ(RecordingChannelAt(plot, 1).presses.size(), 1u);
    const TPlotMouseData& press = RecordingChannelAt(plot, 1).presses[0];
    EXPECT_EQ(press.X, 10);
    EXPECT_EQ(press.XAxisPixels, 20);
    EXPECT_EQ(press.YAxisPixels, 10);
    EXPECT_EQ(press.Shift, ssShift);
    EXPECT_TRUE(plot.GetChannel(1)->GetPressed());

    plot.GetChannel(1)->SetEnabled(false);  // drops the gesture and the selection
    EXPECT_FALSE(plot.GetChannel(1)->GetPressed());
    EXPECT_FALSE(plot.GetChannel(1)->GetUserSelected());
}

// ---- Property setters --------------------------------------------------------------------

TEST(PlotObjectSetters, StoreOnlyChangesAndReportTheBandMovesAsLayoutChanges) {
    TPlotComponent plot;
    TPlotLabel& label = *plot.GetLabel(plot.AddLabel());
    std::vector<std::string> reports;
    label.OnLayoutChange = [&](TPlotObject&) { reports.push_back("layout"); };
    label.OnChange = [&](TPlotObject&) { reports.push_back("change"); };
    using Reports = std::vector<std::string>;
    struct Case {
        const char* what;
        std::function<void()> set;
        Reports expected;
    } cases[] = {
        {"ZOrder", [&] { label.SetZOrder(5); }, {"layout", "change"}},
        {"Horizontal", [&] { label.SetHorizontal(false); }, {"layout", "change"}},
        {"ForceStacking", [&] { label.SetForceStacking(true); }, {"layout", "change"}},
        {"StartPercent", [&] { label.SetStartPercent(12.5); }, {"change"}},
        {"Visible", [&] { label.SetVisible(false); }, {"change"}},
        {"Layer", [&] { label.SetLayer(7); }, {"change"}},
        {"Caption", [&] { label.SetCaption("Volts"); }, {"change"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        reports.clear();
        c.set();
        EXPECT_EQ(reports, c.expected);
        reports.clear();
        c.set();
        EXPECT_EQ(reports, Reports{}) << "the same value again";
    }
}

TEST(PlotObjectSetters, RenameKeepsThePreviousNameAndTellsBeforeTheChange) {
    TPlotComponent plot;
    TPlotLegend& legend = *plot.GetLegend(plot.AddLegend());
    std::vector<std::string> reports;
    legend.OnRename = [&](TPlotObject& obj) { reports.push_back("rename from " + obj.GetPreviousName()); };
    legend.OnChange = [&](TPlotObject&) { reports.push_back("change"); };
    legend.SetName("Key");
    EXPECT_EQ(reports, (std::vector<std::string>{"rename from Legend 1", "change"}));
    EXPECT_EQ(legend.GetPreviousName(), "Legend 1");
}

TEST(PlotObjectSetters, ConstructionChecksRunInOrder) {
    TPlotComponent owner;
    const TPlotObjectEvent handler = [](TPlotObject&) {};
    struct Case {
        TPlotComponent* owner;
        TPlotObjectEvents events;
        const char* objectMessage;
        const char* managerMessage;
    } cases[] = {
        {nullptr, {}, "Owner must be assigned", "Owner must be Assigned"},
        {&owner, {}, "OnChange event handler can not be null", "OnChange event handler can not be null"},
        {&owner, {handler, nullptr, handler, handler}, "OnInsert event handler can not be null",
         "OnInsert event handler can not be null"},
        {&owner, {handler, handler, nullptr, handler}, "OnRemove event handler can not be null",
         "OnRemove event handler can not be null"},
        {&owner, {handler, handler, handler, nullptr}, "AOnRename event handler can not be null",
         "AOnRename event handler can not be null"},
        {&owner, {handler, handler, handler, handler}, "<no error>", "<no error>"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ErrorOf([&] { TPlotLabel label(c.owner, c.events); }), c.objectMessage);
        EXPECT_EQ(ErrorOf([&] { TPlotLabelManager manager(c.owner, c.events); }), c.managerMessage);
    }
    EXPECT_EQ(ErrorOf([&] { owner.GetPlotObjectManager()->CreateObject(); }),
              "Object Manager does not support creation of objects");
}

TEST(PlotObjectSetters, AButtonClicksOnlyWhenReleasedInsideItself) {
    struct Case {
        int releaseX;
        int groupIndex;
        std::vector<std::string> expected;
    } cases[] = {
        {15, 0, {"invalidate", "invalidate", "click"}},
        {15, 2, {"invalidate", "invalidate", "group", "click"}},
        {30, 2, {"invalidate", "invalidate"}},
    };
    for (const Case& c : cases) {
        TPlotButton button(nullptr, {});
        std::vector<std::string> reports;
        button.OnInvalidate = [&](TPlotButton&) { reports.push_back("invalidate"); };
        button.OnGroupClick = [&](TPlotButton&) { reports.push_back("group"); };
        button.OnClick = [&](TPlotButton&) { reports.push_back("click"); };
        button.SetDrawRect({10, 10, 20, 20});
        button.SetGroupIndex(c.groupIndex);
        button.iMouseDown(mbLeft, 0, 12, 12);
        button.iMouseUp(mbLeft, 0, c.releaseX, 12, false);
        EXPECT_EQ(reports, c.expected);
        EXPECT_FALSE(button.GetPressed());
    }
}

// ---- Plot-wide properties ----------------------------------------------------------------

TEST(PlotComponentProperties, TitleAndSelectModeFallBackWithoutTheirObjects) {
    TPlotComponent bare;
    bare.SetTitleText("Scope");
    bare.SetTitleVisible(true);
    bare.SetTitleMargin(2);
    bare.SetSelectModeActive(true);
    EXPECT_EQ(bare.GetTitleText(), "");
    EXPECT_FALSE(bare.GetTitleVisible());
    EXPECT_EQ(bare.GetTitleMargin(), 0);
    EXPECT_FALSE(bare.GetSelectModeActive());

    TPlot plot;
    plot.SetTitleText("Scope");
    plot.SetTitleVisible(false);
    plot.SetTitleMargin(2);
    plot.SetSelectModeActive(true);
    EXPECT_EQ(plot.GetLabel(0)->GetCaption(), "Scope");
    EXPECT_FALSE(plot.GetLabel(0)->GetVisible());
    EXPECT_EQ(plot.GetLabel(0)->GetMarginBottom(), 2);
    EXPECT_TRUE(plot.GetToolBar(0)->GetSelectActive());
    EXPECT_TRUE(plot.GetSelectModeActive());
}

TEST(PlotComponentProperties, PlotWideSettingsReachExistingAndLaterObjects) {
    TPlot plot;
    plot.SetUserCanEditObjects(false);
    plot.SetXYAxesReverse(true);
    plot.AddXAxis();
    plot.AddYAxis();
    for (TPlotObject* obj : plot.GetPlotObjectManager()->GetObjects()) {
        SCOPED_TRACE(obj->GetName());
        EXPECT_FALSE(obj->GetUserCanEdit());
        // The data view's placeholders are never drawn and take no mouse input.
        const bool placeholder = dynamic_cast<TPlotDataViewLayout*>(obj) != nullptr;
        EXPECT_EQ(obj->GetXYAxesReversed(), !placeholder);
    }
    EXPECT_TRUE(plot.GetLayoutManager()->GetXYAxesReverse());
    EXPECT_FALSE(plot.GetXAxis(1)->GetHorizontal());  // placed by the layout manager on arrival
    EXPECT_TRUE(plot.GetYAxis(1)->GetHorizontal());
}

TEST(PlotComponentProperties, TheLayoutManagerListsLayoutObjectsAndHooksTheirBandMoves) {
    TPlotComponent plot;
    TPlotLayoutManager& layout = *plot.GetLayoutManager();
    EXPECT_TRUE(layout.GetEnabled());
    ASSERT_EQ(layout.GetCount(), 2);
    EXPECT_EQ(layout.GetItem(0), &layout.GetDataViewHorz());
    EXPECT_EQ(layout.GetItem(1), &layout.GetDataViewVert());
    EXPECT_EQ(layout.GetItem(0)->GetName(), "Data View");
    EXPECT_TRUE(layout.GetDataViewHorz().GetHorizontal());
    EXPECT_FALSE(layout.GetDataViewVert().GetHorizontal());
    EXPECT_EQ(plot.GetDataViewZHorz(), 1);
    EXPECT_EQ(plot.GetDataViewZVert(), 1);
    plot.SetDataViewZVert(4);
    EXPECT_EQ(layout.GetDataViewVert().GetZOrder(), 4);

    plot.AddXAxis();
    plot.AddYAxis();
    plot.AddToolBar();
    plot.AddLegend();
    plot.AddDataView();
    plot.AddLabel();
    plot.AddTable();
    plot.AddChannel();     // not a layout object
    plot.AddDataCursor();  // nor this
    ASSERT_EQ(layout.GetCount(), 9);
    for (int i = 0; i < layout.GetCount(); ++i) {
        const TPlotLayoutObject* obj = layout.GetItem(i);
        const bool hooked = i >= 2 && obj != plot.GetTable(0);  // placeholders and tables are not
        EXPECT_EQ(static_cast<bool>(obj->OnLayoutChange), hooked) << obj->GetName();
    }
    EXPECT_TRUE(plot.GetXAxis(0)->GetHorizontal());
    EXPECT_FALSE(plot.GetYAxis(0)->GetHorizontal());

    plot.DeleteXAxis(0);
    plot.DeleteTable(0);
    EXPECT_EQ(layout.GetCount(), 7);
    plot.DisableLayoutManager();
    EXPECT_FALSE(layout.GetEnabled());
    plot.EnableLayoutManager();
    EXPECT_TRUE(layout.GetEnabled());
}

// ---- Repaint requests --------------------------------------------------------------------

TEST(PlotComponentRepaint, ChangesInsideAnUpdateBracketRepaintOnceAtTheEnd) {
    TPlot plot;
    RepaintCounter repaints(plot);

    plot.SetTitleText("One");
    EXPECT_EQ(repaints.count, 1);

    repaints.count = 0;
    plot.BeginUpdate();
    plot.BeginUpdate();  // a flag, not a counter
    plot.SetTitleText("Two");
    plot.AddChannel();
    plot.GetChannel(1)->SetColor(clWhite);
    plot.DeleteChannel(0);
    EXPECT_EQ(repaints.count, 0);
    plot.EndUpdate();
    EXPECT_EQ(repaints.count, 1);

    repaints.count = 0;
    plot.BeginUpdate();
    plot.EndUpdate();
    EXPECT_EQ(repaints.count, 0) << "nothing changed";

    plot.BeginUpdate();
    plot.InvalidateNow();
    EXPECT_EQ(repaints.count, 1) << "an immediate repaint does not wait";
    plot.EndUpdate();
    EXPECT_EQ(repaints.count, 1);
}

// ---- The ready-made plots ----------------------------------------------------------------

TEST(PlotConstruction, TPlotStartsWithOneObjectOfEachMainKind) {
    TPlot plot;
    EXPECT_FALSE(plot.GetUpdateLocked());
    EXPECT_TRUE(plot.GetLayoutManager()->GetEnabled());

    ASSERT_EQ(plot.ToolBarCount(), 1);
    EXPECT_EQ(plot.GetToolBar(0)->GetName(), "Toolbar 1");
    EXPECT_EQ(plot.GetToolBar(0)->GetZOrder(), 3);
    EXPECT_TRUE(plot.GetToolBar(0)->GetHorizontal());
    ASSERT_EQ(plot.LegendCount(), 1);
    EXPECT_EQ(plot.GetLegend(0)->GetName(), "Legend 1");
    EXPECT_EQ(plot.GetLegend(0)->GetZOrder(), 2);
    ASSERT_EQ(plot.XAxisCount(), 1);
    EXPECT_EQ(plot.GetXAxis(0)->GetName(), "X-Axis 1");
    EXPECT_TRUE(plot.GetXAxis(0)->GetHorizontal());
    ASSERT_EQ(plot.YAxisCount(), 1);
    EXPECT_EQ(plot.GetYAxis(0)->GetName(), "Y-Axis 1");
    EXPECT_FALSE(plot.GetYAxis(0)->GetHorizontal());

    ASSERT_EQ(plot.ChannelCount(), 1);
    TPlotChannel* channel = plot.GetChannel(0);
    ASSERT_NE(channel, nullptr);
    EXPECT_EQ(channel->GetName(), "Channel 1");
    EXPECT_EQ(channel->GetColor(), clRed);
    EXPECT_EQ(channel->GetXAxisName(), "X-Axis 1");
    EXPECT_EQ(channel->GetYAxisName(), "Y-Axis 1");

    ASSERT_EQ(plot.DataViewCount(), 1);
    EXPECT_EQ(plot.GetDataView(0)->GetName(), "Data View 1");
    EXPECT_EQ(plot.GetDataView(0)->GetGridXAxisName(), "X-Axis 1");
    EXPECT_EQ(plot.GetDataView(0)->GetGridYAxisName(), "Y-Axis 1");
    ASSERT_EQ(plot.DataCursorCount(), 1);
    EXPECT_EQ(plot.GetDataCursor(0)->GetName(), "Cursor 1");
    EXPECT_EQ(plot.GetDataCursor(0)->GetChannelName(), "Channel 1");
    EXPECT_EQ(plot.GetDataCursor(0)->GetDataView(), plot.GetDataView(0));

    ASSERT_EQ(plot.LabelCount(), 1);
    EXPECT_EQ(plot.GetLabel(0)->GetName(), "Title");
    EXPECT_EQ(plot.GetLabel(0)->GetCaption(), "Untitled");
    EXPECT_EQ(plot.GetLabel(0)->GetZOrder(), 2);
    EXPECT_EQ(plot.GetTitleText(), "Untitled");
    EXPECT_TRUE(plot.GetTitleVisible());
    EXPECT_EQ(plot.GetTitleMargin(), 0);

    EXPECT_EQ(plot.TableCount(), 0);
    EXPECT_EQ(plot.LimitCount(), 0);
    EXPECT_EQ(plot.AnnotationCount(), 0);
    EXPECT_EQ(plot.GetPlotObjectManager()->GetCount(), 10);  // the eight, and two placeholders
    EXPECT_EQ(plot.GetLayoutManager()->GetCount(), 8);
    EXPECT_EQ(plot.GetDataViewZHorz(), 1);
    EXPECT_EQ(plot.GetDataViewZVert(), 1);
    EXPECT_TRUE(plot.GetUserCanEditObjects());
    EXPECT_FALSE(plot.GetXYAxesReverse());
}

TEST(PlotConstruction, EachPlotMakesChannelsOfItsOwnClass) {
    TPlot plot;
    TXYPlot xyPlot;
    plot.AddChannel();
    xyPlot.AddChannel();
    EXPECT_NE(plot.GetChannel(1), nullptr);
    EXPECT_EQ(dynamic_cast<TXYPlotChannel*>(plot.TPlotComponent::GetChannel(1)), nullptr);
    EXPECT_NE(xyPlot.GetChannel(1), nullptr);
    EXPECT_EQ(xyPlot.GetChannel(0)->GetXAxisName(), "X-Axis 1");
    EXPECT_EQ(xyPlot.GetToolBar(0)->GetZOrder(), 3);
    EXPECT_EQ(xyPlot.GetLabel(0)->GetCaption(), "Untitled");
}

// Run under AddressSanitizer: destroying a plot that holds every kind, with cached references
// between them and a selection, touches no freed object and calls nobody back.
TEST(PlotConstruction, DestroyingAFullPlotIsSilent) {
    auto plot = std::make_unique<TPlot>();
    plot->AddTable();
    plot->AddLimit();
    plot->AddAnnotation();
    plot->AddLabel();
    plot->AddXAxis();
    plot->AddChannel();
    plot->AddDataCursor();
    plot->GetChannelManager()->CreateObject();  // never loaded
    for (int i = 0; i < plot->ChannelCount(); ++i) {
        plot->GetChannel(i)->GetXAxis();
        plot->GetChannel(i)->GetYAxis();
    }
    plot->GetDataView(0)->GetGridXAxis();
    plot->GetDataCursor(1)->GetChannel();
    plot->GetChannel(1)->SetUserSelected(true);

    int callbacks = 0;
    plot->OnRepaintRequest = [&] { ++callbacks; };
    plot->GetMasterManager().OnRemove = [&](TPlotObject&) { ++callbacks; };
    plot->GetMasterManager().OnChange = [&](TPlotObject&) { ++callbacks; };
    plot.reset();
    EXPECT_EQ(callbacks, 0);
}

TEST(PlotConstruction, RemovingKindsInAnyOrderLeavesNoStaleReference) {
    TPlot plot;
    plot.AddXAxis();
    plot.AddChannel();
    plot.GetChannel(1)->GetXAxis();
    plot.GetDataCursor(0)->GetChannel();
    plot.RemoveAllXAxes();
    plot.RemoveAllYAxes();
    plot.RemoveAllDataViews();
    plot.RemoveAllChannels();
    EXPECT_EQ(plot.GetDataCursor(0)->GetChannel(), nullptr);
    EXPECT_EQ(plot.GetDataCursor(0)->GetDataView(), nullptr);
    plot.RemoveAllDataCursors();
    plot.RemoveAllToolBars();
    plot.RemoveAllLegends();
    plot.RemoveAllLabels();
    EXPECT_EQ(plot.GetPlotObjectManager()->GetCount(), 3);  // the title and the two placeholders
}
