// SPDX-License-Identifier: MIT
#pragma once
// Computation of the codice fiscale of a natural person. No function here
// allocates: results are fixed-size values.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace cf {

// Up to three letters picked from a surname or a first name.
struct NameLetters {
    std::array<char, 3> letters{};
    std::size_t count = 0;
    std::string_view view() const { return {letters.data(), count}; }
};

// Letters of a surname or first name by the consonant/vowel rules. Only
// letters take part: ASCII letters in either case and accented Latin letters
// (UTF-8) as their base letter; every other character is ignored. An input
// without letters gives count 0.
NameLetters SurnameLetters(std::string_view surname);
NameLetters FirstNameLetters(std::string_view firstName);

// The letter of each month in a code, January first.
inline constexpr std::string_view kMonthLetters = "ABCDEHLMPRST";

// Year, month letter and day (+40 for sex "F") from a dd/mm/yy date, e.g.
// 85L43. Nothing when a position holds no digit or the month is not 1-12 or
// the day not 1-31.
std::optional<std::array<char, 5>> DateSexPart(std::string_view birthDate, std::string_view sex);

// The three tables of the check character. Characters other than digits and
// upper-case letters count 0.
int OddValue(char c);
int EvenValue(char c);
char RemainderLetter(int remainder);

// Check character of the first fifteen characters (fewer count as given).
char CheckCharacter(std::string_view first15);

struct FiscalCode {
    std::array<char, 16> chars{};
    std::string_view view() const { return {chars.data(), chars.size()}; }
    std::string str() const { return std::string(view()); }
};

enum class CodeRefusal {
    None,
    SurnameWithoutLetters,
    FirstNameWithoutLetters,
    InvalidDate,
};

// What the windows and the command line say of a name that gives the code
// no letter.
inline constexpr char kSurnameWithoutLettersMessage[] =
    "Il cognome non contiene lettere dell'alfabeto latino, che servono per il codice fiscale.";
inline constexpr char kFirstNameWithoutLettersMessage[] =
    "Il nome non contiene lettere dell'alfabeto latino, che servono per il codice fiscale.";

struct CodeResult {
    CodeRefusal refusal = CodeRefusal::None;
    FiscalCode code;
    bool ok() const { return refusal == CodeRefusal::None; }
};

// The 16-character code, given the place's cadastral code (cut or padded
// with blanks to four characters). Refused when a name has no letter or the
// date is unusable.
CodeResult ComputeCodeWithPlaceCode(std::string_view surname, std::string_view firstName,
                                    std::string_view birthDate, std::string_view sex,
                                    std::string_view placeCode);

}  // namespace cf
