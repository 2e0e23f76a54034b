// SPDX-License-Identifier: MIT
#include "windows/generation/generation_images.h"

namespace cf::generation {

QPixmap CardImage()
{
    return QPixmap(QStringLiteral(":/generation/card.png"));
}

QPixmap DropDownArrow()
{
    return QPixmap(QStringLiteral(":/generation/dropdown.png"));
}

QCursor HandCursor()
{
    // The tip of the index finger is the hot spot.
    return QCursor(QPixmap(QStringLiteral(":/generation/hand.png")), 8, 0);
}

}  // namespace cf::generation
