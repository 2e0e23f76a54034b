// SPDX-License-Identifier: MIT
#pragma once
// Reading printed PDF files back in tests, through poppler-utils.

#include <QImage>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <vector>

namespace cf::test {

// A fresh directory for the files of one test.
class PrintFolder {
public:
    QString File(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// The text of a page (0: all pages) laid out as printed (pdftotext -layout).
QString PdfText(const QString& pdf, int page = 0);
// The text lines of a page, without empty ones and trailing blanks.
QStringList PdfLines(const QString& pdf, int page = 0);

int PdfPageCount(const QString& pdf);
// "Page size" as pdfinfo gives it, e.g. "595.276 x 841.89 pts (A4)".
QString PdfPageSize(const QString& pdf);
// Names of the fonts used (pdffonts).
QStringList PdfFonts(const QString& pdf);

// A word of page `page` (from 1) and its box in points from the page's top
// left corner.
struct PdfWord {
    QString text;
    QRectF box;
};
std::vector<PdfWord> PdfWords(const QString& pdf, int page = 1);
// The first word with this text on the page; a test failure when missing.
PdfWord FindWord(const QString& pdf, const QString& text, int page = 1);

// Images placed on page 1 (pdfimages -list): pixel size and resolution.
struct PdfImage {
    int width = 0;
    int height = 0;
    int xPpi = 0;
    int yPpi = 0;
};
std::vector<PdfImage> PdfImages(const QString& pdf);

// Page `page` rendered in colour at `dpi` dots per inch.
QImage RenderPage(const QString& pdf, int page, int dpi);

// Page margin of the PDF files of the line printer, in points.
inline constexpr double kPdfMarginPoints = 6.35 / 25.4 * 72.0;

}  // namespace cf::test
