// SPDX-License-Identifier: MIT
#include "platform/line_printer.h"

#include <QDir>
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPen>

#include <algorithm>
#include <string>

#include "engine/storage/safe_file.h"
#include "platform/fonts.h"

namespace cf::platform {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kResolution = 1200;    // dots per inch of the PDF pages
constexpr double kRuleEndGap = 5.0;  // a rule stops this short of the right edge
constexpr double kRuleWidth = 10.0;  // half a point
const QString kDocumentName = QStringLiteral("Codice fiscale");

// The average character width of a font as TrueType fonts define it: the
// advances of the lower-case letters and the blank, weighted by how often
// they occur in text. Fonts that share Arial's advances (Liberation Sans)
// thus share its columns, whatever average their own tables state.
double AverageCharWidth(const QFontMetricsF& metrics)
{
    static constexpr struct {
        char letter;
        int weight;  // per thousand
    } kLetterWeights[] = {
        {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14}, {'h', 42}, {'i', 63},
        {'j', 3},  {'k', 6},  {'l', 35}, {'m', 20}, {'n', 56},  {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49},
        {'s', 56}, {'t', 71}, {'u', 31}, {'v', 10}, {'w', 18},  {'x', 3},  {'y', 18}, {'z', 2},  {' ', 166},
    };
    double sum = 0;
    for (const auto& [letter, weight] : kLetterWeights)
        sum += weight * metrics.horizontalAdvance(QLatin1Char(letter));
    return sum / 1000.0;
}

QString NumberText(long long value)
{
    const QString sign = value < 0 ? QString() : QStringLiteral(" ");
    return sign + QString::number(value) + QLatin1Char(' ');
}

QMarginsF UsualMargins()
{
    const double points = kUsualMarginMillimetres / 25.4 * 72.0;
    return {points, points, points, points};
}

}  // namespace

LinePrinter::LinePrinter(PrintTarget target, ServerWatch* watch)
    : target_(std::move(target)), watch_(watch ? watch : &ownWatch_)
{
}

LinePrinter::~LinePrinter()
{
    if (open_)
        painter_.end();
}

void LinePrinter::SetPageStart(std::function<void()> printHeader)
{
    printHeader_ = std::move(printHeader);
}

bool LinePrinter::Begin(Ink ink)
{
    ink_ = ink;
    QMarginsF margins = UsualMargins();
    if (!target_.isPdf() && !LookUpQueue(&margins))
        return false;
    if (!output_.open(QIODevice::WriteOnly)) {
        Fail(QStringLiteral("Impossibile preparare le pagine della stampa"));
        return false;
    }
    writer_ = std::make_unique<QPdfWriter>(&output_);
    writer_->setResolution(kResolution);
    writer_->setTitle(kDocumentName);
    writer_->setCreator(kDocumentName);
    writer_->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, margins, QPageLayout::Point));
    if (!painter_.begin(writer_.get())) {
        Fail(QStringLiteral("Impossibile preparare le pagine della stampa"));
        return false;
    }
    open_ = true;
    devicePerTwip_ = kResolution / kTwipsPerInch;
    const QRectF printable = writer_->pageLayout().paintRect(QPageLayout::Point);
    printableWidth_ = printable.width() * kTwipsPerPoint;
    printableHeight_ = printable.height() * kTwipsPerPoint;
    page_ = 1;
    SetFont(10, false);
    SetTextColor(Qt::black);
    StartPage();
    return open_;
}

// The printer, ready to print, and its margins when it states them.
bool LinePrinter::LookUpQueue(QMarginsF* margins)
{
    const QString name = target_.kind == PrintTarget::Kind::Printer ? target_.name : QString();
    const PrinterLookup printer = LookUpPrinter(name, *watch_);
    if (printer.status != PrinterLookup::Status::Ready) {
        Fail(printer.failure);
        return false;
    }
    queue_ = printer.queue;
    if (queue_.margins)
        *margins = *queue_.margins;
    return true;
}

void LinePrinter::SetFont(double points, bool bold)
{
    fontPoints_ = points;
    fontBold_ = bold;
    font_ = SansFace(bold);
    font_.setPointSizeF(points);
    if (!open_)
        return;
    painter_.setFont(font_);
    metrics_ = QFontMetricsF(font_, writer_.get());
    lineHeight_ = ToTwips(metrics_.lineSpacing());
    columnWidth_ = ToTwips(AverageCharWidth(metrics_));
}

void LinePrinter::SetTextColor(const QColor& color)
{
    if (open_)
        painter_.setPen(color);
}

void LinePrinter::Print(const std::vector<PrintItem>& items)
{
    if (!open_)
        return;
    BreakPageIfLineDoesNotFit();
    for (const PrintItem& item : items) {
        if (!open_)
            return;
        if (const auto* text = std::get_if<QString>(&item))
            DrawText(*text);
        else if (const auto* tab = std::get_if<Tab>(&item))
            MoveToColumn(tab->column);
        else
            DrawText(NumberText(std::get<Number>(item).value));
    }
    NextLine();
}

void LinePrinter::Rule()
{
    // After a line the position is never below the printable area, so a
    // rule always stays on the page of the line above it.
    if (!open_)
        return;
    QPen pen(painter_.pen().color());
    pen.setWidthF(ToDevice(kRuleWidth));
    const QPen textPen = painter_.pen();
    painter_.setPen(pen);
    painter_.drawLine(QPointF(0, ToDevice(y_)),
                      QPointF(ToDevice(printableWidth_ - kRuleEndGap), ToDevice(y_)));
    painter_.setPen(textPen);
}

void LinePrinter::DrawFigure(const std::function<void(QPainter&)>& paint)
{
    if (!open_)
        return;
    painter_.save();
    painter_.translate(ToDevice(x_), ToDevice(y_));
    painter_.scale(ToDevice(kTwipsPerPixel), ToDevice(kTwipsPerPixel));
    paint(painter_);
    painter_.restore();
}

void LinePrinter::KeepLinesTogether(int lines)
{
    if (open_ && y_ > 0 && y_ + lines * lineHeight_ > printableHeight_)
        NewPage();
}

bool LinePrinter::NewPage()
{
    if (!open_)
        return false;
    if (watch_->stopped()) {
        Fail(StoppedFailure(*watch_));
        return false;
    }
    if (!writer_->newPage()) {
        Fail(QStringLiteral("Impossibile iniziare una nuova pagina"));
        return false;
    }
    ++page_;
    StartPage();
    return open_;
}

bool LinePrinter::EndDoc()
{
    if (!open_)
        return false;
    open_ = false;
    if (!painter_.end()) {
        Fail(QStringLiteral("Impossibile completare la stampa"));
        return false;
    }
    writer_.reset();
    const QByteArray& document = output_.data();
    if (watch_->stopped()) {
        Fail(StoppedFailure(*watch_));
        return false;
    }
    if (target_.isPdf()) {
        // Written whole or not at all; it holds personal data, so it is the
        // user's alone, also when it replaces an older file.
        std::string error;
        if (ReplaceFileContents(
                QFile::encodeName(target_.name).toStdString(),
                std::string_view(document.constData(), static_cast<std::size_t>(document.size())), &error)) {
            QFile::setPermissions(target_.name, QFile::ReadOwner | QFile::WriteOwner);
            return true;
        }
        Fail(QStringLiteral("Impossibile scrivere il file %1: %2")
                 .arg(QDir::toNativeSeparators(target_.name), QString::fromStdString(error)));
        return false;
    }
    PrintFailure failure;
    if (SendToPrinter(queue_, document, kDocumentName, ink_ == Ink::Colour, &failure, *watch_))
        return true;
    Fail(failure);
    return false;
}

void LinePrinter::Fail(const QString& description)
{
    Fail(PrintFailure{kPrinterErrorNumber, description});
}

// The document so far is dropped.
void LinePrinter::Fail(const PrintFailure& failure)
{
    failure_ = failure;
    if (open_) {
        painter_.end();
        open_ = false;
    }
    writer_.reset();
    output_.close();
    output_.setData(QByteArray());
}

// Position at the top left, then the page header in the header's own font,
// after which the font and colour in use come back.
void LinePrinter::StartPage()
{
    x_ = 0;
    y_ = 0;
    if (!printHeader_ || printingHeader_)
        return;
    const double points = fontPoints_;
    const bool bold = fontBold_;
    const QColor color = painter_.pen().color();
    printingHeader_ = true;
    printHeader_();
    printingHeader_ = false;
    SetFont(points, bold);
    SetTextColor(color);
}

void LinePrinter::DrawText(const QString& text)
{
    painter_.drawText(QPointF(ToDevice(x_), ToDevice(y_) + metrics_.ascent()), text);
    x_ += ToTwips(metrics_.horizontalAdvance(text));
}

void LinePrinter::MoveToColumn(int column)
{
    const double target = (std::max(column, 1) - 1) * columnWidth_;
    if (x_ > target) {
        NextLine();
        BreakPageIfLineDoesNotFit();
    }
    x_ = target;
}

void LinePrinter::NextLine()
{
    x_ = 0;
    y_ += lineHeight_;
}

// The header's own lines never break the page: a header taller than the
// page would start pages without end.
void LinePrinter::BreakPageIfLineDoesNotFit()
{
    if (!printingHeader_ && y_ > 0 && y_ + lineHeight_ > printableHeight_)
        NewPage();
}

double LinePrinter::ToDevice(double twips) const
{
    return twips * devicePerTwip_;
}

double LinePrinter::ToTwips(double device) const
{
    return device / devicePerTwip_;
}

}  // namespace cf::platform
