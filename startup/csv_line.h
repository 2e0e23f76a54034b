// SPDX-License-Identifier: MIT
#pragma once
// Lines of comma-separated fields as RFC 4180 writes them: a field in double
// quotes may hold commas, and "" inside it stands for one double quote.

#include <string>
#include <string_view>
#include <vector>

namespace cf {

// Cuts one line into its fields, unquoting the quoted ones; `fields` is
// reused. Blanks stay part of a field, and a field that does not start with
// a double quote is taken as it stands. False when a quoted field is not
// closed, or its closing quote is followed by anything but a comma.
bool SplitCsvLine(std::string_view line, std::vector<std::string>& fields);

// Appends a field, in double quotes when it holds a comma, a double quote,
// a CR or an LF; bytes that are not valid UTF-8 become U+FFFD.
void AppendCsvField(std::string& out, std::string_view field);

}  // namespace cf
