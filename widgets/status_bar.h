// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>

class QWidget;

namespace cf::widgets {

class StatusPanes;

// The main window's status bar: two panes (0 to 200 pixels, then the rest of
// the width) inside a container widget of the host. Each pane shows a small
// icon and a line of text, shortened in its middle when it is too long.
class StatusBar {
public:
    void SetParent(QWidget* container) { container_ = container; }

    // Creates the panes at the top of the container, as wide as it.
    void Create();
    // Icon `icon` of the program (0 the application icon, 1 the title pane's
    // card, 2 the date pane's calendar) for pane 0, 1 or 2; any other pane or
    // an unknown icon changes nothing.
    void SetIcon(int pane, int icon);
    // Paints the pane with its icon over the start of `text`. Returns the
    // text as shown.
    QString DrawTextPic(int pane, const QString& text);

private:
    QPointer<QWidget> container_;
    QPointer<StatusPanes> panes_;
    QList<QPixmap> icons_ = QList<QPixmap>(3);
};

}  // namespace cf::widgets
