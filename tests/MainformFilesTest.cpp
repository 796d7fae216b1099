// The main window's files: recorded data saved and opened again, the analysis export, and what
// happens while running, when a dialog is cancelled, and when a file is damaged or cannot be
// written.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "Bytes.h"
#include "MainWindowRig.h"
#include "ScopeRig.h"
#include "acquisition/RecordedData.h"
#include "plot/axes/PlotAxis.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {
namespace {

using test::kScreenWidth;
using test::ReadBytes;
using test::WriteBytes;

class MainWindowFiles : public ::testing::Test {
protected:
    std::string File(const std::string& name) const { return files_.String() + "/" + name; }

    // Channel c holds values[c] at X 0, 1, ...
    void Fill(const std::array<std::vector<double>, kChannelCount>& values) {
        for (int c = 0; c < kChannelCount; ++c) {
            TPlotChannel& channel = *w_.form.Plot1.GetChannel(c);
            channel.Clear();
            for (size_t i = 0; i < values[c].size(); ++i) channel.AddXY(static_cast<double>(i), values[c][i]);
        }
    }

    void Save(const std::string& name) {
        w_.dialogs.answers.push_back(File(name));
        w_.form.ToolBar1.ToolButton_Save.trigger();
        ASSERT_TRUE(w_.WaitForFiles());
    }
    void Open(const std::string& name) {
        w_.dialogs.answers.push_back(File(name));
        w_.form.ToolBar1.ToolButton_Open.trigger();
        ASSERT_TRUE(w_.WaitForFiles());
    }

    test::TemporaryFolder noPorts_, files_;
    test::MainWindow w_{test::WindowSetup(noPorts_.String())};
};

// The start-up's prefill: one screen of zeros on every channel.
TEST_F(MainWindowFiles, SavingTheStartScreenWritesFiftyThousandZeroPointsPerChannel) {
    Save("start.dat");
    const std::vector<uint8_t> file = ReadBytes(File("start.dat"));
    ASSERT_EQ(file.size(), 400132u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin(), file.begin() + 4), (std::vector<uint8_t>{0x04, 0x1B, 0x06, 0x00}));
    EXPECT_EQ(w_.form.windowTitle().toStdString(), "Ondrix--" + File("start.dat"));
    ASSERT_EQ(w_.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(w_.dialogs.saveRequests[0].filter, "Data(*.dat)");
    EXPECT_EQ(w_.dialogs.saveRequests[0].defaultSuffix, "dat");
    EXPECT_TRUE(w_.notifier.messages.empty());
}

// What was saved comes back: values, titles, addresses and switches; a channel saved switched
// off comes back hidden while its switch keeps the state it had.
TEST_F(MainWindowFiles, ARecordingOpensAsItWasSaved) {
    Fill({std::vector<double>{1, -1, 32767}, {-32768, 0, 4660}, {7, 8, 9}, {-5.9, 2.5, 0}});
    w_.form.ChannelBoxes[0].Title.setText("Pressure");
    w_.AddressBox(1).setText("20001000");
    w_.LeaveAddressBox(1);
    w_.form.ChannelBoxes[2].Switch.click();
    Save("trace.dat");

    // Everything changed before the file comes back.
    Fill({std::vector<double>{5}, {5}, {5}, {5}});
    w_.form.ChannelBoxes[0].Title.setText("Other");
    w_.AddressBox(1).setText("0");
    w_.LeaveAddressBox(1);
    w_.form.ChannelBoxes[2].Switch.click();
    ASSERT_TRUE(w_.form.ChannelBoxes[2].Switch.isChecked());

    Open("trace.dat");
    ASSERT_TRUE(w_.notifier.messages.empty()) << w_.notifier.messages[0];
    const std::vector<double> expected[] = {{1, -1, 32767}, {-32768, 0, 4660}, {7, 8, 9}, {-5, 2, 0}};
    for (int c = 0; c < kChannelCount; ++c) {
        SCOPED_TRACE(c + 1);
        const TPlotChannel& channel = *w_.form.Plot1.GetChannel(c);
        ASSERT_EQ(channel.GetCount(), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(channel.GetDataX(i), i);
            EXPECT_EQ(channel.GetDataY(i), expected[c][static_cast<size_t>(i)]);
        }
        EXPECT_EQ(channel.GetVisible(), c != 2);
    }
    EXPECT_EQ(w_.form.ChannelBoxes[0].Title.text().toStdString(), "Pressure");
    EXPECT_EQ(w_.AddressBox(1).text().toStdString(), "20001000");
    EXPECT_EQ(w_.form.ChannelAddress(1), 0x20001000u);
    EXPECT_TRUE(w_.form.ChannelBoxes[2].Switch.isChecked()) << "a switch that was on stays on";
    EXPECT_EQ(w_.form.ChannelOn(2), 0);
    EXPECT_EQ(w_.form.Session().SampleCounter(), 3u) << "the next sample follows the loaded ones";
    EXPECT_EQ(w_.form.windowTitle().toStdString(), "Ondrix--" + File("trace.dat"));
}

// Seven samples saved after a long run, opened on a view far from X 0..6: the view moves to
// them, so that the user sees what was loaded.
TEST_F(MainWindowFiles, AnOpenedRecordingFillsTheView) {
    Fill({std::vector<double>{1, 2, 3, 4, 5, 6, 7}, {0, 0, 0, 0, 0, 0, 0}, {1, 1, 1, 1, 1, 1, 1}, {2, 2, 2, 2, 2, 2, 2}});
    Save("seven.dat");
    TPlotXAxis& x = *w_.form.Plot1.GetXAxis(0);
    x.SetMinSpan(90000, 50000);
    w_.form.Plot1.GetYAxis(0)->SetMinSpan(-10, 20);

    Open("seven.dat");
    ASSERT_TRUE(w_.notifier.messages.empty()) << w_.notifier.messages[0];
    EXPECT_EQ(x.GetMin(), 0);
    EXPECT_EQ(x.GetSpan(), 6);
    EXPECT_EQ(w_.form.Plot1.GetYAxis(0)->GetMin(), -40000);
    EXPECT_EQ(w_.form.Plot1.GetYAxis(0)->GetSpan(), 80000);
    EXPECT_TRUE(w_.form.Plot1.GetChannel(0)->GetMarkersVisible()) << "seven samples show as markers";
    EXPECT_TRUE(w_.form.View().States().ResumeEnabled);
}

TEST_F(MainWindowFiles, AnEmptyRecordingClearsTheChannels) {
    Fill({std::vector<double>{}, {}, {}, {}});
    Save("empty.dat");
    EXPECT_EQ(ReadBytes(File("empty.dat")).size(), 132u);
    Fill({std::vector<double>{1}, {1}, {1}, {1}});
    Open("empty.dat");
    EXPECT_EQ(w_.Points(0), 0);
    EXPECT_EQ(w_.form.Session().SampleCounter(), 0u);
}

// Damaged or foreign files are refused whole: nothing on screen changes.
TEST_F(MainWindowFiles, AFileThatIsNoRecordingIsRefused) {
    Fill({std::vector<double>{1, 2}, {3, 4}, {5, 6}, {7, 8}});
    Save("good.dat");
    std::vector<uint8_t> longer = ReadBytes(File("good.dat"));
    longer.push_back(0);
    WriteBytes(File("longer.dat"), longer);
    std::vector<uint8_t> shorter = ReadBytes(File("good.dat"));
    shorter.pop_back();
    WriteBytes(File("shorter.dat"), shorter);
    WriteBytes(File("text.dat"), {'h', 'e', 'l', 'l', 'o'});
    const std::string caption = w_.form.windowTitle().toStdString();

    for (const char* name : {"longer.dat", "shorter.dat", "text.dat", "missing.dat"}) {
        SCOPED_TRACE(name);
        w_.notifier.Clear();
        Fill({std::vector<double>{9}, {9}, {9}, {9}});
        Open(name);
        EXPECT_EQ(w_.notifier.messages, std::vector<std::string>{"Invalid file"});
        EXPECT_EQ(w_.notifier.captions, std::vector<std::string>{"File Error"});
        EXPECT_EQ(w_.notifier.buttons, std::vector<MessageButtons>{MessageButtons::OkCancel});
        EXPECT_EQ(w_.Points(0), 1) << "the channels were left as they were";
        EXPECT_EQ(w_.form.windowTitle().toStdString(), caption);
    }
}

TEST_F(MainWindowFiles, TheExportHoldsTheCountAndTheFourColumns) {
    w_.dialogs.answers.push_back(File("start.mdt"));
    w_.form.MainMenu1.SaveForMatlab.trigger();
    ASSERT_TRUE(w_.WaitForFiles());
    const std::vector<uint8_t> start = ReadBytes(File("start.mdt"));
    ASSERT_EQ(start.size(), 400004u);
    EXPECT_EQ(std::vector<uint8_t>(start.begin(), start.begin() + 4), (std::vector<uint8_t>{0x50, 0xC3, 0x00, 0x00}));
    EXPECT_TRUE(std::all_of(start.begin() + 4, start.end(), [](uint8_t b) { return b == 0; }));
    EXPECT_EQ(w_.dialogs.saveRequests.back().filter, "Data(*.mdt)");
    EXPECT_EQ(w_.dialogs.saveRequests.back().defaultSuffix, "mdt");

    Fill({std::vector<double>{-1}, {2}, {3}, {4}});
    w_.dialogs.answers.push_back(File("one.mdt"));
    w_.form.MainMenu1.SaveForMatlab.trigger();
    ASSERT_TRUE(w_.WaitForFiles());
    EXPECT_EQ(ReadBytes(File("one.mdt")), (std::vector<uint8_t>{1, 0, 0, 0, 0xFF, 0xFF, 2, 0, 3, 0, 4, 0}));
    EXPECT_EQ(w_.form.windowTitle().toStdString(), "Serial Ondrix") << "an export leaves the caption";
    EXPECT_TRUE(w_.notifier.messages.empty());
}

TEST_F(MainWindowFiles, CancelledDialogsDoNothing) {
    w_.form.MainMenu1.Save.trigger();
    w_.form.MainMenu1.Open.trigger();
    w_.form.MainMenu1.SaveForMatlab.trigger();
    ASSERT_TRUE(w_.WaitForFiles());
    EXPECT_EQ(w_.dialogs.saveRequests.size(), 2u);
    EXPECT_EQ(w_.dialogs.openRequests.size(), 1u);
    EXPECT_TRUE(w_.notifier.messages.empty());
    EXPECT_EQ(w_.form.windowTitle().toStdString(), "Serial Ondrix");
    EXPECT_TRUE(std::filesystem::is_empty(files_.Path()));
}

// A file that was not written is said so, and the caption does not claim it was.
TEST_F(MainWindowFiles, AFileThatCannotBeWrittenIsReported) {
    for (QAction* command : {&w_.form.MainMenu1.Save, &w_.form.MainMenu1.SaveForMatlab}) {
        w_.notifier.Clear();
        w_.dialogs.answers.push_back(File("no-such-folder/trace.dat"));
        command->trigger();
        ASSERT_TRUE(w_.WaitForFiles());
        ASSERT_EQ(w_.notifier.messages.size(), 1u);
        EXPECT_NE(w_.notifier.messages[0].find("trace.dat"), std::string::npos) << w_.notifier.messages[0];
        EXPECT_EQ(w_.notifier.captions, std::vector<std::string>{"File Error"});
        EXPECT_EQ(w_.form.windowTitle().toStdString(), "Serial Ondrix");
    }
}

// From the device to a file and back: what the virtual MPU sent, recorded with RUN and STOP,
// is what a saved and re-opened file shows, sample for sample.
TEST(MainWindowRecording, SamplesFromTheDeviceComeBackFromTheFile) {
    test::VirtualMpuRig mpu;
    test::TemporaryFolder files;
    test::MainWindow w{test::WindowSetup(mpu.PortsFolder())};
    w.form.Run.click();
    ASSERT_TRUE(w.form.Session().Running()) << (w.notifier.messages.empty() ? "" : w.notifier.messages[0]);
    ASSERT_TRUE(w.WaitForPoints(test::kScreenWidth + 500));
    w.form.Stop.click();

    std::array<std::vector<double>, kChannelCount> recorded;
    for (int c = 0; c < kChannelCount; ++c)
        for (int i = 0; i < w.Points(c); ++i) recorded[c].push_back(w.form.Plot1.GetChannel(c)->GetDataY(i));
    const std::string file = files.String() + "/device.dat";
    w.dialogs.answers.push_back(file);
    w.form.ToolBar1.ToolButton_Save.trigger();
    ASSERT_TRUE(w.WaitForFiles());

    for (int c = 0; c < kChannelCount; ++c) w.form.Plot1.GetChannel(c)->Clear();
    w.dialogs.answers.push_back(file);
    w.form.ToolBar1.ToolButton_Open.trigger();
    ASSERT_TRUE(w.WaitForFiles());
    ASSERT_TRUE(w.notifier.messages.empty()) << w.notifier.messages[0];
    for (int c = 0; c < kChannelCount; ++c) {
        SCOPED_TRACE(c + 1);
        const TPlotChannel& channel = *w.form.Plot1.GetChannel(c);
        ASSERT_EQ(channel.GetCount(), static_cast<int>(recorded[c].size()));
        int differing = 0;
        for (int i = 0; i < channel.GetCount(); ++i) differing += channel.GetDataY(i) != recorded[c][static_cast<size_t>(i)];
        EXPECT_EQ(differing, 0);
        // Not just the zeros RUN starts from: the device's samples are in the file.
        EXPECT_TRUE(std::any_of(recorded[c].begin() + test::kScreenWidth, recorded[c].end(),
                                [](double y) { return y != 0; }));
    }
}

// The plot's own Save button: a picture through the scope's dialogs, and a word to the user when
// the chosen name is of no picture type.
TEST_F(MainWindowFiles, ThePlotToolBarSavesPicturesAndSaysWhenTheTypeIsUnknown) {
    TPlotToolBar& plotToolBar = *w_.form.Plot1.GetToolBar(0);
    const auto written = [&] { return w_.form.PlotWindow().ExportHost()->PendingWrites() == 0; };
    w_.dialogs.answers.push_back(File("scope.PNG"));
    plotToolBar.DoButtonClickSave();
    ASSERT_TRUE(QTest::qWaitFor(written, 10000));
    EXPECT_EQ(ReadBytes(File("scope.PNG")).size() > 8, true);
    ASSERT_EQ(w_.dialogs.saveRequests.size(), 1u);
    EXPECT_EQ(w_.dialogs.saveRequests[0].filter,
              "Bitmap (*.bmp);;Enhanced Metafile (*.emf);;JPEG File (*.jpg);;PNG (*.png)");
    EXPECT_TRUE(w_.notifier.messages.empty());

    w_.dialogs.answers.push_back(File("scope.gif"));
    plotToolBar.DoButtonClickSave();
    EXPECT_FALSE(std::filesystem::exists(File("scope.gif")));
    ASSERT_EQ(w_.notifier.messages.size(), 1u);
    EXPECT_NE(w_.notifier.messages[0].find("Unknown picture file type"), std::string::npos);
}

}  // namespace
}  // namespace ondrix
