// SPDX-License-Identifier: MIT
#pragma once
// Helpers for delimited texts: the command line, the place table lines and
// the archive lines.

#include <string_view>

namespace cf {

// The n-th field (from 1) of a delimited text; empty for n < 1 or when the
// text holds fewer than n - 1 delimiters.
std::string_view NthField(std::string_view text, std::string_view delimiter, int n);

// Splits off the next field of a text read field by field: the text up to
// the delimiter (all of it when there is none), which leaves `text` after
// the delimiter.
std::string_view TakeField(std::string_view& text, char delimiter);

}  // namespace cf
