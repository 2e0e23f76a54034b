// SPDX-License-Identifier: MIT
#include "command_line/json_line.h"

#include "engine/text/utf8.h"

namespace cf {
namespace {

// The escape of a character JSON does not take as it stands; empty for
// the others.
std::string_view EscapeOf(char c, char (&control)[7])
{
    switch (c) {
    case '"':
        return "\\\"";
    case '\\':
        return "\\\\";
    case '\n':
        return "\\n";
    case '\r':
        return "\\r";
    case '\t':
        return "\\t";
    default:
        break;
    }
    if (static_cast<unsigned char>(c) >= 0x20)
        return {};
    static constexpr char kHex[] = "0123456789abcdef";
    control[0] = '\\', control[1] = 'u', control[2] = '0', control[3] = '0';
    control[4] = kHex[(c >> 4) & 0xF], control[5] = kHex[c & 0xF];
    return {control, 6};
}

void AppendJsonString(std::string& out, std::string_view text)
{
    std::string replaced;
    if (!IsValidUtf8(text)) {
        AppendValidUtf8(text, replaced);
        text = replaced;
    }
    out += '"';
    std::size_t plain = 0;  // start of the characters not yet appended
    for (std::size_t i = 0; i < text.size(); ++i) {
        char control[7];
        const std::string_view escape = EscapeOf(text[i], control);
        if (escape.empty())
            continue;
        out.append(text.substr(plain, i - plain));
        out.append(escape);
        plain = i + 1;
    }
    out.append(text.substr(plain));
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
