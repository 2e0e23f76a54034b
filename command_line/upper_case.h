// SPDX-License-Identifier: MIT
#pragma once
// Upper-casing of typed or passed texts.

#include <string>
#include <string_view>

namespace cf {

// The text with a-z turned into A-Z; every other byte stays. Accented
// letters need no change: the letter rules of the code read them in either
// case, and no place name holds one.
std::string UpperCase(std::string_view text);

}  // namespace cf
