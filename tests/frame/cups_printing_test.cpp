// The printouts on the default printer through a real CUPS server. Run by
// cups_pdf_printer.sh, which starts a private server whose default queue
// keeps every job as a PDF file in $CF_CUPS_OUT.

#include <QDir>
#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

#include "archive/archive_printout.h"
#include "frame/person_printouts.h"
#include "platform/message_box.h"
#include "print_test_support.h"

namespace cf {
namespace {

constexpr qint64 kJobTimeoutMs = 60'000;

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

    platform::MessageBoxRecorder recorder_;

private:
    QDir out_;
    qsizetype jobsBefore_ = 0;
};

archive::ArchiveRows Rows(int count)
{
    return {count, [](int row) {
                const QString n = QString::number(row + 1);
                return archive::ArchiveRow{"COGNOME" + n, "NOME", "CODICE" + n, "F",
                                           "03/07/85", "ROMA", "RM"};
            }};
}

frame::PrintedPerson Lucia()
{
    return {"BIANCHI", "LUCIA", "F", "03/07/85", "ROMA", "RM", "BNCLCU85L43H501J"};
}

TEST_F(CupsPrintingTest, ArchiveOfThreeRowsIsOneA4Page)
{
    ASSERT_TRUE(archive::PrintArchive(Rows(3)));
    EXPECT_TRUE(recorder_.requests().empty());
    const QString job = PrintedJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_EQ(test::PdfPageCount(job), 1);
    EXPECT_TRUE(test::PdfPageSize(job).contains(QLatin1String("(A4)")));
    const QString text = test::PdfText(job);
    EXPECT_TRUE(text.contains(QStringLiteral("Codice fiscale - Pagina n° 1")));
    EXPECT_TRUE(text.contains(QLatin1String("COGNOME3 NOME")));
    EXPECT_TRUE(text.contains(QLatin1String("Totale record: 3")));
}

TEST_F(CupsPrintingTest, ArchiveOfSeventyRowsIsTwoPages)
{
    ASSERT_TRUE(archive::PrintArchive(Rows(70)));
    const QString job = PrintedJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_EQ(test::PdfPageCount(job), 2);
    EXPECT_TRUE(test::PdfText(job, 2).contains(QStringLiteral("\"Codice fiscale - Pagina n° 2")));
}

TEST_F(CupsPrintingTest, DataSheetIsOnePage)
{
    ASSERT_TRUE(frame::PrintData(Lucia()));
    const QString job = PrintedJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_EQ(test::PdfPageCount(job), 1);
    EXPECT_TRUE(test::PdfText(job).contains(QLatin1String("Codice fiscale di: LUCIA BIANCHI")));
}

TEST_F(CupsPrintingTest, CardIsOnePageWithThePicture)
{
    QImage card(363, 241, QImage::Format_RGB32);
    card.fill(Qt::white);
    ASSERT_TRUE(frame::PrintCard(Lucia(), card));
    const QString job = PrintedJob();
    ASSERT_FALSE(job.isEmpty());
    EXPECT_EQ(test::PdfPageCount(job), 1);
    EXPECT_EQ(test::PdfImages(job).size(), 1u);
    EXPECT_TRUE(test::PdfText(job).contains(QLatin1String("BNCLCU85L43H501J")));
}

}  // namespace
}  // namespace cf
