// SPDX-License-Identifier: MIT
#include "engine/places/place_table.h"

#include "engine/text/text_fields.h"

namespace cf {
namespace {

// Splits off the next line, which ends at CR LF, CR or LF.
std::string_view NextLine(std::string_view& text)
{
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view line = text.substr(0, end);
    if (end == std::string_view::npos) {
        text = {};
    } else {
        const bool crlf = text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n';
        text.remove_prefix(end + (crlf ? 2 : 1));
    }
    return line;
}

}  // namespace

std::vector<PlaceRow> ParsePlaceTable(std::string_view text)
{
    text = text.substr(0, text.find('\0'));
    std::vector<PlaceRow> rows;
    rows.reserve(text.size() / 20);
    while (!text.empty()) {
        std::string_view line = NextLine(text);
        if (line.empty())
            continue;
        PlaceRow row;
        row.name = TakeField(line, ',');
        row.code = TakeField(line, ',');
        row.province = TakeField(line, ',');
        rows.push_back(row);
    }
    return rows;
}

}  // namespace cf
