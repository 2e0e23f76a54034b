#include "platform/line_printer.h"

#include <QCoreApplication>
#include <QCursor>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPen>
#include <QPrinterInfo>

#include <algorithm>

#include "platform/fonts.h"

namespace cf::platform {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kRuleEndGap = 5.0;   // a rule stops this short of the right edge
constexpr double kRuleWidth = 10.0;   // half a point
// A PDF file has no unprintable edge; it gets the usual one of a printer.
constexpr double kPdfMarginMillimetres = 6.35;

// "Arial" is printed in the program's sans face, which has Arial's metrics.
QFont PrintedFont(const QString& family, bool bold)
{
    if (family.compare(QLatin1String("Arial"), Qt::CaseInsensitive) == 0)
        return SansFace(bold);
    QFont font(family);
    font.setBold(bold);
    return font;
}

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
        {'a', 64}, {'b', 14}, {'c', 27}, {'d', 35}, {'e', 100}, {'f', 20}, {'g', 14},
        {'h', 42}, {'i', 63}, {'j', 3},  {'k', 6},  {'l', 35},  {'m', 20}, {'n', 56},
        {'o', 56}, {'p', 17}, {'q', 4},  {'r', 49}, {'s', 56},  {'t', 71}, {'u', 31},
        {'v', 10}, {'w', 18}, {'x', 3},  {'y', 18}, {'z', 2},   {' ', 166},
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

}  // namespace

BusyPointer::BusyPointer()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents();
}

BusyPointer::~BusyPointer()
{
    QGuiApplication::restoreOverrideCursor();
}

LinePrinter::LinePrinter(PrintTarget target) : target_(std::move(target)) {}

LinePrinter::~LinePrinter()
{
    if (open_)
        painter_.end();
}

bool LinePrinter::Begin()
{
    if (target_.pdfFile.isEmpty()) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) {
            Fail(QStringLiteral("Nessuna stampante predefinita installata"));
            return false;
        }
        printer_ = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        // No printer information: the printer system is not even asked.
        printer_ = std::make_unique<QPrinter>(QPrinterInfo(), QPrinter::HighResolution);
        printer_->setOutputFormat(QPrinter::PdfFormat);
        printer_->setOutputFileName(target_.pdfFile);
    }
    printer_->setDocName(QStringLiteral("Codice fiscale"));
    printer_->setPageSize(QPageSize(QPageSize::A4));
    printer_->setPageOrientation(QPageLayout::Portrait);
    if (!target_.pdfFile.isEmpty()) {
        const double m = kPdfMarginMillimetres;
        printer_->setPageMargins(QMarginsF(m, m, m, m), QPageLayout::Millimeter);
    }

    if (!painter_.begin(printer_.get())) {
        Fail(target_.pdfFile.isEmpty()
                 ? QStringLiteral("Impossibile avviare la stampa su ") + printer_->printerName()
                 : QStringLiteral("Impossibile scrivere il file ") + target_.pdfFile);
        return false;
    }
    open_ = true;
    devicePerTwip_ = printer_->resolution() / kTwipsPerInch;
    const QRectF printable = printer_->pageRect(QPrinter::DevicePixel);
    printableWidth_ = ToTwips(printable.width());
    printableHeight_ = ToTwips(printable.height());
    page_ = 1;
    x_ = 0;
    y_ = 0;
    SetFont(QStringLiteral("Arial"), 10, false);
    SetTextColor(Qt::black);
    return true;
}

void LinePrinter::SetFont(const QString& family, double points, bool bold)
{
    font_ = PrintedFont(family, bold);
    font_.setPointSizeF(points);
    if (!open_)
        return;
    painter_.setFont(font_);
    metrics_ = QFontMetricsF(font_, printer_.get());
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
    if (!open_)
        return;
    if (y_ > 0 && y_ + kRuleWidth > printableHeight_ && !NewPage())
        return;
    QPen pen(painter_.pen().color());
    pen.setWidthF(ToDevice(kRuleWidth));
    const QPen textPen = painter_.pen();
    painter_.setPen(pen);
    painter_.drawLine(QPointF(0, ToDevice(y_)),
                      QPointF(ToDevice(printableWidth_ - kRuleEndGap), ToDevice(y_)));
    painter_.setPen(textPen);
}

void LinePrinter::DrawPicture(const QImage& picture)
{
    if (!open_)
        return;
    const QRectF place(ToDevice(x_), ToDevice(y_), ToDevice(picture.width() * kTwipsPerPixel),
                       ToDevice(picture.height() * kTwipsPerPixel));
    painter_.drawImage(place, picture);
}

bool LinePrinter::NewPage()
{
    if (!open_)
        return false;
    if (!printer_->newPage()) {
        Fail(QStringLiteral("Impossibile iniziare una nuova pagina"));
        return false;
    }
    ++page_;
    x_ = 0;
    y_ = 0;
    return true;
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
    return true;
}

void LinePrinter::Fail(const QString& description)
{
    failure_ = {kPrinterErrorNumber, description};
    // Qt's printers cannot cancel a started job: the pages built so far go
    // out, as they would at the end of the document.
    if (open_) {
        painter_.end();
        open_ = false;
    }
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

void LinePrinter::BreakPageIfLineDoesNotFit()
{
    if (y_ > 0 && y_ + lineHeight_ > printableHeight_)
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
