// SPDX-License-Identifier: MIT
#pragma once
// The --omocodici option: the homocodes of a correct codice fiscale.

#include <string>
#include <string_view>
#include <vector>

namespace cf {

struct HomocodeList {
    std::vector<std::string> codes;  // the 127 homocodes, in their order
    std::string refusal;             // why there are none
};

// The code as given (blanks and a CR around it dropped, a-z upper-cased)
// must be a formally correct codice fiscale with a digit or a homocode
// letter in each digit position; a homocode lists those of its original
// code.
HomocodeList ListHomocodes(std::string_view given);

}  // namespace cf
