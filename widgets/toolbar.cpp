// SPDX-License-Identifier: MIT
#include "widgets/toolbar.h"

#include "widgets/layout_scale.h"
#include "widgets/toolbar_accessible.h"
#include "widgets/tooltip_window.h"

#include <QAccessible>
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include <cmath>

namespace cf::widgets {

namespace {

constexpr int kLeftMargin = 6;
constexpr int kHandleWidth = 6;
constexpr int kTopMargin = 4;
constexpr int kSeparatorWidth = 6;
constexpr int kImageTop = 4;
constexpr int kTextGap = 2;
constexpr int kToolTipDelayMs = 500;
constexpr QPoint kToolTipOffset{0, 20};
// Buttons without captions.
constexpr QSize kPictureButtonSize{28, 28};
// A pressed button's picture and caption move by this much.
constexpr QPoint kPressedOffset{1, 1};
// Caption font: the system's sans font at 11 pixels, a 13-pixel line, at
// the default desktop font; the buttons grow with their captions.
constexpr int kCaptionPixelSize = 11;
// The focus mark: a dotted box this far inside the button's outline.
constexpr int kFocusMarkInset = 3;

// Colours of the strip as drawn, replaced by highlight, shadow and face.
const QRgb kStripWhite = qRgb(255, 255, 255);
const QRgb kStripDarkGrey = qRgb(128, 128, 128);
const QRgb kStripLightGrey = qRgb(192, 192, 192);

// Centring offset, a half going to the even neighbour (17.5 gives 18).
int Centred(int space, int size)
{
    return static_cast<int>(std::nearbyint((space - size) / 2.0));
}

// Outline of the box whose corners (left, top) and (right, bottom) are included.
void DrawBox(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour)
{
    painter.setPen(colour);
    painter.drawLine(left, top, right, top);
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(left, top, left, bottom);
    painter.drawLine(right, top, right, bottom);
}

}  // namespace

Toolbar::Toolbar(QObject* parent) : QObject(parent) {}

void Toolbar::Create(QWidget* window, QWidget* surface, const QImage& strip, QTimer* toolTipTimer)
{
    window_ = window;
    surface_ = surface;
    toolTipTimer_ = toolTipTimer;
    strip_ = strip.convertToFormat(QImage::Format_RGB32);
    colours_ = SystemColours();

    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(ScaledFontPixels(kCaptionPixelSize));
    font.setBold(false);
    surface_->setFont(font);
    surface_->setMouseTracking(true);
    surface_->setFocusPolicy(Qt::StrongFocus);
    surface_->installEventFilter(this);
    if (window_) {
        window_->installEventFilter(this);
        auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), window_);
        f10->setContext(Qt::WindowShortcut);
        connect(f10, &QShortcut::activated, this, &Toolbar::TakeFocusFromKeyboard);
    }
    MakeToolbarAccessible(*this, *surface_);
    if (toolTipTimer_) {
        connect(toolTipTimer_, &QTimer::timeout, this, &Toolbar::TimerEvent);
        toolTipTimer_->stop();
    }

    ColourStrip();
    created_ = true;
    Refresh();
}

Toolbar::Colours Toolbar::SystemColours() const
{
    if (!surface_)
        return {QColor(kStripWhite), QColor(kStripDarkGrey), QColor(kStripLightGrey), Qt::black};
    const QPalette& palette = surface_->palette();
    return {palette.color(QPalette::Light), palette.color(QPalette::Dark), palette.color(QPalette::Button),
            palette.color(QPalette::ButtonText)};
}

void Toolbar::ColourStrip()
{
    // Three passes in this order: light grey to face, dark grey to shadow,
    // white to highlight.
    colouredStrip_ = strip_;
    const std::pair<QRgb, QRgb> passes[] = {{kStripLightGrey, colours_.face.rgb()},
                                            {kStripDarkGrey, colours_.shadow.rgb()},
                                            {kStripWhite, colours_.highlight.rgb()}};
    for (int y = 0; y < colouredStrip_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(colouredStrip_.scanLine(y));
        for (int x = 0; x < colouredStrip_.width(); ++x)
            for (const auto& [from, to] : passes)
                if (line[x] == from)
                    line[x] = to;
    }
}

void Toolbar::AddButton(const QString& caption, const QString& toolTip)
{
    buttons_.push_back({caption, toolTip, true, 0, {}});
    if (surface_) {
        const QFontMetrics metrics = surface_->fontMetrics();
        captionedButtonSize_.setWidth(
            std::max(captionedButtonSize_.width(), metrics.horizontalAdvance(caption) + 4));
        captionedButtonSize_.setHeight(
            std::max(captionedButtonSize_.height(),
                     pictureSize_.height() + kImageTop + kTextGap + metrics.height() + 2));
    }
    LayOut();
}

void Toolbar::AddBar(int nextButton)
{
    separators_.push_back(nextButton);
    LayOut();
}

void Toolbar::EnableButton(int button, bool enabled)
{
    if (IsButton(button) && buttons_[button - 1].enabled != enabled) {
        buttons_[button - 1].enabled = enabled;
        // The focus mark leaves a button that is switched off.
        if (!enabled && button == keyButton_) {
            const int next = EnabledFrom(button, +1);
            keyButton_ = next != 0 ? next : EnabledFrom(button, -1);
        }
        if (surface_) {
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(surface_, changed);
            event.setChild(button - 1);
            QAccessible::updateAccessibility(&event);
        }
    }
    Refresh();
}

void Toolbar::SetShortcut(int button, const QKeySequence& keys)
{
    if (!IsButton(button) || !window_)
        return;
    buttons_[button - 1].shortcut = keys;
    auto* shortcut = new QShortcut(keys, window_);
    shortcut->setContext(Qt::WindowShortcut);
    connect(shortcut, &QShortcut::activated, this, [this, button] { Press(button); });
}

QString Toolbar::Caption(int button) const
{
    return IsButton(button) ? buttons_[button - 1].caption : QString();
}

QString Toolbar::ToolTip(int button) const
{
    if (!IsButton(button))
        return {};
    const Button& shown = buttons_[button - 1];
    if (shown.shortcut.isEmpty())
        return shown.toolTip;
    return shown.toolTip + QStringLiteral(" (") + shown.shortcut.toString(QKeySequence::NativeText)
           + QLatin1Char(')');
}

QKeySequence Toolbar::Shortcut(int button) const
{
    return IsButton(button) ? buttons_[button - 1].shortcut : QKeySequence();
}

bool Toolbar::IsEnabled(int button) const
{
    return IsButton(button) && buttons_[button - 1].enabled;
}

QRect Toolbar::ButtonRect(int button) const
{
    if (!IsButton(button))
        return {};
    return QRect(QPoint(buttons_[button - 1].left, kTopMargin), ButtonSize() + QSize(1, 1));
}

int Toolbar::FocusedButton() const
{
    return surface_ && surface_->hasFocus() && IsEnabled(keyButton_) ? keyButton_ : 0;
}

void Toolbar::Press(int button)
{
    if (IsEnabled(button))
        emit ButtonClicked(button);
}

void Toolbar::Refresh()
{
    if (!created_ || buttons_.empty() || !surface_)
        return;
    // Forget the drawn hover, so that the next move frames it again.
    paintedHit_ = 0;
    paintedHeldButtons_ = Qt::NoButton;
    PaintAndHitTest(Qt::NoButton, QPoint(0, 0), Paint::Full);
}

void Toolbar::SetShowText(bool show)
{
    showText_ = show;
    LayOut();
    Refresh();
}

void Toolbar::SetBitmapSize(int width, int height)
{
    captionedButtonSize_.setHeight(captionedButtonSize_.height() + height - pictureSize_.height());
    pictureSize_ = {width, height};
}

int Toolbar::ButtonLeft(int button) const
{
    return button >= 1 && button <= ButtonCount() ? buttons_[button - 1].left : 0;
}

QSize Toolbar::ButtonSize() const
{
    return showText_ ? captionedButtonSize_ : kPictureButtonSize;
}

int Toolbar::BarHeight() const
{
    return 2 * kTopMargin + ButtonSize().height();
}

void Toolbar::LayOut()
{
    const int width = ButtonSize().width();
    const int start = kLeftMargin + kHandleWidth;
    for (int i = 0; i < ButtonCount(); ++i)
        buttons_[i].left = start + i * width;
    for (const int nextButton : separators_)
        for (int i = std::max(nextButton, 1); i <= ButtonCount(); ++i)
            buttons_[i - 1].left += kSeparatorWidth;
}

int Toolbar::PaintAndHitTest(Qt::MouseButtons heldButtons, QPoint point, Paint paint)
{
    if (!created_ || buttons_.empty() || !surface_)
        return 0;

    const bool fromMouse = paint != Paint::Full;
    bool fullPaint = !fromMouse;
    if (SystemColours() != colours_) {
        colours_ = SystemColours();
        ColourStrip();
        fullPaint = true;
    }
    if (surface_->height() != BarHeight() + 1)
        surface_->setFixedHeight(BarHeight() + 1);
    if (canvas_.size() != surface_->size())
        fullPaint = true;

    // Hit test, edges included; the highest number wins.
    const QSize size = ButtonSize();
    int hit = 0;
    if (point.x() < surface_->width())
        for (int i = 1; i <= ButtonCount(); ++i) {
            const int left = buttons_[i - 1].left;
            if (point.x() >= left && point.x() <= left + size.width() && point.y() >= kTopMargin
                && point.y() <= kTopMargin + size.height())
                hit = i;
        }
    toolTipUnderPointer_ = ToolTip(hit);
    const bool hitEnabled = hit != 0 && buttons_[hit - 1].enabled;

    if (fromMouse) {
        // Moves within one button, in one state, draw nothing.
        if (paint == Paint::ButtonsIfChanged && !fullPaint && hit == paintedHit_
            && heldButtons == paintedHeldButtons_)
            return 0;
        paintedHit_ = hit;
        paintedHeldButtons_ = heldButtons;
    }
    const bool pressed = heldButtons == Qt::LeftButton;

    if (fullPaint && canvas_.size() != surface_->size())
        canvas_ = QImage(surface_->size(), QImage::Format_RGB32);
    QPainter painter(&canvas_);
    if (fullPaint)
        PaintBar(painter);
    painter.setFont(surface_->font());
    for (int i = 1; i <= ButtonCount(); ++i)
        PaintButton(painter, i, hitEnabled && i == hit, pressed);
    PaintSeparators(painter);
    PaintFocusMark(painter);
    if (hitEnabled)
        PaintFrame(painter, hit, pressed);
    painter.end();
    surface_->update();

    return hitEnabled ? hit : 0;
}

void Toolbar::PaintBar(QPainter& painter) const
{
    const int width = canvas_.width();
    const int bottom = BarHeight() - 1;
    painter.fillRect(canvas_.rect(), colours_.face);
    auto line = [&](int y, const QColor& colour) {
        painter.setPen(colour);
        painter.drawLine(0, y, width - 1, y);
    };
    // Etched lines along the top and the bottom.
    line(0, colours_.shadow);
    line(1, colours_.highlight);
    line(bottom - 1, colours_.shadow);
    line(bottom, colours_.highlight);

    // A grip of two ridges, x 3 to 5 and x 6 to 8.
    const int top = kTopMargin;
    const int gripBottom = kTopMargin + ButtonSize().height();
    for (const int left : {3, 6}) {
        painter.setPen(colours_.highlight);
        painter.drawLine(left, top, left, gripBottom);
        painter.drawLine(left, top, left + 2, top);
        painter.setPen(colours_.shadow);
        painter.drawLine(left + 2, top, left + 2, gripBottom);
        painter.drawLine(left, gripBottom, left + 2, gripBottom);
    }
}

void Toolbar::PaintButton(QPainter& painter, int number, bool isHit, bool pressed) const
{
    const Button& button = buttons_[number - 1];
    const QSize size = ButtonSize();
    const int left = button.left;
    const int top = kTopMargin;
    DrawBox(painter, left, top, left + size.width(), top + size.height(), colours_.face);
    painter.fillRect(
        QRect(QPoint(left + 1, top + 1), QPoint(left + size.width() - 1, top + size.height() - 1)),
        colours_.face);

    const QPoint offset = isHit && pressed ? kPressedOffset : QPoint(0, 0);
    const QPoint image = QPoint(left + Centred(size.width(), pictureSize_.width()), top + kImageTop) + offset;
    const int row = !button.enabled ? 2 : isHit ? 1 : 0;
    painter.drawImage(image, colouredStrip_,
                      QRect((number - 1) * pictureSize_.width(), row * pictureSize_.height(),
                            pictureSize_.width(), pictureSize_.height()));

    if (!showText_)
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = left + Centred(size.width(), metrics.horizontalAdvance(button.caption)) + offset.x();
    const int baseline = image.y() + pictureSize_.height() + kTextGap + metrics.ascent();
    if (button.enabled) {
        painter.setPen(colours_.text);
        painter.drawText(x, baseline, button.caption);
    } else {
        painter.setPen(colours_.highlight);
        painter.drawText(x, baseline, button.caption);
        painter.setPen(colours_.shadow);
        painter.drawText(x - 1, baseline - 1, button.caption);
    }
}

void Toolbar::PaintSeparators(QPainter& painter) const
{
    const int top = kTopMargin;
    const int bottom = kTopMargin + ButtonSize().height();
    for (const int nextButton : separators_) {
        if (nextButton < 1 || nextButton > ButtonCount())
            continue;
        const int x = buttons_[nextButton - 1].left - kSeparatorWidth / 2 - 1;
        painter.setPen(colours_.shadow);
        painter.drawLine(x, top, x, bottom);
        painter.setPen(colours_.highlight);
        painter.drawLine(x + 1, top, x + 1, bottom);
    }
}

void Toolbar::PaintFrame(QPainter& painter, int number, bool pressed) const
{
    const QSize size = ButtonSize();
    const int left = buttons_[number - 1].left;
    const int right = left + size.width();
    const int top = kTopMargin;
    const int bottom = top + size.height();
    const QColor& outline = pressed ? colours_.shadow : colours_.highlight;
    const QColor& edge = pressed ? colours_.highlight : colours_.shadow;
    DrawBox(painter, left, top, right, bottom, outline);
    painter.setPen(edge);
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, top, right, bottom);
}

void Toolbar::PaintFocusMark(QPainter& painter) const
{
    const int button = FocusedButton();
    if (button == 0)
        return;
    const QRect box = ButtonRect(button).adjusted(kFocusMarkInset, kFocusMarkInset, -kFocusMarkInset - 1,
                                                  -kFocusMarkInset - 1);
    painter.setPen(QPen(colours_.text, 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(box);
}

int Toolbar::EnabledFrom(int from, int step) const
{
    for (int button = from; IsButton(button); button += step)
        if (buttons_[button - 1].enabled)
            return button;
    return 0;
}

void Toolbar::MoveFocusMark(int button)
{
    if (button == 0)
        return;
    keyButton_ = button;
    Refresh();
    if (FocusedButton() != 0) {
        QAccessibleEvent event(surface_, QAccessible::Focus);
        event.setChild(button - 1);
        QAccessible::updateAccessibility(&event);
    }
}

bool Toolbar::KeyPressed(int key)
{
    switch (key) {
    case Qt::Key_Left:
        MoveFocusMark(EnabledFrom(keyButton_ - 1, -1));
        return true;
    case Qt::Key_Right:
        MoveFocusMark(EnabledFrom(keyButton_ + 1, +1));
        return true;
    case Qt::Key_Home:
        MoveFocusMark(EnabledFrom(1, +1));
        return true;
    case Qt::Key_End:
        MoveFocusMark(EnabledFrom(ButtonCount(), -1));
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        Press(FocusedButton());
        return true;
    case Qt::Key_Escape:
        if (!focusBeforeF10_)
            return false;
        focusBeforeF10_->setFocus(Qt::ShortcutFocusReason);
        return true;
    default:
        return false;
    }
}

void Toolbar::TakeFocusFromKeyboard()
{
    if (!surface_ || surface_->hasFocus())
        return;
    focusBeforeF10_ = QApplication::focusWidget();
    surface_->setFocus(Qt::ShortcutFocusReason);
}

int Toolbar::MouseMoveEvent(Qt::MouseButtons heldButtons, QPoint point)
{
    if (point == lastPointer_ || !surface_)
        return 0;
    lastPointer_ = point;
    const bool outside = !surface_->rect().contains(point);
    if (toolTipTimer_) {
        toolTipTimer_->stop();
        if (!outside)
            toolTipTimer_->start(kToolTipDelayMs);
    }
    const int result = PaintAndHitTest(heldButtons, point, Paint::ButtonsIfChanged);
    RemoveToolTip();
    return result;
}

int Toolbar::MouseDownEvent(Qt::MouseButton button, QPoint point)
{
    DropHover();
    return PaintAndHitTest(button, point, Paint::Buttons);
}

int Toolbar::MouseUpEvent(QPoint point)
{
    DropHover();
    return PaintAndHitTest(Qt::NoButton, point, Paint::Buttons);
}

void Toolbar::DropHover()
{
    MouseMoveEvent(Qt::NoButton, QPoint(-1, -1));
}

void Toolbar::TimerEvent()
{
    if (toolTipShown_)
        return;
    ShowToolTip();
    if (toolTipTimer_)
        toolTipTimer_->stop();
}

void Toolbar::ShowToolTip()
{
    if (toolTipUnderPointer_.trimmed().isEmpty())
        return;
    TooltipWindow* tip = TooltipWindow::Instance();
    tip->move(QCursor::pos() + kToolTipOffset);
    tip->SetCaption(QLatin1Char(' ') + toolTipUnderPointer_ + QLatin1Char(' '));
    toolTipShown_ = true;
}

void Toolbar::RemoveToolTip()
{
    if (!toolTipShown_)
        return;
    if (TooltipWindow* tip = TooltipWindow::Current())
        tip->SetCaption(QString());
    toolTipShown_ = false;
}

bool Toolbar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == window_ && event->type() == QEvent::Resize) {
        Refresh();
        return false;
    }
    if (watched != surface_)
        return false;

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        MouseDownEvent(mouse->button(), mouse->position().toPoint());
        return false;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        MouseMoveEvent(mouse->buttons(), mouse->position().toPoint());
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const int button = MouseUpEvent(mouse->position().toPoint());
        if (button != 0)
            emit ButtonClicked(button);
        return false;
    }
    case QEvent::KeyPress: {
        DropHover();
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->isAutoRepeat() && (key->key() == Qt::Key_Space || key->key() == Qt::Key_Return))
            return true;
        return KeyPressed(key->key());
    }
    case QEvent::Leave:
    case QEvent::KeyRelease:
        DropHover();
        return false;
    case QEvent::FocusIn:
        if (!IsEnabled(keyButton_))
            keyButton_ = EnabledFrom(1, +1);
        MoveFocusMark(keyButton_);
        return false;
    case QEvent::FocusOut:
        Refresh();
        return false;
    case QEvent::Resize:
        Refresh();
        return false;
    case QEvent::Paint:
        if (buttons_.empty() || canvas_.isNull())
            return false;
        {
            QPainter painter(surface_);
            painter.drawImage(0, 0, canvas_);
        }
        return true;
    default:
        return false;
    }
}

}  // namespace cf::widgets
