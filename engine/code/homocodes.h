// SPDX-License-Identifier: MIT
#pragma once
// Homocodes: when two persons would get the same codice fiscale, the tax
// office tells them apart by writing digits of the code as letters (L M N P
// Q R S T U V for 0-9), from the rightmost digit leftwards, with the check
// character computed again.

#include <array>
#include <optional>
#include <string_view>

#include "engine/code/code_computation.h"

namespace cf {

// The letters standing for the digits 0-9.
inline constexpr std::string_view kHomocodeLetters = "LMNPQRSTUV";

// The digit each byte stands for as a digit or a homocode letter, -1 for
// none: a table, as every check of a code reads it.
inline constexpr std::array<signed char, 256> kHomocodeDigitValues = [] {
    std::array<signed char, 256> values{};
    values.fill(-1);
    for (std::size_t digit = 0; digit < 10; ++digit) {
        values['0' + digit] = static_cast<signed char>(digit);
        values[static_cast<unsigned char>(kHomocodeLetters[digit])] = static_cast<signed char>(digit);
    }
    return values;
}();

// The digit a digit or a homocode letter stands for; -1 for any other
// character.
inline int HomocodeDigitValue(char c)
{
    return kHomocodeDigitValues[static_cast<unsigned char>(c)];
}

// Every homocode of a code: one for each non-empty set of its seven digits.
inline constexpr int kHomocodeCount = 127;

// The code of which a codice fiscale (upper case, 16 characters) is a
// homocode, or the code itself: homocode letters in the seven digit
// positions read back as digits, check character computed again. Nothing
// when a digit position holds neither a digit nor a homocode letter.
std::optional<FiscalCode> OriginalCode(std::string_view code);

// The index-th homocode (0 to 126) of an original code. The first seven are
// those the tax office assigns in turn: the rightmost digit replaced, then
// the two rightmost, and so on up to all seven. The other 120 follow in
// binary counting order of the set of replaced digits, the rightmost digit
// being the lowest bit: the second rightmost alone, the third alone, the
// first and third, the second and third, the fourth alone, ...
FiscalCode Homocode(const FiscalCode& original, int index);

}  // namespace cf
