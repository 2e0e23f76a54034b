// SPDX-License-Identifier: MIT
// Reading a day-first date from arbitrary text: whatever it accepts is a real
// date, and its short form reads back as the same day.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/dates.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto date = cf::ParseDayFirstDate(text);
    if (!date)
        return 0;
    if (!cf::IsValidDate(date->year, date->month, date->day))
        std::abort();
    const auto again = cf::ParseDayFirstDate(cf::FormatLongYearDate(*date));
    if (!again || again->year != date->year || again->month != date->month || again->day != date->day)
        std::abort();
    return 0;
}
