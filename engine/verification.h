// SPDX-License-Identifier: MIT
#pragma once
// Formal checks of codice fiscale and Partita IVA, and decoding of a correct
// codice fiscale. Results are data: the windows and the command line show the
// messages themselves, all with the title "Codice fiscale".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dates.h"
#include "engine/message_icon.h"

namespace cf {

bool IsValidPartitaIva(std::string_view text);
bool IsValidCodiceFiscale(std::string_view code);

enum class CodeKind { CodiceFiscale, PartitaIva, Neither };

// 16 characters: codice fiscale; 11 digits: Partita IVA; anything else:
// neither.
CodeKind ClassifyCode(std::string_view text);

// The date in characters 7-11 (year, month letter, day) of a code. Letters
// standing for digits in homocodes are read as those digits. A year later
// than currentYear moves back a century. Nothing when no valid date is there.
std::optional<Date> DecodeBirthDate(std::string_view yearMonthDay, int currentYear);

// 'F' when the day (characters 10-11, homocode letters read as digits) is
// above 40, else 'M'.
char DecodeSex(std::string_view day);

// Characters 12-15 with homocode letters in the three digit positions read as
// digits.
std::string DecodePlaceCode(std::string_view placeCode);

struct Message {
    std::string text;
    MessageIcon icon;
};

struct DecodedCode {
    std::string surnameLetters;
    std::string firstNameLetters;
    std::string birthDate;  // dd/mm/yyyy, empty when the code holds no valid date
    std::string sex;        // "M" or "F", empty when the date is not valid
    std::string placeName;  // its name on the birth date; empty when the cadastral code is unknown
    std::string province;   // the province of the cadastral code
    // Why the place was not in use on the birth date; empty when it was.
    std::string placeWarning;
};

struct CheckReport {
    bool correct = false;
    std::vector<Message> messages;       // to show in this order
    std::optional<DecodedCode> decoded;  // for a correct codice fiscale
};

// Checks an 11-character text as a Partita IVA and any other text as a
// codice fiscale; a correct codice fiscale is decoded. The place is found by
// its cadastral code: its name on the birth date, or the first name of the
// code when the date is not valid. A birth date whose place was not in use
// then, but was a hundred years earlier, is read a century earlier.
CheckReport CheckAndReport(std::string_view code, int currentYear);

}  // namespace cf
