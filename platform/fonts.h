// SPDX-License-Identifier: MIT
#pragma once
// The one font rule of the windows and the printouts. The designs name
// "Arial" and "MS Sans Serif"; both are drawn in Liberation Sans, which has
// Arial's metrics, so that captions fit their boxes and printed columns
// stay on the page. The system's Liberation Sans is used (the package
// depends on fonts-liberation2); where it is missing, an installed face
// with Arial's metrics stands in, and at worst a common sans-serif face:
// never a serif or symbol face.

#include <QFont>

namespace cf::platform {

// The sans face, not yet sized: windows size it in pixels, the printer in
// points. Needs the application object.
QFont SansFace(bool bold = false);

}  // namespace cf::platform
