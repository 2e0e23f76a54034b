// SPDX-License-Identifier: MIT
#include "engine/places/place_search.h"

#include <array>

#include "engine/places/place_names.h"

namespace cf {

namespace {

// Where `text` first occurs in `name`, ending a word when `endsWord`; npos
// when nowhere.
std::size_t FindIn(std::string_view name, std::string_view text, bool endsWord)
{
    for (std::size_t at = name.find(text); at != std::string_view::npos; at = name.find(text, at + 1)) {
        const std::size_t end = at + text.size();
        if (!endsWord || end == name.size() || name[end] < 'A' || name[end] > 'Z')
            return at;
    }
    return std::string_view::npos;
}

}  // namespace

std::vector<int> FindPlacesContaining(const PlaceCatalog& catalog, std::string_view typedText,
                                      std::size_t limit)
{
    std::array<char, kMaxPlaceNameLength> foldBuffer;
    std::array<char, kMaxPlaceNameLength> textBuffer;
    const std::string_view folded = FoldPlaceName(typedText, foldBuffer);
    const std::string_view text = PlaceNameKey(folded, textBuffer);
    std::vector<int> starting;
    std::vector<int> containing;
    if (text.empty())
        return starting;
    // An accent or apostrophe that ends the typed text ends a word there
    // (FORLÌ: not FORLIMPOPOLI).
    const bool endsWord = folded.size() > text.size() && folded.back() == '\'';
    std::array<char, kMaxPlaceNameLength> nameBuffer;
    const std::size_t count = catalog.Rows().size();
    for (std::size_t row = 0; row < count && starting.size() < limit; ++row) {
        const std::string_view name = PlaceNameKey(catalog.FoldedName(static_cast<int>(row)), nameBuffer);
        const std::size_t at = FindIn(name, text, endsWord);
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
