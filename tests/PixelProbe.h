#pragma once
// Reading back what a drawing left in an image: which pixels differ from the background.

#include <QImage>

#include <algorithm>

#include "plot/objects/PlotObjects.h"

namespace ondrix::test {

// The box of the pixels that differ from `background`, Right and Bottom just outside.
inline TPlotRect InkBox(const QImage& image, QRgb background) {
    TPlotRect ink{image.width(), image.height(), 0, 0};
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == background) continue;
            ink.Left = std::min(ink.Left, x);
            ink.Top = std::min(ink.Top, y);
            ink.Right = std::max(ink.Right, x + 1);
            ink.Bottom = std::max(ink.Bottom, y + 1);
        }
    return ink;
}

inline int InkCount(const QImage& image, QRgb background) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += image.pixel(x, y) != background;
    return count;
}

}  // namespace ondrix::test
