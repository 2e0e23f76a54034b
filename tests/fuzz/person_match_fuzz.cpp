// SPDX-License-Identifier: MIT
// A code compared with a person's data, both arbitrary (lines of the input:
// code, surname, first name, date, sex, place): a comparison without refusal
// names exactly the parts in which the data's code and the code given
// differ, and its verdict has a line for each, or says that they
// correspond.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "engine/homocodes.h"
#include "engine/person_match.h"
#include "engine/verification.h"
#include "parse_back.h"

namespace {

constexpr cf::Date kToday{2026, 12, 8};

// The characters of each part in a code whose digits are digits; the date
// and the sex share the day, told apart by 40.
bool PartsDiffer(const cf::PersonMatch& match, cf::PersonPart part)
{
    const std::string_view data = match.dataCode.view();
    const std::string_view code = match.baseCode.view();
    const auto day = [](std::string_view c) { return (c[9] - '0') * 10 + (c[10] - '0'); };
    switch (part) {
    case cf::PersonPart::Surname:
        return data.substr(0, 3) != code.substr(0, 3);
    case cf::PersonPart::FirstName:
        return data.substr(3, 3) != code.substr(3, 3);
    case cf::PersonPart::BirthDate:
        return data.substr(6, 3) != code.substr(6, 3) || day(data) % 40 != day(code) % 40;
    case cf::PersonPart::Sex:
        return (day(data) > 40) != (day(code) > 40);
    case cf::PersonPart::Place:
        break;
    }
    return data.substr(11, 4) != code.substr(11, 4);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto lines = cf::fuzz::SplitAt({reinterpret_cast<const char*>(data), size}, '\n');
    if (lines.size() > 6)
        return 0;
    lines.resize(6);
    const std::string_view code = lines[0];
    const cf::TypedPerson person{lines[1], lines[2], lines[3], lines[4], lines[5]};
    const cf::PersonMatch match = cf::MatchPerson(code, person, kToday);
    if (match.corresponds() != (match.refusal == cf::MatchRefusal::None && match.differing().empty()))
        std::abort();
    if ((match.refusal == cf::MatchRefusal::CodeNotValid) == cf::IsValidCodiceFiscale(code))
        std::abort();
    if (match.refusal != cf::MatchRefusal::None)
        return 0;

    if (!cf::IsValidCodiceFiscale(match.dataCode.view())
        || cf::OriginalCode(code)->view() != match.baseCode.view()
        || match.homocode != (code != match.baseCode.view()))
        std::abort();
    std::size_t next = 0;
    for (cf::PersonPart part : {cf::PersonPart::Surname, cf::PersonPart::FirstName, cf::PersonPart::BirthDate,
                                cf::PersonPart::Sex, cf::PersonPart::Place}) {
        const bool named = next < match.differing().size() && match.differing()[next] == part;
        if (named != PartsDiffer(match, part))
            std::abort();
        next += named;
    }
    const auto verdict = cf::MatchLines(match, person.place);
    if (verdict.size() != std::max<std::size_t>(match.differing().size(), 1)
        || verdict.front().starts_with("Il codice corrisponde ai dati") != match.corresponds())
        std::abort();
    return 0;
}
