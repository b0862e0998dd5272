// Recompute against qhull's half-space intersection ('H', no output) on the same planes, on
// sphere-like designs whose every facet reaches the surface: 96, 288, 960 and 1440 facets. The
// literal way is timed once per size for comparison.
#include "gem/gem.h"
#include "tests/support/design_builders.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <ctime>
#include <string>
#include <vector>

#ifdef LAPIDRAW_HAVE_QHULL
extern "C" {
#include <libqhull_r/qhull_ra.h>
}
#endif

namespace {
// Tiers of the sphere designs: 96 facets each.
constexpr int SphereSizes[] = {1, 3, 10, 15};

// Processor time of the whole process, all threads together.
double CpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double WallSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void Register(benchmark::internal::Benchmark* b) {
    for (int tiers : SphereSizes)
        b->Arg(tiers);
    b->Unit(benchmark::kMillisecond);
}
} // namespace

static void BM_SphereRecompute(benchmark::State& state) {
    auto gem = SphereDesign(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        gem->Recompute();
        benchmark::DoNotOptimize(gem->EdgeCount);
    }
    state.counters["facets"] = gem->FacetCount;
    state.counters["edges"] = gem->EdgeCount;
    state.counters["fast"] = gem->RecomputedFast();
}
BENCHMARK(BM_SphereRecompute)->Apply(Register);

// The literal way: cubic, so a single run per size (skip with --benchmark_filter=-Reference).
static void BM_SphereRecomputeReference(benchmark::State& state) {
    auto gem = SphereDesign(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        gem->RecomputeReference();
        benchmark::DoNotOptimize(gem->EdgeCount);
    }
    state.counters["facets"] = gem->FacetCount;
}
BENCHMARK(BM_SphereRecomputeReference)->Apply(Register)->Iterations(1);

#ifdef LAPIDRAW_HAVE_QHULL
namespace {
// The design's half-spaces as qhull takes them: normal . p + offset <= 0, with the outward normal.
std::vector<coordT> HalfSpaces(const TGem& gem) {
    std::vector<coordT> spaces;
    for (int f = -1; f <= gem.FacetCount; ++f) {
        const Facet& facet = gem.Facets[f];
        for (Real v : {-facet.Normal.x, -facet.Normal.y, -facet.Normal.z, facet.Dist})
            spaces.push_back(static_cast<coordT>(v));
    }
    return spaces;
}

// One half-space intersection; false when qhull fails. The point halfway down the pavilion's axis is
// inside every sphere design.
bool IntersectHalfSpaces(std::vector<coordT>& spaces, const TGem& gem) {
    std::string command = "qhull H0,0," + std::to_string(static_cast<double>(gem.Dist(-1)) / 2);
    qhT state;
    qhT* qh = &state;
    qh_zero(qh, stderr);
    const int failure = qh_new_qhull(qh, 4, static_cast<int>(spaces.size() / 4), spaces.data(), False,
                                     command.data(), nullptr, stderr);
    qh_freeqhull(qh, !qh_ALL);
    int curlong = 0, totlong = 0;
    qh_memfreeshort(qh, &curlong, &totlong);
    return failure == 0;
}
} // namespace

static void BM_SphereQhull(benchmark::State& state) {
    auto gem = SphereDesign(static_cast<int>(state.range(0)));
    auto spaces = HalfSpaces(*gem);
    for (auto _ : state)
        if (!IntersectHalfSpaces(spaces, *gem)) state.SkipWithError("qhull failed");
    state.counters["facets"] = gem->FacetCount;
}
BENCHMARK(BM_SphereQhull)->Apply(Register);

// Both on the same planes, side by side: `ratio` is Recompute's time over qhull's, as the user waits
// for it (Recompute shares its work among the processor's cores, qhull runs on one); `cpu_ratio` is
// the same in processor time summed over all threads.
static void BM_SphereRecomputeAgainstQhull(benchmark::State& state) {
    auto gem = SphereDesign(static_cast<int>(state.range(0)));
    auto spaces = HalfSpaces(*gem);
    double recompute = 0, hull = 0, recomputeCpu = 0, hullCpu = 0;
    for (auto _ : state) {
        const double start = WallSeconds(), startCpu = CpuSeconds();
        gem->Recompute();
        const double middle = WallSeconds(), middleCpu = CpuSeconds();
        if (!IntersectHalfSpaces(spaces, *gem)) state.SkipWithError("qhull failed");
        recompute += middle - start, recomputeCpu += middleCpu - startCpu;
        hull += WallSeconds() - middle, hullCpu += CpuSeconds() - middleCpu;
    }
    const double runs = static_cast<double>(state.iterations());
    state.counters["facets"] = gem->FacetCount;
    state.counters["recompute_ms"] = 1e3 * recompute / runs;
    state.counters["qhull_ms"] = 1e3 * hull / runs;
    state.counters["ratio"] = hull > 0 ? recompute / hull : 0;
    state.counters["cpu_ratio"] = hullCpu > 0 ? recomputeCpu / hullCpu : 0;
}
BENCHMARK(BM_SphereRecomputeAgainstQhull)->Apply(Register)->MinTime(1.0);
#endif
