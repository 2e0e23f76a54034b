#include "startup/code_check.h"

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
        output.lines.push_back(Labelled("Provincia", decoded.province));
        if (!decoded.placeWarning.empty())
            output.lines.push_back(Labelled("Avviso", decoded.placeWarning));
    }
    return output;
}

}  // namespace cf
