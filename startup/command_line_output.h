#pragma once
// Delivers the outcome of the command-line mode: standard output and error,
// and, when there is a display, the clipboard and the message box.

#include "startup/command_line.h"

namespace cf {

// Prints the code (with a line end) to standard output or the refusal to
// standard error. With a display, a computed code also goes to the
// clipboard, where it stays after the program ends, and the message box is
// shown after that. The GUI toolkit starts only when a box is shown (or the
// clipboard has no other way in). Returns the exit status.
int DeliverCommandLineOutcome(const CommandLineOutcome& outcome, int& argc, char** argv);

}  // namespace cf
