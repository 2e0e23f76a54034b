// SPDX-License-Identifier: MIT
#include "platform/end_signals.h"

#include <QSocketNotifier>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

namespace cf::platform {
namespace {

// The signal handler writes the signal's number here; the event loop, or a
// wait, sees it. A pipe is all a handler may safely touch.
int signalPipe[2] = {-1, -1};
volatile std::sig_atomic_t firstSignal = 0;

constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

void NoteSignal(int signal)
{
    const int savedErrno = errno;
    if (firstSignal == 0)
        firstSignal = signal;
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
    for (const int signal : kEndSignals)
        ::sigaction(signal, &action, nullptr);
}

int EndSignalReceived()
{
    return firstSignal;
}

void RestoreEndSignals()
{
    for (const int signal : kEndSignals)
        std::signal(signal, SIG_DFL);
    for (int& end : signalPipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
    firstSignal = 0;
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

WaitOutcome WaitToRead(int fd, int timeoutMs)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        if (firstSignal != 0)
            return WaitOutcome::EndSignal;
        int left = -1;
        if (timeoutMs >= 0) {
            const auto remaining = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
            left = remaining.count() > 0 ? static_cast<int>(remaining.count()) : 0;
        }
        // The signal's pipe is only looked at, never read: the event loop
        // of a windowed program still finds the signal there.
        pollfd watched[2] = {{fd, POLLIN, 0}, {signalPipe[0], POLLIN, 0}};
        const int ready = ::poll(watched, 2, left);
        if (firstSignal != 0)
            return WaitOutcome::EndSignal;
        if (ready > 0 && watched[0].revents != 0)
            return WaitOutcome::Readable;
        if (ready == 0)
            return WaitOutcome::TimedOut;
        if (ready < 0 && errno != EINTR)
            return WaitOutcome::TimedOut;
    }
}

}  // namespace cf::platform
