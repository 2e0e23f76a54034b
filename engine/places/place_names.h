// SPDX-License-Identifier: MIT
#pragma once
// Typed place names brought to the form of the place table, so that what a
// user types finds its row: FORLÌ, forlì and " Forli' " all become FORLI'.

#include <span>
#include <string_view>

namespace cf {

// The longest typed name that can match a row.
inline constexpr std::size_t kMaxPlaceNameLength = 96;

// Folds a UTF-8 place name and returns the folded text, written into
// `buffer` or, when the text is in folded form already, the text itself:
// letters upper case, accented letters as their base letter, an accented
// vowel ending a word as vowel + apostrophe, typographic apostrophes and
// backticks as apostrophes, surrounding blanks dropped and inner runs of
// blanks made one. Empty when the text is not valid UTF-8, holds a character
// no place name has, or does not fit the buffer.
std::string_view FoldPlaceName(std::string_view text, std::span<char> buffer);

// The key two folded names are compared by: the name without an apostrophe
// that follows a vowel at the end of a word, so that FORLI finds FORLI' and
// MALE' finds MALE (the registry writes some final accents so, some not).
// The text itself when it has no such apostrophe, else the key written into
// `buffer`; empty when it does not fit.
std::string_view PlaceNameKey(std::string_view folded, std::span<char> buffer);

// SANREMO for "SAN REMO" in any case, the one spelling of a name the
// original program wrote as the table does; any other text as it is.
std::string_view SanremoAsTheTableWritesIt(std::string_view typedPlace);

// A folded name with a province in brackets at its end, "SAN TEODORO (SS)".
struct PlaceQuery {
    std::string_view name;
    std::string_view province;  // empty when there is none
};

// Splits off a final " (XX)" of two letters; otherwise the whole text is the
// name.
PlaceQuery SplitProvince(std::string_view foldedName);

}  // namespace cf
