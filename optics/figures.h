// The brightness figures of a stone: each the mean over the face-up outline of what its eye rays bring
// back, with its standard error, from stratified sampling.
#pragma once

#include "gem/parallel.h"
#include "optics/tracer.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <vector>

namespace optics {

// A figure as a share (0 ... 1) and its standard error.
struct Estimate {
    double Value = 0, Error = 0;
};

struct Figures {
    Estimate Iso, Cos;                                  // brightness under the two skies
    Estimate Returned, Windowed, Lost, Outer, Shadowed; // where the light went
    long long Rays = 0;                                 // eye rays that met the stone
    long long Samples = 0;                              // eye rays traced over the square, hit or miss
    double EnergyError = 0; // the largest |returned + windowed + lost + outer - 1| of a ray
};

// How many eye rays and which random numbers. The picture square of the outline is cut into cells,
// each sampled twice at random: the two samples of a cell give its variance, so that the standard
// error reflects the stratification.
struct Sampling {
    long long Rays = 20000; // eye rays over the square that holds the outline
    std::uint64_t Seed = 1;
    // When set and true, the tracing stops early: the figures are then incomplete and must be dropped.
    const std::atomic<bool>* Cancel = nullptr;
};

inline bool Cancelled(const std::atomic<bool>* cancel) {
    return cancel && cancel->load(std::memory_order_relaxed);
}

// The figures of the stone under the options. Uses every core.
Figures ComputeFigures(const TracedStone& stone, const TraceOptions& options, const Sampling& sampling);

// The figures with the ISO and COS standard errors at most `error`: a first sampling of `firstRays` tells
// how many rays that takes, and more are traced until it is so.
Figures ComputeFiguresWithin(const TracedStone& stone, const TraceOptions& options, double error,
                             std::uint64_t seed = 1, long long firstRays = 4000,
                             const std::atomic<bool>* cancel = nullptr);

// The sample points of a sampling over the unit square: cell by cell, two per cell, in the order the
// figures use them. For the tests' own tracer and for pictures.
struct SamplePoint {
    double u, v;
};
int CellsPerSide(long long rays);
SamplePoint SampleInCell(int cellX, int cellY, int which, int cellsPerSide, std::uint64_t seed);

// Combines the values of sample pairs into a figure: value = sum y / sum h over all samples, h = 1
// when the ray met the stone; the error from the differences within each pair.
class RatioEstimator {
  public:
    void AddPair(double y1, double h1, double y2, double h2);
    void Merge(const RatioEstimator& other);
    Estimate Result() const;

  private:
    double sumY_ = 0, sumH_ = 0, dyy_ = 0, dyh_ = 0, dhh_ = 0;
    long long pairs_ = 0;
};

// Runs measure(tally, ray1, ray2) on the pair of eye rays of every cell of the sampling, on every core,
// each thread into a tally of its own, and answers the tallies merged (Tally::Merge).
template <typename Tally, typename Measure>
Tally SampleOutline(const Tracer& tracer, const Sampling& sampling, Measure measure) {
    constexpr int rowsPerBatch = 2;
    double x0, y0, side;
    tracer.Outline(x0, y0, side);
    const int cells = CellsPerSide(sampling.Rays);
    const int batches = (cells + rowsPerBatch - 1) / rowsPerBatch;
    engine::WorkQueue queue(batches, 1);
    // A tally for each batch, merged in order: the sums, to the last bit, do not depend on which thread
    // took which batch.
    std::vector<Tally> tallies(batches);
    // The threads are counted by cells, not batches: even a few thousand rays are worth sharing out.
    engine::RunOnThreads(engine::WorkerThreads(cells * cells), [&](int) {
        queue.Drain([&](int batch) {
            Tally& tally = tallies[batch];
            for (int row = batch * rowsPerBatch; row < std::min(cells, (batch + 1) * rowsPerBatch); ++row)
                for (int column = 0; column < cells; ++column) {
                    const SamplePoint a = SampleInCell(column, row, 0, cells, sampling.Seed);
                    const SamplePoint b = SampleInCell(column, row, 1, cells, sampling.Seed);
                    measure(tally, tracer.EyeRay(x0 + a.u * side, y0 + a.v * side),
                            tracer.EyeRay(x0 + b.u * side, y0 + b.v * side));
                }
            return !Cancelled(sampling.Cancel);
        });
    });
    Tally total;
    for (const Tally& tally : tallies)
        total.Merge(tally);
    return total;
}

} // namespace optics
