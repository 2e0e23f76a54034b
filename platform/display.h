#pragma once
// Whether the program has a desktop to show windows on.

namespace cf::platform {

// True when WAYLAND_DISPLAY names a Wayland display, or DISPLAY names an X
// server that accepts a connection. Opens no window and starts no toolkit.
bool DisplayAvailable();

}  // namespace cf::platform
