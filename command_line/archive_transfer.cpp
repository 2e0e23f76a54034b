// SPDX-License-Identifier: MIT
#include "command_line/archive_transfer.h"

#include <algorithm>

#include "command_line/command_line.h"
#include "command_line/upper_case.h"
#include "engine/code/homocodes.h"
#include "engine/code/verification.h"
#include "engine/places/place_catalog.h"
#include "engine/storage/archive_file.h"

namespace cf {
namespace {

constexpr char kCodeMismatch[] = "Il codice fiscale non corrisponde ai dati della persona.";
constexpr char kWrongProvince[] = "La provincia non corrisponde al luogo di nascita.";

enum Column { kSurname, kFirstName, kCode, kSex, kDate, kPlace, kProvince };

bool IsHeader(const TableRow& row)
{
    return !row.cells.empty() && UpperCase(row.cells[kSurname]) == "COGNOME";
}

bool IsBlank(const TableRow& row)
{
    return std::all_of(row.cells.begin(), row.cells.end(),
                       [](const std::string& cell) { return cell.empty(); });
}

// The person of a row, or the reason it is refused.
std::string CheckRow(std::vector<std::string> cells, const Date& today, Person& person)
{
    cells.resize(kArchiveFieldCount);
    const std::string province = UpperCase(cells[kProvince]);
    const auto compute = [&](const std::string& place) {
        return ComputePersonCode({cells[kSurname], cells[kFirstName], cells[kDate], cells[kSex], place},
                                 today);
    };
    const PlaceCatalog& places = PlaceCatalog::Embedded();
    PersonCode computed = compute(cells[kPlace]);
    // A province other than the place's picks a namesake of the name in it
    // (CASTRO of Lecce rather than of Bergamo), when there is one.
    if (computed.code && !province.empty() && places.Row(computed.placeRow).province != province) {
        computed = compute(cells[kPlace] + " (" + province + ")");
        if (!computed.code)
            return kWrongProvince;
    }
    if (!computed.code)
        return computed.refusal;

    std::string code = UpperCase(cells[kCode]);
    if (code.empty()) {
        code = computed.code->str();
    } else {
        if (const CodeRule rule = FirstBrokenRule(code); rule != CodeRule::None)
            return std::string(BrokenRuleText(rule));
        // The code computed, or one of its homocodes.
        const std::optional<FiscalCode> original = OriginalCode(code);
        if (!original || original->view() != computed.code->view())
            return kCodeMismatch;
    }
    const PlaceRow& row = places.Row(computed.placeRow);
    person = {UpperCase(cells[kSurname]),
              UpperCase(cells[kFirstName]),
              UpperCase(cells[kSex]),
              computed.birthDate,
              std::string(row.name),
              std::string(row.province),
              code};
    return ArchiveFieldProblem(person);
}

}  // namespace

std::vector<std::vector<std::string>> ArchiveTable(const LoadedArchive& archive)
{
    std::vector<std::vector<std::string>> table;
    table.reserve(archive.size() + 1);
    table.emplace_back(kTableColumns.begin(), kTableColumns.end());
    for (std::size_t row = 0; row < archive.size(); ++row) {
        auto& cells = table.emplace_back();
        for (int column = 0; column < kArchiveFieldCount; ++column)
            cells.push_back(archive.field(row, column));
    }
    return table;
}

CheckedRows CheckImportedRows(const std::vector<TableRow>& rows, const Date& today)
{
    CheckedRows checked;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TableRow& row = rows[i];
        if (!row.problem.empty()) {
            checked.refusals.push_back({row.number, row.problem});
            continue;
        }
        if ((i == 0 && IsHeader(row)) || IsBlank(row))
            continue;
        Person person;
        if (std::string refusal = CheckRow(row.cells, today, person); !refusal.empty())
            checked.refusals.push_back({row.number, std::move(refusal)});
        else
            checked.persons.push_back(std::move(person));
    }
    return checked;
}

std::string RefusalList(const std::vector<RowRefusal>& refusals)
{
    std::string list;
    for (const RowRefusal& refusal : refusals)
        list += "Riga " + std::to_string(refusal.row) + ": " + refusal.reason + "\n";
    return list;
}

}  // namespace cf
