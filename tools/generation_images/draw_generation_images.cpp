// SPDX-License-Identifier: MIT
// Draws the pictures of the generation windows into resources/:
//   card.png       the front of the tax-code card, 363 x 241, empty fields
//   dropdown.png   the 16 x 17 arrow button of the place box
//   hand.png       the hand pointer shown over the code label (hot spot 8, 0)
//
// The card is the drawing of the card printout (printouts/card_drawing.cpp).
// The pictures are committed; the build never runs this program. To redraw:
//   g++ -std=c++20 -fPIC -I<repository> draw_generation_images.cpp -o /tmp/draw_generation_images \
//       $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen /tmp/draw_generation_images <repository>/resources

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include "printouts/card_drawing.cpp"

namespace {

QImage DrawCard()
{
    QImage image(cf::frame::kCardWidth, cf::frame::kCardHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    cf::frame::PaintCard(painter, QFont(QStringLiteral("Liberation Sans")));
    painter.end();
    return image;
}

// The classic drop-down button: a raised grey face with a black triangle.
QImage DrawDropDownArrow()
{
    QImage image(16, 17, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor(240, 240, 240));
    QPainter painter(&image);
    painter.setPen(Qt::white);
    painter.drawLine(0, 0, 14, 0);
    painter.drawLine(0, 0, 0, 15);
    painter.setPen(QColor(160, 160, 160));
    painter.drawLine(1, 15, 14, 15);
    painter.drawLine(14, 1, 14, 15);
    painter.setPen(QColor(105, 105, 105));
    painter.drawLine(0, 16, 15, 16);
    painter.drawLine(15, 0, 15, 16);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::black);
    painter.drawPolygon(QPolygon({{4, 6}, {11, 6}, {7, 10}, {8, 10}}));
    painter.end();
    return image;
}

// A pointing hand, index finger up, 32 x 32 with transparency.
QImage DrawHand()
{
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath hand;
    hand.moveTo(4.5, 0.5);  // index finger tip (left side)
    hand.cubicTo(6.5, -0.5, 8.5, 0.5, 8.5, 2.5);
    hand.lineTo(8.5, 9.5);  // index right side down to knuckles
    hand.lineTo(9, 8.5);
    hand.cubicTo(10, 7.5, 12, 7.5, 12.5, 9.5);
    hand.cubicTo(13.5, 8, 15.5, 8.5, 16, 10.5);
    hand.cubicTo(17, 9.5, 19.5, 10, 19.5, 12.5);
    hand.lineTo(19.5, 17.5);
    hand.cubicTo(19.5, 20, 18.5, 21.5, 17.5, 23);
    hand.lineTo(17.5, 25.5);
    hand.lineTo(7.5, 25.5);
    hand.lineTo(7.5, 23.5);
    hand.cubicTo(5.5, 21, 3, 18, 1, 15);
    hand.cubicTo(0, 13.5, 1.5, 12, 3, 13);
    hand.lineTo(4.5, 14.5);
    hand.lineTo(4.5, 2.5);
    hand.cubicTo(4.5, 1.5, 4.5, 1, 4.5, 0.5);
    painter.translate(2, 0);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(Qt::black, 1));
    painter.drawPath(hand);
    painter.drawLine(QPointF(12.5, 9.5), QPointF(12.5, 14));
    painter.drawLine(QPointF(16, 10.5), QPointF(16, 14));
    painter.end();
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    // The card's texts in the system's Liberation Sans (fonts-liberation2),
    // as the program draws them; never in a face that stands in for it.
    if (!QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        return 1;
    const bool ok = DrawCard().save(dir + QStringLiteral("card.png"))
                    && DrawDropDownArrow().save(dir + QStringLiteral("dropdown.png"))
                    && DrawHand().save(dir + QStringLiteral("hand.png"));
    return ok ? 0 : 1;
}
