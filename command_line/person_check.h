// SPDX-License-Identifier: MIT
#pragma once
// Whether a code belongs to a person, for scripts: --check CODE --persona
// TEXT, and the --batch records that carry a code to check.

#include <string>
#include <string_view>
#include <vector>

#include "command_line/code_check.h"
#include "command_line/command_line.h"
#include "engine/code/dates.h"

namespace cf {

// Given with a person's data, a Partita IVA or any other text that is no
// codice fiscale.
inline constexpr char kNotACodiceFiscale[] = "Il codice inserito non è un Codice Fiscale";

struct PersonCodeVerdict {
    std::string dataCode;  // the code the data give; empty when they are refused
    bool corresponds = false;
    // The verdict: the engine's lines (MatchLines), or the one reason why the
    // code and the data were not compared: the data's refusal, the code's
    // broken rule, or kNotACodiceFiscale.
    std::vector<std::string> lines;
    std::string refusal;  // why the data are refused, as the single call says it
    // The namesake warning of the single call, when the code the data give
    // is that of the place the name means first.
    std::string warning;
};

// Checks a code as given (blanks, tabs and CRs around it dropped, a-z
// upper-cased) against a person's fields, which every rule of the single
// call holds to: refused data are not compared.
PersonCodeVerdict CheckCodeOfPerson(std::string_view givenCode, const PersonFields& person,
                                    const Date& today);

// --check CODE --persona "COGNOME,NOME,DATA,SESSO,LUOGO" (fields cut at the
// commas as in the single call): the verdict's lines, and exit status 0 when
// the code corresponds to the person, 1 when it does not.
CodeCheckOutput RunPersonCheck(std::string_view givenCode, std::string_view personText, const Date& today);

}  // namespace cf
