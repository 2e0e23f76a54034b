#include "generation/fonts.h"

#include <cmath>

namespace cf::generation {

QFont SansFont(double points, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(static_cast<int>(std::lround(points * 96.0 / 72.0)));
    font.setBold(bold);
    return font;
}

}  // namespace cf::generation
