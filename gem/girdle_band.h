// The girdle band of a whole stone: the heights between which its section is girdle all round.
#pragma once

#include "gem/vector3.h"

#include <utility>
#include <vector>

// A face of a stone as the band sees it: its corners, whether it is a girdle face (vertical), and
// whether it looks upwards (a crown facet) or downwards (a pavilion facet).
struct BandFace {
    const std::vector<int>* Corners = nullptr;
    bool Girdle = false;
    bool LooksUp = false;
};

// From the highest corner where the girdle meets a pavilion facet to the lowest where it meets a crown
// facet (the two swap where the girdle is nowhere whole); for a stone without girdle faces, the heights
// of its widest section (the corners furthest from the axis). Returns {bottom, top}.
std::pair<Real, Real> GirdleBand(const std::vector<Vector3>& corners, const std::vector<BandFace>& faces);
