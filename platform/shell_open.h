// SPDX-License-Identifier: MIT
#pragma once
// Hands a file or a link (mailto:, https:) to the desktop, which opens it
// with the user's associated program. Every such request of the program goes
// through OpenUrl, so that tests can record it through a ShellOpenRecorder
// instead of starting a browser.

#include <QUrl>

#include <vector>

namespace cf::platform {

// Asks the desktop to open the URL. The outcome is not reported: a link the
// desktop cannot open simply opens nothing.
void OpenUrl(const QUrl& url);

// While a recorder exists, OpenUrl opens nothing and records the URL instead.
// One recorder at a time.
class ShellOpenRecorder {
public:
    ShellOpenRecorder();
    ~ShellOpenRecorder();
    ShellOpenRecorder(const ShellOpenRecorder&) = delete;
    ShellOpenRecorder& operator=(const ShellOpenRecorder&) = delete;

    void Record(const QUrl& url) { urls_.push_back(url); }
    const std::vector<QUrl>& urls() const { return urls_; }

private:
    std::vector<QUrl> urls_;
};

}  // namespace cf::platform
