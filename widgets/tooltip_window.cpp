#include "widgets/tooltip_window.h"

#include "widgets/twips.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QScreen>

#include <algorithm>

namespace {

QPointer<frmToolTip> instance;

// Margins around the text: left and top, right and bottom.
constexpr int kLeadingMarginTwips = 15;
constexpr int kTrailingMarginTwips = 45;

const QColor kBackground(255, 255, 224);

}  // namespace

frmToolTip* frmToolTip::Instance()
{
    if (!instance)
        instance = new frmToolTip;
    return instance;
}

frmToolTip* frmToolTip::Current() { return instance; }

frmToolTip::frmToolTip()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus),
      lblToolTip(new QLabel(QStringLiteral("lblTip"), this))
{
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, kBackground);
    setPalette(colours);
    setAutoFillBackground(true);

    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPointSizeF(8.25);
    lblToolTip->setFont(font);
    lblToolTip->setAttribute(Qt::WA_TranslucentBackground);
    lblToolTip->setFocusPolicy(Qt::NoFocus);
}

void frmToolTip::SetCaption(const QString& caption)
{
    lblToolTip->setText(caption);
    lblToolTip_Change();
}

QString frmToolTip::Caption() const { return lblToolTip->text(); }

void frmToolTip::lblToolTip_Change()
{
    if (Caption().trimmed().isEmpty()) {
        hide();
        instance = nullptr;
        deleteLater();
        return;
    }

    lblToolTip->adjustSize();
    const int margin = twips::ToPixels(kLeadingMarginTwips);
    lblToolTip->move(margin, margin);
    const QSize size(lblToolTip->width() + margin + twips::ToPixels(kTrailingMarginTwips),
                     lblToolTip->height() + margin + twips::ToPixels(kTrailingMarginTwips));
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

void frmToolTip::paintEvent(QPaintEvent* /*event*/)
{
    // A one-pixel frame along the inner edge, in the text colour.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawRect(0, 0, width() - 1, height() - 1);
}
