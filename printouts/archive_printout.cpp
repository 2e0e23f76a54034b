// SPDX-License-Identifier: MIT
#include "printouts/archive_printout.h"

namespace cf::archive {
namespace {

using platform::LinePrinter;
using platform::Tab;

// A row that would start below this line goes to a new page (an A4 page);
// a row that does not fit above the bottom of the printable area goes there
// too.
constexpr double kLastRowTop = 15544;

void PrintColumns(LinePrinter& printer, const QString& name, const QString& code, const QString& sex,
                  const QString& date, const QString& province, const QString& place)
{
    printer.Print(
        {Tab{1}, name, Tab{35}, code, Tab{65}, sex, Tab{75}, date, Tab{90}, province, Tab{100}, place});
}

void PrintHeader(LinePrinter& printer)
{
    printer.Print({QStringLiteral("Codice fiscale - Pagina n° ") + QString::number(printer.page())});
    printer.Print({QStringLiteral(" ")});
    printer.Print({QStringLiteral("Archivio codici")});
    printer.Print({QStringLiteral(" ")});
    printer.Rule();
    printer.Print({QStringLiteral(" ")});
    PrintColumns(printer, QStringLiteral("NOME"), QStringLiteral("CODICE FISCALE"), QStringLiteral("SESSO"),
                 QStringLiteral("DATA"), QStringLiteral("PROV."), QStringLiteral("CITTA"));
    printer.Rule();
    printer.Print({QStringLiteral(" ")});
}

void PrintRow(LinePrinter& printer, const Person& person)
{
    const auto text = [](const std::string& field) { return QString::fromStdString(field); };
    PrintColumns(printer, text(person.surname + ' ' + person.firstName), text(person.code), text(person.sex),
                 text(person.birthDate), text(person.province), text(person.place));
}

// The closing lines stay together with the total: three lines.
void PrintTotal(LinePrinter& printer, int count)
{
    printer.KeepLinesTogether(3);
    printer.Print({QStringLiteral(" ")});
    printer.Rule();
    printer.Print({QStringLiteral(" ")});
    printer.Print({Tab{10}, QStringLiteral("Totale record: ") + QString::number(count)});
    printer.Rule();
}

bool Print(LinePrinter& printer, const std::vector<Person>& rows)
{
    // Every page starts with the header, also a page that a row or the
    // closing lines start because the printable area ends above the break
    // line.
    printer.SetPageStart([&printer] { PrintHeader(printer); });
    if (!printer.Begin())
        return false;
    for (const Person& row : rows) {
        if (printer.failed())
            break;
        if (printer.y() > kLastRowTop)
            printer.NewPage();
        PrintRow(printer, row);
    }
    PrintTotal(printer, static_cast<int>(rows.size()));
    return printer.EndDoc();
}

}  // namespace

platform::Printout ArchiveListing(std::vector<Person> rows, const QDate& today)
{
    return {QStringLiteral("Archivio codici %1.pdf").arg(today.toString(Qt::ISODate)),
            [rows = std::move(rows)](LinePrinter& printer) { return Print(printer, rows); }};
}

platform::FailureMessage ArchivePrintFailure()
{
    return {MessageIcon::Critical, QStringLiteral("Zade: errore"), [](const platform::PrintFailure& failure) {
                return QStringLiteral("Errore nell'esecuzione della stampa.\n ")
                       + QString::number(failure.number) + QStringLiteral(": ") + failure.description;
            }};
}

}  // namespace cf::archive
