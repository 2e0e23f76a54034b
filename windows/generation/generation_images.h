// SPDX-License-Identifier: MIT
#pragma once
// The pictures of the generation windows, compiled in as Qt resources.

#include <QCursor>
#include <QPixmap>

namespace cf::generation {

// The front of the tax-code card with empty fields, 363 x 241 pixels; the
// splash window, the card window and the card printout draw it.
QPixmap CardImage();

// The 16 x 17 arrow button of the place box.
QPixmap DropDownArrow();

// The pointing hand shown over the code label while it holds a code.
QCursor HandCursor();

}  // namespace cf::generation
