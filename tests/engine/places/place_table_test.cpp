// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "engine/places/embedded_resources.h"
#include "engine/places/place_table.h"
#include "engine/text/text_fields.h"

namespace cf {
namespace {

std::string_view EmbeddedText()
{
    const auto bytes = ResourceBytes(kPlaceTableResource);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

TEST(PlaceTable, EmbeddedBytesAreTheCommittedFile)
{
    std::ifstream file(CF_SOURCE_DIR "/resources/varnel.cod", std::ios::binary);
    const std::string committed((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    EXPECT_EQ(EmbeddedText(), committed);
    EXPECT_EQ(EmbeddedText().substr(EmbeddedText().size() - 5), std::string_view("\r\n\0\0\0", 5));
}

TEST(PlaceTable, FormatAndOrder)
{
    const auto rows = ParsePlaceTable(EmbeddedText());
    ASSERT_GT(rows.size(), 10000u);
    bool foreign = false;
    std::string_view previous;
    for (const PlaceRow& row : rows) {
        ASSERT_EQ(row.code.size(), 4u) << row.name;
        ASSERT_EQ(row.province.size(), 2u) << row.name;
        ASSERT_EQ(row.name.find_first_not_of("ABCDEFGHIJKLMNOPQRSTUVWXYZ '-.()"), std::string_view::npos)
            << row.name;
        const bool isForeign = row.province == "EE";
        ASSERT_EQ(isForeign, row.code[0] == 'Z') << row.name;
        ASSERT_FALSE(foreign && !isForeign) << "municipality after the foreign states: " << row.name;
        if (isForeign != foreign)
            previous = {};
        foreign = isForeign;
        ASSERT_LE(previous, row.name);
        previous = row.name;
    }
    EXPECT_EQ(rows.front().name, "ABANO");
    EXPECT_TRUE(foreign);
}

TEST(PlaceTable, ParserToleratesOddText)
{
    const auto rows =
        ParsePlaceTable(std::string_view("A,B001,XX\r\n\r\nC,D002\rE\nF,G003,YY\0H,Z999,EE\r\n", 43));
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].province, "");
    EXPECT_EQ(rows[2].name, "E");
    EXPECT_EQ(rows[2].code, "");
    EXPECT_EQ(rows[3].province, "YY");
    EXPECT_TRUE(ParsePlaceTable("").empty());
}

TEST(NthField, CutsDelimitedText)
{
    const std::string_view text = "BIANCHI,LUCIA,3/7/85,F,ROMA";
    EXPECT_EQ(NthField(text, ",", 1), "BIANCHI");
    EXPECT_EQ(NthField(text, ",", 5), "ROMA");
    EXPECT_EQ(NthField(text, ",", 6), "");
    EXPECT_EQ(NthField(text, ",", 0), "");
    EXPECT_EQ(NthField(text, ",", -3), "");
    EXPECT_EQ(NthField("A,,C,", ",", 2), "");
    EXPECT_EQ(NthField("A,,C,", ",", 4), "");
    EXPECT_EQ(NthField("NOCOMMA", ",", 1), "NOCOMMA");
    EXPECT_EQ(NthField("NOCOMMA", ",", 2), "");
    EXPECT_EQ(NthField("", ",", 1), "");
}

}  // namespace
}  // namespace cf
