// SPDX-License-Identifier: MIT
#include "command_line/csv_line.h"

#include <algorithm>

#include "engine/text/utf8.h"

namespace cf {

CsvRecord SplitCsvLine(std::string_view record, std::vector<std::string>& fields)
{
    fields.clear();
    std::size_t pos = 0;
    for (;;) {
        std::string& field = fields.emplace_back();
        if (pos < record.size() && record[pos] == '"') {
            ++pos;
            for (;;) {
                const std::size_t quote = record.find('"', pos);
                if (quote == std::string_view::npos)
                    return CsvRecord::Open;
                field.append(record.substr(pos, quote - pos));
                pos = quote + 1;
                if (pos < record.size() && record[pos] == '"') {
                    field += '"';
                    ++pos;
                    continue;
                }
                break;
            }
            if (pos == record.size())
                return CsvRecord::Complete;
            if (record[pos] != ',')
                return CsvRecord::Malformed;
            ++pos;
            continue;
        }
        const std::size_t comma = record.find(',', pos);
        field.assign(
            record.substr(pos, comma == std::string_view::npos ? std::string_view::npos : comma - pos));
        if (comma == std::string_view::npos)
            return CsvRecord::Complete;
        pos = comma + 1;
    }
}

void AppendCsvField(std::string& out, std::string_view field)
{
    const bool quoted = std::any_of(field.begin(), field.end(),
                                    [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
    if (!quoted) {
        AppendValidUtf8(field, out);
        return;
    }
    out += '"';
    for (std::size_t start = 0;;) {
        const std::size_t quote = field.find('"', start);
        AppendValidUtf8(
            field.substr(start, quote == std::string_view::npos ? std::string_view::npos : quote - start),
            out);
        if (quote == std::string_view::npos)
            break;
        out += "\"\"";
        start = quote + 1;
    }
    out += '"';
}

}  // namespace cf
