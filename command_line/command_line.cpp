// SPDX-License-Identifier: MIT
#include "command_line/command_line.h"

#include "engine/code/dates.h"
#include "engine/places/birth_place.h"
#include "engine/places/place_names.h"
#include "engine/text/text_fields.h"
#include "engine/text/utf8.h"

namespace cf {
namespace {

constexpr char kErrorTitle[] = "Codice fiscale";
constexpr char kCodeTitle[] = "Codice Fiscale";

constexpr char kNotUtf8[] = "I dati contengono caratteri non validi (il testo non è UTF-8).";
constexpr char kWrongSex[] = "Il sesso è errato.";
constexpr char kWrongDate[] = "La data non è in formato valido.";
constexpr char kUnknownPlace[] = "La città non è compresa nell'elenco o non è corretta.";
constexpr char kMissingData[] = "Manca almeno un dato fondamentale";

PersonCode Refusal(std::string message)
{
    PersonCode refused;
    refused.refusal = std::move(message);
    return refused;
}

// Equal after upper-casing a-z, as the fields are compared.
bool EqualsUpperCased(std::string_view field, std::string_view upper)
{
    if (field.size() != upper.size())
        return false;
    for (std::size_t i = 0; i < field.size(); ++i) {
        const char c =
            field[i] >= 'a' && field[i] <= 'z' ? static_cast<char>(field[i] - 'a' + 'A') : field[i];
        if (c != upper[i])
            return false;
    }
    return true;
}

}  // namespace

PersonCode ComputePersonCode(const PersonFields& person, const Date& today)
{
    for (std::string_view field : {person.surname, person.firstName, person.date, person.sex, person.place})
        if (!IsValidUtf8(field))
            return Refusal(kNotUtf8);

    // Case does not matter anywhere: the letter rules and the place lookup
    // read either case, and sex is compared upper-cased.
    const bool female = EqualsUpperCased(person.sex, "F");
    if (!female && !EqualsUpperCased(person.sex, "M"))
        return Refusal(kWrongSex);
    const std::optional<Date> date = ParseDayFirstDate(person.date, today);
    if (!date)
        return Refusal(kWrongDate);
    // The field is taken as it stands: blanks around it are part of the
    // name, which no place bears.
    const std::string_view placeName = SanremoAsTheTableWritesIt(person.place);
    const PlaceCatalog& places = PlaceCatalog::Embedded();
    const bool padded = !placeName.empty() && (placeName.front() == ' ' || placeName.back() == ' ');
    const BirthPlace place =
        padded ? BirthPlace{}
               : ResolveBirthPlace(places, placeName, *BirthDayOfTypedDate(person.date, today));
    if (place.verdict == PlaceVerdict::Unknown)
        return Refusal(kUnknownPlace);
    if (place.verdict != PlaceVerdict::Found)
        return Refusal(BirthPlaceRefusal(places, place));
    // An empty sex or date has already failed above.
    if (person.surname.empty() || person.firstName.empty() || placeName.empty())
        return Refusal(kMissingData);

    const CodeResult result =
        ComputeCodeWithPlaceCode(person.surname, person.firstName, FormatShortDate(*date), female ? "F" : "M",
                                 places.Row(place.row).code);
    if (result.refusal == CodeRefusal::InvalidDate)
        return Refusal(kWrongDate);
    // A name without a single letter would leave blanks in the code: one of
    // blanks only is missing; one of other characters (Greek, Cyrillic) is
    // told so.
    if (!result.ok()) {
        const bool surname = result.refusal == CodeRefusal::SurnameWithoutLetters;
        const std::string_view name = surname ? person.surname : person.firstName;
        if (name.find_first_not_of(' ') == std::string_view::npos)
            return Refusal(kMissingData);
        return Refusal(surname ? kSurnameWithoutLettersMessage : kFirstNameWithoutLettersMessage);
    }
    return {result.code, {}, NamesakeWarning(places, placeName, place), place.row, FormatShortDate(*date)};
}

CommandLineOutcome RunCommandLine(std::string_view arguments, const Date& today)
{
    const PersonFields person{NthField(arguments, ",", 1), NthField(arguments, ",", 2),
                              NthField(arguments, ",", 3), NthField(arguments, ",", 4),
                              NthField(arguments, ",", 5)};
    const PersonCode result = ComputePersonCode(person, today);
    CommandLineOutcome outcome;
    if (!result.code) {
        outcome.box = BoxMessage{kErrorTitle, result.refusal, MessageIcon::Critical};
        outcome.exitStatus = kExitRefused;
        return outcome;
    }
    outcome.computed = true;
    outcome.code = result.code->str();
    outcome.warning = result.warning;
    if (!NthField(arguments, ",", 6).empty())
        outcome.box = BoxMessage{kCodeTitle, outcome.code, MessageIcon::Information};
    outcome.exitStatus = kExitSuccess;
    return outcome;
}

}  // namespace cf
