// SPDX-License-Identifier: MIT
#pragma once
// One person as the program keeps them: what the generation window holds,
// what an archive line stores, what the card and the printouts show.

#include <string>

namespace cf {

struct Person {
    std::string surname;
    std::string firstName;
    std::string sex;        // "M" or "F"
    std::string birthDate;  // gg/mm/aa
    std::string place;      // the place of birth, without a province in brackets
    std::string province;   // two letters, "EE" for a foreign state
    std::string code;       // the codice fiscale

    auto operator<=>(const Person&) const = default;
};

}  // namespace cf
