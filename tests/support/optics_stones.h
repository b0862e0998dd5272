// Stones built from their planes for the tracer's tests and benchmarks.
#pragma once

#include "optics/traced_stone.h"

namespace optics::test {

// A square slab of side 2 and the given thickness: top face crown, bottom face pavilion.
TracedStone Slab(double thickness);

// A cube corner (three square faces meeting at right angles, its diagonal along the axis) under a
// table, walled by the six vertical planes of its hexagonal outline.
TracedStone CornerCube();

// A block whose table is crossed at normal incidence by an eye ray at the origin that then meets a
// pavilion face inclined at `angle` degrees to the girdle plane, below the origin.
TracedStone Prism(double angleDegrees);

// A round brilliant from its angles, girdle radius 1 (width 2).
struct BrilliantAngles {
    double Pavilion = 41;        // pavilion mains
    double PavilionHalves = 1.6; // lower girdle facets: this much steeper than the mains
    double Crown = 34;           // crown mains
    double CrownHalves = 5;      // upper girdle facets: this much steeper than the crown mains
    double Star = 12;            // stars: this much flatter than the crown mains
    double Table = 0.56;         // table half-width over the girdle radius, at a crown main
    double Girdle = 0.03;        // girdle thickness over the girdle radius
    int GirdleFacets = 48;       // vertical facets round the girdle (a multiple of 8)
};
TracedStone Brilliant(const BrilliantAngles& angles = {});

} // namespace optics::test
