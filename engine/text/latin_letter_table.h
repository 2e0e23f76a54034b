// SPDX-License-Identifier: MIT
#pragma once
// The table of the Latin letters beyond ASCII with their upper-case base
// letters (È: E, Ł: L, ß: SS), ordered by code point. Generated from the
// Unicode database by tools/build_latin_letters.py.

#include <span>

namespace cf {

struct LatinLetter {
    char32_t codePoint;
    char letters[4];  // one to three letters, NUL-terminated
};

std::span<const LatinLetter> LatinLetterTable();

}  // namespace cf
