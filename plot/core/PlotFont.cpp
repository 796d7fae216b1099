#include "plot/core/PlotFont.h"

#include <algorithm>

#include "plot/core/PlotText.h"

namespace ondrix {

namespace {

// The style names in the order the style text lists them.
struct StyleFlag {
    const char* name;
    bool TPlotFont::*flag;
};
constexpr StyleFlag kStyleFlags[] = {
    {"Bold", &TPlotFont::Bold},
    {"Italic", &TPlotFont::Italic},
    {"Underline", &TPlotFont::Underline},
    {"StrikeOut", &TPlotFont::StrikeOut},
};

}  // namespace

bool TPlotFont::operator==(const TPlotFont& other) const {
    return Name == other.Name && Size == other.Size && Color == other.Color && Bold == other.Bold &&
           Italic == other.Italic && Underline == other.Underline && StrikeOut == other.StrikeOut;
}

TPlotFont MakeFont(const std::string& name, int32_t size, TColor color, bool bold) {
    TPlotFont font;
    font.Name = name;
    font.Size = size;
    font.Color = color;
    font.Bold = bold;
    return font;
}

TPlotFont FontWithColor(TColor color, bool bold) {
    TPlotFont font;
    font.Color = color;
    font.Bold = bold;
    return font;
}

TPlotFont ClampedFont(TPlotFont font) {
    font.Size = std::clamp(font.Size, kMinFontSize, kMaxFontSize);
    return font;
}

std::string FontStyleToText(const TPlotFont& font) {
    std::string text;
    for (const StyleFlag& style : kStyleFlags) {
        if (!(font.*style.flag)) continue;
        if (!text.empty()) text += ',';
        text += style.name;
    }
    return text;
}

bool ParseFontStyle(const std::string& text, TPlotFont& font) {
    TPlotFont parsed = font;
    for (const StyleFlag& style : kStyleFlags) parsed.*style.flag = false;
    if (!TrimBlanks(text).empty()) {
        size_t start = 0;
        while (true) {
            const size_t comma = text.find(',', start);
            const std::string_view part = TrimBlanks(std::string_view(text).substr(start, comma - start));
            const auto named = std::find_if(std::begin(kStyleFlags), std::end(kStyleFlags),
                                            [&part](const StyleFlag& style) { return SameText(part, style.name); });
            if (named == std::end(kStyleFlags)) return false;
            parsed.*named->flag = true;
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    font = parsed;
    return true;
}

}  // namespace ondrix
