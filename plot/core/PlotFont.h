#pragma once
// A font as the plot's objects store it: face name, size in points, colour and four styles. A
// value type: objects hold their fonts by value and compare them to report only real changes.
//
// The face name is kept as configured; the canvas resolves it to an installed font when it
// draws ("Arial", "Times New Roman" and "MS Sans Serif" to their metric twins or the nearest
// sans-serif face).
//
// A default-constructed font is the desktop's user-interface font: "MS Sans Serif", 8 pt, in the
// window-text colour, no style. Objects whose documented font names only a colour or a style
// start from it (FontWithColor).
//
// The style text of a font lists its set styles by name, comma-separated, in the order Bold,
// Italic, Underline, StrikeOut ("Bold,Italic"); a font with no style has the empty text.

#include <cstdint>
#include <string>

#include "plot/core/PlotTypes.h"

namespace ondrix {

// Sizes outside these bounds draw nothing or a screenful; stored fonts are clamped to them.
constexpr int32_t kMinFontSize = 1;
constexpr int32_t kMaxFontSize = 1000;

struct TPlotFont {
    std::string Name = "MS Sans Serif";
    int32_t Size = 8;  // points
    TColor Color = clWindowText;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;

    bool operator==(const TPlotFont& other) const;
    bool operator!=(const TPlotFont& other) const { return !(*this == other); }
};

TPlotFont MakeFont(const std::string& name, int32_t size, TColor color, bool bold);
// The default font in another colour.
TPlotFont FontWithColor(TColor color, bool bold = false);

// The font with its size brought into kMinFontSize..kMaxFontSize. Every font setter stores
// through it, so a configured size of 0 still draws readable text.
TPlotFont ClampedFont(TPlotFont font);

std::string FontStyleToText(const TPlotFont& font);
// Sets the font's four style flags from a style text: names in any order and letter case,
// blanks around them allowed, empty for no style. Answers false, leaving the font unchanged,
// when a part is no style name.
bool ParseFontStyle(const std::string& text, TPlotFont& font);

}  // namespace ondrix
