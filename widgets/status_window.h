#pragma once

#include <QPixmap>
#include <QString>
#include <QWidget>

#include <vector>

// The status bar window itself: a row of panes, each with a sunken edge,
// showing either a plain text or a text with a small icon painted the way
// CStatusBar32x asks for it.
class StatusWindow : public QWidget {
    Q_OBJECT

public:
    static constexpr int kHeight = 25;

    // Right edges of the panes in pixels; -1 runs a pane to the right edge.
    StatusWindow(QWidget* parent, std::vector<int> paneRightEdges);

    // The pane's rectangle; empty when there is no such pane.
    QRect PaneRect(int pane) const;
    // Shows the text, shortened in its middle when it does not fit, with the
    // icon over its start; returns the text as shown.
    QString SetIconText(int pane, const QString& text, const QPixmap& icon);
    void SetPlainText(int pane, const QString& text);
    // Keeps the window as wide as its parent (on after construction).
    void SetFollowParentWidth(bool follow) { followParentWidth_ = follow; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    struct Pane {
        int right = -1;
        bool withIcon = false;
        QString text;
        QPixmap icon;
    };

    QRect TextRect(int pane) const;

    std::vector<Pane> panes_;
    QFont iconTextFont_;
    bool followParentWidth_ = true;
};
