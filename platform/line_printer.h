// SPDX-License-Identifier: MIT
#pragma once
// A line printer: a page surface with a current position in twips (1/1440
// inch) from the top left corner of the printable area, a current font and
// text colour, and lines of items. Pages are drawn into a PDF document (with
// QPdfWriter) in memory that goes, at the end, to a file or to a printer.
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
// A printer's waits are those of a ServerWatch: a job stopped through it
// fails at the next page.

#include <QBuffer>
#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

#include "platform/default_printer.h"

class QPdfWriter;

namespace cf::platform {

// Where a document goes: a printer of the print system or a PDF file.
struct PrintTarget {
    enum class Kind { DefaultPrinter, Printer, PdfFile };

    static PrintTarget DefaultPrinter() { return {Kind::DefaultPrinter, {}}; }
    static PrintTarget Printer(const QString& name) { return {Kind::Printer, name}; }
    // A PDF file; without a path, one that the user is still to name.
    static PrintTarget PdfFile(const QString& path = {}) { return {Kind::PdfFile, path}; }

    bool isPdf() const { return kind == Kind::PdfFile; }
    bool operator==(const PrintTarget&) const = default;

    Kind kind = Kind::DefaultPrinter;
    QString name;  // the printer's name, or the PDF file's path
};

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
inline constexpr double kTwipsPerPixel = 15.0;  // figures: pixels at 96 dpi

// The page margins of a PDF file, and of a printer that states none: the
// usual unprintable edge of a printer.
inline constexpr double kUsualMarginMillimetres = 6.35;

class LinePrinter {
public:
    // A printer's waits are watched by `watch` when given.
    explicit LinePrinter(PrintTarget target, ServerWatch* watch = nullptr);
    ~LinePrinter();
    LinePrinter(const LinePrinter&) = delete;
    LinePrinter& operator=(const LinePrinter&) = delete;

    // The page header: printed by Begin on page 1 and at the top of every
    // later page, whatever started it. Set it before Begin. The font and
    // colour in use are restored after it.
    void SetPageStart(std::function<void()> printHeader);

    // Looks the printer up, then starts the document on A4 portrait paper,
    // page 1, position at the top left, font Arial 10 pt regular, black
    // text. False (and failure()) when the printer cannot print now.
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

    // Draws a figure that `paint` draws in pixels of 96 dpi (15 twips a
    // pixel), with its top left corner at the current position, in vectors
    // at the page's own resolution. The position does not move.
    void DrawFigure(const std::function<void(QPainter&)>& paint);

    // Starts a new page unless `lines` lines of the current font still fit
    // on this one: lines that belong together stay together.
    void KeepLinesTogether(int lines);

    bool NewPage();
    // Ends the document and sends it to the printer, or writes the file,
    // readable by the user alone.
    bool EndDoc();

    // The printer the document goes to, once Begin has looked it up.
    const QString& printerName() const { return queue_.name; }

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
    bool LookUpQueue(QMarginsF* margins);
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
    ServerWatch ownWatch_;
    ServerWatch* watch_;
    PrinterQueue queue_;  // for a printer
    Ink ink_ = Ink::PrinterDefault;
    std::function<void()> printHeader_;
    bool printingHeader_ = false;
    QBuffer output_;
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
