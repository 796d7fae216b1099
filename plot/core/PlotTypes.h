#pragma once
// plot/core holds what every other part of the plot stands on and that knows no plot object:
// value types and geometry, input records, fonts and text measures, the drawing surface's
// interface (PlotCanvas.h), segment batches, number, value and date texts, interpolation, the
// repaint throttle and small helpers. It includes nothing else of the plot.
//
// Value types shared by every unit of the plot: pixel rectangles, colours, line, marker, pen
// and brush styles, data styles, and the plot's error type. Pure C++; the drawing backend maps
// them to its own.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace ondrix {

// The plot's errors carry fixed English messages ("Index out of Bounds", ...). The paint pass
// shows the message in place of the plot; input handlers swallow them.
class EPlotError : public std::runtime_error {
public:
    explicit EPlotError(const std::string& message) : std::runtime_error(message) {}
};

// The plot's rounding of lengths and positions to pixels: to the nearest integer, ties to even
// (the default rounding mode), as every layout rule of the plot states it.
inline int RoundToInt(double x) { return static_cast<int>(std::nearbyint(x)); }

// A pixel rectangle; Right and Bottom lie just outside it.
struct TPlotRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
    bool operator==(const TPlotRect& other) const {
        return Left == other.Left && Top == other.Top && Right == other.Right && Bottom == other.Bottom;
    }
};

// A colour as stored in configurations: 0x00BBGGRR for an RGB colour (so red is 255), or
// kSystemColorFlag | role for a colour the desktop's theme decides.
using TColor = uint32_t;

constexpr TColor kSystemColorFlag = 0x80000000u;

// #RRGGBB as written in the documentation and the configuration tables.
constexpr TColor ColorFromRgb(uint32_t rgb) {
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
}
constexpr uint8_t RedOf(TColor color) { return color & 0xFF; }
constexpr uint8_t GreenOf(TColor color) { return (color >> 8) & 0xFF; }
constexpr uint8_t BlueOf(TColor color) { return (color >> 16) & 0xFF; }
constexpr bool IsSystemColor(TColor color) { return (color & kSystemColorFlag) != 0; }

constexpr TColor clBlack = ColorFromRgb(0x000000);
constexpr TColor clMaroon = ColorFromRgb(0x800000);
constexpr TColor clGreen = ColorFromRgb(0x008000);
constexpr TColor clOlive = ColorFromRgb(0x808000);
constexpr TColor clNavy = ColorFromRgb(0x000080);
constexpr TColor clPurple = ColorFromRgb(0x800080);
constexpr TColor clTeal = ColorFromRgb(0x008080);
constexpr TColor clGray = ColorFromRgb(0x808080);
constexpr TColor clSilver = ColorFromRgb(0xC0C0C0);
constexpr TColor clRed = ColorFromRgb(0xFF0000);
constexpr TColor clLime = ColorFromRgb(0x00FF00);
constexpr TColor clYellow = ColorFromRgb(0xFFFF00);
constexpr TColor clBlue = ColorFromRgb(0x0000FF);
constexpr TColor clFuchsia = ColorFromRgb(0xFF00FF);
constexpr TColor clAqua = ColorFromRgb(0x00FFFF);
constexpr TColor clWhite = ColorFromRgb(0xFFFFFF);

// Colours by role; the drawing backend resolves them.
enum class SystemColorRole : uint32_t {
    ButtonFace = 0x0F,
    Highlight = 0x14,  // the light edge of a 3-D bevel
    Shadow = 0x10,     // the dark edge of a 3-D bevel
    InfoBackground = 0x18,
    InfoText = 0x17,
    WindowText = 0x08,
    Window = 0x05,
};
constexpr TColor SystemColor(SystemColorRole role) { return kSystemColorFlag | static_cast<uint32_t>(role); }
constexpr TColor clBtnFace = SystemColor(SystemColorRole::ButtonFace);
constexpr TColor clBtnHighlight = SystemColor(SystemColorRole::Highlight);
constexpr TColor clBtnShadow = SystemColor(SystemColorRole::Shadow);
constexpr TColor clInfoBk = SystemColor(SystemColorRole::InfoBackground);
constexpr TColor clInfoText = SystemColor(SystemColorRole::InfoText);
constexpr TColor clWindowText = SystemColor(SystemColorRole::WindowText);
constexpr TColor clWindow = SystemColor(SystemColorRole::Window);

// The value names of an enumeration the stored configuration writes by name stand right after
// it, in ordinal order, made by EnumValueNames from its last value: a name missing or left over
// fails the build. The enumerations get no count value of their own, since their values are
// stored and used by name, so the last value stands in for the count and moves with any value
// added at the end.
template <auto Last, std::size_t N>
constexpr std::array<const char*, N> EnumValueNames(const char* const (&names)[N]) {
    static_assert(std::is_enum_v<decltype(Last)>, "Last is the enumeration's last value");
    static_assert(N == static_cast<std::size_t>(Last) + 1, "one name for each value of the enumeration");
    std::array<const char*, N> result{};
    for (std::size_t i = 0; i < N; ++i) result[i] = names[i];
    return result;
}

enum TPlotLineStyle : uint8_t { iplsSolid, iplsDash, iplsDot, iplsDashDot, iplsDashDotDot };
inline constexpr auto kPlotLineStyleNames =
    EnumValueNames<iplsDashDotDot>({"iplsSolid", "iplsDash", "iplsDot", "iplsDashDot", "iplsDashDotDot"});

enum TPlotMarkerStyle : uint8_t {
    ipmsCircle,
    ipmsSquare,
    ipmsDiamond,
    ipmsCross,
    ipmsPlus,
    ipmsTriangleUp,
    ipmsTriangleDown,
    ipmsTriangleLeft,
    ipmsTriangleRight,
    ipmsVerticalLine,
    ipmsHorizontalLine,
    ipmsCharacter,
};
inline constexpr auto kPlotMarkerStyleNames = EnumValueNames<ipmsCharacter>({
    "ipmsCircle", "ipmsSquare", "ipmsDiamond", "ipmsCross", "ipmsPlus", "ipmsTriangleUp", "ipmsTriangleDown",
    "ipmsTriangleLeft", "ipmsTriangleRight", "ipmsVerticalLine", "ipmsHorizontalLine", "ipmsCharacter"});

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear };
inline constexpr auto kPenStyleNames =
    EnumValueNames<psClear>({"psSolid", "psDash", "psDot", "psDashDot", "psDashDotDot", "psClear"});

enum TBrushStyle : uint8_t { bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross };
inline constexpr auto kBrushStyleNames = EnumValueNames<bsDiagCross>(
    {"bsSolid", "bsClear", "bsHorizontal", "bsVertical", "bsFDiagonal", "bsBDiagonal", "bsCross", "bsDiagCross"});

enum TPlotDataStyle : uint8_t { ipdsStandard, ipdsCompact, ipdsCompactInterval, ipdsFullFeature };
inline constexpr auto kPlotDataStyleNames =
    EnumValueNames<ipdsFullFeature>({"ipdsStandard", "ipdsCompact", "ipdsCompactInterval", "ipdsFullFeature"});

enum TPlotDataPointStatus : uint8_t { ipdpsValid, ipdpsNull, ipdpsEmpty };

// "No minimum" and "no maximum" in statistics and extents.
constexpr double kNoMinimum = 1e300;
constexpr double kNoMaximum = -1e300;

}  // namespace ondrix
