#include "engine/latin_letters.h"

namespace cf {

std::string_view BaseLettersOf(char32_t codePoint)
{
    // One entry per code point from U+00C0 to U+017F: the base letter, '-'
    // for no letter, or a digit standing for a pair of letters.
    static constexpr std::string_view kBase =
        "AAAAAA1CEEEEIIIIDNOOOOO-OUUUUY-2"
        "AAAAAA1CEEEEIIIIDNOOOOO-OUUUUY-Y"
        "AAAAAACCCCCCCCDDDDEEEEEEEEEEGGGGGGGGHHHHIIIIIIIIII33JJKKK"
        "LLLLLLLLLLNNNNNNNNNOOOOOO44RRRRRRSSSSSSSSTTTTTTUUUUUUUUUUUUWWYYYZZZZZZS";
    static constexpr std::string_view kPairs[] = {"AE", "SS", "IJ", "OE"};
    static_assert(kBase.size() == 0x180 - 0xC0);

    if (codePoint < 0xC0 || codePoint >= 0x180)
        return {};
    const char entry = kBase[codePoint - 0xC0];
    if (entry == '-')
        return {};
    if (entry >= '1' && entry <= '4')
        return kPairs[entry - '1'];
    return {&kBase[codePoint - 0xC0], 1};
}

}  // namespace cf
