// SPDX-License-Identifier: MIT
#include "print_test_support.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace cf::test {
namespace {

constexpr int kToolTimeoutMs = 60'000;

QString Run(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished();
        ADD_FAILURE() << program.toStdString() << " did not finish";
        return {};
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        ADD_FAILURE() << program.toStdString() << " failed: " << process.readAllStandardError().toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

QStringList PageArguments(int page)
{
    if (page == 0)
        return {};
    return {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"), QString::number(page)};
}

QString PdfInfoField(const QString& pdf, const QString& field)
{
    const QString info = Run(QStringLiteral("pdfinfo"), {pdf});
    const QRegularExpression line(QStringLiteral("^") + field + QStringLiteral(":\\s*(.*)$"),
                                  QRegularExpression::MultilineOption);
    return line.match(info).captured(1).trimmed();
}

}  // namespace

QString PdfText(const QString& pdf, int page)
{
    return Run(QStringLiteral("pdftotext"), QStringList{QStringLiteral("-layout")} + PageArguments(page)
                                                + QStringList{pdf, QStringLiteral("-")});
}

QStringList PdfLines(const QString& pdf, int page)
{
    QStringList lines;
    for (const QString& line : PdfText(pdf, page).split(QLatin1Char('\n'))) {
        QString text = line;
        text.remove(QLatin1Char('\f'));
        while (text.endsWith(QLatin1Char(' ')))
            text.chop(1);
        if (!text.isEmpty())
            lines << text;
    }
    return lines;
}

int PdfPageCount(const QString& pdf)
{
    return PdfInfoField(pdf, QStringLiteral("Pages")).toInt();
}

QString PdfPageSize(const QString& pdf)
{
    return PdfInfoField(pdf, QStringLiteral("Page size"));
}

QStringList PdfFonts(const QString& pdf)
{
    QStringList names;
    const QStringList lines = Run(QStringLiteral("pdffonts"), {pdf}).split(QLatin1Char('\n'));
    for (int i = 2; i < lines.size(); ++i)  // after the two heading lines
        if (!lines[i].isEmpty())
            names << lines[i].section(QLatin1Char(' '), 0, 0);
    return names;
}

std::vector<PdfWord> PdfWords(const QString& pdf, int page)
{
    const QString html =
        Run(QStringLiteral("pdftotext"), QStringList{QStringLiteral("-bbox")} + PageArguments(page)
                                             + QStringList{pdf, QStringLiteral("-")});
    static const QRegularExpression word(
        QStringLiteral("<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">"
                       "([^<]*)</word>"));
    std::vector<PdfWord> words;
    for (const auto& match : word.globalMatch(html)) {
        const double x0 = match.captured(1).toDouble();
        const double y0 = match.captured(2).toDouble();
        const double x1 = match.captured(3).toDouble();
        const double y1 = match.captured(4).toDouble();
        QString text = match.captured(5);
        text.replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&amp;"), QStringLiteral("&"));
        words.push_back({text, QRectF(QPointF(x0, y0), QPointF(x1, y1))});
    }
    return words;
}

PdfWord FindWord(const QString& pdf, const QString& text, int page)
{
    for (const PdfWord& word : PdfWords(pdf, page))
        if (word.text == text)
            return word;
    ADD_FAILURE() << "no word \"" << text.toStdString() << "\" on page " << page;
    return {};
}

std::vector<PdfImage> PdfImages(const QString& pdf)
{
    std::vector<PdfImage> images;
    const QStringList lines =
        Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), pdf}).split(QLatin1Char('\n'));
    for (int i = 2; i < lines.size(); ++i) {  // after the two heading lines
        const QStringList cells = lines[i].simplified().split(QLatin1Char(' '));
        if (cells.size() < 14 || cells[2] != QLatin1String("image"))
            continue;
        images.push_back({cells[3].toInt(), cells[4].toInt(), cells[12].toInt(), cells[13].toInt()});
    }
    return images;
}

QImage RenderPage(const QString& pdf, int page, int dpi)
{
    const QString stem = pdf + QStringLiteral(".render");
    const QStringList options{QStringLiteral("-r"), QString::number(dpi), QStringLiteral("-png"),
                              QStringLiteral("-singlefile")};
    Run(QStringLiteral("pdftoppm"), options + PageArguments(page) + QStringList{pdf, stem});
    const QImage image(stem + QStringLiteral(".png"));
    QFile::remove(stem + QStringLiteral(".png"));
    return image;
}

}  // namespace cf::test
