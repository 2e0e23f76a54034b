// Reading the program's arguments and the --check option.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "engine/code_computation.h"
#include "startup/code_check.h"
#include "startup/command_line.h"
#include "startup/program_arguments.h"

namespace cf {
namespace {

ProgramRequest Read(std::vector<const char*> arguments)
{
    return ReadProgramArguments(arguments);
}

TEST(ProgramArguments, WordsSplitByTheShellAreJoinedWithSingleBlanks)
{
    const ProgramRequest request = Read({"DE", "LUCA,ANNA", "MARIA,29/02/00,F,SANREMO"});
    EXPECT_EQ(request.mode, ProgramMode::PersonData);
    EXPECT_EQ(request.text, "DE LUCA,ANNA MARIA,29/02/00,F,SANREMO");
    EXPECT_EQ(Read({"ROSSI,-", "MARIO"}).text, "ROSSI,- MARIO") << "only a first word with -- is an option";
}

TEST(ProgramArguments, NoArgumentTextMeansTheWindows)
{
    EXPECT_EQ(Read({}).mode, ProgramMode::Windowed);
    EXPECT_EQ(Read({""}).mode, ProgramMode::Windowed);
    EXPECT_EQ(Read({"", ""}).mode, ProgramMode::PersonData) << "a blank is argument text";
}

TEST(ProgramArguments, Options)
{
    EXPECT_EQ(Read({"--help"}).mode, ProgramMode::Help);
    EXPECT_EQ(Read({"--version"}).mode, ProgramMode::Version);
    const ProgramRequest check = Read({"--check", "bnclcu85l43h501j"});
    EXPECT_EQ(check.mode, ProgramMode::Check);
    EXPECT_EQ(check.text, "bnclcu85l43h501j");
    for (const std::vector<const char*>& wrong :
         {std::vector<const char*>{"--check"}, {"--check", "A", "B"}, {"--help", "x"}, {"--nope"}})
        EXPECT_EQ(Read(wrong).mode, ProgramMode::UsageError) << wrong.front() << " " << wrong.size();
}

TEST(CodeCheck, DecodesACorrectCodiceFiscale)
{
    const CodeCheckOutput output = RunCodeCheck("bnclcu85l43h501j", 2026);
    EXPECT_EQ(output.exitStatus, kExitSuccess);
    EXPECT_EQ(output.lines, (std::vector<std::string>{
                                "Codice Fiscale formalmente corretto", "Cognome: BNC", "Nome: LCU",
                                "Data di nascita: 03/07/1985", "Sesso: F", "Luogo: ROMA",
                                "Provincia: RM"}));
}

// The place of a code is found by its cadastral code: its name on the
// birth date, the province of today, and a warning when it did not exist.
TEST(CodeCheck, PlaceByCodeOnTheBirthDate)
{
    const auto lines = [](std::string code) {
        code += CheckCharacter(code);
        return RunCodeCheck(code, 2026).lines;
    };
    EXPECT_EQ(lines("RSSMRA80A01B963").back(), "Provincia: CE");
    EXPECT_EQ(lines("RSSMRA80A01M261").back(), "Provincia: LE");
    EXPECT_EQ(lines("RSSMRA80A01L659").back(), "Provincia: PV");
    const std::vector<std::string> old = lines("RSSMRA29A01C388");
    EXPECT_EQ(old[old.size() - 2], "Luogo: CAVAZUCCHERINA");
    const CodeCheckOutput early = RunCodeCheck(std::string("RSSMRA50A01M403") + CheckCharacter("RSSMRA50A01M403"), 2026);
    EXPECT_EQ(early.exitStatus, kExitSuccess);
    EXPECT_EQ(early.lines[early.lines.size() - 2], "Provincia: CS");
    EXPECT_EQ(early.lines.back(),
              "Avviso: CORIGLIANO-ROSSANO (M403) non esisteva alla data di nascita: esiste dal 31/03/2018");
}

TEST(CodeCheck, UnknownPlaceLeavesPlaceAndProvinceEmpty)
{
    std::string code = "RSSMRA90A01A000";
    code += CheckCharacter(code);
    const CodeCheckOutput output = RunCodeCheck(code, 2026);
    EXPECT_EQ(output.exitStatus, kExitSuccess);
    EXPECT_EQ(output.lines.front(), "Codice Fiscale formalmente corretto");
    EXPECT_NE(std::find(output.lines.begin(), output.lines.end(), "Codice Catastale non censito"),
              output.lines.end());
    EXPECT_EQ(output.lines[output.lines.size() - 2], "Luogo:");
    EXPECT_EQ(output.lines.back(), "Provincia:");
}

TEST(CodeCheck, Verdicts)
{
    const auto check = [](std::string_view code) { return RunCodeCheck(code, 2026); };
    EXPECT_EQ(check("BNCLCU85L43H501K").lines, std::vector<std::string>{"Codice Fiscale formalmente errato"});
    EXPECT_EQ(check("BNCLCU85L43H501K").exitStatus, kExitRefused);
    EXPECT_EQ(check("12345678903").lines, std::vector<std::string>{"Partita IVA formalmente corretta"});
    EXPECT_EQ(check("12345678903").exitStatus, kExitSuccess);
    EXPECT_EQ(check("12345678900").lines, std::vector<std::string>{"Partita IVA formalmente errata"});
    EXPECT_EQ(check("12345678900").exitStatus, kExitRefused);
    for (const char* neither : {"", "ABC", "1234567890A", "BNCLCU85L43H501JX"}) {
        EXPECT_EQ(check(neither).lines, std::vector<std::string>{
                                            "Il codice inserito non è né un Codice Fiscale né una Partita IVA"});
        EXPECT_EQ(check(neither).exitStatus, kExitRefused);
    }
}

}  // namespace
}  // namespace cf
