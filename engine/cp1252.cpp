#include "engine/cp1252.h"

#include <array>
#include <cstdint>

namespace cf {
namespace {

// Characters of bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CharacterOfByte(unsigned char byte)
{
    return byte >= 0x80 && byte < 0xA0 ? kHighCharacters[byte - 0x80] : byte;
}

// The byte of `character`, or -1 when the code page has none.
int ByteOfCharacter(char32_t character)
{
    if (character < 0x80 || (character >= 0xA0 && character <= 0xFF))
        return static_cast<int>(character);
    for (std::size_t i = 0; i < kHighCharacters.size(); ++i)
        if (kHighCharacters[i] == character)
            return static_cast<int>(0x80 + i);
    return -1;
}

void AppendUtf8(char32_t character, std::string& out)
{
    if (character < 0x80) {
        out.push_back(static_cast<char>(character));
    } else if (character < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (character >> 6)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    } else {
        // The code page holds nothing beyond the Basic Multilingual Plane.
        out.push_back(static_cast<char>(0xE0 | (character >> 12)));
        out.push_back(static_cast<char>(0x80 | ((character >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (character & 0x3F)));
    }
}

// Decodes the character starting at text[pos] and advances pos; returns
// char32_t(-1) for a malformed sequence (overlong, surrogate, truncated,
// beyond U+10FFFF).
char32_t NextCharacter(std::string_view text, std::size_t& pos)
{
    constexpr char32_t kInvalid = static_cast<char32_t>(-1);
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
        return kInvalid;
    }
    for (int i = 0; i < length; ++i) {
        if (pos >= text.size())
            return kInvalid;
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80)
            return kInvalid;
        character = (character << 6) | (next & 0x3F);
        ++pos;
    }
    if (character < minimum || character > 0x10FFFF || (character >= 0xD800 && character <= 0xDFFF))
        return kInvalid;
    return character;
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    std::size_t start = 0;
    while (start < bytes.size()) {
        // Runs of ASCII go across whole.
        std::size_t end = start;
        while (end < bytes.size() && static_cast<unsigned char>(bytes[end]) < 0x80)
            ++end;
        out.append(bytes, start, end - start);
        if (end == bytes.size())
            break;
        AppendUtf8(CharacterOfByte(static_cast<unsigned char>(bytes[end])), out);
        start = end + 1;
    }
    return out;
}

bool AppendUtf8AsCp1252(std::string_view text, std::string& out)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        const int byte = ByteOfCharacter(NextCharacter(text, pos));
        if (byte < 0)
            return false;
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

}  // namespace cf
