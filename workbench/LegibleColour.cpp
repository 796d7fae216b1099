#include "workbench/LegibleColour.h"

#include <algorithm>
#include <cmath>

namespace ondrix {

namespace {

double LinearChannel(int value) {
    const double c = value / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

QColor Scaled(const QColor& hue, int level) {
    const auto scale = [level](int channel) { return (channel * level + 127) / 255; };
    return QColor(scale(hue.red()), scale(hue.green()), scale(hue.blue()));
}

double RelativeLuminance(const QColor& colour) {
    return 0.2126 * LinearChannel(colour.red()) + 0.7152 * LinearChannel(colour.green()) +
           0.0722 * LinearChannel(colour.blue());
}

}  // namespace

double ContrastRatio(const QColor& a, const QColor& b) {
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

QColor LegibleShade(const QColor& hue, const std::vector<QColor>& backgrounds, double minimum) {
    for (int level = 255; level > 0; --level) {
        const QColor shade = Scaled(hue, level);
        const bool legible = std::all_of(backgrounds.begin(), backgrounds.end(), [&](const QColor& background) {
            return ContrastRatio(shade, background) >= minimum;
        });
        if (legible) return shade;
    }
    return QColor(Qt::black);
}

}  // namespace ondrix
