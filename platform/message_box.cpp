// SPDX-License-Identifier: MIT
#include "platform/message_box.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMainWindow>
#include <QMessageBox>
#include <QPointer>

#include <utility>

namespace cf::platform {
namespace {

MessageBoxRecorder* activeRecorder = nullptr;
// The window the last box spoke for.
QPointer<QWidget> lastOwner;

// The window a box speaks for: the active one; else, as right after another
// box has closed and before the window system has handed the activation
// back, the last box's window or the program's main window.
QWidget* OwnerWindow()
{
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (lastOwner && lastOwner->isVisible())
        return lastOwner;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (qobject_cast<QMainWindow*>(window) && window->isVisible())
            return window;
    return nullptr;
}

MessageAnswer EscapeAnswer(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
        return MessageAnswer::No;
    case MessageButtons::YesNoCancel:
        return MessageAnswer::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return MessageAnswer::Ok;
}

QMessageBox::Icon BoxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Information:
        break;
    }
    return QMessageBox::Information;
}

QMessageBox::StandardButtons BoxButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MessageButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MessageButtons::Ok:
        break;
    }
    return QMessageBox::Ok;
}

}  // namespace

MessageBoxRecorder::MessageBoxRecorder()
{
    Q_ASSERT(activeRecorder == nullptr);
    activeRecorder = this;
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    activeRecorder = nullptr;
}

MessageAnswer MessageBoxRecorder::Answer(const MessageRequest& request)
{
    requests_.push_back(request);
    if (answers_.empty())
        return EscapeAnswer(request.buttons);
    const MessageAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
}

MessageAnswer ShowMessage(MessageIcon icon, const QString& title, const QString& text, MessageButtons buttons)
{
    if (activeRecorder)
        return activeRecorder->Answer({icon, title, text, buttons});

    const QPointer<QWidget> owner = OwnerWindow();
    const QPointer<QWidget> focus = owner ? owner->focusWidget() : nullptr;
    lastOwner = owner;
    QMessageBox box(BoxIcon(icon), title, text, BoxButtons(buttons), owner);
    // The program speaks Italian whatever the system's language.
    const std::pair<QMessageBox::StandardButton, const char*> captions[] = {{QMessageBox::Ok, "OK"},
                                                                            {QMessageBox::Yes, "&Sì"},
                                                                            {QMessageBox::No, "&No"},
                                                                            {QMessageBox::Cancel, "Annulla"}};
    for (const auto& [button, caption] : captions)
        if (QAbstractButton* shown = box.button(button))
            shown->setText(QString::fromUtf8(caption));
    box.setDefaultButton(buttons == MessageButtons::Ok ? QMessageBox::Ok : QMessageBox::Yes);
    if (buttons == MessageButtons::YesNo)
        box.setEscapeButton(QMessageBox::No);
    const int answer = box.exec();
    // The keyboard goes back to the window the box spoke for and to the
    // control that had it, even where no window manager hands it back.
    if (owner) {
        owner->activateWindow();
        if (focus)
            focus->setFocus(Qt::ActiveWindowFocusReason);
    }
    switch (answer) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Ok:
        return MessageAnswer::Ok;
    default:
        return EscapeAnswer(buttons);
    }
}

}  // namespace cf::platform
