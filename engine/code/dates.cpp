// SPDX-License-Identifier: MIT
#include "engine/code/dates.h"

#include <ctime>

namespace cf {
namespace {

bool IsLeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

// Reads 1..maxDigits digits at the front of text; -1 when there are none.
int ReadNumber(std::string_view& text, std::size_t maxDigits)
{
    std::size_t length = 0;
    int value = 0;
    while (length < text.size() && length < maxDigits && text[length] >= '0' && text[length] <= '9')
        value = value * 10 + (text[length++] - '0');
    if (length == 0)
        return -1;
    text.remove_prefix(length);
    return value;
}

bool IsSeparator(char c)
{
    return c == '/' || c == '-' || c == '.';
}

// Appends the number with at least `digits` digits, leading zeros first.
void AppendDigits(std::string& text, int number, int digits)
{
    char buffer[12];
    int length = 0;
    do {
        buffer[length++] = static_cast<char>('0' + number % 10);
        number /= 10;
    } while (number > 0 && length < 11);
    while (length < digits)
        buffer[length++] = '0';
    while (length > 0)
        text += buffer[--length];
}

// dd/mm/ and the year with `yearDigits` digits.
std::string Format(const Date& date, int year, int yearDigits)
{
    std::string text;
    AppendDigits(text, date.day, 2);
    text += '/';
    AppendDigits(text, date.month, 2);
    text += '/';
    AppendDigits(text, year, yearDigits);
    return text;
}

}  // namespace

int DaysInMonth(int year, int month)
{
    static constexpr int kDaysInMonth[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return kDaysInMonth[month - 1] + (month == 2 && IsLeapYear(year) ? 1 : 0);
}

bool IsValidDate(int year, int month, int day)
{
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1)
        return false;
    return day <= DaysInMonth(year, month);
}

Date NextDay(const Date& date)
{
    if (date.day < DaysInMonth(date.year, date.month))
        return {date.year, date.month, date.day + 1};
    if (date.month < 12)
        return {date.year, date.month + 1, 1};
    return {date.year + 1, 1, 1};
}

Date PreviousDay(const Date& date)
{
    if (date.day > 1)
        return {date.year, date.month, date.day - 1};
    if (date.month > 1)
        return {date.year, date.month - 1, DaysInMonth(date.year, date.month - 1)};
    return {date.year - 1, 12, 31};
}

Date Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

int FullYearOfTwoDigits(int twoDigits, int month, int day, const Date& today)
{
    // The latest year up to this one that ends in the two digits.
    int year = today.year - ((today.year - twoDigits) % 100 + 100) % 100;
    if (DayNumber({year, month, day}) > DayNumber(today))
        year -= 100;
    return year;
}

std::optional<Date> ParseDayFirstDate(std::string_view text, const Date& today)
{
    const int day = ReadNumber(text, 2);
    if (day < 0 || text.empty() || !IsSeparator(text.front()))
        return std::nullopt;
    const char separator = text.front();
    text.remove_prefix(1);
    const int month = ReadNumber(text, 2);
    if (month < 0 || text.empty() || text.front() != separator)
        return std::nullopt;
    text.remove_prefix(1);
    const std::size_t yearDigits = text.size();
    int year = ReadNumber(text, 4);
    if (year < 0 || !text.empty() || (yearDigits != 2 && yearDigits != 4))
        return std::nullopt;
    if (yearDigits == 2)
        year = FullYearOfTwoDigits(year, month, day, today);
    if (!IsValidDate(year, month, day))
        return std::nullopt;
    return Date{year, month, day};
}

std::string FormatShortDate(const Date& date)
{
    return Format(date, date.year % 100, 2);
}

std::string FormatLongYearDate(const Date& date)
{
    return Format(date, date.year, 4);
}

}  // namespace cf
