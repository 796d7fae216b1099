// The channel panel's text is legible: each text colour against what the painted window really
// shows behind it reaches the contrast the accessibility guidelines ask of body text, while the
// plot keeps the channels' trace colours on its black background.

#include <gtest/gtest.h>

#include <QImage>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "MainWindowRig.h"
#include "plot/qt/QtCanvas.h"
#include "workbench/LegibleColour.h"

namespace ondrix {
namespace {

std::string Hex(const QColor& colour) { return colour.name().toUpper().toStdString(); }

// The reference values come from the guidelines' own examples and from the unreadable panel
// this measure was brought in for.
TEST(ContrastRatio, GivesTheGuidelinesValues) {
    const struct {
        const char* text;
        const char* background;
        double ratio;
    } cases[] = {
        {"#000000", "#FFFFFF", 21.0}, {"#FFFFFF", "#FFFFFF", 1.0},  {"#767676", "#FFFFFF", 4.54},
        {"#0000FF", "#FFFFFF", 8.59}, {"#FFFF00", "#FFFFFF", 1.07}, {"#FF0000", "#808080", 1.01},
        {"#FF00FF", "#808080", 1.26},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.text) + " on " + c.background);
        EXPECT_NEAR(ContrastRatio(QColor(c.text), QColor(c.background)), c.ratio, 0.005);
        EXPECT_DOUBLE_EQ(ContrastRatio(QColor(c.background), QColor(c.text)),
                         ContrastRatio(QColor(c.text), QColor(c.background)));
    }
}

// Just dark enough: the shade keeps the hue (its channels in the hue's proportions) and is not
// needlessly darker than the contrast asks; a hue dark enough already is kept as it is.
TEST(LegibleShade, IsTheHueDarkenedJustEnough) {
    const QColor white(Qt::white);
    const QColor light("#F0F0F0");
    const struct {
        const char* hue;
        std::vector<QColor> backgrounds;
    } cases[] = {
        {"#FF0000", {white}}, {"#FFFF00", {white}},        {"#FF00FF", {light, white}},
        {"#FFFF00", {light}}, {"#808000", {light, white}}, {"#C0C0C0", {white}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.hue);
        const QColor hue(c.hue);
        const QColor shade = LegibleShade(hue, c.backgrounds, kLegibleContrast);
        double lowest = 21;
        for (const QColor& background : c.backgrounds) lowest = std::min(lowest, ContrastRatio(shade, background));
        EXPECT_GE(lowest, kLegibleContrast);
        EXPECT_LT(lowest, kLegibleContrast + 0.1) << Hex(shade) << " is darker than it needs to be";
        const double scale = double(shade.red() + shade.green() + shade.blue()) / (hue.red() + hue.green() + hue.blue());
        EXPECT_NEAR(shade.red(), hue.red() * scale, 1.0) << Hex(shade);
        EXPECT_NEAR(shade.green(), hue.green() * scale, 1.0) << Hex(shade);
        EXPECT_NEAR(shade.blue(), hue.blue() * scale, 1.0) << Hex(shade);
    }
    EXPECT_EQ(LegibleShade(QColor("#0000FF"), {white}, kLegibleContrast), QColor("#0000FF"));
    EXPECT_EQ(LegibleShade(QColor("#FFFF00"), {QColor("#808080")}, 7.0), QColor(Qt::black))
        << "when no shade reaches the contrast, black comes closest";
}

// The colour most pixels of `area` have: around a label's letters or in an edit box, the colour
// the text is drawn on.
QColor MostCommonColour(const QImage& image, const QRect& area) {
    std::map<QRgb, int> counts;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) ++counts[image.pixel(x, y) | 0xFF000000u];
    const auto most = std::max_element(counts.begin(), counts.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
    return QColor::fromRgb(most->first);
}

// The pixel of `area` that stands out most from `background`: where the text's strokes are
// thickest, nearly the colour they are drawn in.
QColor Ink(const QImage& image, const QRect& area, const QColor& background) {
    QColor ink = background;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = QColor::fromRgb(image.pixel(x, y));
            if (ContrastRatio(pixel, background) > ContrastRatio(ink, background)) ink = pixel;
        }
    return ink;
}

bool Near(const QColor& a, const QColor& b) {
    constexpr int kStrokeShortfall = 24;
    return std::abs(a.red() - b.red()) <= kStrokeShortfall && std::abs(a.green() - b.green()) <= kStrokeShortfall &&
           std::abs(a.blue() - b.blue()) <= kStrokeShortfall;
}

QRect CaptionArea(const QGroupBox& box) {
    QStyleOptionGroupBox option;
    option.initFrom(&box);
    option.text = box.title();
    option.textAlignment = box.alignment();
    option.lineWidth = 1;
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    return box.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &box);
}

QRect CheckBoxTextArea(const QCheckBox& box) {
    QStyleOptionButton option;
    option.initFrom(&box);
    option.text = box.text();
    return box.style()->subElementRect(QStyle::SE_CheckBoxContents, &option, &box);
}

QRect InsideFrame(const QLineEdit& box) { return box.rect().adjusted(3, 3, -3, -3); }

class ChannelPanelColours : public ::testing::Test {
protected:
    // `area` in `widget`'s coordinates, in the window's picture.
    QRect InWindow(const QWidget& widget, const QRect& area) const {
        return QRect(widget.mapTo(&w_.form, area.topLeft()), area.size());
    }

    test::TemporaryFolder noPorts_;
    test::MainWindow w_{test::WindowSetup(noPorts_.String())};
};

struct PanelText {
    std::string name;
    const QWidget& widget;
    QRect area;
    QPalette::ColorRole role;
};

// Every kind of text on the panel's groups: for each of the four channels the group's caption,
// the three labels beside the boxes and the text in the three boxes; and the "Others" group's.
TEST_F(ChannelPanelColours, EveryTextReachesTheGuidelinesContrastOnWhatItIsDrawnOn) {
    std::vector<PanelText> texts;
    for (int c = 0; c < kChannelCount; ++c) {
        const TChannelGroupBox& box = w_.form.ChannelBoxes[c];
        const std::string channel = "CH" + std::to_string(c + 1) + " ";
        texts.push_back({channel + "caption", box, CaptionArea(box), QPalette::WindowText});
        texts.push_back({channel + "TITLE", box.TitleLabel, box.TitleLabel.rect(), QPalette::WindowText});
        texts.push_back({channel + "Addr (HEX)", box.Switch, CheckBoxTextArea(box.Switch), QPalette::WindowText});
        texts.push_back({channel + "DATA", box.DataLabel, box.DataLabel.rect(), QPalette::WindowText});
        texts.push_back({channel + "title box", box.Title, InsideFrame(box.Title), QPalette::Text});
        texts.push_back({channel + "address box", box.Address, InsideFrame(box.Address), QPalette::Text});
        texts.push_back({channel + "value box", box.Data, InsideFrame(box.Data), QPalette::Text});
    }
    const TOthersGroupBox& others = w_.form.Others;
    texts.push_back({"Others caption", others, CaptionArea(others), QPalette::WindowText});
    texts.push_back({"Time Intervals", others.TimeIntervalLabel, others.TimeIntervalLabel.rect(), QPalette::WindowText});
    texts.push_back({"Screen Width", others.ScreenWidthLabel, others.ScreenWidthLabel.rect(), QPalette::WindowText});
    texts.push_back({"time interval box", others.TimeIntervalEdit, InsideFrame(others.TimeIntervalEdit), QPalette::Text});
    texts.push_back({"screen width box", others.Edit5, InsideFrame(others.Edit5), QPalette::Text});

    const QImage window = w_.form.grab().toImage();
    for (const PanelText& t : texts) {
        const QRect area = InWindow(t.widget, t.area);
        const QColor text = t.widget.palette().color(t.role);
        const QColor background = MostCommonColour(window, area);
        const double ratio = ContrastRatio(text, background);
        SCOPED_TRACE(t.name + ": " + Hex(text) + " on " + Hex(background) + ", " + std::to_string(ratio) + ":1");
        EXPECT_GE(ratio, kLegibleContrast);
        const QColor ink = Ink(window, area, background);
        EXPECT_TRUE(Near(ink, text)) << "the text is drawn in its palette's colour, not " << Hex(ink);
    }
}

// The traces on the black plot keep the channel colours; the text on light ground takes shades
// of them, of the same hue.
TEST_F(ChannelPanelColours, ThePlotKeepsTheTraceColoursAndTheTextTheirHues) {
    const char* const traces[] = {"#FF0000", "#FFFF00", "#0000FF", "#FF00FF"};
    for (int c = 0; c < kChannelCount; ++c) {
        SCOPED_TRACE("CH" + std::to_string(c + 1));
        const QColor trace(traces[c]);
        EXPECT_EQ(ToQColor(w_.form.Plot1.GetChannel(c)->GetColor()), trace);
        const QPalette& colours = w_.form.ChannelBoxes[c].palette();
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text}) {
            const QColor text = colours.color(role);
            EXPECT_EQ(text.hsvHue(), trace.hsvHue()) << Hex(text);
            EXPECT_EQ(text.hsvSaturation(), trace.hsvSaturation()) << Hex(text);
        }
    }
}

}  // namespace
}  // namespace ondrix
