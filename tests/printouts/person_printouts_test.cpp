// SPDX-License-Identifier: MIT
// The person printouts into PDF files, their file names, and without a
// printer.

#include "printouts/person_printouts.h"
#include "sample_person.h"

#include <QDate>

#include <gtest/gtest.h>

#include "generation_test_support.h"
#include "print_test_support.h"
#include "windows/generation/generation_images.h"

namespace cf::frame {
namespace {

using platform::PrintTarget;
using platform::RunPrintout;
using test::Lucia;

class PersonPrintoutsTest : public ::testing::Test {
protected:
    bool Print(const platform::Printout& printout)
    {
        return RunPrintout(printout, PrintTarget::PdfFile(pdf_)).ok();
    }

    test::PrintFolder folder_;
    QString pdf_ = folder_.File(QStringLiteral("persona.pdf"));
};

TEST_F(PersonPrintoutsTest, DataSheetHoldsHeadingLabelsAndCode)
{
    ASSERT_TRUE(Print(DataSheet(Lucia())));
    ASSERT_EQ(test::PdfPageCount(pdf_), 1);

    QStringList lines = test::PdfLines(pdf_);
    for (QString& line : lines)
        line = line.simplified();
    const QString rule(100, QLatin1Char('-'));
    EXPECT_EQ(lines, (QStringList{
                         "Codice fiscale di: LUCIA BIANCHI",
                         rule,
                         "Cognome: BIANCHI",
                         "Nome: LUCIA",
                         "Sesso: F",
                         "Data di nascita: 03/07/85",
                         "Comune: ROMA",
                         "Provincia: RM",
                         rule,
                         "Codice fiscale: BNCLCU85L43H501J",
                     }));
}

TEST_F(PersonPrintoutsTest, DataSheetLabelsAndValuesStandAtColumns10And30)
{
    ASSERT_TRUE(Print(DataSheet(Lucia())));
    const auto left = [&](const QString& word) { return test::FindWord(pdf_, word).box.left(); };
    const double label = left(QStringLiteral("Cognome:"));
    const double value = left(QStringLiteral("03/07/85"));
    // Column 10 and column 30 of Arial 10: 9 and 29 average widths of 4.414 pt.
    EXPECT_NEAR(label - test::kPdfMarginPoints, 9 * 4.414, 1);
    EXPECT_NEAR(value - test::kPdfMarginPoints, 29 * 4.414, 1.5);
    EXPECT_NEAR(left(QStringLiteral("Provincia:")), label, 0.5);
    EXPECT_NEAR(left(QStringLiteral("RM")), value, 0.5);
    // The code line is in bold 12 pt, whose columns are wider.
    EXPECT_GT(left(QStringLiteral("BNCLCU85L43H501J")), value + 10);
    // The heading is in bold 12 pt, one blank 14 pt line below the top.
    const QRectF heading = test::FindWord(pdf_, QStringLiteral("fiscale")).box;
    EXPECT_NEAR(heading.top() - test::kPdfMarginPoints, 14 * 1.149, 1.5);
}

// The card is drawn in vectors, not as a picture of 96 dpi, and its own
// texts are part of the drawing: the page's text is the person's data.
TEST_F(PersonPrintoutsTest, CardPageHoldsTheCardInVectorsAndTheDataOverIt)
{
    ASSERT_TRUE(Print(CardPrintout(Lucia())));
    ASSERT_EQ(test::PdfPageCount(pdf_), 1);
    EXPECT_TRUE(test::PdfImages(pdf_).empty());

    QStringList lines = test::PdfLines(pdf_);
    for (QString& line : lines)
        line = line.simplified();
    EXPECT_EQ(lines, (QStringList{
                         "BNCLCU85L43H501J",
                         "BIANCHI",
                         "LUCIA F",
                         "ROMA",
                         "RM 03/07/85",
                         QString::number(QDate::currentDate().year()),
                     }));
    // Every field lies over the picture (363 x 241 pixels: 272 x 181 points).
    const QRectF card(test::kPdfMarginPoints, test::kPdfMarginPoints, 363 * 0.75, 241 * 0.75);
    for (const test::PdfWord& word : test::PdfWords(pdf_))
        EXPECT_TRUE(card.contains(word.box)) << word.text.toStdString();
}

// Every printed field lies on one colour of the card picture: inside its
// box, clear of the box's edges and of the rows above and below.
TEST_F(PersonPrintoutsTest, CardFieldsArePrintedInsideTheirBoxes)
{
    const Person person{.surname = "DELLA GHERARDESCA",
                        .firstName = "MARIA ASSUNTA",
                        .sex = "M",
                        .birthDate = "03/07/85",
                        .place = "SAN GIOVANNI IN PERSICETO",
                        .province = "RM",
                        .code = "DLLMRS85L43H501J"};
    const QImage card = generation::CardImage().toImage();
    ASSERT_TRUE(Print(CardPrintout(person)));
    const std::vector<test::PdfWord> words = test::PdfWords(pdf_);
    ASSERT_EQ(words.size(), 13u);
    for (const test::PdfWord& word : words) {
        // Liberation Sans: ascent 0.905, descent 0.212, capitals 0.716 em.
        const double size = word.box.height() / (0.905 + 0.212);
        const double baseline = word.box.bottom() - 0.212 * size;
        const QRectF capitals(word.box.left(), baseline - 0.716 * size, word.box.width(), 0.716 * size);
        // Page points to picture pixels (96 dpi).
        const QRectF onCard = capitals.translated(-test::kPdfMarginPoints, -test::kPdfMarginPoints);
        const QRectF pixels(onCard.topLeft() * 4 / 3, onCard.size() * 4 / 3);
        EXPECT_TRUE(PlainUnder(card, pixels)) << word.text.toStdString();
    }
}

TEST_F(PersonPrintoutsTest, CardYearIsDarkGreen)
{
    ASSERT_TRUE(Print(CardPrintout(Lucia())));
    const QRectF year = test::FindWord(pdf_, QString::number(QDate::currentDate().year())).box;
    constexpr int dpi = 288;
    const QImage page = test::RenderPage(pdf_, 1, dpi);
    const QRect box(QPoint(qRound(year.left() * dpi / 72), qRound(year.top() * dpi / 72)),
                    QPoint(qRound(year.right() * dpi / 72), qRound(year.bottom() * dpi / 72)));
    int green = 0;
    int other = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = page.pixelColor(x, y);
            if (c.lightness() > 200)
                continue;  // the card around the digits
            (c.green() > c.red() + 40 && c.green() > c.blue() + 40 ? green : other)++;
        }
    EXPECT_GT(green, 50);
    EXPECT_LT(other, green / 10);
}

TEST_F(PersonPrintoutsTest, ALongFirstNamePushesTheSexToColumn52OfTheNextLine)
{
    Person person = Lucia();
    person.firstName = "MARIA ASSUNTA ADDOLORATA IMMACOLATA CONCETTA";
    ASSERT_TRUE(Print(CardPrintout(person)));
    const QRectF name = test::FindWord(pdf_, QStringLiteral("CONCETTA")).box;
    const QRectF sex = test::FindWord(pdf_, QStringLiteral("F")).box;
    EXPECT_GT(sex.top(), name.top() + 5);
    EXPECT_NEAR(sex.left() - test::kPdfMarginPoints, 51 * 4.414, 1.5);
}

TEST(PersonPrintoutNamesTest, PdfFilesSayWhatTheyHold)
{
    Person rossi;
    rossi.surname = "ROSSI";
    rossi.firstName = "MARIO";
    rossi.code = "RSSMRA80C15H501M";
    const Person blank{};
    EXPECT_EQ(DataSheet(rossi).pdfFileName, QStringLiteral("Dati ROSSI MARIO.pdf"));
    EXPECT_EQ(CardPrintout(rossi).pdfFileName, QStringLiteral("Tesserino RSSMRA80C15H501M.pdf"));
    EXPECT_EQ(DataSheet(blank).pdfFileName, QStringLiteral("Dati.pdf"));
    EXPECT_EQ(CardPrintout(blank).pdfFileName, QStringLiteral("Tesserino.pdf"));
}

TEST(PersonPrintoutFailureTest, WithoutAPrinterEachPrintoutFailsWithTheReason)
{
    for (const platform::Printout& printout : {DataSheet(Lucia()), CardPrintout(Lucia())}) {
        const platform::PrintOutcome outcome = RunPrintout(printout, PrintTarget::DefaultPrinter());
        EXPECT_FALSE(outcome.ok());
        const platform::FailureMessage message = PersonPrintFailure();
        EXPECT_EQ(message.title, QStringLiteral("Zerez"));
        EXPECT_EQ(message.icon, MessageIcon::Exclamation);
        // The reason follows on a second line.
        EXPECT_TRUE(
            message.text(outcome.failure).startsWith(QStringLiteral("Errore di stampa\nNessuna stampante")))
            << message.text(outcome.failure).toStdString();
    }
}

}  // namespace
}  // namespace cf::frame
