#pragma once
// The main window's fixed geometry, in pixels. The bottom panel's controls sit at fixed places
// measured from the panel's top-left corner; the status bar lies below the panel; the plot takes
// the rest of the window under the menu and the tool bar.
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
// The status bar, under the panel at the window's bottom edge.
constexpr int kStatusBarHeight = 20;
// The status bar's link panel while the device is lost, as 0xAARRGGBB.
constexpr unsigned kDeviceLostColour = 0xFFFFC0C0;

// Channel group N (0..3) lies at kChannelBoxFirstLeft + N * kChannelBoxPitch.
constexpr int kChannelBoxFirstLeft = 6;
constexpr int kChannelBoxPitch = 178;
constexpr int kChannelBoxTop = 6;
constexpr int kChannelBoxWidth = 172;
constexpr int kChannelBoxHeight = 81;
// Inside a channel group: three rows (title, address, data) of a label and a box.
constexpr int kChannelRowTops[] = {16, 37, 58};
constexpr int kChannelRowHeight = 21;
constexpr int kChannelLabelLeft = 8;
constexpr int kChannelLabelWidth = 82;
constexpr int kChannelBoxFieldLeft = 92;
constexpr int kChannelBoxFieldWidth = 72;
constexpr int kTitleRow = 0;
constexpr int kAddressRow = 1;
constexpr int kDataRow = 2;

// A box of channel group `channel` (0..3) in the panel.
constexpr TPlace ChannelField(int channel, int row) {
    return {kChannelBoxFirstLeft + channel * kChannelBoxPitch + kChannelBoxFieldLeft,
            kChannelBoxTop + kChannelRowTops[row], kChannelBoxFieldWidth, kChannelRowHeight};
}

constexpr TPlace kOthersBox{718, 6, 172, 81};
constexpr TPlace kRunButton{900, 8, 112, 36};
constexpr TPlace kStopButton{900, 50, 112, 36};

}  // namespace ondrix::mainform
