// SPDX-License-Identifier: MIT
#include "engine/text/latin_letters.h"

#include <algorithm>

#include "engine/text/latin_letter_table.h"

namespace cf {

std::string_view BaseLettersOf(char32_t codePoint)
{
    const std::span<const LatinLetter> table = LatinLetterTable();
    const auto found =
        std::lower_bound(table.begin(), table.end(), codePoint,
                         [](const LatinLetter& entry, char32_t c) { return entry.codePoint < c; });
    if (found == table.end() || found->codePoint != codePoint)
        return {};
    return found->letters;
}

void AppendFoldedText(std::string_view text, std::string& out)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        if (lead < 0x80) {
            if (lead >= 'a' && lead <= 'z')
                out += static_cast<char>(lead - 'a' + 'A');
            else if (lead >= 0x20 && lead < 0x7F)
                out += static_cast<char>(lead);
            ++i;
            continue;
        }
        const char32_t character = NextUtf8Character(text, i);
        if (character != kInvalidCharacter)
            out += BaseLettersOf(character);
    }
}

}  // namespace cf
