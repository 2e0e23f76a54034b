#include "startup/command_line.h"

#include "engine/code_computation.h"
#include "engine/dates.h"
#include "engine/birth_place.h"
#include "engine/text_fields.h"
#include "startup/upper_case.h"

namespace cf {
namespace {

constexpr char kErrorTitle[] = "Codice fiscale";
constexpr char kCodeTitle[] = "Codice Fiscale";

constexpr char kWrongSex[] = "Il sesso è errato.";
constexpr char kWrongDate[] = "La data non è in formato valido.";
constexpr char kUnknownPlace[] = "La città non è compresa nell'elenco o non è corretta.";
constexpr char kMissingData[] = "Manca almeno un dato fondamentale";

CommandLineOutcome Refusal(std::string message)
{
    CommandLineOutcome outcome;
    outcome.box = BoxMessage{kErrorTitle, std::move(message), MessageIcon::Critical};
    outcome.exitStatus = kExitRefused;
    return outcome;
}

}  // namespace

CommandLineOutcome RunCommandLine(std::string_view arguments, int currentYear)
{
    const std::string surname = UpperCase(NthField(arguments, ",", 1));
    const std::string firstName = UpperCase(NthField(arguments, ",", 2));
    const std::string_view dateField = NthField(arguments, ",", 3);
    const std::optional<Date> date = ParseDayFirstDate(dateField);
    const std::string birthDate = date ? FormatShortDate(*date) : std::string();
    const std::string sex = UpperCase(NthField(arguments, ",", 4));
    std::string placeName = UpperCase(NthField(arguments, ",", 5));
    if (placeName == "SAN REMO")
        placeName = "SANREMO";
    const bool showCode = !NthField(arguments, ",", 6).empty();

    if (sex != "F" && sex != "M")
        return Refusal(kWrongSex);
    if (!date)
        return Refusal(kWrongDate);
    // The field is taken as it stands: blanks around it are part of the
    // name, which no place bears.
    const PlaceCatalog& places = PlaceCatalog::Embedded();
    const bool padded = !placeName.empty() && (placeName.front() == ' ' || placeName.back() == ' ');
    const BirthPlace place = padded ? BirthPlace{}
                                    : ResolveBirthPlace(places, placeName, *BirthDayOfTypedDate(dateField, currentYear));
    if (place.verdict == PlaceVerdict::Unknown)
        return Refusal(kUnknownPlace);
    if (place.verdict != PlaceVerdict::Found)
        return Refusal(BirthPlaceRefusal(places, place));
    // An empty sex or date has already failed above.
    if (surname.empty() || firstName.empty() || placeName.empty())
        return Refusal(kMissingData);

    const CodeResult result =
        ComputeCodeWithPlaceCode(surname, firstName, birthDate, sex, places.Row(place.row).code);
    if (result.refusal == CodeRefusal::InvalidDate)
        return Refusal(kWrongDate);
    // A name without a single letter (blanks only, say) would leave blanks
    // in the code.
    if (!result.ok())
        return Refusal(kMissingData);

    CommandLineOutcome outcome;
    outcome.computed = true;
    outcome.code = result.code.str();
    if (showCode)
        outcome.box = BoxMessage{kCodeTitle, outcome.code, MessageIcon::Information};
    outcome.exitStatus = kExitSuccess;
    return outcome;
}

}  // namespace cf
