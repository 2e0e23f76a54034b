// SPDX-License-Identifier: MIT
#pragma once
// The command-line mode: one person's data as comma-separated fields in
// (surname, first name, date of birth day first, sex, place of birth and an
// optional display flag), the codice fiscale or the reason for refusing the
// data out. Nothing is printed or shown here: the caller does that.

#include <optional>
#include <string>
#include <string_view>

#include "engine/code/code_computation.h"
#include "engine/code/dates.h"
#include "engine/code/message_icon.h"
#include "engine/code/person_match.h"

namespace cf {

enum ExitStatus : int {
    kExitSuccess = 0,  // code computed, or found formally correct
    kExitRefused = 1,  // data refused, or code formally wrong
    kExitUsage = 2,    // arguments the program does not understand, or
                       // input or output that cannot be read or written
};

// A message box to show.
struct BoxMessage {
    std::string title;
    std::string text;
    MessageIcon icon;
};

struct CommandLineOutcome {
    bool computed = false;
    std::string code;               // the 16 characters, when computed
    std::optional<BoxMessage> box;  // the refusal, or the code when the display flag is set
    std::string warning;            // a code computed for one of several places of the name
    int exitStatus = kExitRefused;
};

// Checks the fields in a fixed order (sex, date, place, missing data) and
// computes the code. The place is looked up in the embedded table, so runs
// in parallel never depend on each other's "varnel.cod"; its code is the one
// it had on the birth date. A two-digit year is the latest such year not
// after today; a place not in use then is refused, with the four-digit year
// to write when it was in use a century earlier.
CommandLineOutcome RunCommandLine(std::string_view arguments, const Date& today);

// The five fields of a person, as given (untrimmed, in any case).
using PersonFields = TypedPerson;

// The code of a person, or why the data are refused.
struct PersonCode {
    std::optional<FiscalCode> code;
    std::string refusal;  // the message, when there is no code
    // With a code: the other places the bare place name means on the birth
    // date (NamesakeWarning); empty when there are none.
    std::string warning;
    // With a code: the place's row in the embedded catalog and the birth
    // date written dd/mm/yy, as the archive keeps them.
    int placeRow = -1;
    std::string birthDate;
};

// The checks and the computation of RunCommandLine over fields already cut.
// Data that are not valid UTF-8 are refused before any other check.
PersonCode ComputePersonCode(const PersonFields& person, const Date& today);

}  // namespace cf
