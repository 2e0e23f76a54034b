// SPDX-License-Identifier: MIT
#pragma once
// What the code box of the verification window takes, however a text comes
// in (typed, pasted, dropped): letters and digits only, in upper case,
// without the blanks around them. A text beginning with a digit is a
// Partita IVA of at most 11 digits; one beginning with a letter a codice
// fiscale of at most 16 characters, with letters at its letter positions
// (1-6, 9, 12, 16) and digits, or the homocode letters L M N P Q R S T U V,
// at its digit positions.

#include <QString>
#include <QValidator>

#include <optional>

namespace cf::verification {

// The text as the box keeps it, or nothing when it breaks the rule.
std::optional<QString> CodeBoxText(const QString& text);

// Puts every edit of the box under CodeBoxText. An edit that only removes
// characters is always taken, so that a text can be corrected anywhere.
class CodeBoxValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int& pos) const override;

private:
    mutable QString lastText_;  // the text last taken
};

}  // namespace cf::verification
