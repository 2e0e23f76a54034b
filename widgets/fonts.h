// SPDX-License-Identifier: MIT
#pragma once
// The font of the window designs, given in points as the designs give them
// and sized in pixels at 96 dpi, so that texts keep their size against the
// pixel layouts whatever the screen's resolution; both grow together with
// the desktop's font (widgets::LayoutScale).

#include <QFont>

namespace cf::widgets {

// The sans face of platform/fonts.h stands for both families of the
// designs: for "Arial", whose metrics it shares, and for "MS Sans Serif",
// whose narrow metrics the layouts were drawn for; wider families such as
// DejaVu Sans, the usual default, would push captions into the boxes beside
// them.
QFont SansFont(double points, bool bold = false);

}  // namespace cf::widgets
