// SPDX-License-Identifier: MIT
// The codicefiscale executable run as a process without a display: exit
// statuses, standard output and error, the place file.

#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstddef>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "child_process.h"
#include "test_files.h"

namespace cf::test {
namespace {

using namespace std::chrono_literals;

// Queues connections and never reads or writes. A name starting with NUL is
// an abstract socket, where the X libraries look first.
int SilentSocket(const std::string& name)
{
    sockaddr_un address{AF_UNIX, {}};
    name.copy(address.sun_path, sizeof address.sun_path - 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const auto size = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
    if (bind(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0 && listen(fd, 64) == 0)
        return fd;
    close(fd);
    return -1;
}

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
        EXPECT_EQ(version.out, "codicefiscale 1.1.0\n");
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

TEST_F(Executable, CheckWithAPersonSaysWhetherTheCodeIsTheirs)
{
    const ProcessResult theirs =
        Run({"--check", "BNCLCU85L43H501J", "--persona", "Bianchi,Lucia,3/7/85,F,Roma"});
    EXPECT_EQ(theirs.exitStatus, 0);
    EXPECT_EQ(theirs.out, "Il codice corrisponde ai dati\n");
    const ProcessResult others =
        Run({"--persona=BIANCHI,LUCIA,3/7/1986,F,MILANO", "--check=BNCLCU85L43H501J"});
    EXPECT_EQ(others.exitStatus, 1);
    EXPECT_EQ(others.out, "Data di nascita: il codice indica 03/07/1985, i dati 03/07/1986\n"
                          "Luogo: il codice indica ROMA (RM, H501), i dati MILANO (MI, F205)\n");
    EXPECT_EQ(others.err, "");
    EXPECT_FALSE(PlaceFileExists());
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

// A display that takes the connection and never answers (a frozen desktop,
// a stalled ssh -X): every run ends, an end signal at once, and nothing is
// left waiting on it. The runs go side by side, as each waits it out.
TEST_F(Executable, SilentDisplayHoldsNoRun)
{
    std::string display;
    int x11 = -1;
    for (int number = 6000 + getpid() % 1000; x11 < 0 && number < 7100; ++number) {
        display = ":" + std::to_string(number);
        x11 = SilentSocket(std::string(1, '\0') + "/tmp/.X11-unix/X" + std::to_string(number));
    }
    const std::string wayland = workDirectory_.path() + "/wayland";
    const int waylandFd = SilentSocket(wayland);
    ASSERT_TRUE(x11 >= 0 && waylandFd >= 0);
    // With the Wayland socket taking the connection, the clipboard server
    // and the toolkit meet the silent X display.
    const std::vector<std::string> silent{"DISPLAY=" + display},
        silentLater{"DISPLAY=" + display, "WAYLAND_DISPLAY=" + wayland, "QT_QPA_PLATFORM=xcb"};
    const std::string notCopied = "codicefiscale: il codice non è negli appunti: lo schermo ";
    const struct {
        std::vector<std::string> environment;
        int signal, status;
        std::string err;
    } cases[] = {{silent, 0, 0, notCopied + "X " + display + " non risponde.\n"},
                 {silentLater, 0, 0, notCopied + "non risponde.\n"},
                 {silent, SIGTERM, 128 + SIGTERM, ""},
                 {silentLater, SIGINT, 128 + SIGINT, ""},
                 {silent, -1, 2, "codicefiscale: nessuno schermo disponibile"}};  // the windows
    std::vector<std::unique_ptr<ChildProcess>> runs;
    for (const auto& c : cases) {
        std::vector<std::string> environment = c.environment;
        environment.push_back("XDG_RUNTIME_DIR=" + workDirectory_.path());
        runs.push_back(std::make_unique<ChildProcess>(
            c.signal < 0 ? std::vector<std::string>{CF_EXECUTABLE}
                         : std::vector<std::string>{CF_EXECUTABLE, "BIANCHI,LUCIA,3/7/85,F,ROMA,1"},
            environment));
        // The code is printed before the display is asked.
        if (c.signal > 0 && runs.back()->ReadLine(30s) == "BNCLCU85L43H501J\n")
            runs.back()->Signal(c.signal);
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const ProcessResult result = runs[i]->Wait(30s);
        EXPECT_FALSE(result.timedOut) << "run " << i << " waits on the display for good";
        EXPECT_EQ(result.exitStatus, cases[i].status) << i;
        EXPECT_TRUE(result.err.starts_with(cases[i].err)) << i << ": " << result.err;
    }
    EXPECT_FALSE(PlaceFileExists());
    // Every connection made to the display ends, the clipboard servers' too.
    for (int connection; (connection = accept(x11, nullptr, nullptr)) >= 0; close(connection)) {
        const timeval limit{10, 0};
        setsockopt(connection, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
        char bytes[256];
        ssize_t got;
        while ((got = read(connection, bytes, sizeof bytes)) > 0) {
        }
        EXPECT_EQ(got, 0) << "a process still waits on the display";
    }
    close(x11);
    close(waylandFd);
}

// Another user who lists the processes (ps, /proc/PID/cmdline) must not
// read the person's data, codes or files asked for: every mode has blanked
// its arguments by the time it writes (and waits there, on a full pipe).
TEST_F(Executable, ArgumentsAreBlankedInEveryMode)
{
    if (!ReadFileBytes("/proc/self/syscall").starts_with("0 "))
        GTEST_SKIP() << "/proc/PID/syscall cannot be read here";
    const std::string persons = workDirectory_.path() + "/persone-riservate.csv";
    std::ofstream(persons) << "BIANCHI,LUCIA,3/7/85,F,ROMA\n";
    const std::vector<std::string> modes[] = {{"BIANCHI,LUCIA,3/7/85,F,ROMA"},
                                              {"--check", "--json", "BNCLCU85L43H501J", "12345678903"},
                                              {"--omocodici", "BNCLCU85L43H501J"},
                                              {"--luoghi", "FORLI"},
                                              {"--batch", persons}};
    std::vector<std::unique_ptr<ChildProcess>> programs;
    for (const std::vector<std::string>& arguments : modes) {
        std::vector<std::string> command{CF_EXECUTABLE};
        command.insert(command.end(), arguments.begin(), arguments.end());
        programs.push_back(std::make_unique<ChildProcess>(
            command, std::vector<std::string>{"XDG_RUNTIME_DIR=" + workDirectory_.path()},
            ChildProcess::Output::Held));
    }
    for (std::size_t i = 0; i < programs.size(); ++i) {
        const std::string process = "/proc/" + std::to_string(programs[i]->pid());
        // System call 1 (write) on descriptor 1.
        for (int waited = 0; waited < 20000 && !ReadFileBytes(process + "/syscall").starts_with("1 0x1 ");
             ++waited)
            std::this_thread::sleep_for(1ms);
        const std::string shown = ReadFileBytes(process + "/cmdline");
        EXPECT_EQ(programs[i]->Wait(20s).exitStatus, 0) << modes[i].back();
        // The program's name, then only NULs.
        EXPECT_EQ(shown.find_first_not_of('\0', shown.find('\0')), std::string::npos)
            << modes[i].back() << " is shown to other users";
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
    for (std::size_t i = 0; i < children.size(); ++i) {
        const ProcessResult result = children[i]->Wait(std::chrono::seconds(20));
        EXPECT_EQ(result.exitStatus, 0) << i << ": " << result.err;
        EXPECT_EQ(result.out, codes[i % 4]) << i;
    }
    EXPECT_FALSE(PlaceFileExists());
}

}  // namespace
}  // namespace cf::test
