// SPDX-License-Identifier: MIT
// The place lookups over arbitrary text, as typed: "DATE\nPLACE\nCODE". By
// name (accents, a province in brackets) on the birth date: a verdict that
// agrees with the rows found, a refusal only for a place out of use, and a
// place found only in use on that day. By code and date: the row of that
// code. By part of the name (--luoghi): at most 50 rows, each holding the
// text, listed as CSV that parses back.
#include <array>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "command_line/place_list.h"
#include "engine/places/birth_place.h"
#include "engine/places/place_names.h"
#include "engine/places/place_search.h"
#include "fuzz_target.h"
#include "parse_back.h"

namespace {

constexpr cf::Date kToday{2026, 12, 8};

[[noreturn]] void Fail()
{
    std::abort();
}

void CheckByName(const cf::PlaceCatalog& catalog, std::string_view typed, const cf::BirthDay& birth)
{
    const cf::BirthPlace place = cf::ResolveBirthPlace(catalog, typed, birth);
    if ((place.verdict == cf::PlaceVerdict::Unknown) != (place.row < 0)
        || place.row >= static_cast<int>(catalog.Rows().size())
        || (place.verdict == cf::PlaceVerdict::Unknown) != (cf::FindTypedPlace(catalog, typed) < 0))
        Fail();
    const bool refused =
        place.verdict != cf::PlaceVerdict::Found && place.verdict != cf::PlaceVerdict::Unknown;
    if (cf::BirthPlaceRefusal(catalog, place).empty() == refused)
        Fail();
    if (place.verdict == cf::PlaceVerdict::Found) {
        const std::string_view code = catalog.Row(place.row).code;
        if (!catalog.PeriodsOf(code).empty() && !catalog.InUseOn(code, place.day))
            Fail();
    }
}

void CheckByCode(const cf::PlaceCatalog& catalog, std::string_view code, std::optional<cf::BirthDay> birth)
{
    const cf::CodePlace place = cf::PlaceOfCode(catalog, code, birth);
    if (place.row < 0)
        return;
    if (place.row != catalog.FirstRowWithCode(code) || catalog.Row(place.row).code != code
        || place.name.empty())
        Fail();
}

void CheckSearch(const cf::PlaceCatalog& catalog, std::string_view typed)
{
    std::array<char, cf::kMaxPlaceNameLength> textBuffer;
    const std::string_view folded = cf::FoldPlaceName(typed, textBuffer);
    const auto rows = cf::FindPlacesContaining(catalog, typed, cf::kMaxListedPlaces);
    if (rows.size() > cf::kMaxListedPlaces || (folded.empty() && !rows.empty()))
        Fail();
    for (const int row : rows) {
        std::array<char, cf::kMaxPlaceNameLength> nameBuffer;
        if (cf::FoldPlaceName(catalog.Row(row).name, nameBuffer).find(folded) == std::string_view::npos)
            Fail();
    }

    const cf::PlaceList list = cf::ListPlaces(typed);
    if (list.lines.size() != rows.size() || list.lines.empty() == list.refusal.empty())
        Fail();
    std::string csv;
    for (const std::string& line : list.lines)
        csv += line + '\n';
    const auto records = cf::fuzz::ReadCsvRecords(csv);
    if (!records || records->size() != rows.size())
        Fail();
    for (std::size_t i = 0; i < rows.size(); ++i)
        if ((*records)[i].size() != 5 || (*records)[i][1] != catalog.Row(rows[i]).code)
            Fail();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto pieces = cf::fuzz::SplitAt({reinterpret_cast<const char*>(data), size}, '\n');
    const std::string_view date = pieces[0];
    const std::string_view typed = pieces.size() > 1 ? pieces[1] : std::string_view();
    const std::string_view code = pieces.size() > 2 ? pieces[2] : typed.substr(0, 4);
    const cf::PlaceCatalog& catalog = cf::PlaceCatalog::Embedded();

    const std::optional<cf::BirthDay> birth = cf::BirthDayOfTypedDate(date, kToday);
    CheckByName(catalog, typed, birth.value_or(cf::BirthDay{19700101, false}));
    CheckByCode(catalog, code, birth);
    CheckByCode(catalog, code, std::nullopt);
    CheckSearch(catalog, typed);
    return 0;
}
