// The place table reader over arbitrary bytes: every row it returns must lie
// inside the text, and looking each row up again must find a row.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "engine/place_table.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto rows = cf::ParsePlaceTable(text);
    for (const cf::PlaceRow& row : rows) {
        for (std::string_view field : {row.name, row.code, row.province})
            if (!field.empty() && (field.data() < text.data() || field.data() + field.size() > text.data() + size))
                std::abort();
        if (cf::FindPlaceRow(rows, cf::PlaceColumn::Name, row.name) < 0)
            std::abort();
    }
    cf::PlaceCodeForName(text);
    cf::PlaceNameForCode(text);
    return 0;
}
