// SPDX-License-Identifier: MIT
#include "engine/code/homocodes.h"

#include <array>

namespace cf {
namespace {

// Positions of the seven digits, from the rightmost to the leftmost: the
// place's three digits, the day, the year.
constexpr std::array<int, 7> kDigitPositions = {14, 13, 12, 10, 9, 7, 6};

// The sets of replaced digits in their order, as bit masks (bit 0 for the
// rightmost digit).
constexpr std::array<unsigned, kHomocodeCount> MakeOrder()
{
    std::array<unsigned, kHomocodeCount> order{};
    std::size_t next = 0;
    for (unsigned count = 1; count <= 7; ++count)
        order[next++] = (1u << count) - 1;
    for (unsigned mask = 1; mask < 128; ++mask)
        if ((mask & (mask + 1)) != 0)  // not all of the rightmost digits
            order[next++] = mask;
    return order;
}

constexpr std::array<unsigned, kHomocodeCount> kOrder = MakeOrder();

}  // namespace

std::optional<FiscalCode> OriginalCode(std::string_view code)
{
    if (code.size() != 16)
        return std::nullopt;
    FiscalCode original;
    for (std::size_t i = 0; i < 16; ++i)
        original.chars[i] = code[i];
    for (int position : kDigitPositions) {
        const int digit = HomocodeDigitValue(code[static_cast<std::size_t>(position)]);
        if (digit < 0)
            return std::nullopt;
        original.chars[static_cast<std::size_t>(position)] = static_cast<char>('0' + digit);
    }
    original.chars[15] = CheckCharacter(original.view().substr(0, 15));
    return original;
}

FiscalCode Homocode(const FiscalCode& original, int index)
{
    FiscalCode homocode = original;
    const unsigned mask = kOrder[static_cast<std::size_t>(index)];
    for (std::size_t bit = 0; bit < kDigitPositions.size(); ++bit) {
        if ((mask & (1u << bit)) == 0)
            continue;
        char& c = homocode.chars[static_cast<std::size_t>(kDigitPositions[bit])];
        c = kHomocodeLetters[static_cast<std::size_t>(c - '0')];
    }
    homocode.chars[15] = CheckCharacter(homocode.view().substr(0, 15));
    return homocode;
}

}  // namespace cf
