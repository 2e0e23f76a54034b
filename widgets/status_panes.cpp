// SPDX-License-Identifier: MIT
#include "widgets/status_panes.h"

#include "widgets/layout_scale.h"
#include "widgets/status_panes_accessible.h"

#include <QAccessible>
#include <QEvent>
#include <QFontDatabase>
#include <QPainter>

namespace cf::widgets {

namespace {

// Text of the panes: the system's sans font, 10 pixels high.
constexpr int kTextPixelSize = 10;
constexpr int kIconLeft = 3;

}  // namespace

StatusPanes::StatusPanes(QWidget* parent, std::vector<int> paneRightEdges) : QWidget(parent)
{
    for (const int right : paneRightEdges)
        panes_.push_back({right, false, {}, {}});
    textFont_ = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    textFont_.setPixelSize(ScaledFontPixels(kTextPixelSize));
    textFont_.setWeight(QFont::Medium);
    setGeometry(0, 0, parent->width(), Scaled(kHeight));
    parent->installEventFilter(this);
    InstallStatusPanesAccessibility();
}

QRect StatusPanes::PaneRect(int pane) const
{
    if (pane < 0 || pane >= static_cast<int>(panes_.size()))
        return {};
    const int left = pane == 0 ? 0 : panes_[pane - 1].right;
    const int right = panes_[pane].right < 0 ? width() : panes_[pane].right;
    return QRect(left, 0, right - left, height());
}

QString StatusPanes::PaneText(int pane) const
{
    return pane >= 0 && pane < PaneCount() ? panes_[pane].text : QString();
}

QRect StatusPanes::TextRect(int pane) const
{
    return PaneRect(pane).adjusted(0, 0, -2, 0);
}

QString StatusPanes::SetText(int pane, const QString& text, const QPixmap& icon)
{
    const QRect rect = TextRect(pane);
    if (rect.width() <= 0)
        return text;
    const QString shown = QFontMetrics(textFont_).elidedText(text, Qt::ElideMiddle, rect.width());
    const bool renamed = shown != panes_[pane].text;
    panes_[pane] = {panes_[pane].right, true, shown, icon};
    update(PaneRect(pane));
    if (renamed) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        event.setChild(pane);
        QAccessible::updateAccessibility(&event);
    }
    return shown;
}

bool StatusPanes::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        resize(parentWidget()->width(), Scaled(kHeight));
    return false;
}

void StatusPanes::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().color(QPalette::Window));
    for (int pane = 0; pane < static_cast<int>(panes_.size()); ++pane) {
        const QRect box = PaneRect(pane);
        if (box.width() <= 0)
            continue;
        // Sunken edge.
        painter.setPen(palette().color(QPalette::Dark));
        painter.drawLine(box.left(), box.top(), box.right(), box.top());
        painter.drawLine(box.left(), box.top(), box.left(), box.bottom());
        painter.setPen(palette().color(QPalette::Light));
        painter.drawLine(box.left(), box.bottom(), box.right(), box.bottom());
        painter.drawLine(box.right(), box.top(), box.right(), box.bottom());

        const Pane& content = panes_[pane];
        if (!content.written)
            continue;
        painter.fillRect(box.adjusted(2, 2, -2, -2), palette().color(QPalette::Button));
        painter.setPen(palette().color(QPalette::ButtonText));
        painter.setFont(textFont_);
        painter.drawText(TextRect(pane), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, content.text);
        if (!content.icon.isNull())
            painter.drawPixmap(box.left() + kIconLeft, (height() - content.icon.height()) / 2, content.icon);
    }
}

}  // namespace cf::widgets
