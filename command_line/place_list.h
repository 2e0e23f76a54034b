// SPDX-License-Identifier: MIT
#pragma once
// The --luoghi option: places whose name holds a text.

#include <string>
#include <string_view>
#include <vector>

namespace cf {

// At most this many places are listed.
inline constexpr std::size_t kMaxListedPlaces = 50;

struct PlaceList {
    // CSV lines: name, cadastral code, province, first and last day of
    // validity of the code (dd/mm/yyyy; empty for a place known without
    // dates, and the last day empty while the place exists).
    std::vector<std::string> lines;
    std::string refusal;  // why there are none
};

// Names holding the text (case and accents folded), those starting with it
// first.
PlaceList ListPlaces(std::string_view text);

}  // namespace cf
