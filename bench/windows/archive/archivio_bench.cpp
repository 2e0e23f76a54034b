// SPDX-License-Identifier: MIT
// Opening the archive window over large archives, 32,767 persons (the
// original's limit) and 1,000,000: the file read, sorted and shown. Each
// benchmark reports the process's peak memory so far.

#include <QApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <sys/resource.h>

#include "engine/storage/archive_file.h"
#include "windows/archive/archivio.h"

namespace {

// An archive of `count` persons in reverse order, so that loading sorts, in
// lines of the usual length (about 74 bytes).
std::string WriteLargeArchive(const QTemporaryDir& dir, int count)
{
    const std::string path = dir.filePath(QStringLiteral("codarc.dat")).toStdString();
    std::ofstream file(path, std::ios::binary);
    char line[128];
    for (int i = count; i > 0; --i) {
        const int length = std::snprintf(line, sizeof line,
                                         "\"COGNOME%07d\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"03/07/85\","
                                         "\"MILANO\",\"MI\"\r\n",
                                         i);
        file.write(line, length);
    }
    return path;
}

void ReportPeakMemory(benchmark::State& state)
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_MB"] = static_cast<double>(usage.ru_maxrss) / 1024;
}

// Window created, archive loaded and the window shown and laid out.
void BM_OpenArchiveWindow(benchmark::State& state)
{
    const int persons = static_cast<int>(state.range(0));
    const QTemporaryDir dir;
    const QString path = QString::fromStdString(WriteLargeArchive(dir, persons));
    for (auto _ : state) {
        // The benchmark never loads a person back: no generation window.
        cf::archive::Archivio window(path);
        window.show();
        QCoreApplication::processEvents();
        if (window.model().rowCount() != persons)
            state.SkipWithError("archive not loaded");
    }
    state.SetItemsProcessed(state.iterations() * persons);
    ReportPeakMemory(state);
}
BENCHMARK(BM_OpenArchiveWindow)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

// The file part alone: reading and sorting.
void BM_LoadArchive(benchmark::State& state)
{
    const int persons = static_cast<int>(state.range(0));
    const QTemporaryDir dir;
    const std::string path = WriteLargeArchive(dir, persons);
    for (auto _ : state) {
        const cf::LoadedArchive archive = cf::LoadArchive(path);
        if (archive.size() != static_cast<std::size_t>(persons))
            state.SkipWithError("archive not loaded");
    }
    state.SetItemsProcessed(state.iterations() * persons);
    ReportPeakMemory(state);
}
BENCHMARK(BM_LoadArchive)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
