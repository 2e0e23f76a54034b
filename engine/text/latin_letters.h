// SPDX-License-Identifier: MIT
#pragma once
// Walking the letters of a UTF-8 text: ASCII letters in either case and the
// other Latin letters, each as its upper-case base letters (È as E, Ș as S,
// Ł as L, ß as SS). Every other character is skipped, and so is every byte
// of a malformed sequence.

#include <string>
#include <string_view>

#include "engine/text/utf8.h"

namespace cf {

// Base letters of the code point, "" when it is no Latin letter.
std::string_view BaseLettersOf(char32_t codePoint);

// Calls visit(char) with each base letter, in order.
template <typename Visit>
void ForEachBaseLetter(std::string_view text, Visit&& visit)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if (lead >= 'a' && lead <= 'z')
                visit(static_cast<char>(lead - 'a' + 'A'));
            else if (lead >= 'A' && lead <= 'Z')
                visit(static_cast<char>(lead));
            ++i;
            continue;
        }
        const char32_t character = NextUtf8Character(text, i);
        if (character != kInvalidCharacter)
            for (char letter : BaseLettersOf(character))
                visit(letter);
    }
}

// Appends the text as searches compare it: every Latin letter as its
// upper-case base letters, the other printable ASCII characters as they
// are; every other character is left out.
void AppendFoldedText(std::string_view text, std::string& out);

}  // namespace cf
