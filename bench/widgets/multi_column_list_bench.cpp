// SPDX-License-Identifier: MIT
// Filling the place list (about 10,800 rows of name, code and province) and
// looking a name up at its end.
#include "widgets/multi_column_list.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

QList<QStringList> PlaceRows()
{
    QList<QStringList> rows;
    QFile file(CF_PLACE_TABLE);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return rows;
    while (!file.atEnd()) {
        const QStringList cells = QString::fromLatin1(file.readLine()).trimmed().split(u',');
        if (cells.size() == 3)
            rows.append(cells);
    }
    return rows;
}

const QList<QStringList>& Places()
{
    static const QList<QStringList> rows = PlaceRows();
    return rows;
}

// The generation window's three columns and scroll bar.
struct Host {
    Host()
    {
        window.resize(400, 300);
        const int lefts[] = {0, 190, 260};
        const int widths[] = {190, 70, 60};
        for (int i = 0; i < 3; ++i) {
            columns.insert(i, new QListWidget(&window));
            columns[i]->setGeometry(lefts[i], 0, widths[i], 108);
        }
        scrollBar = new QScrollBar(Qt::Vertical, &window);
        window.show();
        list.Create(columns, scrollBar);
    }

    QWidget window;
    cf::widgets::MultiColumnList::Columns columns;
    QScrollBar* scrollBar = nullptr;
    cf::widgets::MultiColumnList list;
};

void BM_FillInBulk(benchmark::State& state)
{
    std::unique_ptr<Host> host;
    for (auto _ : state) {
        state.PauseTiming();
        host = std::make_unique<Host>();
        state.ResumeTiming();
        host->list.AddItems(Places());
        benchmark::DoNotOptimize(host->list.ListCount());
    }
    state.counters["rows"] = static_cast<double>(host->list.ListCount());
}
BENCHMARK(BM_FillInBulk)->Unit(benchmark::kMillisecond);

void BM_SelectLastName(benchmark::State& state)
{
    Host host;
    host.list.AddItems(Places());
    const QString last = Places().back().front().toLower();
    const int expected = static_cast<int>(Places().size()) - 1;
    host.list.SelectByText(0, last);  // builds the lookup
    for (auto _ : state) {
        host.list.SetListIndex(0);
        if (host.list.SelectByText(0, last) != expected)
            state.SkipWithError("last row not found");
    }
}
BENCHMARK(BM_SelectLastName)->Unit(benchmark::kMicrosecond);

void BM_FirstLookupAfterFill(benchmark::State& state)
{
    Host host;
    host.list.AddItems(Places());
    const QString last = Places().back().at(1);
    for (auto _ : state) {
        state.PauseTiming();
        host.list.AddItems({{"X", "Y", "Z"}});  // invalidates the lookup
        state.ResumeTiming();
        benchmark::DoNotOptimize(host.list.SelectByText(1, last));
    }
}
BENCHMARK(BM_FirstLookupAfterFill)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (Places().isEmpty()) {
        std::fprintf(stderr, "cannot read %s\n", CF_PLACE_TABLE);
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
