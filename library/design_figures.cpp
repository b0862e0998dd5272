#include "library/design_figures.h"

#include "stone/stone_figures.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {
constexpr double OutlineMerge = 1e-3; // of the stone's size: outline corners closer than this are one

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

Stone TurnedQuarter(const Stone& stone) {
    auto turn = [](const Vector3& p) { return Vector3{-p.y, p.x, p.z}; };
    Stone turned = stone;
    for (Vector3& corner : turned.Corners)
        corner = turn(corner);
    for (StoneFace& face : turned.Faces)
        face.FacePlane.Normal = turn(face.FacePlane.Normal);
    turned.BoxMin = {-stone.BoxMax.y, stone.BoxMin.x, stone.BoxMin.z};
    turned.BoxMax = {-stone.BoxMin.y, stone.BoxMax.x, stone.BoxMax.z};
    return turned;
}

std::vector<OutlinePoint> StoneOutline(const Stone& stone) {
    std::vector<OutlinePoint> points;
    for (const Vector3& p : stone.Corners)
        points.push_back({static_cast<double>(p.x), static_cast<double>(p.y)});
    const std::vector<OutlinePoint> hull = ConvexHull(points);
    // The girdles of the two halves seldom meet exactly: corners a hair apart are one.
    const double apart = OutlineMerge * static_cast<double>(stone.Size());
    std::vector<OutlinePoint> outline;
    for (const OutlinePoint& p : hull)
        if (outline.empty() || std::hypot(p.x - outline.back().x, p.y - outline.back().y) >= apart)
            outline.push_back(p);
    while (outline.size() > 1 &&
           std::hypot(outline.back().x - outline[0].x, outline.back().y - outline[0].y) < apart)
        outline.pop_back();
    return outline;
}

DesignFigures MeasureDesign(const Stone& stone, const TGem* crown, const TGem* pavilion) {
    DesignFigures figures;
    figures.Shape = ClassifyOutline(StoneOutline(stone));
    if (crown) figures.CrownAngle = MainAngle(*crown);
    if (pavilion) figures.PavilionAngle = MainAngle(*pavilion);

    const bool wide = stone.BoxMax.x - stone.BoxMin.x > stone.BoxMax.y - stone.BoxMin.y;
    const StoneFigures f = FiguresOf(wide ? TurnedQuarter(stone) : stone, crown ? *crown : *pavilion);
    // A half alone is closed by the girdle plane, which is no facet of the design.
    const int girdlePlane = static_cast<int>(std::count_if(
        stone.Faces.begin(), stone.Faces.end(), [](const StoneFace& face) { return face.Facet == 0; }));
    figures.CrownFacets = f.CrownFacets - (crown && !pavilion ? girdlePlane : 0);
    figures.PavilionFacets = f.PavilionFacets - (pavilion && !crown ? girdlePlane : 0);
    figures.Facets = figures.CrownFacets + figures.PavilionFacets + f.GirdleFacets;
    if (!(f.Width > 0)) return figures;

    figures.LW = static_cast<double>(f.Ratio(f.Length));
    if (crown && f.Table > 0) figures.TW = static_cast<double>(f.Ratio(f.Table));
    if (crown) figures.CW = static_cast<double>(f.Ratio(f.CrownHeight));
    if (pavilion) figures.PW = static_cast<double>(f.Ratio(f.PavilionDepth));
    if (!crown || !pavilion) return figures;
    figures.GW = static_cast<double>(f.Ratio(f.GirdleThick));
    figures.HW = static_cast<double>(f.Ratio(f.TotalDepth));
    figures.VolW3 = static_cast<double>(f.VolumeRatio());
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
