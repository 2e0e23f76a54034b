// SPDX-License-Identifier: MIT
#include "engine/text/cp1252.h"

#include <array>
#include <cstdint>

#include "engine/text/utf8.h"

namespace cf {
namespace {

// Characters of bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr std::array<char32_t, 32> kHighCharacters = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
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
        const int byte = ByteOfCharacter(NextUtf8Character(text, pos));
        if (byte < 0)
            return false;
        out.push_back(static_cast<char>(byte));
    }
    return true;
}

}  // namespace cf
