// SPDX-License-Identifier: MIT
#include "widgets/layout_scale.h"

#include <QFont>
#include <QGuiApplication>
#include <QScreen>

#include <algorithm>
#include <cmath>

namespace cf::widgets {

double LayoutScale()
{
    const QFont font = QGuiApplication::font();
    double pixels = font.pixelSize();
    if (pixels <= 0) {
        const QScreen* screen = QGuiApplication::primaryScreen();
        const double dpi = screen != nullptr ? screen->logicalDotsPerInchY() : 96.0;
        pixels = font.pointSizeF() * dpi / 72.0;
    }
    return std::max(1.0, pixels / kDesignFontPixels);
}

int Scaled(int pixels)
{
    return static_cast<int>(std::lround(pixels * LayoutScale()));
}

int ScaledFontPixels(double pixels)
{
    // The small allowance keeps exact sizes (11 pixels at 1.5: 16.5) from
    // losing a pixel to rounding errors.
    return static_cast<int>(std::floor(pixels * LayoutScale() + 1e-6));
}

QRect Scaled(const QRect& box)
{
    return QRect(Scaled(box.x()), Scaled(box.y()), Scaled(box.width()), Scaled(box.height()));
}

QPixmap Scaled(const QPixmap& picture)
{
    const double scale = LayoutScale();
    if (scale == 1.0 || picture.isNull())
        return picture;
    return picture.scaled(Scaled(picture.width()), Scaled(picture.height()), Qt::IgnoreAspectRatio,
                          Qt::SmoothTransformation);
}

}  // namespace cf::widgets
