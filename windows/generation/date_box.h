// SPDX-License-Identifier: MIT
#pragma once
// The date box of the generation window: keys go through the engine's
// date-mask rules, and what is pasted or dropped in is typed as digits.

#include <QString>
#include <QValidator>

class QKeyEvent;
class QLineEdit;

namespace cf::generation {

// The text of an empty date box: the mask "  /  /  ".
QString DateMask();

// Runs a key press of the box through DateMaskKey (arrows, Delete,
// Backspace) or DateMaskCharacter (typed characters), applying the resulting
// text and caret and beeping when the rules say so. True when the key was
// consumed; false for keys the box handles itself (Tab, Home, End, an arrow
// at the ends of the text, and copy, cut, paste, select-all, undo and redo,
// whose edits the validator judges).
bool HandleDateMaskKey(QLineEdit& box, const QKeyEvent& event);

// Puts every edit the box makes itself (a paste, a drop, a cut, an undo)
// under the mask: a text of the mask's shape is taken as it is; otherwise
// the characters put in are typed over what they replaced (DateMaskPaste),
// and characters taken out are deleted as the Delete key deletes them. An
// edit that types no digit is refused, with a beep, and the text stays.
// Texts set by the program are not checked. The box has no length limit of
// its own, which would cut a pasted text: the mask holds it to ten
// characters.
class DateMaskValidator : public QValidator {
public:
    explicit DateMaskValidator(QLineEdit* box);
    State validate(QString& input, int& pos) const override;

private:
    QString lastText_;  // the box's text before the edit being judged
};

}  // namespace cf::generation
