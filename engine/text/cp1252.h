// SPDX-License-Identifier: MIT
#pragma once
// Conversion between Windows-1252, the code page of the archive file, and
// the UTF-8 texts the program works with.

#include <string>
#include <string_view>

namespace cf {

// The UTF-8 form of Windows-1252 bytes. Every byte has a character: the five
// bytes the code page leaves unassigned (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand
// for the C1 control characters of the same value.
std::string Cp1252ToUtf8(std::string_view bytes);

// Appends the Windows-1252 form of UTF-8 `text` to `out`. Returns false, with
// `out` partly appended, when the text is not valid UTF-8 or holds a
// character the code page cannot represent.
bool AppendUtf8AsCp1252(std::string_view text, std::string& out);

}  // namespace cf
