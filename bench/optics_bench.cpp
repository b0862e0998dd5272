// The light-return tracer on a round brilliant of about 100 facets: rays per second on one core, the
// time to ISO and COS within 0.2 points (two standard errors) on every core, and the tilt curves.
#include "optics/figures.h"
#include "optics/picture.h"
#include "optics/tilt.h"
#include "tests/support/optics_stones.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {
using namespace optics;

constexpr double Quartz = 1.544, Diamond = 2.417;

TracedStone BenchStone(double index) {
    test::BrilliantAngles angles; // 57 facets and 48 girdle facets
    if (index > 2) angles.Pavilion = 40.8;
    return test::Brilliant(angles);
}

TraceOptions OptionsFor(double index) {
    TraceOptions options;
    options.RefractiveIndex = index;
    return options;
}

void BM_OpticsRaysOnOneCore(benchmark::State& state) {
    const double index = state.range(0) / 1000.0;
    const TracedStone stone = BenchStone(index);
    const Tracer tracer(stone, OptionsFor(index));
    double x0, y0, side;
    tracer.Outline(x0, y0, side);
    long long rays = 0;
    for (auto _ : state) {
        const SamplePoint p =
            SampleInCell(static_cast<int>(rays % 97), static_cast<int>(rays / 97 % 97), 0, 97, 1);
        benchmark::DoNotOptimize(tracer.Trace(tracer.EyeRay(x0 + p.u * side, y0 + p.v * side)));
        ++rays;
    }
    state.counters["planes"] = static_cast<double>(stone.Planes().size());
    state.counters["rays/s"] = benchmark::Counter(static_cast<double>(rays), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpticsRaysOnOneCore)->Arg(1544)->Arg(2417);

// Both figures to within 0.2 points at two standard errors: a standard error of 0.1 points.
void BM_OpticsIsoCosWithinTwoTenths(benchmark::State& state) {
    const double index = state.range(0) / 1000.0;
    const TracedStone stone = BenchStone(index);
    Figures figures;
    std::uint64_t seed = 1;
    for (auto _ : state)
        figures = ComputeFiguresWithin(stone, OptionsFor(index), 0.001, seed++);
    state.counters["ISO%"] = 100 * figures.Iso.Value;
    state.counters["COS%"] = 100 * figures.Cos.Value;
    state.counters["2SE"] = 200 * std::max(figures.Iso.Error, figures.Cos.Error);
    state.counters["rays"] = static_cast<double>(figures.Rays);
}
BENCHMARK(BM_OpticsIsoCosWithinTwoTenths)->Arg(1544)->Arg(2417)->Unit(benchmark::kMillisecond)->UseRealTime();

// Both axes from -30 to +30 degrees in steps of 1: 122 points, each traced until it is within 0.5 points
// at two standard errors.
void BM_OpticsTiltCurves(benchmark::State& state) {
    const TracedStone stone = BenchStone(Quartz);
    const Sampling sampling{state.range(0), 1};
    double worst = 0;
    for (auto _ : state) {
        worst = 0;
        for (double axis : {AlongIndexZero, AcrossIndexZero})
            for (const TiltPoint& p :
                 TiltCurve(stone, OptionsFor(Quartz), sampling, axis, -30, 30, 1, 0.0025))
                worst = std::max({worst, p.Iso.Error, p.Cos.Error});
    }
    state.counters["worst2SE"] = 200 * worst;
}
BENCHMARK(BM_OpticsTiltCurves)->Arg(1000)->Unit(benchmark::kMillisecond)->UseRealTime();

// What the brightness window traces first for every position of a dragged tilt slider: the coarse
// picture (64 pixels across, one ray each) and the coarse figures (2000 rays), each at another tilt.
void BM_OpticsCoarsePicture(benchmark::State& state) {
    const TracedStone stone = BenchStone(Quartz);
    int tilt = 0;
    for (auto _ : state) {
        const TracedStone tilted = stone.Tilted(0, Radians(tilt++ % 30));
        benchmark::DoNotOptimize(BrightnessPicture(tilted, OptionsFor(Quartz), {64, Sky::Iso, 1}));
        benchmark::DoNotOptimize(ComputeFigures(tilted, OptionsFor(Quartz), {2000, 1}));
    }
    state.counters["pictures/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_OpticsCoarsePicture)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
