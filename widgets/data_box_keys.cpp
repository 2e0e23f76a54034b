// SPDX-License-Identifier: MIT
#include "widgets/data_box_keys.h"

#include <QKeyEvent>
#include <QLineEdit>

#include "engine/text/latin_letters.h"

namespace cf::widgets {
namespace {

bool IsLetter(QChar c)
{
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

}  // namespace

FocusMove FocusMoveOf(const QKeyEvent& event)
{
    const int key = event.key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !(event.modifiers() & Qt::ControlModifier))
        return FocusMove::Next;
    if (key == Qt::Key_Escape)
        return FocusMove::Previous;
    return FocusMove::None;
}

bool MoveFocusOnEnterOrEsc(const QKeyEvent& event, const std::function<void(bool next)>& moveFocus)
{
    const FocusMove move = FocusMoveOf(event);
    if (move == FocusMove::None)
        return false;
    moveFocus(move == FocusMove::Next);
    return true;
}

std::optional<QChar> TypedCharacter(const QKeyEvent& event)
{
    const QString text = event.text();
    if (text.isEmpty() || event.key() == Qt::Key_Delete)
        return std::nullopt;
    const QChar c = text.at(0);
    if ((event.modifiers() & Qt::ControlModifier) && c.unicode() >= 0x40 && c.unicode() < 0x80)
        return QChar(c.unicode() & 0x1f);
    return c;
}

bool AlwaysAccepted(QChar c)
{
    return c == u'\b' || c == u'\t' || c == u'\n' || c == u'\r';
}

bool TypesRefusedCharacter(const QKeyEvent& event, bool (*takes)(QChar))
{
    const std::optional<QChar> typed = TypedCharacter(event);
    if (!typed || AlwaysAccepted(*typed) || *typed == QChar(0x7f) || IsEditingShortcut(event))
        return false;
    return !takes(*typed);
}

bool IsDropDownKey(const QKeyEvent& event)
{
    const bool alt = event.modifiers() & Qt::AltModifier;
    return event.key() == Qt::Key_F4 || (alt && (event.key() == Qt::Key_Down || event.key() == Qt::Key_Up));
}

bool IsEditingShortcut(const QKeyEvent& event)
{
    for (const QKeySequence::StandardKey key :
         {QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Paste, QKeySequence::SelectAll,
          QKeySequence::Undo, QKeySequence::Redo})
        if (event.matches(key))
            return true;
    return false;
}

bool SetByProgram(const QValidator& validator)
{
    const auto* box = qobject_cast<const QLineEdit*>(validator.parent());
    return box && !box->isUndoAvailable();
}

bool IsNameCharacter(QChar c)
{
    return IsLetter(c) || c == u' ' || c == u'\'' || c == u'\u2019' || c == u'-'
           || !BaseLettersOf(c.unicode()).empty();
}

QValidator::State NameBoxValidator::validate(QString& input, int& pos) const
{
    if (SetByProgram(*this))
        return Acceptable;
    const QString composed = input.normalized(QString::NormalizationForm_C);
    QString kept;
    int keptBeforeCaret = 0;
    const int caret = static_cast<int>(composed.size()) - (static_cast<int>(input.size()) - pos);
    for (qsizetype i = 0; i < composed.size(); ++i) {
        if (!IsNameCharacter(composed.at(i)))
            continue;
        kept.append(composed.at(i));
        if (i < caret)
            ++keptBeforeCaret;
    }
    if (kept != input) {
        input = kept;
        pos = keptBeforeCaret;
    }
    return Acceptable;
}

bool IsSexCharacter(QChar c)
{
    return c == u'M' || c == u'F' || c == u'm' || c == u'f';
}

void KeepUpperCase(QLineEdit& box)
{
    const QString upper = box.text().toUpper();
    if (upper != box.text())
        box.setText(upper);
    box.setCursorPosition(static_cast<int>(upper.size()));
}

}  // namespace cf::widgets
