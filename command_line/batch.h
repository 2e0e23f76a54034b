// SPDX-License-Identifier: MIT
#pragma once
// The --batch option: the codes of many persons, one a line, in one run.

#include <cstdio>
#include <string>

#include "engine/code/dates.h"

namespace cf {

// Lines longer than this are refused unread.
inline constexpr std::size_t kMaxBatchLineLength = 4096;

struct BatchOutcome {
    int exitStatus;     // 0 every person got a code (and every code to check
                        // belongs to its person), 1 some were refused (or a
                        // code did not belong), 2 the input could not be read
                        // or the output written
    std::string error;  // what failed, for exit status 2
};

// Reads persons as CSV records COGNOME,NOME,DATA,SESSO,LUOGO (fields in
// double quotes may hold commas and line breaks, up to kMaxBatchLineLength
// bytes a record; more fields are ignored, missing ones are empty; a first
// record whose first field is COGNOME is a header and is skipped) and
// writes one record for each, ended by LF: the five fields as given followed by the code
// and, when the place name means other places too on the birth date, the
// warning that names them, or by an empty code and the refusal, as CSV, or
// as a JSON object with the fields "riga", "cognome", "nome", "data",
// "sesso", "luogo", "codice", "errore" and "avviso" (null when there is
// none); "riga" is the number of the record's first line, every line read
// counted. An empty line gives an empty CSV line and no JSON object. Every
// check of the single call applies, in its order. A record whose seventh
// field holds a code (the sixth is unused) has that code checked against its
// person (CheckCodeOfPerson): its CSV record is the five fields, the code the
// data give, the code as given, "sì" or "no" for whether it belongs to the
// person, and the verdict's lines joined by "; "; its JSON object has
// "codice_dato", "corrisponde" (true or false) and "messaggio" besides.
BatchOutcome RunBatch(std::FILE* input, std::FILE* output, bool json, const Date& today);

}  // namespace cf
