#include "gem/gear_conversion.h"

#include "gem/gem.h"
#include "gem/range_error.h"

#include <algorithm>
#include <cmath>
#include <string>

bool IndexOnGear::OnGear() const {
    return std::fabs(Exact - std::nearbyint(Exact)) < GearExactTolerance;
}

bool TierOnGear::Exact() const {
    return std::all_of(Indices.begin(), Indices.end(), [](const IndexOnGear& i) { return i.OnGear(); });
}

Real TierOnGear::LargestErrorDegrees() const {
    Real largest = 0;
    for (const IndexOnGear& i : Indices)
        if (!i.OnGear()) largest = std::max(largest, std::fabs(i.ErrorDegrees));
    return largest;
}

IndexOnGear ConvertIndex(Real shownIndex, int designTeeth, int teeth) {
    IndexOnGear converted;
    converted.DesignIndex = shownIndex;
    converted.Exact = shownIndex * teeth / designTeeth;
    const Real nearest = std::nearbyint(converted.Exact);
    converted.ErrorDegrees = (nearest - converted.Exact) * 360 / teeth;
    const long wrapped = std::lround(nearest) % teeth;
    converted.Nearest = static_cast<int>(wrapped < 0 ? wrapped + teeth : wrapped);
    return converted;
}

std::vector<TierOnGear> IndicesOnGear(const TGem& design, int teeth) {
    if (teeth < MinGearTeeth || teeth > MaxGearTeeth)
        throw RangeError("An index gear has " + std::to_string(MinGearTeeth) + " to " +
                         std::to_string(MaxGearTeeth) + " teeth, not " + std::to_string(teeth));
    std::vector<TierOnGear> tiers;
    for (const NamedTier& tier : TiersInCuttingOrder(design)) {
        if (tier.Table) continue;
        TierOnGear onGear{tier, {}};
        for (const Real index : tier.Indices)
            onGear.Indices.push_back(ConvertIndex(index, design.IndexCount(), teeth));
        tiers.push_back(onGear);
    }
    return tiers;
}
