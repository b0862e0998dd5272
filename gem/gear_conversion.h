// A design's indices on another index gear: each tier's indices on a gear of N teeth, the nearest
// tooth and the angular error where an index does not fall on that gear. The design is not changed.
#pragma once

#include "gem/tier_names.h"

#include <vector>

inline constexpr int MinGearTeeth = 1;
inline constexpr int MaxGearTeeth = 400;
// An index within this of a whole tooth is on the gear.
inline constexpr Real GearExactTolerance = 0.001L;

struct IndexOnGear {
    Real DesignIndex = 0;  // shown index on the design's gear
    Real Exact = 0;        // the same direction on the other gear, in teeth (fractional)
    int Nearest = 0;       // the nearest tooth, 0 ... N - 1
    Real ErrorDegrees = 0; // angle from the exact direction to the nearest tooth (signed)
    bool OnGear() const;
};

struct TierOnGear {
    NamedTier Tier;
    std::vector<IndexOnGear> Indices;
    bool Exact() const; // every index falls on a tooth
    Real LargestErrorDegrees() const;
};

// Every tier (in cutting order, the table left out) on a gear of `teeth` teeth; a gear of fewer than
// 1 or more than 400 teeth is a RangeError.
std::vector<TierOnGear> IndicesOnGear(const TGem& design, int teeth);
// One index moved to a gear of `teeth` teeth from a gear of `designTeeth`.
IndexOnGear ConvertIndex(Real shownIndex, int designTeeth, int teeth);
