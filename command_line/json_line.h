// SPDX-License-Identifier: MIT
#pragma once
// One JSON object written on one line (JSON Lines), field by field.

#include <string>
#include <string_view>

namespace cf {

class JsonLine {
public:
    // Starts the object at the end of `out`.
    explicit JsonLine(std::string& out);

    // A text field; bytes that are not valid UTF-8 become U+FFFD.
    JsonLine& Text(std::string_view name, std::string_view value);
    // A text field, or null when the value is empty.
    JsonLine& TextOrNull(std::string_view name, std::string_view value);
    JsonLine& Number(std::string_view name, long long value);
    JsonLine& Boolean(std::string_view name, bool value);

    // Closes the object and ends the line.
    void End();

private:
    void Name(std::string_view name);

    std::string& out_;
    bool first_ = true;
};

}  // namespace cf
