// The engine's own tests and benchmarks reach three of its steps directly: placing a facet group
// without recomputing, the corner table's merge rule and the tier grouping, which the model otherwise
// runs only inside a cut or a recompute.
#pragma once

#include "gem/gem.h"

struct EngineProbe {
    static void PlaceFacetGroup(TGem& gem, int first, const Plane& plane) {
        gem.PlaceFacetGroup(first, plane);
    }
    static int FindOrAddPoint(TGem& gem, const Vector3& p) { return gem.FindOrAddPoint(p); }
    static void GroupTiers(TGem& gem) { gem.GroupTiers(); }
};
