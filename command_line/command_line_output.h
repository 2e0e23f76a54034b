// SPDX-License-Identifier: MIT
#pragma once
// Delivers the outcome of the command-line mode: standard output and error,
// and, when there is a display, the clipboard and the message box.

#include "command_line/command_line.h"

namespace cf {

// Prints the code (with a line end) to standard output or the refusal to
// standard error, and a warning, if any, to standard error as a line
// "Avviso: ...". With a display, a computed code also goes to the
// clipboard, where it stays after the program ends, and the message box is
// shown after that, unless noGui is set or QT_QPA_PLATFORM names a platform
// without a screen. A display that is named but does not answer, answers
// too late (platform::kDisplayAnswerTimeoutMs for each wait) or that the
// toolkit cannot use, is reported on standard error and changes nothing
// else. An end signal (platform::CatchEndSignals) cuts every wait short and
// skips what is left. Returns the exit status: the outcome's, or kExitUsage
// when standard output could not be written.
int DeliverCommandLineOutcome(const CommandLineOutcome& outcome, bool noGui, int& argc, char** argv);

}  // namespace cf
