// SPDX-License-Identifier: MIT
#pragma once
// The archive as a table of seven columns, for export to a CSV file or a
// sheet, and persons imported from such a table: every row is checked as a
// person typed in the generation window or given on the command line, its
// code computed when the cell is empty or compared when it is not; the rows
// that pass are appended to the archive in one write, the others are listed
// with their reason and nothing of them is written.

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "command_line/csv_table.h"
#include "engine/code/dates.h"
#include "engine/code/person.h"
#include "engine/storage/loaded_archive.h"

namespace cf {

// The header of an exported table: the archive's fields in its order.
inline constexpr std::array<std::string_view, kArchiveFieldCount> kTableColumns = {
    "Cognome", "Nome", "Codice fiscale", "Sesso", "Data di nascita", "Luogo di nascita", "Provincia"};

// The header, then one row per person in display order.
std::vector<std::vector<std::string>> ArchiveTable(const LoadedArchive& archive);

// A row the import refused: its number and why.
struct RowRefusal {
    std::size_t row = 0;
    std::string reason;
};

struct CheckedRows {
    std::vector<Person> persons;  // the rows that passed, as the archive keeps them
    std::vector<RowRefusal> refusals;
};

// Checks the rows of an imported table. A first row whose first cell is
// "Cognome" (in any case) is the header and is skipped, as are rows with every
// cell empty. The cells are taken in the order of kTableColumns; the province
// may be empty, and when given picks the place among its namesakes.
CheckedRows CheckImportedRows(const std::vector<TableRow>& rows, const Date& today);

// The message listing refused rows, one line each: "Riga N: REASON".
std::string RefusalList(const std::vector<RowRefusal>& refusals);

}  // namespace cf
