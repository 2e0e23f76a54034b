// SPDX-License-Identifier: MIT
#pragma once
// Key handling of the date box: the text keeps the fixed mask "  /  /  " and
// keys overwrite characters in place instead of inserting or removing them.
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

// The keys that edit the box besides typed characters.
enum class MaskKey { Left, Right, Up, Down, Delete, Backspace };

// Left and Right move the caret over slashes and into the empty part, Up and
// Down are swallowed, Delete puts "0" in the next character (or resets the
// selected part to the mask), Backspace puts "0" in the character before the
// caret, skipping a slash. Left and Right at the ends of the text are passed
// on with the box unchanged; the other keys are always consumed.
DateMaskKeyResult DateMaskKey(DateMaskBox& box, MaskKey key, std::u16string_view mask);

// A typed character: a digit overwrites the next character, the caret
// jumping over a following slash; anything else beeps. Every character is
// consumed.
DateMaskKeyResult DateMaskCharacter(DateMaskBox& box, char32_t character, std::u16string_view mask);

}  // namespace cf
