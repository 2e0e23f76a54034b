// SPDX-License-Identifier: MIT
#pragma once
// Helpers for delimited texts: the command line, the place table lines and
// the archive lines.

#include <string>
#include <string_view>

namespace cf {

// The n-th field (from 1) of a delimited text; empty for n < 1 or when the
// text holds fewer than n - 1 delimiters.
std::string_view NthField(std::string_view text, std::string_view delimiter, int n);

// Splits off the next field of a text read field by field: the text up to
// the delimiter (all of it when there is none), which leaves `text` after
// the delimiter.
std::string_view TakeField(std::string_view& text, char delimiter);

// Fields first..last of a separated text, separators between them included.
// An index below 1 counts as 1; a text without the separator is its own
// every field; an empty text or separator gives the empty text.
std::string GetField(std::string_view text, std::string_view separator, int first, int last);

// The text with every occurrence of find replaced, scanning left to right
// without overlaps.
std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement);

}  // namespace cf
