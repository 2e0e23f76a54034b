// SPDX-License-Identifier: MIT
#include "widgets/tooltip_window.h"

#include "widgets/layout_scale.h"
#include "widgets/twips.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace cf::widgets {

namespace {

QPointer<TooltipWindow> instance;

// Margins around the text: left and top, right and bottom.
constexpr int kLeadingMarginTwips = 15;
constexpr int kTrailingMarginTwips = 45;

// Fixed colours: light yellow, and black text on it whatever the desktop's
// palette, so that a dark theme does not put light text on the yellow.
const QColor kBackground(255, 255, 224);
const QColor kText(0, 0, 0);

}  // namespace

TooltipWindow* TooltipWindow::Instance()
{
    if (!instance)
        instance = new TooltipWindow;
    return instance;
}

TooltipWindow* TooltipWindow::Current()
{
    return instance;
}

TooltipWindow::TooltipWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      captionLabel_(new QLabel(QStringLiteral("lblTip"), this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setObjectName(QStringLiteral("frmToolTip"));
    captionLabel_->setObjectName(QStringLiteral("lblToolTip"));
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    colours.setColor(QPalette::WindowText, kText);
    setPalette(colours);
    setAutoFillBackground(true);

    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8.25 * LayoutScale());
    captionLabel_->setFont(font);
    captionLabel_->setAttribute(Qt::WA_TranslucentBackground);
    captionLabel_->setFocusPolicy(Qt::NoFocus);
}

void TooltipWindow::SetCaption(const QString& caption)
{
    captionLabel_->setText(caption);
    FitToCaption();
}

QString TooltipWindow::Caption() const
{
    return captionLabel_->text();
}

void TooltipWindow::FitToCaption()
{
    if (Caption().trimmed().isEmpty()) {
        hide();
        instance = nullptr;
        deleteLater();
        return;
    }

    captionLabel_->adjustSize();
    const int margin = twips::ToPixels(kLeadingMarginTwips);
    captionLabel_->move(margin, margin);
    const QSize size(captionLabel_->width() + margin + twips::ToPixels(kTrailingMarginTwips),
                     captionLabel_->height() + margin + twips::ToPixels(kTrailingMarginTwips));
    resize(size);

    // Keep the whole window on the screen under its corner.
    QPoint corner = pos();
    const QScreen* screen = QGuiApplication::screenAt(corner);
    const QRect area = (screen != nullptr ? screen : QGuiApplication::primaryScreen())->geometry();
    if (corner.x() + size.width() > area.right() + 1)
        corner.setX(area.right() + 1 - size.width());
    if (corner.y() + size.height() > area.bottom() + 1)
        corner.setY(area.bottom() + 1 - size.height());
    corner.setX(std::max(corner.x(), area.left()));
    corner.setY(std::max(corner.y(), area.top()));
    move(corner);

    show();
    update();
}

void TooltipWindow::paintEvent(QPaintEvent* /*event*/)
{
    // A one-pixel frame along the inner edge, in the text colour.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(0, 0, width() - 1, height() - 1);
}

}  // namespace cf::widgets
