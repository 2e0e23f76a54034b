// Printing the largest archive (32,767 rows) into a PDF file.

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include "archive/archive_printout.h"
#include "platform/message_box.h"

namespace {

void BM_PrintArchiveToPdf(benchmark::State& state)
{
    const int count = static_cast<int>(state.range(0));
    std::vector<cf::archive::ArchiveRow> rows;
    rows.reserve(count);
    for (int i = 0; i < count; ++i)
        rows.push_back({QStringLiteral("COGNOME%1").arg(i), QStringLiteral("NOME"),
                        QStringLiteral("BNCLCU85L43H501J"), QStringLiteral("F"),
                        QStringLiteral("03/07/85"), QStringLiteral("REGGIO NELL'EMILIA"),
                        QStringLiteral("RE")});
    const cf::archive::ArchiveRows list{count, [&](int row) { return rows[row]; }};
    QTemporaryDir dir;
    const auto target = cf::platform::PrintTarget::PdfFile(dir.filePath(QStringLiteral("a.pdf")));
    const cf::platform::MessageBoxRecorder recorder;
    for (auto _ : state) {
        if (!cf::archive::PrintArchive(list, target))
            state.SkipWithError("printing failed");
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PrintArchiveToPdf)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
