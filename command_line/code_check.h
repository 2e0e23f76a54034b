// SPDX-License-Identifier: MIT
#pragma once
// The --check option: verifies codici fiscali and Partite IVA and decodes a
// correct codice fiscale: as lines of text for a terminal for one code, as
// one CSV line or JSON object per code for many.

#include <cstdio>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/code/verification.h"

namespace cf {

struct CodeCheckOutput {
    std::vector<std::string> lines;
    int exitStatus;  // 0 formally correct, 1 otherwise
};

// The code without the blanks, tabs and CRs around it.
std::string_view TrimCode(std::string_view given);

// The verdict on a code as given: blanks, tabs and CRs around it are
// dropped and a-z upper-cased; 16 letters A-Z and digits are a codice
// fiscale, 11 digits a Partita IVA; anything else (any other character, a
// length other than those in characters) is neither.
struct CodeVerdict {
    CodeKind kind = CodeKind::Neither;
    CheckReport report;
};

CodeVerdict JudgeCode(std::string_view given, const Date& today);

// The verdict as lines: 16 characters are checked as a codice fiscale (a
// correct one is decoded into "Cognome: ...", "Nome: ...",
// "Data di nascita: ...", "Sesso: ...", "Luogo: ...", "Provincia: ...", and
// "Avviso: ..." when the place was not in use on the birth date), 11 digits
// as a Partita IVA; anything else is neither.
CodeCheckOutput RunCodeCheck(std::string_view code, const Date& today);

// Appends the verdict as a CSV line: the code as given, the kind ("codice
// fiscale", "partita IVA", "nessuno"), "corretto" or "errato", the decoded
// surname and first-name letters, birth date, sex, place and province, and
// the notes (an unknown place code, no valid date, a place not in use on
// the birth date) joined by "; ".
void AppendVerdictCsv(std::string& out, std::string_view given, const CodeVerdict& verdict);

// The same as a JSON object: "riga" (the code's line or position, from 1),
// "codice", "tipo", "corretto" (true or false), "cognome", "nome",
// "data_nascita", "sesso", "luogo", "provincia", "avviso" (null when empty).
void AppendVerdictJson(std::string& out, long long number, std::string_view given,
                       const CodeVerdict& verdict);

struct CodeListOutcome {
    int exitStatus;     // 0 all correct, 1 any not, 2 input or output failed
    std::string error;  // what failed, for exit status 2
};

// Verdicts on codes given as arguments, one line each.
CodeListOutcome CheckCodes(std::span<const std::string> codes, std::FILE* output, bool json,
                           const Date& today);

// Verdicts on codes read one a line; an empty line (or one of blanks) gives
// an empty CSV line and no JSON object.
CodeListOutcome CheckCodeStream(std::FILE* input, std::FILE* output, bool json, const Date& today);

}  // namespace cf
