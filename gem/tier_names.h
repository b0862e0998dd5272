// The tiers of a design in cutting order, named as cutters name them: crown tiers c1, c2, ...,
// pavilion tiers p1, p2, ..., girdle tiers g (g2, ... when there are more), the table t (a pavilion's
// flat bottom cu).
#pragma once

#include "gem/vector3.h"

#include <string>
#include <vector>

class TGem;

struct NamedTier {
    std::string Name;
    int Tier = 0;              // the design's tier number (after GroupTiers)
    Real Angle = 0;            // cut angle, degrees
    std::vector<int> Facets;   // its facets in cutting order; facet -1 for the table
    std::vector<Real> Indices; // distinct shown indices, ascending
    bool Girdle = false;
    bool Table = false;
};

// The tiers of a computed design whose facets are present on the stone, ordered by their first cut;
// the table (or flat bottom) comes last. The design's tiers must be grouped (every recompute does).
std::vector<NamedTier> TiersInCuttingOrder(const TGem& design);
// Indices as cutters write them: whole ones in two digits joined by "-" ("03-09-15"), others with two
// decimals.
std::string IndicesText(const std::vector<Real>& indices);
