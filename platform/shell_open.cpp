// SPDX-License-Identifier: MIT
#include "platform/shell_open.h"

#include <QDesktopServices>

#include "engine/storage/work_files.h"

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

void OpenResourcePage(std::string_view fileName, int resourceId)
{
    if (WriteResourceFile(fileName, resourceId))
        OpenUrl(QUrl::fromLocalFile(QString::fromStdString(WorkDirectory() + std::string(fileName))));
}

}  // namespace cf::platform
