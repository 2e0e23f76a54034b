// SPDX-License-Identifier: MIT
#pragma once
// OpenDocument spreadsheets (.ods), which LibreOffice and Excel open: one
// sheet of text cells written, the first sheet of any such file read. The
// file is a zip (QuaZip) holding content.xml, read and written with Qt's
// XML stream classes.

#include <string>
#include <vector>

#include "command_line/csv_table.h"

namespace cf {

// Writes the rows as the one sheet of a new file at `path`, every cell a
// text cell, through a temporary file that takes the path's place only once
// complete. False, with the reason in `error`, when it cannot.
bool WriteOdsSheet(const std::string& path, const std::vector<std::vector<std::string>>& rows,
                   std::string& error);

// The rows of the file's first sheet, numbered as the sheet numbers them;
// empty rows give none, trailing empty cells are dropped. A cell holding a
// date gives it as dd/mm/yyyy; any other its text as shown, paragraphs
// joined by line breaks. False, with the reason in `error`, when the file
// is no spreadsheet that can be read.
bool ReadOdsSheet(const std::string& path, std::vector<TableRow>& rows, std::string& error);

}  // namespace cf
