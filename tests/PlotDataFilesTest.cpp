#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Bytes.h"
#include "PlotErrors.h"
#include "TemporaryFolder.h"
#include "plot/component/Plot.h"
#include "plot/config/PlotProperties.h"
#include "plot/core/PlotNumberText.h"

using namespace ondrix;

namespace {

using test::ErrorOf;
using test::ReadText;

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string Single(float value) {
    uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((bits >> shift) & 0xFF);
    return bytes;
}

// A point as a test states it: X, Y and its mark.
struct Point {
    double x;
    double y;
    TPlotDataPointStatus status = ipdpsValid;
    bool operator==(const Point& other) const { return x == other.x && y == other.y && status == other.status; }
};

void PrintTo(const Point& point, std::ostream* out) {
    *out << "(" << point.x << ", " << point.y << (point.status == ipdpsNull ? ", Null" : "")
         << (point.status == ipdpsEmpty ? ", Empty" : "") << ")";
}

std::vector<Point> PointsOf(const TPlotChannelCustom& channel) {
    std::vector<Point> points;
    for (int i = 0; i < channel.GetCount(); ++i) {
        const TPlotDataPointStatus status =
            channel.GetDataNull(i) ? ipdpsNull : channel.GetDataEmpty(i) ? ipdpsEmpty : ipdpsValid;
        points.push_back({channel.GetDataX(i), channel.GetDataY(i), status});
    }
    return points;
}

void Fill(TPlotChannelCustom& channel, const std::vector<Point>& points) {
    for (const Point& point : points) {
        channel.AddXY(point.x, point.y);
        const int added = channel.GetCount() - 1;
        if (point.status == ipdpsNull) channel.SetDataNull(added, true);
        if (point.status == ipdpsEmpty) channel.SetDataEmpty(added, true);
    }
}

// A TPlot with two titled channels and no tracking, in a folder of its own.
struct DataFilesTest : ::testing::Test {
    test::TemporaryFolder folder;
    TPlot plot;

    void SetUp() override {
        plot.AddChannel();
        for (int k = 0; k < 2; ++k) {
            Channel(k).SetXAxisTrackingEnabled(false);
            Channel(k).SetYAxisTrackingEnabled(false);
        }
        Channel(0).SetTitleText("A");
        Channel(1).SetTitleText("B");
    }
    TPlotChannelCustom& Channel(int k) { return *plot.GetChannel(k); }
    std::string Path(const std::string& name) const { return (folder.Path() / name).string(); }
    std::string SaveText(const std::string& name, char separator = '\t') {
        plot.SetDataFileColumnSeparator(separator == ',' ? ipdfcsComma : ipdfcsTab);
        plot.SaveDataToFile(Path(name));
        return ReadText(Path(name));
    }
};

}  // namespace

// ---- Numbers ----------------------------------------------------------------------------------

TEST(PlotDataNumbers, GeneralTextKeepsFifteenDigitsAndAlwaysADot) {
    struct Case {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {0.1 + 0.2, "0.3"},  // the 17-digit noise of the sum is gone
        {1.0 / 3, "0.333333333333333"},
        {-2.5, "-2.5"},
        {1e20, "1e+20"},
        {123456789012345678.0, "1.23456789012346e+17"},
        {1e-5, "1e-05"},
        {0.0001, "0.0001"},
        {1e308 * 10, "inf"},
    };
    for (const Case& c : cases) EXPECT_EQ(DoubleToGeneralText(c.value), c.text);
}

// ---- Saving -----------------------------------------------------------------------------------

TEST_F(DataFilesTest, TextFileHasOneRowPerPointOfTheLongestChannel) {
    Fill(Channel(0), {{1, 10}, {2, 0, ipdpsNull}, {3, 0.1 + 0.2}});
    Fill(Channel(1), {{-1.5, 0, ipdpsEmpty}});
    struct Case {
        char separator;
        const char* file;
    } cases[] = {
        {'\t', "A(X)\tA(Y)\tB(X)\tB(Y)\r\n1\t10\t-1.5\tEmpty\r\n2\tNull\t\t\r\n3\t0.3\t\t\r\n"},
        {',', "A(X),A(Y),B(X),B(Y)\r\n1,10,-1.5,Empty\r\n2,Null,,\r\n3,0.3,,\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(SaveText("data.txt", c.separator), c.file);
}

// A title holding the separator or a line break would shift the columns, or make a comma file
// read as a tab file.
TEST_F(DataFilesTest, TitlesCannotBreakTheHeaderApart) {
    Channel(0).SetTitleText("a,b\tc\r\nd");
    Channel(0).AddXY(1, 2);
    EXPECT_EQ(SaveText("data.txt", ','), "a b c  d(X),a b c  d(Y),B(X),B(Y)\r\n1,2,,\r\n");
}

TEST_F(DataFilesTest, SavingRemembersTheFileAndTellsTheHost) {
    int saved = 0;
    plot.OnAfterSaveData = [&] { ++saved; };
    plot.SaveDataToFile(Path("data.txt"));
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(plot.GetDataFileName(), Path("data.txt"));

    const std::string missingFolder = Path("no/such/folder.txt");
    EXPECT_EQ(ErrorOf([&] { plot.SaveDataToFile(missingFolder); }),
              "Error Saving Data - Cannot create file \"" + missingFolder + "\"");
    EXPECT_EQ(saved, 1);
    EXPECT_EQ(plot.GetDataFileName(), Path("data.txt"));
}

TEST_F(DataFilesTest, CompactFileHoldsSinglesWithXOnlyInTheFirstTwoRows) {
    Fill(Channel(0), {{0, 1}, {2, 3}, {4, 5}});
    Fill(Channel(1), {{7, 8}});
    plot.SetDataFileFormat(ipdffCompactInterval);
    plot.SaveDataToFile(Path("data.bin"));
    const std::string expected = "Compact Interval\r\n2\r\n" + Single(0) + Single(1) + Single(7) + Single(8) +
                                 Single(2) + Single(3) + Single(1e38f) + Single(1e38f) + Single(5) +
                                 Single(1e38f) + Single(2e38f);
    EXPECT_EQ(ReadText(Path("data.bin")), expected);
}

// A single at or above 9e37 would load back as a missing point or as the end of the file.
TEST_F(DataFilesTest, CompactFileRefusesValuesItCannotGiveBack) {
    plot.SetDataFileFormat(ipdffCompactInterval);
    WriteFile(Path("data.bin"), "kept");
    for (const double value : {1e38, 1e300, -1e300, 9.1e37}) {
        SCOPED_TRACE(value);
        Channel(0).Clear();
        Fill(Channel(0), {{0, 1}, {1, value}});
        EXPECT_EQ(ErrorOf([&] { plot.SaveDataToFile(Path("data.bin")); }),
                  "Error Saving Data - Value out of range for Compact Interval");
        EXPECT_EQ(ReadText(Path("data.bin")), "kept");
    }
}

// ---- Loading ----------------------------------------------------------------------------------

TEST_F(DataFilesTest, LoadingReadsEachFormByItsFirstLine) {
    using Points = std::vector<Point>;
    struct Case {
        const char* name;
        std::string file;
        Points first, second;
    } cases[] = {
        {"tab text, comma decimals", "A(X)\tA(Y)\tB(X)\tB(Y)\r\n1,5\t2,25\t3\t4\r\n", {{1.5, 2.25}}, {{3, 4}}},
        {"tab text, dot decimals", "A(X)\tA(Y)\r\n1.5\t-2.25e3\r\n", {{1.5, -2250}}, {}},
        {"comma text, dot decimals", "A(X),A(Y),B(X),B(Y)\r\n1.5,2.25,,\r\n", {{1.5, 2.25}}, {}},
        {"blank X or Y skips the pair", "h\th\th\th\r\n\t5\t1\t \r\n2\t3\r\n", {{2, 3}}, {}},
        {"Null and Empty in any case", "h\th\r\n1\tnull\t2\tEMPTY\r\n3\tNuLl\r\n",
         {{1, 0, ipdpsNull}, {3, 0, ipdpsNull}}, {{2, 0, ipdpsEmpty}}},
        {"pairs beyond the channels", "h\th\r\n1\t2\t3\t4\t5\t6\r\n", {{1, 2}}, {{3, 4}}},
        {"LF lines, no last line end", "h\th\n1\t2\n3\t4", {{1, 2}, {3, 4}}, {}},
        {"blanks around numbers", "h\th\r\n 1 \t 2 \r\n", {{1, 2}}, {}},
        {"header only", "A(X)\tA(Y)\r\n", {}, {}},
        {"empty file", "", {}, {}},
        {"comma log", "(X),A(Y),B(Y)\r\n1,10,20\r\n2,11,\r\n,12,13\r\n", {{1, 10}, {2, 11}}, {{1, 20}}},
        {"tab log, lower case mark", "(x)\tA(Y)\tB(Y)\r\n1\tNull\t5\r\n", {{1, 0, ipdpsNull}}, {{1, 5}}},
        {"log fields beyond the channels", "(X),A(Y),B(Y),C(Y)\r\n1,2,3,4\r\n", {{1, 2}}, {{1, 3}}},
        {"compact in any case", "compact INTERVAL\r\n1\r\n" + Single(5) + Single(6) + Single(2e38f), {{5, 6}}, {}},
        {"compact end marker stops", "Compact Interval\r\n1\r\n" + Single(1) + Single(2) + Single(2e38f) + "junk",
         {{1, 2}},
         {}},
        {"compact missing points skipped, and without X1 no spacing",
         "Compact Interval\r\n2\r\n" + Single(0) + Single(1) + Single(9) + Single(8) + Single(1) + Single(2) +
             Single(1e38f) + Single(1e38f) + Single(3) + Single(4) + Single(2e38f),
         {{0, 1}, {1, 2}, {2, 3}},
         {{9, 8}}},
        {"compact channels beyond the plot",
         "Compact Interval\r\n3\r\n" + Single(0) + Single(1) + Single(0) + Single(2) + Single(0) + Single(3) +
             Single(2e38f),
         {{0, 1}},
         {{0, 2}}},
        {"compact ending between values", "Compact Interval\r\n1\r\n" + Single(1) + Single(2) + Single(3),
         {{1, 2}},
         {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlot target;
        target.AddChannel();
        WriteFile(Path("in.txt"), c.file);
        target.LoadDataFromFile(Path("in.txt"));
        EXPECT_EQ(PointsOf(*target.GetChannel(0)), c.first);
        EXPECT_EQ(PointsOf(*target.GetChannel(1)), c.second);
    }
}

TEST_F(DataFilesTest, LoadingAppendsToWhatTheChannelsHold) {
    Channel(0).AddXY(-1, -1);
    WriteFile(Path("in.txt"), "h\th\r\n1\t2\r\n");
    plot.LoadDataFromFile(Path("in.txt"));
    plot.LoadDataFromFile(Path("in.txt"));
    EXPECT_EQ(PointsOf(Channel(0)), (std::vector<Point>{{-1, -1}, {1, 2}, {1, 2}}));
}

// Every failure is checked before the first point is added: a bad file changes nothing.
TEST_F(DataFilesTest, BadFilesFailWithoutAddingAnything) {
    struct Case {
        const char* name;
        std::string file;
    } cases[] = {
        {"a word where a number belongs", "h\th\r\n1\t2\r\n3\tabc\r\n"},
        {"a number with junk after it", "h\th\r\n1\t2\r\n3\t4x\r\n"},
        {"a bad X in a log", "(X)\tA(Y)\r\n1\t2\r\nx\t3\r\n"},
        {"a decimal comma in a log", "(X)\tA(Y)\r\n1,5\t3\r\n"},
        // Not a value a channel can show: one infinity would stretch its Y axis to the sentinels.
        {"an infinite Y", "h\th\r\n1\t2\r\n3\tinf\r\n"},
        {"a negative infinite X", "h\th\r\n-inf\t2\r\n"},
        {"a NaN Y", "h\th\r\n1\tnan\r\n"},
        {"a number beyond a double", "h\th\r\n1\t1e999\r\n"},
        {"an infinite X in a log", "(X)\tA(Y)\r\n1\t2\r\nINF\t3\r\n"},
        {"a NaN Y in a log", "(X)\tA(Y)\r\n1\tNaN\r\n"},
        {"compact with an infinite Y", "Compact Interval\r\n1\r\n" + Single(0) + Single(-INFINITY)},
        {"compact with a NaN X", "Compact Interval\r\n1\r\n" + Single(NAN) + Single(1)},
        {"compact without a channel count", "Compact Interval\r\n"},
        {"compact with a word for a count", "Compact Interval\r\ntwo\r\n"},
        {"compact with a negative count", "Compact Interval\r\n-1\r\n"},
        {"compact cut inside a value", "Compact Interval\r\n1\r\n" + Single(1) + Single(2) + Single(3).substr(0, 2)},
    };
    int loaded = 0;
    plot.OnAfterLoadData = [&] { ++loaded; };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteFile(Path("in.txt"), c.file);
        EXPECT_EQ(ErrorOf([&] { plot.LoadDataFromFile(Path("in.txt")); }), "Error Loading Data - Invalid Data");
        EXPECT_EQ(Channel(0).GetCount(), 0);
        EXPECT_FALSE(plot.GetUpdateLocked());
    }
    const std::string missing = Path("missing.txt");
    EXPECT_EQ(ErrorOf([&] { plot.LoadDataFromFile(missing); }),
              "Error Loading Data - Cannot open file \"" + missing + "\"");
    EXPECT_EQ(loaded, 0);
    EXPECT_EQ(plot.GetDataFileName(), "");
}

TEST_F(DataFilesTest, TruncatedCompactFileFailsWithInvalidData) {
    Fill(Channel(0), {{0, 1}, {1, 2}, {2, 3}});
    plot.SetDataFileFormat(ipdffCompactInterval);
    plot.SaveDataToFile(Path("data.bin"));
    const std::string whole = ReadText(Path("data.bin"));
    WriteFile(Path("cut.bin"), whole.substr(0, whole.size() - 2));
    TPlot target;
    EXPECT_EQ(ErrorOf([&] { target.LoadDataFromFile(Path("cut.bin")); }), "Error Loading Data - Invalid Data");
    EXPECT_EQ(target.GetChannel(0)->GetCount(), 0);
}

// One repaint for the whole file; a bracket the caller holds stays open.
TEST_F(DataFilesTest, LoadingRepaintsOnceAndKeepsTheCallersUpdateBracket) {
    int repaints = 0;
    plot.OnRepaintRequest = [&] { ++repaints; };
    WriteFile(Path("in.txt"), "h\th\r\n1\t2\t3\t4\r\n5\t6\t7\t8\r\n");
    plot.LoadDataFromFile(Path("in.txt"));
    EXPECT_EQ(repaints, 1);
    EXPECT_FALSE(plot.GetUpdateLocked());

    plot.BeginUpdate();
    plot.LoadDataFromFile(Path("in.txt"));
    EXPECT_TRUE(plot.GetUpdateLocked());
    WriteFile(Path("bad.txt"), "h\th\r\nx\t1\r\n");
    EXPECT_NE(ErrorOf([&] { plot.LoadDataFromFile(Path("bad.txt")); }), "<no error>");
    EXPECT_TRUE(plot.GetUpdateLocked());
    plot.EndUpdate();
}

TEST_F(DataFilesTest, LoadingRemembersTheFileAndTellsTheHost) {
    int loaded = 0;
    plot.OnAfterLoadData = [&] { ++loaded; };
    WriteFile(Path("in.txt"), "h\th\r\n1\t2\r\n");
    plot.LoadDataFromFile(Path("in.txt"));
    EXPECT_EQ(loaded, 1);
    EXPECT_EQ(plot.GetDataFileName(), Path("in.txt"));
}

// ---- Round trips ------------------------------------------------------------------------------

TEST_F(DataFilesTest, TextFileLoadsBackWithItsMarks) {
    const std::vector<Point> first = {{0.1, 1.0 / 3}, {2, -7, ipdpsNull}, {3, 1e-9}, {4, 0, ipdpsEmpty}};
    const std::vector<Point> second = {{1e20, -5}};
    Fill(Channel(0), first);
    Fill(Channel(1), second);
    for (const char separator : {'\t', ','}) {
        SCOPED_TRACE(separator);
        SaveText("data.txt", separator);
        TPlot target;
        target.AddChannel();
        target.LoadDataFromFile(Path("data.txt"));
        std::vector<Point> expected = first;
        expected[0].y = 0.333333333333333;  // fifteen digits are written
        expected[1].y = 0;                  // a Null point loads at Y 0
        EXPECT_EQ(PointsOf(*target.GetChannel(0)), expected);
        EXPECT_EQ(PointsOf(*target.GetChannel(1)), second);
    }
}

// The form keeps X of rows 0 and 1 only; the later ones follow from that spacing.
TEST_F(DataFilesTest, CompactFileLoadsEquallySpacedChannelsBack) {
    std::vector<Point> first, second;
    for (int i = 0; i < 6; ++i) first.push_back({10 + 0.5 * i, i * i - 3.25});
    for (int i = 0; i < 3; ++i) second.push_back({-4.0 * i, 100.0 + i});
    Fill(Channel(0), first);
    Fill(Channel(1), second);
    plot.SetDataFileFormat(ipdffCompactInterval);
    plot.SaveDataToFile(Path("data.bin"));

    TPlot target;
    target.AddChannel();
    target.LoadDataFromFile(Path("data.bin"));
    EXPECT_EQ(PointsOf(*target.GetChannel(0)), first);
    EXPECT_EQ(PointsOf(*target.GetChannel(1)), second);
}

// ---- The data log -----------------------------------------------------------------------------

TEST_F(DataFilesTest, LogRefusesWhatItCannotDo) {
    plot.SetLogFileName("  ");
    EXPECT_EQ(ErrorOf([&] { plot.LogActivate(false); }), "Log File Name not Defined");
    EXPECT_EQ(ErrorOf([&] { plot.LogDeactivate(); }), "Logging not Active");
    plot.SetLogFileName(Path("log.txt"));
    plot.LogActivate(false);
    EXPECT_EQ(ErrorOf([&] { plot.LogActivate(true); }), "Logging Already Active");
    EXPECT_TRUE(plot.GetLoggingActive());
    plot.LogDeactivate();
    EXPECT_FALSE(plot.GetLoggingActive());
}

TEST_F(DataFilesTest, LogWritesRowsWhenTheBufferFills) {
    const std::string header = "(X)\tA(Y)\tB(Y)\r\n";
    const std::string rows[] = {"1\t10\t20\r\n", "2\t11\t21\r\n", "3\t12\t22\r\n", "4\t13\t23\r\n"};
    struct Case {
        int bufferSize;
        int rowsWrittenAfterEachAdd[4];
    } cases[] = {
        {0, {1, 2, 3, 4}},  // below 2: every row at once
        {1, {1, 2, 3, 4}},
        {2, {0, 2, 2, 4}},
        {3, {0, 0, 3, 3}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bufferSize);
        TPlot logged;
        logged.AddChannel();
        logged.GetChannel(0)->SetTitleText("A");
        logged.GetChannel(1)->SetTitleText("B");
        logged.SetLogFileName(Path("log.txt"));
        logged.SetLogBufferSize(c.bufferSize);
        logged.LogActivate(false);
        EXPECT_EQ(ReadText(Path("log.txt")), header);
        for (int i = 0; i < 4; ++i) {
            logged.AddDataArray(i + 1, {10.0 + i, 20.0 + i});
            std::string expected = header;
            for (int r = 0; r < c.rowsWrittenAfterEachAdd[i]; ++r) expected += rows[r];
            EXPECT_EQ(ReadText(Path("log.txt")), expected) << "after add " << i;
        }
        logged.LogDeactivate();
        EXPECT_EQ(ReadText(Path("log.txt")), header + rows[0] + rows[1] + rows[2] + rows[3]);
    }
}

TEST_F(DataFilesTest, LogStartsOverOrAppends) {
    plot.SetLogFileName(Path("log.txt"));
    plot.SetDataFileColumnSeparator(ipdfcsComma);
    struct Case {
        const char* name;
        bool fileExists;
        bool append;
        std::string expected;
    } cases[] = {
        {"start over", true, false, "(X),A(Y),B(Y)\r\n1,2,3\r\n"},
        {"append", true, true, "old\r\n1,2,3\r\n"},
        {"append to no file yet", false, true, "(X),A(Y),B(Y)\r\n1,2,3\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::remove(Path("log.txt").c_str());
        if (c.fileExists) WriteFile(Path("log.txt"), "old\r\n");
        plot.LogActivate(c.append);
        plot.AddDataArray(1, {2, 3});
        plot.LogDeactivate();
        EXPECT_EQ(ReadText(Path("log.txt")), c.expected);
    }
}

// A channel that took no value in a row leaves its field there empty; its points stay in the
// rows they were added in.
TEST_F(DataFilesTest, LogMarksAndMissingValues) {
    plot.SetLogFileName(Path("log.txt"));
    plot.SetLogBufferSize(10);
    plot.LogActivate(false);
    plot.AddDataArray(1, {5, 6});
    Channel(0).SetDataNull(0, true);
    plot.AddDataArray(2, {7});
    plot.LogDeactivate();
    EXPECT_EQ(ReadText(Path("log.txt")), "(X)\tA(Y)\tB(Y)\r\n1\tNull\t6\r\n2\t7\t\r\n");
}

TEST_F(DataFilesTest, TextLogLoadsBack) {
    plot.SetLogFileName(Path("log.txt"));
    plot.LogActivate(false);
    for (int i = 0; i < 3; ++i) plot.AddDataArray(i * 0.25, {i + 0.5, -i * 2.0});
    plot.LogDeactivate();
    TPlot target;
    target.AddChannel();
    target.LoadDataFromFile(Path("log.txt"));
    EXPECT_EQ(PointsOf(*target.GetChannel(0)), PointsOf(Channel(0)));
    EXPECT_EQ(PointsOf(*target.GetChannel(1)), PointsOf(Channel(1)));
}

TEST_F(DataFilesTest, CompactLogWritesXInItsFirstTwoRowsAcrossSessions) {
    plot.SetLogFileName(Path("log.bin"));
    plot.SetDataFileFormat(ipdffCompactInterval);
    plot.LogActivate(false);
    plot.AddDataArray(0, {1, 2});
    plot.LogDeactivate();
    plot.LogActivate(true);
    plot.AddDataArray(3, {4, 5});
    plot.AddDataArray(6, {7, 8});
    plot.LogDeactivate();
    EXPECT_EQ(ReadText(Path("log.bin")), "Compact Interval\r\n2\r\n" + Single(0) + Single(1) + Single(0) + Single(2) +
                                             Single(3) + Single(4) + Single(3) + Single(5) + Single(7) + Single(8));

    TPlot target;
    target.AddChannel();
    target.LoadDataFromFile(Path("log.bin"));
    EXPECT_EQ(PointsOf(*target.GetChannel(0)), PointsOf(Channel(0)));
    EXPECT_EQ(PointsOf(*target.GetChannel(1)), PointsOf(Channel(1)));
}

// Appended rows that did not match the file's rows would load as other channels' values.
TEST_F(DataFilesTest, CompactLogRefusesToAppendToAnotherKindOfFile) {
    plot.SetLogFileName(Path("log.bin"));
    plot.SetDataFileFormat(ipdffCompactInterval);
    const std::string cases[] = {
        "(X)\tA(Y)\r\n",
        "Compact Interval\r\n3\r\n",
        "Compact Interval\r\n2\r\n" + Single(1),
    };
    for (const std::string& existing : cases) {
        WriteFile(Path("log.bin"), existing);
        EXPECT_EQ(ErrorOf([&] { plot.LogActivate(true); }), "Log File Format Mismatch");
        EXPECT_FALSE(plot.GetLoggingActive());
        EXPECT_EQ(ReadText(Path("log.bin")), existing);
    }
}

TEST_F(DataFilesTest, ClearAllDataEndsTheLogWithItsPendingRows) {
    plot.SetLogFileName(Path("log.txt"));
    plot.SetLogBufferSize(5);
    plot.LogActivate(false);
    plot.AddDataArray(1, {2, 3});
    plot.ClearAllData();
    EXPECT_FALSE(plot.GetLoggingActive());
    EXPECT_EQ(Channel(0).GetCount(), 0);
    EXPECT_EQ(ReadText(Path("log.txt")), "(X)\tA(Y)\tB(Y)\r\n1\t2\t3\r\n");
}

TEST_F(DataFilesTest, APlotThatGoesAwayWritesItsPendingLogRows) {
    {
        TPlot going;
        going.SetLogFileName(Path("last.txt"));
        going.SetLogBufferSize(5);
        going.LogActivate(false);
        going.AddDataArray(1, {2});
    }
    EXPECT_EQ(ReadText(Path("last.txt")), "(X)\tChannel 1(Y)\r\n1\t2\r\n");
}

TEST_F(DataFilesTest, AddDataArrayFillsTheChannelsItHasValuesFor) {
    plot.AddDataArray(1, {2});
    EXPECT_EQ(PointsOf(Channel(0)), (std::vector<Point>{{1, 2}}));
    EXPECT_EQ(Channel(1).GetCount(), 0);
    EXPECT_EQ(ErrorOf([&] { plot.AddDataArray(3, {4, 5, 6}); }), "List index out of bounds (2)");
    EXPECT_EQ(Channel(0).GetCount(), 1);
    EXPECT_EQ(Channel(1).GetCount(), 0);
}

TEST(PlotDataLogProperties, AreStoredWithThePlot) {
    struct Case {
        const char* name;
        const char* initial;
        const char* changed;
    } cases[] = {
        {"LogFileName", "", "scope.log"},
        {"LogBufferSize", "0", "100"},
        {"DataFileColumnSeparator", "ipdfcsTab", "ipdfcsComma"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TPlot plot;
        const TPlotComponentProperty* found = nullptr;
        for (const TPlotComponentProperty& property : PlotComponentProperties())
            if (property.Name == c.name) found = &property;
        ASSERT_NE(found, nullptr);
        EXPECT_EQ(found->Read(plot), c.initial);
        found->Write(plot, c.changed);
        EXPECT_EQ(found->Read(plot), c.changed);
    }
}
