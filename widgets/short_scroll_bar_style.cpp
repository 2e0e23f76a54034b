// SPDX-License-Identifier: MIT
#include "widgets/short_scroll_bar_style.h"

#include <QScrollBar>

#include <algorithm>

namespace cf::widgets {

namespace {

// Thumbs never get shorter than this, in pixels.
constexpr int kSmallestThumb = 5;

}  // namespace

ShortScrollBarStyle::ShortScrollBarStyle() : QProxyStyle(nullptr) {}

int ShortScrollBarStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                                     const QWidget* widget) const
{
    const int base = QProxyStyle::pixelMetric(metric, option, widget);
    const auto* bar = qobject_cast<const QScrollBar*>(widget);
    if (bar == nullptr)
        return base;
    const int length = bar->orientation() == Qt::Vertical ? bar->height() : bar->width();
    switch (metric) {
    case PM_ScrollBarExtent:
        // The arrow buttons are this long along the bar.
        return std::min(base, length / 4);
    case PM_ScrollBarSliderMin:
        return std::min(base, std::max(kSmallestThumb, length / 8));
    default:
        return base;
    }
}

}  // namespace cf::widgets
