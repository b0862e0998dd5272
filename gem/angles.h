// Angle constants and the angle tests shared by the whole model, in degrees.
#pragma once

#include "gem/tolerances.h"
#include "gem/vector3.h"

#include <numbers>

inline constexpr Real TwoPi = 2 * std::numbers::pi_v<Real>;
inline constexpr Real DegPerRad = 180 / std::numbers::pi_v<Real>;
inline constexpr Real RadPerDeg = std::numbers::pi_v<Real> / 180;

// "None" for facet, edge, facet-group and tier numbers.
inline constexpr int NoneFound = -40000;

inline bool NearZero(Real degrees) {
    return std::fabs(degrees) < AngleTolerance;
}
inline bool Near90(Real degrees) {
    return std::fabs(std::fabs(degrees) - 90) < AngleTolerance;
}
inline bool Near180(Real degrees) {
    return std::fabs(std::fabs(degrees) - 180) < AngleTolerance;
}

// Arc cosine in degrees; exactly 0 for x >= 0.999999999 and 180 for x <= -0.999999999.
Real ArcCosDeg(Real x);
