#include "startup/code_check.h"

#include "engine/place_table.h"
#include "engine/verification.h"
#include "startup/command_line.h"
#include "startup/upper_case.h"

namespace cf {
namespace {

constexpr char kNeither[] = "Il codice inserito non è né un Codice Fiscale né una Partita IVA";

std::string Labelled(std::string_view label, std::string_view value)
{
    std::string line(label);
    line += ':';
    if (!value.empty()) {
        line += ' ';
        line += value;
    }
    return line;
}

// Province of the place whose name the decoding found; empty when none.
std::string_view ProvinceOfCode(std::string_view code, std::string_view placeName)
{
    if (placeName.empty())
        return {};
    const std::span<const PlaceRow> places = EmbeddedPlaces();
    const int row = FindPlaceRow(places, PlaceColumn::Code, DecodePlaceCode(code.substr(11, 4)));
    return row < 0 ? std::string_view{} : places[static_cast<std::size_t>(row)].province;
}

}  // namespace

CodeCheckOutput RunCodeCheck(std::string_view code, int currentYear)
{
    const std::string upper = UpperCase(code);
    if (ClassifyCode(upper) == CodeKind::Neither)
        return {{kNeither}, kExitRefused};

    const CheckReport report = CheckAndReport(upper, currentYear);
    CodeCheckOutput output{{}, report.correct ? kExitSuccess : kExitRefused};
    for (const Message& message : report.messages)
        output.lines.push_back(message.text);
    if (report.decoded) {
        const DecodedCode& decoded = *report.decoded;
        output.lines.push_back(Labelled("Cognome", decoded.surnameLetters));
        output.lines.push_back(Labelled("Nome", decoded.firstNameLetters));
        output.lines.push_back(Labelled("Data di nascita", decoded.birthDate));
        output.lines.push_back(Labelled("Sesso", decoded.sex));
        output.lines.push_back(Labelled("Luogo", decoded.placeName));
        output.lines.push_back(Labelled("Provincia", ProvinceOfCode(upper, decoded.placeName)));
    }
    return output;
}

}  // namespace cf
