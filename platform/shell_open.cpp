// SPDX-License-Identifier: MIT
#include "platform/shell_open.h"

#include <QDesktopServices>

namespace cf::platform {
namespace {

ShellOpenRecorder* activeRecorder = nullptr;

}  // namespace

ShellOpenRecorder::ShellOpenRecorder()
{
    Q_ASSERT(activeRecorder == nullptr);
    activeRecorder = this;
}

ShellOpenRecorder::~ShellOpenRecorder()
{
    activeRecorder = nullptr;
}

void OpenUrl(const QUrl& url)
{
    if (activeRecorder) {
        activeRecorder->Record(url);
        return;
    }
    QDesktopServices::openUrl(url);
}

}  // namespace cf::platform
