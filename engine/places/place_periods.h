// SPDX-License-Identifier: MIT
#pragma once
// The periods of the municipalities and foreign states (province EE): for
// each cadastral code, the stretches of time in which its names and its
// province stayed the same. Read from the
// embedded text of lines CODE,FIRST,LAST,PROV,NAME[,NAME...] (days as
// YYYYMMDD, 99991231 for a period still open; lines starting with '#' are
// comments).

#include <string_view>
#include <vector>

namespace cf {

inline constexpr int kStillOpen = 99991231;

struct PlacePeriod {
    std::string_view code;
    int firstDay = 0;  // yyyymmdd
    int lastDay = 0;   // yyyymmdd, kStillOpen while the period lasts
    std::string_view province;
    std::string_view names;  // the official name first, then the others, comma-separated

    std::string_view OfficialName() const { return names.substr(0, names.find(',')); }
    bool HasName(std::string_view name) const;
    bool Holds(int day) const { return firstDay <= day && day <= lastDay; }
};

// The periods of the text in its order; lines out of format are skipped.
// The periods point into the text.
std::vector<PlacePeriod> ParsePlacePeriods(std::string_view text);

}  // namespace cf
