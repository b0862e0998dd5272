// Comparison of the two ways of the cutting engine on one design.
#pragma once

#include "gem/gem.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Every field in which two recomputes of one design differ: counts, edges, corners (to the last
// bit), polygons, box, table extent, tiers and merge distance. Empty when they found the same stone.
std::vector<std::string> EngineDifferences(const TGem& fast, const TGem& reference);

// Makes the design twice and recomputes one copy the fast way (Recompute) and the other the literal
// way (RecomputeReference).
struct EnginePair {
    std::unique_ptr<TGem> fast, reference;
};
EnginePair RecomputeBothWays(const std::function<std::unique_ptr<TGem>()>& make);
