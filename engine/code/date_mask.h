// SPDX-License-Identifier: MIT
#pragma once
// Key handling of the date box: the text keeps the fixed mask "  /  /  " and
// keys overwrite characters in place instead of inserting or removing them.
// The year, the mask's last field, may also be written with four digits: a
// digit typed after a two-digit year is added to it (up to four), never
// written over the last one.
//
// The text is UTF-16 so that caret positions match the text box's own. The
// caret counts from 0 (before the first character); the selection, when
// there is one, starts at the caret and extends to the right.

#include <string>
#include <string_view>

namespace cf {

inline constexpr std::u16string_view kDateMask = u"  /  /  ";

// The date box as the key handlers see it and leave it.
struct DateMaskBox {
    std::u16string text;
    int caret = 0;
    int selectionLength = 0;
};

// consumed: the box must not handle the key itself; beep: sound the
// platform's beep.
struct DateMaskKeyResult {
    bool consumed = false;
    bool beep = false;
};

// The longest text the box holds for the mask: two characters more than the
// mask when its last field is a two-character year after a slash ("  /  /  "
// takes "15/03/1980"), else the mask's length.
std::size_t LongestDateText(std::u16string_view mask);

// Whether the text has the mask's shape: its slashes where the mask has them,
// a digit or a blank in every other position, and up to two more digits after
// a two-digit year (see LongestDateText).
bool FitsDateMask(std::u16string_view text, std::u16string_view mask);

// The keys that edit the box besides typed characters.
enum class MaskKey { Left, Right, Up, Down, Delete, Backspace };

// Left and Right move the caret over slashes and into the empty part, Up and
// Down are swallowed, Delete puts "0" in the next character (or resets the
// selected part to the mask), Backspace puts "0" in the character before the
// caret, skipping a slash; in the two positions that make a year of four
// digits both remove the character instead. Left and Right at the ends of the
// text are passed on with the box unchanged; the other keys are always
// consumed.
DateMaskKeyResult DateMaskKey(DateMaskBox& box, MaskKey key, std::u16string_view mask);

// A typed character: a digit overwrites the next character, the caret
// jumping over a following slash; at the end of the text it lengthens a
// two- or three-digit year, and beeps when there is nothing it may lengthen.
// Anything else beeps. Every character is consumed.
DateMaskKeyResult DateMaskCharacter(DateMaskBox& box, char32_t character, std::u16string_view mask);

// A text pasted or dropped over the box's selection (or at its caret): its
// digits are typed one after the other, as DateMaskCharacter types them, and
// every other character is left out, so that the box places the separators.
// A date written with separators ("3/7/85", "15.03.1980") is taken with a
// two-digit day and month. Beeps, changing nothing, when the text holds no
// digit or a digit could not be typed.
DateMaskKeyResult DateMaskPaste(DateMaskBox& box, std::u16string_view pasted, std::u16string_view mask);

}  // namespace cf
