// SPDX-License-Identifier: MIT
// The codicefiscale executable run as a process without a display: exit
// statuses, standard output and error, the place file.

#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "child_process.h"
#include "test_files.h"

namespace cf::test {
namespace {

class Executable : public ::testing::Test {
protected:
    // No DISPLAY and no WAYLAND_DISPLAY: nothing may try to open a window.
    ProcessResult Run(const std::vector<std::string>& arguments)
    {
        std::vector<std::string> command{CF_EXECUTABLE};
        command.insert(command.end(), arguments.begin(), arguments.end());
        return RunProcess(command, {"PATH=/usr/bin:/bin", "XDG_RUNTIME_DIR=" + workDirectory_.path()});
    }

    // A shell command line, with the executable as $0.
    ProcessResult Shell(const std::string& command)
    {
        return RunProcess({"/bin/sh", "-c", command, CF_EXECUTABLE},
                          {"PATH=/usr/bin:/bin", "XDG_RUNTIME_DIR=" + workDirectory_.path()});
    }

    bool PlaceFileExists() const
    {
        return std::filesystem::exists(workDirectory_.path() + "/codicefiscale/varnel.cod");
    }

    TemporaryDirectory workDirectory_;
};

TEST_F(Executable, PrintsTheCodeAndEndsWithStatusZero)
{
    const ProcessResult result = Run({"BIANCHI,LUCIA,3/7/85,F,ROMA"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "BNCLCU85L43H501J\n");
    EXPECT_EQ(result.err, "");
    EXPECT_FALSE(PlaceFileExists());
}

TEST_F(Executable, ANamesakeIsNamedOnStandardError)
{
    const ProcessResult result = Run({"ROSSI,MARIO,1/1/90,M,CASTRO"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "RSSMRA90A01C337F\n");
    EXPECT_EQ(result.err,
              "Avviso: Più luoghi hanno questo nome: il codice è quello di CASTRO (BG); per un altro "
              "indicarlo con la sigla della provincia tra parentesi: CASTRO (LE)\n");
}

TEST_F(Executable, SixthFieldWithoutDisplayOnlyPrints)
{
    const ProcessResult result = Run({"bianchi,lucia,3/7/85,f,roma,1"});
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "BNCLCU85L43H501J\n");
    EXPECT_EQ(result.err, "");
}

TEST_F(Executable, JoinsTheShellsWordsWithBlanks)
{
    const ProcessResult split = Run({"DE", "LUCA,ANNA", "MARIA,29/02/00,F,SAN", "REMO"});
    const ProcessResult quoted = Run({"DE LUCA,ANNA MARIA,29/02/00,F,SAN REMO"});
    EXPECT_EQ(split.out, "DLCNMR00B69I138Z\n");
    EXPECT_EQ(quoted.out, split.out);
}

TEST_F(Executable, RefusalGoesToStandardErrorWithStatusOne)
{
    const struct {
        const char* arguments;
        const char* message;
    } cases[] = {
        {"ROSSI,MARIO,1/1/90,X,ROMA", "Il sesso è errato.\n"},
        {"ROSSI,MARIO,31/02/85,M,ROMA", "La data non è in formato valido.\n"},
        {"ROSSI,MARIO,1/1/90,M,S. REMO", "La città non è compresa nell'elenco o non è corretta.\n"},
        {"ROSSI,  ,1/1/90,M,ROMA", "Manca almeno un dato fondamentale\n"},
    };
    for (const auto& c : cases) {
        const ProcessResult result = Run({c.arguments});
        EXPECT_EQ(result.exitStatus, 1) << c.arguments;
        EXPECT_EQ(result.out, "") << c.arguments;
        EXPECT_EQ(result.err, c.message) << c.arguments;
        EXPECT_FALSE(PlaceFileExists()) << c.arguments;
    }
}

TEST_F(Executable, UsageErrorsEndWithStatusTwo)
{
    for (const std::vector<std::string>& arguments : {std::vector<std::string>{"--nope"},
                                                      {"--check"},
                                                      {"--version", "x"},
                                                      {"-x"},
                                                      {"BIANCHI,LUCIA,3/7/85,F,ROMA", "--nope"},
                                                      {"--json", "BIANCHI,LUCIA,3/7/85,F,ROMA"}}) {
        const ProcessResult result = Run(arguments);
        EXPECT_EQ(result.exitStatus, 2) << arguments.front();
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("codicefiscale --help"), std::string::npos) << result.err;
    }
}

TEST_F(Executable, HelpAndVersion)
{
    for (const char* option : {"--version", "-V"}) {
        const ProcessResult version = Run({option});
        EXPECT_EQ(version.exitStatus, 0);
        EXPECT_EQ(version.out, "codicefiscale 1.0.0\n");
    }
    for (const char* option : {"--help", "-h"}) {
        const ProcessResult help = Run({option});
        EXPECT_EQ(help.exitStatus, 0);
        EXPECT_NE(help.out.find("codicefiscale BIANCHI,LUCIA,3/7/85,F,ROMA"), std::string::npos);
        EXPECT_NE(help.out.find("--check CODICE"), std::string::npos);
    }
}

TEST_F(Executable, CheckPrintsVerdictAndDecoding)
{
    const ProcessResult correct = Run({"--check", "vrdgcr70b10f205a"});
    EXPECT_EQ(correct.exitStatus, 0);
    EXPECT_EQ(correct.out, "Codice Fiscale formalmente corretto\nCognome: VRD\nNome: GCR\n"
                           "Data di nascita: 10/02/1970\nSesso: M\nLuogo: MILANO\nProvincia: MI\n");
    const ProcessResult wrong = Run({"--check", "12345678900"});
    EXPECT_EQ(wrong.exitStatus, 1);
    EXPECT_EQ(wrong.out, "Partita IVA formalmente errata\n");
}

TEST_F(Executable, BatchFromAFileAndCodesFromStandardInput)
{
    const std::string persons = workDirectory_.path() + "/persone.csv";
    {
        std::FILE* file = std::fopen(persons.c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs(
            "COGNOME,NOME,DATA,SESSO,LUOGO\r\nBIANCHI,LUCIA,3/7/85,F,ROMA\r\nROSSI,MARIO,1/1/90,X,ROMA\r\n",
            file);
        std::fclose(file);
    }
    const ProcessResult batch = Run({"--batch", persons});
    EXPECT_EQ(batch.exitStatus, 1);
    EXPECT_EQ(
        batch.out,
        "BIANCHI,LUCIA,3/7/85,F,ROMA,BNCLCU85L43H501J,\nROSSI,MARIO,1/1/90,X,ROMA,,Il sesso è errato.\n");
    EXPECT_EQ(batch.err, "");
    EXPECT_FALSE(PlaceFileExists());

    const ProcessResult missing = Run({"--batch", workDirectory_.path() + "/none.csv"});
    EXPECT_EQ(missing.exitStatus, 2);
    EXPECT_EQ(missing.err, "codicefiscale: impossibile aprire " + workDirectory_.path()
                               + "/none.csv: file o cartella inesistente\n");
    EXPECT_EQ(Run({"--batch", workDirectory_.path()}).exitStatus, 2) << "a directory cannot be read";

    const ProcessResult fromInput =
        Shell("printf 'BNCLCU85L43H501J\\r\\n12345678903\\n' | \"$0\" --check - --json");
    EXPECT_EQ(fromInput.exitStatus, 0) << fromInput.err;
    EXPECT_NE(fromInput.out.find(
                  "\"riga\":2,\"codice\":\"12345678903\",\"tipo\":\"partita IVA\",\"corretto\":true"),
              std::string::npos)
        << fromInput.out;
}

// The help's example that checks the codes --batch computed works as
// written: it takes the code field of every person that got one.
TEST_F(Executable, HelpExampleFromBatchToCheckWorks)
{
    const std::string help = Run({"--help"}).out;
    const std::size_t start = help.find("  codicefiscale --batch --json persone.csv |\n");
    ASSERT_NE(start, std::string::npos) << help;
    const std::size_t end = help.find('\n', help.find('\n', start) + 1);
    const std::string example = help.substr(start, end - start);
    {
        std::FILE* file = std::fopen((workDirectory_.path() + "/persone.csv").c_str(), "w");
        ASSERT_NE(file, nullptr);
        std::fputs("COGNOME,NOME,DATA,SESSO,LUOGO\n\"DE LUCA, DETTO \"\"X\"\"\",ANNA,3/7/85,F,ROMA\n"
                   "ROSSI,MARIO,1/1/90,X,ROMA\nVERDI,GIANCARLO,10/02/70,M,MILANO\n",
                   file);
        std::fclose(file);
    }
    const ProcessResult result =
        Shell("cd '" + workDirectory_.path() + "' && codicefiscale() { \"$0\" \"$@\"; } &&" + example);
    EXPECT_EQ(result.exitStatus, 0) << example << result.err;
    EXPECT_EQ(result.out, "DLCNNA85L43H501L,codice fiscale,corretto,DLC,NNA,03/07/1985,F,ROMA,RM,\n"
                          "VRDGCR70B10F205A,codice fiscale,corretto,VRD,GCR,10/02/1970,M,MILANO,MI,\n")
        << example;
}

TEST_F(Executable, HomocodesAndPlaces)
{
    const ProcessResult homocodes = Run({"--omocodici", "BNCLCU85L43H501J"});
    EXPECT_EQ(homocodes.exitStatus, 0);
    EXPECT_EQ(std::count(homocodes.out.begin(), homocodes.out.end(), '\n'), 127);
    EXPECT_TRUE(homocodes.out.starts_with("BNCLCU85L43H50MB\nBNCLCU85L43H5LMM\n"));
    const ProcessResult wrong = Run({"--omocodici", "BNCLCU85L43H501K"});
    EXPECT_EQ(wrong.exitStatus, 1);
    EXPECT_EQ(wrong.out, "");
    EXPECT_TRUE(wrong.err.starts_with("codicefiscale: Il codice non è")) << wrong.err;

    const ProcessResult places = Run({"--luoghi", "Forlì"});
    EXPECT_EQ(places.exitStatus, 0);
    EXPECT_EQ(places.out, "FORLI',D704,FC,17/03/1861,\nFORLI' DEL SANNIO,D703,IS,06/02/1863,\n");
    const ProcessResult none = Run({"--luoghi", "QQQQ"});
    EXPECT_EQ(none.exitStatus, 1);
    EXPECT_EQ(none.err, "codicefiscale: Nessun luogo contiene il testo indicato.\n");
}

// Bad input never gives a code with status 0.
TEST_F(Executable, InvalidUtf8IsRefused)
{
    const ProcessResult result = Run({"ROSSI,\xC8RBA,1/1/90,M,ROMA"});
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, "I dati contengono caratteri non validi (il testo non è UTF-8).\n");
}

TEST_F(Executable, FullStandardOutputIsAFailure)
{
    for (const char* arguments :
         {"BIANCHI,LUCIA,3/7/85,F,ROMA", "--check BNCLCU85L43H501J", "--check BNCLCU85L43H501J 12345678903",
          "--omocodici BNCLCU85L43H501J", "--luoghi ROMA", "--help", "--batch /dev/stdin"}) {
        const ProcessResult result =
            Shell(std::string("echo BIANCHI,LUCIA,3/7/85,F,ROMA | \"$0\" ") + arguments + " >/dev/full");
        EXPECT_EQ(result.exitStatus, 2) << arguments;
        EXPECT_NE(result.err.find("scrittura dello standard output non riuscita"), std::string::npos)
            << arguments << ": " << result.err;
        EXPECT_EQ(result.err.find("No space"), std::string::npos) << arguments << ": " << result.err;
    }
    const ProcessResult single = Shell("\"$0\" BIANCHI,LUCIA,3/7/85,F,ROMA >/dev/full");
    EXPECT_NE(single.err.find("scrittura dello standard output non riuscita: spazio su disco esaurito"),
              std::string::npos)
        << single.err;
    EXPECT_FALSE(PlaceFileExists());
}

// A display that is named but does not answer never ends the program
// abnormally: the code is printed and the clipboard's trouble reported.
TEST_F(Executable, BrokenDisplaysAreReportedNotFatal)
{
    for (const std::string variable : {"DISPLAY=:9999", "WAYLAND_DISPLAY=wayland-none"}) {
        const ProcessResult result =
            RunProcess({CF_EXECUTABLE, "BIANCHI,LUCIA,3/7/85,F,ROMA,1"},
                       {"PATH=/usr/bin:/bin", "XDG_RUNTIME_DIR=" + workDirectory_.path(), variable});
        EXPECT_EQ(result.exitStatus, 0) << variable;
        EXPECT_EQ(result.out, "BNCLCU85L43H501J\n") << variable;
        EXPECT_NE(result.err.find("il codice non è negli appunti"), std::string::npos)
            << variable << result.err;
    }
}

TEST_F(Executable, ParallelRunsAllGiveTheRightCode)
{
    // All share one work directory, so they write and delete the same
    // place file under each other's feet.
    constexpr int kRuns = 20;
    const char* const inputs[] = {"BIANCHI,LUCIA,3/7/85,F,ROMA", "VERDI,GIANCARLO,10/02/70,M,MILANO",
                                  "DE LUCA,ANNA MARIA,29/02/00,F,SAN REMO", "FO,IO,01/01/01,M,FRANCIA"};
    const char* const codes[] = {"BNCLCU85L43H501J\n", "VRDGCR70B10F205A\n", "DLCNMR00B69I138Z\n",
                                 "FOXIOX01A01Z110U\n"};
    std::vector<std::unique_ptr<ChildProcess>> children;
    for (int i = 0; i < kRuns; ++i)
        children.push_back(std::make_unique<ChildProcess>(
            std::vector<std::string>{CF_EXECUTABLE, inputs[i % 4]},
            std::vector<std::string>{"XDG_RUNTIME_DIR=" + workDirectory_.path()}));
    for (int i = 0; i < kRuns; ++i) {
        const ProcessResult result = children[i]->Wait(std::chrono::seconds(20));
        EXPECT_EQ(result.exitStatus, 0) << i << ": " << result.err;
        EXPECT_EQ(result.out, codes[i % 4]) << i;
    }
    EXPECT_FALSE(PlaceFileExists());
}

}  // namespace
}  // namespace cf::test
