// One step of the whole-design preview dialogs on a design of about 150 facets: the model's part of
// what an arrow click costs (the window then redraws the sheet).
#include "tests/support/design_builders.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int PreviewFacets = 150;

template <class Step> void RunSteps(benchmark::State& state, Step step) {
    auto gem = DesignWithFacets(PreviewFacets);
    gem->SetBoundingPlane(20); // a culet facet to move
    bool up = true;
    for (auto _ : state) {
        step(*gem, up);
        up = !up; // back and forth, so the design stays the same size
        benchmark::DoNotOptimize(gem->EdgeCount);
    }
    state.counters["facets"] = gem->FacetCount;
}
} // namespace

static void BM_ResizeStep(benchmark::State& state) {
    RunSteps(state, [](TGem& gem, bool up) { gem.Resize(up ? 1.1L : 1 / 1.1L); });
}
BENCHMARK(BM_ResizeStep)->Unit(benchmark::kMillisecond);

static void BM_StretchStep(benchmark::State& state) {
    RunSteps(state, [](TGem& gem, bool up) { gem.StretchY(up ? 1.01L : 1 / 1.01L); });
}
BENCHMARK(BM_StretchStep)->Unit(benchmark::kMillisecond);

static void BM_CuletStep(benchmark::State& state) {
    RunSteps(state, [](TGem& gem, bool up) { gem.ShiftBoundingPlane(up ? -0.1L : 0.1L); });
}
BENCHMARK(BM_CuletStep)->Unit(benchmark::kMillisecond);

static void BM_ShiftStep(benchmark::State& state) {
    RunSteps(state, [](TGem& gem, bool up) { gem.ShiftAlongAxis(up ? 1 : -1); });
}
BENCHMARK(BM_ShiftStep)->Unit(benchmark::kMillisecond);

static void BM_RotateStep(benchmark::State& state) {
    RunSteps(state, [](TGem& gem, bool up) { gem.RotateByIndex(up ? 24 : -24); });
}
BENCHMARK(BM_RotateStep)->Unit(benchmark::kMillisecond);
