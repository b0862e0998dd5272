// Uniform resize, stretch along y and shift along the stone's axis.
#include "gem/gem.h"

#include <cmath>

namespace {
constexpr Real SlopedNormalZ = 0.01L; // planes with a smaller |NormalZ| are girdle facets
constexpr Real NearOrigin = 0.001L;   // planes crossing the axis this close to the girdle stay put
} // namespace

bool TGem::Resize(Real f) {
    if (!std::isfinite(f) || !(f > 0)) return false;
    for (int i = -1; i <= FacetCount; ++i)
        Facets[i].Dist *= f;
    Recompute();
    return true;
}

bool TGem::StretchY(Real s) {
    if (!std::isfinite(s) || !(s > 0)) return false;
    Parts = DesignParts = 1;
    Mirror = DesignMirror = false;
    for (int i = 1; i <= FacetCount; ++i) {
        Facet& facet = Facets[i];
        facet.Normal.y /= s;
        const Real length = std::sqrt(Dot(facet.Normal, facet.Normal));
        facet.Normal = (1 / length) * facet.Normal;
        facet.Dist /= length;
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
    for (int i = -1; i <= FacetCount; ++i) {
        Facet& facet = Facets[i];
        if (std::fabs(facet.Normal.z) <= SlopedNormalZ) continue;
        const Real h = facet.Dist / facet.Normal.z;
        if (std::fabs(h) > NearOrigin) facet.Dist = facet.Dist * (s + h) / h;
    }
    Recompute();
    return true;
}
