#include "generation/date_box.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>

#include "engine/date_mask.h"

namespace cf::generation {
namespace {

constexpr int kBackspaceChar = 8;

// The virtual-key code the date-mask rules expect for a key-down, 0 for keys
// they do not look at.
int KeyDownCode(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Left: return 37;
    case Qt::Key_Up: return 38;
    case Qt::Key_Right: return 39;
    case Qt::Key_Down: return 40;
    case Qt::Key_Delete: return 46;
    default: return 0;
    }
}

// The character code of a typed key, 0 when the key types nothing.
int TypedCharacter(const QKeyEvent& event)
{
    if (event.key() == Qt::Key_Backspace)
        return kBackspaceChar;
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
    if (const int keyCode = KeyDownCode(event.key())) {
        result = DateMaskKeyDown(state, keyCode, kDateMask);
    } else if (const int character = TypedCharacter(event); character != 0 && character != 0x7f) {
        result = DateMaskKeyPress(state, character, kDateMask);
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
        const bool ok = kDateMask[static_cast<std::size_t>(i)] == u'/' ? c == u'/'
                                                                     : c == u' ' || (c >= u'0' && c <= u'9');
        if (!ok)
            return Invalid;
    }
    return Acceptable;
}

}  // namespace cf::generation
