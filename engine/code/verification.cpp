// SPDX-License-Identifier: MIT
#include "engine/code/verification.h"

#include <algorithm>

#include "engine/code/code_computation.h"
#include "engine/code/homocodes.h"
#include "engine/places/birth_place.h"

namespace cf {
namespace {

int TwoDigitValue(std::string_view text)
{
    if (text.size() < 2 || HomocodeDigitValue(text[0]) < 0 || HomocodeDigitValue(text[1]) < 0)
        return -1;
    return HomocodeDigitValue(text[0]) * 10 + HomocodeDigitValue(text[1]);
}

int MonthOfLetter(char letter)
{
    const std::size_t index = kMonthLetters.find(letter);
    return index == std::string_view::npos ? -1 : static_cast<int>(index) + 1;
}

DecodedCode DecodeCode(std::string_view code, const Date& today, std::vector<Message>& messages)
{
    DecodedCode decoded;
    decoded.surnameLetters = code.substr(0, 3);
    decoded.firstNameLetters = code.substr(3, 3);
    const std::optional<Date> date = DecodeBirthDate(code.substr(6, 5), today);
    std::optional<BirthDay> birth;
    if (date)
        birth = BirthDay{DayNumber(*date), true};
    else
        messages.push_back({"Il codice non contiene una data di nascita valida", MessageIcon::Exclamation});

    const CodePlace place = PlaceOfCode(PlaceCatalog::Embedded(), DecodePlaceCode(code.substr(11, 4)), birth);
    if (birth) {
        decoded.birthDate = FormatLongYearDate(DateOfDayNumber(place.row < 0 ? birth->day : place.day));
        decoded.sex = std::string(1, DecodeSex(code.substr(9, 2)));
    }
    decoded.placeName = place.name;
    decoded.province = place.province;
    decoded.placeWarning = place.warning;
    if (place.row < 0)
        messages.push_back({"Codice Catastale non censito", MessageIcon::Critical});
    return decoded;
}

}  // namespace

bool IsValidPartitaIva(std::string_view text)
{
    if (text.size() != 11
        || !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return false;
    int sum = 0;
    for (std::size_t i = 0; i < 10; ++i) {
        const int digit = text[i] - '0';
        if (i % 2 == 0) {
            sum += digit;
        } else {
            const int doubled = 2 * digit;
            sum += doubled < 10 ? doubled : doubled - 9;
        }
    }
    const int check = sum % 10 == 0 ? 0 : 10 - sum % 10;
    return text[10] == '0' + check;
}

CodeRule FirstBrokenRule(std::string_view code)
{
    if (code.size() != 16)
        return CodeRule::Length;
    auto letters = [code](std::size_t first, std::size_t count) {
        return std::all_of(code.begin() + static_cast<std::ptrdiff_t>(first),
                           code.begin() + static_cast<std::ptrdiff_t>(first + count),
                           [](char c) { return c >= 'A' && c <= 'Z'; });
    };
    if (!letters(0, 6))
        return CodeRule::NameLetters;
    const int year = TwoDigitValue(code.substr(6, 2));
    if (year < 0)
        return CodeRule::YearDigits;
    const int month = MonthOfLetter(code[8]);
    if (month < 0)
        return CodeRule::MonthLetter;
    int day = TwoDigitValue(code.substr(9, 2));
    if (day > 40)
        day -= 40;
    // Years 2000-2099 are leap years exactly when their two digits are a
    // multiple of four.
    if (day < 1 || day > DaysInMonth(2000 + year, month))
        return CodeRule::Day;
    if (!letters(11, 1))
        return CodeRule::PlaceLetter;
    if (TwoDigitValue(code.substr(12, 2)) < 0 || TwoDigitValue(code.substr(13, 2)) < 0)
        return CodeRule::PlaceDigits;
    if (CheckCharacter(code.substr(0, 15)) != code[15])
        return CodeRule::CheckCharacter;
    return CodeRule::None;
}

std::string_view BrokenRuleText(CodeRule rule)
{
    switch (rule) {
    case CodeRule::None:
        return "Codice Fiscale formalmente corretto";
    case CodeRule::Length:
        return "Codice Fiscale formalmente errato: deve avere 16 caratteri";
    case CodeRule::NameLetters:
        return "Codice Fiscale formalmente errato: i caratteri da 1 a 6 (cognome e nome) devono essere "
               "lettere";
    case CodeRule::YearDigits:
        return "Codice Fiscale formalmente errato: i caratteri 7 e 8 (anno di nascita) devono essere cifre "
               "o lettere di omocodia (L M N P Q R S T U V)";
    case CodeRule::MonthLetter:
        return "Codice Fiscale formalmente errato: il carattere 9 (mese di nascita) deve essere una delle "
               "lettere A B C D E H L M P R S T";
    case CodeRule::Day:
        return "Codice Fiscale formalmente errato: i caratteri 10 e 11 devono dare un giorno del mese di "
               "nascita, da 01 a 31 per un uomo e da 41 a 71 per una donna";
    case CodeRule::PlaceLetter:
        return "Codice Fiscale formalmente errato: il carattere 12 (luogo di nascita) deve essere una "
               "lettera";
    case CodeRule::PlaceDigits:
        return "Codice Fiscale formalmente errato: i caratteri da 13 a 15 (luogo di nascita) devono essere "
               "cifre o lettere di omocodia (L M N P Q R S T U V)";
    case CodeRule::CheckCharacter:
        break;
    }
    return "Codice Fiscale formalmente errato";
}

bool IsValidCodiceFiscale(std::string_view code)
{
    return FirstBrokenRule(code) == CodeRule::None;
}

CodeKind ClassifyCode(std::string_view text)
{
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    auto letterOrDigit = [&digit](char c) {
        return digit(c) || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
    };
    if (text.size() == 16 && std::all_of(text.begin(), text.end(), letterOrDigit))
        return CodeKind::CodiceFiscale;
    if (text.size() == 11 && std::all_of(text.begin(), text.end(), digit))
        return CodeKind::PartitaIva;
    return CodeKind::Neither;
}

std::optional<Date> DecodeBirthDate(std::string_view yearMonthDay, const Date& today)
{
    if (yearMonthDay.size() != 5)
        return std::nullopt;
    const int twoDigitYear = TwoDigitValue(yearMonthDay.substr(0, 2));
    const int month = MonthOfLetter(yearMonthDay[2]);
    int day = TwoDigitValue(yearMonthDay.substr(3, 2));
    if (day > 40)
        day -= 40;
    if (twoDigitYear < 0 || month < 0 || day < 1 || day > 31)
        return std::nullopt;
    const int year = FullYearOfTwoDigits(twoDigitYear, month, day, today);
    if (!IsValidDate(year, month, day))
        return std::nullopt;
    return Date{year, month, day};
}

char DecodeSex(std::string_view day)
{
    return TwoDigitValue(day) > 40 ? 'F' : 'M';
}

std::string DecodePlaceCode(std::string_view placeCode)
{
    std::string code(placeCode);
    for (std::size_t i = 1; i < code.size(); ++i)
        if (const int digit = HomocodeDigitValue(code[i]); digit >= 0)
            code[i] = static_cast<char>('0' + digit);
    return code;
}

CheckReport CheckAndReport(std::string_view code, const Date& today)
{
    CheckReport report;
    if (code.size() == 11) {
        report.correct = IsValidPartitaIva(code);
        report.messages.push_back(report.correct
                                      ? Message{"Partita IVA formalmente corretta", MessageIcon::Information}
                                      : Message{"Partita IVA formalmente errata", MessageIcon::Exclamation});
        return report;
    }
    const CodeRule broken = FirstBrokenRule(code);
    report.correct = broken == CodeRule::None;
    if (!report.correct) {
        report.messages.push_back({std::string(BrokenRuleText(broken)), MessageIcon::Exclamation});
        return report;
    }
    report.messages.push_back({std::string(BrokenRuleText(broken)), MessageIcon::Information});
    report.decoded = DecodeCode(code, today, report.messages);
    return report;
}

}  // namespace cf
