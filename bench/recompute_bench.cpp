// Recompute on designs of growing size: the engine is cubic in the facet count.
#include "tests/support/design_builders.h"
#include "tests/support/engine_probe.h"

#include <benchmark/benchmark.h>

static void BM_Recompute(benchmark::State& state) {
    auto gem = DesignWithFacets(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        gem->Recompute();
        benchmark::DoNotOptimize(gem->EdgeCount);
    }
    state.counters["facets"] = gem->FacetCount;
    state.counters["edges"] = gem->EdgeCount;
}
BENCHMARK(BM_Recompute)->Arg(30)->Arg(100)->Arg(300)->Arg(1000)->Unit(benchmark::kMillisecond);

static void BM_GroupTiers(benchmark::State& state) {
    auto gem = DesignWithFacets(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        EngineProbe::GroupTiers(*gem);
        benchmark::DoNotOptimize(gem->TierCount);
    }
}
BENCHMARK(BM_GroupTiers)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);
