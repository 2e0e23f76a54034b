// SPDX-License-Identifier: MIT
#pragma once
// Whether a codice fiscale belongs to a person: the code compared part by
// part with the person's data as typed, as an office compares a code with
// the documents it comes with. A homocode of the person's code belongs to
// the person, and so does the code of any place the typed name (an old name,
// a namesake) means on the birth date.

#include <array>
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/code/code_computation.h"
#include "engine/code/dates.h"
#include "engine/places/birth_place.h"

namespace cf {

// A person's data as typed: names in either case, the date day first with a
// two- or four-digit year (as BirthDayOfTypedDate reads it), the sex M or F
// in either case, the place as ResolveBirthPlace reads it (an old name, a
// province in brackets).
struct TypedPerson {
    std::string_view surname;
    std::string_view firstName;
    std::string_view date;
    std::string_view sex;
    std::string_view place;
};

// The parts of a code that come from the person's data, in the code's order.
enum class PersonPart { Surname, FirstName, BirthDate, Sex, Place };

// Why the code and the data could not be compared.
enum class MatchRefusal {
    None,
    CodeNotValid,  // the code is no formally correct codice fiscale
    WrongSex,      // neither M nor F
    InvalidDate,
    UnknownPlace,
    PlaceNotInUse,  // see PersonMatch::place and BirthPlaceRefusal
    SurnameWithoutLetters,
    FirstNameWithoutLetters,
};

struct PersonMatch {
    MatchRefusal refusal = MatchRefusal::None;
    // The code given with its homocode letters read as digits.
    FiscalCode baseCode;
    // Whether the code given is a homocode of baseCode.
    bool homocode = false;
    // The code the data give; where the typed name means several places on
    // the birth date, with the place of the code given when it is one of
    // them.
    FiscalCode dataCode;
    int birthDay = 0;  // yyyymmdd, as the data give it
    // The typed place on the birth day: the row whose code dataCode holds,
    // or the row a refusal is about.
    BirthPlace place;
    bool placePicked = false;  // the place was picked, not only typed
    std::array<PersonPart, 5> differingParts{};
    std::size_t differingCount = 0;

    std::span<const PersonPart> differing() const { return {differingParts.data(), differingCount}; }
    bool corresponds() const { return refusal == MatchRefusal::None && differingCount == 0; }
};

// Compares a code (upper case) with a person's data. The data give their
// code as generation computes it, the place's code on the birth date; a code
// whose place is another place the typed name means on that day (a
// namesake) is compared with that place, unless a row was picked
// (pickedPlaceRow, a row of the embedded catalog, as the windows' drop-down
// gives it). Allocates nothing when the code corresponds to the first place
// of the name.
PersonMatch MatchPerson(std::string_view code, const TypedPerson& person, const Date& today,
                        int pickedPlaceRow = -1);

// The verdict of a comparison without refusal, one line each: "Il codice
// corrisponde ai dati" (for a homocode, with the code it stands for), or
// one line per differing part in the code's order: "Cognome: lettere RSS
// attese, trovate RSI", "Data di nascita: il codice indica 15/03/1980, i
// dati 15/03/1981". The code's two-digit year is shown in the century
// nearest the data's year. `typedPlace` is the place the match was made
// with.
std::vector<std::string> MatchLines(const PersonMatch& match, std::string_view typedPlace);

}  // namespace cf
