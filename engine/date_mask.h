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

// Key-down handling: Left (37) and Right (39) move the caret over slashes and
// into the empty part, Up (38) and Down (40) are swallowed, Delete (46) puts
// "0" in the next character (or resets the selected part to the mask). Other
// keys are passed on with the box unchanged.
DateMaskKeyResult DateMaskKeyDown(DateMaskBox& box, int keyCode, std::u16string_view mask);

// Typed-character handling: Backspace (8) puts "0" in the character before
// the caret, skipping a slash; a digit overwrites the next character, the
// caret jumping over a following slash; anything else beeps. Every character
// is consumed.
DateMaskKeyResult DateMaskKeyPress(DateMaskBox& box, int keyAscii, std::u16string_view mask);

}  // namespace cf
