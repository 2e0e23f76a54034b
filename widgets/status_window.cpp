#include "widgets/status_window.h"

#include <QEvent>
#include <QFontDatabase>
#include <QPainter>

namespace {

// Text of the panes with an icon: the system's sans font, 10 pixels high.
constexpr int kIconTextPixelSize = 10;
constexpr int kIconLeft = 3;
constexpr int kIconTop = 4;

}  // namespace

StatusWindow::StatusWindow(QWidget* parent, std::vector<int> paneRightEdges) : QWidget(parent)
{
    for (const int right : paneRightEdges)
        panes_.push_back({right, false, {}, {}});
    iconTextFont_ = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    iconTextFont_.setPixelSize(kIconTextPixelSize);
    iconTextFont_.setWeight(QFont::Medium);
    setGeometry(0, 0, parent->width(), kHeight);
    parent->installEventFilter(this);
}

QRect StatusWindow::PaneRect(int pane) const
{
    if (pane < 0 || pane >= static_cast<int>(panes_.size()))
        return {};
    const int left = pane == 0 ? 0 : panes_[pane - 1].right;
    const int right = panes_[pane].right < 0 ? width() : panes_[pane].right;
    return QRect(left, 0, right - left, height());
}

QRect StatusWindow::TextRect(int pane) const { return PaneRect(pane).adjusted(0, 0, -2, 0); }

QString StatusWindow::SetIconText(int pane, const QString& text, const QPixmap& icon)
{
    const QRect rect = TextRect(pane);
    if (rect.width() <= 0)
        return text;
    const QString shown = QFontMetrics(iconTextFont_).elidedText(text, Qt::ElideMiddle, rect.width());
    panes_[pane] = {panes_[pane].right, true, shown, icon};
    update(PaneRect(pane));
    return shown;
}

void StatusWindow::SetPlainText(int pane, const QString& text)
{
    if (pane < 0 || pane >= static_cast<int>(panes_.size()))
        return;
    panes_[pane] = {panes_[pane].right, false, text, {}};
    repaint(PaneRect(pane));
}

bool StatusWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (followParentWidth_ && watched == parentWidget() && event->type() == QEvent::Resize)
        resize(parentWidget()->width(), kHeight);
    return false;
}

void StatusWindow::paintEvent(QPaintEvent* /*event*/)
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
        if (!content.withIcon) {
            painter.setPen(palette().color(QPalette::WindowText));
            painter.setFont(font());
            painter.drawText(box.adjusted(2, 0, -2, 0), Qt::AlignVCenter | Qt::TextSingleLine,
                             content.text);
            continue;
        }
        painter.fillRect(box.adjusted(2, 2, -2, -2), palette().color(QPalette::Button));
        painter.setPen(Qt::black);
        painter.setFont(iconTextFont_);
        painter.drawText(TextRect(pane), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         content.text);
        if (!content.icon.isNull())
            painter.drawPixmap(box.left() + kIconLeft, kIconTop, content.icon);
    }
}
