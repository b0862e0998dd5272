#include "gem/tier_names.h"

#include "gem/gem.h"
#include "gem/numtext.h"

#include <algorithm>
#include <map>

namespace {
constexpr Real SameIndex = 0.01L;

bool Present(const TGem& design, int f) {
    return design.Facets[f].CornerCount != 0;
}

std::vector<Real> DistinctIndices(const TGem& design, const std::vector<int>& facets) {
    std::vector<Real> indices;
    for (const int f : facets)
        indices.push_back(design.Facets[f].ShownIndex);
    std::sort(indices.begin(), indices.end());
    std::vector<Real> distinct;
    for (const Real v : indices)
        if (distinct.empty() || v - distinct.back() > SameIndex) distinct.push_back(v);
    return distinct;
}
} // namespace

std::vector<NamedTier> TiersInCuttingOrder(const TGem& design) {
    std::map<int, std::vector<int>> byTier; // tier number -> its facets, in cutting order
    std::vector<int> order;                 // tier numbers by their first facet
    for (int f = 1; f <= design.FacetCount; ++f) {
        const int t = design.Facets[f].TierNo;
        if (t == design.Facets[0].TierNo || t == design.Facets[-1].TierNo) continue;
        if (!byTier.count(t)) order.push_back(t);
        byTier[t].push_back(f);
    }
    std::vector<NamedTier> tiers;
    int sloped = 0, girdles = 0;
    for (const int t : order) {
        const std::vector<int>& facets = byTier[t];
        if (std::none_of(facets.begin(), facets.end(), [&](int f) { return Present(design, f); })) continue;
        NamedTier tier;
        tier.Tier = t;
        tier.Facets = facets;
        tier.Angle = design.FacetAngle(facets.front());
        tier.Indices = DistinctIndices(design, facets);
        tier.Girdle = Near90(tier.Angle);
        if (tier.Girdle)
            tier.Name = ++girdles == 1 ? "g" : "g" + IntText(girdles);
        else
            tier.Name = (design.IsCrown() ? "c" : "p") + IntText(++sloped);
        tiers.push_back(tier);
    }
    if (Present(design, -1)) {
        NamedTier table;
        table.Name = design.IsCrown() ? "t" : "cu";
        table.Tier = design.Facets[-1].TierNo;
        table.Facets = {-1};
        table.Table = true;
        tiers.push_back(table);
    }
    return tiers;
}

std::string IndicesText(const std::vector<Real>& indices) {
    std::string text;
    for (const Real v : indices) {
        if (!text.empty()) text += '-';
        text += std::fabs(v - RoundEven(v)) < SameIndex ? ZeroPadded(v, 2, 0) : fixed(v, 0, 2);
    }
    return text;
}
