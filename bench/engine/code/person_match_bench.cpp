// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include "engine/code/person_match.h"
#include "engine/places/place_catalog.h"

namespace {

constexpr cf::Date kToday{2026, 12, 8};

void Compare(benchmark::State& state, const char* code, const cf::TypedPerson& person)
{
    cf::PlaceCatalog::Embedded();  // index the places outside the loop
    for (auto _ : state)
        benchmark::DoNotOptimize(cf::MatchPerson(code, person, kToday));
}

// The common case: the code corresponds to the person.
void CodeCorresponds(benchmark::State& state)
{
    Compare(state, "BNCLCU85L43H501J", {"BIANCHI", "LUCIA", "03/07/1985", "F", "ROMA"});
}
BENCHMARK(CodeCorresponds);

// A homocode, the place by its old name.
void HomocodeCorresponds(benchmark::State& state)
{
    Compare(state, "RSSMRA20C15C3UUX", {"Rossi", "Mario", "15/03/1920", "M", "Cavazuccherina"});
}
BENCHMARK(HomocodeCorresponds);

// The code is that of the namesake listed second.
void NamesakeCorresponds(benchmark::State& state)
{
    Compare(state, "NGRPLA00E60M261P", {"NEGRO", "PAOLA", "20/05/2000", "F", "CASTRO"});
}
BENCHMARK(NamesakeCorresponds);

void EveryPartDiffers(benchmark::State& state)
{
    Compare(state, "BNCLCU85L43H501J", {"ROSSI", "MARIO", "15/03/1980", "M", "MILANO"});
}
BENCHMARK(EveryPartDiffers);

}  // namespace
