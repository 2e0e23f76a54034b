// SPDX-License-Identifier: MIT
#include "widgets/window_host.h"

#include <QMdiSubWindow>
#include <QWidget>

namespace cf::widgets {

QWidget* HostWindow(QWidget* window)
{
    if (auto* subWindow = qobject_cast<QMdiSubWindow*>(window->parentWidget()))
        return subWindow;
    return window;
}

void ShowHostWindow(QWidget* window)
{
    window->show();
    QWidget* host = HostWindow(window);
    host->show();
    host->raise();
    host->activateWindow();
}

}  // namespace cf::widgets
