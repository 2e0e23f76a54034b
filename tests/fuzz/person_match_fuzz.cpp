// SPDX-License-Identifier: MIT
// A code compared with a person's data, both arbitrary (lines of the input:
// code, surname, first name, date, sex, place): a comparison is made only of
// a correct code with data that give a correct code, and its verdict says
// that they correspond or has a line for each part that differs.
#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "engine/code/person_match.h"
#include "engine/code/verification.h"
#include "fuzz_target.h"
#include "parse_back.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    auto lines = cf::fuzz::SplitAt({reinterpret_cast<const char*>(data), size}, '\n');
    if (lines.size() > 6)
        return 0;
    lines.resize(6);
    const cf::TypedPerson person{lines[1], lines[2], lines[3], lines[4], lines[5]};
    const cf::PersonMatch match = cf::MatchPerson(lines[0], person, cf::Date{2026, 12, 8});
    if ((match.refusal == cf::MatchRefusal::CodeNotValid) == cf::IsValidCodiceFiscale(lines[0]))
        std::abort();
    if (match.refusal != cf::MatchRefusal::None)
        return 0;
    const auto verdict = cf::MatchLines(match, person.place);
    if (!cf::IsValidCodiceFiscale(match.dataCode.view()) || !cf::IsValidCodiceFiscale(match.baseCode.view())
        || match.corresponds() != (match.dataCode.view() == match.baseCode.view())
        || verdict.size() != std::max<std::size_t>(match.differing().size(), 1)
        || verdict.front().starts_with("Il codice corrisponde ai dati") != match.corresponds())
        std::abort();
    return 0;
}
