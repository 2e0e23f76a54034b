// SPDX-License-Identifier: MIT
#include "generation/date_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <optional>

#include "engine/date_mask.h"

namespace cf::generation {
namespace {

// The date-mask key of a key event, nothing for the keys that type a
// character or that the box handles itself.
std::optional<MaskKey> MaskKeyOf(const QKeyEvent& event)
{
    switch (event.key()) {
    case Qt::Key_Left:
        return MaskKey::Left;
    case Qt::Key_Right:
        return MaskKey::Right;
    case Qt::Key_Up:
        return MaskKey::Up;
    case Qt::Key_Down:
        return MaskKey::Down;
    case Qt::Key_Delete:
        return MaskKey::Delete;
    case Qt::Key_Backspace:
        return MaskKey::Backspace;
    default:
        // Ctrl+H types the backspace character.
        return event.text() == QStringLiteral("\b") ? std::optional(MaskKey::Backspace) : std::nullopt;
    }
}

// The character of a typed key, 0 when the key types nothing.
char32_t TypedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Tab || event.key() == Qt::Key_Backtab)
        return 0;
    const QString text = event.text();
    return text.isEmpty() ? 0 : text.at(0).unicode();
}

DateMaskBox ReadBox(const QLineEdit& box)
{
    // The rules see a selection as starting at the caret.
    const bool selected = box.hasSelectedText();
    return {box.text().toStdU16String(), selected ? box.selectionStart() : box.cursorPosition(),
            selected ? static_cast<int>(box.selectedText().size()) : 0};
}

void WriteBox(QLineEdit& box, const DateMaskBox& state)
{
    const QString text = QString::fromStdU16String(state.text);
    if (box.text() != text)
        box.setText(text);
    if (state.selectionLength > 0)
        box.setSelection(state.caret, state.selectionLength);
    else
        box.setCursorPosition(state.caret);
}

}  // namespace

bool HandleDateMaskKey(QLineEdit& box, const QKeyEvent& event)
{
    DateMaskBox state = ReadBox(box);
    DateMaskKeyResult result;
    if (const std::optional<MaskKey> key = MaskKeyOf(event)) {
        result = DateMaskKey(state, *key, kDateMask);
    } else if (const char32_t character = TypedCharacter(event); character != 0 && character != 0x7f) {
        result = DateMaskCharacter(state, character, kDateMask);
    } else {
        return false;
    }
    if (result.consumed)
        WriteBox(box, state);
    if (result.beep)
        QApplication::beep();
    return result.consumed;
}

QValidator::State DateMaskValidator::validate(QString& input, int&) const
{
    if (input.size() != static_cast<qsizetype>(kDateMask.size()))
        return Invalid;
    for (qsizetype i = 0; i < input.size(); ++i) {
        const QChar c = input.at(i);
        const bool ok = kDateMask[static_cast<std::size_t>(i)] == u'/'
                            ? c == u'/'
                            : c == u' ' || (c >= u'0' && c <= u'9');
        if (!ok)
            return Invalid;
    }
    return Acceptable;
}

}  // namespace cf::generation
