// SPDX-License-Identifier: MIT
// --check over many codes, --omocodici and --luoghi as data.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "command_line/code_check.h"
#include "command_line/homocode_list.h"
#include "command_line/place_list.h"
#include "engine/code/code_computation.h"
#include "stream_text.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

using test::InputText;
using test::OutputText;

std::string WithCheckCharacter(std::string first15)
{
    return first15 + CheckCharacter(first15);
}

TEST(CodeList, OneCsvLinePerCodeWithKindVerdictAndDecoding)
{
    const std::vector<std::string> codes = {"bnclcu85l43h501j", "BNCLCU85L43H501K", "12345678903", "x,y",
                                            WithCheckCharacter("RSSMRA90A01A000")};
    OutputText out;
    const CodeListOutcome outcome = CheckCodes(codes, out.file(), false, kToday);
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_EQ(out.text(),
              "bnclcu85l43h501j,codice fiscale,corretto,BNC,LCU,03/07/1985,F,ROMA,RM,\n"
              "BNCLCU85L43H501K,codice fiscale,errato,,,,,,,\n"
              "12345678903,partita IVA,corretto,,,,,,,\n"
              "\"x,y\",nessuno,errato,,,,,,,\n"
                  + codes[4]
                  + ",codice fiscale,corretto,RSS,MRA,01/01/1990,M,,,Codice Catastale non censito\n");
}

TEST(CodeList, StandardInputTrimsBlanksAndCrAndCountsCharacters)
{
    InputText in(" BNCLCU85L43H501J \r\n\n   \nÈNCLCU85L43H501J\nRSSMRA80A01B963\xC3\n");
    OutputText out;
    const CodeListOutcome outcome = CheckCodeStream(in.file(), out.file(), false, kToday);
    EXPECT_EQ(outcome.exitStatus, 1);
    EXPECT_EQ(out.text(), " BNCLCU85L43H501J ,codice fiscale,corretto,BNC,LCU,03/07/1985,F,ROMA,RM,\n"
                          "\n"
                          "\n"
                          "ÈNCLCU85L43H501J,nessuno,errato,,,,,,,\n"
                          "RSSMRA80A01B963\xEF\xBF\xBD,nessuno,errato,,,,,,,\n");

    InputText good("BNCLCU85L43H501J\r\n12345678903\n");
    OutputText goodOut;
    EXPECT_EQ(CheckCodeStream(good.file(), goodOut.file(), false, kToday).exitStatus, 0);
}

TEST(CodeList, JsonObjectsNumberTheirLines)
{
    InputText in("\nBNCLCU85L43H501J\n12345678900\n");
    OutputText out;
    EXPECT_EQ(CheckCodeStream(in.file(), out.file(), true, kToday).exitStatus, 1);
    EXPECT_EQ(out.text(),
              "{\"riga\":2,\"codice\":\"BNCLCU85L43H501J\",\"tipo\":\"codice fiscale\",\"corretto\":true,"
              "\"cognome\":\"BNC\",\"nome\":\"LCU\",\"data_nascita\":\"03/07/1985\",\"sesso\":\"F\","
              "\"luogo\":\"ROMA\",\"provincia\":\"RM\",\"avviso\":null}\n"
              "{\"riga\":3,\"codice\":\"12345678900\",\"tipo\":\"partita IVA\",\"corretto\":false,"
              "\"cognome\":\"\",\"nome\":\"\",\"data_nascita\":\"\",\"sesso\":\"\",\"luogo\":\"\","
              "\"provincia\":\"\",\"avviso\":null}\n");
}

TEST(CodeList, SingleCodeIsTrimmedAndCountedInCharacters)
{
    EXPECT_EQ(RunCodeCheck(" BNCLCU85L43H501J\r", kToday).exitStatus, 0);
    // Only 16 letters and digits are a codice fiscale, 11 digits a Partita
    // IVA, whatever the text's length in bytes.
    const std::pair<const char*, CodeKind> cases[] = {
        {"bnclcu85l43h501j", CodeKind::CodiceFiscale},
        {"12345678903", CodeKind::PartitaIva},
        {"BNCLCU85L43H5ÀJ", CodeKind::Neither},  // 15 characters, 16 bytes
        {"ÈNCLCU85L43H501J", CodeKind::Neither},
        {"BNCLCU85L43H501-", CodeKind::Neither},
        {"BNCLCU 85L43H501", CodeKind::Neither},
        {"1234567890À", CodeKind::Neither},  // 11 characters, 12 bytes
        {"12345À7890", CodeKind::Neither}};  // 10 characters, 11 bytes
    for (const auto& [given, kind] : cases) {
        const CodeVerdict verdict = JudgeCode(given, kToday);
        EXPECT_EQ(verdict.kind, kind) << given;
        EXPECT_EQ(verdict.report.correct, kind != CodeKind::Neither) << given;
    }
    EXPECT_EQ(RunCodeCheck("BNCLCU85L43H5ÀJ", kToday).lines,
              std::vector<std::string>{"Il codice inserito non è né un Codice Fiscale né una Partita IVA"});
}

TEST(HomocodeList, TheCodesOfACorrectCodeOrARefusal)
{
    const HomocodeList list = ListHomocodes(" bnclcu85l43h501j\r");
    ASSERT_EQ(list.codes.size(), 127u);
    EXPECT_EQ(list.codes.front(), "BNCLCU85L43H50MB");
    EXPECT_EQ(list.codes[6].substr(0, 15), "BNCLCUURLQPHRLM");
    EXPECT_EQ(ListHomocodes("BNCLCU85L43H50MB").codes, list.codes)
        << "a homocode lists those of its original";
    EXPECT_FALSE(ListHomocodes("BNCLCU85L43H501K").refusal.empty());
    EXPECT_FALSE(ListHomocodes("12345678903").refusal.empty());
    const std::string letterInADigit = WithCheckCharacter("BNCLCU85L43HA01");
    EXPECT_TRUE(ListHomocodes(letterInADigit).codes.empty());
    EXPECT_FALSE(ListHomocodes(letterInADigit).refusal.empty());
}

TEST(PlaceList, NameCodeProvinceAndValidity)
{
    const PlaceList forli = ListPlaces("forlì");
    EXPECT_EQ(forli.lines, (std::vector<std::string>{"FORLI',D704,FC,17/03/1861,",
                                                     "FORLI' DEL SANNIO,D703,IS,06/02/1863,"}));
    const PlaceList old = ListPlaces("CAVAZUCCHERINA");
    EXPECT_EQ(old.lines, std::vector<std::string>{"CAVAZUCCHERINA,C388,VE,19/11/1866,"});
    EXPECT_EQ(ListPlaces("BAZZANO").lines.front(), "BAZZANO,A726,BO,17/03/1861,31/12/2013");
    const PlaceList france = ListPlaces("FRANCIA");
    ASSERT_FALSE(france.lines.empty());
    EXPECT_EQ(france.lines.front(), "FRANCIA,Z110,EE,01/01/1861,") << "foreign states have the list's dates";
    EXPECT_EQ(ListPlaces("unione sovietica").lines,
              std::vector<std::string>{"UNIONE SOVIETICA,Z135,EE,01/01/1861,01/01/1992"});
    EXPECT_EQ(ListPlaces("DIPENDENZE AUSTRALIANE").lines.front(), "DIPENDENZE AUSTRALIANE,Z900,EE,,")
        << "places known without dates have none";
    EXPECT_EQ(ListPlaces("A").lines.size(), 50u);
    EXPECT_TRUE(ListPlaces("QQQQ").lines.empty());
    EXPECT_FALSE(ListPlaces("QQQQ").refusal.empty());
}

}  // namespace
}  // namespace cf
