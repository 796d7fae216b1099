// The legend: its layout with exact text metrics (counts of layout columns and rows, scrolling,
// wrapped names, spacing), its cell texts, and the legend of a real plot painted into an image
// (line samples, the cursor's columns, scroll buttons, clicks on names and on the legend).

#include <gtest/gtest.h>

#include <QImage>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "plot/axes/PlotAxis.h"
#include "plot/component/Plot.h"
#include "plot/component/PlotManagers.h"
#include "plot/config/PlotProperties.h"
#include "plot/qt/QtCanvas.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotLegend.h"

using namespace ondrix;

namespace {

// Every character 6 pixels wide and every line 10 high, in every font: the legend's "0" is
// 6 x 10, so its margins of 1 are 6 pixels at the sides and 10 above and below, the column gap
// is 3, the row gap 2 (2.5 rounded to even) and the layout-column gap 20.
class FixedMetrics : public TPlotTextMeasure {
public:
    int TextWidth(const std::string& text, const TPlotFont&) const override {
        size_t widest = 0;
        size_t line = 0;
        for (char c : text) {
            line = c == '\n' ? 0 : line + 1;
            widest = std::max(widest, line);
        }
        return 6 * static_cast<int>(widest);
    }
    int TextHeight(const std::string& text, const TPlotFont&) const override {
        return 10 * (1 + static_cast<int>(std::count(text.begin(), text.end(), '\n')));
    }
};

// A row of "ABCD" is 16 (line) + 3 + 24 (name) = 43 pixels wide and 10 high, 12 with its gap.
constexpr int kItemWidth = 43;

// A vertical legend whose item area holds exactly `rows` rows.
TPlotRect RowsOfRoom(int rows) { return {0, 0, 200, 12 * rows + 18}; }

// `count` channels, all titled "ABCD".
void TitledChannels(TPlot& plot, int count) {
    while (plot.ChannelCount() < count) plot.AddChannel();
    for (int i = 0; i < plot.ChannelCount(); ++i) plot.GetChannel(i)->SetTitleText("ABCD");
}

struct LegendLayout : ::testing::Test {
    TPlot plot;
    TPlotLegend& legend = *plot.GetLegend(0);
    FixedMetrics metrics;

    void Channels(int count) { TitledChannels(plot, count); }
    void Layout(const TPlotRect& rect) {
        legend.SetDrawRect(rect);
        legend.CalcRects(metrics);
    }
    // The channel index of each shown row, in row order.
    std::vector<int> Shown() const {
        std::vector<int> shown;
        for (const TPlotLegendItem& item : legend.GetItems())
            if (item.Shown()) shown.push_back(plot.GetChannelManager()->IndexOf(*item.Channel));
        return shown;
    }
};

}  // namespace

// ---- Layout --------------------------------------------------------------------------------

TEST_F(LegendLayout, CountsOfLayoutColumnsAndRows) {
    struct Case {
        const char* what;
        bool horizontal;
        int channels;
        TPlotRect rect;
        std::function<void(TPlotLegend&)> setup;
        int columns;
        int rows;
        bool scrolls;
    };
    const auto none = [](TPlotLegend&) {};
    const Case cases[] = {
        {"four rows of room, one column wanted", false, 10, RowsOfRoom(4), none, 1, 4, true},
        {"two rows of room are raised to three", false, 10, RowsOfRoom(2), none, 1, 3, true},
        {"two rows of room for two rows are enough", false, 2, RowsOfRoom(2), none, 1, 2, false},
        {"no more rows than channels", false, 3, RowsOfRoom(10), none, 1, 3, false},
        {"automatic columns from the rows that fit", false, 10, RowsOfRoom(4),
         [](TPlotLegend& l) { l.SetWrapColAutoCountEnabled(true); }, 3, 4, false},
        {"automatic columns capped by their maximum", false, 10, RowsOfRoom(4),
         [](TPlotLegend& l) {
             l.SetWrapColAutoCountEnabled(true);
             l.SetWrapColAutoCountMax(2);
         },
         2, 4, true},
        {"a fixed row count bounds the rows", false, 10, RowsOfRoom(10),
         [](TPlotLegend& l) { l.SetWrapRowAutoCountEnabled(false); }, 1, 5, true},
        {"wanted columns bounded by the width", true, 10, {0, 0, 206, 100},
         [](TPlotLegend& l) { l.SetWrapColDesiredCount(5); }, 3, 4, false},
        {"a fixed row count below three is raised when rows are hidden", true, 10, {0, 0, 206, 100},
         [](TPlotLegend& l) {
             l.SetWrapColDesiredCount(2);
             l.SetWrapRowAutoCountEnabled(false);
             l.SetWrapRowDesiredCount(2);
         },
         2, 3, true},
        {"automatic columns shrink to what the rows need", true, 4, {0, 0, 206, 100},
         [](TPlotLegend& l) { l.SetWrapColAutoCountEnabled(true); }, 2, 2, false},
        {"counts below one count as one", false, 3, RowsOfRoom(10),
         [](TPlotLegend& l) {
             l.SetWrapColDesiredCount(0);
             l.SetWrapRowAutoCountEnabled(false);
             l.SetWrapRowDesiredCount(-2);
         },
         1, 3, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TPlot fresh;
        TPlotLegend& l = *fresh.GetLegend(0);
        TitledChannels(fresh, c.channels);
        l.SetHorizontal(c.horizontal);
        c.setup(l);
        l.SetDrawRect(c.rect);
        l.CalcRects(metrics);
        EXPECT_EQ(l.GetLayoutColumnCount(), c.columns);
        EXPECT_EQ(l.GetLayoutRowCount(), c.rows);
        EXPECT_EQ(l.GetUpButton().GetVisible(), c.scrolls);
        EXPECT_EQ(l.GetDownButton().GetVisible(), c.scrolls);
    }
}

TEST_F(LegendLayout, RequiredSizeCountsRowsColumnsMarginsAndTheButtons) {
    Channels(10);
    legend.SetDrawRect(RowsOfRoom(4));
    // One column of 43, margins 6 + 6, and 25 for the scroll buttons.
    EXPECT_EQ(legend.GetRequiredWidth(metrics), kItemWidth + 12 + 25);
    EXPECT_EQ(legend.GetNeededHeight(), 10 + 4 * 12 - 2 + 10);

    legend.SetHorizontal(true);
    legend.SetWrapColDesiredCount(5);
    legend.SetDrawRect({0, 0, 400, 100});
    // Five columns of two rows: the height across a horizontal band.
    EXPECT_EQ(legend.GetRequiredWidth(metrics), 10 + 2 * 12 - 2 + 10);

    legend.SetColumnTitlesVisible(true);
    // The title row (10) and a quarter of it below.
    EXPECT_EQ(legend.GetRequiredWidth(metrics), 10 + 10 + 2 + 2 * 12 - 2 + 10);
}

TEST_F(LegendLayout, WithoutChannelsTheLegendTakesNoRoom) {
    plot.GetChannel(0)->SetVisibleInLegend(false);
    legend.SetDrawRect(RowsOfRoom(4));
    EXPECT_EQ(legend.GetRequiredWidth(metrics), 0);
    EXPECT_TRUE(legend.GetItems().empty());
    EXPECT_FALSE(legend.GetDownButton().GetVisible());
}

TEST_F(LegendLayout, ScrollButtonsPageThroughTheRows) {
    Channels(10);
    Layout(RowsOfRoom(4));
    EXPECT_EQ(Shown(), (std::vector<int>{0, 1, 2, 3}));
    // At the right of the item area (6..194, 10..56), one at its top, one at its bottom.
    EXPECT_EQ(legend.GetUpButton().GetDrawRect(), (TPlotRect{177, 10, 194, 27}));
    EXPECT_EQ(legend.GetDownButton().GetDrawRect(), (TPlotRect{177, 39, 194, 56}));
    EXPECT_FALSE(legend.GetUpButton().GetEnabled());
    EXPECT_TRUE(legend.GetDownButton().GetEnabled());

    legend.DownButtonClick();
    legend.CalcRects(metrics);
    EXPECT_EQ(Shown(), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_TRUE(legend.GetUpButton().GetEnabled());

    for (int click = 0; click < 5; ++click) legend.DownButtonClick();
    legend.CalcRects(metrics);
    EXPECT_EQ(Shown(), (std::vector<int>{6, 7, 8, 9}));
    EXPECT_FALSE(legend.GetDownButton().GetEnabled()) << "the last row is shown";

    for (int click = 0; click < 20; ++click) legend.DownButtonClick();
    EXPECT_EQ(legend.GetTopIndex(), 9) << "never past the last row";
    for (int click = 0; click < 20; ++click) legend.UpButtonClick();
    EXPECT_EQ(legend.GetTopIndex(), 0);
}

TEST_F(LegendLayout, WhenEverythingFitsAgainTheFirstRowIsShown) {
    Channels(10);
    Layout(RowsOfRoom(4));
    legend.DownButtonClick();
    legend.DownButtonClick();
    Layout(RowsOfRoom(10));
    EXPECT_EQ(legend.GetTopIndex(), 0);
    EXPECT_EQ(Shown(), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(legend.GetUpButton().GetVisible());
}

TEST_F(LegendLayout, ANameWiderThanTheMaximumWrapsBetweenWords) {
    Channels(2);
    plot.GetChannel(0)->SetTitleText("AB CD EF");
    plot.GetChannel(1)->SetTitleText("ABCDEFGHIJ");

    Layout(RowsOfRoom(10));
    EXPECT_EQ(legend.GetColumnWidth(TPlotLegend::lcName), 60) << "as wide as the widest name";
    EXPECT_EQ(legend.GetItems()[0].Height, 10);

    legend.SetChannelNameMaxWidth(5);
    Layout(RowsOfRoom(10));
    EXPECT_EQ(legend.GetColumnWidth(TPlotLegend::lcName), 30);
    EXPECT_EQ(legend.GetItems()[0].Height, 20) << "\"AB CD\" and \"EF\"";
    EXPECT_EQ(legend.GetItems()[1].Height, 10) << "one word keeps one line";
    EXPECT_EQ(legend.GetRowHeight(), 20);
}

TEST_F(LegendLayout, AutomaticSpacingSpreadsRowsAndLayoutColumns) {
    Channels(3);
    legend.SetWrapRowSpacingAuto(true);
    Layout({0, 0, 200, 100});
    // Three rows of 10 in an area of 80: two gaps of 25.
    std::vector<int> tops;
    for (const TPlotLegendItem& item : legend.GetItems()) tops.push_back(item.Y);
    EXPECT_EQ(tops, (std::vector<int>{10, 45, 80}));

    Channels(4);
    legend.SetHorizontal(true);
    legend.SetWrapColDesiredCount(2);
    Layout({0, 0, 206, 100});
    // Two columns in an area of 194, 25 kept for the buttons: one gap of 194 - 25 - 86 = 83.
    EXPECT_EQ(legend.GetItems()[2].X - legend.GetItems()[0].X, kItemWidth + 83);
    legend.SetWrapColSpacingAuto(false);
    Layout({0, 0, 206, 100});
    EXPECT_EQ(legend.GetItems()[2].X - legend.GetItems()[0].X, kItemWidth + 20);
}

TEST_F(LegendLayout, ColumnTitlesWidenTheirColumnsAndPushTheRowsDown) {
    Channels(1);
    legend.SetShowColumnYMax(true);
    Layout(RowsOfRoom(4));
    EXPECT_EQ(legend.GetColumnWidth(TPlotLegend::lcName), 24);
    EXPECT_EQ(legend.GetItems()[0].Y, 10);

    legend.SetCaptionColumnYMax("Highest Y");
    legend.SetColumnTitlesVisible(true);
    Layout(RowsOfRoom(4));
    EXPECT_EQ(legend.GetColumnWidth(TPlotLegend::lcName), 30) << "\"Title\"";
    EXPECT_EQ(legend.GetColumnWidth(TPlotLegend::lcYMax), 54) << "\"Highest Y\"";
    EXPECT_EQ(legend.GetItems()[0].Y, 10 + 10 + 2);
}

// ---- Cell texts ----------------------------------------------------------------------------

TEST(LegendTexts, NamesAreTitlesUnlessBlank) {
    TPlot plot;
    TPlotChannel& channel = *plot.GetChannel(0);
    const TPlotLegend& legend = *plot.GetLegend(0);
    struct Case {
        const char* title;
        std::string shown;
    } cases[] = {{"CH1", "CH1"}, {"", channel.GetName()}, {"   ", channel.GetName()}, {" x ", " x "}};
    for (const Case& c : cases) {
        channel.SetTitleText(c.title);
        EXPECT_EQ(legend.GetNameText(channel), c.shown) << "'" << c.title << "'";
    }
}

TEST(LegendTexts, ValuesStatisticsAndAxisTitles) {
    TPlot plot;
    TPlotChannel& channel = *plot.GetChannel(0);
    TPlotXAxis& x = *plot.GetXAxis(0);
    TPlotYAxis& y = *plot.GetYAxis(0);
    const TPlotLegend& legend = *plot.GetLegend(0);
    const std::string xName = x.GetName();
    const std::string yName = y.GetName();

    for (const auto& text : {legend.GetXAxisValueText(channel), legend.GetYAxisValueText(channel),
                             legend.GetYAxisMaxText(channel), legend.GetYAxisMinText(channel),
                             legend.GetYAxisMeanText(channel)})
        EXPECT_EQ(text, "Empty");
    channel.AddXNull(3);
    EXPECT_EQ(legend.GetYAxisMaxText(channel), "Empty") << "a Null point is no value";

    channel.AddXY(4, 10);
    channel.AddXY(5, -2);
    channel.AddXY(6.5, 4);
    EXPECT_EQ(legend.GetXAxisValueText(channel), x.GetLegendText(6.5));
    EXPECT_EQ(legend.GetYAxisValueText(channel), y.GetLegendText(4));
    EXPECT_EQ(legend.GetYAxisMaxText(channel), y.GetLegendText(10));
    EXPECT_EQ(legend.GetYAxisMinText(channel), y.GetLegendText(-2));
    EXPECT_EQ(legend.GetYAxisMeanText(channel), y.GetLegendText(4));

    x.SetTitle("  ");
    EXPECT_EQ(legend.GetXAxisNameText(channel), xName) << "a blank title gives the axis's name";
    y.SetTitle("Volts");
    EXPECT_EQ(legend.GetYAxisNameText(channel), "Volts");

    channel.SetXAxisName("nowhere");
    channel.SetYAxisName("nowhere");
    EXPECT_EQ(legend.GetXAxisNameText(channel), "None");
    EXPECT_EQ(legend.GetYAxisNameText(channel), "None");
    for (const auto& text : {legend.GetXAxisValueText(channel), legend.GetYAxisValueText(channel),
                             legend.GetYAxisMaxText(channel), legend.GetYAxisMinText(channel),
                             legend.GetYAxisMeanText(channel)})
        EXPECT_EQ(text, "N/A");
}

// ---- Properties ----------------------------------------------------------------------------

TEST(LegendProperties, PublishedWithTheirValuesAtCreation) {
    TPlot plot;
    const TPlotLegend& legend = *plot.GetLegend(0);
    const std::pair<const char*, const char*> defaults[] = {
        {"Horizontal", "False"},
        {"MarginLeft", "1"},
        {"MarginBottom", "1"},
        {"BackGroundColor", "#808080"},
        {"BackGroundTransparent", "True"},
        {"SelectedItemBackGroundColor", "#FFFF00"},
        {"Font.Color", "#FFFFFF"},
        {"SelectedItemFont.Color", "#000000"},
        {"ColumnTitlesFont.Color", "#00FFFF"},
        {"ColumnTitlesFont.Style", "Bold"},
        {"ShowColumnLine", "True"},
        {"ShowColumnMarker", "False"},
        {"ShowColumnYMean", "False"},
        {"ColumnTitlesVisible", "False"},
        {"CaptionColumnTitle", "Title"},
        {"CaptionColumnYMean", "Y-Mean"},
        {"ColumnSpacing", "0.5"},
        {"RowSpacing", "0.25"},
        {"WrapRowSpacingMin", "0.25"},
        {"WrapColSpacingMin", "2"},
        {"WrapColDesiredCount", "1"},
        {"WrapRowDesiredCount", "5"},
        {"WrapColAutoCountEnabled", "False"},
        {"WrapRowAutoCountEnabled", "True"},
        {"WrapColAutoCountMax", "100"},
        {"WrapRowAutoCountMax", "100"},
        {"WrapColSpacingAuto", "True"},
        {"WrapRowSpacingAuto", "False"},
        {"ChannelNameMaxWidth", "0"},
        {"ChannelNameColorStyle", "iplcncsFont"},
    };
    for (const auto& [name, text] : defaults) {
        const TPlotProperty* property = FindPlotProperty(legend, name);
        ASSERT_NE(property, nullptr) << name;
        EXPECT_EQ(property->Read(legend), text) << name;
    }
}

TEST(LegendProperties, RowSpacingHasTwoNamesAndOnlyChangesAreReported) {
    TPlot plot;
    TPlotLegend& legend = *plot.GetLegend(0);
    int changes = 0;
    const TPlotObjectEvent report = legend.OnChange;
    legend.OnChange = [&](TPlotObject& obj) {
        ++changes;
        report(obj);
    };
    legend.SetRowSpacing(0.25);
    EXPECT_EQ(changes, 0);
    legend.SetWrapRowSpacingMin(0.5);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(legend.GetRowSpacing(), 0.5);
    FindPlotProperty(legend, "RowSpacing")->Write(legend, "0.75");
    EXPECT_EQ(FindPlotProperty(legend, "WrapRowSpacingMin")->Read(legend), "0.75");
}

// ---- The legend of a painted plot ---------------------------------------------------------

namespace {

constexpr int kWidth = 640;
constexpr int kHeight = 300;

// TPlot as it is built, painted whole into an image; its legend stands right of the data view.
struct PaintedLegend : ::testing::Test {
    TPlot plot;
    TPlotLegend& legend = *plot.GetLegend(0);
    TPlotChannel& channel = *plot.GetChannel(0);
    QImage image{kWidth, kHeight, QImage::Format_RGB32};
    QtCanvas canvas{image};

    PaintedLegend() { plot.SetBounds(kWidth, kHeight); }
    void Paint() {
        image.fill(0xFFFFFFFF);
        plot.iPaintTo(canvas);
    }
    void Click(int x, int y) {
        plot.iMouseDown(mbLeft, ssLeft, x, y);
        plot.iMouseUp(mbLeft, 0, x, y);
    }
    void ClickInside(const TPlotRect& box) { Click((box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2); }
    QRgb Rgb(TColor color) { return ToQColor(canvas.ResolveColor(color)).rgb(); }
    int CountOf(QRgb color, const TPlotRect& box) const {
        int count = 0;
        for (int y = std::max(box.Top, 0); y < std::min(box.Bottom, kHeight); ++y)
            for (int x = std::max(box.Left, 0); x < std::min(box.Right, kWidth); ++x) count += image.pixel(x, y) == color;
        return count;
    }
    int CountNot(QRgb color, const TPlotRect& box) const {
        const int all = (box.Right - box.Left) * (box.Bottom - box.Top);
        return all - CountOf(color, box);
    }
    void AddChannels(int count) {
        while (plot.ChannelCount() < count) plot.AddChannel();
    }
};

}  // namespace

TEST_F(PaintedLegend, WithNoChannelShownNothingIsDrawn) {
    channel.SetVisibleInLegend(false);
    Paint();
    const QImage withEmptyLegend = image.copy();
    EXPECT_TRUE(channel.GetLegendRect() == TPlotRect{});
    legend.SetVisible(false);
    Paint();
    EXPECT_EQ(image, withEmptyLegend) << "an empty legend neither draws nor takes room";
}

TEST_F(PaintedLegend, LineSamplesFollowTheTraceLineStyle) {
    // Pixels 0..15 of the line column: '#' in the channel's colour on each of three rows.
    struct Case {
        TPlotLineStyle style;
        const char* pixels;
    } cases[] = {
        {iplsSolid, "#############..."},      {iplsDash, "#####...#####..."},
        {iplsDot, "##..##..##......"},        {iplsDashDot, "#####..##......."},
        {iplsDashDotDot, "#####..##..##..."},
    };
    channel.SetColor(clRed);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pixels);
        channel.SetTraceLineStyle(c.style);
        Paint();
        const TPlotLegendItem& item = legend.GetItems().at(0);
        const int left = item.X + legend.GetColumnOffset(TPlotLegend::lcLine);
        const int middle = item.Y + legend.GetRowHeight() / 2;
        for (int dy = -2; dy <= 2; ++dy) {
            std::string row;
            for (int dx = 0; dx < 16; ++dx) row += image.pixel(left + dx, middle + dy) == Rgb(clRed) ? '#' : '.';
            EXPECT_EQ(row, dy == -2 || dy == 2 ? "................" : c.pixels) << "row " << dy;
        }
    }
}

TEST_F(PaintedLegend, ACursorOnEveryChannelShowsItsReadingsInTheValueColumns) {
    channel.SetXAxisTrackingEnabled(false);
    channel.SetYAxisTrackingEnabled(false);
    plot.GetXAxis(0)->SetMinSpan(0, 100);
    plot.GetYAxis(0)->SetMinSpan(0, 100);
    for (int i = 0; i <= 100; ++i) channel.AddXY(i, 37);
    TPlotDataCursor& cursor = *plot.GetDataCursor(0);
    cursor.SetChannelName(kDataCursorAllChannels);
    cursor.SetChannelShowAllInLegend(true);

    struct Case {
        const char* what;
        std::function<void()> setup;
        bool columns;
    } cases[] = {
        {"a hidden cursor", [&] { cursor.SetVisible(false); }, false},
        {"a shown cursor on every channel", [&] { cursor.SetVisible(true); }, true},
        {"a cursor on one channel", [&] { cursor.SetChannelName(channel.GetName()); }, false},
        {"every channel, but not for the legend",
         [&] {
             cursor.SetChannelName(kDataCursorAllChannels);
             cursor.SetChannelShowAllInLegend(false);
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.setup();
        Paint();
        EXPECT_EQ(legend.GetCursorColumnsMode(), c.columns);
        EXPECT_EQ(legend.GetColumnShown(TPlotLegend::lcXValue), c.columns);
        EXPECT_EQ(legend.GetColumnShown(TPlotLegend::lcYValue), c.columns);
    }
    EXPECT_FALSE(legend.GetShowColumnXValue());

    cursor.SetChannelShowAllInLegend(true);
    Paint();
    ASSERT_FALSE(channel.GetCursorValueYText().empty());
    EXPECT_EQ(legend.GetXAxisValueText(channel), channel.GetCursorValueXText());
    EXPECT_EQ(legend.GetYAxisValueText(channel), channel.GetCursorValueYText());
    const TPlotLegendItem& item = legend.GetItems().at(0);
    for (TPlotLegend::TColumn column : {TPlotLegend::lcXValue, TPlotLegend::lcYValue}) {
        const int left = item.X + legend.GetColumnOffset(column);
        const TPlotRect cell{left, item.Y, left + legend.GetColumnWidth(column), item.Y + legend.GetRowHeight()};
        EXPECT_GT(CountNot(Rgb(clBlack), cell), 0) << "the reading is written";
    }
}

TEST_F(PaintedLegend, AClickBesideTheNamesSelectsTheLegendAndAClickOnANameTheChannel) {
    int channelClicks = 0;
    int legendClicks = 0;
    plot.OnClickChannel = [&](int index) { channelClicks += index == 0; };
    plot.OnClickLegend = [&](int index) { legendClicks += index == 0; };
    Paint();
    const TPlotRect name = channel.GetLegendRect();
    ASSERT_FALSE(name == TPlotRect{});
    EXPECT_EQ(legend.GetMouseObject(name.Left + 1, name.Top + 1), &channel);

    const TPlotRect& area = legend.GetDrawRect();
    const TPlotRect focusSide{area.Left + 2, area.Top, area.Left + 3, area.Bottom};
    EXPECT_EQ(CountNot(Rgb(clBlack), focusSide), 0);
    Click(area.Left + 3, area.Bottom - 3);
    EXPECT_TRUE(legend.GetUserSelected());
    EXPECT_EQ(legendClicks, 1);
    EXPECT_EQ(channelClicks, 0);
    Paint();
    EXPECT_GT(CountNot(Rgb(clBlack), focusSide), 0) << "the focus rectangle, 2 pixels in from the side";

    ClickInside(name);
    EXPECT_TRUE(channel.GetUserSelected());
    EXPECT_FALSE(legend.GetUserSelected()) << "selecting another object deselects the legend";
    EXPECT_EQ(channelClicks, 1);
    EXPECT_EQ(legendClicks, 1);
    Paint();
    EXPECT_GT(CountOf(Rgb(clYellow), name), 0) << "a selected name is marked";
}

TEST_F(PaintedLegend, TheNameTakesItsColourFromTheChosenSource) {
    channel.SetColor(clRed);
    channel.SetTitleText("MMMM");
    TPlotFont xLabels = plot.GetXAxis(0)->GetLabelsFont();
    xLabels.Color = clLime;
    plot.GetXAxis(0)->SetLabelsFont(xLabels);
    TPlotFont yLabels = plot.GetYAxis(0)->GetLabelsFont();
    yLabels.Color = clAqua;
    plot.GetYAxis(0)->SetLabelsFont(yLabels);
    const struct Case {
        TPlotLegendChannelNameColorStyle style;
        TColor color;
    } cases[] = {{iplcncsFont, clWhite}, {iplcncsChannel, clRed}, {iplcncsXAxisLabelsFont, clLime},
                 {iplcncsYAxisLabelsFont, clAqua}};
    for (const Case& c : cases) {
        SCOPED_TRACE(kPlotLegendChannelNameColorStyleNames[c.style]);
        legend.SetChannelNameColorStyle(c.style);
        Paint();
        const TPlotRect name = channel.GetLegendRect();
        const int background = CountOf(Rgb(clBlack), name);
        EXPECT_GT(CountOf(Rgb(c.color), name), 0);
        EXPECT_EQ(CountOf(Rgb(c.color), name) + background, (name.Right - name.Left) * (name.Bottom - name.Top))
            << "every letter in that colour";
    }
}

TEST_F(PaintedLegend, AHiddenLegendLeavesNoNameToClick) {
    Paint();
    const TPlotRect name = channel.GetLegendRect();
    legend.SetVisible(false);
    Paint();
    EXPECT_TRUE(channel.GetLegendRect() == TPlotRect{});
    ClickInside(name);
    EXPECT_FALSE(channel.GetUserSelected());
}

TEST_F(PaintedLegend, AChannelLeavingThePlotLeavesTheRowsAtOnce) {
    AddChannels(3);
    Paint();
    TPlotChannelCustom* last = plot.GetChannel(2);
    const TPlotRect name = last->GetLegendRect();
    plot.DeleteChannel(2);
    ASSERT_EQ(legend.GetItems().size(), 2u);
    for (const TPlotLegendItem& item : legend.GetItems()) EXPECT_NE(item.Channel, last);
    EXPECT_EQ(legend.GetMouseObject(name.Left + 1, name.Top + 1), &legend);
}

TEST_F(PaintedLegend, TheScrollButtonsScrollOnAClickAndShowWhetherTheyCan) {
    AddChannels(40);
    Paint();
    TPlotLegendButton& up = legend.GetUpButton();
    TPlotLegendButton& down = legend.GetDownButton();
    ASSERT_TRUE(down.GetVisible()) << "forty rows do not fit in " << kHeight << " pixels";
    EXPECT_EQ(legend.GetMouseObject(down.GetDrawRect().Left + 2, down.GetDrawRect().Top + 2), &down);

    // The widest row of each arrow: the bottom of the up arrow, the top of the down arrow.
    const auto arrowBase = [](const TPlotLegendButton& button) {
        const TPlotRect& box = button.GetDrawRect();
        const int x = box.Left + 8;
        const int y = box.Top + 8 + (button.GetPointsUp() ? 1 : -2);
        return TPlotRect{x - 4, y, x + 4, y + 1};
    };
    EXPECT_EQ(CountOf(Rgb(clGray), arrowBase(up)), 8) << "nothing above the first row";
    EXPECT_EQ(CountOf(Rgb(clBlack), arrowBase(down)), 8);

    ClickInside(down.GetDrawRect());
    EXPECT_EQ(legend.GetTopIndex(), 1);
    Paint();
    EXPECT_FALSE(legend.GetItems()[0].Shown());
    EXPECT_TRUE(legend.GetItems()[1].Shown());
    EXPECT_EQ(legend.GetItems()[1].Row, 0);
    EXPECT_EQ(CountOf(Rgb(clBlack), arrowBase(up)), 8);

    ClickInside(up.GetDrawRect());
    EXPECT_EQ(legend.GetTopIndex(), 0);
}

namespace {

// A host timer the test ticks by hand.
struct HandTimer : TPlotTimer {
    std::function<void()> tick;
    std::vector<int>& starts;
    HandTimer(std::function<void()> onTick, std::vector<int>& log) : tick(std::move(onTick)), starts(log) {}
    void Start(int intervalMs) override { starts.push_back(intervalMs); }
    void Stop() override {}
};

}  // namespace

TEST_F(PaintedLegend, HoldingADownButtonScrollsOnAfterHalfASecond) {
    std::vector<int> starts;
    HandTimer* timer = nullptr;
    plot.SetTimerFactory([&](std::function<void()> onTick) -> std::unique_ptr<TPlotTimer> {
        auto made = std::make_unique<HandTimer>(std::move(onTick), starts);
        timer = made.get();
        return made;
    });
    AddChannels(40);
    Paint();
    const TPlotRect& box = legend.GetDownButton().GetDrawRect();
    plot.iMouseDown(mbLeft, ssLeft, box.Left + 8, box.Top + 8);
    ASSERT_NE(timer, nullptr) << "the button reaches the plot's timers through the legend";
    timer->tick();
    timer->tick();
    EXPECT_EQ(starts, (std::vector<int>{500, 50}));
    EXPECT_EQ(legend.GetTopIndex(), 2);
    plot.iMouseUp(mbLeft, 0, box.Left + 8, box.Top + 8);
    EXPECT_EQ(legend.GetTopIndex(), 3) << "the release is a click of its own";
}

TEST_F(PaintedLegend, TheMenuOffersOnlyTheCommonEdit) {
    TPlotPopupMenu menu;
    menu.Add("left over");
    legend.AddMenuItems(menu);
    ASSERT_EQ(menu.Items().size(), 1u);
    EXPECT_EQ(menu.Items()[0].Caption, "Edit...");
}
