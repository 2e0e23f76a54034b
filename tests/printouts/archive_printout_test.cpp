// SPDX-License-Identifier: MIT
// The archive printout into PDF files, its file name, and without a
// printer.

#include "printouts/archive_printout.h"

#include <gtest/gtest.h>

#include "print_test_support.h"

namespace cf::archive {
namespace {

using platform::PrintTarget;

Person NumberedRow(int i)
{
    const std::string n = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0')).toStdString();
    return {.surname = "COGNOME" + n,
            .firstName = "NOME",
            .sex = "M",
            .birthDate = "01/01/80",
            .place = "ROMA",
            .province = "RM",
            .code = "CODICE" + n};
}

struct ListRows {
    std::vector<Person> rows;
};

ListRows Numbered(int count)
{
    ListRows list;
    for (int i = 1; i <= count; ++i)
        list.rows.push_back(NumberedRow(i));
    return list;
}

// Rows whose top is at or above the break line on the first page: the
// header takes seven lines.
int RowsOnFirstPage()
{
    test::PrintFolder folder;
    platform::LinePrinter printer(PrintTarget::PdfFile(folder.File(QStringLiteral("m.pdf"))));
    EXPECT_TRUE(printer.Begin());
    const double line = printer.lineHeight();
    return static_cast<int>((15544 - 7 * line) / line) + 1;
}

class ArchivePrintoutTest : public ::testing::Test {
protected:
    bool Print(const ListRows& list)
    {
        return platform::RunPrintout(ArchiveListing(list.rows), PrintTarget::PdfFile(pdf_)).ok();
    }

    test::PrintFolder folder_;
    QString pdf_ = folder_.File(QStringLiteral("archivio.pdf"));
};

TEST_F(ArchivePrintoutTest, ThreeRowsMakeOnePageWithHeaderRowsAndTotal)
{
    ListRows list;
    list.rows = {
        {.surname = "BIANCHI",
         .firstName = "LUCIA",
         .sex = "F",
         .birthDate = "03/07/85",
         .place = "ROMA",
         .province = "RM",
         .code = "BNCLCU85L43H501J"},
        {.surname = "ROSSI",
         .firstName = "MARIO",
         .sex = "M",
         .birthDate = "01/01/80",
         .place = "MILANO",
         .province = "MI",
         .code = "RSSMRA80A01F205X"},
        {.surname = "VERDI",
         .firstName = "ANNA",
         .sex = "F",
         .birthDate = "01/02/90",
         .place = "STATI UNITI D'AMERICA",
         .province = "EE",
         .code = "VRDNNA90B41Z404Y"},
    };
    ASSERT_TRUE(Print(list));

    ASSERT_EQ(test::PdfPageCount(pdf_), 1);
    const QStringList lines = test::PdfLines(pdf_);
    ASSERT_EQ(lines.size(), 7);
    EXPECT_EQ(lines[0], QStringLiteral("Codice fiscale - Pagina n° 1"));
    EXPECT_EQ(lines[1], QStringLiteral("Archivio codici"));
    EXPECT_EQ(lines[2].simplified(), QStringLiteral("NOME CODICE FISCALE SESSO DATA PROV. CITTA"));
    EXPECT_EQ(lines[3].simplified(), QStringLiteral("BIANCHI LUCIA BNCLCU85L43H501J F 03/07/85 RM ROMA"));
    EXPECT_EQ(lines[4].simplified(), QStringLiteral("ROSSI MARIO RSSMRA80A01F205X M 01/01/80 MI MILANO"));
    EXPECT_EQ(lines[5].simplified(),
              QStringLiteral("VERDI ANNA VRDNNA90B41Z404Y F 01/02/90 EE STATI UNITI D'AMERICA"));
    EXPECT_EQ(lines[6].simplified(), QStringLiteral("Totale record: 3"));
}

TEST_F(ArchivePrintoutTest, DataColumnsLineUpUnderTheirTitles)
{
    ListRows list = Numbered(1);
    ASSERT_TRUE(Print(list));
    const auto left = [&](const QString& word) { return test::FindWord(pdf_, word).box.left(); };
    EXPECT_NEAR(left(QStringLiteral("COGNOME001")), left(QStringLiteral("NOME")), 0.5);
    EXPECT_NEAR(left(QStringLiteral("CODICE001")), left(QStringLiteral("CODICE")), 0.5);
    EXPECT_NEAR(left(QStringLiteral("M")), left(QStringLiteral("SESSO")), 0.5);
    EXPECT_NEAR(left(QStringLiteral("01/01/80")), left(QStringLiteral("DATA")), 0.5);
    EXPECT_NEAR(left(QStringLiteral("RM")), left(QStringLiteral("PROV.")), 0.5);
    EXPECT_NEAR(left(QStringLiteral("ROMA")), left(QStringLiteral("CITTA")), 0.5);
    // Column 100 of Arial 10 still lies on an A4 page.
    EXPECT_LT(left(QStringLiteral("CITTA")), 595 - 18 - 30);
    // "Totale record: " starts at column 10.
    const double column = (left(QStringLiteral("CODICE")) - left(QStringLiteral("NOME"))) / 34;
    EXPECT_NEAR(left(QStringLiteral("Totale")), left(QStringLiteral("NOME")) + 9 * column, 0.5);
}

TEST_F(ArchivePrintoutTest, ARowBelowTheBreakLineStartsPageTwoAfterTheSameHeader)
{
    const int firstPage = RowsOnFirstPage();
    ListRows list = Numbered(firstPage + 2);
    ASSERT_TRUE(Print(list));
    ASSERT_EQ(test::PdfPageCount(pdf_), 2);

    const QStringList one = test::PdfLines(pdf_, 1);
    EXPECT_EQ(one.first(), QStringLiteral("Codice fiscale - Pagina n° 1"));
    EXPECT_TRUE(one.last().startsWith(QString::fromStdString(NumberedRow(firstPage).surname)))
        << one.last().toStdString();
    EXPECT_FALSE(test::PdfText(pdf_, 1).contains(QLatin1String("Totale")));

    const QStringList two = test::PdfLines(pdf_, 2);
    ASSERT_EQ(two.size(), 6);
    EXPECT_EQ(two[0], QStringLiteral("Codice fiscale - Pagina n° 2"));
    EXPECT_EQ(two[1], QStringLiteral("Archivio codici"));
    EXPECT_TRUE(two[3].startsWith(QString::fromStdString(NumberedRow(firstPage + 1).surname)))
        << two[3].toStdString();
    EXPECT_TRUE(two[4].startsWith(QString::fromStdString(NumberedRow(firstPage + 2).surname)))
        << two[4].toStdString();
    EXPECT_EQ(two[5].simplified(), QStringLiteral("Totale record: %1").arg(firstPage + 2));
}

TEST_F(ArchivePrintoutTest, ALongNamePushesTheCodeToColumn35OfTheNextLine)
{
    ListRows list;
    list.rows = {{.surname = "DELLA GHERARDESCA DI SAN MARTINO",
                  .firstName = "MARIA ASSUNTA",
                  .sex = "F",
                  .birthDate = "01/01/70",
                  .place = "ROMA",
                  .province = "RM",
                  .code = "DLLMRS70A41H501Q"}};
    ASSERT_TRUE(Print(list));
    const QRectF name = test::FindWord(pdf_, QStringLiteral("ASSUNTA")).box;
    const QRectF code = test::FindWord(pdf_, QStringLiteral("DLLMRS70A41H501Q")).box;
    EXPECT_NEAR(code.left(), test::FindWord(pdf_, QStringLiteral("CODICE")).box.left(), 0.5);
    EXPECT_GT(code.top(), name.top() + 5);
}

TEST_F(ArchivePrintoutTest, AnEmptyListPrintsTheHeaderAndAZeroTotal)
{
    ListRows list;
    ASSERT_TRUE(Print(list));
    const QStringList lines = test::PdfLines(pdf_);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[3].simplified(), QStringLiteral("Totale record: 0"));
}

TEST(ArchivePrintoutFailureTest, WithoutAPrinterTheErrorSaysWhyWithItsNumber)
{
    const platform::PrintOutcome outcome =
        platform::RunPrintout(ArchiveListing(Numbered(3).rows), PrintTarget::DefaultPrinter());
    EXPECT_FALSE(outcome.ok());
    const platform::FailureMessage message = ArchivePrintFailure();
    EXPECT_EQ(message.title, QStringLiteral("Zade: errore"));
    EXPECT_EQ(message.icon, MessageIcon::Critical);
    const QStringList text = message.text(outcome.failure).split(QLatin1Char('\n'));
    ASSERT_EQ(text.size(), 2);
    EXPECT_EQ(text[0], QStringLiteral("Errore nell'esecuzione della stampa."));
    EXPECT_TRUE(
        text[1].startsWith(QStringLiteral(" %1: Nessuna stampante").arg(platform::kPrinterErrorNumber)))
        << text[1].toStdString();
}

TEST(ArchivePrintoutFailureTest, AnUnwritableFileIsReportedTheSameWay)
{
    const auto unwritable = PrintTarget::PdfFile(QStringLiteral("/nonexistent/a.pdf"));
    const platform::PrintOutcome outcome =
        platform::RunPrintout(ArchiveListing(Numbered(1).rows), unwritable);
    EXPECT_FALSE(outcome.ok());
    EXPECT_TRUE(outcome.failure.description.contains(QLatin1String("/nonexistent/a.pdf")));
}

TEST(ArchivePrintoutNameTest, ThePdfFileIsNamedForTheDay)
{
    EXPECT_EQ(ArchiveListing({}, QDate(2026, 12, 8)).pdfFileName,
              QStringLiteral("Archivio codici 2026-12-08.pdf"));
}

}  // namespace
}  // namespace cf::archive
