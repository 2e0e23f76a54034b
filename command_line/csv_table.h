// SPDX-License-Identifier: MIT
#pragma once
// Whole CSV files as tables of text cells: UTF-8, records as RFC 4180 writes
// them (quoted fields may hold commas, double quotes and line breaks), CR LF
// or LF line ends on reading, CR LF on writing.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace cf {

// One row of a table read from a file, numbered as the user sees it: the
// line a CSV record starts on, or a sheet's row number. A row that could not
// be read carries the reason in `problem` and no cells.
struct TableRow {
    std::size_t number = 0;
    std::vector<std::string> cells;
    std::string problem;
};

// The records of a CSV text; a UTF-8 byte order mark at the start is dropped,
// empty lines give no row. A record whose quotes are broken, or still open at
// the end of the text, is a row with its problem.
std::vector<TableRow> ReadCsvTable(std::string_view text);

// The rows as a CSV text, each record ended by CR LF.
std::string CsvTableText(const std::vector<std::vector<std::string>>& rows);

}  // namespace cf
