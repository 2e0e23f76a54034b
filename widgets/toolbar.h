// SPDX-License-Identifier: MIT
#pragma once

#include <QColor>
#include <QImage>
#include <QKeySequence>
#include <QList>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;
class QTimer;
class QWidget;

namespace cf::widgets {

// The main window's toolbar: a flat row of captioned picture buttons, drawn on
// a surface widget of the host window. The host hands over, once, its window,
// the surface, the image strip and a timer. The toolbar then watches the
// surface itself: mouse, key, resize and paint events of the surface, resizes
// of the host window and the timer's ticks reach the methods below, and a
// mouse release over an enabled button is announced by ButtonClicked() with
// the button's number.
//
// The keyboard: the surface takes the focus by Tab, by a click or by F10
// anywhere in the host window; Left and Right (Home, End) then move a focus
// mark between the enabled buttons, Enter or Space presses the marked one and
// Esc gives the focus back to where F10 took it from. Each button may have a
// shortcut of the host window, named in its tooltip. Screen readers see the
// buttons through the accessibility interfaces of toolbar_accessible.h.
//
// Image strip: cells of SetBitmapSize(); button i's pictures lie in column
// i - 1: row 0 normal, row 1 hovered or pressed, row 2 disabled. Its white,
// dark grey (128) and light grey (192) pixels are drawn in the system's button
// highlight, shadow and face colours.
class Toolbar : public QObject {
    Q_OBJECT

public:
    explicit Toolbar(QObject* parent = nullptr);

    void Create(QWidget* window, QWidget* surface, const QImage& strip, QTimer* toolTipTimer);

    // Buttons are numbered from 1 in the order they are added.
    void AddButton(const QString& caption, const QString& toolTip);
    // A separator line before button `nextButton`.
    void AddBar(int nextButton);
    void EnableButton(int button, bool enabled);
    // A shortcut that presses the button from anywhere in the host window.
    void SetShortcut(int button, const QKeySequence& keys);
    void Refresh();

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    QString Caption(int button) const;
    // The tooltip as shown, with the button's shortcut: "Crea codice fiscale
    // (Alt+1)".
    QString ToolTip(int button) const;
    bool IsEnabled(int button) const;
    QKeySequence Shortcut(int button) const;
    // The button's rectangle on the surface.
    QRect ButtonRect(int button) const;
    // The button with the focus mark while the surface has the focus, else 0.
    int FocusedButton() const;
    // What a click on the button does: announces it if it is enabled.
    void Press(int button);

    // Captions under the pictures, in buttons large enough for them.
    void SetShowText(bool show);
    // Size of one picture of the strip.
    void SetBitmapSize(int width, int height);

    // Pointer events at a point of the surface, in pixels. Result: the enabled
    // button under the point, else 0. A press of the left button alone shows
    // the button pressed.
    int MouseMoveEvent(Qt::MouseButtons heldButtons, QPoint point);
    int MouseDownEvent(Qt::MouseButton button, QPoint point);
    int MouseUpEvent(QPoint point);
    // The tooltip timer's tick: shows the tip of the button under the pointer.
    void TimerEvent();

    // Left edge of button `button`, in surface pixels.
    int ButtonLeft(int button) const;
    QSize ButtonSize() const;
    int BarHeight() const;

signals:
    void ButtonClicked(int button);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Colours {
        QColor highlight, shadow, face, text;
        bool operator==(const Colours&) const = default;
    };
    struct Button {
        QString caption;
        QString toolTip;
        bool enabled = true;
        int left = 0;
        QKeySequence shortcut;
    };

    bool IsButton(int button) const { return button >= 1 && button <= ButtonCount(); }
    // The surface's button colours; the strip's own while there is no surface.
    Colours SystemColours() const;
    // The strip in the current colours.
    void ColourStrip();
    void LayOut();
    // What a paint draws: the whole bar, or the buttons always, or the
    // buttons only when the hit or the held buttons have changed since the
    // last one.
    enum class Paint { Full, Buttons, ButtonsIfChanged };
    int PaintAndHitTest(Qt::MouseButtons heldButtons, QPoint point, Paint paint);
    void PaintBar(QPainter& painter) const;
    void PaintButton(QPainter& painter, int number, bool isHit, bool pressed) const;
    void PaintSeparators(QPainter& painter) const;
    void PaintFrame(QPainter& painter, int number, bool pressed) const;
    void PaintFocusMark(QPainter& painter) const;
    // Keys on the focused surface; true when the key was used.
    bool KeyPressed(int key);
    // The enabled button nearest to `from` going by `step` (+1, -1), `from`
    // included; 0 when there is none.
    int EnabledFrom(int from, int step) const;
    void MoveFocusMark(int button);
    void TakeFocusFromKeyboard();
    // Takes away the hover frame and the tooltip, as when the pointer leaves.
    void DropHover();
    void ShowToolTip();
    void RemoveToolTip();

    bool created_ = false;
    QPointer<QWidget> window_;
    QPointer<QWidget> surface_;
    QPointer<QTimer> toolTipTimer_;
    QImage strip_;          // as drawn, in the fixed colours
    QImage colouredStrip_;  // in the current colours
    QImage canvas_;         // the surface's persistent picture

    QList<Button> buttons_;
    std::vector<int> separators_;  // each: number of the button it precedes

    bool showText_ = false;
    QSize captionedButtonSize_{60, 40};
    QSize pictureSize_{20, 20};
    Colours colours_;

    int paintedHit_ = 0;
    Qt::MouseButtons paintedHeldButtons_;
    QPoint lastPointer_{0, 0};
    QString toolTipUnderPointer_;
    bool toolTipShown_ = false;

    int keyButton_ = 0;  // the button of the focus mark
    QPointer<QWidget> focusBeforeF10_;
};

}  // namespace cf::widgets
