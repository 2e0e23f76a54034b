// SPDX-License-Identifier: MIT
#pragma once
// The date box of the generation window: keys go through the engine's
// date-mask rules, and only texts that keep the mask's shape can be pasted
// or dropped in.

#include <QValidator>

class QKeyEvent;
class QLineEdit;

namespace cf::generation {

// Runs a key press of the box through DateMaskKey (arrows, Delete,
// Backspace) or DateMaskCharacter (typed characters), applying the resulting
// text and caret and beeping when the rules say so. True when the key was
// consumed; false for keys the box handles itself (Tab, Home, End, an arrow
// at the ends of the text).
bool HandleDateMaskKey(QLineEdit& box, const QKeyEvent& event);

// Accepts exactly the texts of the mask's shape: two digits or blanks, "/",
// two digits or blanks, "/", two digits or blanks. Pasting or dropping any
// other result is refused and the text stays as it was; texts set by the
// program are not checked.
class DateMaskValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;
};

}  // namespace cf::generation
