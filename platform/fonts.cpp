// SPDX-License-Identifier: MIT
#include "platform/fonts.h"

#include <QStringList>

namespace cf::platform {
namespace {

// Liberation Sans first, then other faces with Arial's advance widths:
// Arimo, Arial itself, and Nimbus Sans, a Helvetica whose widths Arial
// shares; then the common sans-serif faces. Qt's own fallback for a missing
// family may be any face at all, even a mathematical serif one.
const QStringList kFamilies = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                               QStringLiteral("Arial"),           QStringLiteral("Nimbus Sans"),
                               QStringLiteral("DejaVu Sans"),     QStringLiteral("Noto Sans")};

}  // namespace

QFont SansFace(bool bold)
{
    QFont font;
    font.setFamilies(kFamilies);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

}  // namespace cf::platform
