// SPDX-License-Identifier: MIT
// The archive window over large archives, 32,767 persons (the original's
// limit) and 1,000,000: opening it (the file read, sorted and shown), a key
// typed into its search box, a click on a column's title. The opening
// benchmarks report the process's peak memory so far.

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <memory>
#include <string>
#include <sys/resource.h>

#include "engine/storage/archive_file.h"
#include "windows/archive/archivio.h"

namespace {

// An archive of `count` persons in reverse order, so that loading sorts, in
// lines of the usual length (about 74 bytes); one in ten born in ROMA, on
// days that differ.
std::string WriteLargeArchive(const QTemporaryDir& dir, int count)
{
    const std::string path = dir.filePath(QStringLiteral("codarc.dat")).toStdString();
    std::ofstream file(path, std::ios::binary);
    char line[128];
    for (int i = count; i > 0; --i) {
        const int length =
            std::snprintf(line, sizeof line,
                          "\"COGNOME%07d\",\"LUCIA\",\"BNCLCU85L43H501J\",\"F\",\"%02d/%02d/%02d\","
                          "\"%s\",\"MI\"\r\n",
                          i, i % 28 + 1, i % 12 + 1, i % 100, i % 10 == 0 ? "ROMA" : "MILANO");
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

// An archive window shown over a large archive of its own.
struct ShownArchive {
    explicit ShownArchive(int persons)
        : window(
            std::make_unique<cf::archive::Archivio>(QString::fromStdString(WriteLargeArchive(dir, persons))))
    {
        window->show();
        QCoreApplication::processEvents();
    }

    QTemporaryDir dir;
    std::unique_ptr<cf::archive::Archivio> window;
};

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

// One key typed into the search box of an open window, and the list shown
// again: each iteration types R, which leaves the tenth born in ROMA, then
// takes it back, which shows everyone again (two keystrokes an iteration).
// The archive is folded at the first search, before the timing.
void BM_SearchKeystroke(benchmark::State& state)
{
    const int persons = static_cast<int>(state.range(0));
    const ShownArchive shown(persons);
    cf::archive::Archivio& window = *shown.window;
    QLineEdit* search = window.searchBox();
    search->setFocus();
    const auto type = [&](Qt::Key key) {
        QTest::keyClick(search, key);
        QCoreApplication::processEvents();
    };
    type(Qt::Key_R);
    type(Qt::Key_Backspace);
    for (auto _ : state) {
        type(Qt::Key_R);
        if (window.model().rowCount() != persons / 10)
            state.SkipWithError("the search found other rows");
        type(Qt::Key_Backspace);
    }
    state.SetItemsProcessed(state.iterations() * 2);
}
BENCHMARK(BM_SearchKeystroke)->Arg(32767)->Arg(1000000)->Unit(benchmark::kMillisecond);

// A click on the date of birth's title: the rows ordered by date, one way
// and then the other.
void BM_OrderByDate(benchmark::State& state)
{
    const int persons = static_cast<int>(state.range(0));
    const ShownArchive shown(persons);
    cf::archive::Archivio& window = *shown.window;
    QHeaderView* titles = window.personTable()->horizontalHeader();
    bool descending = false;
    for (auto _ : state) {
        titles->setSortIndicator(cf::archive::ArchiveModel::kBirthDate,
                                 descending ? Qt::DescendingOrder : Qt::AscendingOrder);
        QCoreApplication::processEvents();
        descending = !descending;
    }
}
BENCHMARK(BM_OrderByDate)->Arg(32767)->Unit(benchmark::kMillisecond);

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
