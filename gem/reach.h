// The numbers a design may hold: how far the engine reaches, and what makes a plane usable.
#pragma once

#include "gem/tolerances.h"
#include "gem/vector3.h"

#include <cmath>

// The engine's reach in design units: how far from the origin a plane or a corner may lie, and the
// largest magnitude of any real the model takes from a file, a field or an option. Real designs measure
// a few hundred units at most (the engine handles lines as segments of 400); within this reach every
// product the engine forms stays finite and far above its tolerances in precision.
inline constexpr Real EngineReach = 100000;

inline bool IsUnitVector(const Vector3& v) {
    return std::fabs(std::sqrt(Dot(v, v)) - 1) <= UnitNormalTolerance; // false for NaN too
}

inline bool IsHorizontalNormal(const Vector3& n) {
    return std::fabs(n.x) < HorizontalTolerance && std::fabs(n.y) < HorizontalTolerance;
}

// A plane the engine can use: a unit normal and a distance within the reach.
inline bool IsSoundPlane(const Vector3& normal, Real dist) {
    return IsUnitVector(normal) && std::fabs(dist) <= EngineReach;
}
