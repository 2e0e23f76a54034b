#pragma once

#include <QColor>
#include <QImage>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSize>
#include <QString>

#include <vector>

class QPainter;
class QTimer;
class QWidget;

// A flat toolbar of captioned picture buttons, drawn on a surface widget of the
// host window. The host hands over, once, its window, the surface, the image
// strip and a timer. The toolbar then watches the surface itself: mouse, key,
// resize and paint events of the surface, resizes of the host window and the
// timer's ticks reach the ...Event methods below, and a mouse release over an
// enabled button is announced by ButtonClicked() with the button's number.
//
// Image strip: cells of SetBitmapSize(); button i's pictures lie in column
// i - 1: row 0 normal, row 1 hovered or pressed, row 2 disabled. Its white,
// dark grey (128) and light grey (192) pixels are drawn in the system's button
// highlight, shadow and face colours.
class clsCoolbar : public QObject {
    Q_OBJECT

public:
    explicit clsCoolbar(QObject* parent = nullptr);

    void Create(QWidget* Frm, QWidget* pic, const QImage& picMaster, QTimer* tmr);

    void AddButton(const QString& sCaption, const QString& sToolTipText);
    void AddBar(int iButtonToPrecede);
    void EnableButton(int iButtonNo, bool bEnabled);
    void Refresh();

    bool ShowText() const { return showText_; }
    void SetShowText(bool fShow);
    bool ShowHandle() const { return showHandle_; }
    void SetShowHandle(bool bShowHandle);
    // 0 flat, 1 etched, 2 raised, 3 sunken; anything else is taken as 1.
    int BarStyle() const { return barStyle_; }
    void SetBarStyle(int iStyle);
    // 0 short etched line, 1 full-height etched line; anything else is 0.
    int SeparatorStyle() const { return separatorStyle_; }
    void SetSeparatorStyle(int iStyle);
    bool ShowToolTips() const { return showToolTips_; }
    void SetShowToolTips(bool fShowTips);
    void SetUseSystemColours(bool bUseSystemColours);
    void RaisedOffset(int iXOffset, int iYOffset);
    void LoweredOffset(int iXOffset, int iYOffset);
    void SetBigButtonSize(int iWidth, int iHeight);
    void SetSmallButtonSize(int iWidth, int iHeight);
    void SetBitmapSize(int iWidth, int iHeight);
    static QString Version();

    // Button is the mouse-button value (1 left, 2 right, 4 middle; for a move
    // the buttons held), Shift the modifier keys (1 Shift, 2 Ctrl, 4 Alt).
    // Result: the enabled button under the point, else 0.
    int MouseMoveEvent(int Button, int Shift, int x, int Y);
    int MouseDownEvent(int Button, int Shift, int x, int Y);
    int MouseUpEvent(int Button, int Shift, int x, int Y);
    int ClickEvent();
    void KeyDownEvent();
    void KeyUpEvent();
    void ResizeEvent();
    void TimerEvent();

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    // Left edge of button iButtonNo (1-based), in surface pixels.
    int ButtonLeft(int iButtonNo) const;
    QSize ButtonSize() const;
    int BarHeight() const;

signals:
    void ButtonClicked(int iButtonNo);

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
    };

    Colours CurrentColours() const;
    void MapStrip();
    void LayOut();
    // What a paint draws: the whole bar, or the buttons always, or the
    // buttons only when the hit or the mode has changed since the last one.
    enum class Paint { Full, Buttons, ButtonsIfChanged };
    int PaintAndHitTest(int mode, QPoint point, Paint paint);
    void PaintBar(QPainter& painter) const;
    void PaintButton(QPainter& painter, int number, bool isHit, int mode) const;
    void PaintSeparators(QPainter& painter) const;
    void PaintFrame(QPainter& painter, int number, int mode) const;
    void ShowToolTip();
    void RemoveToolTip();

    bool created_ = false;
    QPointer<QWidget> form_;
    QPointer<QWidget> surface_;
    QPointer<QTimer> timer_;
    QImage strip_;        // as drawn, in the fixed colours
    QImage mappedStrip_;  // in the current colours
    QImage canvas_;       // the surface's persistent picture

    std::vector<Button> buttons_;
    std::vector<int> separators_;  // each: number of the button it precedes

    int barStyle_ = 1;
    int separatorStyle_ = 0;
    bool showText_ = false;
    bool showHandle_ = true;
    bool showToolTips_ = true;
    bool useSystemColours_ = true;
    QSize bigButton_{60, 40};
    QSize smallButton_{28, 28};
    QSize cell_{20, 20};
    QPoint raisedOffset_{0, 0};
    QPoint loweredOffset_{1, 1};
    Colours colours_;

    int lastHit_ = 0;
    int lastMode_ = 0;
    QPoint lastPointer_{0, 0};
    QString pendingToolTip_;
    bool toolTipShown_ = false;
};
