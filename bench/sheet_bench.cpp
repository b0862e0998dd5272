// One full repaint of the design sheet for a 300-facet design on a 1920 x 1080 screen: on the
// recording surface of the drawing tests, and, with the Qt front end, on a raster image.
#include "gem/gem.h"
#include "sheet/design_sheet.h"
#include "sheet/recording_surface.h"
#include "tests/support/design_builders.h"

#include <benchmark/benchmark.h>

#ifdef LAPIDRAW_BENCH_RASTER
#include "platform/qt_surfaces.h"

#include <QGuiApplication>
#endif

namespace {
constexpr int ScreenWidth = 1920, ScreenHeight = 1080, SheetFacets = 300;

std::unique_ptr<TGem> SheetDesign() {
    auto gem = DesignWithFacets(SheetFacets);
    gem->Recompute();
    return gem;
}

void RepaintOn(benchmark::State& state, DrawSurface& surface, void (*clear)(DrawSurface&)) {
    auto gem = SheetDesign();
    TUserCanvas canvas;
    TDesignSheet sheet;
    sheet.SetUpScreen(canvas, &surface, ScreenWidth, ScreenHeight);
    for (auto _ : state) {
        clear(surface);
        sheet.RepaintScreen(*gem);
    }
    state.counters["facets"] = gem->FacetCount;
}
} // namespace

static void BM_SheetRepaintRecorded(benchmark::State& state) {
    RecordingSurface surface(ScreenWidth, ScreenHeight);
    RepaintOn(state, surface, [](DrawSurface& s) { static_cast<RecordingSurface&>(s).Clear(); });
}
BENCHMARK(BM_SheetRepaintRecorded)->Unit(benchmark::kMillisecond);

#ifdef LAPIDRAW_BENCH_RASTER
static void BM_SheetRepaintRaster(benchmark::State& state) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "lapidraw_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    RasterSurface surface(ScreenWidth, ScreenHeight);
    RepaintOn(state, surface, [](DrawSurface&) {}); // the sheet clears the screen white itself
}
BENCHMARK(BM_SheetRepaintRaster)->Unit(benchmark::kMillisecond);
#endif
