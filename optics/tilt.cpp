#include "optics/tilt.h"

#include <algorithm>
#include <cmath>

namespace optics {

Figures TiltedFigures(const TracedStone& stone, const TraceOptions& options, const Sampling& sampling,
                      double axisAzimuth, double angle) {
    if (angle == 0) return ComputeFigures(stone, options, sampling);
    return ComputeFigures(stone.Tilted(Radians(axisAzimuth), Radians(angle)), options, sampling);
}

TiltRange ComputeTiltRange(const TracedStone& stone, const TraceOptions& options, const Sampling& sampling,
                           double axisAzimuth, double tilt) {
    TiltRange range;
    range.Axis = axisAzimuth;
    range.Tilt = tilt;
    range.AtZero = ComputeFigures(stone, options, sampling);
    range.AtHalf = TiltedFigures(stone, options, sampling, axisAzimuth, tilt / 2);
    range.AtFull = TiltedFigures(stone, options, sampling, axisAzimuth, tilt);
    auto mean = [](const Estimate& a, const Estimate& b, const Estimate& c) {
        return Estimate{(a.Value + b.Value + c.Value) / 3,
                        std::sqrt(a.Error * a.Error + b.Error * b.Error + c.Error * c.Error) / 3};
    };
    range.MeanIso = mean(range.AtZero.Iso, range.AtHalf.Iso, range.AtFull.Iso);
    range.MeanCos = mean(range.AtZero.Cos, range.AtHalf.Cos, range.AtFull.Cos);
    return range;
}

std::vector<TiltPoint> TiltCurve(const TracedStone& stone, const TraceOptions& options,
                                 const Sampling& sampling, double axisAzimuth, double from, double to,
                                 double step, double error) {
    std::vector<TiltPoint> curve;
    const int count = static_cast<int>(std::floor((to - from) / step + 1e-9)) + 1;
    // Neighbouring tilts need about as many rays: each point starts from the rays its neighbour's error
    // says would just have done (the error falling as rays to the -1/ErrorPower), a little more for
    // the scatter of that estimate. This saves the first, too small sampling of every point but the first.
    constexpr double ErrorPower = 1.5, Margin = 1.1;
    long long rays = sampling.Rays;
    for (int i = 0; i < count && !Cancelled(sampling.Cancel); ++i) {
        const double angle = from + i * step;
        if (error <= 0) {
            const Figures f = TiltedFigures(stone, options, sampling, axisAzimuth, angle);
            curve.push_back({angle, f.Iso, f.Cos});
            continue;
        }
        const Figures f = ComputeFiguresWithin(stone.Tilted(Radians(axisAzimuth), Radians(angle)), options,
                                               error, sampling.Seed + i, rays, sampling.Cancel);
        const double worst = std::max(f.Iso.Error, f.Cos.Error);
        rays = std::max(sampling.Rays,
                        static_cast<long long>(Margin * f.Samples * std::pow(worst / error, ErrorPower)));
        curve.push_back({angle, f.Iso, f.Cos});
    }
    return curve;
}

TiltMap ComputeTiltMap(const TracedStone& stone, const TraceOptions& options, const Sampling& sampling,
                       double limit, int steps) {
    TiltMap map;
    for (int i = 0; i < steps; ++i)
        map.Angles.push_back(steps == 1 ? 0 : -limit + 2 * limit * i / (steps - 1));
    for (double ty : map.Angles)
        for (double tx : map.Angles) {
            // Tilting towards (tx, ty) turns the stone about the horizontal axis at right angles to it.
            const double angle = std::hypot(tx, ty);
            const double axis = Degrees(std::atan2(ty, tx)) + 90;
            const Figures f = TiltedFigures(stone, options, sampling, axis, angle);
            map.Iso.push_back(f.Iso);
            map.Cos.push_back(f.Cos);
        }
    return map;
}

} // namespace optics
