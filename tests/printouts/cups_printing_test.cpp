// SPDX-License-Identifier: MIT
// The printouts on the printers of a real CUPS server. Run by
// cups_pdf_printer.sh, which starts a private server whose queues keep every
// job as a PDF file in $CF_CUPS_OUT: the raw default queue CF_PDF, the
// wide-margin queue CF_WIDE of the Generic PDF driver file, and the queues
// CF_REJECTING and CF_STOPPED that cannot print. Tests choose the default
// printer through $PRINTER, another print server through $CUPS_SERVER, and
// stop the server ($CF_CUPSD_PID) with SIGSTOP to see that no wait for it
// holds the window up.

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QThread>

#include <QLabel>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

#include <csignal>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "platform/file_dialog.h"
#include "platform/message_box.h"
#include "platform/printer_choice.h"
#include "print_test_support.h"
#include "printouts/archive_printout.h"
#include "printouts/person_printouts.h"
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
    explicit PrintServerAt(const QString& socket) : test_(qgetenv("CUPS_SERVER"))
    {
        qputenv("CUPS_SERVER", socket.toUtf8());
    }
    ~PrintServerAt() { qputenv("CUPS_SERVER", test_); }

private:
    QByteArray test_;
};

// The test's print server, stopped (SIGSTOP) for the time of a test or
// from Stop() on.
class StoppedServer {
public:
    explicit StoppedServer(bool now = true) : pid_(qEnvironmentVariableIntValue("CF_CUPSD_PID"))
    {
        if (now)
            Stop();
    }
    ~StoppedServer() { Resume(); }
    void Stop() const
    {
        if (pid_ > 0)
            kill(pid_, SIGSTOP);
    }
    void Resume() const
    {
        if (pid_ > 0)
            kill(pid_, SIGCONT);
    }
    bool known() const { return pid_ > 0; }

private:
    pid_t pid_;
};

// The limit on every wait for the print server, short for the time of a
// test.
class ShortServerWait {
public:
    ShortServerWait() : before_(platform::PrintServerWait())
    {
        platform::SetPrintServerWait(std::chrono::seconds(2));
    }
    ~ShortServerWait() { platform::SetPrintServerWait(before_); }

private:
    std::chrono::milliseconds before_;
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

std::vector<Person> Rows(int count)
{
    std::vector<Person> rows;
    for (int row = 1; row <= count; ++row)
        rows.push_back({.surname = RowName(row).toStdString(),
                        .firstName = "NOME",
                        .sex = "F",
                        .birthDate = "03/07/85",
                        .place = "ROMA",
                        .province = "RM",
                        .code = "CODICE"});
    return rows;
}

platform::PrintOutcome PrintNow(const platform::Printout& printout)
{
    return platform::RunPrintout(printout, platform::PrintTarget::DefaultPrinter());
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
        EXPECT_EQ(lines[0], QStringLiteral("Codice fiscale - Pagina n° %1").arg(page));
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
    ASSERT_TRUE(PrintNow(archive::ArchiveListing(Rows(c.rows))).ok());
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
                         [](const auto& test) {
                             return std::string(test.param.queue + 3) + "_" + std::to_string(test.param.rows);
                         });

TEST_F(CupsPrintingTest, DataSheetIsOnePageInThePrintersDefaultColours)
{
    ASSERT_TRUE(PrintNow(frame::DataSheet(Lucia())).ok());
    const QString job = PrintedJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_EQ(test::PdfPageCount(job), 1);
    EXPECT_TRUE(test::PdfText(job).contains(QLatin1String("Codice fiscale di: LUCIA BIANCHI")));
    EXPECT_TRUE(JobOptions(job).contains(QLatin1String("media=iso_a4_210x297mm")));
    EXPECT_FALSE(JobOptions(job).contains(QLatin1String("print-color-mode=color")));
}

class CardOnQueueTest : public CupsPrintingTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(CardOnQueueTest, KeepsItsColoursAndAsksForColour)
{
    const DefaultQueue queue(GetParam());
    ASSERT_TRUE(PrintNow(frame::CardPrintout(Lucia())).ok());
    const QString job = PrintedJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_EQ(test::PdfPageCount(job), 1);
    EXPECT_TRUE(test::PdfText(job).contains(QLatin1String("BNCLCU85L43H501J")));
    EXPECT_TRUE(JobOptions(job).contains(QLatin1String("print-color-mode=color")))
        << JobOptions(job).toStdString();

    // The card sits at the top left of the printable area: its green band
    // above, white below; sampled at 96 dpi, one pixel of the card each.
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
    EXPECT_TRUE(near(at(150, 50), QColor(0, 122, 61))) << at(150, 50).name().toStdString();
    EXPECT_TRUE(near(at(150, 75), Qt::white)) << at(150, 75).name().toStdString();
}

INSTANTIATE_TEST_SUITE_P(Queues, CardOnQueueTest, ::testing::Values("CF_PDF", "CF_WIDE"));

// A printer that cannot print now: nothing goes out, and the message says
// why, with the reason given to the print system.
TEST_F(CupsPrintingTest, PrintersThatCannotPrintAreReportedWithTheirReason)
{
    const struct {
        const char* queue;
        QString reason;
    } cases[] = {
        {"CF_REJECTING",
         QStringLiteral("La stampante «CF_REJECTING» rifiuta i lavori di stampa: Carta esaurita")},
        {"CF_STOPPED", QStringLiteral("La stampante «CF_STOPPED» è ferma: Sportello aperto")},
        {"CF_NO_SUCH_QUEUE", QStringLiteral("La stampante «CF_NO_SUCH_QUEUE» non esiste")},
    };
    for (const auto& c : cases) {
        const platform::PrintTarget target = platform::PrintTarget::Printer(QString::fromLatin1(c.queue));
        EXPECT_EQ(platform::RunPrintout(archive::ArchiveListing(Rows(3)), target).failure.description,
                  c.reason);
        EXPECT_EQ(platform::RunPrintout(frame::CardPrintout(Lucia()), target).failure.description, c.reason);
    }
    EXPECT_TRUE(NoJobSince());
}

TEST_F(CupsPrintingTest, AQueueThatStartsRefusingBeforeTheJobIsReported)
{
    platform::PrintFailure failure;
    platform::ServerWatch watch;
    const platform::PrinterQueue queue{QStringLiteral("CF_REJECTING"), std::nullopt};
    EXPECT_FALSE(platform::SendToPrinter(queue, QByteArray("%PDF-1.4\n"), QStringLiteral("prova"), false,
                                         &failure, watch));
    EXPECT_EQ(failure.description, QStringLiteral("La stampante «CF_REJECTING» rifiuta i lavori di stampa"));
}

TEST_F(CupsPrintingTest, TheDestinationsComeWithTheirStateAndReason)
{
    platform::ServerWatch watch;
    const platform::PrinterList list = platform::ListPrinters(watch);
    EXPECT_EQ(list.failure.number, 0) << list.failure.description.toStdString();
    EXPECT_EQ(list.defaultPrinter, QStringLiteral("CF_PDF"));
    QStringList entries;
    for (const platform::PrinterInfo& printer : list.printers)
        entries << platform::PrinterEntry(printer, printer.name == list.defaultPrinter);
    EXPECT_EQ(entries, (QStringList{
                           QStringLiteral("CF_PDF (predefinita) — pronta"),
                           QStringLiteral("CF_REJECTING — rifiuta i lavori: Carta esaurita"),
                           QStringLiteral("CF_STOPPED — ferma: Sportello aperto"),
                           QStringLiteral("CF_WIDE — pronta"),
                       }));

    // The dialog proposes the default printer once the list has come.
    platform::PrinterDialog dialog(platform::PrintTarget::DefaultPrinter());
    dialog.Start();
    QTRY_COMPARE_WITH_TIMEOUT(dialog.destinations()->count(), 5, 10000);
    EXPECT_EQ(dialog.selected(), platform::PrintTarget::Printer(QStringLiteral("CF_PDF")));
    EXPECT_EQ(dialog.destinations()->item(4)->text(), QStringLiteral("Salva come PDF"));
}

// The whole print command: the status bar's texts, and the printer named.
TEST_F(CupsPrintingTest, APrintoutRunsWhileTheWindowGoesOnAndSaysWhereItWent)
{
    platform::PrinterChoiceRecorder printers;
    printers.QueueAnswer(platform::PrintTarget::Printer(QStringLiteral("CF_WIDE")));
    QSignalSpy status(&platform::PrintStatus::instance(), &platform::PrintStatus::changed);
    ASSERT_TRUE(platform::StartPrintout(frame::DataSheet(Lucia()), frame::PersonPrintFailure()));
    EXPECT_TRUE(platform::PrintoutRunning());
    ASSERT_EQ(status.size(), 1);
    EXPECT_EQ(status[0][0].toString(), QStringLiteral("Stampa in corso su «CF_WIDE»…"));
    EXPECT_TRUE(status[0][1].toBool());
    QTRY_VERIFY_WITH_TIMEOUT(!platform::PrintoutRunning(), 30000);
    ASSERT_EQ(status.size(), 2);
    EXPECT_EQ(status[1][0].toString(), QStringLiteral("Stampato su «CF_WIDE»"));
    EXPECT_TRUE(recorder_.requests().empty());
    EXPECT_FALSE(PrintedJob().isEmpty());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A server that stops answering, before the job or in the middle of it,
// holds nothing up: the window goes on, and within the program's limit the
// message says so and offers a PDF file instead.
TEST_F(CupsPrintingTest, AStoppedServerIsGivenUpWithinTheLimitWhileTheWindowGoesOn)
{
    const StoppedServer resume(false);
    if (!resume.known())
        GTEST_SKIP() << "the test server's process is not known";
    const ShortServerWait wait;
    const QString noAnswer = QStringLiteral("Il servizio di stampa non ha risposto entro 2 secondi");
    const platform::Printout stoppedInTheMiddle{
        QStringLiteral("a.pdf"), [&resume](platform::LinePrinter& printer) {
            if (!printer.Begin())
                return false;
            printer.Print({QStringLiteral("a metà")});
            resume.Stop();  // the printer was looked up; the job is not sent yet
            return printer.EndDoc();
        }};
    const platform::Printout before = archive::ArchiveListing(Rows(3));
    for (const platform::Printout* printout : {&before, &stoppedInTheMiddle}) {
        if (printout == &before)
            resume.Stop();
        const std::size_t seen = recorder_.requests().size();
        platform::PrinterChoiceRecorder printers;
        printers.QueueAnswer(platform::PrintTarget::Printer(QStringLiteral("CF_PDF")));
        QElapsedTimer timer;
        timer.start();
        ASSERT_TRUE(platform::StartPrintout(*printout, archive::ArchivePrintFailure()));
        int ticks = 0;  // the window's events go on meanwhile
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&ticks] { ++ticks; });
        tick.start(20);
        QTRY_VERIFY_WITH_TIMEOUT(recorder_.requests().size() > seen, 15000);
        EXPECT_LT(timer.elapsed(), 10000);
        EXPECT_GT(ticks, 10);
        EXPECT_EQ(recorder_.requests()[seen].text,
                  QStringLiteral("Errore nell'esecuzione della stampa.\n 482: ") + noAnswer
                      + QStringLiteral("\n\nVuoi salvare la stessa stampa in un file PDF?"));
        resume.Resume();
    }
}

TEST_F(CupsPrintingTest, TheClerkCancelsAPrintoutThatWaitsForTheServer)
{
    const StoppedServer stopped;
    if (!stopped.known())
        GTEST_SKIP() << "the test server's process is not known";
    platform::PrinterChoiceRecorder printers;
    printers.QueueAnswer(platform::PrintTarget::Printer(QStringLiteral("CF_PDF")));
    QSignalSpy status(&platform::PrintStatus::instance(), &platform::PrintStatus::changed);
    ASSERT_TRUE(platform::StartPrintout(frame::DataSheet(Lucia()), frame::PersonPrintFailure()));
    recorder_.QueueAnswer(platform::MessageAnswer::Yes);
    EXPECT_TRUE(platform::OfferToCancelPrintout());
    EXPECT_FALSE(platform::PrintoutRunning());
    ASSERT_EQ(recorder_.requests().size(), 1u);
    EXPECT_EQ(recorder_.requests()[0].text,
              QStringLiteral("È in corso una stampa su «CF_PDF».\nVuoi annullarla?"));
    EXPECT_EQ(status.last()[0].toString(), QStringLiteral("Stampa annullata"));
    EXPECT_FALSE(platform::OfferToCancelPrintout());
}

TEST_F(CupsPrintingTest, ASilentPrintServerIsGivenUpWithinTheLimit)
{
    SilentServer silent;
    ASSERT_TRUE(silent.listening());
    const PrintServerAt server(silent.path());
    const ShortServerWait wait;
    platform::ServerWatch watch;
    const platform::PrintOutcome outcome = PrintNow(archive::ArchiveListing(Rows(3)));
    EXPECT_EQ(outcome.failure.description,
              QStringLiteral("Il servizio di stampa non ha risposto entro 2 secondi"));
    EXPECT_FALSE(platform::ListPrinters(watch).failure.description.isEmpty());
}

TEST_F(CupsPrintingTest, WithoutAPrintServerThereIsNoDefaultPrinter)
{
    const PrintServerAt server(QStringLiteral("/nonexistent/cups.sock"));
    EXPECT_EQ(PrintNow(frame::DataSheet(Lucia())).failure.description,
              QStringLiteral("Nessuna stampante predefinita: il servizio di stampa non è attivo"));
    platform::PrinterDialog dialog(platform::PrintTarget::DefaultPrinter());
    dialog.Start();
    QTRY_COMPARE_WITH_TIMEOUT(dialog.note()->text(), QStringLiteral("Il servizio di stampa non è attivo"),
                              10000);
    EXPECT_EQ(dialog.selected(), platform::PrintTarget::PdfFile());
}

TEST_F(CupsPrintingTest, AServerWithoutTheDefaultPrinterHasNone)
{
    const DefaultQueue queue("CF_NO_SUCH_QUEUE");
    EXPECT_TRUE(PrintNow(frame::DataSheet(Lucia()))
                    .failure.description.startsWith(QStringLiteral("Nessuna stampante predefinita")));
}

}  // namespace
}  // namespace cf
