#pragma once

#include <QPixmap>
#include <QPointer>
#include <QString>

#include <array>

class QWidget;
class StatusWindow;

// A status bar of two panes (0 to 200 pixels, then the rest of the width)
// inside a container widget of the host. Each pane shows a small icon and a
// line of text, shortened in its middle when it is too long.
class CStatusBar32x {
public:
    QWidget* Parent() const { return parent_; }
    void SetParent(QWidget* container) { parent_ = container; }

    // Creates the status window at the top of the container, as wide as it.
    void Create();
    // Icon IconNum of the program (0 the application icon, 1 the title
    // pane's card, 2 the date pane's calendar) for pane 0, 1 or 2; any other
    // pane or an unknown icon changes nothing.
    void SetIcon(int Pane, int IconNum);
    // Paints the pane with its icon over the start of strText; strText then
    // holds the text as shown. The last argument is not used.
    void DrawTextPic(int Pane, QString& strText, int unused = 0);
    void SetStatBarText(int PaneNumber, const QString& StringToAdd);
    void UpdateStatBar(int Pane);
    QWidget* GetStatBarHwnd() const;
    // Places the window at x 1, 72 pixels above the container's bottom,
    // 10 pixels narrower than the container.
    void Resize();
    void DestroyStatBar();

private:
    QPointer<QWidget> parent_;
    QPointer<StatusWindow> window_;
    std::array<QPixmap, 3> icons_;
};
