// SPDX-License-Identifier: MIT
#include "platform/clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace cf::platform {

void SetClipboardText(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

}  // namespace cf::platform
