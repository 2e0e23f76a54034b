// SPDX-License-Identifier: MIT
#pragma once
// Finding places by a part of their name, for a user who does not know how
// a place is spelled in the table.

#include <cstddef>
#include <string_view>
#include <vector>

#include "engine/places/place_catalog.h"

namespace cf {

// The rows whose name holds the typed text, both folded as FoldPlaceName
// does (case and accents do not matter): first the rows whose name starts
// with it, then the others, each group in table order; at most `limit`.
// None when the text folds to nothing.
std::vector<int> FindPlacesContaining(const PlaceCatalog& catalog, std::string_view typedText,
                                      std::size_t limit);

}  // namespace cf
