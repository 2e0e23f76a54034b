// SPDX-License-Identifier: MIT
// Reading the program's arguments and the --check option.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "command_line/code_check.h"
#include "command_line/command_line.h"
#include "command_line/program_arguments.h"
#include "engine/code/code_computation.h"

namespace cf {
namespace {

constexpr Date kToday{2026, 12, 8};

ProgramRequest Read(std::vector<const char*> arguments)
{
    return ReadProgramArguments(arguments);
}

TEST(ProgramArguments, WordsSplitByTheShellAreJoinedWithSingleBlanks)
{
    const ProgramRequest request = Read({"DE", "LUCA,ANNA", "MARIA,29/02/00,F,SANREMO"});
    EXPECT_EQ(request.mode, ProgramMode::PersonData);
    EXPECT_EQ(request.text, "DE LUCA,ANNA MARIA,29/02/00,F,SANREMO");
    EXPECT_EQ(Read({"ROSSI,-", "MARIO"}).text, "ROSSI,- MARIO") << "only a word starting with - is an option";
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
    EXPECT_EQ(Read({"-h"}).mode, ProgramMode::Help);
    EXPECT_EQ(Read({"--version"}).mode, ProgramMode::Version);
    EXPECT_EQ(Read({"-V"}).mode, ProgramMode::Version);
    const ProgramRequest check = Read({"--check", "bnclcu85l43h501j"});
    EXPECT_EQ(check.mode, ProgramMode::Check);
    EXPECT_EQ(check.codes, std::vector<std::string>{"bnclcu85l43h501j"});
    EXPECT_EQ(Read({"--check=BNCLCU85L43H501J"}).codes, std::vector<std::string>{"BNCLCU85L43H501J"});
    EXPECT_EQ(Read({"--check", "A", "B", "--json"}).codes, (std::vector<std::string>{"A", "B"}));
    EXPECT_TRUE(Read({"--check", "A", "B", "--json"}).json);
    EXPECT_EQ(Read({"--check", "-"}).codes, std::vector<std::string>{"-"});
    for (const std::vector<const char*>& wrong : {std::vector<const char*>{"--check"},
                                                  {"--check="},
                                                  {"--check", "-", "A"},
                                                  {"--help", "x"},
                                                  {"--nope"},
                                                  {"-x"},
                                                  {"--version", "--check", "A"},
                                                  {"--help=1"}})
        EXPECT_EQ(Read(wrong).mode, ProgramMode::UsageError) << wrong.front() << " " << wrong.size();
}

TEST(ProgramArguments, BatchHomocodesAndPlaces)
{
    EXPECT_EQ(Read({"--batch"}).mode, ProgramMode::Batch);
    EXPECT_EQ(Read({"--batch"}).text, "");
    EXPECT_EQ(Read({"--batch", "-"}).text, "-");
    const ProgramRequest batch = Read({"--json", "--batch", "persone.csv"});
    EXPECT_EQ(batch.mode, ProgramMode::Batch);
    EXPECT_EQ(batch.text, "persone.csv");
    EXPECT_TRUE(batch.json);
    EXPECT_EQ(Read({"--omocodici", "BNCLCU85L43H501J"}).mode, ProgramMode::Homocodes);
    EXPECT_EQ(Read({"--omocodici=BNCLCU85L43H501J"}).text, "BNCLCU85L43H501J");
    const ProgramRequest places = Read({"--luoghi", "-san"});
    EXPECT_EQ(places.mode, ProgramMode::Places);
    EXPECT_EQ(places.text, "-san") << "the text of --luoghi may start with -";
    for (const auto& [arguments, mode] :
         {std::pair{std::vector<const char*>{"--esporta", "archivio.ods"}, ProgramMode::Export},
          std::pair{std::vector<const char*>{"--esporta=archivio.ods"}, ProgramMode::Export},
          std::pair{std::vector<const char*>{"--importa", "archivio.ods"}, ProgramMode::Import}}) {
        EXPECT_EQ(Read(arguments).mode, mode);
        EXPECT_EQ(Read(arguments).text, "archivio.ods");
    }
    for (const std::vector<const char*>& wrong : {std::vector<const char*>{"--batch", "a", "b"},
                                                  {"--esporta"},
                                                  {"--importa", "a.csv", "b.csv"},
                                                  {"--esporta", "a.csv", "--importa", "b.csv"},
                                                  {"--importa", "a.csv", "--json"},
                                                  {"--omocodici"},
                                                  {"--luoghi", "A", "B"},
                                                  {"--luoghi="},
                                                  {"--omocodici", "X", "--json"},
                                                  {"--batch", "--check", "X"},
                                                  {"--batch=x"}})
        EXPECT_EQ(Read(wrong).mode, ProgramMode::UsageError) << wrong.front() << " " << wrong.size();
}

// --persona gives the person one code is checked against, with --check
// alone.
TEST(ProgramArguments, PersonToCheckACodeAgainst)
{
    const ProgramRequest request =
        Read({"--check", "BNCLCU85L43H501J", "--persona", "BIANCHI,LUCIA,3/7/85,F,ROMA"});
    EXPECT_EQ(request.mode, ProgramMode::Check);
    EXPECT_EQ(request.codes, std::vector<std::string>{"BNCLCU85L43H501J"});
    EXPECT_EQ(request.person, "BIANCHI,LUCIA,3/7/85,F,ROMA");
    EXPECT_EQ(Read({"--persona=-ROSSI,MARIO", "--check=X"}).person, "-ROSSI,MARIO");
    EXPECT_EQ(Read({"--persona", "-ROSSI", "--check", "X"}).person, "-ROSSI") << "its value may start with -";
    EXPECT_EQ(Read({"--check", "X"}).person, "");
    for (const std::vector<const char*>& wrong : {std::vector<const char*>{"--persona", "A,B"},
                                                  {"A,B,1/1/90,M,ROMA", "--persona", "A"},
                                                  {"--batch", "--persona", "A"},
                                                  {"--check", "X", "--persona"},
                                                  {"--check", "X", "--persona="},
                                                  {"--check", "X", "Y", "--persona", "A"},
                                                  {"--check", "-", "--persona", "A"},
                                                  {"--check", "X", "--json", "--persona", "A"}})
        EXPECT_EQ(Read(wrong).mode, ProgramMode::UsageError) << wrong.front() << " " << wrong.size();
}

// An unknown option is never a person's data, wherever it stands.
TEST(ProgramArguments, NoGuiAndUnknownOptionsAmongPersonData)
{
    const ProgramRequest noGui = Read({"BIANCHI,LUCIA,3/7/85,F,ROMA", "--no-gui"});
    EXPECT_EQ(noGui.mode, ProgramMode::PersonData);
    EXPECT_EQ(noGui.text, "BIANCHI,LUCIA,3/7/85,F,ROMA");
    EXPECT_TRUE(noGui.noGui);
    EXPECT_TRUE(Read({"--no-gui", "DE", "LUCA,ANNA,1/1/90,F,ROMA"}).noGui);
    EXPECT_EQ(Read({"--no-gui", "DE", "LUCA,ANNA,1/1/90,F,ROMA"}).text, "DE LUCA,ANNA,1/1/90,F,ROMA");
    EXPECT_EQ(Read({"ROSSI,MARIO,1/1/90,M,ROMA", "-q"}).mode, ProgramMode::UsageError);
    EXPECT_EQ(Read({"ROSSI,MARIO", "-", "1/1/90,M,ROMA"}).mode, ProgramMode::UsageError);
    EXPECT_EQ(Read({"--no-gui"}).mode, ProgramMode::UsageError);
    EXPECT_EQ(Read({"--json", "ROSSI,MARIO,1/1/90,M,ROMA"}).mode, ProgramMode::UsageError);
}

// After "--" every argument is data, whatever it starts with.
TEST(ProgramArguments, DoubleDashEndsTheOptions)
{
    const ProgramRequest person = Read({"--no-gui", "--", "-ROSSI,MARIO,1/1/90,M,ROMA"});
    EXPECT_EQ(person.mode, ProgramMode::PersonData);
    EXPECT_EQ(person.text, "-ROSSI,MARIO,1/1/90,M,ROMA");
    EXPECT_TRUE(person.noGui);
    EXPECT_EQ(Read({"--", "--json"}).text, "--json");
    EXPECT_EQ(Read({"--", "--", "X"}).text, "-- X") << "only the first ends the options";
    EXPECT_EQ(Read({"--check", "--", "-X", "Y"}).codes, (std::vector<std::string>{"-X", "Y"}));
    EXPECT_EQ(Read({"--batch", "--", "--file.csv"}).text, "--file.csv");
    EXPECT_EQ(Read({"--"}).mode, ProgramMode::Windowed);
}

TEST(ProgramArguments, HelpLinesFitEightyColumns)
{
    const std::string_view usage = UsageText();
    std::size_t start = 0;
    while (start < usage.size()) {
        const std::size_t end = usage.find('\n', start);
        const std::string_view line = usage.substr(start, end - start);
        std::size_t columns = 0;
        for (char c : line)
            columns += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        EXPECT_LE(columns, 79u) << line;
        start = end + 1;
    }
    for (const char* option : {"--batch", "--check", "--persona", "--json", "--omocodici", "--luoghi",
                               "--esporta", "--importa", "--no-gui", "-h", "-V"})
        EXPECT_NE(usage.find(option), std::string_view::npos) << option;
}

TEST(CodeCheck, DecodesACorrectCodiceFiscale)
{
    const CodeCheckOutput output = RunCodeCheck("bnclcu85l43h501j", kToday);
    EXPECT_EQ(output.exitStatus, kExitSuccess);
    EXPECT_EQ(output.lines, (std::vector<std::string>{"Codice Fiscale formalmente corretto", "Cognome: BNC",
                                                      "Nome: LCU", "Data di nascita: 03/07/1985", "Sesso: F",
                                                      "Luogo: ROMA", "Provincia: RM"}));
}

// The place of a code is found by its cadastral code: its name on the
// birth date, the province of today, and a warning when it did not exist.
TEST(CodeCheck, PlaceByCodeOnTheBirthDate)
{
    const auto lines = [](std::string code) {
        code += CheckCharacter(code);
        return RunCodeCheck(code, kToday).lines;
    };
    EXPECT_EQ(lines("RSSMRA80A01B963").back(), "Provincia: CE");
    EXPECT_EQ(lines("RSSMRA80A01M261").back(), "Provincia: LE");
    EXPECT_EQ(lines("RSSMRA80A01L659").back(), "Provincia: PV");
    const std::vector<std::string> old = lines("RSSMRA29A01C388");
    EXPECT_EQ(old[old.size() - 2], "Luogo: CAVAZUCCHERINA");
    const CodeCheckOutput early =
        RunCodeCheck(std::string("RSSMRA50A01M403") + CheckCharacter("RSSMRA50A01M403"), kToday);
    EXPECT_EQ(early.exitStatus, kExitSuccess);
    EXPECT_EQ(early.lines[early.lines.size() - 2], "Provincia: CS");
    EXPECT_EQ(early.lines.back(),
              "Avviso: CORIGLIANO-ROSSANO (M403) non esisteva alla data di nascita: esiste dal 31/03/2018");
}

TEST(CodeCheck, UnknownPlaceLeavesPlaceAndProvinceEmpty)
{
    std::string code = "RSSMRA90A01A000";
    code += CheckCharacter(code);
    const CodeCheckOutput output = RunCodeCheck(code, kToday);
    EXPECT_EQ(output.exitStatus, kExitSuccess);
    EXPECT_EQ(output.lines.front(), "Codice Fiscale formalmente corretto");
    EXPECT_NE(std::find(output.lines.begin(), output.lines.end(), "Codice Catastale non censito"),
              output.lines.end());
    EXPECT_EQ(output.lines[output.lines.size() - 2], "Luogo:");
    EXPECT_EQ(output.lines.back(), "Provincia:");
}

TEST(CodeCheck, Verdicts)
{
    const auto check = [](std::string_view code) { return RunCodeCheck(code, kToday); };
    EXPECT_EQ(check("BNCLCU85L43H501K").lines, std::vector<std::string>{"Codice Fiscale formalmente errato"});
    EXPECT_EQ(check("BNCLCU85L43H501K").exitStatus, kExitRefused);
    EXPECT_EQ(check("12345678903").lines, std::vector<std::string>{"Partita IVA formalmente corretta"});
    EXPECT_EQ(check("12345678903").exitStatus, kExitSuccess);
    EXPECT_EQ(check("12345678900").lines, std::vector<std::string>{"Partita IVA formalmente errata"});
    EXPECT_EQ(check("12345678900").exitStatus, kExitRefused);
    for (const char* neither : {"", "ABC", "1234567890A", "BNCLCU85L43H501JX"}) {
        EXPECT_EQ(
            check(neither).lines,
            std::vector<std::string>{"Il codice inserito non è né un Codice Fiscale né una Partita IVA"});
        EXPECT_EQ(check(neither).exitStatus, kExitRefused);
    }
}

}  // namespace
}  // namespace cf
