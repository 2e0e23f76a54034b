// SPDX-License-Identifier: MIT
#pragma once
// The keys of the windows' data boxes: Enter and Esc move the focus like Tab
// and Shift+Tab, each box lets through only its own characters, and names
// are kept upper case.

#include <QChar>
#include <QValidator>

#include <functional>
#include <optional>

class QKeyEvent;
class QLineEdit;

namespace cf::widgets {

// Where Enter (without Ctrl) and Esc send the focus; None for other keys.
enum class FocusMove { None, Next, Previous };
FocusMove FocusMoveOf(const QKeyEvent& event);

// Moves the focus for Enter and Esc through `moveFocus` (true: to the next
// control, as Tab does; false: to the previous one, as Shift+Tab does).
// True when the key was one of them.
bool MoveFocusOnEnterOrEsc(const QKeyEvent& event, const std::function<void(bool next)>& moveFocus);

// The character a key types; nothing for the keys that type none (arrows,
// Home, Delete...). Ctrl with a letter types its control character, as
// Ctrl+V types 22.
std::optional<QChar> TypedCharacter(const QKeyEvent& event);

// Backspace, Tab, line feed and Enter pass every filter.
bool AlwaysAccepted(QChar c);

// Whether a key types a character that a box, whose characters `takes`
// tells, does not take. Keys that type nothing, the characters that pass
// every filter, Delete and the editing shortcuts are the box's own.
bool TypesRefusedCharacter(const QKeyEvent& event, bool (*takes)(QChar));

// Alt+Down, Alt+Up and F4 open and close a drop-down list.
bool IsDropDownKey(const QKeyEvent& event);

// Copy, cut, paste, select-all, undo and redo: keys a box runs itself, past
// its filter of typed characters.
bool IsEditingShortcut(const QKeyEvent& event);

// Whether the text a box's validator judges is one the program sets
// (QLineEdit::setText, which leaves no undo step) rather than an edit of the
// user's. The validator's parent is the box.
bool SetByProgram(const QValidator& validator);

// The characters a name box takes: the letters of any Latin script (those
// the code rules read, accented or not), the blank, the apostrophe (' or ’)
// and the hyphen.
bool IsNameCharacter(QChar c);

// Keeps what a name box is given whole (a paste, a drop) to the characters
// it takes: the text is composed (a letter and its accent as one character)
// and every other character is left out. Texts set by the program stand as
// they are. The validator's parent is the box.
class NameBoxValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

// The characters the sex box takes: M and F in either case.
bool IsSexCharacter(QChar c);

// Keeps the box's text upper case, the caret after its last character.
void KeepUpperCase(QLineEdit& box);

}  // namespace cf::widgets
