#include "library/design_figures.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {
// Tier members of girdle facets (90 degrees).
int GirdleFacets(const TGem& half) {
    int count = 0;
    for (int t = 1; t <= half.TierCount; ++t)
        if (Near90(half.FacetAngle(half.Tiers[t].FirstFacet))) count += half.Tiers[t].MemberCount;
    return count;
}

// The highest |z| of a corner of a girdle facet: how far the girdle reaches into this half.
double GirdleHeight(const TGem& half) {
    double height = 0;
    for (int f = 1; f <= half.FacetCount; ++f) {
        if (!Near90(half.FacetAngle(f))) continue;
        const Facet& facet = half.Facets[f];
        for (int c = 1; c <= facet.CornerCount; ++c)
            height =
                std::max(height, static_cast<double>(std::fabs(half.Points[facet.Corners[c]].Position.z)));
    }
    return height;
}

double FacetArea(const TGem& half, int f) {
    const Facet& facet = half.Facets[f];
    Vector3 sum;
    for (int c = 1; c + 1 <= facet.CornerCount; ++c)
        sum = sum + Cross(half.Points[facet.Corners[c]].Position, half.Points[facet.Corners[c + 1]].Position);
    return static_cast<double>(std::sqrt(Dot(sum, sum)) / 2);
}

// The main angle: the angle of the tier with the largest facet area, girdle and table left out.
std::optional<double> MainAngle(const TGem& half) {
    std::map<int, double> area;
    for (int f = 1; f <= half.FacetCount; ++f) {
        const Real angle = half.FacetAngle(f);
        if (half.Facets[f].CornerCount == 0 || Near90(angle) || NearZero(angle) || Near180(angle)) continue;
        area[half.Facets[f].TierNo] += FacetArea(half, f);
    }
    const auto largest = std::max_element(area.begin(), area.end(),
                                          [](const auto& a, const auto& b) { return a.second < b.second; });
    if (largest == area.end() || largest->first < 1 || largest->first > half.TierCount) return std::nullopt;
    return static_cast<double>(half.FacetAngle(half.Tiers[largest->first].FirstFacet));
}

} // namespace

std::vector<OutlinePoint> HalfOutline(const TGem& half) {
    std::vector<OutlinePoint> points;
    for (int p = 1; p <= half.PointCount; ++p)
        points.push_back(
            {static_cast<double>(half.Points[p].Position.x), static_cast<double>(half.Points[p].Position.y)});
    return ConvexHull(points);
}

DesignFigures MeasureDesign(const TGem* crown, const TGem* pavilion) {
    DesignFigures figures;
    // Until the whole stone is computed, the girdle outline is the crown's (an ASC design's pavilion
    // reaches the girdle below the girdle plane), else the pavilion's.
    const TGem& outlined = crown ? *crown : *pavilion;
    figures.Shape = ClassifyOutline(HalfOutline(outlined));
    const double w = static_cast<double>(std::min(outlined.W(), outlined.L()));
    const double l = static_cast<double>(std::max(outlined.W(), outlined.L()));

    double height = 0, girdle = 0, volume = 0;
    int girdleFacets[2] = {0, 0};
    // What each half adds: its facets, main angle, girdle facets, height, girdle height and volume.
    auto add = [&](const TGem* half, int& facets, std::optional<double>& angle, int& girdles) {
        if (!half) return;
        facets = half->FacetsShownCount();
        angle = MainAngle(*half);
        girdles = GirdleFacets(*half);
        height += static_cast<double>(half->H());
        girdle += GirdleHeight(*half);
        volume += static_cast<double>(half->Volume());
    };
    add(crown, figures.CrownFacets, figures.CrownAngle, girdleFacets[0]);
    add(pavilion, figures.PavilionFacets, figures.PavilionAngle, girdleFacets[1]);
    // The girdle facets of a whole stone appear in both halves.
    figures.Facets = figures.CrownFacets + figures.PavilionFacets -
                     (crown && pavilion ? std::min(girdleFacets[0], girdleFacets[1]) : 0);
    if (!(w > 0)) return figures;
    figures.LW = l / w;
    if (crown && crown->HasTable()) figures.TW = static_cast<double>(crown->T()) / w;
    if (crown) figures.CW = static_cast<double>(crown->H()) / w;
    if (pavilion) figures.PW = static_cast<double>(pavilion->H()) / w;
    figures.GW = girdle / w;
    figures.HW = height / w;
    figures.VolW3 = volume / (w * w * w);
    return figures;
}

TopView TopViewOf(const TGem& half) {
    TopView view;
    const double flip = half.IsPavilion() ? -1 : 1; // seen from below, y runs the other way
    view.MinX = view.MinY = INFINITY;
    view.MaxX = view.MaxY = -INFINITY;
    for (int e = 1; e <= half.EdgeCount; ++e) {
        const Vector3& a = half.Points[half.Edges[e].PointA].Position;
        const Vector3& b = half.Points[half.Edges[e].PointB].Position;
        const std::array<double, 4> s = {static_cast<double>(a.x), flip * static_cast<double>(a.y),
                                         static_cast<double>(b.x), flip * static_cast<double>(b.y)};
        view.Segments.push_back(s);
        view.MinX = std::min({view.MinX, s[0], s[2]}), view.MaxX = std::max({view.MaxX, s[0], s[2]});
        view.MinY = std::min({view.MinY, s[1], s[3]}), view.MaxY = std::max({view.MaxY, s[1], s[3]});
    }
    return view;
}
