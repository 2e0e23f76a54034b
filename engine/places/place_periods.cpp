// SPDX-License-Identifier: MIT
#include "engine/places/place_periods.h"

#include "engine/code/dates.h"
#include "engine/text/text_fields.h"

namespace cf {
namespace {

// A day written YYYYMMDD; 0 when the text is no real day.
int ReadDay(std::string_view text)
{
    if (text.size() != 8)
        return 0;
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return 0;
        value = value * 10 + (c - '0');
    }
    const Date date = DateOfDayNumber(value);
    return value == kStillOpen || IsValidDate(date.year, date.month, date.day) ? value : 0;
}

}  // namespace

bool PlacePeriod::HasName(std::string_view name) const
{
    std::string_view rest = names;
    while (!rest.empty()) {
        const std::size_t comma = rest.find(',');
        if (rest.substr(0, comma) == name)
            return true;
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    return false;
}

std::vector<PlacePeriod> ParsePlacePeriods(std::string_view text)
{
    std::vector<PlacePeriod> periods;
    periods.reserve(text.size() / 40);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.empty() || line.front() == '#')
            continue;
        PlacePeriod period;
        period.code = TakeField(line, ',');
        period.firstDay = ReadDay(TakeField(line, ','));
        period.lastDay = ReadDay(TakeField(line, ','));
        period.province = TakeField(line, ',');
        period.names = line;
        if (period.code.size() != 4 || period.firstDay == 0 || period.lastDay < period.firstDay
            || period.province.size() != 2 || period.names.empty() || period.names.front() == ',')
            continue;
        periods.push_back(period);
    }
    return periods;
}

}  // namespace cf
