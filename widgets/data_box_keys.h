// SPDX-License-Identifier: MIT
#pragma once
// The keys of the windows' data boxes: Enter and Esc move the focus like Tab
// and Shift+Tab, each box lets through only its own characters, and names
// are kept upper case.

#include <QChar>

#include <optional>

class QKeyEvent;
class QLineEdit;

namespace cf::widgets {

// Where Enter (without Ctrl) and Esc send the focus; None for other keys.
enum class FocusMove { None, Next, Previous };
FocusMove FocusMoveOf(const QKeyEvent& event);

// The character a key types; nothing for the keys that type none (arrows,
// Home, Delete...). Ctrl with a letter types its control character, as
// Ctrl+V types 22.
std::optional<QChar> TypedCharacter(const QKeyEvent& event);

// Backspace, Tab, line feed and Enter pass every filter.
bool AlwaysAccepted(QChar c);

// The characters a name box takes: letters A-Z in either case and the blank.
bool IsNameCharacter(QChar c);

// The characters the sex box takes: M and F in either case.
bool IsSexCharacter(QChar c);

// Keeps the box's text upper case, the caret after its last character.
void KeepUpperCase(QLineEdit& box);

}  // namespace cf::widgets
