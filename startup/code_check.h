#pragma once
// The --check option: verifies a codice fiscale or a Partita IVA and
// decodes a correct codice fiscale, as lines of text for a terminal.

#include <string>
#include <string_view>
#include <vector>

namespace cf {

struct CodeCheckOutput {
    std::vector<std::string> lines;
    int exitStatus;  // 0 formally correct, 1 otherwise
};

// Upper-cases the code, then: 16 characters are checked as a codice fiscale
// (a correct one is decoded into "Cognome: ...", "Nome: ...",
// "Data di nascita: ...", "Sesso: ...", "Luogo: ...", "Provincia: ...", and
// "Avviso: ..." when the place was not in use on the birth date),
// 11 digits as a Partita IVA; anything else is neither.
CodeCheckOutput RunCodeCheck(std::string_view code, int currentYear);

}  // namespace cf
