// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include "engine/code/code_computation.h"
#include "engine/places/birth_place.h"
#include "engine/places/embedded_resources.h"
#include "engine/places/place_catalog.h"

namespace {

std::string_view ResourceText(int id)
{
    const auto bytes = cf::ResourceBytes(id);
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// The table and the periods parsed and indexed, as at every start.
void PlacesReady(benchmark::State& state)
{
    for (auto _ : state) {
        const cf::PlaceCatalog catalog(ResourceText(cf::kPlaceTableResource),
                                       ResourceText(cf::kPlacePeriodsResource));
        benchmark::DoNotOptimize(catalog.Rows().data());
    }
}
BENCHMARK(PlacesReady)->Unit(benchmark::kMillisecond);

void PlaceByName(benchmark::State& state, const char* name)
{
    const cf::PlaceCatalog& places = cf::PlaceCatalog::Embedded();
    for (auto _ : state)
        benchmark::DoNotOptimize(places.FirstRowNamed(name));
}
BENCHMARK_CAPTURE(PlaceByName, table_end, "ZIMBABWE");
BENCHMARK_CAPTURE(PlaceByName, typed_with_accents, " Città di Castello");

void PlaceByCode(benchmark::State& state)
{
    const cf::PlaceCatalog& places = cf::PlaceCatalog::Embedded();
    for (auto _ : state)
        benchmark::DoNotOptimize(places.FirstRowWithCode("Z337"));
}
BENCHMARK(PlaceByCode);

void PlaceByCodeOnDate(benchmark::State& state)
{
    const cf::PlaceCatalog& places = cf::PlaceCatalog::Embedded();
    for (auto _ : state)
        benchmark::DoNotOptimize(places.PeriodOn("B963", 19350101));
}
BENCHMARK(PlaceByCodeOnDate);

// What a generation does: the place valid on the birth date, then the code.
void ComputeCodeFromPlaceName(benchmark::State& state, const char* place)
{
    const cf::PlaceCatalog& places = cf::PlaceCatalog::Embedded();
    const cf::BirthDay birth{19850703, true};
    for (auto _ : state) {
        const cf::BirthPlace found = cf::ResolveBirthPlace(places, place, birth);
        benchmark::DoNotOptimize(
            cf::ComputeCodeWithPlaceCode("BIANCHI", "LUCIA", "03/07/85", "F", places.Row(found.row).code));
    }
}
BENCHMARK_CAPTURE(ComputeCodeFromPlaceName, roma, "ROMA");
BENCHMARK_CAPTURE(ComputeCodeFromPlaceName, namesake_in_brackets, "SAN TEODORO (SS)");

}  // namespace
