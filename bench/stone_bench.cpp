// The whole stone of a design of about 150 facets (both halves) from its planes, next to the recompute
// of one half by the cutting engine. The crown is the pavilion's mirror image in the girdle plane.
#include "mesh/mesh_files.h"
#include "stone/stone.h"
#include "tests/support/design_builders.h"

#include <benchmark/benchmark.h>

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
    crown->GroupTiers();
    return crown;
}
} // namespace

static void BM_WholeStone(benchmark::State& state) {
    auto pavilion = DesignWithFacets(FacetsPerHalf);
    pavilion->Recompute();
    pavilion->GroupTiers();
    auto crown = MirroredCrown(*pavilion);
    Stone stone;
    FileError error;
    for (auto _ : state) {
        if (!MakeStone(*crown, *pavilion, stone, error)) state.SkipWithError(error.Message.c_str());
        benchmark::DoNotOptimize(stone.Volume);
    }
    state.counters["facets"] = crown->FacetCount + pavilion->FacetCount;
    state.counters["faces"] = static_cast<double>(stone.Faces.size());
    state.counters["corners"] = static_cast<double>(stone.Corners.size());
}
BENCHMARK(BM_WholeStone)->Unit(benchmark::kMillisecond);

// The whole stone of about 300 facets as a 10 mm binary STL file: the mesh, then the file.
static void BM_StlExport(benchmark::State& state) {
    auto pavilion = DesignWithFacets(2 * FacetsPerHalf);
    pavilion->Recompute();
    pavilion->GroupTiers();
    auto crown = MirroredCrown(*pavilion);
    Stone stone;
    FileError error;
    if (!MakeStone(*crown, *pavilion, stone, error)) state.SkipWithError(error.Message.c_str());
    const std::string path = std::filesystem::temp_directory_path() / "lapidraw-bench-stone.stl";
    MeshOptions options;
    options.Size.WidthMm = 10;
    StoneMesh mesh;
    for (auto _ : state) {
        mesh = MakeStoneMesh(stone, options);
        if (!WriteStl(mesh, path, error)) state.SkipWithError(error.Message.c_str());
    }
    std::filesystem::remove(path);
    state.counters["facets"] = crown->FacetCount + pavilion->FacetCount;
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
