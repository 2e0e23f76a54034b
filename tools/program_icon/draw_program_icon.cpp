// SPDX-License-Identifier: MIT
// Draws the program icon into resources/icons/: codicefiscale-<size>.png for
// 16, 22, 24, 32, 48, 64, 128 and 256 pixels, and codicefiscale.svg, the
// scalable one. A tax-code card: a green band across the top with the three
// colours of the flag, "CF" in large letters and the lines of the holder's
// data. Both kinds of picture come from one list of shapes.
//
// The pictures are committed; the build never runs this program. To redraw:
//   g++ -std=c++20 -fPIC draw_program_icon.cpp -o /tmp/draw_program_icon \
//       $(pkg-config --cflags --libs Qt6Gui)
//   QT_QPA_PLATFORM=offscreen /tmp/draw_program_icon <repository>/resources/icons

#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpression>
#include <QTextStream>

#include <cstdio>
#include <vector>

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

// One filled or outlined shape of the drawing, in design units.
struct Shape {
    QPainterPath path;
    QColor fill;         // a plain fill, unless `gradient`
    QColor gradientEnd;  // with `gradient`: from `fill` at the top to this at the bottom
    bool gradient = false;
    double outline = 0;  // > 0: only the outline, this wide, in `fill`
};

QPainterPath Rectangle(const QRectF& rectangle)
{
    QPainterPath path;
    path.addRect(rectangle);
    return path;
}

// The drawing for a picture of `size` pixels: the small ones get a thicker
// border and fewer, thicker data lines.
std::vector<Shape> DrawingFor(int size)
{
    const bool small = size <= 32;
    std::vector<Shape> shapes;

    // Soft shadow under the card, then the card.
    const QRectF card(2.5, 11.5, 59, 41);
    QPainterPath shadow;
    shadow.addRoundedRect(card.translated(0.8, 1.6), 5, 5);
    shapes.push_back({shadow, QColor(0, 0, 0, 60)});
    QPainterPath outline;
    outline.addRoundedRect(card, 5, 5);
    shapes.push_back({outline, kCardTop, kCardBottom, true});

    // The band across the top, inside the card's rounded corners, and the flag on it.
    shapes.push_back(
        {outline.intersected(Rectangle(QRectF(card.left(), card.top(), card.width(), 11))), kBand});
    const QRectF flag(card.right() - 14, card.top() + 3, 9, 5);
    const QColor flagColours[] = {kFlagGreen, kFlagWhite, kFlagRed};
    for (int stripe = 0; stripe < 3; ++stripe)
        shapes.push_back(
            {Rectangle(QRectF(flag.left() + 3 * stripe, flag.top(), 3, flag.height())), flagColours[stripe]});
    shapes.push_back({outline, kBorder, {}, false, small ? 2.0 : 1.6});

    // "CF", as large as the card allows, centred in its part of the card.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setBold(true);
    font.setPixelSize(23);
    font.setLetterSpacing(QFont::AbsoluteSpacing, -1.2);
    QPainterPath letters;
    letters.addText(0, 0, font, QStringLiteral("CF"));
    const QRectF room(card.left() + 3, card.top() + 12, 32, 28);
    letters.translate(room.center() - letters.boundingRect().center());
    shapes.push_back({letters, kLetters});

    // The holder's data: short lines.
    const int lines = small ? 2 : 3;
    const double lineHeight = small ? 3.4 : 2.6;
    const double gap = (25.0 - lines * lineHeight) / (lines + 1);
    for (int i = 0; i < lines; ++i) {
        const double top = card.top() + 13.5 + gap + i * (lineHeight + gap);
        const double width = i == lines - 1 ? 13 : 18;
        QPainterPath line;
        line.addRoundedRect(QRectF(card.left() + 37, top, width, lineHeight), 1, 1);
        shapes.push_back({line, kDataLine});
    }
    return shapes;
}

QImage Picture(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / kDesign, size / kDesign);
    for (const Shape& shape : DrawingFor(size)) {
        if (shape.outline > 0) {
            painter.strokePath(shape.path, QPen(shape.fill, shape.outline));
        } else if (shape.gradient) {
            QLinearGradient gradient(0, shape.path.boundingRect().top(), 0,
                                     shape.path.boundingRect().bottom());
            gradient.setColorAt(0, shape.fill);
            gradient.setColorAt(1, shape.gradientEnd);
            painter.fillPath(shape.path, gradient);
        } else {
            painter.fillPath(shape.path, shape.fill);
        }
    }
    painter.end();
    return image;
}

QString Number(double value)
{
    return QString::number(value, 'f', 3).remove(QRegularExpression(QStringLiteral("\\.?0+$")));
}

// The path as SVG path data: moves, lines and cubic curves.
QString PathData(const QPainterPath& path)
{
    QString data;
    for (int i = 0; i < path.elementCount(); ++i) {
        const QPainterPath::Element element = path.elementAt(i);
        const QString point = Number(element.x) + QLatin1Char(' ') + Number(element.y);
        if (element.isMoveTo()) {
            data += QStringLiteral("M") + point;
        } else if (element.isLineTo()) {
            data += QStringLiteral("L") + point;
        } else if (element.isCurveTo()) {
            const QPainterPath::Element second = path.elementAt(i + 1);
            const QPainterPath::Element end = path.elementAt(i + 2);
            data += QStringLiteral("C") + point + QLatin1Char(' ') + Number(second.x) + QLatin1Char(' ')
                    + Number(second.y) + QLatin1Char(' ') + Number(end.x) + QLatin1Char(' ') + Number(end.y);
            i += 2;
        }
    }
    return data;
}

// An SVG colour attribute ("fill", "stroke", "stop-color"), with its
// opacity when the colour is not opaque.
QString Colour(const QString& attribute, const QColor& colour)
{
    QString text = QStringLiteral("%1=\"%2\"").arg(attribute, colour.name(QColor::HexRgb));
    if (colour.alpha() < 255) {
        const QString opacity = attribute == QStringLiteral("stop-color")
                                    ? QStringLiteral("stop-opacity")
                                    : attribute + QStringLiteral("-opacity");
        text += QStringLiteral(" %1=\"%2\"").arg(opacity, Number(colour.alphaF()));
    }
    return text;
}

// The scalable picture: the drawing of the large sizes, on the 64-unit square.
bool WriteSvg(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    QTextStream out(&file);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" viewBox=\"0 0 64 64\">\n";
    int gradients = 0;
    for (const Shape& shape : DrawingFor(64)) {
        const QString rule =
            shape.path.fillRule() == Qt::WindingFill ? QStringLiteral("nonzero") : QStringLiteral("evenodd");
        const QString data = PathData(shape.path);
        if (shape.outline > 0) {
            out << "  <path d=\"" << data << "\" fill=\"none\" "
                << Colour(QStringLiteral("stroke"), shape.fill) << " stroke-width=\"" << Number(shape.outline)
                << "\"/>\n";
        } else if (shape.gradient) {
            const QString id = QStringLiteral("face%1").arg(++gradients);
            const QRectF box = shape.path.boundingRect();
            out << "  <linearGradient id=\"" << id << "\" gradientUnits=\"userSpaceOnUse\" x1=\"0\" y1=\""
                << Number(box.top()) << "\" x2=\"0\" y2=\"" << Number(box.bottom()) << "\">\n"
                << "    <stop offset=\"0\" " << Colour(QStringLiteral("stop-color"), shape.fill) << "/>\n"
                << "    <stop offset=\"1\" " << Colour(QStringLiteral("stop-color"), shape.gradientEnd)
                << "/>\n  </linearGradient>\n";
            out << "  <path d=\"" << data << "\" fill-rule=\"" << rule << "\" fill=\"url(#" << id
                << ")\"/>\n";
        } else {
            out << "  <path d=\"" << data << "\" fill-rule=\"" << rule << "\" "
                << Colour(QStringLiteral("fill"), shape.fill) << "/>\n";
        }
    }
    out << "</svg>\n";
    return out.status() == QTextStream::Ok && file.flush();
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
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        if (!Picture(size).save(directory + QStringLiteral("codicefiscale-%1.png").arg(size)))
            return 1;
    }
    return WriteSvg(directory + QStringLiteral("codicefiscale.svg")) ? 0 : 1;
}
