#include "tests/support/engine_checks.h"

#include <algorithm>
#include <cstring>
#include <tuple>

namespace {
// Equal to the last bit (long double has ten significant bytes).
bool SameBits(Real a, Real b) {
    return std::memcmp(&a, &b, 10) == 0;
}

bool SameBits(const Vector3& a, const Vector3& b) {
    return SameBits(a.x, b.x) && SameBits(a.y, b.y) && SameBits(a.z, b.z);
}

class Differences {
  public:
    template <typename T> void Check(const std::string& what, const T& fast, const T& reference) {
        if (!(fast == reference)) faults_.push_back(what);
    }
    void Bits(const std::string& what, const Real& fast, const Real& reference) {
        if (!SameBits(fast, reference)) faults_.push_back(what);
    }
    void Bits(const std::string& what, const Vector3& fast, const Vector3& reference) {
        if (!SameBits(fast, reference)) faults_.push_back(what);
    }
    std::vector<std::string> Faults() const { return faults_; }

  private:
    std::vector<std::string> faults_;
};

std::string Named(const char* what, int n) {
    return std::string(what) + " " + std::to_string(n);
}
} // namespace

std::vector<std::string> EngineDifferences(const TGem& fast, const TGem& reference) {
    Differences d;
    d.Check("facet count", fast.FacetCount, reference.FacetCount);
    d.Check("edge count", fast.EdgeCount, reference.EdgeCount);
    d.Check("point count", fast.PointCount, reference.PointCount);
    if (!d.Faults().empty()) return d.Faults();
    for (int e = 1; e <= fast.EdgeCount; ++e) {
        const FacetEdge &a = fast.Edges[e], &b = reference.Edges[e];
        d.Check(Named("edge", e), std::tie(a.Flag, a.FacetA, a.FacetB, a.PointA, a.PointB, a.Flag2),
                std::tie(b.Flag, b.FacetA, b.FacetB, b.PointA, b.PointB, b.Flag2));
    }
    for (int p = 1; p <= fast.PointCount; ++p) {
        d.Check(Named("point flag", p), fast.Points[p].Flag, reference.Points[p].Flag);
        d.Bits(Named("point", p), fast.Points[p].Position, reference.Points[p].Position);
    }
    for (int f = -1; f <= fast.FacetCount; ++f) {
        const Facet &a = fast.Facets[f], &b = reference.Facets[f];
        d.Check(Named("corner count of facet", f), a.CornerCount, b.CornerCount);
        for (int c = 1; c <= std::min(a.CornerCount, b.CornerCount); ++c)
            d.Check(Named("corners of facet", f), a.Corners[c], b.Corners[c]);
        d.Check(Named("tier of facet", f), a.TierNo, b.TierNo);
    }
    d.Bits("box minimum", fast.BoxMin, reference.BoxMin);
    d.Bits("box maximum", fast.BoxMax, reference.BoxMax);
    d.Bits("table minimum x", fast.TableMinX, reference.TableMinX);
    d.Bits("table maximum x", fast.TableMaxX, reference.TableMaxX);
    d.Bits("view size", fast.ViewSize, reference.ViewSize);
    d.Bits("merge distance", fast.MergeDistance(), reference.MergeDistance());
    d.Check("tier count", fast.TierCount, reference.TierCount);
    d.Check("tier list lines", fast.TierListLines, reference.TierListLines);
    for (int t = 1; t <= std::min(fast.TierCount, reference.TierCount); ++t) {
        const Tier &a = fast.Tiers[t], &b = reference.Tiers[t];
        d.Check(Named("tier", t), std::tie(a.FirstFacet, a.MemberCount),
                std::tie(b.FirstFacet, b.MemberCount));
        for (int m = 1; m <= std::min(a.MemberCount, b.MemberCount); ++m)
            d.Check(Named("members of tier", t), a.Members[m], b.Members[m]);
    }
    return d.Faults();
}

EnginePair RecomputeBothWays(const std::function<std::unique_ptr<TGem>()>& make) {
    EnginePair pair{make(), make()};
    pair.fast->Recompute();
    pair.reference->RecomputeReference();
    return pair;
}
