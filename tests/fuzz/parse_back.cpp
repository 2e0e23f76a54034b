// SPDX-License-Identifier: MIT
#include "parse_back.h"

#include "engine/text/utf8.h"

namespace cf::fuzz {
namespace {

// Reads a JSON text starting at text[pos] (a double quote) into `out`.
bool ReadJsonText(std::string_view text, std::size_t& pos, std::string& out)
{
    if (pos >= text.size() || text[pos] != '"')
        return false;
    for (++pos; pos < text.size(); ++pos) {
        const char c = text[pos];
        if (c == '"') {
            ++pos;
            return IsValidUtf8(out);
        }
        if (static_cast<unsigned char>(c) < 0x20)
            return false;
        if (c != '\\') {
            out += c;
            continue;
        }
        if (++pos >= text.size())
            return false;
        switch (text[pos]) {
        case '"':
            out += '"';
            break;
        case '\\':
            out += '\\';
            break;
        case '/':
            out += '/';
            break;
        case 'b':
            out += '\b';
            break;
        case 'f':
            out += '\f';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 'u': {
            if (pos + 4 >= text.size())
                return false;
            char32_t code = 0;
            for (int i = 1; i <= 4; ++i) {
                const char h = text[pos + static_cast<std::size_t>(i)];
                const int digit = h >= '0' && h <= '9'   ? h - '0'
                                  : h >= 'a' && h <= 'f' ? h - 'a' + 10
                                  : h >= 'A' && h <= 'F' ? h - 'A' + 10
                                                         : -1;
                if (digit < 0)
                    return false;
                code = code * 16 + static_cast<char32_t>(digit);
            }
            if (code >= 0xD800 && code <= 0xDFFF)
                return false;  // the writers never split a character in two
            AppendUtf8(code, out);
            pos += 4;
            break;
        }
        default:
            return false;
        }
    }
    return false;
}

bool ReadJsonValue(std::string_view text, std::size_t& pos, JsonValue& value)
{
    if (pos < text.size() && text[pos] == '"') {
        value.kind = JsonKind::Text;
        return ReadJsonText(text, pos, value.text);
    }
    for (const auto& [word, kind] : {std::pair{std::string_view("true"), JsonKind::Boolean},
                                     {"false", JsonKind::Boolean},
                                     {"null", JsonKind::Null}}) {
        if (text.substr(pos).starts_with(word)) {
            value = {kind, std::string(word)};
            pos += word.size();
            return true;
        }
    }
    const std::size_t start = pos;
    if (pos < text.size() && text[pos] == '-')
        ++pos;
    const std::size_t digits = pos;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9')
        ++pos;
    if (pos == digits || (text[digits] == '0' && pos - digits > 1))
        return false;
    value = {JsonKind::Number, std::string(text.substr(start, pos - start))};
    return true;
}

}  // namespace

std::optional<std::vector<CsvRecord>> ReadCsvRecords(std::string_view text)
{
    std::vector<CsvRecord> records;
    std::size_t pos = 0;
    while (pos < text.size()) {
        CsvRecord& record = records.emplace_back();
        for (;;) {
            std::string& field = record.emplace_back();
            if (pos < text.size() && text[pos] == '"') {
                for (++pos;; ++pos) {
                    if (pos >= text.size())
                        return std::nullopt;
                    if (text[pos] != '"') {
                        field += text[pos];
                    } else if (pos + 1 < text.size() && text[pos + 1] == '"') {
                        field += '"';
                        ++pos;
                    } else {
                        ++pos;
                        break;
                    }
                }
            } else {
                while (pos < text.size() && text[pos] != ',' && text[pos] != '\n') {
                    if (text[pos] == '"' || text[pos] == '\r')
                        return std::nullopt;  // these go in quotes
                    field += text[pos++];
                }
            }
            if (pos >= text.size())
                return std::nullopt;  // every record ends with a LF
            if (text[pos++] == '\n')
                break;
            if (text[pos - 1] != ',')
                return std::nullopt;
        }
    }
    return records;
}

std::optional<JsonObject> ReadJsonObject(std::string_view line)
{
    JsonObject object;
    std::size_t pos = 0;
    if (line.empty() || line[pos++] != '{')
        return std::nullopt;
    while (pos < line.size() && line[pos] != '}') {
        if (!object.empty() && line[pos++] != ',')
            return std::nullopt;
        auto& [name, value] = object.emplace_back();
        if (!ReadJsonText(line, pos, name) || pos >= line.size() || line[pos++] != ':'
            || !ReadJsonValue(line, pos, value))
            return std::nullopt;
    }
    if (pos + 1 != line.size())
        return std::nullopt;
    return object;
}

const JsonValue* FindField(const JsonObject& object, std::string_view name)
{
    for (const auto& [field, value] : object)
        if (field == name)
            return &value;
    return nullptr;
}

std::vector<std::string_view> SplitAt(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t end = text.find(separator);
        pieces.push_back(text.substr(0, end));
        if (end == std::string_view::npos)
            return pieces;
        text.remove_prefix(end + 1);
    }
}

}  // namespace cf::fuzz
