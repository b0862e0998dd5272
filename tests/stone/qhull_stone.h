// qhull's half-space intersection of a set of planes: the independent computation the whole stone is
// checked against.
#pragma once

#include "gem/vector3.h"

#include <vector>

struct QhullStone {
    bool Made = false;
    std::vector<Vector3> Corners; // one per facet of qhull's dual hull
    int FaceCount = 0;            // planes that are vertices of the dual hull: the faces with area
    Real Volume = 0;              // of the convex hull of the corners
};

// The intersection of Dot(Normal, p) >= Dist over all planes, with `inside` strictly inside all of them.
QhullStone QhullIntersection(const std::vector<Plane>& planes, const Vector3& inside);
