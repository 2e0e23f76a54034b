// Draws the program icon into resources/icons/: codicefiscale-<size>.png for
// 32, 48, 64, 128 and 256 pixels. A tax-code card: a green band across the
// top with the three colours of the flag, "CF" in large letters and the lines
// of the holder's data.
//
// The pictures are committed; the build never runs this program. To redraw:
//   g++ -std=c++20 -fPIC draw_program_icon.cpp -o /tmp/draw_program_icon \
//       $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen /tmp/draw_program_icon <repository>/resources/icons

#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>

namespace {

// The drawing is laid out on a 64-unit square and scaled to each size.
constexpr double kDesign = 64.0;

const QColor kBorder(22, 92, 52);
const QColor kBand(30, 122, 67);
const QColor kCardTop(250, 252, 246);
const QColor kCardBottom(222, 238, 220);
const QColor kLetters(16, 58, 110);
const QColor kDataLine(120, 140, 128);
const QColor kFlagGreen(0, 146, 70);
const QColor kFlagWhite(255, 255, 255);
const QColor kFlagRed(206, 43, 55);

QImage DrawIcon(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.scale(size / kDesign, size / kDesign);

    // Soft shadow under the card, then the card.
    const QRectF card(2.5, 11.5, 59, 41);
    QPainterPath shadow;
    shadow.addRoundedRect(card.translated(0.8, 1.6), 5, 5);
    painter.fillPath(shadow, QColor(0, 0, 0, 60));

    QPainterPath outline;
    outline.addRoundedRect(card, 5, 5);
    QLinearGradient face(card.topLeft(), card.bottomLeft());
    face.setColorAt(0, kCardTop);
    face.setColorAt(1, kCardBottom);
    painter.fillPath(outline, face);

    // The band across the top, inside the card's rounded corners.
    painter.save();
    painter.setClipPath(outline);
    painter.fillRect(QRectF(card.left(), card.top(), card.width(), 11), kBand);
    const QRectF flag(card.right() - 14, card.top() + 3, 9, 5);
    painter.fillRect(QRectF(flag.left(), flag.top(), 3, flag.height()), kFlagGreen);
    painter.fillRect(QRectF(flag.left() + 3, flag.top(), 3, flag.height()), kFlagWhite);
    painter.fillRect(QRectF(flag.left() + 6, flag.top(), 3, flag.height()), kFlagRed);
    painter.restore();

    painter.setPen(QPen(kBorder, size <= 32 ? 2.0 : 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(outline);

    // "CF", as large as the card allows.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(23);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -1.2);
    painter.setFont(font);
    painter.setPen(kLetters);
    painter.drawText(QRectF(card.left() + 3, card.top() + 12, 32, 28), Qt::AlignCenter,
                     QStringLiteral("CF"));

    // The holder's data: short lines, fewer and thicker at small sizes.
    painter.setPen(Qt::NoPen);
    painter.setBrush(kDataLine);
    const int lines = size <= 32 ? 2 : 3;
    const double lineHeight = size <= 32 ? 3.4 : 2.6;
    const double gap = (25.0 - lines * lineHeight) / (lines + 1);
    for (int i = 0; i < lines; ++i) {
        const double top = card.top() + 13.5 + gap + i * (lineHeight + gap);
        const double width = i == lines - 1 ? 13 : 18;
        painter.drawRoundedRect(QRectF(card.left() + 37, top, width, lineHeight), 1, 1);
    }
    painter.end();
    return image;
}

}  // namespace

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "uso: draw_program_icon CARTELLA\n");
        return 2;
    }
    const QString directory = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    for (const int size : {32, 48, 64, 128, 256}) {
        if (!DrawIcon(size).save(directory + QStringLiteral("codicefiscale-%1.png").arg(size)))
            return 1;
    }
    return 0;
}
