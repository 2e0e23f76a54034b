// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

class QLabel;

namespace cf::widgets {

// The floating window that shows a toolbar button's tooltip. It is driven
// only by its caption: the caller moves the window to the wanted top-left
// corner (screen pixels) and sets a caption; the window sizes itself to the
// text, keeps itself on the screen and shows without taking the focus. A blank
// caption hides the window and releases it, so the next tip gets a new one.
class TooltipWindow : public QWidget {
    Q_OBJECT

public:
    // The one tooltip window, created on first use.
    static TooltipWindow* Instance();
    // The tooltip window if one exists, else nullptr.
    static TooltipWindow* Current();

    void SetCaption(const QString& caption);
    QString Caption() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TooltipWindow();
    // Sizes, places and shows the window for its caption; a blank caption
    // hides and releases it instead.
    void FitToCaption();

    QLabel* captionLabel_;
};

}  // namespace cf::widgets
