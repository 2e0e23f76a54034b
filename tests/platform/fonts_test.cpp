// SPDX-License-Identifier: MIT
// The sans face of the windows and printouts where no face with Arial's
// metrics is installed (run with fonts_without_liberation.conf, DejaVu
// alone): the common sans face DejaVu Sans stands in, never DejaVu's
// mathematical serif face, on screen and on paper.

#include "platform/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

#include "platform/line_printer.h"
#include "print_test_support.h"

namespace cf::platform {
namespace {

TEST(SansFaceTest, IsACommonSansFaceWhenNoneWithArialMetricsIsInstalled)
{
    ASSERT_FALSE(QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        << "the test's font set must lack Liberation Sans";
    for (const bool bold : {false, true}) {
        QFont font = SansFace(bold);
        font.setPixelSize(13);
        const QFontInfo info(font);
        EXPECT_EQ(info.family(), QStringLiteral("DejaVu Sans"));
        EXPECT_EQ(info.bold(), bold);
    }
}

TEST(SansFaceTest, PrintoutsEmbedItAndKeepColumnsOfItsOwnWidth)
{
    test::PrintFolder folder;
    const QString pdf = folder.File(QStringLiteral("font.pdf"));
    LinePrinter printer(PrintTarget::PdfFile(pdf));
    ASSERT_TRUE(printer.Begin());
    const double column = printer.columnWidth();
    EXPECT_NEAR(column, 101.6, 1);  // DejaVu Sans 10's own average width, not Arial's 88.3
    printer.Print({Tab{100}, QStringLiteral("CITTA")});
    printer.SetFont(12, true);
    printer.Print({QStringLiteral("Grassetto")});
    ASSERT_TRUE(printer.EndDoc());

    const QStringList fonts = test::PdfFonts(pdf);
    ASSERT_EQ(fonts.size(), 2);
    for (const QString& name : fonts)
        EXPECT_TRUE(name.contains(QLatin1String("DejaVuSans"))) << name.toStdString();
    const QRectF word = test::FindWord(pdf, QStringLiteral("CITTA")).box;
    EXPECT_NEAR(word.left(), test::kPdfMarginPoints + 99 * column / kTwipsPerPoint, 0.5);
}

}  // namespace
}  // namespace cf::platform
