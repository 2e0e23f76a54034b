// SPDX-License-Identifier: MIT
#pragma once
// What the program is asked to do by its arguments.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cf {

enum class ProgramMode {
    Windowed,    // no argument text: the windows
    PersonData,  // argument text: the command-line mode
    Check,       // --check CODE... or --check -
    Batch,       // --batch [FILE]
    Homocodes,   // --omocodici CODE
    Places,      // --luoghi TEXT
    Export,      // --esporta FILE
    Import,      // --importa FILE
    Help,        // --help, -h
    Version,     // --version, -V
    UsageError,  // an option the program does not know, or misused
};

struct ProgramRequest {
    ProgramMode mode;
    // PersonData: the arguments joined by single blanks; Batch: the file,
    // empty or "-" for standard input; Homocodes: the code; Places: the
    // text; Export, Import: the file; UsageError: what is wrong.
    std::string text;
    std::vector<std::string> codes;  // Check: the codes, or just "-"
    bool json = false;               // --json, with Check and Batch
    bool noGui = false;              // --no-gui: no message box
    // Check: --persona, the person's data the one code is checked against;
    // empty when not given.
    std::string person;
};

// Reads the arguments after the program's name. An argument starting with
// "-" (but "-" alone) is an option, wherever it stands, until "--", after
// which every argument is an operand; the other arguments,
// joined by single blanks, are the argument text (the shell has split it at
// blanks), or the operands of --check and --batch. An option the program
// does not know is a usage error, never a person's data.
ProgramRequest ReadProgramArguments(std::span<const char* const> arguments);

// The text of --help, in Italian, ending in a line end.
std::string_view UsageText();

}  // namespace cf
