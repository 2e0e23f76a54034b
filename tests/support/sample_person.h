// SPDX-License-Identifier: MIT
#pragma once
// A person whose code is right for her data, for tests that print or show one.

#include "engine/code/person.h"

namespace cf::test {

inline Person Lucia()
{
    return {.surname = "BIANCHI",
            .firstName = "LUCIA",
            .sex = "F",
            .birthDate = "03/07/85",
            .place = "ROMA",
            .province = "RM",
            .code = "BNCLCU85L43H501J"};
}

}  // namespace cf::test
