// The codicefiscale executable run as a process without a display: exit
// statuses, standard output and error, the place file.

#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <memory>

#include "child_process.h"

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
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--nope"}, {"--check"}, {"--version", "x"}}) {
        const ProcessResult result = Run(arguments);
        EXPECT_EQ(result.exitStatus, 2) << arguments.front();
        EXPECT_EQ(result.out, "");
        EXPECT_NE(result.err.find("codicefiscale --help"), std::string::npos) << result.err;
    }
}

TEST_F(Executable, HelpAndVersion)
{
    const ProcessResult version = Run({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, "codicefiscale 1.0.0\n");
    const ProcessResult help = Run({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_NE(help.out.find("codicefiscale BIANCHI,LUCIA,3/7/85,F,ROMA"), std::string::npos);
    EXPECT_NE(help.out.find("--check CODICE"), std::string::npos);
}

TEST_F(Executable, CheckPrintsVerdictAndDecoding)
{
    const ProcessResult correct = Run({"--check", "vrdgcr70b10f205a"});
    EXPECT_EQ(correct.exitStatus, 0);
    EXPECT_EQ(correct.out,
              "Codice Fiscale formalmente corretto\nCognome: VRD\nNome: GCR\n"
              "Data di nascita: 10/02/1970\nSesso: M\nLuogo: MILANO\nProvincia: MI\n");
    const ProcessResult wrong = Run({"--check", "12345678900"});
    EXPECT_EQ(wrong.exitStatus, 1);
    EXPECT_EQ(wrong.out, "Partita IVA formalmente errata\n");
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
