#pragma once
// What input reaches plot objects, in the plot's own terms: mouse buttons and the shift state,
// the key codes objects answer to, pointer shapes, the record handed to mouse handlers and the
// one an object fills to offer a hint. The window host translates its events into these.

#include <cstdint>
#include <string>

namespace ondrix {

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Keyboard and mouse-button state of an input event: a set of the flags below.
using TShiftState = uint8_t;
constexpr TShiftState ssShift = 0x01;
constexpr TShiftState ssAlt = 0x02;
constexpr TShiftState ssCtrl = 0x04;
constexpr TShiftState ssLeft = 0x08;
constexpr TShiftState ssRight = 0x10;
constexpr TShiftState ssMiddle = 0x20;
constexpr TShiftState ssDouble = 0x40;

// Key codes are the classic virtual-key numbers, which stored handlers and callers rely on:
// letters and digits are their upper-case character codes, the rest are named here. 0 stands
// for a key the plot has no code for.
enum TPlotKey : int {
    vkNone = 0,
    vkBack = 8,
    vkTab = 9,
    vkReturn = 13,
    vkShift = 16,
    vkControl = 17,
    vkMenu = 18,
    vkEscape = 27,
    vkSpace = 32,
    vkPrior = 33,  // page up
    vkNext = 34,   // page down
    vkEnd = 35,
    vkHome = 36,
    vkLeft = 37,
    vkUp = 38,
    vkRight = 39,
    vkDown = 40,
    vkInsert = 45,
    vkDelete = 46,
    vkF1 = 112,  // F2..F12 follow
};

// Mouse pointer shapes objects ask for; the host maps them to its own.
enum TPlotCursor : uint8_t { crDefault, crHandPoint, crDrag, crSizeWE, crSizeNS };

// What an object's mouse handlers get, built anew for every call.
struct TPlotMouseData {
    int X = 0;  // client pixels
    int Y = 0;
    int XAxisPixels = 0;  // the coordinate X axes map: X, or Y when the object's axes are reversed
    int YAxisPixels = 0;  // the coordinate Y axes map: Y, or X when reversed
    TMouseButton Button = mbLeft;
    bool DblClick = false;  // the gesture began with a double click
    TShiftState Shift = 0;
};

// The record for a pointer at client (x, y); `axesReversed` when the X axes run vertically.
inline TPlotMouseData MakePlotMouseData(TMouseButton button, TShiftState shift, int x, int y, bool dblClick,
                                        bool axesReversed) {
    TPlotMouseData data;
    data.X = x;
    data.Y = y;
    data.XAxisPixels = axesReversed ? y : x;
    data.YAxisPixels = axesReversed ? x : y;
    data.Button = button;
    data.DblClick = dblClick;
    data.Shift = shift;
    return data;
}

// Filled by an object that offers a hint; an empty text means none.
struct THintData {
    std::string Text;
    int Left = 0;
    int Top = 0;
};

}  // namespace ondrix
