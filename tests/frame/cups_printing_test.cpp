// SPDX-License-Identifier: MIT
// The printouts on the default printer through a real CUPS server. Run by
// cups_pdf_printer.sh, which starts a private server whose queues keep every
// job as a PDF file in $CF_CUPS_OUT: the raw default queue CF_PDF, the
// wide-margin queue CF_WIDE of the Generic PDF driver file, and the queues
// CF_REJECTING and CF_STOPPED that cannot print. Tests choose the default
// printer through $PRINTER, and another print server with cupsSetServer.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <cups/cups.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "archive/archive_printout.h"
#include "frame/person_printouts.h"
#include "platform/message_box.h"
#include "print_test_support.h"
#include "sample_person.h"

namespace cf {
namespace {

using test::Lucia;

constexpr qint64 kJobTimeoutMs = 60'000;

// Printable area of the wide queue on A4, in points from the top left.
const QRectF kWidePrintable(QPointF(18, 842 - 806), QPointF(577, 842 - 36));

// Makes `queue` the default printer for the time of a test.
class DefaultQueue {
public:
    explicit DefaultQueue(const char* queue) { qputenv("PRINTER", queue); }
    ~DefaultQueue() { qunsetenv("PRINTER"); }
};

// Points the print system at another server for the time of a test.
class PrintServerAt {
public:
    explicit PrintServerAt(const QString& socket) { cupsSetServer(socket.toUtf8().constData()); }
    ~PrintServerAt() { cupsSetServer(nullptr); }  // back to $CUPS_SERVER
};

// A print server that takes connections and never answers: a socket that
// listens and never reads.
class SilentServer {
public:
    SilentServer()
    {
        path_ = dir_.filePath(QStringLiteral("silent.sock"));
        fd_ = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray name = QFile::encodeName(path_);
        std::copy(name.begin(), name.end(), address.sun_path);
        listening_ = fd_ >= 0 && bind(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0
                     && listen(fd_, 8) == 0;
    }
    ~SilentServer()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    bool listening() const { return listening_; }
    const QString& path() const { return path_; }

private:
    QTemporaryDir dir_;
    QString path_;
    int fd_ = -1;
    bool listening_ = false;
};

class CupsPrintingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (qEnvironmentVariableIsEmpty("CF_CUPS_OUT"))
            GTEST_SKIP() << "no test CUPS server: run through cups_pdf_printer.sh";
        out_.setPath(qEnvironmentVariable("CF_CUPS_OUT"));
        jobsBefore_ = Jobs().size();
    }

    QStringList Jobs() const
    {
        return out_.entryList({QStringLiteral("job-*.pdf")}, QDir::Files, QDir::Time);
    }

    // The PDF file of the job printed since SetUp; empty after a timeout.
    QString PrintedJob() const
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < kJobTimeoutMs) {
            const QStringList jobs = Jobs();
            if (jobs.size() > jobsBefore_)
                return out_.filePath(jobs.first());
            QThread::msleep(100);
        }
        ADD_FAILURE() << "the print job did not come out of the queue";
        return {};
    }

    // The options the queue passed on with the job.
    static QString JobOptions(const QString& job)
    {
        QFile file(QString(job).replace(QLatin1String(".pdf"), QLatin1String(".options")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

    bool NoJobSince() const
    {
        QThread::msleep(500);  // a job that was taken would be out by now
        return Jobs().size() == jobsBefore_;
    }

    platform::MessageBoxRecorder recorder_;

private:
    QDir out_;
    qsizetype jobsBefore_ = 0;
};

QString RowName(int row)
{
    return QStringLiteral("COGNOME%1").arg(row, 4, 10, QLatin1Char('0'));
}

archive::ArchiveRows Rows(int count)
{
    return {count, [](int row) {
                return Person{.surname = RowName(row + 1).toStdString(),
                              .firstName = "NOME",
                              .sex = "F",
                              .birthDate = "03/07/85",
                              .place = "ROMA",
                              .province = "RM",
                              .code = "CODICE"};
            }};
}

// The text lines of each page, without empty ones.
std::vector<QStringList> Pages(const QString& pdf)
{
    std::vector<QStringList> pages;
    for (const QString& page : test::PdfText(pdf).split(QLatin1Char('\f'))) {
        QStringList lines;
        for (const QString& line : page.split(QLatin1Char('\n')))
            if (!line.trimmed().isEmpty())
                lines << line.simplified();
        if (!lines.isEmpty())
            pages.push_back(lines);
    }
    return pages;
}

// Checks the archive listing page by page: the header with its page number
// on every page, every row once and in order, the total on the last page
// only.
void ExpectArchiveListing(const QString& pdf, int rows)
{
    static const QRegularExpression rowLine(QStringLiteral("^COGNOME(\\d{4}) NOME CODICE F"));
    const std::vector<QStringList> pages = Pages(pdf);
    ASSERT_EQ(static_cast<int>(pages.size()), test::PdfPageCount(pdf));
    int nextRow = 1;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        const QStringList& lines = pages[i];
        const int page = static_cast<int>(i) + 1;
        ASSERT_GE(lines.size(), 3) << "page " << page;
        EXPECT_EQ(lines[0], (page > 1 ? QStringLiteral("\"") : QString())
                                + QStringLiteral("Codice fiscale - Pagina n° %1").arg(page));
        EXPECT_EQ(lines[1], QStringLiteral("Archivio codici"));
        EXPECT_EQ(lines[2], QStringLiteral("NOME CODICE FISCALE SESSO DATA PROV. CITTA"));
        const bool last = i + 1 == pages.size();
        for (int l = 3; l < lines.size(); ++l) {
            const auto match = rowLine.match(lines[l]);
            if (match.hasMatch()) {
                EXPECT_EQ(match.captured(1).toInt(), nextRow) << "page " << page;
                nextRow = match.captured(1).toInt() + 1;
            } else {
                EXPECT_TRUE(last && l == lines.size() - 1) << lines[l].toStdString();
                EXPECT_EQ(lines[l], QStringLiteral("Totale record: %1").arg(rows));
            }
        }
        EXPECT_EQ(lines.last().startsWith(QLatin1String("Totale record:")), last) << "page " << page;
    }
    EXPECT_EQ(nextRow, rows + 1);
}

// Every word of every page lies inside the printable area.
void ExpectInside(const QString& pdf, const QRectF& printable)
{
    const int pages = test::PdfPageCount(pdf);
    for (int page = 1; page <= pages; ++page)
        for (const test::PdfWord& word : test::PdfWords(pdf, page))
            EXPECT_TRUE(printable.contains(word.box)) << word.text.toStdString() << " on page " << page;
}

struct ArchiveCase {
    const char* queue;
    int rows;
    int pages;
};

void PrintTo(const ArchiveCase& c, std::ostream* os)
{
    *os << c.rows << " rows on " << c.queue;
}

class ArchiveOnQueueTest : public CupsPrintingTest, public ::testing::WithParamInterface<ArchiveCase> {};

TEST_P(ArchiveOnQueueTest, HasTheHeaderOnEveryPageAndEveryRowOnceInOrder)
{
    const ArchiveCase& c = GetParam();
    const DefaultQueue queue(c.queue);
    ASSERT_TRUE(archive::PrintArchive(Rows(c.rows)));
    EXPECT_TRUE(recorder_.requests().empty());
    const QString job = PrintedJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_TRUE(test::PdfPageSize(job).contains(QLatin1String("(A4)")));
    EXPECT_EQ(test::PdfPageCount(job), c.pages);
    ExpectArchiveListing(job, c.rows);
    if (QLatin1String(c.queue) == QLatin1String("CF_WIDE") && c.rows < 100) {
        ExpectInside(job, kWidePrintable);
        // The listing starts at the top left corner of the printable area.
        const QRectF first = test::FindWord(job, QStringLiteral("Codice")).box;
        EXPECT_NEAR(first.left(), kWidePrintable.left(), 0.5);
        EXPECT_NEAR(first.top(), kWidePrintable.top(), 2);
    }
}

// Raw queue: 61 rows to a page (the last one starting above the 15544-twip
// line), the closing lines move with the total. Wide queue: 59 rows fit.
INSTANTIATE_TEST_SUITE_P(Queues, ArchiveOnQueueTest,
                         ::testing::Values(ArchiveCase{"CF_PDF", 3, 1}, ArchiveCase{"CF_PDF", 59, 1},
                                           ArchiveCase{"CF_PDF", 61, 2}, ArchiveCase{"CF_PDF", 62, 2},
                                           ArchiveCase{"CF_PDF", 2000, 33}, ArchiveCase{"CF_WIDE", 3, 1},
                                           ArchiveCase{"CF_WIDE", 59, 2}, ArchiveCase{"CF_WIDE", 61, 2},
                                           ArchiveCase{"CF_WIDE", 62, 2}, ArchiveCase{"CF_WIDE", 2000, 34}),
                         [](const auto& info) {
                             return std::string(info.param.queue + 3) + "_" + std::to_string(info.param.rows);
                         });

TEST_F(CupsPrintingTest, DataSheetIsOnePageInThePrintersDefaultColours)
{
    ASSERT_TRUE(frame::PrintData(Lucia()));
    const QString job = PrintedJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_EQ(test::PdfPageCount(job), 1);
    EXPECT_TRUE(test::PdfText(job).contains(QLatin1String("Codice fiscale di: LUCIA BIANCHI")));
    EXPECT_TRUE(JobOptions(job).contains(QLatin1String("media=iso_a4_210x297mm")));
    EXPECT_FALSE(JobOptions(job).contains(QLatin1String("print-color-mode=color")));
}

// A picture of four coloured quarters.
QImage ColouredCard()
{
    QImage card(363, 241, QImage::Format_RGB32);
    card.fill(Qt::white);
    QPainter painter(&card);
    painter.fillRect(0, 0, 181, 120, QColor(200, 0, 0));
    painter.fillRect(181, 0, 182, 120, QColor(0, 160, 0));
    painter.fillRect(0, 120, 181, 121, QColor(0, 0, 200));
    painter.fillRect(181, 120, 182, 121, QColor(230, 200, 0));
    return card;
}

class CardOnQueueTest : public CupsPrintingTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CardOnQueueTest, KeepsItsColoursAndAsksForColour)
{
    const DefaultQueue queue(GetParam());
    ASSERT_TRUE(frame::PrintCard(Lucia(), ColouredCard()));
    const QString job = PrintedJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_EQ(test::PdfPageCount(job), 1);
    EXPECT_TRUE(test::PdfText(job).contains(QLatin1String("BNCLCU85L43H501J")));
    EXPECT_TRUE(JobOptions(job).contains(QLatin1String("print-color-mode=color")))
        << JobOptions(job).toStdString();

    // The picture sits at the top left of the printable area; sample the
    // middle of its quarters at 96 dpi (one pixel of the picture each).
    const QRectF word = test::FindWord(job, QStringLiteral("BNCLCU85L43H501J")).box;
    const QPointF origin = QLatin1String(GetParam()) == QLatin1String("CF_WIDE")
                               ? kWidePrintable.topLeft()
                               : QPointF(test::kPdfMarginPoints, test::kPdfMarginPoints);
    EXPECT_GT(word.left(), origin.x());
    const QImage page = test::RenderPage(job, 1, 96);
    const auto at = [&](int x, int y) {
        return page.pixelColor(qRound(origin.x() * 96 / 72) + x, qRound(origin.y() * 96 / 72) + y);
    };
    const auto near = [](const QColor& a, const QColor& b) {
        return std::abs(a.red() - b.red()) < 30 && std::abs(a.green() - b.green()) < 30
               && std::abs(a.blue() - b.blue()) < 30;
    };
    EXPECT_TRUE(near(at(20, 20), QColor(200, 0, 0))) << at(20, 20).name().toStdString();
    EXPECT_TRUE(near(at(340, 20), QColor(0, 160, 0))) << at(340, 20).name().toStdString();
    EXPECT_TRUE(near(at(20, 220), QColor(0, 0, 200))) << at(20, 220).name().toStdString();
    EXPECT_TRUE(near(at(340, 220), QColor(230, 200, 0))) << at(340, 220).name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Queues, CardOnQueueTest, ::testing::Values("CF_PDF", "CF_WIDE"));

// A printer that cannot print now: nothing goes out, and the message says
// why, with the reason given to the print system.
TEST_F(CupsPrintingTest, ARejectingQueueIsReportedWithItsReason)
{
    const DefaultQueue queue("CF_REJECTING");
    EXPECT_FALSE(archive::PrintArchive(Rows(3)));
    EXPECT_FALSE(frame::PrintData(Lucia()));
    EXPECT_TRUE(NoJobSince());
    ASSERT_EQ(recorder_.requests().size(), 2u);
    const QString reason =
        QStringLiteral("La stampante «CF_REJECTING» rifiuta i lavori di stampa: Carta esaurita");
    EXPECT_EQ(recorder_.requests()[0].text,
              QStringLiteral("Errore nell'esecuzione della stampa.\n 482: ") + reason);
    EXPECT_EQ(recorder_.requests()[1].text, QStringLiteral("Errore di stampa\n") + reason);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(CupsPrintingTest, AStoppedPrinterIsReportedWithItsReason)
{
    const DefaultQueue queue("CF_STOPPED");
    EXPECT_FALSE(frame::PrintCard(Lucia(), ColouredCard()));
    EXPECT_TRUE(NoJobSince());
    ASSERT_EQ(recorder_.requests().size(), 1u);
    EXPECT_EQ(recorder_.requests()[0].text,
              QStringLiteral("Errore di stampa\nLa stampante «CF_STOPPED» è ferma: Sportello aperto"));
}

TEST_F(CupsPrintingTest, AQueueThatStartsRefusingBeforeTheJobIsReported)
{
    platform::PrintFailure failure;
    const platform::PrinterQueue queue{QStringLiteral("CF_REJECTING"), std::nullopt};
    test::PrintFolder folder;
    const QString pdf = folder.File(QStringLiteral("a.pdf"));
    platform::LinePrinter printer(platform::PrintTarget::PdfFile(pdf));
    ASSERT_TRUE(printer.Begin());
    ASSERT_TRUE(printer.EndDoc());
    EXPECT_FALSE(platform::SendToPrinter(queue, pdf, QStringLiteral("prova"), false, &failure));
    EXPECT_EQ(failure.description, QStringLiteral("La stampante «CF_REJECTING» rifiuta i lavori di stampa"));
}

TEST_F(CupsPrintingTest, ASilentPrintServerIsGivenUpAfterAFewSeconds)
{
    SilentServer silent;
    ASSERT_TRUE(silent.listening());
    const PrintServerAt server(silent.path());
    QElapsedTimer timer;
    timer.start();
    EXPECT_FALSE(archive::PrintArchive(Rows(3)));
    EXPECT_LT(timer.elapsed(), 3 * platform::kPrintServerWaitSeconds * 1000);
    ASSERT_EQ(recorder_.requests().size(), 1u);
    EXPECT_TRUE(recorder_.requests()[0].text.endsWith(
        QStringLiteral("Il servizio di stampa non ha risposto entro %1 secondi")
            .arg(platform::kPrintServerWaitSeconds)))
        << recorder_.requests()[0].text.toStdString();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(CupsPrintingTest, WithoutAPrintServerThereIsNoDefaultPrinter)
{
    const PrintServerAt server(QStringLiteral("/nonexistent/cups.sock"));
    EXPECT_TRUE(platform::LookUpPrinter(platform::PrintTarget::DefaultPrinter()).lacksPrinter());
    EXPECT_FALSE(frame::PrintData(Lucia()));
    ASSERT_EQ(recorder_.requests().size(), 1u);
    EXPECT_EQ(recorder_.requests()[0].text,
              QStringLiteral("Errore di stampa\nNessuna stampante predefinita: il servizio di "
                             "stampa non è attivo"));
}

TEST_F(CupsPrintingTest, AServerWithoutADefaultPrinterHasNone)
{
    const DefaultQueue queue("CF_NO_SUCH_QUEUE");
    EXPECT_TRUE(platform::LookUpPrinter(platform::PrintTarget::DefaultPrinter()).lacksPrinter());
}

}  // namespace
}  // namespace cf
