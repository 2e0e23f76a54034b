// SPDX-License-Identifier: MIT
// The line printer against PDF files, read back with poppler-utils.

#include "platform/line_printer.h"

#include <QFile>

#include <gtest/gtest.h>

#include "print_test_support.h"

namespace cf::platform {
namespace {

using test::FindWord;
using test::kPdfMarginPoints;

constexpr double kPointTolerance = 0.5;

double Points(double twips)
{
    return twips / kTwipsPerPoint;
}

class LinePrinterTest : public ::testing::Test {
protected:
    test::PrintFolder folder_;
    QString pdf_ = folder_.File(QStringLiteral("out.pdf"));
    LinePrinter printer_{PrintTarget::PdfFile(pdf_)};
};

TEST_F(LinePrinterTest, StartsAnA4PortraitPageInArialTenPoints)
{
    ASSERT_TRUE(printer_.Begin());
    EXPECT_EQ(printer_.page(), 1);
    // Arial's line spacing is 1.149 em and its average width 904/2048 em.
    EXPECT_NEAR(printer_.lineHeight(), 230, 2);
    EXPECT_NEAR(printer_.columnWidth(), 88.3, 1);
    printer_.Print({QStringLiteral("Prova")});
    ASSERT_TRUE(printer_.EndDoc());

    const QString size = test::PdfPageSize(pdf_);
    EXPECT_TRUE(size.contains(QLatin1String("(A4)"))) << size.toStdString();
    EXPECT_EQ(test::PdfPageCount(pdf_), 1);
    const QStringList fonts = test::PdfFonts(pdf_);
    ASSERT_EQ(fonts.size(), 1);
    EXPECT_TRUE(fonts[0].contains(QLatin1String("LiberationSans"))) << fonts[0].toStdString();
    const QRectF word = FindWord(pdf_, QStringLiteral("Prova")).box;
    EXPECT_NEAR(word.left(), kPdfMarginPoints, kPointTolerance);
}

TEST_F(LinePrinterTest, LinesMoveDownByTheLineHeightOfTheCurrentFont)
{
    ASSERT_TRUE(printer_.Begin());
    const double small = printer_.lineHeight();
    printer_.Print({QStringLiteral("uno")});
    EXPECT_DOUBLE_EQ(printer_.y(), small);
    EXPECT_DOUBLE_EQ(printer_.x(), 0);
    printer_.Print({QStringLiteral(" ")});
    printer_.Print({QString()});
    printer_.Print({});
    EXPECT_DOUBLE_EQ(printer_.y(), 4 * small);

    printer_.SetFont(20, true);
    const double large = printer_.lineHeight();
    EXPECT_NEAR(large, 2 * small, 3);
    printer_.Print({QStringLiteral("due")});
    EXPECT_DOUBLE_EQ(printer_.y(), 4 * small + large);
    ASSERT_TRUE(printer_.EndDoc());

    const QRectF first = FindWord(pdf_, QStringLiteral("uno")).box;
    const QRectF second = FindWord(pdf_, QStringLiteral("due")).box;
    // Both words hang from their line's top: the big one 4 lines further down.
    EXPECT_NEAR(second.top() - first.top(), Points(4 * small), 2);
}

TEST_F(LinePrinterTest, TabsMoveToColumnsOfTheAverageCharacterWidth)
{
    ASSERT_TRUE(printer_.Begin());
    const double column = printer_.columnWidth();
    printer_.Print({Tab{0}, QStringLiteral("zero")});
    printer_.Print({Tab{1}, QStringLiteral("uno")});
    printer_.Print({Tab{10}, QStringLiteral("dieci"), Tab{30}, QStringLiteral("trenta")});
    ASSERT_TRUE(printer_.EndDoc());

    EXPECT_NEAR(FindWord(pdf_, QStringLiteral("zero")).box.left(), kPdfMarginPoints, kPointTolerance);
    EXPECT_NEAR(FindWord(pdf_, QStringLiteral("uno")).box.left(), kPdfMarginPoints, kPointTolerance);
    EXPECT_NEAR(FindWord(pdf_, QStringLiteral("dieci")).box.left(), kPdfMarginPoints + Points(9 * column),
                kPointTolerance);
    const QRectF thirty = FindWord(pdf_, QStringLiteral("trenta")).box;
    EXPECT_NEAR(thirty.left(), kPdfMarginPoints + Points(29 * column), kPointTolerance);
    EXPECT_NEAR(thirty.top(), FindWord(pdf_, QStringLiteral("dieci")).box.top(), kPointTolerance);
}

TEST_F(LinePrinterTest, ATabToAColumnAlreadyPassedGoesToThatColumnOfTheNextLine)
{
    ASSERT_TRUE(printer_.Begin());
    const double line = printer_.lineHeight();
    const double column = printer_.columnWidth();
    printer_.Print({QStringLiteral("abcdefghijklmnopqrstuvwxyz"), Tab{5}, QStringLiteral("dopo")});
    EXPECT_DOUBLE_EQ(printer_.y(), 2 * line);
    ASSERT_TRUE(printer_.EndDoc());

    const QRectF before = FindWord(pdf_, QStringLiteral("abcdefghijklmnopqrstuvwxyz")).box;
    const QRectF after = FindWord(pdf_, QStringLiteral("dopo")).box;
    EXPECT_NEAR(after.left(), kPdfMarginPoints + Points(4 * column), kPointTolerance);
    EXPECT_NEAR(after.top() - before.top(), Points(line), kPointTolerance);
}

TEST_F(LinePrinterTest, NumbersHaveASignPlaceAndATrailingBlank)
{
    ASSERT_TRUE(printer_.Begin());
    printer_.Print({Number{2026}, QStringLiteral("dopo")});
    printer_.Print({Number{-7}, QStringLiteral("fine")});
    ASSERT_TRUE(printer_.EndDoc());

    constexpr double blank = 0.2778 * 10;  // Arial's blank at 10 pt
    const QRectF year = FindWord(pdf_, QStringLiteral("2026")).box;
    EXPECT_NEAR(year.left(), kPdfMarginPoints + blank, kPointTolerance);
    EXPECT_NEAR(FindWord(pdf_, QStringLiteral("dopo")).box.left(), year.right() + blank, kPointTolerance);
    const QRectF negative = FindWord(pdf_, QStringLiteral("-7")).box;
    EXPECT_NEAR(negative.left(), kPdfMarginPoints, kPointTolerance);
    EXPECT_NEAR(FindWord(pdf_, QStringLiteral("fine")).box.left(), negative.right() + blank, kPointTolerance);
}

TEST_F(LinePrinterTest, RulesSpanThePrintableWidthWithoutMovingThePosition)
{
    ASSERT_TRUE(printer_.Begin());
    printer_.Print({QStringLiteral(" ")});
    const double y = printer_.y();
    const double width = printer_.printableWidth();
    printer_.Rule();
    EXPECT_DOUBLE_EQ(printer_.y(), y);
    ASSERT_TRUE(printer_.EndDoc());

    constexpr int dpi = 144;
    const QImage page = test::RenderPage(pdf_, 1, dpi);
    ASSERT_FALSE(page.isNull());
    const auto toPixels = [](double points) { return qRound(points * dpi / 72.0); };
    const int row = toPixels(kPdfMarginPoints + Points(y));
    const auto dark = [&](int x) { return qGray(page.pixel(x, row)) < 128; };
    const int left = toPixels(kPdfMarginPoints);
    const int right = toPixels(kPdfMarginPoints + Points(width - 5));
    EXPECT_FALSE(dark(left - 3));
    EXPECT_TRUE(dark(left + 1));
    EXPECT_TRUE(dark((left + right) / 2));
    EXPECT_TRUE(dark(right - 2));
    EXPECT_FALSE(dark(right + 3));
    EXPECT_FALSE(qGray(page.pixel(left + 10, row - 6)) < 128);  // a thin line
}

// Figures are drawn in vectors at their natural size (15 twips a pixel):
// no picture on the page, and edges as sharp as the rendering.
TEST_F(LinePrinterTest, FiguresKeepTheirNaturalSizeInVectorsAndDoNotMoveThePosition)
{
    ASSERT_TRUE(printer_.Begin());
    printer_.DrawFigure([](QPainter& painter) { painter.fillRect(QRectF(0, 0, 363, 241), Qt::cyan); });
    EXPECT_DOUBLE_EQ(printer_.y(), 0);
    printer_.Print({QStringLiteral("sopra")});
    ASSERT_TRUE(printer_.EndDoc());

    EXPECT_TRUE(test::PdfImages(pdf_).empty());
    EXPECT_NEAR(FindWord(pdf_, QStringLiteral("sopra")).box.left(), kPdfMarginPoints, kPointTolerance);
    constexpr int dpi = 150;
    const QImage page = test::RenderPage(pdf_, 1, dpi);
    const auto cyan = [&](double points) {
        const int x = qRound((kPdfMarginPoints + points) * dpi / 72);
        return page.pixelColor(x, qRound((kPdfMarginPoints + 90) * dpi / 72)) == QColor(Qt::cyan);
    };
    // 363 pixels at 96 dpi: 272.25 points, edges within a dot of 150 dpi.
    EXPECT_TRUE(cyan(0.5));
    EXPECT_TRUE(cyan(271.7));
    EXPECT_FALSE(cyan(272.8));
}

TEST_F(LinePrinterTest, ALineThatDoesNotFitGoesToANewPage)
{
    ASSERT_TRUE(printer_.Begin());
    const int perPage = static_cast<int>(printer_.printableHeight() / printer_.lineHeight());
    for (int i = 0; i < perPage; ++i)
        printer_.Print({QStringLiteral("riga%1").arg(i)});
    EXPECT_EQ(printer_.page(), 1);
    printer_.Print({QStringLiteral("ultima")});
    EXPECT_EQ(printer_.page(), 2);
    EXPECT_DOUBLE_EQ(printer_.y(), printer_.lineHeight());
    ASSERT_TRUE(printer_.EndDoc());

    EXPECT_EQ(test::PdfPageCount(pdf_), 2);
    EXPECT_NEAR(FindWord(pdf_, QStringLiteral("ultima"), 2).box.left(), kPdfMarginPoints, kPointTolerance);
}

// A header of two lines in bold 12 pt, counting its calls.
struct Header {
    LinePrinter& printer;
    std::vector<int> pages;

    void Print()
    {
        pages.push_back(printer.page());
        printer.SetFont(12, true);
        printer.SetTextColor(Qt::blue);
        printer.Print({QStringLiteral("Intestazione%1").arg(printer.page())});
        printer.Print({QStringLiteral(" ")});
    }
};

TEST_F(LinePrinterTest, EveryPageStartsWithTheHeaderHoweverItCame)
{
    Header header{printer_, {}};
    printer_.SetPageStart([&header] { header.Print(); });
    ASSERT_TRUE(printer_.Begin());
    EXPECT_EQ(header.pages, std::vector<int>{1});
    // The header's font and colour do not stay.
    EXPECT_NEAR(printer_.lineHeight(), 230, 2);
    const double top = printer_.y();
    printer_.Print({QStringLiteral("uno")});

    ASSERT_TRUE(printer_.NewPage());
    EXPECT_EQ(header.pages, (std::vector<int>{1, 2}));
    EXPECT_DOUBLE_EQ(printer_.y(), top);
    printer_.Print({QStringLiteral("due")});

    // A line that no longer fits starts page 3 with its header, and so does a
    // line pushed down by a tab to a column already passed.
    while (printer_.page() == 2)
        printer_.Print({QStringLiteral("riga")});
    EXPECT_EQ(header.pages, (std::vector<int>{1, 2, 3}));
    EXPECT_DOUBLE_EQ(printer_.y(), top + printer_.lineHeight());
    while (printer_.y() + 2 * printer_.lineHeight() <= printer_.printableHeight())
        printer_.Print({QStringLiteral("riga")});
    printer_.Print({QStringLiteral("abcdefghijklmnopqrstuvwxyz"), Tab{5}, QStringLiteral("dopo")});
    EXPECT_EQ(header.pages, (std::vector<int>{1, 2, 3, 4}));
    ASSERT_TRUE(printer_.EndDoc());

    ASSERT_EQ(test::PdfPageCount(pdf_), 4);
    for (int page = 1; page <= 4; ++page) {
        const QStringList lines = test::PdfLines(pdf_, page);
        ASSERT_FALSE(lines.isEmpty());
        EXPECT_EQ(lines.first(), QStringLiteral("Intestazione%1").arg(page));
    }
    EXPECT_EQ(test::PdfLines(pdf_, 4).at(1).trimmed(), QStringLiteral("dopo"));
    // The lines after a header are black again.
    const QRectF word = FindWord(pdf_, QStringLiteral("uno")).box;
    const QImage page = test::RenderPage(pdf_, 1, 288);
    int blue = 0;
    for (int y = qRound(word.top() * 4); y < qRound(word.bottom() * 4); ++y)
        for (int x = qRound(word.left() * 4); x < qRound(word.right() * 4); ++x)
            blue += page.pixelColor(x, y).blue() > page.pixelColor(x, y).red() + 60;
    EXPECT_EQ(blue, 0);
}

TEST_F(LinePrinterTest, LinesKeptTogetherMoveToANewPageWhole)
{
    ASSERT_TRUE(printer_.Begin());
    printer_.KeepLinesTogether(3);
    EXPECT_EQ(printer_.page(), 1);
    while (printer_.y() + 3 * printer_.lineHeight() <= printer_.printableHeight())
        printer_.Print({QStringLiteral("riga")});
    printer_.KeepLinesTogether(2);
    EXPECT_EQ(printer_.page(), 1);
    printer_.KeepLinesTogether(3);
    EXPECT_EQ(printer_.page(), 2);
    EXPECT_DOUBLE_EQ(printer_.y(), 0);
    ASSERT_TRUE(printer_.EndDoc());
}

TEST(LinePrinterFailureTest, WithoutAPrinterBeginFailsAndSaysWhy)
{
    LinePrinter printer(PrintTarget::DefaultPrinter());
    EXPECT_FALSE(printer.Begin());
    EXPECT_TRUE(printer.failed());
    EXPECT_EQ(printer.failure().number, kPrinterErrorNumber);
    EXPECT_TRUE(printer.failure().description.startsWith(QStringLiteral("Nessuna stampante predefinita")))
        << printer.failure().description.toStdString();
    // Everything after the failure does nothing.
    printer.Print({QStringLiteral("niente")});
    printer.Rule();
    EXPECT_FALSE(printer.NewPage());
    EXPECT_FALSE(printer.EndDoc());
}

TEST(LinePrinterFailureTest, AnUnwritablePdfFileFailsAtTheEnd)
{
    LinePrinter printer(PrintTarget::PdfFile(QStringLiteral("/nonexistent/folder/out.pdf")));
    EXPECT_TRUE(printer.Begin());
    EXPECT_FALSE(printer.EndDoc());
    EXPECT_TRUE(printer.failure().description.contains(QLatin1String("/nonexistent/folder")));
}

// A PDF file holds personal data: it is the user's alone, also when it
// replaces a file that others could read.
TEST(LinePrinterFailureTest, APdfFileIsReadableByTheUserAlone)
{
    test::PrintFolder folder;
    const QString pdf = folder.File(QStringLiteral("Dati ROSSI MARIO.pdf"));
    for (const bool replacing : {false, true}) {
        if (replacing)
            QFile::setPermissions(pdf, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther);
        LinePrinter printer(PrintTarget::PdfFile(pdf));
        ASSERT_TRUE(printer.Begin());
        ASSERT_TRUE(printer.EndDoc());
        EXPECT_EQ(QFile::permissions(pdf),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);
    }
}

// A printout stopped through its watch ends at the next page, and nothing
// is written.
TEST(LinePrinterFailureTest, AStoppedPrintoutEndsAtTheNextPage)
{
    test::PrintFolder folder;
    const QString pdf = folder.File(QStringLiteral("out.pdf"));
    ServerWatch watch;
    LinePrinter printer(PrintTarget::PdfFile(pdf), &watch);
    ASSERT_TRUE(printer.Begin());
    watch.Interrupt(ServerWatch::Stop::Cancelled);
    EXPECT_FALSE(printer.NewPage());
    EXPECT_EQ(printer.failure().description, QStringLiteral("Stampa annullata"));
    EXPECT_FALSE(printer.EndDoc());
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST(LinePrinterFailureTest, APdfFileIsWrittenOnlyWhenTheDocumentEnds)
{
    test::PrintFolder folder;
    const QString pdf = folder.File(QStringLiteral("out.pdf"));
    {
        QFile old(pdf);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("vecchio");
    }
    {
        LinePrinter printer(PrintTarget::PdfFile(pdf));
        ASSERT_TRUE(printer.Begin());
        printer.Print({QStringLiteral("mai finito")});
    }
    QFile old(pdf);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("vecchio"));
}

}  // namespace
}  // namespace cf::platform
