// SPDX-License-Identifier: MIT
#include "platform/fonts.h"

#include <QFontDatabase>
#include <QStringList>

// Outside any namespace, as Q_INIT_RESOURCE wants: the fonts are compiled
// into this static library, whose resources must be brought in by hand.
static void InitFontResources()
{
    Q_INIT_RESOURCE(fonts);
}

namespace cf::platform {
namespace {

// Liberation Sans first (the carried one, or an installed one), then other
// faces with Arial's advance widths: Arimo, Arial itself, and Nimbus Sans,
// a Helvetica whose widths Arial shares; then the common sans-serif faces.
// Qt's own fallback for a missing family may be any face at all, even a
// mathematical serif one.
const QStringList kFamilies = {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo"),
                               QStringLiteral("Arial"),           QStringLiteral("Nimbus Sans"),
                               QStringLiteral("DejaVu Sans"),     QStringLiteral("Noto Sans")};

void RegisterCarriedFaces()
{
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    InitFontResources();
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Regular.ttf"));
    QFontDatabase::addApplicationFont(QStringLiteral(":/fonts/LiberationSans-Bold.ttf"));
}

}  // namespace

QFont SansFace(bool bold)
{
    RegisterCarriedFaces();
    QFont font;
    font.setFamilies(kFamilies);
    font.setStyleHint(QFont::SansSerif);
    font.setBold(bold);
    return font;
}

}  // namespace cf::platform
