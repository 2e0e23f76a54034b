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

}  // namespace cf
