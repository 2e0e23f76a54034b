// SPDX-License-Identifier: MIT
#include "windows/verification/code_box_rule.h"

#include <algorithm>

#include "engine/code/homocodes.h"

namespace cf::verification {
namespace {

constexpr qsizetype kPartitaIvaLength = 11;
constexpr qsizetype kCodiceFiscaleLength = 16;

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

bool IsLetter(QChar c)
{
    return c >= u'A' && c <= u'Z';
}

// Whether the character at index i of a codice fiscale is a letter.
bool LetterPosition(qsizetype i)
{
    return i <= 5 || i == 8 || i == 11 || i == 15;
}

bool FitsCodiceFiscale(const QString& code)
{
    if (code.size() > kCodiceFiscaleLength)
        return false;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code.at(i);
        const bool fits = LetterPosition(i)
                              ? IsLetter(c)
                              : IsDigit(c) || (IsLetter(c) && HomocodeDigitValue(c.toLatin1()) >= 0);
        if (!fits)
            return false;
    }
    return true;
}

bool FitsPartitaIva(const QString& code)
{
    return code.size() <= kPartitaIvaLength && std::all_of(code.begin(), code.end(), IsDigit);
}

}  // namespace

std::optional<QString> CodeBoxText(const QString& text)
{
    const QString code = text.trimmed().toUpper();
    if (code.isEmpty())
        return code;
    if (IsDigit(code.front()) ? FitsPartitaIva(code) : FitsCodiceFiscale(code))
        return code;
    return std::nullopt;
}

QValidator::State CodeBoxValidator::validate(QString& input, int& pos) const
{
    const std::optional<QString> kept = CodeBoxText(input);
    if (!kept) {
        // Removing characters makes no text of another kind.
        if (input.size() >= lastText_.size())
            return Invalid;
        lastText_ = input;
        return Acceptable;
    }
    if (*kept != input) {
        int leadingBlanks = 0;
        while (leadingBlanks < input.size() && input.at(leadingBlanks).isSpace())
            ++leadingBlanks;
        pos = std::clamp(pos - leadingBlanks, 0, static_cast<int>(kept->size()));
        input = *kept;
    }
    lastText_ = input;
    return Acceptable;
}

}  // namespace cf::verification
