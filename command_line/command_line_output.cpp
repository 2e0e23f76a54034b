// SPDX-License-Identifier: MIT
#include "command_line/command_line_output.h"

#include <QApplication>
#include <QString>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "engine/storage/system_error.h"
#include "platform/clipboard.h"
#include "platform/display.h"
#include "platform/end_signals.h"
#include "platform/message_box.h"

namespace cf {
namespace {

void ReportDisplayProblem(const char* problem)
{
    std::fprintf(stderr, "codicefiscale: il codice non è negli appunti: %s.\n", problem);
}

enum class ToolkitOutcome { Done, Failed, NoAnswer, EndSignal };

// Runs the toolkit's part (clipboard without our own server, message box) in
// a child process: a toolkit that cannot use the display aborts there, and
// this process reports it and ends normally. The child says when the
// display has answered; it gets kDisplayAnswerTimeoutMs for that, and as
// much again to end when there is no box for the user to read. An end
// signal ends the child and the wait at once.
ToolkitOutcome RunToolkitPart(const CommandLineOutcome& outcome, bool setClipboard, bool showBox, int& argc,
                              char** argv)
{
    int readyPipe[2];
    if (pipe2(readyPipe, O_CLOEXEC) != 0)
        return ToolkitOutcome::Failed;
    const pid_t child = fork();
    if (child == 0) {
        // This process ends it when it must.
        platform::RestoreEndSignals();
        close(readyPipe[0]);
        {
            QApplication application(argc, argv);
            if (setClipboard)
                platform::SetClipboardText(QString::fromStdString(outcome.code));
            const char answered = '1';
            if (write(readyPipe[1], &answered, 1) != 1)
                _exit(1);
            if (showBox)
                platform::ShowMessage(outcome.box->icon, QString::fromStdString(outcome.box->title),
                                      QString::fromStdString(outcome.box->text));
        }
        std::fflush(stderr);
        _exit(0);
    }
    close(readyPipe[1]);
    if (child < 0) {
        close(readyPipe[0]);
        return ToolkitOutcome::Failed;
    }
    // Readable once the display has answered, then once the child has ended.
    platform::WaitOutcome wait = platform::WaitToRead(readyPipe[0], platform::kDisplayAnswerTimeoutMs);
    char answered = 0;
    if (wait == platform::WaitOutcome::Readable && read(readyPipe[0], &answered, 1) == 1)
        wait = platform::WaitToRead(readyPipe[0], showBox ? -1 : platform::kDisplayAnswerTimeoutMs);
    if (wait != platform::WaitOutcome::Readable)
        kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    close(readyPipe[0]);
    if (wait == platform::WaitOutcome::EndSignal)
        return ToolkitOutcome::EndSignal;
    if (wait == platform::WaitOutcome::TimedOut)
        return ToolkitOutcome::NoAnswer;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ToolkitOutcome::Done : ToolkitOutcome::Failed;
}

}  // namespace

int DeliverCommandLineOutcome(const CommandLineOutcome& outcome, bool noGui, int& argc, char** argv)
{
    int status = outcome.exitStatus;
    if (outcome.computed)
        std::printf("%s\n", outcome.code.c_str());
    if (!outcome.warning.empty())
        std::fprintf(stderr, "Avviso: %s\n", outcome.warning.c_str());
    if (!outcome.computed && outcome.box)
        std::fprintf(stderr, "%s\n", outcome.box->text.c_str());
    // Nothing buffered may be duplicated into the clipboard server.
    errno = 0;
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "codicefiscale: scrittura dello standard output non riuscita: %s\n",
                     (errno != 0 ? cf::SystemErrorText(errno) : "scrittura incompleta").c_str());
        status = kExitUsage;
    }
    std::fflush(stderr);

    // Each step below that waits on the display ends early on an end
    // signal; what follows it is then skipped.
    const platform::DisplayCheck display = platform::CheckDisplay();
    if (platform::EndSignalReceived() != 0)
        return status;
    if (display.state == platform::DisplayState::Unreachable && outcome.computed)
        ReportDisplayProblem(display.problem.c_str());
    if (display.state != platform::DisplayState::Reachable)
        return status;

    const bool screenless = platform::ScreenlessPlatformRequested();
    const bool keptByServer = outcome.computed && platform::KeepOnClipboardAfterExit(outcome.code);
    if (platform::EndSignalReceived() != 0)
        return status;
    if (outcome.computed && !keptByServer && screenless)
        ReportDisplayProblem("QT_QPA_PLATFORM chiede una piattaforma senza schermo");
    const bool setClipboard = outcome.computed && !keptByServer && !screenless;
    const bool showBox = outcome.box && !noGui && !screenless;
    if (!setClipboard && !showBox)
        return status;
    const ToolkitOutcome toolkit = RunToolkitPart(outcome, setClipboard, showBox, argc, argv);
    if (toolkit == ToolkitOutcome::Failed || toolkit == ToolkitOutcome::NoAnswer) {
        const bool silent = toolkit == ToolkitOutcome::NoAnswer;
        if (setClipboard)
            ReportDisplayProblem(silent ? "lo schermo non risponde"
                                        : "il sistema grafico non ha potuto usare lo schermo");
        else
            std::fprintf(stderr, "codicefiscale: %s.\n",
                         silent ? "lo schermo non risponde: il messaggio non è mostrato"
                                : "il sistema grafico non ha potuto mostrare il messaggio");
    }
    return status;
}

}  // namespace cf
