// SPDX-License-Identifier: MIT
// Run without a display: the program sets QT_QPA_PLATFORM=offscreen itself.
//
// BM_LoadPlaceList: the whole place table from "varnel.cod" into a
// three-column list, splash window included.
// BM_StartToMainForm: a fresh process (this program with --show-main-form)
// from its start until the generation window is shown with the place list
// loaded and painted, then ends; the time includes process start and exit.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QListWidget>
#include <QScrollBar>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include "engine/places/embedded_resources.h"
#include "engine/places/place_catalog.h"
#include "engine/storage/work_files.h"
#include "widgets/multi_column_list.h"
#include "windows/generation/main_form.h"
#include "windows/generation/place_list_loader.h"

extern char** environ;

namespace {

constexpr char kChildOption[] = "--show-main-form";
const char* gProgramPath = nullptr;

// Three list columns and a scroll bar as the generation window holds them.
struct PlaceListHost {
    QWidget window;
    cf::widgets::MultiColumnList list;

    PlaceListHost()
    {
        cf::widgets::MultiColumnList::Columns columns;
        for (int i = 0; i < 3; ++i)
            columns[i] = new QListWidget(&window);
        list.Create(columns, new QScrollBar(Qt::Vertical, &window));
    }
};

void BM_LoadPlaceList(benchmark::State& state)
{
    cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
    for (auto _ : state) {
        state.PauseTiming();
        auto host = std::make_unique<PlaceListHost>();
        state.ResumeTiming();

        cf::generation::LoadPlaceList(host->list);
        benchmark::DoNotOptimize(host->list.ListCount());

        state.PauseTiming();
        host.reset();
        state.ResumeTiming();
    }
    state.counters["rows"] = static_cast<double>(cf::PlaceCatalog::Embedded().Rows().size());
}
BENCHMARK(BM_LoadPlaceList)->Unit(benchmark::kMillisecond)->Iterations(20);

void BM_StartToMainForm(benchmark::State& state)
{
    for (auto _ : state) {
        char* argv[] = {const_cast<char*>(gProgramPath), const_cast<char*>(kChildOption), nullptr};
        pid_t child = 0;
        if (posix_spawn(&child, gProgramPath, nullptr, nullptr, argv, environ) != 0) {
            state.SkipWithError("cannot start the program");
            return;
        }
        int status = 0;
        waitpid(child, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("the program failed");
            return;
        }
    }
}
BENCHMARK(BM_StartToMainForm)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(5)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

// The child: what the program does at a windowed start, up to the window
// shown and painted.
int ShowMainForm(int argc, char** argv)
{
    QApplication app(argc, argv);
    cf::WriteResourceFile(cf::kPlaceFileName, cf::kPlaceTableResource);
    cf::generation::MainForm form;
    form.show();
    QCoreApplication::processEvents();
    form.grab();  // the first full paint
    const bool loaded = form.placeList().ListCount() > 0;
    cf::DeletePlaceFile();
    return loaded ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (argc > 1 && std::strcmp(argv[1], kChildOption) == 0)
        return ShowMainForm(argc, argv);

    gProgramPath = "/proc/self/exe";
    static char selfPath[4096];
    const ssize_t length = readlink("/proc/self/exe", selfPath, sizeof selfPath - 1);
    if (length > 0)
        gProgramPath = selfPath;

    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
