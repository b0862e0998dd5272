#include "optics/figures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace optics {
namespace {
// SplitMix64: a hash good enough to make every cell's random numbers independent of the others and
// of the order the threads take them in.
std::uint64_t Mix(std::uint64_t z) {
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}
double UnitFrom(std::uint64_t bits) {
    return static_cast<double>(bits >> 11) * 0x1.0p-53;
}

enum Figure { Iso, Cos, Returned, Windowed, Lost, Outer, Shadowed, FigureCount };

std::array<double, FigureCount> Values(const RayOutcome& o) {
    return {o.Iso, o.Cos, o.Returned, o.Windowed, o.Lost, o.Outer, o.Shadowed};
}

struct Tally {
    std::array<RatioEstimator, FigureCount> figures;
    long long rays = 0;
    double energyError = 0;

    void Merge(const Tally& other) {
        for (int f = 0; f < FigureCount; ++f)
            figures[f].Merge(other.figures[f]);
        rays += other.rays;
        energyError = std::max(energyError, other.energyError);
    }
};
} // namespace

int CellsPerSide(long long rays) {
    return std::max(1, static_cast<int>(std::ceil(std::sqrt(std::max(1LL, rays) / 2.0))));
}

SamplePoint SampleInCell(int cellX, int cellY, int which, int cellsPerSide, std::uint64_t seed) {
    const std::uint64_t key =
        Mix(seed ^ Mix((static_cast<std::uint64_t>(cellY) * cellsPerSide + cellX) * 2 + which));
    const double cell = 1.0 / cellsPerSide;
    return {(cellX + UnitFrom(key)) * cell, (cellY + UnitFrom(Mix(key))) * cell};
}

void RatioEstimator::AddPair(double y1, double h1, double y2, double h2) {
    sumY_ += y1 + y2;
    sumH_ += h1 + h2;
    const double dy = y1 - y2, dh = h1 - h2;
    dyy_ += dy * dy, dyh_ += dy * dh, dhh_ += dh * dh;
    ++pairs_;
}

void RatioEstimator::Merge(const RatioEstimator& other) {
    sumY_ += other.sumY_, sumH_ += other.sumH_;
    dyy_ += other.dyy_, dyh_ += other.dyh_, dhh_ += other.dhh_;
    pairs_ += other.pairs_;
}

Estimate RatioEstimator::Result() const {
    if (sumH_ == 0) return {};
    const double value = sumY_ / sumH_;
    // z = y - value h has mean 0; each pair gives its cell's variance of z as (z1 - z2)^2 / 2, and the
    // mean of z over n cells of two samples has the variance sum (z1 - z2)^2 / 4 / n^2.
    const double dzz = std::max(0.0, dyy_ - 2 * value * dyh_ + value * value * dhh_);
    const double n = static_cast<double>(pairs_);
    const double meanH = sumH_ / (2 * n);
    return {value, std::sqrt(dzz / 4) / n / meanH};
}

namespace {
Tally TraceTally(const Tracer& tracer, const Sampling& sampling) {
    return SampleOutline<Tally>(tracer, sampling, [&](Tally& tally, const Ray& a, const Ray& b) {
        const RayOutcome pair[2] = {tracer.Trace(a), tracer.Trace(b)};
        for (const RayOutcome& o : pair) {
            if (!o.Hit) continue;
            ++tally.rays;
            tally.energyError =
                std::max(tally.energyError, std::fabs(o.Returned + o.Windowed + o.Lost + o.Outer - 1));
        }
        const auto va = Values(pair[0]), vb = Values(pair[1]);
        for (int f = 0; f < FigureCount; ++f)
            tally.figures[f].AddPair(va[f], pair[0].Hit, vb[f], pair[1].Hit);
    });
}

long long SamplesOf(const Sampling& sampling) {
    const long long cells = CellsPerSide(sampling.Rays);
    return 2 * cells * cells;
}

Figures FiguresOf(const Tally& total, long long samples) {
    Figures figures;
    Estimate* out[FigureCount] = {&figures.Iso,  &figures.Cos,   &figures.Returned, &figures.Windowed,
                                  &figures.Lost, &figures.Outer, &figures.Shadowed};
    for (int f = 0; f < FigureCount; ++f)
        *out[f] = total.figures[f].Result();
    figures.Rays = total.rays;
    figures.Samples = samples;
    figures.EnergyError = total.energyError;
    return figures;
}

// Stratified sampling brings the error down as N^-(2/3) to N^-(3/4) on stones: N grows as the error
// ratio to this power (1/sqrt(N) would be 2).
constexpr double ErrorPower = 1.5;

// The rays a further sampling needs so that, pooled with `had` rays of error `worst`, the error is
// `aim`. Pooled with equal weight, the mean of N1 + N2 rays has the variance
// (N1² e1² + N2² e2²) / (N1 + N2)², e2 the error of N2 fresh rays, e1 (N1 / N2)^(1 / ErrorPower).
long long FurtherRays(long long had, double worst, double aim) {
    const double n1 = static_cast<double>(had);
    auto pooled = [&](double n2) {
        const double e2 = worst * std::pow(n1 / n2, 1 / ErrorPower);
        return std::sqrt(n1 * n1 * worst * worst + n2 * n2 * e2 * e2) / (n1 + n2);
    };
    double low = 0, high = n1;
    while (pooled(high) > aim)
        high *= 2;
    for (int step = 0; step < 30 && high - low > 1; ++step) {
        const double middle = 0.5 * (low + high);
        (middle > 0 && pooled(middle) <= aim ? high : low) = middle;
    }
    return static_cast<long long>(std::ceil(high));
}
} // namespace

Figures ComputeFigures(const TracedStone& stone, const TraceOptions& options, const Sampling& sampling) {
    const Tracer tracer(stone, options);
    return FiguresOf(TraceTally(tracer, sampling), SamplesOf(sampling));
}

Figures ComputeFiguresWithin(const TracedStone& stone, const TraceOptions& options, double error,
                             std::uint64_t seed, long long firstRays, const std::atomic<bool>* cancel) {
    // A little more than the estimate asks for: the error estimate scatters too.
    constexpr double Margin = 1.1;
    constexpr int MostRounds = 6;
    if (!(error > 0)) throw std::invalid_argument("the standard error aimed at must exceed 0");
    const Tracer tracer(stone, options);
    // Every round's rays are kept: the next round adds to them what the error still asks for.
    Sampling sampling{firstRays, seed, cancel};
    Tally total = TraceTally(tracer, sampling);
    long long samples = SamplesOf(sampling);
    Figures figures = FiguresOf(total, samples);
    for (int round = 1; round < MostRounds && !Cancelled(cancel); ++round) {
        const double worst = std::max(figures.Iso.Error, figures.Cos.Error);
        if (worst <= error) break;
        sampling.Rays = static_cast<long long>(Margin * FurtherRays(samples, worst, error));
        sampling.Seed = seed + round;
        total.Merge(TraceTally(tracer, sampling));
        samples += SamplesOf(sampling);
        figures = FiguresOf(total, samples);
    }
    return figures;
}

} // namespace optics
