// One step of the Add facets live preview on a 300-facet design: the planned cut worked out on the
// scratch copy, and with it the repaint of the sheet that shows it (recording surface, 1920 x 1080).
#include "gem/cut_preview.h"
#include "sheet/design_sheet.h"
#include "sheet/recording_surface.h"
#include "tests/support/design_builders.h"

#include <benchmark/benchmark.h>

namespace {
constexpr int PreviewFacets = 300;
constexpr int ScreenWidth = 1920, ScreenHeight = 1080;

// A plane a little inside one of the design's facets, turned by a step each time as typing would.
Plane PlannedPlane(const TGem& gem, int step) {
    const int f = 1 + (step * 7) % gem.FacetCount;
    return {gem.Facets[f].Normal, gem.Facets[f].Dist * 0.97L};
}
} // namespace

static void BM_PlanCut(benchmark::State& state) {
    auto gem = DesignWithFacets(PreviewFacets);
    gem->Recompute();
    CutPlanner planner;
    int step = 0;
    for (auto _ : state) {
        const CutOutcome outcome = planner.Plan(*gem, gem->FacetCount + 1, PlannedPlane(*gem, step++));
        benchmark::DoNotOptimize(outcome.NewFacets.size());
    }
    state.counters["facets"] = gem->FacetCount;
}
BENCHMARK(BM_PlanCut)->Unit(benchmark::kMillisecond);

static void BM_PreviewStepWithRepaint(benchmark::State& state) {
    auto gem = DesignWithFacets(PreviewFacets);
    gem->Recompute();
    CutPlanner planner;
    RecordingSurface surface(ScreenWidth, ScreenHeight);
    TUserCanvas canvas;
    TDesignSheet sheet;
    sheet.SetUpScreen(canvas, &surface, ScreenWidth, ScreenHeight);
    int step = 0;
    for (auto _ : state) {
        surface.Clear();
        sheet.Options.PlannedCut =
            planner.Plan(*gem, gem->FacetCount + 1, PlannedPlane(*gem, step++)).NewFacets;
        sheet.RepaintScreen(*gem);
    }
    state.counters["facets"] = gem->FacetCount;
}
BENCHMARK(BM_PreviewStepWithRepaint)->Unit(benchmark::kMillisecond);
