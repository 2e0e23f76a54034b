// SPDX-License-Identifier: MIT
#pragma once
// Reading and writing UTF-8, the encoding of every text the program works
// with.

#include <string>
#include <string_view>

namespace cf {

inline constexpr char32_t kInvalidCharacter = static_cast<char32_t>(-1);

// Decodes the character starting at text[pos] (pos < text.size()) and
// advances pos past it; kInvalidCharacter for a malformed sequence
// (overlong, surrogate, truncated, beyond U+10FFFF), with pos past its
// first byte.
char32_t NextUtf8Character(std::string_view text, std::size_t& pos);

// Whether the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

// Appends the text with each malformed sequence replaced by U+FFFD.
void AppendValidUtf8(std::string_view text, std::string& out);

// Appends the UTF-8 form of a character of the Basic Multilingual Plane.
void AppendUtf8(char32_t character, std::string& out);

}  // namespace cf
