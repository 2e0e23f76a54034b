// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "engine/dates.h"

namespace cf {
namespace {

std::string Read(std::string_view text)
{
    const auto date = ParseDayFirstDate(text);
    return date ? FormatLongYearDate(*date) : "none";
}

TEST(Dates, DayFirstReading)
{
    EXPECT_EQ(Read("3/7/85"), "03/07/1985");
    EXPECT_EQ(Read("03/07/85"), "03/07/1985");
    EXPECT_EQ(Read("3/7/1985"), "03/07/1985");
    EXPECT_EQ(Read("29/02/00"), "29/02/2000");
    EXPECT_EQ(Read("01/01/29"), "01/01/2029");
    EXPECT_EQ(Read("01/01/30"), "01/01/1930");
    EXPECT_EQ(Read("3-7-85"), "03/07/1985");
    EXPECT_EQ(Read("3.7.85"), "03/07/1985");
    for (const char* bad :
         {"31/02/85", "29/02/01", "29/02/1900", "00/01/85", "01/13/85", "1/1/5", "1/1/185", "1/1/19850",
          "3/7-85", "3/7/85 ", " 3/7/85", "03/07", "", "//", "aa/bb/cc", "123/1/85", "1/123/85", "+1/1/85"})
        EXPECT_EQ(Read(bad), "none") << bad;
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
