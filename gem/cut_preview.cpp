#include "gem/cut_preview.h"

#include "gem/numtext.h"
#include "gem/reach.h"

#include <algorithm>

namespace {
bool Present(const TGem& gem, int f) {
    return gem.Facets[f].CornerCount != 0;
}

std::vector<Vector3> Polygon(const TGem& gem, int f) {
    std::vector<Vector3> corners;
    const Facet& facet = gem.Facets[f];
    for (int k = 1; k <= facet.CornerCount; ++k)
        corners.push_back(gem.Points[facet.Corners[k]].Position);
    return corners;
}

constexpr std::size_t MaxNamedTiers = 3; // the warning stays one line or two
} // namespace

std::string CutOutcome::Warning() const {
    if (Misses) return "This plane misses the stone: the cut would remove nothing";
    if (RemovedTiers.empty()) return "";
    std::string text = "This cut removes ";
    const std::size_t named = std::min(RemovedTiers.size(), MaxNamedTiers);
    for (std::size_t k = 0; k < named; ++k) {
        const NamedTier& tier = RemovedTiers[k];
        text += (k ? ", tier " : "tier ") + PrintedName(tier) + " (" +
                (tier.Table ? "" : fixed(tier.Angle, 0, 2) + "\u00B0, ") + IntText(RemovedFacetCounts[k]) +
                (RemovedFacetCounts[k] == 1 ? " facet)" : " facets)");
    }
    const std::size_t more = RemovedTiers.size() - named;
    if (more > 0)
        text += " and " + IntText(static_cast<long long>(more)) + (more == 1 ? " more tier" : " more tiers");
    return text + " entirely";
}

CutPlanner::CutPlanner() : scratch_(std::make_unique<TGem>()) {}
CutPlanner::~CutPlanner() = default;

CutOutcome CutPlanner::Plan(const TGem& design, int target, const Plane& plane) {
    TGem& after = *scratch_;
    after.Restore(design);
    after.Progress = nullptr;
    after.CutFacetGroup(target, plane);

    CutOutcome outcome;
    // A horizontal plane moves the table (facet -1).
    const TGem::FacetRange table{-1, -1};
    const TGem::FacetRange cut =
        IsHorizontalNormal(plane.Normal) ? table : after.GroupRange(target).value_or(table);
    bool reaches = false;
    for (int f = cut.First; f <= cut.Last; ++f) {
        if (!Present(after, f)) continue;
        reaches = true;
        outcome.NewFacets.push_back(Polygon(after, f));
    }
    outcome.Misses = !reaches;

    // The facets of a replaced group (modify mode) are not lost but replaced; the facets after it move
    // by the difference in size.
    const TGem::FacetRange replaced =
        (design.ModifyMode() ? design.GroupRange(design.ReplacedGroup()) : std::nullopt)
            .value_or(TGem::FacetRange{0, -1});
    const int oldFirst = replaced.First, oldLast = replaced.Last;
    const int shift = after.FacetCount - design.FacetCount;
    const bool horizontal = IsHorizontalNormal(plane.Normal);
    for (const NamedTier& tier : TiersInCuttingOrder(design)) {
        if (tier.Table && horizontal) continue; // the table is moved, not removed
        int before = 0, kept = 0;
        for (const int f : tier.Facets) {
            if (!Present(design, f) || (f >= oldFirst && f <= oldLast)) continue;
            ++before;
            const int moved = f > oldLast && oldLast >= oldFirst ? f + shift : f;
            if (Present(after, moved)) ++kept;
        }
        if (before > 0 && kept == 0) {
            outcome.RemovedTiers.push_back(tier);
            outcome.RemovedFacetCounts.push_back(before);
        }
    }
    return outcome;
}
