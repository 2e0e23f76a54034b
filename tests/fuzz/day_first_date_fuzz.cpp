// SPDX-License-Identifier: MIT
// Reading a day-first date from arbitrary text: whatever it accepts is a real
// date, its long form reads back as the same day, and a two-digit year is
// never in the future.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/code/dates.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    constexpr cf::Date kToday{2026, 12, 8};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto date = cf::ParseDayFirstDate(text, kToday);
    if (!date)
        return 0;
    if (!cf::IsValidDate(date->year, date->month, date->day))
        std::abort();
    if (text.size() - text.find_last_of("/-.") == 3 && cf::DayNumber(*date) > cf::DayNumber(kToday))
        std::abort();
    const auto again = cf::ParseDayFirstDate(cf::FormatLongYearDate(*date), kToday);
    if (!again || again->year != date->year || again->month != date->month || again->day != date->day)
        std::abort();
    return 0;
}
