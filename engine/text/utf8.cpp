// SPDX-License-Identifier: MIT
#include "engine/text/utf8.h"

namespace cf {

char32_t NextUtf8Character(std::string_view text, std::size_t& pos)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80)
        return lead;
    int length;
    char32_t character;
    char32_t minimum;
    if ((lead & 0xE0) == 0xC0) {
        length = 1, character = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2, character = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3, character = lead & 0x07, minimum = 0x10000;
    } else {
        return kInvalidCharacter;
    }
    for (int i = 0; i < length; ++i) {
        if (pos >= text.size())
            return kInvalidCharacter;
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80)
            return kInvalidCharacter;
        character = (character << 6) | (next & 0x3F);
        ++pos;
    }
    if (character < minimum || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF))
        return kInvalidCharacter;
    return character;
}

bool IsValidUtf8(std::string_view text)
{
    for (std::size_t pos = 0; pos < text.size();) {
        if (static_cast<unsigned char>(text[pos]) < 0x80)
            ++pos;
        else if (NextUtf8Character(text, pos) == kInvalidCharacter)
            return false;
    }
    return true;
}

void AppendValidUtf8(std::string_view text, std::string& out)
{
    if (IsValidUtf8(text)) {
        out.append(text);
        return;
    }
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t start = pos;
        if (NextUtf8Character(text, pos) == kInvalidCharacter)
            out += "\xEF\xBF\xBD";
        else
            out.append(text.substr(start, pos - start));
    }
}

void AppendUtf8(char32_t character, std::string& out)
{
    if (character < 0x80) {
        out.push_back(static_cast<char>(character));
    } else if (character < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (character >> 6)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (character >> 12)));
        out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    }
}

}  // namespace cf
