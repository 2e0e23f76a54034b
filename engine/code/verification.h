// SPDX-License-Identifier: MIT
#pragma once
// Formal checks of codice fiscale and Partita IVA, and decoding of a correct
// codice fiscale. Results are data: the windows and the command line show the
// messages themselves, all with the title "Codice fiscale".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/code/dates.h"
#include "engine/code/message_icon.h"

namespace cf {

bool IsValidPartitaIva(std::string_view text);

// The rules of a codice fiscale's structure, in the order they are checked.
enum class CodeRule {
    None,            // every rule holds: the code is formally correct
    Length,          // 16 characters
    NameLetters,     // 1-6: letters
    YearDigits,      // 7-8: digits or homocode letters
    MonthLetter,     // 9: a month letter
    Day,             // 10-11: digits or homocode letters, a day 01-31 (41-71
                     // for a woman) that the month has
    PlaceLetter,     // 12: a letter
    PlaceDigits,     // 13-15: digits or homocode letters
    CheckCharacter,  // 16: the check character of the first fifteen
};

// The first rule the code (upper case) breaks; CodeRule::None when it is
// formally correct. Letters are A-Z only. February has a 29th when the
// year's two digits are a multiple of four.
CodeRule FirstBrokenRule(std::string_view code);

// The verdict's message: "Codice Fiscale formalmente corretto" when no rule
// is broken, else "Codice Fiscale formalmente errato", followed for every
// rule but the check character by what is wrong.
std::string_view BrokenRuleText(CodeRule rule);

// Formally correct: no rule broken.
bool IsValidCodiceFiscale(std::string_view code);

enum class CodeKind { CodiceFiscale, PartitaIva, Neither };

// 16 ASCII letters (either case) and digits: codice fiscale; 11 digits:
// Partita IVA; anything else, whatever its length in bytes: neither.
CodeKind ClassifyCode(std::string_view text);

// The date in characters 7-11 (year, month letter, day) of a code. Letters
// standing for digits in homocodes are read as those digits; the year is
// read by FullYearOfTwoDigits. Nothing when no valid date is there.
std::optional<Date> DecodeBirthDate(std::string_view yearMonthDay, const Date& today);

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
    std::string placeName;  // its name on the birth date (else its last); empty when the code is unknown
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
// codice fiscale (formally correct when it breaks no rule of its
// structure; the message of a wrong one names the first rule broken); a
// correct codice fiscale is decoded. The place is found by
// its cadastral code: its name on the birth date, or, when it was not in
// use then or the date is not valid, the name it bore last. The year is the latest one ending in the
// code's two digits that is not after today (FullYearOfTwoDigits); when the
// place was not in use on that date but was a hundred years earlier, the
// earlier century is taken, and the four-digit year shown says which.
CheckReport CheckAndReport(std::string_view code, const Date& today);

}  // namespace cf
