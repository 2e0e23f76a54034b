// SPDX-License-Identifier: MIT
#include "command_line/csv_table.h"

#include "command_line/csv_line.h"

namespace cf {

std::vector<TableRow> ReadCsvTable(std::string_view text)
{
    if (text.starts_with("\xEF\xBB\xBF"))
        text.remove_prefix(3);
    std::vector<TableRow> rows;
    std::string record;
    std::size_t lineNumber = 0;
    std::size_t recordStart = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.ends_with('\r'))
            line.remove_suffix(1);
        ++lineNumber;
        if (record.empty() && recordStart == 0) {
            if (line.empty())
                continue;
            recordStart = lineNumber;
        } else {
            record += '\n';  // a line break inside a quoted field
        }
        record += line;
        TableRow row{recordStart, {}, {}};
        switch (SplitCsvLine(record, row.cells)) {
        case CsvRecord::Open:
            continue;
        case CsvRecord::Malformed:
            row.cells.clear();
            row.problem = "Virgolette non corrette nella riga.";
            break;
        case CsvRecord::Complete:
            break;
        }
        rows.push_back(std::move(row));
        record.clear();
        recordStart = 0;
    }
    if (recordStart != 0)
        rows.push_back({recordStart, {}, "Virgolette aperte e mai chiuse fino alla fine del file."});
    return rows;
}

std::string CsvTableText(const std::vector<std::vector<std::string>>& rows)
{
    std::string text;
    for (const auto& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (i > 0)
                text += ',';
            AppendCsvField(text, row[i]);
        }
        text += "\r\n";
    }
    return text;
}

}  // namespace cf
