// SPDX-License-Identifier: MIT
// The printer dialog without a print server: what it proposes before the
// list comes, and which destination it proposes once it has come.

#include "platform/printer_choice.h"

#include <QLabel>
#include <QListWidget>

#include <gtest/gtest.h>

namespace cf::platform {
namespace {

QStringList Entries(const PrinterDialog& dialog)
{
    QStringList entries;
    for (int row = 0; row < dialog.destinations()->count(); ++row)
        entries << dialog.destinations()->item(row)->text();
    return entries;
}

PrinterInfo Printer(const char* name, PrinterInfo::State state = PrinterInfo::State::Ready,
                    const char* reason = "")
{
    PrinterInfo printer;
    printer.name = QString::fromLatin1(name);
    printer.state = state;
    printer.reason = QString::fromLatin1(reason);
    return printer;
}

TEST(PrinterDialogTest, BeforeTheListComesItProposesTheLastChoiceOrTheDefaultPrinter)
{
    const PrinterDialog fresh(PrintTarget::DefaultPrinter());
    EXPECT_EQ(Entries(fresh),
              (QStringList{QStringLiteral("Stampante predefinita"), QStringLiteral("Salva come PDF")}));
    EXPECT_EQ(fresh.selected(), PrintTarget::DefaultPrinter());
    EXPECT_EQ(fresh.note()->text(), QStringLiteral("Ricerca delle stampanti…"));

    const PrinterDialog remembered(PrintTarget::Printer(QStringLiteral("ufficio")));
    EXPECT_EQ(Entries(remembered),
              (QStringList{QStringLiteral("ufficio"), QStringLiteral("Salva come PDF")}));
    EXPECT_EQ(remembered.selected(), PrintTarget::Printer(QStringLiteral("ufficio")));
}

TEST(PrinterDialogTest, TheListShowsEveryPrinterWithItsStateAndProposesTheRightOne)
{
    const std::vector<PrinterInfo> printers = {
        Printer("atrio", PrinterInfo::State::Stopped, "Sportello aperto"),
        Printer("ufficio"),
        Printer("vecchia", PrinterInfo::State::Refusing),
    };
    const struct {
        PrintTarget proposed;
        QString defaultPrinter;
        PrintFailure failure;
        PrintTarget selected;
        QString note;
    } cases[] = {
        {PrintTarget::DefaultPrinter(),
         QStringLiteral("ufficio"),
         {},
         PrintTarget::Printer(QStringLiteral("ufficio")),
         {}},
        {PrintTarget::Printer(QStringLiteral("atrio")),
         QStringLiteral("ufficio"),
         {},
         PrintTarget::Printer(QStringLiteral("atrio")),
         {}},
        {PrintTarget::Printer(QStringLiteral("sparita")),
         QStringLiteral("ufficio"),
         {},
         PrintTarget::Printer(QStringLiteral("ufficio")),
         QStringLiteral("La stampante «sparita» non c'è più")},
        {PrintTarget::PdfFile(), QStringLiteral("ufficio"), {}, PrintTarget::PdfFile(), {}},
        {PrintTarget::DefaultPrinter(),
         {},
         {},
         PrintTarget::PdfFile(),
         QStringLiteral("Nessuna stampante predefinita")},
    };
    for (const auto& c : cases) {
        PrinterDialog dialog(c.proposed);
        dialog.ShowPrinters({printers, c.defaultPrinter, c.failure});
        EXPECT_EQ(dialog.selected(), c.selected) << c.proposed.name.toStdString();
        EXPECT_EQ(dialog.note()->text(), c.note);
        EXPECT_EQ(Entries(dialog).size(), 4);
    }
    PrinterDialog dialog(PrintTarget::DefaultPrinter());
    dialog.ShowPrinters({printers, QStringLiteral("ufficio"), {}});
    EXPECT_EQ(Entries(dialog), (QStringList{
                                   QStringLiteral("atrio — ferma: Sportello aperto"),
                                   QStringLiteral("ufficio (predefinita) — pronta"),
                                   QStringLiteral("vecchia — rifiuta i lavori"),
                                   QStringLiteral("Salva come PDF"),
                               }));
}

// A server that does not answer leaves the proposal and a PDF file; without
// a proposal of its own, the PDF file is proposed.
TEST(PrinterDialogTest, WithoutAnAnswerThePdfFileIsOffered)
{
    const PrintFailure noServer{kPrinterErrorNumber, QStringLiteral("Il servizio di stampa non è attivo")};
    PrinterDialog remembered(PrintTarget::Printer(QStringLiteral("ufficio")));
    remembered.ShowPrinters({{}, {}, noServer});
    EXPECT_EQ(Entries(remembered), (QStringList{QStringLiteral("Salva come PDF")}));
    EXPECT_EQ(remembered.selected(), PrintTarget::PdfFile());
    EXPECT_EQ(remembered.note()->text(), noServer.description);
}

TEST(PrinterChoiceRecorderTest, RemembersTheAnswerUntilItGoes)
{
    {
        PrinterChoiceRecorder recorder;
        recorder.QueueAnswer(PrintTarget::Printer(QStringLiteral("ufficio")));
        recorder.QueueAnswer(std::nullopt);
        EXPECT_EQ(ChoosePrinter(), PrintTarget::Printer(QStringLiteral("ufficio")));
        EXPECT_EQ(ChoosePrinter(), std::nullopt);
        EXPECT_EQ(ChoosePrinter(), std::nullopt);  // Esc
        EXPECT_EQ(recorder.requests(),
                  (std::vector<PrintTarget>{PrintTarget::DefaultPrinter(),
                                            PrintTarget::Printer(QStringLiteral("ufficio")),
                                            PrintTarget::Printer(QStringLiteral("ufficio"))}));
    }
    PrinterChoiceRecorder next;
    EXPECT_EQ(ChoosePrinter(), std::nullopt);
    EXPECT_EQ(next.requests(), std::vector<PrintTarget>{PrintTarget::DefaultPrinter()});
}

}  // namespace
}  // namespace cf::platform
