// SPDX-License-Identifier: MIT
// Printing an archive of 2,000 rows and the largest one (32,767 rows) into a
// PDF file and, when there is a default printer (run it through
// tests/platform/cups_pdf_printer.sh for a private one), on the printer; and
// the longest pause of the window's event loop while 2,000 rows print off
// its thread.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>

#include <benchmark/benchmark.h>

#include "printouts/archive_printout.h"

namespace {

std::vector<cf::Person> Rows(int count)
{
    std::vector<cf::Person> rows;
    rows.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        rows.push_back({.surname = "COGNOME" + std::to_string(i),
                        .firstName = "NOME",
                        .sex = "F",
                        .birthDate = "03/07/85",
                        .place = "REGGIO NELL'EMILIA",
                        .province = "RE",
                        .code = "BNCLCU85L43H501J"});
    return rows;
}

void PrintArchive(benchmark::State& state, const cf::platform::PrintTarget& target)
{
    const int count = static_cast<int>(state.range(0));
    const cf::platform::Printout listing = cf::archive::ArchiveListing(Rows(count));
    for (auto _ : state) {
        if (!cf::platform::RunPrintout(listing, target).ok())
            state.SkipWithError("printing failed");
    }
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_PrintArchiveToPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    PrintArchive(state, cf::platform::PrintTarget::PdfFile(dir.filePath(QStringLiteral("a.pdf"))));
}
BENCHMARK(BM_PrintArchiveToPdf)->Arg(2000)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_PrintArchiveOnTheDefaultPrinter(benchmark::State& state)
{
    PrintArchive(state, cf::platform::PrintTarget::DefaultPrinter());
}
BENCHMARK(BM_PrintArchiveOnTheDefaultPrinter)
    ->Arg(2000)
    ->Arg(32767)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

// The window's view of a print job: a timer that fires every millisecond
// measures the longest gap between its ticks while the job runs.
void BM_WindowPauseWhilePrinting(benchmark::State& state, const cf::platform::PrintTarget& target)
{
    const cf::platform::Printout listing =
        cf::archive::ArchiveListing(Rows(static_cast<int>(state.range(0))));
    double longestPause = 0;
    for (auto _ : state) {
        QEventLoop loop;
        QElapsedTimer clock;
        clock.start();
        qint64 last = 0;
        QTimer tick;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            longestPause = std::max(longestPause, static_cast<double>(clock.elapsed() - last));
            last = clock.elapsed();
        });
        tick.start(1);
        cf::platform::PrintJob job(listing, target);
        QObject::connect(&job, &cf::platform::PrintJob::finished, &loop,
                         [&](const cf::platform::PrintOutcome& outcome) {
                             if (!outcome.ok())
                                 state.SkipWithError("printing failed");
                             loop.quit();
                         });
        loop.exec();
    }
    state.counters["longest_pause_ms"] = longestPause;
}

void BM_WindowPauseWhilePrintingToPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    BM_WindowPauseWhilePrinting(state,
                                cf::platform::PrintTarget::PdfFile(dir.filePath(QStringLiteral("a.pdf"))));
}
BENCHMARK(BM_WindowPauseWhilePrintingToPdf)->Arg(2000)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WindowPauseWhilePrintingOnTheDefaultPrinter(benchmark::State& state)
{
    BM_WindowPauseWhilePrinting(state, cf::platform::PrintTarget::DefaultPrinter());
}
BENCHMARK(BM_WindowPauseWhilePrintingOnTheDefaultPrinter)
    ->Arg(2000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
