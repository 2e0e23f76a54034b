// SPDX-License-Identifier: MIT
#pragma once
// The system clipboard, holding plain text.

#include <QString>

#include <string_view>

namespace cf::platform {

// Replaces the clipboard's content with the text, which stays there while
// the program runs. Needs a QGuiApplication.
void SetClipboardText(const QString& text);

// For a process about to end: a detached background process takes the
// clipboard with the (short: no incremental transfer) text and serves it until another program takes the
// clipboard, so the text outlives this process. True once the clipboard
// holds the text. Works on X11 displays (DISPLAY); false elsewhere, where
// SetClipboardText is all there is. Call it before any thread is started.
bool KeepOnClipboardAfterExit(std::string_view text);

}  // namespace cf::platform
