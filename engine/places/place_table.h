// SPDX-License-Identifier: MIT
#pragma once
// The table of places (municipalities and foreign states) with their
// cadastral codes and provinces: its rows and the file it is written to.
// The lookups are those of PlaceCatalog.

#include <string>
#include <string_view>
#include <vector>

namespace cf {

inline constexpr char kPlaceFileName[] = "varnel.cod";

struct PlaceRow {
    std::string_view name;
    std::string_view code;
    std::string_view province;
};

// Reads table text: lines NAME,CODE,PROV ended by CR LF (a CR or LF alone
// also ends a line); reading stops at the first NUL byte. Blank lines are
// skipped. The rows point into the given text.
std::vector<PlaceRow> ParsePlaceTable(std::string_view text);

}  // namespace cf
