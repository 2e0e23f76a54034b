#include "widgets/coolbar.h"

#include "widgets/tooltip_window.h"

#include <QCursor>
#include <QEvent>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QWidget>

#include <cmath>

namespace {

constexpr int kLeftMargin = 6;
constexpr int kHandleWidth = 6;
constexpr int kTopMargin = 4;
constexpr int kSeparatorWidth = 6;
constexpr int kImageTop = 4;
constexpr int kTextGap = 2;
constexpr int kToolTipDelayMs = 500;
constexpr int kToolTipDelayFactor = 1;
constexpr QPoint kToolTipOffset{0, 20};
// Caption font: the system's sans font at 11 pixels, a 13-pixel line.
constexpr int kCaptionPixelSize = 11;

// Colours of the strip as drawn, replaced by highlight, shadow and face.
const QRgb kStripWhite = qRgb(255, 255, 255);
const QRgb kStripDarkGrey = qRgb(128, 128, 128);
const QRgb kStripLightGrey = qRgb(192, 192, 192);

// Centring offset, a half going to the even neighbour (17.5 gives 18).
int Centred(int space, int size) { return static_cast<int>(std::nearbyint((space - size) / 2.0)); }

// Outline of the box whose corners (left, top) and (right, bottom) are included.
void DrawBox(QPainter& painter, int left, int top, int right, int bottom, const QColor& colour)
{
    painter.setPen(colour);
    painter.drawLine(left, top, right, top);
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(left, top, left, bottom);
    painter.drawLine(right, top, right, bottom);
}

int ModifierKeys(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0)
           | (modifiers & Qt::AltModifier ? 4 : 0);
}

}  // namespace

clsCoolbar::clsCoolbar(QObject* parent) : QObject(parent) {}

void clsCoolbar::Create(QWidget* Frm, QWidget* pic, const QImage& picMaster, QTimer* tmr)
{
    form_ = Frm;
    surface_ = pic;
    timer_ = tmr;
    strip_ = picMaster.convertToFormat(QImage::Format_RGB32);
    colours_ = CurrentColours();

    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(kCaptionPixelSize);
    font.setBold(false);
    surface_->setFont(font);
    surface_->setMouseTracking(true);
    surface_->installEventFilter(this);
    if (form_)
        form_->installEventFilter(this);
    if (timer_) {
        connect(timer_, &QTimer::timeout, this, &clsCoolbar::TimerEvent);
        timer_->stop();
    }

    MapStrip();
    created_ = true;
    Refresh();
}

clsCoolbar::Colours clsCoolbar::CurrentColours() const
{
    if (!useSystemColours_ || !surface_)
        return {QColor(kStripWhite), QColor(kStripDarkGrey), QColor(kStripLightGrey), Qt::black};
    const QPalette& palette = surface_->palette();
    return {palette.color(QPalette::Light), palette.color(QPalette::Dark),
            palette.color(QPalette::Button), palette.color(QPalette::ButtonText)};
}

void clsCoolbar::MapStrip()
{
    // Three passes in this order: light grey to face, dark grey to shadow,
    // white to highlight.
    mappedStrip_ = strip_;
    if (!useSystemColours_)
        return;
    const std::pair<QRgb, QRgb> passes[] = {{kStripLightGrey, colours_.face.rgb()},
                                            {kStripDarkGrey, colours_.shadow.rgb()},
                                            {kStripWhite, colours_.highlight.rgb()}};
    for (int y = 0; y < mappedStrip_.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(mappedStrip_.scanLine(y));
        for (int x = 0; x < mappedStrip_.width(); ++x)
            for (const auto& [from, to] : passes)
                if (line[x] == from)
                    line[x] = to;
    }
}

void clsCoolbar::AddButton(const QString& sCaption, const QString& sToolTipText)
{
    buttons_.push_back({sCaption, sToolTipText, true, 0});
    if (surface_) {
        const QFontMetrics metrics = surface_->fontMetrics();
        bigButton_.setWidth(std::max(bigButton_.width(), metrics.horizontalAdvance(sCaption) + 4));
        bigButton_.setHeight(std::max(bigButton_.height(),
                                      cell_.height() + kImageTop + kTextGap + metrics.height() + 2));
    }
    LayOut();
}

void clsCoolbar::AddBar(int iButtonToPrecede)
{
    separators_.push_back(iButtonToPrecede);
    LayOut();
}

void clsCoolbar::EnableButton(int iButtonNo, bool bEnabled)
{
    if (iButtonNo >= 1 && iButtonNo <= ButtonCount())
        buttons_[iButtonNo - 1].enabled = bEnabled;
    Refresh();
}

void clsCoolbar::Refresh()
{
    if (!created_ || buttons_.empty() || !surface_)
        return;
    // Forget the drawn hover, so that the next move frames it again.
    lastHit_ = 0;
    lastMode_ = 0;
    PaintAndHitTest(0, QPoint(0, 0), Paint::Full);
}

void clsCoolbar::SetShowText(bool fShow)
{
    showText_ = fShow;
    LayOut();
    Refresh();
}

void clsCoolbar::SetShowHandle(bool bShowHandle)
{
    showHandle_ = bShowHandle;
    LayOut();
    Refresh();
}

void clsCoolbar::SetBarStyle(int iStyle)
{
    barStyle_ = iStyle >= 0 && iStyle <= 3 ? iStyle : 1;
    Refresh();
}

void clsCoolbar::SetSeparatorStyle(int iStyle)
{
    separatorStyle_ = iStyle >= 0 && iStyle <= 1 ? iStyle : 0;
    Refresh();
}

void clsCoolbar::SetShowToolTips(bool fShowTips)
{
    showToolTips_ = fShowTips;
    if (!fShowTips)
        RemoveToolTip();
}

void clsCoolbar::SetUseSystemColours(bool bUseSystemColours)
{
    useSystemColours_ = bUseSystemColours;
    colours_ = CurrentColours();
    MapStrip();
    Refresh();
}

void clsCoolbar::RaisedOffset(int iXOffset, int iYOffset) { raisedOffset_ = {iXOffset, iYOffset}; }

void clsCoolbar::LoweredOffset(int iXOffset, int iYOffset) { loweredOffset_ = {iXOffset, iYOffset}; }

void clsCoolbar::SetBigButtonSize(int iWidth, int iHeight) { bigButton_ = {iWidth, iHeight}; }

void clsCoolbar::SetSmallButtonSize(int iWidth, int iHeight) { smallButton_ = {iWidth, iHeight}; }

void clsCoolbar::SetBitmapSize(int iWidth, int iHeight)
{
    bigButton_.setHeight(bigButton_.height() + iHeight - cell_.height());
    cell_ = {iWidth, iHeight};
}

QString clsCoolbar::Version() { return QStringLiteral("1.9"); }

int clsCoolbar::ButtonLeft(int iButtonNo) const
{
    return iButtonNo >= 1 && iButtonNo <= ButtonCount() ? buttons_[iButtonNo - 1].left : 0;
}

QSize clsCoolbar::ButtonSize() const { return showText_ ? bigButton_ : smallButton_; }

int clsCoolbar::BarHeight() const { return 2 * kTopMargin + ButtonSize().height(); }

void clsCoolbar::LayOut()
{
    const int width = ButtonSize().width();
    const int start = kLeftMargin + (showHandle_ ? kHandleWidth : 0);
    for (int i = 0; i < ButtonCount(); ++i)
        buttons_[i].left = start + i * width;
    for (const int precede : separators_)
        for (int i = std::max(precede, 1); i <= ButtonCount(); ++i)
            buttons_[i - 1].left += kSeparatorWidth;
}

int clsCoolbar::PaintAndHitTest(int mode, QPoint point, Paint paint)
{
    if (!created_ || buttons_.empty() || !surface_)
        return 0;

    const bool fromMouse = paint != Paint::Full;
    bool fullPaint = !fromMouse;
    if (useSystemColours_ && CurrentColours() != colours_) {
        colours_ = CurrentColours();
        MapStrip();
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
    pendingToolTip_ = hit != 0 ? buttons_[hit - 1].toolTip : QString();
    const bool hitEnabled = hit != 0 && buttons_[hit - 1].enabled;

    if (fromMouse) {
        // Moves within one button, in one state, draw nothing.
        if (paint == Paint::ButtonsIfChanged && !fullPaint && hit == lastHit_ && mode == lastMode_)
            return 0;
        lastHit_ = hit;
        lastMode_ = mode;
    }

    if (fullPaint && canvas_.size() != surface_->size())
        canvas_ = QImage(surface_->size(), QImage::Format_RGB32);
    QPainter painter(&canvas_);
    if (fullPaint)
        PaintBar(painter);
    painter.setFont(surface_->font());
    for (int i = 1; i <= ButtonCount(); ++i)
        PaintButton(painter, i, hitEnabled && i == hit, mode);
    PaintSeparators(painter);
    if (hitEnabled)
        PaintFrame(painter, hit, mode);
    painter.end();
    surface_->update();

    return hitEnabled ? hit : 0;
}

void clsCoolbar::PaintBar(QPainter& painter) const
{
    const int width = canvas_.width();
    const int bottom = BarHeight() - 1;
    painter.fillRect(canvas_.rect(), colours_.face);
    auto line = [&](int y, const QColor& colour) {
        painter.setPen(colour);
        painter.drawLine(0, y, width - 1, y);
    };
    switch (barStyle_) {
    case 1:
        line(0, colours_.shadow);
        line(1, colours_.highlight);
        line(bottom - 1, colours_.shadow);
        line(bottom, colours_.highlight);
        break;
    case 2:
        line(0, colours_.highlight);
        line(bottom, colours_.shadow);
        break;
    case 3:
        line(0, colours_.shadow);
        line(bottom, colours_.highlight);
        break;
    default:
        break;
    }
    if (showHandle_) {
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
}

void clsCoolbar::PaintButton(QPainter& painter, int number, bool isHit, int mode) const
{
    const Button& button = buttons_[number - 1];
    const QSize size = ButtonSize();
    const int left = button.left;
    const int top = kTopMargin;
    DrawBox(painter, left, top, left + size.width(), top + size.height(), colours_.face);
    painter.fillRect(QRect(QPoint(left + 1, top + 1),
                           QPoint(left + size.width() - 1, top + size.height() - 1)),
                     colours_.face);

    const QPoint offset = !isHit ? QPoint(0, 0) : mode == 1 ? loweredOffset_ : raisedOffset_;
    const QPoint image =
        QPoint(left + Centred(size.width(), cell_.width()), top + kImageTop) + offset;
    const int row = !button.enabled ? 2 : isHit ? 1 : 0;
    painter.drawImage(image, mappedStrip_,
                      QRect((number - 1) * cell_.width(), row * cell_.height(), cell_.width(),
                            cell_.height()));

    if (!showText_)
        return;
    const QFontMetrics metrics = painter.fontMetrics();
    const int x = left + Centred(size.width(), metrics.horizontalAdvance(button.caption)) + offset.x();
    const int baseline = image.y() + cell_.height() + kTextGap + metrics.ascent();
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

void clsCoolbar::PaintSeparators(QPainter& painter) const
{
    int top = kTopMargin;
    int bottom = kTopMargin + ButtonSize().height();
    if (separatorStyle_ == 1) {
        const bool bordered = barStyle_ >= 1 && barStyle_ <= 3;
        top = bordered ? 1 : 0;
        bottom = canvas_.height() - (bordered ? 2 : 1);
    }
    for (const int precede : separators_) {
        if (precede < 1 || precede > ButtonCount())
            continue;
        const int x = buttons_[precede - 1].left - kSeparatorWidth / 2 - 1;
        painter.setPen(colours_.shadow);
        painter.drawLine(x, top, x, bottom);
        painter.setPen(colours_.highlight);
        painter.drawLine(x + 1, top, x + 1, bottom);
    }
}

void clsCoolbar::PaintFrame(QPainter& painter, int number, int mode) const
{
    const QSize size = ButtonSize();
    const int left = buttons_[number - 1].left;
    const int right = left + size.width();
    const int top = kTopMargin;
    const int bottom = top + size.height();
    const bool pressed = mode == 1;
    const QColor& outline = pressed ? colours_.shadow : colours_.highlight;
    const QColor& edge = pressed ? colours_.highlight : colours_.shadow;
    DrawBox(painter, left, top, right, bottom, outline);
    painter.setPen(edge);
    painter.drawLine(left, bottom, right, bottom);
    painter.drawLine(right, top, right, bottom);
}

int clsCoolbar::MouseMoveEvent(int Button, int /*Shift*/, int x, int Y)
{
    const QPoint point(x, Y);
    if (point == lastPointer_ || !surface_)
        return 0;
    lastPointer_ = point;
    const bool outside = x < 0 || Y < 0 || x >= surface_->width() || Y >= surface_->height();
    if (timer_) {
        timer_->stop();
        if (!outside && showToolTips_)
            timer_->start(kToolTipDelayMs * kToolTipDelayFactor);
    }
    const int result = PaintAndHitTest(Button, point, Paint::ButtonsIfChanged);
    RemoveToolTip();
    return result;
}

int clsCoolbar::MouseDownEvent(int Button, int /*Shift*/, int x, int Y)
{
    MouseMoveEvent(0, 0, -1, -1);
    return PaintAndHitTest(Button, QPoint(x, Y), Paint::Buttons);
}

int clsCoolbar::MouseUpEvent(int /*Button*/, int /*Shift*/, int x, int Y)
{
    MouseMoveEvent(0, 0, -1, -1);
    return PaintAndHitTest(0, QPoint(x, Y), Paint::Buttons);
}

int clsCoolbar::ClickEvent()
{
    if (!surface_)
        return 0;
    return PaintAndHitTest(1, surface_->mapFromGlobal(QCursor::pos()), Paint::Buttons);
}

void clsCoolbar::KeyDownEvent() { MouseMoveEvent(0, 0, -1, -1); }

void clsCoolbar::KeyUpEvent() { MouseMoveEvent(0, 0, -1, -1); }

void clsCoolbar::ResizeEvent() { Refresh(); }

void clsCoolbar::TimerEvent()
{
    if (toolTipShown_)
        return;
    ShowToolTip();
    if (timer_)
        timer_->stop();
}

void clsCoolbar::ShowToolTip()
{
    if (pendingToolTip_.trimmed().isEmpty())
        return;
    cf::widgets::TooltipWindow* tip = cf::widgets::TooltipWindow::Instance();
    tip->move(QCursor::pos() + kToolTipOffset);
    tip->SetCaption(QLatin1Char(' ') + pendingToolTip_ + QLatin1Char(' '));
    toolTipShown_ = true;
}

void clsCoolbar::RemoveToolTip()
{
    if (!toolTipShown_)
        return;
    if (cf::widgets::TooltipWindow* tip = cf::widgets::TooltipWindow::Current())
        tip->SetCaption(QString());
    toolTipShown_ = false;
}

bool clsCoolbar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == form_ && event->type() == QEvent::Resize) {
        Refresh();
        return false;
    }
    if (watched != surface_)
        return false;

    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        MouseDownEvent(static_cast<int>(mouse->button()), ModifierKeys(mouse->modifiers()),
                       point.x(), point.y());
        return false;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        MouseMoveEvent(static_cast<int>(mouse->buttons()), ModifierKeys(mouse->modifiers()),
                       point.x(), point.y());
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const QPoint point = mouse->position().toPoint();
        const int button = MouseUpEvent(static_cast<int>(mouse->button()),
                                        ModifierKeys(mouse->modifiers()), point.x(), point.y());
        if (button != 0)
            emit ButtonClicked(button);
        return false;
    }
    case QEvent::Leave:
        // The pointer has left the surface: drop the hover and the tooltip.
        MouseMoveEvent(0, 0, -1, -1);
        return false;
    case QEvent::KeyPress:
        KeyDownEvent();
        return false;
    case QEvent::KeyRelease:
        KeyUpEvent();
        return false;
    case QEvent::Resize:
        ResizeEvent();
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
