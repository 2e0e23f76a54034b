// SPDX-License-Identifier: MIT
#pragma once
// The WCAG contrast ratio of two colours, from their relative luminances:
// 1 for equal colours, 21 for black on white. Readable text needs 4.5.

#include <QColor>

#include <algorithm>
#include <cmath>

inline double RelativeLuminance(const QColor& colour)
{
    const auto channel = [](int value) {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red()) + 0.7152 * channel(colour.green())
           + 0.0722 * channel(colour.blue());
}

inline double Contrast(const QColor& a, const QColor& b)
{
    const double la = RelativeLuminance(a);
    const double lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}
