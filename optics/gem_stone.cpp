#include "optics/gem_stone.h"

#include <cmath>
#include <vector>

namespace optics {
namespace {
// A facet this close to vertical is a girdle facet.
constexpr double GirdleNormalZ = 1e-6;
// Facet -1 is the bounding plane (the table of a crown, the bottom of a pavilion), facet 0 the girdle
// plane, facets 1 ... FacetCount the cut facets.
constexpr int BoundingPlane = -1, GirdlePlane = 0;

// The model's plane keeps Dot(Normal, p) >= Dist with Normal pointing in; the tracer's keeps
// Dot(Normal, p) <= Offset with Normal pointing out.
TracedPlane Traced(const TGem& gem, int facet) {
    const Facet& f = gem.Facets[facet];
    const Vec3 outward{-static_cast<double>(f.Normal.x), -static_cast<double>(f.Normal.y),
                       -static_cast<double>(f.Normal.z)};
    const Half side = std::fabs(outward.z) < GirdleNormalZ ? Half::Girdle
                      : gem.IsCrown()                      ? Half::Crown
                                                           : Half::Pavilion;
    return {outward, -static_cast<double>(f.Dist), side};
}

void AddFacets(const TGem& gem, std::vector<TracedPlane>& planes) {
    planes.push_back(Traced(gem, BoundingPlane));
    for (int facet = 1; facet <= gem.FacetCount; ++facet)
        planes.push_back(Traced(gem, facet));
}
} // namespace

TracedStone StoneFromHalf(const TGem& half) {
    std::vector<TracedPlane> planes;
    AddFacets(half, planes);
    TracedPlane girdle = Traced(half, GirdlePlane);
    girdle.Side = half.IsCrown() ? Half::Pavilion : Half::Crown; // the cut face seen from the other half
    planes.push_back(girdle);
    return TracedStone(planes);
}

TracedStone StoneFromHalves(const TGem& crown, const TGem& pavilion) {
    std::vector<TracedPlane> planes;
    AddFacets(crown, planes);
    AddFacets(pavilion, planes);
    return TracedStone(planes);
}

} // namespace optics
