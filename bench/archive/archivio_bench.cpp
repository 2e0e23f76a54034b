// SPDX-License-Identifier: MIT
// Opening the archive window over the largest archive: 32,767 records read,
// sorted and shown.

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <string>

#include "archive/archivio.h"
#include "engine/archive_file.h"
#include "widgets/multi_column_list.h"

namespace {

constexpr int kLargestArchive = 32767;

// An archive of `count` persons in reverse order, so that loading sorts.
std::string WriteLargeArchive(const QTemporaryDir& dir, int count)
{
    const std::string path = dir.filePath(QStringLiteral("codarc.dat")).toStdString();
    std::vector<cf::Person> records;
    records.reserve(count);
    for (int i = count; i > 0; --i)
        records.push_back({.surname = "COGNOME" + std::to_string(i),
                           .firstName = "NOME",
                           .sex = "F",
                           .birthDate = "03/07/85",
                           .place = "REGGIO NELL'EMILIA",
                           .province = "RE",
                           .code = "BNCLCU85L43H501J"});
    cf::RewriteArchive(path, records);
    return path;
}

// Window created, archive loaded and the window shown and laid out.
void BM_OpenArchiveWindow(benchmark::State& state)
{
    const QTemporaryDir dir;
    const QString path = QString::fromStdString(WriteLargeArchive(dir, kLargestArchive));
    for (auto _ : state) {
        // The benchmark never loads a person back: no generation window.
        cf::archive::Archivio window({}, path);
        window.show();
        QCoreApplication::processEvents();
        if (window.list().ListCount() != kLargestArchive)
            state.SkipWithError("archive not loaded");
    }
    state.SetItemsProcessed(state.iterations() * kLargestArchive);
}
BENCHMARK(BM_OpenArchiveWindow)->Unit(benchmark::kMillisecond);

// The file part alone: reading and sorting.
void BM_LoadArchive(benchmark::State& state)
{
    const QTemporaryDir dir;
    const std::string path = WriteLargeArchive(dir, kLargestArchive);
    for (auto _ : state)
        benchmark::DoNotOptimize(cf::LoadArchive(path));
    state.SetItemsProcessed(state.iterations() * kLargestArchive);
}
BENCHMARK(BM_LoadArchive)->Unit(benchmark::kMillisecond);

}  // namespace
