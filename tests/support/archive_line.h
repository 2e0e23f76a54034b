// SPDX-License-Identifier: MIT
#pragma once
// A person as the archive file holds them, for tests that write archives.

#include <string>

#include "engine/code/person.h"

namespace cf::test {

// The archive line of a person (ASCII fields), without its line end:
// surname, first name, code, sex, date, place, province, each in double
// quotes.
inline std::string ArchiveLine(const Person& person)
{
    std::string line;
    for (const std::string* field : {&person.surname, &person.firstName, &person.code, &person.sex,
                                     &person.birthDate, &person.place, &person.province})
        line += (line.empty() ? "\"" : ",\"") + *field + "\"";
    return line;
}

}  // namespace cf::test
