#pragma once
// Walking the letters of a UTF-8 text: ASCII letters in either case and the
// accented Latin letters, each as its upper-case base letter (È as E, Ü as U,
// ß as SS). Every other character is skipped.

#include <string_view>

namespace cf {

// Calls visit(char) with each base letter, in order.
template <typename Visit>
void ForEachBaseLetter(std::string_view text, Visit&& visit);

// Base letters of the code point, "" when it is no letter.
std::string_view BaseLettersOf(char32_t codePoint);

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
        // Two-byte sequences cover every accented Latin letter we fold;
        // longer sequences and stray bytes are skipped whole.
        std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
        if (length == 2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if ((next & 0xC0) == 0x80)
                for (char letter : BaseLettersOf(static_cast<char32_t>(((lead & 0x1F) << 6) | (next & 0x3F))))
                    visit(letter);
        }
        i += length;
    }
}

}  // namespace cf
