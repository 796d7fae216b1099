#pragma once
// How legible a text colour is on a background, by the contrast measure of the Web Content
// Accessibility Guidelines: the relative luminance of sRGB colours, and the ratio
// (lighter + 0.05) / (darker + 0.05), from 1:1 (none) to 21:1 (black on white).

#include <QColor>

#include <vector>

namespace ondrix {

// What the guidelines ask of body text.
constexpr double kLegibleContrast = 4.5;

double ContrastRatio(const QColor& a, const QColor& b);

// Text in the colour of `hue` on light backgrounds: the lightest shade of `hue` that reaches
// `minimum` against every one of `backgrounds`, its red, green and blue scaled down together,
// which keeps the hue and the saturation, so a red stays a red. The hue itself when it reaches
// the contrast already; black when nothing lighter does.
QColor LegibleShade(const QColor& hue, const std::vector<QColor>& backgrounds, double minimum);

}  // namespace ondrix
