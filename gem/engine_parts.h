// Pieces of the cutting engine that its literal way and its fast way share, so that both compute
// every edge end with the very same operations.
#pragma once

#include "gem/gem.h"
#include "gem/tolerances.h"

#include <cmath>

namespace engine {

// The common line of two planes is handled as a segment of this extent.
inline constexpr Real LineExtent = 400;

// The segment of one pair of planes while the clipping moves its ends.
struct Segment {
    const Facet* a = nullptr; // the pair's planes
    const Facet* b = nullptr;
    Vector3 end1, end2;
    Real carried = 0; // how far its ends have been carried off it so far
};

// The stretch of the line where planes a and b meet, before any clipping: its fixed coordinate runs
// over the line extent (z from the girdle plane up on a crown, down on a pavilion). False when the
// planes are parallel.
bool PairSegment(const Facet& a, const Facet& b, bool crown, Segment& segment);

// The move of the end at `moving` onto `meet`, when the meeting point lies off the segment by
// `t` (or is no number): kept within the limits on carrying, else the end takes the staying end's place.
void CarryOff(Segment& segment, Vector3& moving, const Vector3& staying, const Vector3& meet, Real t);

// Moves the one end that lies outside the plane to where the line meets it. `reach1(x, y, z)` gives
// the normal of the plane dotted with end 1, whose coordinates it is passed. The plane is a Facet or a
// Plane (its Normal and Dist). When the meeting point lies between the ends, `moved` is also given its
// coordinates, as computed, and the answer is true; otherwise the end is carried off or kept
// (CarryOff) and the answer is false.
struct NoCopy {
    void operator()(const Real&, const Real&, const Real&) const {}
};
template <typename PlaneOf, typename Reach, typename Moved = NoCopy>
inline bool MoveOutsideEnd(const PlaneOf& plane, Segment& segment, bool out1, Reach reach1,
                           Moved moved = {}) {
    // Written out by coordinate, in the same operations as (end1 + t * along) with
    // t = (Dist - reach1) / (Normal . along) and along = end2 - end1.
    Vector3& end1 = segment.end1;
    const Vector3& n = plane.Normal;
    const Real x1 = end1.x, y1 = end1.y, z1 = end1.z;
    const Real ax = segment.end2.x - x1, ay = segment.end2.y - y1, az = segment.end2.z - z1;
    const Real t = (plane.Dist - reach1(x1, y1, z1)) / (n.x * ax + n.y * ay + n.z * az);
    if (t >= 0 && t <= 1) {
        const Real x = x1 + t * ax, y = y1 + t * ay, z = z1 + t * az;
        Vector3& moving = out1 ? end1 : segment.end2;
        moving.x = x;
        moving.y = y;
        moving.z = z;
        moved(x, y, z);
        return true;
    }
    CarryOff(segment, out1 ? end1 : segment.end2, out1 ? segment.end2 : end1,
             Vector3{x1 + t * ax, y1 + t * ay, z1 + t * az}, t);
    return false;
}

// Clips the segment against one plane: an end more than the tolerance outside moves to where the
// line meets the plane. False, leaving the ends alone, when both ends are outside.
template <typename PlaneOf> inline bool ClipByPlane(const PlaneOf& plane, Segment& segment) {
    const Real limit = plane.Dist - OutsideTolerance;
    const Real reach1 = Dot(plane.Normal, segment.end1);
    const bool out1 = reach1 < limit;
    const bool out2 = Dot(plane.Normal, segment.end2) < limit;
    if (out1 && out2) return false;
    if (out1 != out2)
        MoveOutsideEnd(plane, segment, out1,
                       [&reach1](const Real&, const Real&, const Real&) { return reach1; });
    return true;
}

// The literal clipping: against every facet but the pair's own, in increasing number.
bool ClipLiterally(const TGem& gem, int j, int k, Segment& segment);

// The edges collected for one facet polygon: in increasing edge number, each pair of ends once.
using FacetEdgeList = BoundedArray<int, 1, MaxFacetEdges>;
// Collects edge e for a facet unless an edge with the same two ends was collected before.
void CollectFacetEdge(const TGem& gem, int e, FacetEdgeList& collected, int& count);
// Chains the collected edges into the facet's closed corner list; false (and no corners) when the
// chain does not close.
bool ChainFacetPolygon(const TGem& gem, Facet& facet, const FacetEdgeList& collected, int count);

} // namespace engine
