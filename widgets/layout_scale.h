// SPDX-License-Identifier: MIT
#pragma once
// How much the windows grow with the desktop's font. The layouts (twips, and
// the pixels of the splash, the toolbar and the status bar) and their fonts
// were drawn for the desktop's default font; a larger one, set in Qt or by
// the platform's text scaling (which raises the font's resolution), makes
// every window and its fonts grow by the ratio of the two, never shrink.

#include <QPixmap>
#include <QRect>

namespace cf::widgets {

// Qt's default font, 9 points at 96 dpi: the font the layouts keep their
// look at.
inline constexpr double kDesignFontPixels = 12.0;

// The application font's height in pixels over kDesignFontPixels, at least
// 1; read anew on each call, so that a window made after a change of the
// font follows it.
double LayoutScale();

// A length in pixels of the design, at the layout scale (nearest whole
// pixel); a box of the design, each of its figures so; a picture, smoothly
// enlarged (unchanged at the default font).
int Scaled(int pixels);
QRect Scaled(const QRect& box);
QPixmap Scaled(const QPixmap& picture);

// A font's size in pixels of the design at the layout scale, rounded down,
// so that a text never grows faster than the box it was drawn for.
int ScaledFontPixels(double pixels);

}  // namespace cf::widgets
