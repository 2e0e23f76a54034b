#include <benchmark/benchmark.h>

#include "engine/code_computation.h"
#include "engine/embedded_resources.h"
#include "engine/place_table.h"
#include "engine/verification.h"

namespace {

void ComputeCode(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(cf::ComputeCodeWithPlaceCode("BIANCHI", "LUCIA", "03/07/85", "F", "H501"));
}
BENCHMARK(ComputeCode);

void CheckCodiceFiscale(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(cf::IsValidCodiceFiscale("BNCLCU85L43H501J"));
}
BENCHMARK(CheckCodiceFiscale);

void CheckPartitaIva(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(cf::IsValidPartitaIva("12345678903"));
}
BENCHMARK(CheckPartitaIva);

void DecodeCode(benchmark::State& state)
{
    cf::EmbeddedPlaces();  // parse the table outside the loop
    for (auto _ : state)
        benchmark::DoNotOptimize(cf::CheckAndReport("BNCLCU85L43H501J", 2026));
}
BENCHMARK(DecodeCode);

void PlaceCodeByNameAtTableEnd(benchmark::State& state)
{
    cf::EmbeddedPlaces();
    for (auto _ : state)
        benchmark::DoNotOptimize(cf::PlaceCodeForName("ZIMBABWE"));
}
BENCHMARK(PlaceCodeByNameAtTableEnd);

void PlaceNameByCodeAtTableEnd(benchmark::State& state)
{
    cf::EmbeddedPlaces();
    for (auto _ : state)
        benchmark::DoNotOptimize(cf::PlaceNameForCode("Z337"));
}
BENCHMARK(PlaceNameByCodeAtTableEnd);

void ParseEmbeddedTable(benchmark::State& state)
{
    for (auto _ : state) {
        const auto bytes = cf::ResourceBytes(cf::kPlaceTableResource);
        benchmark::DoNotOptimize(cf::ParsePlaceTable({reinterpret_cast<const char*>(bytes.data()), bytes.size()}));
    }
}
BENCHMARK(ParseEmbeddedTable);

}  // namespace
