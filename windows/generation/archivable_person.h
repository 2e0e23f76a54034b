// SPDX-License-Identifier: MIT
#pragma once
// The person as the archive can keep them: the archive file holds
// Windows-1252 text and refuses any other character.

#include <string>
#include <string_view>

#include "engine/code/person.h"

namespace cf::generation {

// The text with each character Windows-1252 can hold kept as it is, each
// other Latin letter written as its base letters (Ş as S, Ł as L) and any
// other character left out: the code rules read the same letters in both.
std::string ArchivableText(std::string_view text);

// The person with ArchivableText applied to the names and the place.
Person ArchivablePerson(Person person);

}  // namespace cf::generation
