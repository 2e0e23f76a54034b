// SPDX-License-Identifier: MIT
#include "printouts/card_drawing.h"

#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

namespace cf::frame {
namespace {

constexpr int kShadow = 5;  // offset of the drop shadow
constexpr int kBandHeight = 58;

const QColor kGreen(0, 122, 61);
const QColor kDarkGreen(0, 90, 45);
const QColor kCaption(70, 70, 70);

QFont Sized(QFont font, int pixelSize, bool bold)
{
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
}

// Text as outlines, aligned in `box` as drawText would align it.
void PaintText(QPainter& painter, const QRectF& box, Qt::Alignment alignment, const QFont& font,
               const QString& text)
{
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(text);
    const double x = alignment & Qt::AlignRight ? box.right() - width : box.left();
    const double baseline = box.top() + (box.height() - metrics.height()) / 2 + metrics.ascent();
    QPainterPath path;
    path.addText(QPointF(x, baseline), font, text);
    painter.fillPath(path, painter.pen().color());
}

// A fountain pen lying diagonally, nib down-left.
void DrawPen(QPainter& painter, QPointF nib)
{
    painter.save();
    painter.translate(nib);
    painter.rotate(-40);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(250, 250, 250));
    painter.drawPolygon(QPolygonF({{0, 0}, {9, -4}, {9, 4}}));  // nib
    painter.setBrush(QColor(230, 190, 60));
    painter.drawRect(QRectF(9, -4.5, 4, 9));  // gold ring
    painter.setBrush(QColor(20, 20, 20));
    painter.drawRoundedRect(QRectF(13, -5, 30, 10), 3, 3);  // barrel
    painter.setBrush(QColor(230, 190, 60));
    painter.drawRect(QRectF(25, -6.5, 12, 2.5));  // clip
    painter.setPen(QPen(QColor(20, 20, 20), 1));
    painter.drawLine(QPointF(3, 0), QPointF(8, 0));  // nib slit
    painter.restore();
}

}  // namespace

void PaintCard(QPainter& painter, const QFont& sans)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF card(0.5, 0.5, kCardWidth - kShadow - 1, kCardHeight - kShadow - 1);

    // Drop shadow, then the card.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(128, 128, 128));
    painter.drawRoundedRect(card.translated(kShadow, kShadow), 12, 12);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    painter.drawRoundedRect(card, 12, 12);

    // Green band across the top, following the rounded corners.
    QPainterPath cardPath;
    cardPath.addRoundedRect(card, 12, 12);
    QPainterPath bandPath;
    bandPath.addRect(QRectF(0, 0, kCardWidth, kBandHeight));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kGreen);
    painter.drawPath(cardPath.intersected(bandPath));
    painter.setBrush(kDarkGreen);
    painter.drawRect(QRectF(card.left() + 1, kBandHeight - 3, card.width() - 2, 3));

    // Title and pen on the band.
    painter.setPen(Qt::white);
    PaintText(painter, QRectF(18, 6, 250, 30), Qt::AlignLeft, Sized(sans, 24, true),
              QStringLiteral("CODICE FISCALE"));
    PaintText(painter, QRectF(19, 35, 250, 14), Qt::AlignLeft, Sized(sans, 10, false),
              QStringLiteral("Tessera del codice fiscale della persona fisica"));
    DrawPen(painter, QPointF(300, 44));

    // The fields: tinted boxes around the places where the card window's
    // labels and the card printout put the texts, so that neither stands on
    // a line; captions right-aligned before them, centred on their boxes.
    // Rows are as close as the window's and the printout's positions allow:
    // each box reaches 2 pixels above the highest capitals and below the
    // lowest baseline of its field.
    struct Field {
        const char* caption;
        QRectF captionBox;  // x and width; height from the field box
        QRectF box;
    };
    const Field fields[] = {
        {"Codice fiscale", QRectF(3, 0, 60, 0), QRectF(66, 96, 280, 28.5)},
        {"Cognome", QRectF(3, 0, 66, 0), QRectF(72, 126.7, 274, 16.8)},
        {"Nome", QRectF(3, 0, 66, 0), QRectF(72, 144.7, 160, 14.3)},
        {"Sesso", QRectF(236, 0, 48, 0), QRectF(287, 144.7, 43, 14.8)},
        {"Luogo di nascita", QRectF(3, 0, 66, 0), QRectF(72, 163.2, 274, 14.3)},
        {"Provincia", QRectF(3, 0, 66, 0), QRectF(72, 181.6, 64, 14)},
        {"Data di nascita", QRectF(140, 0, 76, 0), QRectF(220, 181.6, 80, 14)},
    };
    const QFont captionFont = Sized(sans, 9, false);
    for (const Field& field : fields) {
        const bool code = &field == &fields[0];
        painter.setPen(code ? QPen(QColor(180, 205, 190), 1) : QPen(Qt::NoPen));
        painter.setBrush(code ? QColor(244, 250, 246) : QColor(232, 243, 236));
        painter.drawRoundedRect(field.box, 3, 3);
        const QRectF caption(field.captionBox.left(), field.box.top(), field.captionBox.width(),
                             field.box.height());
        painter.setPen(kCaption);
        PaintText(painter, caption, Qt::AlignRight, captionFont, QString::fromLatin1(field.caption));
    }

    painter.restore();
}

}  // namespace cf::frame
