#include "startup/json_line.h"

#include "engine/utf8.h"

namespace cf {
namespace {

void AppendJsonString(std::string& out, std::string_view text)
{
    std::string replaced;
    if (!IsValidUtf8(text)) {
        AppendValidUtf8(text, replaced);
        text = replaced;
    }
    out += '"';
    for (char c : text) {
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                static constexpr char kHex[] = "0123456789abcdef";
                out += "\\u00";
                out += kHex[(c >> 4) & 0xF];
                out += kHex[c & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
}

}  // namespace

JsonLine::JsonLine(std::string& out) : out_(out)
{
    out_ += '{';
}

void JsonLine::Name(std::string_view name)
{
    if (!first_)
        out_ += ',';
    first_ = false;
    AppendJsonString(out_, name);
    out_ += ':';
}

JsonLine& JsonLine::Text(std::string_view name, std::string_view value)
{
    Name(name);
    AppendJsonString(out_, value);
    return *this;
}

JsonLine& JsonLine::TextOrNull(std::string_view name, std::string_view value)
{
    if (!value.empty())
        return Text(name, value);
    Name(name);
    out_ += "null";
    return *this;
}

JsonLine& JsonLine::Number(std::string_view name, long long value)
{
    Name(name);
    out_ += std::to_string(value);
    return *this;
}

JsonLine& JsonLine::Boolean(std::string_view name, bool value)
{
    Name(name);
    out_ += value ? "true" : "false";
    return *this;
}

void JsonLine::End()
{
    out_ += "}\n";
}

}  // namespace cf
