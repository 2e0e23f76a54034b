// SPDX-License-Identifier: MIT
#include <benchmark/benchmark.h>

#include "engine/code/code_computation.h"
#include "engine/code/verification.h"
#include "engine/places/place_catalog.h"

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

// Checking a correct code and decoding it, its place found by code on the
// birth date.
void DecodeCode(benchmark::State& state)
{
    cf::PlaceCatalog::Embedded();  // index the places outside the loop
    for (auto _ : state)
        benchmark::DoNotOptimize(cf::CheckAndReport("BNCLCU85L43H501J", cf::Date{2026, 12, 8}));
}
BENCHMARK(DecodeCode);

}  // namespace
