#pragma once
// The main window's fixed geometry, in pixels. The bottom panel's controls sit at fixed places
// measured from the panel's top-left corner; the plot takes the rest of the window.
// Plain numbers, so that a test driving the real window from outside can find its buttons.

namespace ondrix::mainform {

struct TPlace {
    int Left;
    int Top;
    int Width;
    int Height;
};

// The window's size at start, which is also its smallest.
constexpr int kWindowWidth = 1024;
constexpr int kWindowHeight = 660;

constexpr int kPanelHeight = 93;

// Channel group N (0..3) lies at kChannelBoxFirstLeft + N * kChannelBoxPitch.
constexpr int kChannelBoxFirstLeft = 6;
constexpr int kChannelBoxPitch = 178;
constexpr int kChannelBoxTop = 6;
constexpr int kChannelBoxWidth = 172;
constexpr int kChannelBoxHeight = 81;

constexpr TPlace kRunButton{900, 8, 112, 36};
constexpr TPlace kStopButton{900, 50, 112, 36};

}  // namespace ondrix::mainform
