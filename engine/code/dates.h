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

// Today's date in the local time zone.
Date Today();

// The one rule for a year written with two digits (00-99): the latest year
// ending in them in which the day and month are not after today, whole
// dates compared. On 1 January 2027, 15/06/27 is 1927 and 01/01/27 is 2027.
int FullYearOfTwoDigits(int twoDigits, int month, int day, const Date& today);

// Reads a date day first: a one- or two-digit day and month and a two- or
// four-digit year separated by '/', '-' or '.', with no other characters.
// A two-digit year is read by FullYearOfTwoDigits. Impossible dates
// (31/02) give nothing.
std::optional<Date> ParseDayFirstDate(std::string_view text, const Date& today);

// dd/mm/yy
std::string FormatShortDate(const Date& date);

// dd/mm/yyyy
std::string FormatLongYearDate(const Date& date);

}  // namespace cf
