// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "engine/verification.h"

namespace cf {
namespace {

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

TEST(CodiceFiscale, FormalCheckIsTheCheckCharacterOnly)
{
    EXPECT_TRUE(IsValidCodiceFiscale("BNCLCU85L43H501J"));
    EXPECT_FALSE(IsValidCodiceFiscale("BNCLCU85L43H501K"));
    EXPECT_FALSE(IsValidCodiceFiscale("bnclcu85l43h501j"));  // case-sensitive
    EXPECT_FALSE(IsValidCodiceFiscale("BNCLCU85L43H501"));
    EXPECT_TRUE(IsValidCodiceFiscale("000000000000000I"));  // no position must be a letter
    EXPECT_TRUE(IsValidCodiceFiscale("BNCLCU85L43H5M1V"));  // homocode letter counts by its table value
}

TEST(ClassifyCode, ByLengthAndDigits)
{
    EXPECT_EQ(ClassifyCode("BNCLCU85L43H501J"), CodeKind::CodiceFiscale);
    EXPECT_EQ(ClassifyCode("12345678903"), CodeKind::PartitaIva);
    EXPECT_EQ(ClassifyCode("A2345678903"), CodeKind::Neither);
    EXPECT_EQ(ClassifyCode("BNCLCU85L43H501"), CodeKind::Neither);
    EXPECT_EQ(ClassifyCode(""), CodeKind::Neither);
}

TEST(DecodeBirthDate, CenturyAndWomenDays)
{
    auto text = [](std::string_view s, int year) {
        const auto date = DecodeBirthDate(s, year);
        return date ? FormatLongYearDate(*date) : std::string("none");
    };
    EXPECT_EQ(text("85L43", 2026), "03/07/1985");
    EXPECT_EQ(text("26A01", 2026), "01/01/2026");
    EXPECT_EQ(text("27A01", 2026), "01/01/1927");
    EXPECT_EQ(text("00B69", 2026), "29/02/2000");
    EXPECT_EQ(text("01B69", 2026), "none");  // 29 February 2001
    EXPECT_EQ(text("85L41", 2026), "01/07/1985");
    EXPECT_EQ(text("85L01", 2026), "01/07/1985");
    EXPECT_EQ(text("85SMN", 2026), "12/11/1985");  // homocode letters M=1, N=2
    EXPECT_EQ(text("VVT71", 2026), "31/12/1999");
    for (const char* bad : {"85F01", "85L00", "85L32", "85L40", "85L72", "8XL01", "85L4", "85A 1"})
        EXPECT_EQ(text(bad, 2026), "none") << bad;
    EXPECT_EQ(DecodeSex("41"), 'F');
    EXPECT_EQ(DecodeSex("40"), 'M');
    EXPECT_EQ(DecodeSex("QM"), 'F');  // 41 in homocode letters
    EXPECT_EQ(DecodePlaceCode("H5LM"), "H501");
    EXPECT_EQ(DecodePlaceCode("L501"), "L501");  // the first character is always a letter
}

TEST(CheckAndReport, VerdictsAndDecoding)
{
    CheckReport report = CheckAndReport("BNCLCU85L43H501J", 2026);
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

    report = CheckAndReport("VRDGCR70B10F205A", 2026);
    EXPECT_EQ(report.decoded->birthDate, "10/02/1970");
    EXPECT_EQ(report.decoded->sex, "M");
    EXPECT_EQ(report.decoded->placeName, "MILANO");

    report = CheckAndReport("BNCLCU85L43H501K", 2026);
    EXPECT_FALSE(report.correct);
    EXPECT_EQ(report.messages.at(0).text, "Codice Fiscale formalmente errato");
    EXPECT_EQ(report.messages.at(0).icon, MessageIcon::Exclamation);
    EXPECT_FALSE(report.decoded);

    EXPECT_EQ(CheckAndReport("12345678903", 2026).messages.at(0).text, "Partita IVA formalmente corretta");
    EXPECT_EQ(CheckAndReport("12345678900", 2026).messages.at(0).text, "Partita IVA formalmente errata");
}

TEST(CheckAndReport, ForeignUnknownAndHomocodePlaces)
{
    // Check characters computed for these texts.
    CheckReport report = CheckAndReport("SMTJHN70A01Z404I", 2026);
    ASSERT_TRUE(report.correct);
    EXPECT_EQ(report.decoded->placeName, "STATI UNITI D'AMERICA");

    report = CheckAndReport("BNCLCU85L43A000R", 2026);
    ASSERT_TRUE(report.correct);
    ASSERT_EQ(report.messages.size(), 2u);
    EXPECT_EQ(report.messages[1].text, "Codice Catastale non censito");
    EXPECT_EQ(report.messages[1].icon, MessageIcon::Critical);
    EXPECT_EQ(report.decoded->placeName, "");
    EXPECT_EQ(report.decoded->birthDate, "03/07/1985");

    report = CheckAndReport("BNCLCU85L43H5LMM", 2026);  // H501 with the digits 0 and 1 as L and M
    ASSERT_TRUE(report.correct);
    EXPECT_EQ(report.decoded->placeName, "ROMA");

    report = CheckAndReport("BNCLCU85L93H501O", 2026);  // day 93: no valid date
    ASSERT_TRUE(report.correct);
    EXPECT_EQ(report.messages.at(1).text, "Il codice non contiene una data di nascita valida");
    EXPECT_EQ(report.decoded->birthDate, "");
    EXPECT_EQ(report.decoded->sex, "");
    EXPECT_EQ(report.decoded->placeName, "ROMA");
}

}  // namespace
}  // namespace cf
