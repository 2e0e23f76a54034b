// SPDX-License-Identifier: MIT
#pragma once
// Hands a file or a link (mailto:, https:) to the desktop, which opens it
// with the user's associated program. Every such request of the program goes
// through OpenUrl, so that tests can record it through a ShellOpenRecorder
// instead of starting a browser.

#include <QUrl>

#include <string_view>
#include <vector>

namespace cf::platform {

// Asks the desktop to open the URL. The outcome is not reported: a link the
// desktop cannot open simply opens nothing.
void OpenUrl(const QUrl& url);

// Writes embedded resource `resourceId` to the work directory as `fileName`,
// replacing any earlier copy, and opens that file. A file that cannot be
// written is not opened; nothing is reported either way.
void OpenResourcePage(std::string_view fileName, int resourceId);

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
