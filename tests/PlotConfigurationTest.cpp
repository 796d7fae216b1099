#include "plot/config/PlotConfiguration.h"

#include <gtest/gtest.h>

#include "plot/axes/PlotAxis.h"
#include "plot/channels/PlotChannel.h"
#include "plot/component/Plot.h"
#include "plot/config/PlotProperties.h"
#include "plot/views/PlotDataCursor.h"
#include "plot/views/PlotDataView.h"
#include "plot/views/PlotLabel.h"
#include "plot/views/PlotLegend.h"
#include "plot/views/PlotToolBar.h"

namespace ondrix {
namespace {

TPlotFactory PlotFactory() {
    return [] { return std::make_unique<TPlot>(); };
}

void Load(TPlotComponent& plot, const std::string& text) {
    LoadPlotConfiguration(plot, ParsePlotConfiguration(text), PlotFactory());
}

TPlotFont ItalicSerif() {
    TPlotFont font = MakeFont("Times New Roman", 12, clAqua, false);
    font.Italic = true;
    font.StrikeOut = true;
    return font;
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
    plot.SetHintsFont(ItalicSerif());
    plot.SetCopyToClipBoardFormat(ipefJPEG);
    plot.GetXAxis(0)->SetTitleFont(ItalicSerif());
    plot.GetLabel(0)->SetAlignment(iahRight);
    plot.GetDataCursor(0)->SetStyle(ipcsInverseDeltaX);
    plot.GetLegend(0)->SetCaptionColumnYMean("Mean \"Y\"");
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
    EXPECT_EQ(restored.GetHintsFont(), ItalicSerif());
    EXPECT_EQ(restored.GetCopyToClipBoardFormat(), ipefJPEG);
    EXPECT_EQ(restored.GetXAxis(0)->GetTitleFont(), ItalicSerif());
    EXPECT_EQ(restored.GetLabel(0)->GetAlignment(), iahRight);
    EXPECT_EQ(restored.GetDataCursor(0)->GetStyle(), ipcsInverseDeltaX);
    EXPECT_EQ(restored.GetLegend(0)->GetCaptionColumnYMean(), "Mean \"Y\"");
}

// Each font property is four stored parts; a part left out keeps what the object had.
TEST(PlotConfiguration, FontsAreStoredAsFourParts) {
    TPlot plot;
    plot.GetXAxis(0)->SetTitleFont(ItalicSerif());
    const std::string text = WritePlotConfiguration(plot);
    EXPECT_NE(text.find("  TitleFont.Name = \"Times New Roman\"\n"
                        "  TitleFont.Size = 12\n"
                        "  TitleFont.Color = #00FFFF\n"
                        "  TitleFont.Style = Italic,StrikeOut\n"),
              std::string::npos)
        << text;

    Load(plot, "[LabelManager]\nitem\n  Font.Color = #FF0000\n  Font.Size = 20\n");
    EXPECT_EQ(plot.GetLabel(0)->GetFont(), MakeFont("Arial", 20, clRed, true));
    EXPECT_EQ(plot.GetTitleFont(), MakeFont("Arial", 20, clRed, true));
}

TEST(PlotConfiguration, FontStyleTexts) {
    struct Case {
        const char* text;
        const char* stored;  // as written back; null when refused
    } cases[] = {
        {"", ""},
        {"Bold", "Bold"},
        {"  italic ", "Italic"},
        {"StrikeOut,Underline,Italic,Bold", "Bold,Italic,Underline,StrikeOut"},
        {"Underline , BOLD", "Bold,Underline"},
        {"Bold,Bold", "Bold"},
        {"Bolt", nullptr},
        {"Bold,", nullptr},
        {",Bold", nullptr},
        {"Bold;Italic", nullptr},
    };
    for (const Case& c : cases) {
        TPlot plot;
        TPlotLabel& label = *plot.GetLabel(0);
        const TPlotProperty& style = *FindPlotProperty(label, "Font.Style");
        if (c.stored) {
            SetPlotProperty(label, "Font.Style", c.text);
            EXPECT_EQ(style.Read(label), c.stored) << c.text;
        } else {
            EXPECT_THROW(SetPlotProperty(label, "Font.Style", c.text), EPlotError) << c.text;
            EXPECT_EQ(style.Read(label), "Bold") << c.text;
        }
    }
}

// ---- the published settings of each kind -----------------------------------------------------

using ObjectOf = TPlotObject& (*)(TPlot&);
TPlotObject& XAxis(TPlot& plot) { return *plot.GetXAxis(0); }
TPlotObject& Channel(TPlot& plot) { return *plot.GetChannel(0); }
TPlotObject& DataView(TPlot& plot) { return *plot.GetDataView(0); }
TPlotObject& Cursor(TPlot& plot) { return *plot.GetDataCursor(0); }
TPlotObject& ToolBar(TPlot& plot) { return *plot.GetToolBar(0); }
TPlotObject& Legend(TPlot& plot) { return *plot.GetLegend(0); }
TPlotObject& Title(TPlot& plot) { return *plot.GetLabel(0); }

const TPlotComponentProperty& PlotWide(const std::string& name) {
    for (const TPlotComponentProperty& property : PlotComponentProperties())
        if (property.Name == name) return property;
    throw EPlotError("no plot-wide property " + name);
}

void SetPlotWide(TPlotComponent& plot, const std::string& name, const std::string& text) {
    const TPlotComponentProperty& property = PlotWide(name);
    CheckPropertyText(property, text);
    property.Write(plot, text);
}

// Value on a new plot, a changed value, and whether setting it asks for a repaint.
struct SettingCase {
    const char* name;
    const char* initial;
    const char* changed;
    bool repaints;
};

TEST(PlotConfiguration, ObjectSettingsStartAsDocumentedAndReportChangesOnce) {
    struct Case {
        ObjectOf object;
        SettingCase setting;
    } cases[] = {
        {XAxis, {"TitleFont.Name", "Arial", "Times New Roman", true}},
        {XAxis, {"TitleFont.Size", "10", "11", true}},
        {XAxis, {"TitleFont.Color", "#FFFFFF", "#C0C0C0", true}},
        {XAxis, {"TitleFont.Style", "Bold", "", true}},
        {XAxis, {"LabelsFont.Name", "MS Sans Serif", "Arial", true}},
        {XAxis, {"LabelsFont.Size", "8", "9", true}},
        {XAxis, {"LabelsFont.Color", "#FFFFFF", "#C0C0C0", true}},
        {XAxis, {"LabelsFont.Style", "", "Underline", true}},
        {XAxis, {"ScaleLinesColor", "#FFFFFF", "#DDDDDD", true}},
        {XAxis, {"LabelsPrecision", "3", "0", true}},
        {XAxis, {"DateTimeFormat", "hh:nn:ss", "hh:nn", true}},
        {XAxis, {"CursorPrecision", "3", "0", true}},
        {XAxis, {"GridLinesVisible", "True", "False", true}},
        {Channel, {"MarkersFont.Color", "#FFFFFF", "#FF0000", true}},
        {Channel, {"MarkersFont.Style", "Bold", "", true}},
        {DataView, {"GridLineColor", "#008000", "#003100", true}},
        {DataView, {"GridLineXMajorWidth", "0", "2", true}},
        {DataView, {"GridLineXMinorWidth", "0", "2", true}},
        {DataView, {"GridLineYMajorWidth", "0", "2", true}},
        {DataView, {"GridLineYMinorWidth", "0", "2", true}},
        {DataView, {"AxesControlEnabled", "False", "True", false}},  // read at every mouse event
        {DataView, {"AxesControlMouseStyle", "ipacsBoth", "ipacsYAxis", true}},
        {DataView, {"AxesControlWheelStyle", "ipacsXAxis", "ipacsBoth", true}},
        {Cursor, {"ChannelAllowAll", "True", "False", true}},
        {Cursor, {"ChannelShowAllInLegend", "True", "False", true}},
        {Cursor, {"Style", "ipcsValueXY", "ipcsDeltaY", true}},
        {Cursor, {"Color", "#FFFF00", "#FFFFFF", true}},
        {Cursor, {"UseChannelColor", "True", "False", true}},
        {Cursor, {"HintShow", "True", "False", true}},
        {Cursor, {"HintHideOnRelease", "False", "True", true}},
        {Cursor, {"HintOrientationSide", "iosBottomRight", "iosTopLeft", true}},
        {Cursor, {"HintPosition", "50", "25.5", true}},
        {Cursor, {"Pointer1Position", "50", "10", true}},
        {Cursor, {"Pointer2Position", "60", "70", true}},
        {Cursor, {"PointerPenWidth", "1", "3", true}},
        {Cursor, {"MenuItemCaptionValueXY", "Value X-Y", "XY", true}},
        {Cursor, {"MenuItemCaptionValueX", "Value X", "X", true}},
        {Cursor, {"MenuItemCaptionValueY", "Value Y", "Y", true}},
        {Cursor, {"MenuItemCaptionDeltaX", "Period", "dX", true}},
        {Cursor, {"MenuItemCaptionDeltaY", "Peak-Peak", "dY", true}},
        {Cursor, {"MenuItemCaptionInverseDeltaX", "Frequency", "1/dX", true}},
        {ToolBar, {"ZoomInOutFactor", "2", "4", true}},
        {ToolBar, {"ShowSelectButton", "False", "True", true}},
        {ToolBar, {"ShowPreviewButton", "False", "True", true}},
        {Legend, {"CaptionColumnTitle", "Title", "Name", true}},
        {Legend, {"CaptionColumnXAxisTitle", "X-Axis", "X axis", true}},
        {Legend, {"CaptionColumnYAxisTitle", "Y-Axis", "Y axis", true}},
        {Legend, {"CaptionColumnXValue", "X", "Time", true}},
        {Legend, {"CaptionColumnYValue", "Y", "Value", true}},
        {Legend, {"CaptionColumnYMax", "Y-Max", "Max", true}},
        {Legend, {"CaptionColumnYMin", "Y-Min", "Min", true}},
        {Legend, {"CaptionColumnYMean", "Y-Mean", "Mean", true}},
        {Title, {"Alignment", "iahCenter", "iahLeft", true}},
        {Title, {"Font.Name", "Arial", "MS Sans Serif", true}},
        {Title, {"Font.Size", "14", "8", true}},
        {Title, {"Font.Color", "#FFFFFF", "#FFFF00", true}},
        {Title, {"Font.Style", "Bold", "Bold,Italic", true}},
    };
    for (const Case& c : cases) {
        const SettingCase& setting = c.setting;
        TPlot plot;
        int repaints = 0;
        plot.OnRepaintRequest = [&repaints] { ++repaints; };
        TPlotObject& object = c.object(plot);
        const TPlotProperty* property = FindPlotProperty(object, setting.name);
        ASSERT_NE(property, nullptr) << setting.name;
        EXPECT_EQ(property->Read(object), setting.initial) << setting.name;

        SetPlotProperty(object, setting.name, setting.changed);
        EXPECT_EQ(property->Read(object), setting.changed) << setting.name;
        EXPECT_EQ(repaints, setting.repaints ? 1 : 0) << setting.name;
        SetPlotProperty(object, setting.name, setting.changed);
        EXPECT_EQ(repaints, setting.repaints ? 1 : 0) << setting.name << " set again";
    }
}

// Export and printing settings are read only when used, so they ask for no repaint.
TEST(PlotConfiguration, PlotWideSettingsStartAsDocumentedAndReportChangesOnce) {
    const SettingCase cases[] = {
        {"UpdateFrameRate", "60", "10", true},
        {"BackGroundGradientEnabled", "False", "True", true},
        {"ClipAnnotationsToAxes", "True", "False", true},
        {"HintsFont.Name", "MS Sans Serif", "Arial", true},
        {"HintsFont.Size", "8", "10", true},
        {"HintsFont.Color", "clWindowText", "#000000", true},
        {"HintsFont.Style", "", "Bold", true},
        {"CopyToClipBoardFormat", "ipefMetaFile", "ipefBitmap", false},
        {"DataFileFormat", "ipdffText", "ipdffCompactInterval", false},
        {"EditorFormStyle", "ipfsModal", "ipfsModal", false},
        {"PrintMarginLeft", "1", "0.5", false},
        {"PrintMarginTop", "1", "0.5", false},
        {"PrintMarginRight", "1", "0.5", false},
        {"PrintMarginBottom", "1", "0.5", false},
        {"PrintDocumentName", "Untitled", "Scope", false},
    };
    for (const SettingCase& setting : cases) {
        TPlot plot;
        int repaints = 0;
        plot.OnRepaintRequest = [&repaints] { ++repaints; };
        const TPlotComponentProperty& property = PlotWide(setting.name);
        EXPECT_EQ(property.Read(plot), setting.initial) << setting.name;

        SetPlotWide(plot, setting.name, setting.changed);
        EXPECT_EQ(property.Read(plot), setting.changed) << setting.name;
        EXPECT_EQ(repaints, setting.repaints ? 1 : 0) << setting.name;
        SetPlotWide(plot, setting.name, setting.changed);
        EXPECT_EQ(repaints, setting.repaints ? 1 : 0) << setting.name << " set again";
    }
}

// A stored value beyond a setting's range is clamped, as a set one is, not refused.
TEST(PlotConfiguration, OutOfRangeSettingsAreClamped) {
    struct Case {
        ObjectOf object;  // null: a plot-wide setting
        const char* name;
        const char* text;
        const char* stored;
    } cases[] = {
        {ToolBar, "ZoomInOutFactor", "0.5", "1"},
        {ToolBar, "ZoomInOutFactor", "-3", "1"},
        {Cursor, "Pointer1Position", "-5", "0"},
        {Cursor, "Pointer1Position", "250", "100"},
        {Cursor, "Pointer2Position", "100.5", "100"},
        {Cursor, "HintPosition", "-0.1", "0"},
        {Cursor, "PointerPenWidth", "-2", "0"},
        {XAxis, "LabelsPrecision", "-1", "0"},
        {XAxis, "CursorPrecision", "-4", "0"},
        {XAxis, "TitleFont.Size", "0", "1"},
        {XAxis, "LabelsFont.Size", "5000", "1000"},
        {Channel, "MarkersFont.Size", "-8", "1"},
        {DataView, "GridLineYMinorWidth", "-3", "0"},
        {Title, "Font.Size", "1001", "1000"},
        {nullptr, "UpdateFrameRate", "-1", "0"},
        {nullptr, "PrintMarginTop", "-0.5", "0"},
        {nullptr, "HintsFont.Size", "0", "1"},
    };
    for (const Case& c : cases) {
        TPlot plot;
        if (c.object) {
            TPlotObject& object = c.object(plot);
            SetPlotProperty(object, c.name, c.text);
            EXPECT_EQ(FindPlotProperty(object, c.name)->Read(object), c.stored) << c.name << " = " << c.text;
        } else {
            SetPlotWide(plot, c.name, c.text);
            EXPECT_EQ(PlotWide(c.name).Read(plot), c.stored) << c.name << " = " << c.text;
        }
    }
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
        {"[LabelManager]\nitem\n  Font.Color = #FFFFFF\n  Font.Style = Bold,Heavy\n",
         "line 4: Property Font.Style: 'Bold,Heavy' is not a font style (Bold, Italic, Underline, StrikeOut, "
         "comma-separated)"},
        {"[LabelManager]\nitem\n  Font.Style = \"Bold\"\n", "line 3: Font.Style takes a bare value"},
        {"[LabelManager]\nitem\n  Font.Name = Arial\n", "line 3: Font.Name takes a quoted text"},
        {"[DataCursorManager]\nitem\n  Style = ipcsPeakPeak\n",
         "line 3: Property Style: 'ipcsPeakPeak' is not one of its values"},
        {"HintsFont.Size = 8.5\n", "line 1: Property HintsFont.Size: '8.5' is not a whole number"},
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
