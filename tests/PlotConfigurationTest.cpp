#include "plot/PlotConfiguration.h"

#include <gtest/gtest.h>

#include "plot/Plot.h"
#include "plot/PlotAxis.h"
#include "plot/PlotChannel.h"
#include "plot/PlotDataView.h"
#include "plot/PlotLabel.h"
#include "plot/PlotProperties.h"
#include "plot/PlotToolBar.h"

namespace ondrix {
namespace {

TPlotFactory PlotFactory() {
    return [] { return std::make_unique<TPlot>(); };
}

void Load(TPlotComponent& plot, const std::string& text) {
    LoadPlotConfiguration(plot, ParsePlotConfiguration(text), PlotFactory());
}

// A plot that differs from a new one in every way the configuration can say.
void Customise(TPlot& plot) {
    plot.SetDataViewZHorz(1);
    plot.SetDataViewZVert(4);
    plot.SetUserCanEditObjects(false);
    plot.GetYAxis(0)->SetName("Ch1YAxis");
    plot.AddYAxis();
    plot.GetYAxis(1)->SetVisible(false);
    plot.GetYAxis(1)->SetZOrder(2);
    plot.GetXAxis(0)->SetTitle("Samples \"since\" start \\ run");
    plot.AddChannel();
    plot.GetChannel(1)->SetTitleText("CH2");
    plot.GetChannel(1)->SetColor(clYellow);
    plot.GetChannel(1)->SetLayer(7);
    plot.GetDataView(0)->SetGridXAxisName("<All>");
    plot.GetLabel(0)->SetCaption("Ondrix");
    plot.GetToolBar(0)->SetStartPercent(12.5);
}

TEST(PlotConfiguration, RoundTripRestoresEveryStoredValue) {
    TPlot original;
    Customise(original);
    const std::string text = WritePlotConfiguration(original);

    TPlot restored;
    Load(restored, text);
    EXPECT_EQ(WritePlotConfiguration(restored), text);
    EXPECT_EQ(restored.YAxisCount(), 2);
    EXPECT_EQ(restored.GetChannel(1)->GetColor(), clYellow);
    EXPECT_EQ(restored.GetChannel(0)->GetYAxisName(), "Ch1YAxis");
    EXPECT_EQ(restored.GetXAxis(0)->GetTitle(), "Samples \"since\" start \\ run");
    EXPECT_EQ(restored.GetToolBar(0)->GetStartPercent(), 12.5);
    EXPECT_FALSE(restored.GetUserCanEditObjects());
}

TEST(PlotConfiguration, ManagersLeftOutKeepTheirObjects) {
    TPlot plot;
    Load(plot, "[ChannelManager]\nitem\n  Name = \"A\"\nitem\n  Name = \"B\"\n");
    EXPECT_EQ(plot.ChannelCount(), 2);
    EXPECT_EQ(plot.GetChannel(1)->GetName(), "B");
    EXPECT_EQ(plot.XAxisCount(), 1);
    EXPECT_EQ(plot.GetXAxis(0)->GetName(), "X-Axis 1");
}

TEST(PlotConfiguration, ToolBarMovesOffTheTitlesPlace) {
    TPlot plot;
    Load(plot,
         "[ToolBarManager]\nitem\n  Horizontal = True\n  ZOrder = 3\n"
         "[LabelManager]\nitem\n  Name = \"Title\"\n  Horizontal = True\n  ZOrder = 3\n");
    EXPECT_EQ(plot.GetToolBar(0)->GetZOrder(), 4);
    EXPECT_EQ(plot.GetLabel(0)->GetZOrder(), 3);
}

TEST(PlotConfiguration, BadConfigurationsChangeNothing) {
    struct Case {
        const char* text;
        const char* message;
    } cases[] = {
        {"[XAxisManager]\nitem\n  Name = \"X\"\n  Colour = #FF0000\n", "line 4: unknown property Colour"},
        {"[XAxisManager]\nitem\n  Visible = yes\n", "line 3: Property Visible: 'yes' is not True or False"},
        {"[XAxisManager]\nitem\n  Title = Samples\n", "line 3: Title takes a quoted text"},
        {"[XAxisManager]\nitem\n  ZOrder = \"2\"\n", "line 3: ZOrder takes a bare value"},
        {"[XAxisManager]\nitem\n  Title = \"open\n", "line 3: a text must end with its closing quote: \"open"},
        {"[AxisManager]\nitem\n", "line 1: unknown manager [AxisManager]"},
        {"item\n", "line 1: an item outside a section"},
        {"DataViewZHorz = 1.5\n", "line 1: Property DataViewZHorz: '1.5' is not a whole number"},
        {"Frames = 10\n", "line 1: unknown plot property Frames"},
        {"[ChannelManager]\nitem\n  Color = #12345\n",
         "line 3: Property Color: '#12345' is not a colour (#RRGGBB or a system colour name)"},
    };
    for (const Case& c : cases) {
        TPlot plot;
        const std::string before = WritePlotConfiguration(plot);
        try {
            Load(plot, c.text);
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const EPlotError& error) {
            EXPECT_EQ(std::string(error.what()), c.message);
        }
        EXPECT_EQ(WritePlotConfiguration(plot), before) << c.text;
    }
}

TEST(PlotConfiguration, ValueTexts) {
    EXPECT_EQ(DoubleToText(0.1), "0.1");
    EXPECT_EQ(DoubleToText(-40000), "-40000");
    EXPECT_EQ(DoubleToText(1e300), "1e+300");
    EXPECT_EQ(std::stod(DoubleToText(1.0 / 3)), 1.0 / 3);
    EXPECT_EQ(ColorToText(clRed), "#FF0000");
    EXPECT_EQ(ColorToText(ColorFromRgb(0x003100)), "#003100");
    EXPECT_EQ(ColorToText(clBtnFace), "clBtnFace");
}

TEST(PlotConfiguration, ObjectPropertyFiles) {
    TPlot plot;
    TPlotChannelCustom& channel = *plot.GetChannel(0);
    channel.SetTitleText("Motor");
    channel.SetColor(clAqua);
    const std::string file = WriteObjectPropertiesFile(channel, "Plot Channel Config", "Channel");
    EXPECT_EQ(file.rfind("File Type = Plot Channel Config\n[Channel]\nName = \"Channel 1\"\n", 0), 0u) << file;

    TPlot other;
    ReadObjectPropertiesFile(*other.GetChannel(0), file, "plot channel config", "Channel",
                             "Incompatible Plot Channel Configuration File Type");
    EXPECT_EQ(other.GetChannel(0)->GetTitleText(), "Motor");
    EXPECT_EQ(other.GetChannel(0)->GetColor(), clAqua);

    const std::string wrongType = "File Type = Plot Axis Config\n[Channel]\nTitleText = \"x\"\n";
    EXPECT_THROW(
        {
            try {
                ReadObjectPropertiesFile(*other.GetChannel(0), wrongType, "Plot Channel Config", "Channel",
                                         "Incompatible Plot Channel Configuration File Type");
            } catch (const EPlotError& error) {
                EXPECT_STREQ(error.what(), "Incompatible Plot Channel Configuration File Type");
                throw;
            }
        },
        EPlotError);

    // A bad value anywhere leaves every property as it was.
    const std::string partlyBad = "File Type = Plot Channel Config\n[Channel]\nTitleText = \"new\"\nColor = red\n";
    EXPECT_THROW(ReadObjectPropertiesFile(*other.GetChannel(0), partlyBad, "Plot Channel Config", "Channel", "x"),
                 EPlotError);
    EXPECT_EQ(other.GetChannel(0)->GetTitleText(), "Motor");
}

}  // namespace
}  // namespace ondrix
