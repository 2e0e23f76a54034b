// SPDX-License-Identifier: MIT
#include "platform/end_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace cf::platform {
namespace {

// The signal handler writes the signal's number here; the event loop reads
// it. A pipe is all a handler may safely touch.
int signalPipe[2] = {-1, -1};

void NoteSignal(int signal)
{
    const int savedErrno = errno;
    const char number = static_cast<char>(signal);
    if (::write(signalPipe[1], &number, 1) < 0) {
        // A full pipe already holds a signal for the loop.
    }
    errno = savedErrno;
}

}  // namespace

void CatchEndSignals()
{
    if (signalPipe[0] < 0 && ::pipe2(signalPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(signal, &action, nullptr);
}

void OnEndSignal(QObject* context, std::function<void()> end)
{
    if (signalPipe[0] < 0)
        return;
    auto* notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [end = std::move(end)] {
        char numbers[16];
        while (::read(signalPipe[0], numbers, sizeof numbers) > 0) {
        }
        end();
    });
}

}  // namespace cf::platform
