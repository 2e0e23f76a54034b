// SPDX-License-Identifier: MIT
// Draws the toolbar image strip (250 x 75) and the two 16 x 16 status-bar
// icons. Usage: draw_widget_images OUTPUT_FOLDER
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <cmath>
#include <cstdio>
#include <functional>

namespace {

constexpr int kCell = 25;
const QColor kFace(192, 192, 192);
const QColor kInk(40, 40, 48);

QPen Outline(const QColor& colour = kInk, qreal width = 1.0)
{
    return QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

void SheetWithPencil(QPainter& p)
{
    QPainterPath sheet;
    sheet.moveTo(4.5, 2.5);
    sheet.lineTo(14.5, 2.5);
    sheet.lineTo(18.5, 6.5);
    sheet.lineTo(18.5, 22.5);
    sheet.lineTo(4.5, 22.5);
    sheet.closeSubpath();
    p.setPen(Outline());
    p.setBrush(QColor(252, 252, 250));
    p.drawPath(sheet);
    QPainterPath fold;
    fold.moveTo(14.5, 2.5);
    fold.lineTo(14.5, 6.5);
    fold.lineTo(18.5, 6.5);
    p.setBrush(QColor(215, 220, 230));
    p.drawPath(fold);
    p.setPen(QPen(QColor(70, 110, 200), 1));
    for (int y : {9, 12, 15, 18})
        p.drawLine(QPointF(7, y + 0.5), QPointF(y == 18 ? 12 : 16, y + 0.5));

    // Pencil across the sheet, point down to the left.
    p.save();
    p.translate(14.0, 14.0);
    p.rotate(-45);
    p.setPen(Outline(QColor(60, 40, 10)));
    p.setBrush(QColor(250, 190, 20));
    p.drawRect(QRectF(-4.0, -2.0, 11.0, 4.0));  // body
    p.setBrush(QColor(170, 170, 180));
    p.drawRect(QRectF(7.0, -2.0, 2.0, 4.0));  // ferrule
    p.setBrush(QColor(240, 120, 140));
    p.drawRoundedRect(QRectF(9.0, -2.0, 3.0, 4.0), 1, 1);  // eraser
    QPainterPath tip;
    tip.moveTo(-4.0, -2.0);
    tip.lineTo(-9.0, 0.0);
    tip.lineTo(-4.0, 2.0);
    tip.closeSubpath();
    p.setBrush(QColor(245, 215, 165));
    p.drawPath(tip);
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    QPainterPath lead;
    lead.moveTo(-7.2, -0.8);
    lead.lineTo(-9.0, 0.0);
    lead.lineTo(-7.2, 0.8);
    lead.closeSubpath();
    p.drawPath(lead);
    p.restore();
}

void GlobeWithMagnifier(QPainter& p)
{
    const QPointF centre(10.5, 10.5);
    QRadialGradient sea(QPointF(8, 8), 10);
    sea.setColorAt(0, QColor(110, 180, 250));
    sea.setColorAt(1, QColor(20, 80, 190));
    p.setPen(Outline(QColor(10, 40, 110)));
    p.setBrush(sea);
    p.drawEllipse(centre, 8.5, 8.5);
    p.save();
    QPainterPath clip;
    clip.addEllipse(centre, 8.0, 8.0);
    p.setClipPath(clip);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(50, 165, 70));
    p.drawEllipse(QPointF(6.0, 6.5), 4.5, 3.5);
    p.drawEllipse(QPointF(7.0, 13.0), 2.8, 4.0);
    p.drawEllipse(QPointF(15.0, 6.5), 3.5, 2.5);
    p.setPen(QPen(QColor(200, 225, 255, 150), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, 4.0, 8.5);
    p.drawLine(QPointF(2, 10.5), QPointF(19, 10.5));
    p.restore();

    // Magnifying glass over the lower right of the globe.
    const QPointF lens(14.5, 14.5);
    p.setPen(QPen(QColor(70, 45, 20), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18.6, 18.6), QPointF(22.5, 22.5));
    p.setPen(QPen(kInk, 2.0));
    p.setBrush(QColor(225, 245, 255, 140));
    p.drawEllipse(lens, 5.0, 5.0);
    p.setPen(QPen(QColor(255, 255, 255, 220), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(11.5, 11.5, 6, 6), 100 * 16, 70 * 16);
}

void Dial(QPainter& p)
{
    const QPointF centre(12.5, 12.5);
    QRadialGradient rim(QPointF(10, 9), 13);
    rim.setColorAt(0, QColor(150, 165, 190));
    rim.setColorAt(1, QColor(50, 60, 85));
    p.setPen(Outline(QColor(25, 30, 45)));
    p.setBrush(rim);
    p.drawEllipse(centre, 10.5, 10.5);
    p.setBrush(QColor(250, 248, 236));
    p.setPen(Qt::NoPen);
    p.drawEllipse(centre, 8.5, 8.5);
    // Coloured scale: green, yellow, red.
    const QRectF scale(centre.x() - 7, centre.y() - 7, 14, 14);
    const QColor bands[] = {QColor(40, 170, 60), QColor(240, 200, 20), QColor(220, 40, 30)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(bands[i], 2.0, Qt::SolidLine, Qt::FlatCap));
        p.drawArc(scale, (225 - i * 90) * 16, -90 * 16);
    }
    p.setPen(QPen(kInk, 1.0));
    for (int i = 0; i <= 6; ++i) {
        const double angle = (225.0 - i * 45.0) * M_PI / 180.0;
        const QPointF direction(std::cos(angle), -std::sin(angle));
        p.drawLine(centre + direction * 4.8, centre + direction * 6.2);
    }
    // Needle.
    p.setPen(QPen(QColor(200, 20, 20), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre, centre + QPointF(4.6, -3.6));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawEllipse(centre, 1.8, 1.8);
}

void Printer(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(252, 252, 252));
    p.drawRect(QRectF(7.5, 2.5, 10, 8));  // paper in
    QLinearGradient body(0, 9, 0, 18);
    body.setColorAt(0, QColor(205, 210, 220));
    body.setColorAt(1, QColor(110, 115, 130));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(2.5, 9.5, 20, 9), 2, 2);
    p.setBrush(QColor(60, 65, 80));
    p.drawRect(QRectF(5.5, 15.5, 14, 2));  // slot
    p.setBrush(QColor(252, 252, 252));
    p.drawRect(QRectF(6.5, 16.5, 12, 6));  // paper out
    p.setPen(QPen(QColor(90, 90, 110), 1));
    p.drawLine(QPointF(8.5, 19.5), QPointF(16.5, 19.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 210, 60));
    p.drawEllipse(QPointF(19.5, 12.5), 1.2, 1.2);
}

void NewsWithEnvelope(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(248, 246, 236));
    p.drawRect(QRectF(2.5, 1.5, 14, 17));
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(4, 3, 11, 2.5));  // headline
    p.setPen(QPen(QColor(100, 100, 110), 1));
    for (int y : {8, 10, 12, 14, 16}) {
        p.drawLine(QPointF(4, y + 0.5), QPointF(8.5, y + 0.5));
        p.drawLine(QPointF(10.5, y + 0.5), QPointF(15, y + 0.5));
    }

    // Envelope in front, lower right.
    const QRectF envelope(8.5, 11.5, 14, 10);
    p.setPen(Outline(QColor(120, 80, 20)));
    p.setBrush(QColor(255, 236, 170));
    p.drawRect(envelope);
    QPainterPath flap;
    flap.moveTo(envelope.topLeft());
    flap.lineTo(envelope.center() + QPointF(0, 1));
    flap.lineTo(envelope.topRight());
    p.setBrush(Qt::NoBrush);
    p.drawPath(flap);
    p.drawLine(envelope.bottomLeft(), QPointF(14, 16.5));
    p.drawLine(envelope.bottomRight(), QPointF(17, 16.5));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(220, 30, 30));
    p.drawRect(QRectF(19.5, 13, 2, 2));  // stamp
}

void ExitDisc(QPainter& p)
{
    const QPointF centre(12.5, 12.5);
    QRadialGradient red(QPointF(10, 9), 12);
    red.setColorAt(0, QColor(255, 90, 80));
    red.setColorAt(1, QColor(175, 0, 0));
    p.setPen(Outline(QColor(100, 0, 0)));
    p.setBrush(red);
    p.drawEllipse(centre, 10.5, 10.5);
    p.setPen(QPen(QColor(255, 255, 255), 3.0, Qt::SolidLine, Qt::SquareCap));
    p.drawLine(QPointF(9, 9), QPointF(16, 16));
    p.drawLine(QPointF(16, 9), QPointF(9, 16));
}

QImage Draw(int size, const std::function<void(QPainter&)>& picture)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    picture(painter);
    return image;
}

// Colour picture over the face colour.
QImage OnFace(const QImage& picture)
{
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(kFace);
    QPainter(&image).drawImage(0, 0, picture);
    return image;
}

QImage GreyTones(const QImage& colour)
{
    QImage image = colour;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int grey = qGray(image.pixel(x, y));
            image.setPixel(x, y, qRgb(grey, grey, grey));
        }
    return image;
}

// Disabled look: the dark parts of the picture in shadow grey over a white
// copy one pixel down and right.
QImage Embossed(const QImage& picture)
{
    QImage image(picture.size(), QImage::Format_RGB32);
    image.fill(kFace);
    auto dark = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= picture.width() || y >= picture.height())
            return false;
        const QRgb pixel = picture.pixel(x, y);
        return qAlpha(pixel) > 110 && qGray(pixel) * 255 / std::max(qAlpha(pixel), 1) < 150;
    };
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (dark(x, y))
                image.setPixel(x, y, qRgb(128, 128, 128));
            else if (dark(x - 1, y - 1))
                image.setPixel(x, y, qRgb(255, 255, 255));
        }
    return image;
}

void CardIcon(QPainter& p)
{
    p.setPen(Outline(QColor(20, 60, 130)));
    QLinearGradient card(0, 3, 0, 13);
    card.setColorAt(0, QColor(210, 232, 255));
    card.setColorAt(1, QColor(150, 195, 245));
    p.setBrush(card);
    p.drawRoundedRect(QRectF(0.5, 2.5, 15, 11), 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 170));
    p.drawRect(QRectF(2, 5, 4, 5));  // photo
    p.setPen(QPen(QColor(30, 50, 90), 1));
    for (int y : {5, 7, 9})
        p.drawLine(QPointF(7.5, y + 0.5), QPointF(13.5, y + 0.5));
    p.drawLine(QPointF(2, 11.5), QPointF(10, 11.5));
}

void CalendarIcon(QPainter& p)
{
    p.setPen(Outline(QColor(60, 60, 70)));
    p.setBrush(QColor(255, 255, 255));
    p.drawRect(QRectF(1.5, 2.5, 13, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(210, 35, 35));
    p.drawRect(QRectF(2, 3, 12, 3));  // header
    p.setBrush(QColor(60, 60, 70));
    for (int x : {4, 11})
        p.drawRect(QRectF(x, 1, 1.5, 3));  // rings
    p.setBrush(QColor(110, 110, 125));
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            p.drawRect(QRect(3 + column * 3, 7 + row * 2, 2, 1));
    p.setBrush(QColor(210, 35, 35));
    p.drawRect(QRect(9, 11, 2, 1));  // today
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);

    const std::function<void(QPainter&)> pictures[] = {SheetWithPencil, GlobeWithMagnifier, Dial,
                                                       Printer,         NewsWithEnvelope,   ExitDisc};
    QImage strip(10 * kCell, 3 * kCell, QImage::Format_RGB32);
    strip.fill(kFace);
    {
        QPainter painter(&strip);
        int column = 0;
        for (const auto& picture : pictures) {
            const QImage drawn = Draw(kCell, picture);
            const QImage colour = OnFace(drawn);
            painter.drawImage(column * kCell, 0, GreyTones(colour));
            painter.drawImage(column * kCell, kCell, colour);
            painter.drawImage(column * kCell, 2 * kCell, Embossed(drawn));
            ++column;
        }
    }
    const bool saved = strip.convertToFormat(QImage::Format_RGB888).save(folder + "/toolbar_strip.png")
                       && Draw(16, CardIcon).save(folder + "/status_title.png")
                       && Draw(16, CalendarIcon).save(folder + "/status_date.png");
    if (!saved) {
        std::fprintf(stderr, "cannot write the pictures into %s\n", argv[1]);
        return 1;
    }
    return 0;
}
