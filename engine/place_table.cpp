#include "engine/place_table.h"

#include <fstream>

#include "engine/embedded_resources.h"
#include "engine/text_fields.h"

namespace cf {
namespace {

char FoldCase(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldCase(a[i]) != FoldCase(b[i]))
            return false;
    return true;
}

std::string_view Column(const PlaceRow& row, PlaceColumn column)
{
    switch (column) {
    case PlaceColumn::Name: return row.name;
    case PlaceColumn::Code: return row.code;
    case PlaceColumn::Province: return row.province;
    }
    return {};
}

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
        const std::string_view line = NextLine(text);
        if (!line.empty())
            rows.push_back({NthField(line, ",", 1), NthField(line, ",", 2), NthField(line, ",", 3)});
    }
    return rows;
}

std::span<const PlaceRow> EmbeddedPlaces()
{
    static const std::vector<PlaceRow> rows = [] {
        const auto bytes = ResourceBytes(kPlaceTableResource);
        return ParsePlaceTable({reinterpret_cast<const char*>(bytes.data()), bytes.size()});
    }();
    return rows;
}

int FindPlaceRow(std::span<const PlaceRow> rows, PlaceColumn column, std::string_view text)
{
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (EqualIgnoringCase(Column(rows[i], column), text))
            return static_cast<int>(i);
    return -1;
}

std::string_view PlaceCodeForName(std::string_view exactName)
{
    for (const PlaceRow& row : EmbeddedPlaces())
        if (row.name == exactName)
            return row.code;
    return {};
}

std::string_view PlaceNameForCode(std::string_view code)
{
    for (const PlaceRow& row : EmbeddedPlaces())
        if (row.code == code)
            return row.name;
    return {};
}

std::string PlaceCodeFromFile(const std::string& path, std::string_view placeName)
{
    std::ifstream file(path, std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        const std::string_view text = std::string_view(line).substr(0, line.find_first_of(std::string_view("\r\0", 2)));
        if (NthField(text, ",", 1) == placeName)
            return std::string(NthField(text, ",", 2));
    }
    return {};
}

}  // namespace cf
