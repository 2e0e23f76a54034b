// SPDX-License-Identifier: MIT
#pragma once
// Texts compiled into the program: the place table, the help pages and the
// periods of the places.

#include <cstddef>
#include <span>

namespace cf {

enum ResourceNumber : int {
    kPlaceTableResource = 101,
    kCommandLineHelpResource = 102,
    kCodeHelpResource = 103,
    kPlacePeriodsResource = 104,
};

// The bytes of an embedded resource; empty for an unknown number.
std::span<const unsigned char> ResourceBytes(int id);

}  // namespace cf
