// SPDX-License-Identifier: MIT
#include "command_line/person_check.h"

#include "command_line/upper_case.h"
#include "engine/code/person_match.h"
#include "engine/code/verification.h"
#include "engine/places/place_names.h"
#include "engine/text/text_fields.h"

namespace cf {

PersonCodeVerdict CheckCodeOfPerson(std::string_view givenCode, const PersonFields& person, const Date& today)
{
    PersonCodeVerdict verdict;
    const PersonCode computed = ComputePersonCode(person, today);
    if (!computed.code) {
        verdict.refusal = computed.refusal;
        verdict.lines.push_back(computed.refusal);
        return verdict;
    }
    verdict.dataCode = computed.code->str();
    verdict.warning = computed.warning;

    const std::string code = UpperCase(TrimCode(givenCode));
    if (ClassifyCode(code) != CodeKind::CodiceFiscale) {
        verdict.lines.emplace_back(kNotACodiceFiscale);
        return verdict;
    }
    if (const CodeRule broken = FirstBrokenRule(code); broken != CodeRule::None) {
        verdict.lines.emplace_back(BrokenRuleText(broken));
        return verdict;
    }
    PersonFields typed = person;
    typed.place = SanremoAsTheTableWritesIt(person.place);
    // The data have passed every check of the single call: they compare.
    const PersonMatch match = MatchPerson(code, typed, today);
    verdict.corresponds = match.corresponds();
    verdict.lines = MatchLines(match, typed.place);
    // The code of another place of the name: the warning about the first
    // one is beside the point.
    if (match.dataCode.view() != computed.code->view()) {
        verdict.dataCode = match.dataCode.str();
        verdict.warning.clear();
    }
    return verdict;
}

CodeCheckOutput RunPersonCheck(std::string_view givenCode, std::string_view personText, const Date& today)
{
    const PersonFields person{NthField(personText, ",", 1), NthField(personText, ",", 2),
                              NthField(personText, ",", 3), NthField(personText, ",", 4),
                              NthField(personText, ",", 5)};
    PersonCodeVerdict verdict = CheckCodeOfPerson(givenCode, person, today);
    return {std::move(verdict.lines), verdict.corresponds ? kExitSuccess : kExitRefused};
}

}  // namespace cf
