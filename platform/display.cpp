// SPDX-License-Identifier: MIT
#include "platform/display.h"

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/end_signals.h"

// After Qt's headers, which Xlib's macros (Bool, Status) would break.
#ifdef CF_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace cf::platform {
namespace {

const char* Named(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0' ? value : nullptr;
}

// Connects to the Wayland compositor's socket and hangs up at once.
bool WaylandAnswers(const char* display)
{
    std::string path = display;
    if (path.front() != '/') {
        const char* runtime = Named("XDG_RUNTIME_DIR");
        if (runtime == nullptr)
            return false;
        path = std::string(runtime) + "/" + path;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.size() >= sizeof address.sun_path)
        return false;
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    const int socketFd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (socketFd < 0)
        return false;
    const bool connected =
        connect(socketFd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    close(socketFd);
    return connected;
}

bool XServerAnswers()
{
#ifdef CF_HAVE_X11
    // A DISPLAY left over from a closed session must not make the toolkit
    // abort later: try the connection first.
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr)
        return false;
    XCloseDisplay(display);
#endif
    return true;
}

// Asks the displays in a child process, which writes '1' when one answers:
// a display that takes the connection and never replies holds the child,
// which is ended after kDisplayAnswerTimeoutMs, and not this process.
bool AnswersInTime(const char* wayland, const char* x11)
{
    int answerPipe[2];
    if (pipe2(answerPipe, O_CLOEXEC) != 0)
        return false;
    const pid_t child = fork();
    if (child == 0) {
        RestoreEndSignals();
        const char answer =
            (wayland != nullptr && WaylandAnswers(wayland)) || (x11 != nullptr && XServerAnswers()) ? '1'
                                                                                                    : '0';
        if (write(answerPipe[1], &answer, 1) != 1) {
            // The parent has stopped waiting.
        }
        _exit(0);
    }
    close(answerPipe[1]);
    char answer = '0';
    if (child > 0) {
        if (WaitToRead(answerPipe[0], kDisplayAnswerTimeoutMs) != WaitOutcome::Readable
            || read(answerPipe[0], &answer, 1) != 1)
            answer = '0';
        kill(child, SIGKILL);
        while (waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }
    close(answerPipe[0]);
    return answer == '1';
}

}  // namespace

DisplayCheck CheckDisplay()
{
    const char* wayland = Named("WAYLAND_DISPLAY");
    const char* x11 = Named("DISPLAY");
    if (wayland == nullptr && x11 == nullptr)
        return {};
    if (AnswersInTime(wayland, x11))
        return {DisplayState::Reachable, {}};
    std::string problem;
    if (wayland != nullptr && x11 != nullptr)
        problem = std::string("né lo schermo Wayland ") + wayland + " né lo schermo X " + x11 + " rispondono";
    else if (wayland != nullptr)
        problem = std::string("lo schermo Wayland ") + wayland + " non risponde";
    else
        problem = std::string("lo schermo X ") + x11 + " non risponde";
    return {DisplayState::Unreachable, problem};
}

bool DisplayAvailable()
{
    return CheckDisplay().state == DisplayState::Reachable;
}

bool ScreenlessPlatformRequested()
{
    const char* platform = Named("QT_QPA_PLATFORM");
    if (platform == nullptr)
        return false;
    const std::string_view name = std::string_view(platform).substr(0, std::string_view(platform).find(':'));
    return name == "offscreen" || name == "minimal";
}

}  // namespace cf::platform
