// SPDX-License-Identifier: MIT
#pragma once
// Modal message boxes. Every box of the program goes through ShowMessage, so
// that tests can answer boxes through a MessageBoxRecorder instead of a person.

#include <QString>

#include <deque>
#include <vector>

#include "engine/code/message_icon.h"

namespace cf::platform {

enum class MessageButtons { Ok, YesNo, YesNoCancel };

enum class MessageAnswer { Ok, Yes, No, Cancel };

struct MessageRequest {
    MessageIcon icon;
    QString title;
    QString text;
    MessageButtons buttons;
};

// Shows a modal box over the active window (or, when none is active yet, the
// window of the last box or the main window) and returns the button pressed;
// the keyboard focus then goes back where it was. The first button is the
// default one. Esc or closing the box answers No for Yes/No and Cancel for
// Yes/No/Cancel.
MessageAnswer ShowMessage(MessageIcon icon, const QString& title, const QString& text,
                          MessageButtons buttons = MessageButtons::Ok);

// While a recorder exists, ShowMessage shows nothing: it records the request
// and gives the next queued answer or, when none is queued, the answer of Esc
// (Ok, No or Cancel). One recorder at a time.
class MessageBoxRecorder {
public:
    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    void QueueAnswer(MessageAnswer answer) { answers_.push_back(answer); }
    const std::vector<MessageRequest>& requests() const { return requests_; }

    MessageAnswer Answer(const MessageRequest& request);

private:
    std::deque<MessageAnswer> answers_;
    std::vector<MessageRequest> requests_;
};

}  // namespace cf::platform
