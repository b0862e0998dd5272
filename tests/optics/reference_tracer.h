// A second, deliberately simple tracer to check the real one against: one ray at a time, each
// polarisation traced on its own by recursion, Fresnel's coefficients from the angles (Snell's law),
// plain Monte Carlo sampling.
#pragma once

#include "optics/traced_stone.h"

#include <cstdint>

namespace optics::test {

struct ReferenceOptions {
    double Index = 1.544;
    bool Fresnel = true; // false: total reflection or leave
    double CutOff = 1e-4;
    int MaxCrossings = 1000;
};

// Shares of one eye ray's light, and the radiance of the two skies it brings back.
struct ReferenceOutcome {
    bool Hit = false;
    double Iso = 0, Cos = 0, Returned = 0, Windowed = 0, Lost = 0, Outer = 0;
};

// The eye ray straight down through (x, y).
ReferenceOutcome ReferenceTrace(const TracedStone& stone, double x, double y,
                                const ReferenceOptions& options);

struct ReferenceFigure {
    double Iso = 0, IsoError = 0, Cos = 0, CosError = 0;
};
// Mean over `rays` uniformly random eye rays that meet the stone, with standard errors sd / sqrt(N).
ReferenceFigure ReferenceFigures(const TracedStone& stone, const ReferenceOptions& options, int rays,
                                 std::uint64_t seed);

} // namespace optics::test
