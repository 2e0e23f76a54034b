// SPDX-License-Identifier: MIT
// The sans face of the windows and printouts where no face with Arial's
// metrics is installed (run with fonts_without_liberation.conf): the
// program's own Liberation Sans is used, on screen and on paper.

#include "platform/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

#include "platform/line_printer.h"
#include "print_test_support.h"

namespace cf::platform {
namespace {

TEST(SansFaceTest, IsTheCarriedLiberationSansWhenNoneIsInstalled)
{
    ASSERT_FALSE(QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        << "the test's font set must lack Liberation Sans";
    for (const bool bold : {false, true}) {
        QFont font = SansFace(bold);
        font.setPixelSize(13);
        const QFontInfo info(font);
        EXPECT_EQ(info.family(), QStringLiteral("Liberation Sans"));
        EXPECT_EQ(info.bold(), bold);
    }
}

TEST(SansFaceTest, PrintoutsEmbedItAndKeepArialColumns)
{
    test::PrintFolder folder;
    const QString pdf = folder.File(QStringLiteral("font.pdf"));
    LinePrinter printer(PrintTarget::PdfFile(pdf));
    ASSERT_TRUE(printer.Begin());
    const double column = printer.columnWidth();
    EXPECT_NEAR(column, 88.3, 1);  // Arial 10: 904/2048 em
    printer.Print({Tab{100}, QStringLiteral("CITTA")});
    printer.SetFont(12, true);
    printer.Print({QStringLiteral("Grassetto")});
    ASSERT_TRUE(printer.EndDoc());

    const QStringList fonts = test::PdfFonts(pdf);
    ASSERT_EQ(fonts.size(), 2);
    for (const QString& name : fonts)
        EXPECT_TRUE(name.contains(QLatin1String("LiberationSans"))) << name.toStdString();
    const QRectF word = test::FindWord(pdf, QStringLiteral("CITTA")).box;
    EXPECT_NEAR(word.left(), test::kPdfMarginPoints + 99 * column / kTwipsPerPoint, 0.5);
}

}  // namespace
}  // namespace cf::platform
