// SPDX-License-Identifier: MIT
// The executable under a real X server (Xvfb, started here): the code stays
// on the clipboard after the program has ended, a refusal leaves the
// clipboard alone, and message boxes appear and are answered with xdotool.

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "child_process.h"
#include "test_files.h"

namespace cf::test {
namespace {

using std::chrono::seconds;

class X11Clipboard : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        for (const char* tool : {"Xvfb", "xclip", "xdotool"}) {
            if (FindProgram(tool).empty()) {
                missing_ = std::string(tool) + " is not installed";
                return;
            }
        }
        // Xvfb picks a free display number itself and reports it once ready.
        server_ = std::make_unique<ChildProcess>(
            std::vector<std::string>{"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-noreset"},
            std::vector<std::string>{"PATH=/usr/bin:/bin"});
        std::string number = server_->ReadLine(seconds(10));
        if (number.empty()) {
            missing_ = "Xvfb did not start";
            server_.reset();
            return;
        }
        number.pop_back();
        display_ = ":" + number;
    }

    static void TearDownTestSuite()
    {
        // Closing the server also ends the programs still serving the clipboard.
        server_.reset();
    }

    void SetUp() override
    {
        if (!missing_.empty())
            GTEST_SKIP() << "X11 tests skipped: " << missing_;
    }

    // A toolkit that found no session bus would have launched one, which
    // leaves its folder in the runtime folder.
    void TearDown() override
    {
        EXPECT_FALSE(std::filesystem::exists(workDirectory_.path() + "/dbus-1"))
            << "a D-Bus daemon was launched for the program";
    }

    // The session bus of the test's private D-Bus session goes along: without
    // one, the toolkit of a message box would launch a bus of its own.
    std::vector<std::string> Environment() const
    {
        std::vector<std::string> environment{"PATH=/usr/bin:/bin", "DISPLAY=" + display_,
                                             "XDG_RUNTIME_DIR=" + workDirectory_.path()};
        if (const char* bus = std::getenv("DBUS_SESSION_BUS_ADDRESS"))
            environment.push_back(std::string("DBUS_SESSION_BUS_ADDRESS=") + bus);
        return environment;
    }

    std::vector<std::string> Program(const std::string& arguments) const
    {
        return {CF_EXECUTABLE, arguments};
    }

    std::string Clipboard() const
    {
        return RunProcess({"xclip", "-selection", "clipboard", "-o"}, Environment(), seconds(5)).out;
    }

    // Waits for a box with this title to show.
    bool WaitForBox(const std::string& title) const
    {
        return !RunProcess({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^" + title + "$"},
                           Environment(), seconds(10))
                    .out.empty();
    }

    // Waits for the box with this title and presses Enter on it (and lets
    // go of it: a key left down repeats into the next box).
    bool AnswerBox(const std::string& title) const
    {
        const ProcessResult found =
            RunProcess({"xdotool", "search", "--sync", "--onlyvisible", "--name", "^" + title + "$"},
                       Environment(), seconds(10));
        if (found.out.empty())
            return false;
        const std::string window = found.out.substr(0, found.out.find('\n'));
        const bool pressed =
            RunProcess({"xdotool", "keydown", "--window", window, "Return"}, Environment(), seconds(5))
                .exitStatus
            == 0;
        RunProcess({"xdotool", "keyup", "Return"}, Environment(), seconds(5));
        return pressed;
    }

    static inline std::unique_ptr<ChildProcess> server_;
    static inline std::string display_;
    static inline std::string missing_;
    TemporaryDirectory workDirectory_;
};

TEST_F(X11Clipboard, CodeStaysOnTheClipboardAfterTheProgramEnded)
{
    // The run ends only when its output is closed: a clipboard server that
    // kept it open would make this time out.
    const ProcessResult first = RunProcess(Program("BIANCHI,LUCIA,3/7/85,F,ROMA"), Environment());
    EXPECT_EQ(first.exitStatus, 0);
    EXPECT_EQ(first.out, "BNCLCU85L43H501J\n");
    EXPECT_EQ(Clipboard(), "BNCLCU85L43H501J");

    const ProcessResult second = RunProcess(Program("VERDI,GIANCARLO,10/02/70,M,MILANO"), Environment());
    EXPECT_EQ(second.exitStatus, 0);
    EXPECT_EQ(Clipboard(), "VRDGCR70B10F205A");
}

TEST_F(X11Clipboard, RefusedDataLeavesTheClipboardAlone)
{
    ASSERT_EQ(RunProcess(Program("VERDI,GIANCARLO,10/02/70,M,MILANO"), Environment()).exitStatus, 0);

    ChildProcess refused(Program("ROSSI,MARIO,31/02/85,M,ROMA"), Environment());
    EXPECT_TRUE(AnswerBox("Codice fiscale"));
    const ProcessResult result = refused.Wait(seconds(10));
    EXPECT_EQ(result.exitStatus, 1);
    EXPECT_EQ(result.err, "La data non è in formato valido.\n");
    EXPECT_EQ(Clipboard(), "VRDGCR70B10F205A");
}

TEST_F(X11Clipboard, SixthFieldShowsTheCodeOnceItIsOnTheClipboard)
{
    ChildProcess shown(Program("DE LUCA,ANNA MARIA,29/02/00,F,SAN REMO,0"), Environment());
    ASSERT_TRUE(WaitForBox("Codice Fiscale")) << "no box titled Codice Fiscale";
    EXPECT_EQ(Clipboard(), "DLCNMR00B69I138Z");
    EXPECT_TRUE(AnswerBox("Codice Fiscale"));
    const ProcessResult result = shown.Wait(seconds(10));
    EXPECT_EQ(result.exitStatus, 0);
    EXPECT_EQ(result.out, "DLCNMR00B69I138Z\n");
}

// Whoever lists the processes must not read the person's data off the
// server that keeps the code on the clipboard (it used to show the whole
// command line until another program took the clipboard).
TEST_F(X11Clipboard, ClipboardServerShowsNoPersonalDataInTheProcessList)
{
    ASSERT_EQ(RunProcess(Program("BIANCHI,LUCIA,3/7/85,F,ROMA"), Environment()).exitStatus, 0);
    ASSERT_EQ(Clipboard(), "BNCLCU85L43H501J");

    const std::filesystem::path program = std::filesystem::canonical(CF_EXECUTABLE);
    int servers = 0;
    for (const auto& process : std::filesystem::directory_iterator("/proc")) {
        std::error_code error;
        if (std::filesystem::read_symlink(process.path() / "exe", error) != program)
            continue;
        // Only this test's programs: those of other tests running meanwhile
        // (given the same person) work on other displays.
        if (ReadFileBytes(process.path() / "environ").find("DISPLAY=" + display_ + '\0') == std::string::npos)
            continue;
        ++servers;
        for (const char* shown : {"cmdline", "environ"}) {
            const std::string text = ReadFileBytes(process.path() / shown);
            for (const char* data : {"BIANCHI", "LUCIA", "3/7/85", "ROMA", "BNCLCU85L43H501J"})
                EXPECT_EQ(text.find(data), std::string::npos)
                    << shown << " of " << process.path() << " shows " << data;
        }
    }
    EXPECT_GE(servers, 1) << "no process serves the clipboard";
}

// A box showing the code is closed by an end signal, the run ends with the
// status a shell gives for the signal, and the program still removes its
// place file.
TEST_F(X11Clipboard, EndSignalClosesTheShownCodeAndCleansUp)
{
    ChildProcess shown(Program("BIANCHI,LUCIA,3/7/85,F,ROMA,1"), Environment());
    ASSERT_TRUE(WaitForBox("Codice Fiscale")) << "no box titled Codice Fiscale";
    shown.Signal(SIGTERM);
    const ProcessResult result = shown.Wait(seconds(10));
    EXPECT_FALSE(result.timedOut);
    EXPECT_EQ(result.exitStatus, 128 + SIGTERM);
    EXPECT_FALSE(std::filesystem::exists(workDirectory_.path() + "/codicefiscale/varnel.cod"));
    EXPECT_EQ(Clipboard(), "BNCLCU85L43H501J");
}

// Nothing blocks a script: with --no-gui, or on a platform without a
// screen, the run ends by itself, with no box to answer.
TEST_F(X11Clipboard, NoBoxWithNoGuiOrAScreenlessPlatform)
{
    const ProcessResult shown =
        RunProcess({CF_EXECUTABLE, "--no-gui", "BIANCHI,LUCIA,3/7/85,F,ROMA,1"}, Environment(), seconds(10));
    EXPECT_FALSE(shown.timedOut);
    EXPECT_EQ(shown.exitStatus, 0);
    EXPECT_EQ(shown.out, "BNCLCU85L43H501J\n");
    EXPECT_EQ(Clipboard(), "BNCLCU85L43H501J") << "--no-gui still fills the clipboard";

    const ProcessResult refused =
        RunProcess({CF_EXECUTABLE, "ROSSI,MARIO,31/02/85,M,ROMA", "--no-gui"}, Environment(), seconds(10));
    EXPECT_FALSE(refused.timedOut);
    EXPECT_EQ(refused.exitStatus, 1);
    EXPECT_EQ(refused.err, "La data non è in formato valido.\n");

    for (const char* platform : {"offscreen", "minimal"}) {
        std::vector<std::string> environment = Environment();
        environment.push_back(std::string("QT_QPA_PLATFORM=") + platform);
        const ProcessResult result =
            RunProcess({CF_EXECUTABLE, "VERDI,GIANCARLO,10/02/70,M,MILANO,1"}, environment, seconds(10));
        EXPECT_FALSE(result.timedOut) << platform;
        EXPECT_EQ(result.exitStatus, 0) << platform;
        EXPECT_EQ(Clipboard(), "VRDGCR70B10F205A") << platform;
        const ProcessResult wrong =
            RunProcess({CF_EXECUTABLE, "VERDI,GIANCARLO,10/02/70,X,MILANO"}, environment, seconds(10));
        EXPECT_FALSE(wrong.timedOut) << platform;
        EXPECT_EQ(wrong.exitStatus, 1) << platform;
    }
}

TEST_F(X11Clipboard, BatchAndCheckNeverTouchTheClipboard)
{
    ASSERT_EQ(RunProcess(Program("VERDI,GIANCARLO,10/02/70,M,MILANO"), Environment()).exitStatus, 0);
    const ProcessResult batch =
        RunProcess({"/bin/sh", "-c", "echo BIANCHI,LUCIA,3/7/85,F,ROMA,1 | \"$0\" --batch", CF_EXECUTABLE},
                   Environment());
    EXPECT_EQ(batch.exitStatus, 0);
    EXPECT_EQ(batch.out, "BIANCHI,LUCIA,3/7/85,F,ROMA,BNCLCU85L43H501J,\n");
    EXPECT_EQ(Clipboard(), "VRDGCR70B10F205A");
}

}  // namespace
}  // namespace cf::test
