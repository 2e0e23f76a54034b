// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

#include <cmath>

#include "widgets/layout_scale.h"

// Window layouts are given in twips (1/1,440 inch); on a 96 dpi screen a
// pixel is 15 twips at the desktop's default font, and more as the font
// grows (widgets::LayoutScale). Every conversion goes through here.
namespace cf::twips {

inline constexpr int kPerPixel = 15;

// Nearest whole pixel (halves away from zero) at the layout scale.
inline int ToPixels(int twips)
{
    return static_cast<int>(std::lround(twips * widgets::LayoutScale() / kPerPixel));
}

// A rectangle given in twips (left, top, width, height), in pixels.
inline QRect Rect(int left, int top, int width, int height)
{
    return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

}  // namespace cf::twips
