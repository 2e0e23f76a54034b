// SPDX-License-Identifier: MIT
// The place table and period readers over arbitrary bytes (the table up to
// the first NUL byte, the periods after it): every row must lie inside the
// text, the indexes must find each row again, and resolving any typed place
// on any day must hold together.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/places/birth_place.h"
#include "engine/places/place_catalog.h"
#include "fuzz_target.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::size_t nul = text.find('\0');
    const std::string_view periods =
        nul == std::string_view::npos ? std::string_view() : text.substr(nul + 1);
    const cf::PlaceCatalog catalog(text, periods);
    const auto rows = catalog.Rows();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const cf::PlaceRow& row = rows[i];
        for (std::string_view field : {row.name, row.code, row.province})
            if (!field.empty()
                && (field.data() < text.data() || field.data() + field.size() > text.data() + size))
                std::abort();
        const int byCode = catalog.FirstRowWithCode(row.code);
        if (byCode > static_cast<int>(i)
            || (byCode >= 0 && rows[static_cast<std::size_t>(byCode)].code != row.code))
            std::abort();
        if (catalog.FirstRowNamed(row.name) > static_cast<int>(i))
            std::abort();
        const cf::CodePlace place = cf::PlaceOfCode(catalog, row.code, cf::BirthDay{19500101, true});
        if (byCode >= 0 && place.row != byCode)
            std::abort();
    }
    for (const int day : {18000101, 19500615, 20991231}) {
        const cf::BirthPlace place = cf::ResolveBirthPlace(catalog, text.substr(0, 120), {day, true});
        if ((place.verdict == cf::PlaceVerdict::Unknown) != (place.row < 0))
            std::abort();
        if (place.row >= static_cast<int>(rows.size()))
            std::abort();
        cf::BirthPlaceRefusal(catalog, place);
    }
    return 0;
}
