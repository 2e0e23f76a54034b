// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/code/code_computation.h"
#include "engine/code/verification.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

TEST(PartitaIva, CheckDigit)
{
    EXPECT_TRUE(IsValidPartitaIva("12345678903"));
    EXPECT_FALSE(IsValidPartitaIva("12345678900"));
    EXPECT_TRUE(IsValidPartitaIva("00000000000"));
    EXPECT_TRUE(IsValidPartitaIva("07643520567"));
    // Anything but eleven digits is never correct, even when the sum agrees.
    for (const char* text : {"1234567890", "123456789030", "+2345678903", "1.345678903", "1e345678903",
                             "1234567890 ", " 2345678903"})
        EXPECT_FALSE(IsValidPartitaIva(text)) << text;
}

TEST(CodiceFiscale, FirstBrokenRuleOfTheStructure)
{
    // Each text gets the check character of its first fifteen, so that only
    // the rule named can make it wrong: homocode letters in digit places, 29
    // February of a year 00 and 84 hold; 31 April, 29 February 81 do not.
    const std::pair<CodeRule, std::vector<const char*>> cases[] = {
        {CodeRule::None,
         {"BNCLCU85L43H501", "BNCLCU85L43H5LM", "BNCLCUURLQPHRLM", "VRDGCR00B69F205", "VRDGCR84B29F205",
          "VRDGCR70T71F205"}},
        {CodeRule::NameLetters, {"000000000000000", "BNCLC485L43H501", "bnclcu85l43h501"}},
        {CodeRule::YearDigits, {"BNCLCU8AL43H501", "ABCDEFGHIJKLMNO", "BNCLCUW5L43H501"}},
        {CodeRule::MonthLetter, {"RSSMRA80Z15H501", "RSSMRA80F15H501", "RSSMRA801150501"}},
        {CodeRule::Day,
         {"RSSMRA80A00H501", "RSSMRA80A32H501", "RSSMRA80A40H501", "RSSMRA80A72H501", "RSSMRA80D31H501",
          "RSSMRA80B30H501", "RSSMRA81B29H501", "RSSMRA81B69H501", "RSSMRA80A1XH501"}},
        {CodeRule::PlaceLetter, {"RSSMRA80A15150M"}},
        {CodeRule::PlaceDigits, {"RSSMRA80A15HX01", "RSSMRA80A15H50A"}},
    };
    for (const auto& [rule, texts] : cases)
        for (const char* first15 : texts) {
            const std::string code = std::string(first15) + CheckCharacter(first15);
            EXPECT_EQ(FirstBrokenRule(code), rule) << code;
            EXPECT_EQ(IsValidCodiceFiscale(code), rule == CodeRule::None) << code;
        }
    EXPECT_EQ(FirstBrokenRule("BNCLCU85L43H501K"), CodeRule::CheckCharacter);
    for (const char* text : {"BNCLCU85L43H501", "BNCLCU85L43H501JJ", ""})
        EXPECT_EQ(FirstBrokenRule(text), CodeRule::Length) << text;
    EXPECT_FALSE(IsValidCodiceFiscale("BNCLCU85L43H5\xC3\x80J"));  // 15 characters in 16 bytes
}

TEST(CheckAndReport, AWrongCodeNamesTheFirstRuleBroken)
{
    CheckReport report = CheckAndReport("RSSMRA80Z15H501E", kToday);
    EXPECT_FALSE(report.correct);
    EXPECT_FALSE(report.decoded);
    ASSERT_EQ(report.messages.size(), 1u);
    EXPECT_EQ(report.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(report.messages[0].text,
              "Codice Fiscale formalmente errato: il carattere 9 (mese di nascita) deve "
              "essere una delle lettere A B C D E H L M P R S T");
    EXPECT_EQ(CheckAndReport("BNCLCU85L43H501K", kToday).messages.at(0).text,
              "Codice Fiscale formalmente errato");
    for (CodeRule rule : {CodeRule::NameLetters, CodeRule::Day, CodeRule::PlaceLetter, CodeRule::PlaceDigits,
                          CodeRule::Length})
        EXPECT_TRUE(BrokenRuleText(rule).starts_with("Codice Fiscale formalmente errato: "));
}

TEST(ClassifyCode, ByLengthAndDigits)
{
    EXPECT_EQ(ClassifyCode("BNCLCU85L43H501J"), CodeKind::CodiceFiscale);
    EXPECT_EQ(ClassifyCode("12345678903"), CodeKind::PartitaIva);
    EXPECT_EQ(ClassifyCode("A2345678903"), CodeKind::Neither);
    EXPECT_EQ(ClassifyCode("BNCLCU85L43H501"), CodeKind::Neither);
    EXPECT_EQ(ClassifyCode(""), CodeKind::Neither);
    EXPECT_EQ(ClassifyCode("BNCLCU85L43H5\xC3\x80J"), CodeKind::Neither);  // 16 bytes, 15 characters
    EXPECT_EQ(ClassifyCode("BNCLCU85L43H501 "), CodeKind::Neither);
}

TEST(DecodeBirthDate, CenturyAndWomenDays)
{
    auto text = [](std::string_view s, const Date& today) {
        const auto date = DecodeBirthDate(s, today);
        return date ? FormatLongYearDate(*date) : std::string("none");
    };
    EXPECT_EQ(text("85L43", kToday), "03/07/1985");
    EXPECT_EQ(text("26A01", kToday), "01/01/2026");
    EXPECT_EQ(text("27A01", kToday), "01/01/1927");
    EXPECT_EQ(text("00B69", kToday), "29/02/2000");
    EXPECT_EQ(text("01B69", kToday), "none");  // 29 February 2001
    EXPECT_EQ(text("85L41", kToday), "01/07/1985");
    EXPECT_EQ(text("85L01", kToday), "01/07/1985");
    EXPECT_EQ(text("85SMN", kToday), "12/11/1985");  // homocode letters M=1, N=2
    EXPECT_EQ(text("VVT71", kToday), "31/12/1999");
    // The year by the one rule: whole dates, not years, are compared.
    EXPECT_EQ(text("27H15", Date{2027, 1, 1}), "15/06/1927");
    EXPECT_EQ(text("27H15", Date{2027, 6, 15}), "15/06/2027");
    EXPECT_EQ(text("30A01", Date{2030, 1, 1}), "01/01/2030");
    EXPECT_EQ(text("30A41", Date{2045, 3, 1}), "01/01/2030");
    for (const char* bad : {"85F01", "85L00", "85L32", "85L40", "85L72", "8XL01", "85L4", "85A 1"})
        EXPECT_EQ(text(bad, kToday), "none") << bad;
    EXPECT_EQ(DecodeSex("41"), 'F');
    EXPECT_EQ(DecodeSex("40"), 'M');
    EXPECT_EQ(DecodeSex("QM"), 'F');  // 41 in homocode letters
    EXPECT_EQ(DecodePlaceCode("H5LM"), "H501");
    EXPECT_EQ(DecodePlaceCode("L501"), "L501");  // the first character is always a letter
}

TEST(CheckAndReport, VerdictsAndDecoding)
{
    CheckReport report = CheckAndReport("BNCLCU85L43H501J", kToday);
    ASSERT_TRUE(report.correct);
    ASSERT_EQ(report.messages.size(), 1u);
    EXPECT_EQ(report.messages[0].text, "Codice Fiscale formalmente corretto");
    EXPECT_EQ(report.messages[0].icon, MessageIcon::Information);
    ASSERT_TRUE(report.decoded);
    EXPECT_EQ(report.decoded->surnameLetters, "BNC");
    EXPECT_EQ(report.decoded->firstNameLetters, "LCU");
    EXPECT_EQ(report.decoded->birthDate, "03/07/1985");
    EXPECT_EQ(report.decoded->sex, "F");
    EXPECT_EQ(report.decoded->placeName, "ROMA");

    report = CheckAndReport("VRDGCR70B10F205A", kToday);
    EXPECT_EQ(report.decoded->birthDate, "10/02/1970");
    EXPECT_EQ(report.decoded->sex, "M");
    EXPECT_EQ(report.decoded->placeName, "MILANO");

    report = CheckAndReport("BNCLCU85L43H501K", kToday);
    EXPECT_FALSE(report.correct);
    EXPECT_EQ(report.messages.at(0).text, "Codice Fiscale formalmente errato");
    EXPECT_EQ(report.messages.at(0).icon, MessageIcon::Exclamation);
    EXPECT_FALSE(report.decoded);

    EXPECT_EQ(CheckAndReport("12345678903", kToday).messages.at(0).text, "Partita IVA formalmente corretta");
    EXPECT_EQ(CheckAndReport("12345678900", kToday).messages.at(0).text, "Partita IVA formalmente errata");
}

TEST(CheckAndReport, ForeignUnknownAndHomocodePlaces)
{
    // Check characters computed for these texts.
    CheckReport report = CheckAndReport("SMTJHN70A01Z404I", kToday);
    ASSERT_TRUE(report.correct);
    EXPECT_EQ(report.decoded->placeName, "STATI UNITI D'AMERICA");

    report = CheckAndReport("BNCLCU85L43A000R", kToday);
    ASSERT_TRUE(report.correct);
    ASSERT_EQ(report.messages.size(), 2u);
    EXPECT_EQ(report.messages[1].text, "Codice Catastale non censito");
    EXPECT_EQ(report.messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(report.decoded->placeName, "");
    EXPECT_EQ(report.decoded->birthDate, "03/07/1985");

    report = CheckAndReport("BNCLCU85L43H5LMM", kToday);  // H501 with the digits 0 and 1 as L and M
    ASSERT_TRUE(report.correct);
    EXPECT_EQ(report.decoded->placeName, "ROMA");

    report = CheckAndReport("BNCLCU85L93H501O", kToday);  // day 93: no date, so no correct code
    EXPECT_FALSE(report.correct);
    EXPECT_EQ(report.messages.at(0).text, BrokenRuleText(CodeRule::Day));
    EXPECT_FALSE(report.decoded);
}

}  // namespace
}  // namespace cf
