// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "engine/code/dates.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

std::string Read(std::string_view text, const Date& today = kToday)
{
    const auto date = ParseDayFirstDate(text, today);
    return date ? FormatLongYearDate(*date) : "none";
}

TEST(Dates, DayFirstReading)
{
    EXPECT_EQ(Read("3/7/85"), "03/07/1985");
    EXPECT_EQ(Read("03/07/85"), "03/07/1985");
    EXPECT_EQ(Read("3/7/1985"), "03/07/1985");
    EXPECT_EQ(Read("29/02/00"), "29/02/2000");
    EXPECT_EQ(Read("01/01/29"), "01/01/1929");  // never in the future
    EXPECT_EQ(Read("01/01/30"), "01/01/1930");
    EXPECT_EQ(Read("08/12/26"), "08/12/2026");
    EXPECT_EQ(Read("09/12/26"), "09/12/1926");
    EXPECT_EQ(Read("3-7-85"), "03/07/1985");
    EXPECT_EQ(Read("3.7.85"), "03/07/1985");
    for (const char* bad :
         {"31/02/85", "29/02/01", "29/02/1900", "00/01/85", "01/13/85", "1/1/5", "1/1/185", "1/1/19850",
          "3/7-85", "3/7/85 ", " 3/7/85", "03/07", "", "//", "aa/bb/cc", "123/1/85", "1/123/85", "+1/1/85"})
        EXPECT_EQ(Read(bad), "none") << bad;
}

TEST(Dates, TwoDigitYearIsTheLatestNotInTheFuture)
{
    const struct {
        int twoDigits, month, day;
        Date today;
        int year;
    } cases[] = {
        {26, 12, 8, {2026, 12, 8}, 2026},  {26, 12, 9, {2026, 12, 8}, 1926}, {27, 6, 15, {2027, 1, 1}, 1927},
        {27, 1, 1, {2027, 1, 1}, 2027},    {29, 1, 1, {2026, 12, 8}, 1929},  {0, 2, 29, {2026, 12, 8}, 2000},
        {99, 12, 31, {2026, 12, 8}, 1999}, {30, 1, 1, {2030, 1, 1}, 2030},   {30, 1, 1, {2029, 12, 31}, 1930},
        {0, 1, 1, {2100, 1, 1}, 2100},     {0, 1, 2, {2100, 1, 1}, 2000},    {85, 7, 3, {1999, 1, 1}, 1985},
    };
    for (const auto& row : cases)
        EXPECT_EQ(FullYearOfTwoDigits(row.twoDigits, row.month, row.day, row.today), row.year)
            << row.twoDigits << "/" << row.month << "/" << row.day << " on " << FormatLongYearDate(row.today);
    // 29 February of a year 00 exists in 2000, not in 2100 or 1900.
    EXPECT_EQ(Read("29/02/00", Date{2100, 3, 1}), "none");
    EXPECT_EQ(Read("29/02/00", Date{2100, 2, 28}), "29/02/2000");
}

TEST(Dates, Formats)
{
    EXPECT_EQ(FormatShortDate({1985, 7, 3}), "03/07/85");
    EXPECT_EQ(FormatShortDate({2000, 2, 29}), "29/02/00");
    EXPECT_EQ(FormatLongYearDate({1927, 1, 1}), "01/01/1927");
    EXPECT_TRUE(IsValidDate(2024, 2, 29));
    EXPECT_FALSE(IsValidDate(2100, 2, 29));
    EXPECT_FALSE(IsValidDate(2026, 4, 31));
}

}  // namespace
}  // namespace cf
