// SPDX-License-Identifier: MIT
#include "platform/display.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string_view>

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

}  // namespace

DisplayCheck CheckDisplay()
{
    const char* wayland = Named("WAYLAND_DISPLAY");
    const char* x11 = Named("DISPLAY");
    if (wayland == nullptr && x11 == nullptr)
        return {};
    if ((wayland != nullptr && WaylandAnswers(wayland)) || (x11 != nullptr && XServerAnswers()))
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
