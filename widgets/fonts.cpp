// SPDX-License-Identifier: MIT
#include "widgets/fonts.h"

#include <cmath>

#include "platform/fonts.h"
#include "widgets/layout_scale.h"

namespace cf::widgets {

QFont SansFont(double points, bool bold)
{
    QFont font = platform::SansFace(bold);
    font.setPixelSize(ScaledFontPixels(points * 96.0 / 72.0));
    return font;
}

}  // namespace cf::widgets
