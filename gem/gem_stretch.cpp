// Uniform resize, stretch along y and shift along the stone's axis.
#include "gem/gem.h"
#include "gem/reach.h"

#include <cmath>
#include <vector>

namespace {
constexpr Real SlopedNormalZ = 0.01L; // planes with a smaller |NormalZ| are girdle facets
constexpr Real NearOrigin = 0.001L;   // planes crossing the axis this close to the girdle stay put
} // namespace

bool TGem::Resize(Real f) {
    if (!std::isfinite(f) || !(f > 0)) return false;
    for (int i = -1; i <= FacetCount; ++i)
        if (!(std::fabs(Facets[i].Dist * f) <= EngineReach)) return false;
    for (int i = -1; i <= FacetCount; ++i)
        Facets[i].Dist *= f;
    Recompute();
    return true;
}

bool TGem::StretchY(Real s) {
    if (!std::isfinite(s) || !(s > 0)) return false;
    std::vector<Plane> stretched;
    for (int i = 1; i <= FacetCount; ++i) {
        Vector3 normal = Facets[i].Normal;
        normal.y /= s;
        const Real length = std::sqrt(Dot(normal, normal));
        stretched.push_back({(1 / length) * normal, Facets[i].Dist / length});
        if (!IsSoundPlane(stretched.back().Normal, stretched.back().Dist) ||
            IsHorizontalNormal(stretched.back().Normal))
            return false; // a facet would turn into the table when the design is read
    }
    Parts = DesignParts = 1;
    Mirror = DesignMirror = false;
    for (int i = 1; i <= FacetCount; ++i) {
        Facet& facet = Facets[i];
        facet.Normal = stretched[static_cast<std::size_t>(i - 1)].Normal;
        facet.Dist = stretched[static_cast<std::size_t>(i - 1)].Dist;
        facet.Index = IndexFromNormal(facet.Normal);
        facet.ShownIndex = ShownIndex(facet.Index);
        facet.GroupParts = 1;
        facet.SymChar = ' ';
    }
    Recompute();
    return true;
}

bool TGem::ShiftAlongAxis(Real s) {
    if (!std::isfinite(s)) return false;
    std::vector<Real> shifted;
    for (int i = -1; i <= FacetCount; ++i) {
        const Facet& facet = Facets[i];
        Real dist = facet.Dist;
        if (std::fabs(facet.Normal.z) > SlopedNormalZ) {
            const Real h = facet.Dist / facet.Normal.z;
            if (std::fabs(h) > NearOrigin) dist = facet.Dist * (s + h) / h;
        }
        if (!(std::fabs(dist) <= EngineReach)) return false;
        shifted.push_back(dist);
    }
    for (int i = -1; i <= FacetCount; ++i)
        Facets[i].Dist = shifted[static_cast<std::size_t>(i + 1)];
    Recompute();
    return true;
}
