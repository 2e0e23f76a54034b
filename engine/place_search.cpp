// SPDX-License-Identifier: MIT
#include "engine/place_search.h"

#include <array>

#include "engine/place_names.h"

namespace cf {

std::vector<int> FindPlacesContaining(const PlaceCatalog& catalog, std::string_view typedText,
                                      std::size_t limit)
{
    std::array<char, kMaxPlaceNameLength> textBuffer;
    const std::string_view text = FoldPlaceName(typedText, textBuffer);
    std::vector<int> starting;
    std::vector<int> containing;
    if (text.empty())
        return starting;
    std::array<char, kMaxPlaceNameLength> nameBuffer;
    const auto rows = catalog.Rows();
    for (std::size_t row = 0; row < rows.size() && starting.size() < limit; ++row) {
        const std::string_view name = FoldPlaceName(rows[row].name, nameBuffer);
        const std::size_t at = name.find(text);
        if (at == 0)
            starting.push_back(static_cast<int>(row));
        else if (at != std::string_view::npos && containing.size() < limit)
            containing.push_back(static_cast<int>(row));
    }
    for (std::size_t i = 0; i < containing.size() && starting.size() < limit; ++i)
        starting.push_back(containing[i]);
    return starting;
}

}  // namespace cf
