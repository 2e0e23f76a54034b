// SPDX-License-Identifier: MIT
#include "windows/generation/generation_images.h"

#include "widgets/layout_scale.h"

namespace cf::generation {

QPixmap CardImage()
{
    return widgets::Scaled(QPixmap(QStringLiteral(":/generation/card.png")));
}

QPixmap DropDownArrow()
{
    return widgets::Scaled(QPixmap(QStringLiteral(":/generation/dropdown.png")));
}

QCursor HandCursor()
{
    // The tip of the index finger is the hot spot.
    return QCursor(QPixmap(QStringLiteral(":/generation/hand.png")), 8, 0);
}

}  // namespace cf::generation
