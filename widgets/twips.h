// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>

// Window layouts are given in twips (1/1,440 inch); on a 96 dpi screen a
// pixel is 15 twips. Every conversion between the two goes through here.
namespace cf::twips {

inline constexpr int kPerPixel = 15;

// Nearest whole pixel (halves away from zero).
constexpr int ToPixels(int twips)
{
    return twips >= 0 ? (twips + kPerPixel / 2) / kPerPixel : -((-twips + kPerPixel / 2) / kPerPixel);
}

// A rectangle given in twips (left, top, width, height), in pixels.
inline QRect Rect(int left, int top, int width, int height)
{
    return QRect(ToPixels(left), ToPixels(top), ToPixels(width), ToPixels(height));
}

}  // namespace cf::twips
