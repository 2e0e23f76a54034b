// SPDX-License-Identifier: MIT
#pragma once
// The front of the tax-code card with empty fields, in vectors: the card
// printout draws it at the printer's own resolution, and the picture of
// the card windows (resources/card.png) is this drawing at 96 dpi.

#include <QFont>
#include <QPainter>

namespace cf::frame {

// Size of the card in pixels of 96 dpi.
inline constexpr int kCardWidth = 363;
inline constexpr int kCardHeight = 241;

// Paints the card in pixels of 96 dpi from the painter's origin, its texts
// as outlines of `sans` (Liberation Sans), so that they are part of the
// picture and not text of the page.
void PaintCard(QPainter& painter, const QFont& sans);

}  // namespace cf::frame
