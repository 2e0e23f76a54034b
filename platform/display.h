// SPDX-License-Identifier: MIT
#pragma once
// Whether the program has a desktop to show windows on.

#include <string>

namespace cf::platform {

enum class DisplayState {
    None,         // no display is named: a terminal session, a server
    Reachable,    // a named display accepts a connection
    Unreachable,  // a display is named but does not answer
};

struct DisplayCheck {
    DisplayState state = DisplayState::None;
    std::string problem;  // for Unreachable: which display failed, in Italian
};

// Tries the displays named by WAYLAND_DISPLAY (its socket) and DISPLAY (an
// X server connection). Opens no window and starts no toolkit.
DisplayCheck CheckDisplay();

// CheckDisplay() found a reachable display.
bool DisplayAvailable();

// QT_QPA_PLATFORM asks for a platform without a screen (offscreen,
// minimal): windows would be shown to nobody.
bool ScreenlessPlatformRequested();

}  // namespace cf::platform
