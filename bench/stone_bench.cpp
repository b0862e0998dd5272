// The whole stone of a design of about 150 facets (both halves) from its planes, next to the recompute
// of one half by the cutting engine; one frame of the 3D view and the STL export of a stone twice that
// size. The crown is the pavilion's mirror image in the girdle plane.
#include "mesh/mesh_files.h"
#include "stone/stone.h"
#include "tests/support/design_builders.h"

#include <benchmark/benchmark.h>

#ifdef LAPIDRAW_BENCH_RASTER
#include "platform/stone_painting.h"
#include "sheet/stone_view.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#endif
#include <filesystem>

namespace {
constexpr int FacetsPerHalf = 75; // rounds up to whole tiers: 80 a half

std::unique_ptr<TGem> MirroredCrown(const TGem& pavilion) {
    auto crown = NewGem('c', pavilion.DesignParts, pavilion.SystemIndex, pavilion.DesignMirror);
    crown->FacetCount = pavilion.FacetCount;
    for (int f = -1; f <= pavilion.FacetCount; ++f) {
        crown->Facets[f] = pavilion.Facets[f];
        crown->Facets[f].Normal.z = -pavilion.Facets[f].Normal.z;
    }
    crown->Recompute();
    return crown;
}

// A pavilion of about `facetsPerHalf` facets and its mirrored crown.
struct MirroredHalves {
    std::unique_ptr<TGem> Crown, Pavilion;
    explicit MirroredHalves(int facetsPerHalf) : Pavilion(DesignWithFacets(facetsPerHalf)) {
        Pavilion->Recompute();
        Crown = MirroredCrown(*Pavilion);
    }
    int Facets() const { return Crown->FacetCount + Pavilion->FacetCount; }
};
} // namespace

static void BM_WholeStone(benchmark::State& state) {
    const MirroredHalves halves(FacetsPerHalf);
    Stone stone;
    for (auto _ : state) {
        if (const FileResult made = MakeStone(*halves.Crown, *halves.Pavilion, stone); !made)
            state.SkipWithError(made.Error().Message.c_str());
        benchmark::DoNotOptimize(stone.Volume);
    }
    state.counters["facets"] = halves.Facets();
    state.counters["faces"] = static_cast<double>(stone.Faces.size());
    state.counters["corners"] = static_cast<double>(stone.Corners.size());
}
BENCHMARK(BM_WholeStone)->Unit(benchmark::kMillisecond);

// The whole stone of about 300 facets as a 10 mm binary STL file: the mesh, then the file.
static void BM_StlExport(benchmark::State& state) {
    const MirroredHalves halves(2 * FacetsPerHalf);
    Stone stone;
    if (const FileResult made = MakeStone(*halves.Crown, *halves.Pavilion, stone); !made)
        state.SkipWithError(made.Error().Message.c_str());
    const std::string path = std::filesystem::temp_directory_path() / "lapidraw-bench-stone.stl";
    MeshOptions options;
    options.Size.WidthMm = 10;
    StoneMesh mesh;
    for (auto _ : state) {
        mesh = MakeStoneMesh(stone, options);
        if (const FileResult written = WriteStl(mesh, path); !written)
            state.SkipWithError(written.Error().Message.c_str());
    }
    std::filesystem::remove(path);
    state.counters["facets"] = halves.Crown->FacetCount + halves.Pavilion->FacetCount;
    state.counters["triangles"] = static_cast<double>(mesh.Triangles.size());
}
BENCHMARK(BM_StlExport)->Unit(benchmark::kMillisecond);

static void BM_HalfRecompute(benchmark::State& state) {
    auto pavilion = DesignWithFacets(FacetsPerHalf);
    for (auto _ : state) {
        pavilion->Recompute();
        benchmark::DoNotOptimize(pavilion->EdgeCount);
    }
    state.counters["facets"] = pavilion->FacetCount;
}
BENCHMARK(BM_HalfRecompute)->Unit(benchmark::kMillisecond);

#ifdef LAPIDRAW_BENCH_RASTER
// One frame of the 3D view of a whole stone of about 300 facets at full HD: the projection and shading
// of the stone, and its faces and edges painted, antialiased, into an image.
static void BM_StoneViewFrame(benchmark::State& state) {
    constexpr int FrameWidth = 1920, FrameHeight = 1080, FacetsPerViewHalf = 150;
    constexpr double TurnPerFrame = 0.01; // radians
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "lapidraw_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
    const MirroredHalves halves(FacetsPerViewHalf);
    Stone stone;
    if (const FileResult made = MakeStone(*halves.Crown, *halves.Pavilion, stone); !made)
        state.SkipWithError(made.Error().Message.c_str());
    QImage frame(FrameWidth, FrameHeight, QImage::Format_ARGB32_Premultiplied);
    StoneOrientation orientation;
    for (auto _ : state) {
        orientation.TurnAboutStoneAxis(TurnPerFrame);
        frame.fill(Qt::white);
        QPainter painter(&frame);
        PaintStonePicture(painter, ProjectStone(stone, orientation, FrameWidth, FrameHeight));
    }
    state.counters["facets"] = halves.Facets();
    state.counters["faces"] = static_cast<double>(stone.Faces.size());
}
BENCHMARK(BM_StoneViewFrame)->Unit(benchmark::kMillisecond);
#endif
