// SPDX-License-Identifier: MIT
#include "frame/person_printouts.h"

#include <QColor>
#include <QDate>

#include "platform/message_box.h"

namespace cf::frame {
namespace {

using platform::LinePrinter;
using platform::Number;
using platform::Tab;

const QString kBlank = QStringLiteral(" ");

QString Text(const std::string& text)
{
    return QString::fromStdString(text);
}

void PrintRule(LinePrinter& printer)
{
    printer.Print({Tab{10}, QString(100, QLatin1Char('-'))});
}

void PrintDataLines(LinePrinter& printer, const Person& person)
{
    printer.SetFont(14, true);
    printer.Print({kBlank});

    printer.SetFont(12, true);
    printer.Print({Tab{10}, QStringLiteral("Codice fiscale di: ") + Text(person.firstName) + QLatin1Char(' ')
                                + Text(person.surname)});
    printer.Print({kBlank});

    printer.SetFont(10, false);
    PrintRule(printer);
    const std::pair<QString, QString> fields[] = {
        {QStringLiteral("Cognome:"), Text(person.surname)},
        {QStringLiteral("Nome:"), Text(person.firstName)},
        {QStringLiteral("Sesso:"), Text(person.sex)},
        {QStringLiteral("Data di nascita:"), Text(person.birthDate)},
        {QStringLiteral("Comune:"), Text(person.place)},
        {QStringLiteral("Provincia:"), Text(person.province)},
    };
    for (const auto& [label, value] : fields)
        printer.Print({Tab{10}, label, Tab{30}, value});
    PrintRule(printer);
    printer.Print({kBlank});

    printer.SetFont(12, true);
    printer.Print({Tab{10}, QStringLiteral("Codice fiscale:"), Tab{30}, Text(person.code)});
}

// The narrow gap between two fields of the card.
void PrintGap(LinePrinter& printer)
{
    printer.SetFont(2, false);
    printer.Print({kBlank});
}

void PrintCardLines(LinePrinter& printer, const Person& person, const QImage& card)
{
    printer.DrawPicture(card);
    PrintGap(printer);
    printer.SetFont(16, true);
    for (int i = 0; i < 4; ++i)
        printer.Print({kBlank});
    printer.Print({Tab{9}, Text(person.code)});
    PrintGap(printer);
    printer.SetFont(10, false);
    printer.Print({Tab{15}, Text(person.surname)});
    printer.Print({Tab{15}, Text(person.firstName), Tab{52}, Text(person.sex)});
    PrintGap(printer);
    printer.SetFont(10, false);
    printer.Print({Tab{15}, Text(person.place)});
    PrintGap(printer);
    printer.SetFont(10, false);
    printer.Print({Tab{15}, Text(person.province), Tab{40}, Text(person.birthDate)});
    PrintGap(printer);
    printer.SetFont(10, true);
    printer.SetTextColor(QColor(0, 123, 0));
    printer.Print({Tab{3}, Number{QDate::currentDate().year()}});
}

// Runs one printout under the hourglass; a failure shows its message, with
// the reason, before the pointer returns.
template <typename Lines>
bool RunPrintout(const platform::PrintTarget& target, platform::Ink ink, Lines printLines)
{
    const platform::BusyPointer busy;
    LinePrinter printer(target);
    if (printer.Begin(ink)) {
        printLines(printer);
        if (printer.EndDoc())
            return true;
    }
    platform::ShowMessage(MessageIcon::Exclamation, QStringLiteral("Zerez"),
                          QStringLiteral("Errore di stampa\n") + printer.failure().description);
    return false;
}

}  // namespace

bool PrintData(const Person& person, const platform::PrintTarget& target)
{
    return RunPrintout(target, platform::Ink::PrinterDefault,
                       [&](LinePrinter& printer) { PrintDataLines(printer, person); });
}

bool PrintCard(const Person& person, const QImage& card, const platform::PrintTarget& target)
{
    // The card is a colour facsimile: the printer is asked for colour.
    return RunPrintout(target, platform::Ink::Colour,
                       [&](LinePrinter& printer) { PrintCardLines(printer, person, card); });
}

}  // namespace cf::frame
