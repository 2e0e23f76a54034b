// SPDX-License-Identifier: MIT
// Printing an archive of 2,000 rows and the largest one (32,767 rows) into a
// PDF file and, when there is a default printer (run it through
// tests/platform/cups_pdf_printer.sh for a private one), on the printer.

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "archive/archive_printout.h"
#include "platform/message_box.h"

namespace {

void PrintArchive(benchmark::State& state, const cf::platform::PrintTarget& target)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<cf::Person> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i)
        rows.push_back({.surname = "COGNOME" + std::to_string(i),
                        .firstName = "NOME",
                        .sex = "F",
                        .birthDate = "03/07/85",
                        .place = "REGGIO NELL'EMILIA",
                        .province = "RE",
                        .code = "BNCLCU85L43H501J"});
    const cf::archive::ArchiveRows list{count, [&](int row) { return rows[row]; }};
    const cf::platform::MessageBoxRecorder recorder;
    for (auto _ : state) {
        if (!cf::archive::PrintArchive(list, target))
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

}  // namespace
