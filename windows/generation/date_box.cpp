// SPDX-License-Identifier: MIT
#include "windows/generation/date_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <optional>

#include "engine/code/date_mask.h"
#include "widgets/data_box_keys.h"

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

int CommonPrefix(QStringView a, QStringView b)
{
    qsizetype i = 0;
    while (i < a.size() && i < b.size() && a[i] == b[i])
        ++i;
    return static_cast<int>(i);
}

// An edit of the box: the characters of the old text from `start` on that it
// replaced (`removed` of them) and those it put there instead.
struct Edit {
    int start;
    int removed;
    QString inserted;
};

// The edit that turned `before` into `after`, the caret then standing at
// `caret`, just after what was put in: the text after the caret is the old
// text's end. Without such a caret, the longest common start and end.
Edit EditBetween(const QString& before, const QString& after, int caret)
{
    int suffix = 0;
    if (caret >= 0 && caret <= after.size() && after.size() - caret <= before.size()
        && QStringView(after).sliced(caret) == QStringView(before).last(after.size() - caret)) {
        suffix = static_cast<int>(after.size()) - caret;
    } else {
        while (suffix < before.size() && suffix < after.size()
               && before.at(before.size() - 1 - suffix) == after.at(after.size() - 1 - suffix))
            ++suffix;
    }
    const int end = static_cast<int>(after.size()) - suffix;
    const int start = std::min({CommonPrefix(before, after), end, static_cast<int>(before.size()) - suffix});
    return {start, static_cast<int>(before.size()) - suffix - start, after.mid(start, end - start)};
}

}  // namespace

QString DateMask()
{
    return QString::fromStdU16String(std::u16string(kDateMask));
}

bool HandleDateMaskKey(QLineEdit& box, const QKeyEvent& event)
{
    if (widgets::IsEditingShortcut(event))
        return false;
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

DateMaskValidator::DateMaskValidator(QLineEdit* box) : QValidator(box), lastText_(box->text())
{
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { lastText_ = text; });
}

QValidator::State DateMaskValidator::validate(QString& input, int& pos) const
{
    if (input == lastText_ || widgets::SetByProgram(*this) || FitsDateMask(input.toStdU16String(), kDateMask))
        return Acceptable;
    const Edit edit = EditBetween(lastText_, input, pos);
    DateMaskBox state{lastText_.toStdU16String(), edit.start, edit.removed};
    const DateMaskKeyResult result = edit.inserted.isEmpty()
                                         ? DateMaskKey(state, MaskKey::Delete, kDateMask)
                                         : DateMaskPaste(state, edit.inserted.toStdU16String(), kDateMask);
    if (result.beep) {
        QApplication::beep();
        return Invalid;
    }
    input = QString::fromStdU16String(state.text);
    pos = state.caret;
    return Acceptable;
}

}  // namespace cf::generation
