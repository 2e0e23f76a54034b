#pragma once

#include <QWidget>

class QLabel;

// The floating window that shows a toolbar button's tooltip. It is driven
// only by its caption: the caller moves the window to the wanted top-left
// corner (screen pixels) and sets a caption; the window sizes itself to the
// text, keeps itself on the screen and shows without taking the focus. A blank
// caption hides the window and releases it, so the next tip gets a new one.
class frmToolTip : public QWidget {
    Q_OBJECT

public:
    // The one tooltip window, created on first use.
    static frmToolTip* Instance();
    // The tooltip window if one exists, else nullptr.
    static frmToolTip* Current();

    void SetCaption(const QString& caption);
    QString Caption() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    frmToolTip();
    void lblToolTip_Change();

    QLabel* lblToolTip;
};
