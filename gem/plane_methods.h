// The five ways a facet plane is given, in the order the Add facets dialog offers them: what each reads,
// and the plane it gives.
#pragma once

#include "gem/gem.h"

#include <optional>

enum class PlaneMethod {
    AngleIndexPoint, // a cut angle and an index through one point
    IndexTwoPoints,  // an index through two points
    ThreePoints,     // through three points
    DepthAngleIndex, // a cut angle and an index at a depth
    GirdleTwoPoints, // a girdle facet (90 degrees) through two points
};
inline constexpr int PlaneMethodCount = 5;

// The method at a position of the dialog's list (0 ... PlaneMethodCount - 1); RangeError outside.
PlaneMethod PlaneMethodAt(int position);

// What a method reads: how many points, and whether the cut angle, the index and the depth.
struct PlaneMethodInputs {
    int Points;
    bool Angle, Index, Depth;
};
PlaneMethodInputs InputsOf(PlaneMethod method);

// The values a method reads; the index is a raw index of the design's gear.
struct PlaneInputs {
    Real Angle = 0, Index = 0, Depth = 0;
    Vector3 Points[3];
};

// The plane the method gives from the inputs; nothing when they give no usable plane (points on one
// line, a plane through the origin or on the wrong side of it).
std::optional<Plane> PlaneOf(const TGem& design, PlaneMethod method, const PlaneInputs& inputs);
