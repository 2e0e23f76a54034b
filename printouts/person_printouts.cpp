// SPDX-License-Identifier: MIT
#include "printouts/person_printouts.h"

#include <QColor>
#include <QDate>
#include <QStringList>

#include <vector>

#include "platform/fonts.h"
#include "printouts/card_drawing.h"

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

void PrintCardLines(LinePrinter& printer, const Person& person)
{
    const QFont sans = platform::SansFace();
    printer.DrawFigure([&sans](QPainter& painter) { PaintCard(painter, sans); });
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

// "Dati ROSSI MARIO.pdf": what the file holds, then whose it is.
QString PdfName(const QString& what, const std::vector<std::string>& whose)
{
    QStringList parts{what};
    for (const std::string& part : whose)
        if (!Text(part).simplified().isEmpty())
            parts << Text(part).simplified();
    return parts.join(QLatin1Char(' ')) + QStringLiteral(".pdf");
}

}  // namespace

platform::Printout DataSheet(const Person& person)
{
    return {PdfName(QStringLiteral("Dati"), {person.surname, person.firstName}),
            [person](LinePrinter& printer) {
                if (printer.Begin(platform::Ink::PrinterDefault))
                    PrintDataLines(printer, person);
                return printer.EndDoc();
            }};
}

platform::Printout CardPrintout(const Person& person)
{
    // The card is a colour facsimile: the printer is asked for colour.
    return {PdfName(QStringLiteral("Tesserino"), {person.code}), [person](LinePrinter& printer) {
                if (printer.Begin(platform::Ink::Colour))
                    PrintCardLines(printer, person);
                return printer.EndDoc();
            }};
}

platform::FailureMessage PersonPrintFailure()
{
    return {MessageIcon::Exclamation, QStringLiteral("Zerez"), [](const platform::PrintFailure& failure) {
                return QStringLiteral("Errore di stampa\n") + failure.description;
            }};
}

}  // namespace cf::frame
