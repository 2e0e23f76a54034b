// SPDX-License-Identifier: MIT
// Homocodes of a codice fiscale: the original behind a homocode, the 127
// homocodes in their order, each with its own check character.

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/code/homocodes.h"
#include "engine/code/verification.h"

namespace cf {
namespace {

TEST(Homocodes, TheFirstSevenReplaceDigitsFromTheRight)
{
    const FiscalCode original = *OriginalCode("BNCLCU85L43H501J");
    const char* const expected[] = {"BNCLCU85L43H50M", "BNCLCU85L43H5LM", "BNCLCU85L43HRLM",
                                    "BNCLCU85L4PHRLM", "BNCLCU85LQPHRLM", "BNCLCU8RLQPHRLM",
                                    "BNCLCUURLQPHRLM"};
    for (int i = 0; i < 7; ++i) {
        const std::string code = Homocode(original, i).str();
        EXPECT_EQ(code.substr(0, 15), expected[i]) << i;
        EXPECT_TRUE(IsValidCodiceFiscale(code)) << code;
    }
    EXPECT_EQ(Homocode(original, 0).str(), "BNCLCU85L43H50MB");
}

TEST(Homocodes, AllAreDistinctCorrectAndLeadBackToTheOriginal)
{
    const FiscalCode original = *OriginalCode("VRDGCR70B10F205A");
    std::set<std::string> seen;
    for (int i = 0; i < kHomocodeCount; ++i) {
        const std::string code = Homocode(original, i).str();
        EXPECT_TRUE(IsValidCodiceFiscale(code)) << code;
        EXPECT_NE(code, "VRDGCR70B10F205A");
        EXPECT_EQ(OriginalCode(code)->str(), "VRDGCR70B10F205A") << code;
        seen.insert(code);
    }
    EXPECT_EQ(seen.size(), 127u);
    // After the seven of the tax office, counting in binary: the second
    // rightmost digit alone, the third alone, the first and third.
    EXPECT_EQ(Homocode(original, 7).str().substr(11, 4), "F2L5");
    EXPECT_EQ(Homocode(original, 8).str().substr(11, 4), "FN05");
    EXPECT_EQ(Homocode(original, 9).str().substr(11, 4), "FN0R");
}

TEST(Homocodes, OriginalNeedsADigitOrHomocodeLetterInEachDigitPosition)
{
    EXPECT_EQ(OriginalCode("BNCLCUURLQPHRLMB")->str(), "BNCLCU85L43H501J");
    EXPECT_FALSE(OriginalCode("BNCLCU85L43H5A1J"));
    EXPECT_FALSE(OriginalCode("BNCLCU8XL43H501J"));
    EXPECT_FALSE(OriginalCode("BNCLCU85L43H501"));
    EXPECT_EQ(HomocodeDigitValue('V'), 9);
    EXPECT_EQ(HomocodeDigitValue('O'), -1);
}

}  // namespace
}  // namespace cf
