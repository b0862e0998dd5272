// What a planned cut would do, worked out on a scratch copy of the design so that the design itself does
// not change: the new facets' polygons (for a drawing of the plane on the stone), whether the plane
// misses the stone, and the earlier tiers it would remove entirely.
#pragma once

#include "gem/gem.h"
#include "gem/tier_names.h"

#include <memory>
#include <string>
#include <vector>

struct CutOutcome {
    bool Misses = false;                         // no facet of the new group reaches the stone
    std::vector<NamedTier> RemovedTiers;         // tiers on the stone before whose every facet goes
    std::vector<int> RemovedFacetCounts;         // how many facets of each were on the stone
    std::vector<std::vector<Vector3>> NewFacets; // the new group's corner polygons (closed)

    // The warning line: "This plane misses the stone: the cut would remove nothing", or "This cut removes
    // tier P2 (40.00°, 8 facets) entirely" (UTF-8); empty when the cut is useful and harmless.
    std::string Warning() const;
};

// Works out cuts of one design, reusing one scratch copy.
class CutPlanner {
  public:
    CutPlanner();
    ~CutPlanner();
    // The outcome of cutting the group at facet `target` with `plane` (as CutFacetGroup does it,
    // replacing the group being modified in modify mode). A plane the model refuses is a RangeError.
    CutOutcome Plan(const TGem& design, int target, const Plane& plane);

  private:
    std::unique_ptr<TGem> scratch_;
};
