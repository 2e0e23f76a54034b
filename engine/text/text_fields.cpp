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

std::string GetField(std::string_view text, std::string_view separator, int first, int last)
{
    if (text.empty() || separator.empty())
        return {};
    first = first < 1 ? 1 : first;
    last = last < first ? first : last;
    if (text.find(separator) == std::string_view::npos)
        return std::string(text);

    std::size_t start = 0;
    for (int i = 1; i < first; ++i) {
        const std::size_t found = text.find(separator, start);
        if (found == std::string_view::npos)
            return {};
        start = found + separator.size();
    }
    std::size_t end = start;
    for (int i = first; i <= last; ++i) {
        const std::size_t found = text.find(separator, end);
        if (found == std::string_view::npos)
            return std::string(text.substr(start));
        end = i == last ? found : found + separator.size();
    }
    return std::string(text.substr(start, end - start));
}

std::string ReplaceText(std::string_view text, std::string_view find, std::string_view replacement)
{
    if (find.empty())
        return std::string(text);
    std::string result;
    result.reserve(text.size());
    std::size_t start = 0;
    for (std::size_t found; (found = text.find(find, start)) != std::string_view::npos;
         start = found + find.size()) {
        result.append(text.substr(start, found - start));
        result.append(replacement);
    }
    result.append(text.substr(start));
    return result;
}

}  // namespace cf
