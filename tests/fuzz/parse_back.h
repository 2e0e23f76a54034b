// SPDX-License-Identifier: MIT
#pragma once
// Readers of what the command line writes for scripts, written apart from
// the program's own, so that a fuzz target can tell whether its output
// parses back: CSV records as RFC 4180 has them and one flat JSON object.

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace cf::fuzz {

using CsvRecord = std::vector<std::string>;

// The records of CSV text whose records each end with a LF (outside double
// quotes); a quoted field may hold commas, CRs, LFs and "" for a quote.
// Nothing when the text is not such CSV.
std::optional<std::vector<CsvRecord>> ReadCsvRecords(std::string_view text);

enum class JsonKind { Text, Number, Boolean, Null };

struct JsonValue {
    JsonKind kind;
    std::string text;  // a text unescaped; a number or boolean as written
};

using JsonObject = std::vector<std::pair<std::string, JsonValue>>;

// One JSON object of texts, integers, booleans and nulls (nothing nested),
// alone on its line; texts must be valid UTF-8 with every control character
// escaped. Nothing when the line is not such an object.
std::optional<JsonObject> ReadJsonObject(std::string_view line);

// The value of a field; nullptr when the object has none.
const JsonValue* FindField(const JsonObject& object, std::string_view name);

// The pieces of the text between the separator bytes.
std::vector<std::string_view> SplitAt(std::string_view text, char separator);

}  // namespace cf::fuzz
