// SPDX-License-Identifier: MIT
#include "engine/code/person_match.h"

#include "engine/code/homocodes.h"
#include "engine/code/verification.h"
#include "engine/places/place_catalog.h"

namespace cf {
namespace {

constexpr std::size_t kPlacePosition = 11;
constexpr std::size_t kPlaceLength = 4;

// 'M' or 'F' for a sex typed in either case; 0 for anything else.
char SexLetter(std::string_view sex)
{
    if (sex.size() != 1)
        return 0;
    const char upper = sex[0] == 'm' || sex[0] == 'f' ? static_cast<char>(sex[0] - 'a' + 'A') : sex[0];
    return upper == 'M' || upper == 'F' ? upper : 0;
}

MatchRefusal RefusalOf(CodeRefusal refusal)
{
    switch (refusal) {
    case CodeRefusal::None:
        return MatchRefusal::None;
    case CodeRefusal::SurnameWithoutLetters:
        return MatchRefusal::SurnameWithoutLetters;
    case CodeRefusal::FirstNameWithoutLetters:
        return MatchRefusal::FirstNameWithoutLetters;
    case CodeRefusal::InvalidDate:
        break;
    }
    return MatchRefusal::InvalidDate;
}

// The date and sex characters (7-11) of a code whose digits are digits.
struct DateField {
    int year;   // two digits
    int month;  // 1-12
    int day;    // 1-31
    bool female;
};

DateField DateFieldOf(const FiscalCode& code)
{
    const auto digits = [&code](std::size_t at) {
        return (code.chars[at] - '0') * 10 + (code.chars[at + 1] - '0');
    };
    const int day = digits(9);
    return {digits(6), static_cast<int>(kMonthLetters.find(code.chars[8])) + 1, day > 40 ? day - 40 : day,
            day > 40};
}

// The four-digit year ending in the two digits nearest the given year.
int YearNear(int twoDigits, int year)
{
    int near = year - year % 100 + twoDigits;
    if (near - year > 50)
        near -= 100;
    else if (year - near > 50)
        near += 100;
    return near;
}

// "ROMA (RM, H501)".
std::string RowText(const PlaceCatalog& places, int row)
{
    const PlaceRow& place = places.Row(row);
    return std::string(place.name) + " (" + std::string(place.province) + ", " + std::string(place.code)
           + ")";
}

// What the code names as place on its date.
std::string CodePlaceText(const PlaceCatalog& places, std::string_view placeCode, int day)
{
    const CodePlace place = PlaceOfCode(places, placeCode, BirthDay{day, false});
    if (place.row < 0)
        return "un codice catastale non censito (" + std::string(placeCode) + ")";
    return std::string(place.name) + " (" + std::string(place.province) + ", " + std::string(placeCode) + ")";
}

// The places the data name: the place matched, and, for a typed name of
// several places on the birth date, the others.
std::string DataPlaceText(const PlaceCatalog& places, const PersonMatch& match, std::string_view typedPlace)
{
    std::string text = RowText(places, match.place.row);
    if (!match.placePicked)
        for (int row : OtherPlacesNamed(places, typedPlace, match.place))
            text += " o " + RowText(places, row);
    return text;
}

std::string PartLine(const PersonMatch& match, PersonPart part, std::string_view typedPlace)
{
    const std::string_view data = match.dataCode.view();
    const std::string_view code = match.baseCode.view();
    const auto letters = [&](const char* caption, std::size_t at) {
        return std::string(caption) + ": lettere " + std::string(data.substr(at, 3)) + " attese, trovate "
               + std::string(code.substr(at, 3));
    };
    const Date dataDate = DateOfDayNumber(match.birthDay);
    const DateField codeField = DateFieldOf(match.baseCode);
    const Date codeDate{YearNear(codeField.year, dataDate.year), codeField.month, codeField.day};
    switch (part) {
    case PersonPart::Surname:
        return letters("Cognome", 0);
    case PersonPart::FirstName:
        return letters("Nome", 3);
    case PersonPart::BirthDate:
        return "Data di nascita: il codice indica " + FormatLongYearDate(codeDate) + ", i dati "
               + FormatLongYearDate(dataDate);
    case PersonPart::Sex:
        return std::string("Sesso: il codice indica ") + (codeField.female ? 'F' : 'M') + ", i dati "
               + (DateFieldOf(match.dataCode).female ? 'F' : 'M');
    case PersonPart::Place:
        break;
    }
    const PlaceCatalog& places = PlaceCatalog::Embedded();
    return "Luogo: il codice indica "
           + CodePlaceText(places, code.substr(kPlacePosition, kPlaceLength), DayNumber(codeDate))
           + ", i dati " + DataPlaceText(places, match, typedPlace);
}

}  // namespace

PersonMatch MatchPerson(std::string_view code, const TypedPerson& person, const Date& today,
                        int pickedPlaceRow)
{
    PersonMatch match;
    if (FirstBrokenRule(code) != CodeRule::None) {
        match.refusal = MatchRefusal::CodeNotValid;
        return match;
    }
    match.baseCode = *OriginalCode(code);
    match.homocode = match.baseCode.view() != code;

    const char sex = SexLetter(person.sex);
    const std::optional<BirthDay> birth = BirthDayOfTypedDate(person.date, today);
    if (sex == 0) {
        match.refusal = MatchRefusal::WrongSex;
        return match;
    }
    if (!birth) {
        match.refusal = MatchRefusal::InvalidDate;
        return match;
    }
    match.birthDay = birth->day;

    const PlaceCatalog& places = PlaceCatalog::Embedded();
    match.place = ResolveBirthPlace(places, person.place, *birth, pickedPlaceRow);
    match.placePicked = pickedPlaceRow >= 0 && match.place.row == pickedPlaceRow;
    if (match.place.verdict != PlaceVerdict::Found) {
        match.refusal = match.place.verdict == PlaceVerdict::Unknown ? MatchRefusal::UnknownPlace
                                                                     : MatchRefusal::PlaceNotInUse;
        return match;
    }
    // A name of several places on the birth day means the code's place too,
    // when it is one of them; a place picked means itself alone.
    const std::string_view codePlace = match.baseCode.view().substr(kPlacePosition, kPlaceLength);
    if (places.Row(match.place.row).code != codePlace && !match.placePicked) {
        for (int row : OtherPlacesNamed(places, person.place, match.place)) {
            if (places.Row(row).code == codePlace) {
                match.place.row = row;
                break;
            }
        }
    }

    const char sexText[] = {sex, '\0'};
    const CodeResult data = ComputeCodeWithPlaceCode(person.surname, person.firstName,
                                                     FormatShortDate(DateOfDayNumber(birth->day)), sexText,
                                                     places.Row(match.place.row).code);
    match.refusal = RefusalOf(data.refusal);
    if (!data.ok())
        return match;
    match.dataCode = data.code;

    const std::string_view given = match.baseCode.view();
    const std::string_view computed = match.dataCode.view();
    const DateField givenDate = DateFieldOf(match.baseCode);
    const DateField computedDate = DateFieldOf(match.dataCode);
    const auto note = [&match](PersonPart part) { match.differingParts[match.differingCount++] = part; };
    if (computed.substr(0, 3) != given.substr(0, 3))
        note(PersonPart::Surname);
    if (computed.substr(3, 3) != given.substr(3, 3))
        note(PersonPart::FirstName);
    if (computedDate.year != givenDate.year || computedDate.month != givenDate.month
        || computedDate.day != givenDate.day)
        note(PersonPart::BirthDate);
    if (computedDate.female != givenDate.female)
        note(PersonPart::Sex);
    if (computed.substr(kPlacePosition, kPlaceLength) != codePlace)
        note(PersonPart::Place);
    return match;
}

std::vector<std::string> MatchLines(const PersonMatch& match, std::string_view typedPlace)
{
    std::vector<std::string> lines;
    if (match.corresponds()) {
        lines.emplace_back("Il codice corrisponde ai dati");
        if (match.homocode)
            lines.back() += ": è un omocodice del codice " + match.baseCode.str();
    }
    for (PersonPart part : match.differing())
        lines.push_back(PartLine(match, part, typedPlace));
    return lines;
}

}  // namespace cf
