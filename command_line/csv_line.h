// SPDX-License-Identifier: MIT
#pragma once
// Records of comma-separated fields as RFC 4180 writes them: a field in
// double quotes may hold commas and line breaks, and "" inside it stands for
// one double quote.

#include <string>
#include <string_view>
#include <vector>

namespace cf {

enum class CsvRecord {
    Complete,
    Open,       // a quoted field is still open at the end: the record goes on
                // on the next line
    Malformed,  // a closing quote followed by anything but a comma
};

// Cuts one record into its fields, unquoting the quoted ones; `fields` is
// reused. Blanks stay part of a field, and a field that does not start with
// a double quote is taken as it stands.
CsvRecord SplitCsvLine(std::string_view record, std::vector<std::string>& fields);

// Appends a field, in double quotes when it holds a comma, a double quote,
// a CR or an LF; bytes that are not valid UTF-8 become U+FFFD.
void AppendCsvField(std::string& out, std::string_view field);

}  // namespace cf
