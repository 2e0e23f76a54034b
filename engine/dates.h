// SPDX-License-Identifier: MIT
#pragma once
// Calendar dates as the program reads and writes them.

#include <optional>
#include <string>
#include <string_view>

namespace cf {

struct Date {
    int year;
    int month;
    int day;
};

bool IsValidDate(int year, int month, int day);

// The days of a month (1-12) of a year.
int DaysInMonth(int year, int month);

// A date as the number yyyymmdd, which orders dates as the calendar does.
inline constexpr int DayNumber(const Date& date)
{
    return date.year * 10000 + date.month * 100 + date.day;
}
inline constexpr Date DateOfDayNumber(int day)
{
    return {day / 10000, day / 100 % 100, day % 100};
}

Date NextDay(const Date& date);
Date PreviousDay(const Date& date);

// A two-digit year read by the usual rule: 00-29 as 2000-2029, 30-99 as
// 1930-1999.
int ExpandTwoDigitYear(int twoDigits);

// Reads a date day first: a one- or two-digit day and month and a two- or
// four-digit year separated by '/', '-' or '.', with no other characters.
// Impossible dates (31/02) give nothing.
std::optional<Date> ParseDayFirstDate(std::string_view text);

// dd/mm/yy
std::string FormatShortDate(const Date& date);

// dd/mm/yyyy
std::string FormatLongYearDate(const Date& date);

}  // namespace cf
