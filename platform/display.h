// SPDX-License-Identifier: MIT
#pragma once
// Whether the program has a desktop to show windows on.

#include <string>

namespace cf::platform {

// How long the program waits for a display to answer before it goes on
// without it: a frozen desktop or a stalled remote session must not hold a
// command-line run.
constexpr int kDisplayAnswerTimeoutMs = 2000;

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
// X server connection), in a child process that is given
// kDisplayAnswerTimeoutMs: one that has not answered by then counts as not
// answering. Opens no window and starts no toolkit. An end signal
// (CatchEndSignals) cuts the wait short: see EndSignalReceived().
DisplayCheck CheckDisplay();

// CheckDisplay() found a reachable display.
bool DisplayAvailable();

// QT_QPA_PLATFORM asks for a platform without a screen (offscreen,
// minimal): windows would be shown to nobody.
bool ScreenlessPlatformRequested();

}  // namespace cf::platform
