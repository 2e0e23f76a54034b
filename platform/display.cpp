#include "platform/display.h"

#include <cstdlib>

#ifdef CF_HAVE_X11
#include <X11/Xlib.h>
#endif

namespace cf::platform {
namespace {

bool Named(const char* variable)
{
    const char* value = std::getenv(variable);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool DisplayAvailable()
{
    if (Named("WAYLAND_DISPLAY"))
        return true;
    if (!Named("DISPLAY"))
        return false;
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

}  // namespace cf::platform
