// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QWidget>

#include <vector>

namespace cf::widgets {

// The status bar's own widget: a row of panes, each with a sunken edge,
// showing a line of text with a small icon painted over its start. It keeps
// itself as wide as its parent.
class StatusPanes : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 25;

    // Right edges of the panes in pixels; -1 runs a pane to the right edge.
    StatusPanes(QWidget* parent, std::vector<int> paneRightEdges);

    int PaneCount() const { return static_cast<int>(panes_.size()); }
    // The pane's rectangle; empty when there is no such pane.
    QRect PaneRect(int pane) const;
    // The text the pane shows; empty when there is no such pane.
    QString PaneText(int pane) const;
    // Shows the text, shortened in its middle when it does not fit, with the
    // icon over its start; returns the text as shown.
    QString SetText(int pane, const QString& text, const QPixmap& icon);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Pane {
        int right = -1;
        bool written = false;  // until the first SetText only the edge shows
        QString text;
        QPixmap icon;
    };

    QRect TextRect(int pane) const;

    QList<Pane> panes_;
    QFont textFont_;
};

}  // namespace cf::widgets
