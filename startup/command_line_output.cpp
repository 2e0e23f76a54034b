// SPDX-License-Identifier: MIT
#include "startup/command_line_output.h"

#include <QApplication>
#include <QString>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "engine/system_error.h"
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

// Runs the toolkit's part (clipboard without our own server, message box) in
// a child process: a toolkit that cannot use the display aborts there, and
// this process reports it and ends normally. True when the child succeeded.
bool RunToolkitPart(const CommandLineOutcome& outcome, bool setClipboard, bool showBox, int& argc,
                    char** argv)
{
    const pid_t child = fork();
    if (child == 0) {
        {
            QApplication application(argc, argv);
            if (setClipboard)
                platform::SetClipboardText(QString::fromStdString(outcome.code));
            // An end signal that reaches either process closes the box, so
            // that the place file still goes: the two share the signals'
            // pipe.
            platform::OnEndSignal(&application, [] { QCoreApplication::exit(); });
            if (showBox)
                platform::ShowMessage(outcome.box->icon, QString::fromStdString(outcome.box->title),
                                      QString::fromStdString(outcome.box->text));
        }
        std::fflush(stderr);
        _exit(0);
    }
    if (child < 0)
        return false;
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
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

    const platform::DisplayCheck display = platform::CheckDisplay();
    if (display.state == platform::DisplayState::Unreachable && outcome.computed)
        ReportDisplayProblem(display.problem.c_str());
    if (display.state != platform::DisplayState::Reachable)
        return status;

    const bool screenless = platform::ScreenlessPlatformRequested();
    const bool keptByServer = outcome.computed && platform::KeepOnClipboardAfterExit(outcome.code);
    if (outcome.computed && !keptByServer && screenless)
        ReportDisplayProblem("QT_QPA_PLATFORM chiede una piattaforma senza schermo");
    const bool setClipboard = outcome.computed && !keptByServer && !screenless;
    const bool showBox = outcome.box && !noGui && !screenless;
    if ((setClipboard || showBox) && !RunToolkitPart(outcome, setClipboard, showBox, argc, argv)) {
        if (setClipboard)
            ReportDisplayProblem("il sistema grafico non ha potuto usare lo schermo");
        else
            std::fputs("codicefiscale: il sistema grafico non ha potuto mostrare il messaggio.\n", stderr);
    }
    return status;
}

}  // namespace cf
