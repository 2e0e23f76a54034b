// SPDX-License-Identifier: MIT
// The archive printout into PDF files, and without a printer.

#include "archive/archive_printout.h"

#include <QCursor>
#include <QGuiApplication>

#include <gtest/gtest.h>

#include "platform/message_box.h"
#include "print_test_support.h"

namespace cf::archive {
namespace {

using platform::MessageBoxRecorder;
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

// Rows handed out as the archive window would, remembering the selections.
struct ListRows {
    std::vector<Person> rows;
    std::vector<int> selected;
    bool busyWhileSelecting = true;

    ArchiveRows View()
    {
        return {static_cast<int>(rows.size()), [this](int row) {
                    selected.push_back(row);
                    const QCursor* cursor = QGuiApplication::overrideCursor();
                    busyWhileSelecting &= cursor && cursor->shape() == Qt::WaitCursor;
                    return rows.at(row);
                }};
    }
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
    test::PrintFolder folder_;
    QString pdf_ = folder_.File(QStringLiteral("archivio.pdf"));
    MessageBoxRecorder recorder_;
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
    ASSERT_TRUE(PrintArchive(list.View(), PrintTarget::PdfFile(pdf_)));
    EXPECT_TRUE(recorder_.requests().empty());
    EXPECT_EQ(list.selected, (std::vector<int>{0, 1, 2}));
    EXPECT_TRUE(list.busyWhileSelecting);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

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
    ASSERT_TRUE(PrintArchive(list.View(), PrintTarget::PdfFile(pdf_)));
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

TEST_F(ArchivePrintoutTest, ARowBelowTheBreakLineStartsPageTwoAfterAQuotedHeader)
{
    const int firstPage = RowsOnFirstPage();
    ListRows list = Numbered(firstPage + 2);
    ASSERT_TRUE(PrintArchive(list.View(), PrintTarget::PdfFile(pdf_)));
    ASSERT_EQ(test::PdfPageCount(pdf_), 2);

    const QStringList one = test::PdfLines(pdf_, 1);
    EXPECT_EQ(one.first(), QStringLiteral("Codice fiscale - Pagina n° 1"));
    EXPECT_TRUE(one.last().startsWith(QString::fromStdString(NumberedRow(firstPage).surname)))
        << one.last().toStdString();
    EXPECT_FALSE(test::PdfText(pdf_, 1).contains(QLatin1String("Totale")));

    const QStringList two = test::PdfLines(pdf_, 2);
    ASSERT_EQ(two.size(), 6);
    EXPECT_EQ(two[0], QStringLiteral("\"Codice fiscale - Pagina n° 2"));
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
    ASSERT_TRUE(PrintArchive(list.View(), PrintTarget::PdfFile(pdf_)));
    const QRectF name = test::FindWord(pdf_, QStringLiteral("ASSUNTA")).box;
    const QRectF code = test::FindWord(pdf_, QStringLiteral("DLLMRS70A41H501Q")).box;
    EXPECT_NEAR(code.left(), test::FindWord(pdf_, QStringLiteral("CODICE")).box.left(), 0.5);
    EXPECT_GT(code.top(), name.top() + 5);
}

TEST_F(ArchivePrintoutTest, AnEmptyListPrintsTheHeaderAndAZeroTotal)
{
    ListRows list;
    ASSERT_TRUE(PrintArchive(list.View(), PrintTarget::PdfFile(pdf_)));
    const QStringList lines = test::PdfLines(pdf_);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[3].simplified(), QStringLiteral("Totale record: 0"));
}

TEST_F(ArchivePrintoutTest, WithoutAPrinterTheErrorIsShownAndThePointerRestored)
{
    ListRows list = Numbered(3);
    EXPECT_FALSE(PrintArchive(list.View()));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(list.selected.empty());
    ASSERT_EQ(recorder_.requests().size(), 1u);
    const platform::MessageRequest& box = recorder_.requests()[0];
    EXPECT_EQ(box.title, QStringLiteral("Zade: errore"));
    EXPECT_EQ(box.icon, MessageIcon::Critical);
    EXPECT_EQ(box.buttons, platform::MessageButtons::Ok);
    const QStringList text = box.text.split(QLatin1Char('\n'));
    ASSERT_EQ(text.size(), 2);
    EXPECT_EQ(text[0], QStringLiteral("Errore nell'esecuzione della stampa."));
    EXPECT_TRUE(text[1].startsWith(QStringLiteral(" %1: ").arg(platform::kPrinterErrorNumber)))
        << text[1].toStdString();
    EXPECT_GT(text[1].size(), 8);
}

TEST_F(ArchivePrintoutTest, AnUnwritableFileIsReportedTheSameWay)
{
    ListRows list = Numbered(1);
    const auto unwritable = PrintTarget::PdfFile(QStringLiteral("/nonexistent/a.pdf"));
    EXPECT_FALSE(PrintArchive(list.View(), unwritable));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    ASSERT_EQ(recorder_.requests().size(), 1u);
    EXPECT_EQ(recorder_.requests()[0].title, QStringLiteral("Zade: errore"));
}

}  // namespace
}  // namespace cf::archive
