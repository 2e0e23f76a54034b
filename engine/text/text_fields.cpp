// SPDX-License-Identifier: MIT
#include "engine/text/text_fields.h"

namespace cf {

std::string_view NthField(std::string_view text, std::string_view delimiter, int n)
{
    if (n < 1 || delimiter.empty())
        return n == 1 ? text : std::string_view{};
    std::size_t start = 0;
    for (int i = 1; i < n; ++i) {
        const std::size_t found = text.find(delimiter, start);
        if (found == std::string_view::npos)
            return {};
        start = found + delimiter.size();
    }
    const std::size_t end = text.find(delimiter, start);
    return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

std::string_view TakeField(std::string_view& text, char delimiter)
{
    const std::size_t end = text.find(delimiter);
    const std::string_view field = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    return field;
}

}  // namespace cf
