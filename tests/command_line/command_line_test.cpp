// SPDX-License-Identifier: MIT
// The command-line mode as data: fields, checks in their order, the code and
// the box to show.

#include <gtest/gtest.h>

#include "command_line/command_line.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

constexpr char kWrongSex[] = "Il sesso è errato.";
constexpr char kWrongDate[] = "La data non è in formato valido.";
constexpr char kUnknownPlace[] = "La città non è compresa nell'elenco o non è corretta.";
constexpr char kMissingData[] = "Manca almeno un dato fondamentale";

std::string CodeOf(std::string_view arguments)
{
    const CommandLineOutcome outcome = RunCommandLine(arguments, kToday);
    EXPECT_TRUE(outcome.computed) << arguments;
    return outcome.code;
}

std::string RefusalOf(std::string_view arguments)
{
    const CommandLineOutcome outcome = RunCommandLine(arguments, kToday);
    EXPECT_FALSE(outcome.computed) << arguments;
    EXPECT_EQ(outcome.exitStatus, kExitRefused);
    EXPECT_TRUE(outcome.code.empty());
    if (!outcome.box)
        return "(no message)";
    EXPECT_EQ(outcome.box->title, "Codice fiscale");
    EXPECT_EQ(outcome.box->icon, MessageIcon::Critical);
    return outcome.box->text;
}

TEST(CommandLine, ComputesTheCodeWhateverTheCapitalisation)
{
    for (const char* text : {"BIANCHI,LUCIA,3/7/85,F,ROMA", "bianchi,lucia,03/07/1985,f,roma",
                             "Bianchi,Lucia,03/07/85,F,Roma"}) {
        const CommandLineOutcome outcome = RunCommandLine(text, kToday);
        EXPECT_TRUE(outcome.computed) << text;
        EXPECT_EQ(outcome.code, "BNCLCU85L43H501J") << text;
        EXPECT_EQ(outcome.exitStatus, kExitSuccess);
        EXPECT_FALSE(outcome.box) << text;
    }
    EXPECT_EQ(CodeOf("VERDI,GIANCARLO,10/02/70,m,MILANO"), "VRDGCR70B10F205A");
}

TEST(CommandLine, AnyNonEmptySixthFieldShowsTheCode)
{
    for (const char* flag : {"1", "0", " "}) {
        const CommandLineOutcome outcome =
            RunCommandLine(std::string("BIANCHI,LUCIA,3/7/85,F,ROMA,") + flag, kToday);
        ASSERT_TRUE(outcome.box) << '"' << flag << '"';
        EXPECT_EQ(outcome.box->title, "Codice Fiscale");
        EXPECT_EQ(outcome.box->text, "BNCLCU85L43H501J");
        EXPECT_EQ(outcome.box->icon, MessageIcon::Information);
    }
    EXPECT_FALSE(RunCommandLine("BIANCHI,LUCIA,3/7/85,F,ROMA,", kToday).box);
    EXPECT_FALSE(RunCommandLine("BIANCHI,LUCIA,3/7/85,F,ROMA,,1", kToday).box)
        << "a seventh field is ignored";
}

TEST(CommandLine, OnlyTheWholeFieldSanRemoIsRespelled)
{
    EXPECT_EQ(CodeOf("DE LUCA,ANNA MARIA,29/02/00,F,San Remo"), "DLCNMR00B69I138Z");
    EXPECT_EQ(CodeOf("DE LUCA,ANNA MARIA,29/02/00,F,SANREMO"), "DLCNMR00B69I138Z");
    EXPECT_EQ(RefusalOf("DE LUCA,ANNA MARIA,29/02/00,F,S. REMO"), kUnknownPlace);
    EXPECT_EQ(RefusalOf("DE LUCA,ANNA MARIA,29/02/00,F, SANREMO"), kUnknownPlace);
    EXPECT_EQ(RefusalOf("DE LUCA,ANNA MARIA,29/02/00,F,SAN REMO "), kUnknownPlace);
}

// The place as it was on the birth date, written as people write it.
TEST(CommandLine, PlaceOnTheBirthDate)
{
    EXPECT_EQ(CodeOf("ROSSI,MARIA,1/6/1990,F,Forlì").substr(11, 4), "D704");
    EXPECT_EQ(CodeOf("ROSSI,MARIA,1/6/1990,F,bozen").substr(11, 4), "A952");
    EXPECT_EQ(CodeOf("ROSSI,MARIA,1/6/1990,F,SAN TEODORO (SS)").substr(11, 4), "I329");
    EXPECT_EQ(CodeOf("ROSSI,MARIA,1/6/1990,F,SAN TEODORO").substr(11, 4), "I328");
    EXPECT_EQ(CodeOf("ROSSI,MARIA,1/6/1990,F,CAVAZUCCHERINA").substr(11, 4), "C388");
    EXPECT_EQ(CodeOf("ROSSI,MARIA,1/6/1990,F,BELLAGIO").substr(11, 4), "A744");
    EXPECT_EQ(CodeOf("ROSSI,MARIA,1/6/2020,F,BELLAGIO").substr(11, 4), "M335");
    EXPECT_EQ(RefusalOf("ROSSI,MARIA,1/6/1950,F,CORIGLIANO-ROSSANO"),
              "CORIGLIANO-ROSSANO esiste dal 31/03/2018: per chi è nato prima indicare il comune di allora "
              "(CORIGLIANO CALABRO, ROSSANO)");
    // A two-digit year is the latest not in the future; the century is never
    // moved: the refusal asks for the four-digit year.
    EXPECT_TRUE(RefusalOf("ROSSI,MARIA,1/6/20,F,CORIGLIANO CALABRO")
                    .ends_with("; la data è letta come 01/06/2020: per una nascita del 1920 scrivere l'anno "
                               "con quattro cifre (01/06/1920)"));
    EXPECT_EQ(CodeOf("ROSSI,MARIA,1/6/1920,F,CORIGLIANO CALABRO").substr(11, 4), "D005");
    // The place is checked before missing data.
    EXPECT_EQ(RefusalOf(",MARIA,1/6/1950,F,CORIGLIANO-ROSSANO").substr(0, 29),
              "CORIGLIANO-ROSSANO esiste dal");
    EXPECT_EQ(RefusalOf("ROSSI,MARIA,1/6/1990,F, MILANO"), kUnknownPlace) << "blanks around a field stay";
}

// A bare name of several places valid on the birth date gives the first and
// names the others; the outcome is a code all the same.
TEST(CommandLine, NamesakesAreToldApart)
{
    for (const char* arguments :
         {"ROSSI,MARIO,1/1/90,M,SAN TEODORO", "ROSSI,MARIO,1/1/90,M,SAN TEODORO (ME)"}) {
        const CommandLineOutcome outcome = RunCommandLine(arguments, kToday);
        EXPECT_EQ(outcome.exitStatus, kExitSuccess) << arguments;
        EXPECT_EQ(outcome.code.substr(11, 4), "I328") << arguments;
        EXPECT_EQ(outcome.warning.ends_with(": SAN TEODORO (SS)"),
                  !std::string_view(arguments).ends_with(")"))
            << arguments;
    }
}

TEST(CommandLine, SexIsCheckedFirstAndUntrimmed)
{
    EXPECT_EQ(RefusalOf("ROSSI,MARIO,1/1/90,MASCHIO,ROMA"), kWrongSex);
    EXPECT_EQ(RefusalOf("ROSSI,MARIO,1/1/90, M,ROMA"), kWrongSex);
    EXPECT_EQ(RefusalOf(",,31/02/85,X,NOWHERE"), kWrongSex);
    EXPECT_EQ(RefusalOf("ROSSI"), kWrongSex) << "a text without commas is all surname";
}

TEST(CommandLine, DatesAreReadDayFirstAndImpossibleOnesRefused)
{
    EXPECT_EQ(RefusalOf("ROSSI,MARIO,31/02/85,M,ROMA"), kWrongDate);
    EXPECT_EQ(RefusalOf("ROSSI,MARIO,29/02/30,M,ROMA"), kWrongDate) << "30 is 1930, no leap year";
    EXPECT_EQ(RefusalOf("ROSSI,MARIO,,M,NOWHERE"), kWrongDate) << "the date comes before the place";
    EXPECT_EQ(RefusalOf("ROSSI,MARIO,13/13/85,M,ROMA"), kWrongDate);
    EXPECT_EQ(CodeOf("ROSSI,MARIO,29/2/2000,M,ROMA").substr(6, 5), "00B29");
    EXPECT_EQ(CodeOf("ROSSI,MARIO,1/12/1999,F,ROMA").substr(6, 5), "99T41");
}

TEST(CommandLine, PlaceIsCheckedBeforeMissingData)
{
    EXPECT_EQ(RefusalOf(",MARIO,1/1/90,M,"), kUnknownPlace);
    EXPECT_EQ(RefusalOf("ROSSI,MARIO,1/1/90,M"), kUnknownPlace) << "missing fields are empty";
    EXPECT_EQ(RefusalOf(",MARIO,1/1/90,M,ROMA"), kMissingData);
    EXPECT_EQ(RefusalOf("ROSSI,,1/1/90,M,ROMA"), kMissingData);
}

// A name of blanks only is missing; one without a Latin letter is told so.
TEST(CommandLine, NamesWithoutLettersAreRefused)
{
    const std::string noLetter =
        " non contiene lettere dell'alfabeto latino, che servono per il codice fiscale.";
    const std::pair<const char*, std::string> cases[] = {
        {"ROSSI,   ,1/1/90,M,ROMA", kMissingData},
        {"   ,MARIO,1/1/90,M,ROMA", kMissingData},
        {"'-',MARIO,1/1/90,M,ROMA", "Il cognome" + noLetter},
        {"Παπαδόπουλος,MARIO,1/1/90,M,ROMA", "Il cognome" + noLetter},
        {"ROSSI,Иван,1/1/90,M,ROMA", "Il nome" + noLetter},
        {"ROSSI, 明 ,1/1/90,M,ROMA", "Il nome" + noLetter}};
    for (const auto& [arguments, message] : cases)
        EXPECT_EQ(RefusalOf(arguments), message) << arguments;
    EXPECT_EQ(CodeOf("Παπαδόπουλος Rossi,MARIO,1/1/90,M,ROMA").substr(0, 3), "RSS")
        << "the Latin letters count";
}

TEST(CommandLine, ApostrophesAndAccentsFollowTheLetterRules)
{
    EXPECT_EQ(CodeOf("D'ANGELO,NICOLÒ,1/1/90,M,ROMA").substr(0, 6), "DNGNCL");
    EXPECT_EQ(CodeOf("d'angelo,nicolò,1/1/90,m,roma"), CodeOf("DANGELO,NICOLO,1/1/90,M,ROMA"));
}

}  // namespace
}  // namespace cf
