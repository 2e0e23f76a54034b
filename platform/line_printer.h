#pragma once
// A line printer over QPrinter + QPainter: a page surface with a current
// position in twips (1/1440 inch) from the top left corner of the printable
// area, a current font and text colour, and lines of items.
//
// Printing a line draws its items from left to right and then moves the
// position to the left edge of the next line, one line height of the current
// font further down (the font's height including its leading). Tab columns
// are as wide as the current font's average character width, column 1 at the
// left edge. A line that would not fit above the bottom of the printable area
// goes to the top of a new page, so nothing is printed off the paper.
//
// Failures are reported, never thrown: every operation after a failure does
// nothing, and failure() says what went wrong.

#include <QColor>
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QString>

#include <memory>
#include <variant>
#include <vector>

namespace cf::platform {

// Where a document goes: the default printer (through CUPS on Linux) or a
// PDF file.
struct PrintTarget {
    static PrintTarget DefaultPrinter() { return {}; }
    static PrintTarget PdfFile(const QString& path) { return {path}; }

    QString pdfFile;  // empty for the default printer
};

// Items of a printed line.
struct Tab {
    int column;  // from 1; 0 counts as 1
};
struct Number {
    long long value;  // printed as sign (blank or "-"), digits, one blank
};
using PrintItem = std::variant<QString, Tab, Number>;

// What stopped a document: an error number and its description in Italian.
struct PrintFailure {
    int number = 0;
    QString description;
};

// Error number of every printer failure.
inline constexpr int kPrinterErrorNumber = 482;

inline constexpr double kTwipsPerPoint = 20.0;
inline constexpr double kTwipsPerPixel = 15.0;  // pictures: pixels at 96 dpi

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

    // Starts the document on A4 portrait paper, page 1, position at the top
    // left, font Arial 10 pt regular, black text. False (and failure()) when
    // there is no printer or the target cannot be opened.
    bool Begin();

    // "Arial" is printed in the sans face of platform/fonts.h, which has
    // Arial's metrics.
    void SetFont(const QString& family, double points, bool bold);
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

    bool NewPage();
    // Ends the document and sends it to the printer (or closes the file).
    bool EndDoc();

    double x() const { return x_; }
    double y() const { return y_; }
    int page() const { return page_; }
    double lineHeight() const { return lineHeight_; }    // current font, twips
    double columnWidth() const { return columnWidth_; }  // one tab column, twips
    double printableWidth() const { return printableWidth_; }    // twips
    double printableHeight() const { return printableHeight_; }  // twips

    bool failed() const { return failure_.number != 0; }
    const PrintFailure& failure() const { return failure_; }

private:
    void Fail(const QString& description);
    void DrawText(const QString& text);
    void MoveToColumn(int column);
    void NextLine();
    void BreakPageIfLineDoesNotFit();
    double ToDevice(double twips) const;
    double ToTwips(double device) const;

    PrintTarget target_;
    std::unique_ptr<QPrinter> printer_;
    QPainter painter_;
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
