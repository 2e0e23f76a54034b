// SPDX-License-Identifier: MIT
#include "engine/code/code_computation.h"

#include <algorithm>

#include "engine/text/latin_letters.h"

namespace cf {
namespace {

bool IsVowel(char letter)
{
    return letter == 'A' || letter == 'E' || letter == 'I' || letter == 'O' || letter == 'U';
}

// Consonants first, then vowels, then X up to three letters. A first name
// with four or more consonants takes the first, third and fourth.
NameLetters PickLetters(std::string_view name, bool isFirstName)
{
    std::array<char, 4> consonants{};
    std::array<char, 3> vowels{};
    std::size_t consonantCount = 0;
    std::size_t vowelCount = 0;
    ForEachBaseLetter(name, [&](char letter) {
        if (IsVowel(letter)) {
            if (vowelCount < 3)
                vowels[vowelCount] = letter;
            ++vowelCount;
        } else {
            if (consonantCount < 4)
                consonants[consonantCount] = letter;
            ++consonantCount;
        }
    });

    NameLetters result;
    if (consonantCount + vowelCount == 0)
        return result;
    auto add = [&result](char letter) {
        if (result.count < 3)
            result.letters[result.count++] = letter;
    };
    if (isFirstName && consonantCount >= 4) {
        add(consonants[0]);
        add(consonants[2]);
        add(consonants[3]);
    } else {
        for (std::size_t i = 0; i < consonantCount && i < 3; ++i)
            add(consonants[i]);
    }
    for (std::size_t i = 0; i < vowelCount && i < 3; ++i)
        add(vowels[i]);
    while (result.count < 3)
        add('X');
    return result;
}

int Digit(char c)
{
    return c >= '0' && c <= '9' ? c - '0' : -1;
}

// Value of two digit characters, -1 when either is no digit.
int TwoDigits(char tens, char units)
{
    return Digit(tens) < 0 || Digit(units) < 0 ? -1 : Digit(tens) * 10 + Digit(units);
}

}  // namespace

NameLetters SurnameLetters(std::string_view surname)
{
    return PickLetters(surname, false);
}

NameLetters FirstNameLetters(std::string_view firstName)
{
    return PickLetters(firstName, true);
}

std::optional<std::array<char, 5>> DateSexPart(std::string_view birthDate, std::string_view sex)
{
    if (birthDate.size() != 8 || birthDate[2] != '/' || birthDate[5] != '/')
        return std::nullopt;
    int day = TwoDigits(birthDate[0], birthDate[1]);
    const int month = TwoDigits(birthDate[3], birthDate[4]);
    const int year = TwoDigits(birthDate[6], birthDate[7]);
    if (day < 1 || day > 31 || month < 1 || month > 12 || year < 0)
        return std::nullopt;
    if (sex == "F")
        day += 40;
    return std::array<char, 5>{static_cast<char>('0' + year / 10), static_cast<char>('0' + year % 10),
                               kMonthLetters[static_cast<std::size_t>(month - 1)],
                               static_cast<char>('0' + day / 10), static_cast<char>('0' + day % 10)};
}

int OddValue(char c)
{
    static constexpr int kLetterValues[26] = {1,  0,  5, 7, 9, 13, 15, 17, 19, 21, 2,  4,  18,
                                              20, 11, 3, 6, 8, 12, 14, 16, 10, 22, 25, 24, 23};
    if (c >= '0' && c <= '9')
        return kLetterValues[c - '0'];
    if (c >= 'A' && c <= 'Z')
        return kLetterValues[c - 'A'];
    return 0;
}

int EvenValue(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'Z')
        return c - 'A';
    return 0;
}

char RemainderLetter(int remainder)
{
    return static_cast<char>('A' + remainder);
}

char CheckCharacter(std::string_view first15)
{
    int sum = 0;
    for (std::size_t i = 0; i < first15.size() && i < 15; ++i)
        sum += i % 2 == 0 ? OddValue(first15[i]) : EvenValue(first15[i]);
    return RemainderLetter(sum % 26);
}

CodeResult ComputeCodeWithPlaceCode(std::string_view surname, std::string_view firstName,
                                    std::string_view birthDate, std::string_view sex,
                                    std::string_view placeCode)
{
    CodeResult result;
    const NameLetters surnamePart = SurnameLetters(surname);
    const NameLetters firstNamePart = FirstNameLetters(firstName);
    const auto datePart = DateSexPart(birthDate, sex);
    if (surnamePart.count == 0)
        result.refusal = CodeRefusal::SurnameWithoutLetters;
    else if (firstNamePart.count == 0)
        result.refusal = CodeRefusal::FirstNameWithoutLetters;
    else if (!datePart)
        result.refusal = CodeRefusal::InvalidDate;
    if (!result.ok())
        return result;

    auto& code = result.code.chars;
    std::copy_n(surnamePart.letters.begin(), 3, code.begin());
    std::copy_n(firstNamePart.letters.begin(), 3, code.begin() + 3);
    std::copy_n(datePart->begin(), 5, code.begin() + 6);
    for (std::size_t i = 0; i < 4; ++i)
        code[11 + i] = i < placeCode.size() ? placeCode[i] : ' ';
    code[15] = CheckCharacter(result.code.view().substr(0, 15));
    return result;
}

}  // namespace cf
