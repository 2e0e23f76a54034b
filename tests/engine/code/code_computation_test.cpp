// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "engine/code/code_computation.h"

namespace cf {
namespace {

std::string Code(std::string_view surname, std::string_view firstName, std::string_view date,
                 std::string_view sex, std::string_view place)
{
    const CodeResult result = ComputeCodeWithPlaceCode(surname, firstName, date, sex, place);
    return result.ok() ? result.code.str() : "refused";
}

TEST(ComputeCode, WorkedExamples)
{
    EXPECT_EQ(Code("BIANCHI", "LUCIA", "03/07/85", "F", "H501"), "BNCLCU85L43H501J");
    EXPECT_EQ(Code("VERDI", "GIANCARLO", "10/02/70", "M", "F205"), "VRDGCR70B10F205A");
    EXPECT_EQ(Code("DE LUCA", "ANNA MARIA", "29/02/00", "F", "I138"), "DLCNMR00B69I138Z");
    EXPECT_EQ(Code("FO", "IO", "01/01/01", "M", "Z110"), "FOXIOX01A01Z110U");
    EXPECT_EQ(Code("X", "Y", "12/12/99", "M", "A001"), "XXXYXX99T12A001O");
}

TEST(ComputeCode, LetterRulesOfSurnameAndFirstName)
{
    struct Case {
        const char* name;
        const char* surname;
        const char* firstName;
    };
    const Case cases[] = {
        {"", "", ""},             // no letters
        {"A", "AXX", "AXX"},      // one vowel
        {"AE", "AEX", "AEX"},     // two vowels
        {"AEIOU", "AEI", "AEI"},  // three or more vowels
        {"B", "BXX", "BXX"},      // one consonant
        {"BA", "BAX", "BAX"},
        {"BAE", "BAE", "BAE"},
        {"BC", "BCX", "BCX"},
        {"BCA", "BCA", "BCA"},
        {"GIANNI", "GNN", "GNN"},      // exactly three consonants
        {"ANNA MARIA", "NNM", "NMR"},  // four consonants: first name takes 1st, 3rd, 4th
        {"GIANCARLO", "GNC", "GCR"},
        {"YVONNE", "YVN", "YNN"},  // Y is a consonant
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SurnameLetters(c.name).view(), c.surname) << c.name;
        EXPECT_EQ(FirstNameLetters(c.name).view(), c.firstName) << c.name;
    }
}

TEST(ComputeCode, OnlyLettersTakePartAccentsFoldToTheirBase)
{
    EXPECT_EQ(SurnameLetters("D'ANGELO").view(), "DNG");
    EXPECT_EQ(FirstNameLetters("NICOLÒ").view(), "NCL");
    EXPECT_EQ(SurnameLetters("MÜLLER-ÉTIENNE").view(), "MLL");
    EXPECT_EQ(SurnameLetters("bianchi").view(), "BNC");
    EXPECT_EQ(SurnameLetters("GRAßL").view(), "GRS");
    EXPECT_EQ(SurnameLetters("DVOŘÁK").view(), "DVR");
    EXPECT_EQ(SurnameLetters("O. 2 ").view(), "OXX");
    EXPECT_EQ(SurnameLetters("ПЕТРОВ").count, 0u);
    EXPECT_EQ(SurnameLetters("\xC3").count, 0u);  // a cut UTF-8 sequence
    EXPECT_EQ(Code("D'ANGELO", "NICOLÒ", "01/01/80", "M", "H501").substr(0, 6), "DNGNCL");
}

TEST(ComputeCode, RefusesNamesWithoutLettersAndUnusableDates)
{
    using R = CodeRefusal;
    auto refusal = [](std::string_view s, std::string_view f, std::string_view d) {
        return ComputeCodeWithPlaceCode(s, f, d, "M", "H501").refusal;
    };
    EXPECT_EQ(refusal("   ", "LUCIA", "03/07/85"), R::SurnameWithoutLetters);
    EXPECT_EQ(refusal("BIANCHI", "   ", "03/07/85"), R::FirstNameWithoutLetters);
    EXPECT_EQ(refusal("BIANCHI", "'-.", "03/07/85"), R::FirstNameWithoutLetters);
    for (const char* date : {"  /  /  ", "03/13/85", "03/00/85", "00/07/85", "32/07/85", "3/7/85",
                             "03/07/1985", "03-07-85", "0a/07/85", ""})
        EXPECT_EQ(refusal("BIANCHI", "LUCIA", date), R::InvalidDate) << date;
}

TEST(ComputeCode, DateSexPartAndPlaceField)
{
    EXPECT_EQ(Code("ROSSI", "ANNA", "31/12/85", "F", "H501").substr(6, 5), "85T71");
    EXPECT_EQ(Code("ROSSI", "MARIO", "01/01/00", "M", "H501").substr(6, 5), "00A01");
    EXPECT_EQ(Code("ROSSI", "MARIO", "01/01/00", "f", "H501").substr(6, 5), "00A01");  // only "F" is a woman
    EXPECT_EQ(Code("ROSSI", "MARIO", "01/01/00", "M", "H50123").substr(11, 4), "H501");
    EXPECT_EQ(Code("ROSSI", "MARIO", "01/01/00", "M", "Z1").substr(11, 4), "Z1  ");
}

TEST(CheckCharacterTables, MatchThePublicTables)
{
    const std::string oddOrder = "BAKPLCQDREVOSFTGUHMINJWZYX";  // letters by odd value 0..25
    for (std::size_t value = 0; value < oddOrder.size(); ++value)
        EXPECT_EQ(OddValue(oddOrder[value]), static_cast<int>(value)) << oddOrder[value];
    EXPECT_EQ(OddValue('0'), 1);
    EXPECT_EQ(OddValue('9'), 21);
    EXPECT_EQ(EvenValue('7'), 7);
    EXPECT_EQ(EvenValue('Z'), 25);
    for (char other : {' ', '\'', 'a', '\0', '\xC3'}) {
        EXPECT_EQ(OddValue(other), 0);
        EXPECT_EQ(EvenValue(other), 0);
    }
    EXPECT_EQ(RemainderLetter(0), 'A');
    EXPECT_EQ(RemainderLetter(25), 'Z');
}

}  // namespace
}  // namespace cf
