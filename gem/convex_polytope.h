// The convex polytope that a set of half-spaces encloses, computed exactly: every corner is where its
// planes meet, and corners are one only when they coincide within the planes' own rounding (a
// millionth of a millionth of the polytope's size), never merged because they are merely near.
#pragma once

#include "gem/vector3.h"

#include <vector>

// One face: the plane it lies in (its position in the list given) and its corners, counterclockwise
// seen from outside (the first corner is not repeated).
struct PolytopeFace {
    int Plane = 0;
    std::vector<int> Corners;
};

struct ConvexPolytope {
    enum class Outcome {
        Closed,    // a bounded polytope with volume
        Empty,     // the half-spaces leave no volume
        Open,      // the half-spaces leave an unbounded region
        Unresolved // the planes are too nearly tangent to decide how they meet (no design does this)
    };
    Outcome Result = Outcome::Empty;
    std::vector<Vector3> Corners;
    std::vector<PolytopeFace> Faces; // only planes that bound the polytope with an area

    bool IsClosed() const { return Result == Outcome::Closed; }
};

// The intersection of the half-spaces Dot(Normal, p) >= Dist of all planes (unit normals pointing in).
// Planes that bound it nowhere, or only along an edge or at a corner, make no face; a plane given twice
// makes one face, named by its first appearance.
ConvexPolytope IntersectHalfSpaces(const std::vector<Plane>& planes);

// Volume, area of a face and the bounding box of a closed polytope.
Real PolytopeVolume(const ConvexPolytope& polytope);
Real FaceArea(const ConvexPolytope& polytope, const PolytopeFace& face);
void PolytopeBox(const ConvexPolytope& polytope, Vector3& low, Vector3& high);
