// SPDX-License-Identifier: MIT
#pragma once
// A line printer: a page surface with a current position in twips (1/1440
// inch) from the top left corner of the printable area, a current font and
// text colour, and lines of items. Pages are drawn into a PDF document (with
// QPdfWriter) that goes to a file or, at the end, to the default printer.
//
// Printing a line draws its items from left to right and then moves the
// position to the left edge of the next line, one line height of the current
// font further down (the font's height including its leading). Tab columns
// are as wide as the current font's average character width, column 1 at the
// left edge. A line that would not fit above the bottom of the printable area
// goes to the top of a new page, so nothing is printed off the paper.
//
// A printout with a page header sets it with SetPageStart: every page then
// starts with it, however the page came, so that a narrower printable area
// than the printout expects still gives a header on every page.
//
// Failures are reported, never thrown: every operation after a failure does
// nothing, and failure() says what went wrong. A document stopped by a
// failure is discarded: nothing goes to the printer and no file is written.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "platform/default_printer.h"

class QFileDevice;
class QPdfWriter;

namespace cf::platform {

// Where a document goes: the default printer (through CUPS) or a PDF file.
struct PrintTarget {
    // The default printer, looked up when the document begins.
    static PrintTarget DefaultPrinter() { return {}; }
    // The default printer as already looked up.
    static PrintTarget Printer(const PrinterLookup& printer) { return {{}, printer}; }
    static PrintTarget PdfFile(const QString& path) { return {path, {}}; }

    // True when the default printer was looked up and there is none.
    bool lacksPrinter() const { return printer && printer->status == PrinterLookup::Status::Missing; }

    QString pdfFile;  // empty for the default printer
    std::optional<PrinterLookup> printer;
};

// The target with the default printer looked up now (a PDF file stays as it
// is), under the hourglass.
PrintTarget LookUpPrinter(const PrintTarget& target);

// Whether a printout asks the printer for colour or takes its default.
enum class Ink { PrinterDefault, Colour };

// Items of a printed line.
struct Tab {
    int column;  // from 1; 0 counts as 1
};
struct Number {
    long long value;  // printed as sign (blank or "-"), digits, one blank
};
using PrintItem = std::variant<QString, Tab, Number>;

inline constexpr double kTwipsPerPoint = 20.0;
inline constexpr double kTwipsPerPixel = 15.0;  // pictures: pixels at 96 dpi

// The page margins of a PDF file, and of a printer that states none: the
// usual unprintable edge of a printer.
inline constexpr double kUsualMarginMillimetres = 6.35;

// The hourglass pointer for the time of a printout: shown, and made visible
// by letting pending window events run once, when this is made; the default
// pointer is back when it goes, however the printout ended.
class BusyPointer {
public:
    BusyPointer();
    ~BusyPointer();
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

class LinePrinter {
public:
    explicit LinePrinter(PrintTarget target);
    ~LinePrinter();
    LinePrinter(const LinePrinter&) = delete;
    LinePrinter& operator=(const LinePrinter&) = delete;

    // The page header: printed by Begin on page 1 and at the top of every
    // later page, whatever started it. Set it before Begin. The font and
    // colour in use are restored after it.
    void SetPageStart(std::function<void()> printHeader);

    // Starts the document on A4 portrait paper, page 1, position at the top
    // left, font Arial 10 pt regular, black text. False (and failure()) when
    // the printer cannot print now or the file cannot be written.
    bool Begin(Ink ink = Ink::PrinterDefault);

    // All text is Arial, printed in the sans face of platform/fonts.h, which
    // has Arial's metrics.
    void SetFont(double points, bool bold);
    void SetTextColor(const QColor& color);

    // Prints one line of items and moves to the start of the next line. An
    // empty list, "" or " " is a blank line of the current line height.
    void Print(const std::vector<PrintItem>& items);

    // A rule across the printable width (from x = 0 to 5 twips short of the
    // right edge) at the current vertical position, which does not move.
    void Rule();

    // Draws a picture with its top left corner at the current position, at
    // its natural size (15 twips a pixel). The position does not move.
    void DrawPicture(const QImage& picture);

    // Starts a new page unless `lines` lines of the current font still fit
    // on this one: lines that belong together stay together.
    void KeepLinesTogether(int lines);

    bool NewPage();
    // Ends the document and sends it to the printer (or writes the file).
    bool EndDoc();

    double x() const { return x_; }
    double y() const { return y_; }
    int page() const { return page_; }
    double lineHeight() const { return lineHeight_; }            // current font, twips
    double columnWidth() const { return columnWidth_; }          // one tab column, twips
    double printableWidth() const { return printableWidth_; }    // twips
    double printableHeight() const { return printableHeight_; }  // twips

    bool failed() const { return failure_.number != 0; }
    const PrintFailure& failure() const { return failure_; }

private:
    bool OpenOutput(QMarginsF* margins);
    void Fail(const QString& description);
    void Fail(const PrintFailure& failure);
    void StartPage();
    void DrawText(const QString& text);
    void MoveToColumn(int column);
    void NextLine();
    void BreakPageIfLineDoesNotFit();
    double ToDevice(double twips) const;
    double ToTwips(double device) const;

    PrintTarget target_;
    PrinterQueue queue_;  // for the default printer
    Ink ink_ = Ink::PrinterDefault;
    std::function<void()> printHeader_;
    bool printingHeader_ = false;
    std::unique_ptr<QFileDevice> output_;
    std::unique_ptr<QPdfWriter> writer_;
    QPainter painter_;
    double fontPoints_ = 10;
    bool fontBold_ = false;
    QFont font_;
    QFontMetricsF metrics_{font_};
    double lineHeight_ = 0;
    double columnWidth_ = 0;
    double devicePerTwip_ = 1;
    double printableWidth_ = 0;
    double printableHeight_ = 0;
    double x_ = 0;
    double y_ = 0;
    int page_ = 0;
    bool open_ = false;
    PrintFailure failure_;
};

}  // namespace cf::platform
