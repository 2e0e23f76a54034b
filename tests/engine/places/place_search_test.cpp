// SPDX-License-Identifier: MIT
// Places found by a part of their name.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "engine/places/place_search.h"

namespace cf {
namespace {

std::vector<std::string> Names(std::string_view text, std::size_t limit = 50)
{
    const PlaceCatalog& catalog = PlaceCatalog::Embedded();
    std::vector<std::string> names;
    for (int row : FindPlacesContaining(catalog, text, limit))
        names.emplace_back(catalog.Row(row).name);
    return names;
}

TEST(PlaceSearch, NamesStartingWithTheTextComeFirst)
{
    const std::vector<std::string> names = Names("roma");
    ASSERT_GE(names.size(), 10u);
    EXPECT_EQ(names[0], "ROMA");
    EXPECT_EQ(names[1], "ROMAGNANO");
    const auto firstInner = std::find_if(names.begin(), names.end(),
                                         [](const std::string& name) { return !name.starts_with("ROMA"); });
    ASSERT_NE(firstInner, names.end());
    EXPECT_EQ(*firstInner, "ARCINAZZO ROMANO") << "then the others in table order";
    for (auto it = names.begin(); it != firstInner; ++it)
        EXPECT_TRUE(it->starts_with("ROMA")) << *it;
    for (auto it = firstInner; it != names.end(); ++it)
        EXPECT_FALSE(it->starts_with("ROMA")) << *it;
}

TEST(PlaceSearch, CaseAndAccentsAreFolded)
{
    EXPECT_EQ(Names("Forlì"), (std::vector<std::string>{"FORLI'", "FORLI' DEL SANNIO"}));
    EXPECT_EQ(Names("FORLI"), (std::vector<std::string>{"FORLI'", "FORLI' DEL SANNIO", "FORLIMPOPOLI"}));
    EXPECT_EQ(Names("bozen").front(), "BOZEN");
    // Without the apostrophe of a final accent, or with one the registry
    // does not write.
    EXPECT_EQ(Names("citta di cast"), (std::vector<std::string>{"CITTA' DI CASTELLO"}));
    EXPECT_EQ(Names("malé").front(), "MALE");
    EXPECT_EQ(Names("lüsen"), (std::vector<std::string>{"LUSEN"}));
}

TEST(PlaceSearch, LimitAndTextsThatFindNothing)
{
    EXPECT_EQ(Names("A", 50).size(), 50u);
    EXPECT_EQ(Names("A", 3).size(), 3u);
    EXPECT_TRUE(Names("QQQQ").empty());
    EXPECT_TRUE(Names("").empty());
    EXPECT_TRUE(Names("   ").empty());
    EXPECT_TRUE(Names("RO\xFFMA").empty());
}

}  // namespace
}  // namespace cf
