#pragma once
// What the program is asked to do by its arguments.

#include <span>
#include <string>
#include <string_view>

namespace cf {

enum class ProgramMode {
    Windowed,    // no argument text: the windows
    PersonData,  // argument text: the command-line mode
    Check,       // --check CODE
    Help,        // --help
    Version,     // --version
    UsageError,  // an option the program does not know, or misused
};

struct ProgramRequest {
    ProgramMode mode;
    // PersonData: the arguments joined by single blanks; Check: the code;
    // UsageError: what is wrong.
    std::string text;
};

// Reads the arguments after the program's name. A first argument starting
// with "--" is an option; otherwise all arguments, joined by single blanks,
// are the argument text (the shell has split it at blanks).
ProgramRequest ReadProgramArguments(std::span<const char* const> arguments);

// The text of --help, in Italian, ending in a line end.
std::string_view UsageText();

}  // namespace cf
