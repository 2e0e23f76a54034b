// SPDX-License-Identifier: MIT
// Draws the pictures of the generation windows into resources/:
//   card.png       the front of the tax-code card, 363 x 241, empty fields
//   dropdown.png   the 16 x 17 arrow button of the place box
//   hand.png       the hand pointer shown over the code label (hot spot 8, 0)
//
// The pictures are committed; the build never runs this program. To redraw:
//   g++ -std=c++20 -fPIC draw_generation_images.cpp -o /tmp/draw_generation_images \
//       $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen /tmp/draw_generation_images <repository>/resources

#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

namespace {

constexpr int kCardWidth = 363;
constexpr int kCardHeight = 241;
constexpr int kShadow = 5;  // offset of the drop shadow
constexpr int kBandHeight = 58;

const QColor kGreen(0, 122, 61);
const QColor kDarkGreen(0, 90, 45);
const QColor kCaption(70, 70, 70);

QFont SansFont(int pixelSize, bool bold)
{
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    return font;
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

QImage DrawCard()
{
    QImage image(kCardWidth, kCardHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
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
    painter.setFont(SansFont(24, true));
    painter.drawText(QRectF(18, 6, 250, 30), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("CODICE FISCALE"));
    painter.setFont(SansFont(10, false));
    painter.drawText(QRectF(19, 35, 250, 14), Qt::AlignLeft | Qt::AlignVCenter,
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
    painter.setFont(SansFont(9, false));
    for (const Field& field : fields) {
        const bool code = &field == &fields[0];
        painter.setPen(code ? QPen(QColor(180, 205, 190), 1) : QPen(Qt::NoPen));
        painter.setBrush(code ? QColor(244, 250, 246) : QColor(232, 243, 236));
        painter.drawRoundedRect(field.box, 3, 3);
        const QRectF caption(field.captionBox.left(), field.box.top(), field.captionBox.width(),
                             field.box.height());
        painter.setPen(kCaption);
        painter.drawText(caption, Qt::AlignRight | Qt::AlignVCenter, QString::fromLatin1(field.caption));
    }

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
    // The program's own Liberation Sans, whatever fonts are installed.
    for (const char* face : {"fonts/LiberationSans-Regular.ttf", "fonts/LiberationSans-Bold.ttf"})
        if (QFontDatabase::addApplicationFont(dir + QString::fromLatin1(face)) < 0)
            return 1;
    const bool ok = DrawCard().save(dir + QStringLiteral("card.png"))
                    && DrawDropDownArrow().save(dir + QStringLiteral("dropdown.png"))
                    && DrawHand().save(dir + QStringLiteral("hand.png"));
    return ok ? 0 : 1;
}
