// Picking corner points, edges and facets in the top view, and the small facet and group queries.
#include "gem/gem.h"
#include "gem/numtext.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr Real PickRange = 100;         // a point or edge scoring this or more is not hit
constexpr Real GirdlePlaneZ = 0.1L;     // a point this close to z = 0 lies in the girdle plane
constexpr Real ShortEdge = 0.001L;      // edges shorter than this in the top view cannot be picked
constexpr Real FlatFacet = 0.01L;       // facets with |normal z| up to this are seen edge-on from above
constexpr Real NoHeightYet = 100000;    // start of the search for the nearest facet plane
constexpr Real InsideTurn = 0.001L;     // the winding sum is 2 pi inside and 0 outside
constexpr Real AngleMatch = 0.02L;      // FindFacet's angle tolerance
constexpr Real IndexMatch = 0.1L;       // FindFacet's index tolerance
constexpr Real IndexInUseMatch = 0.05L; // IndexInUse's tolerance
constexpr Real LabelOffset = 5;         // girdle labels sit this far outside their edge
constexpr Real DistinctHeights = 1;     // the first two of three facet points differ this much in z
constexpr Real MinPointDistance = 1;    // the two points of a vertical plane are at least this far apart
constexpr Real Pi = TwoPi / 2;

bool InGirdlePlane(const Vector3& p) {
    return std::fabs(p.z) <= GirdlePlaneZ;
}

Real AngleFrom(Real X, Real Y, const Vector3& p) {
    const Real a = std::atan2(p.y - Y, p.x - X);
    return a < 0 ? a + TwoPi : a;
}
} // namespace

std::optional<TGem::PointFound> TGem::FindPoint(Real X, Real Y, bool onlyXY, bool notXY) const {
    int best = NoneFound;
    Real bestDistance = PickRange;
    for (int k = OutlineFirstPoint; k <= PointCount; ++k) {
        const Vector3& p = Points[k].Position;
        if (onlyXY) {
            if (std::fabs(p.z) > GirdlePlaneZ) continue;
        } else if (notXY && std::fabs(p.z) < GirdlePlaneZ) {
            continue;
        }
        const Real distance = std::fabs(X - p.x) + std::fabs(Y - p.y);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = k;
        }
    }
    if (best == NoneFound) return std::nullopt;
    return PointFound{best, Points[best].Position};
}

TGem::PointFound TGem::PickPoint(Real X, Real Y, bool onlyXY, bool notXY) const {
    return FindPoint(X, Y, onlyXY, notXY).value_or(PointFound{1, Points[1].Position});
}

std::optional<TGem::PointFound> TGem::PickEdge(Real X, Real Y, bool onlyXY, bool notXY) const {
    int best = NoneFound;
    Real bestScore = PickRange;
    Real bestD1 = 0, bestLength = 1;
    for (int e = OutlineFirstEdge; e <= EdgeCount; ++e) {
        const Vector3& p1 = Points[Edges[e].PointA].Position;
        const Vector3& p2 = Points[Edges[e].PointB].Position;
        const bool girdleEdge = InGirdlePlane(p1) && InGirdlePlane(p2);
        if (onlyXY ? !girdleEdge : (notXY && girdleEdge)) continue;
        const Real length = std::hypot(p2.x - p1.x, p2.y - p1.y);
        if (length < ShortEdge) continue;
        const Real d1 = std::hypot(X - p1.x, Y - p1.y);
        const Real d2 = std::hypot(X - p2.x, Y - p2.y);
        const Real score = (d1 + d2) / length;
        if (score < bestScore) {
            bestScore = score;
            best = e;
            bestD1 = d1;
            bestLength = length;
        }
    }
    if (best == NoneFound) return std::nullopt;
    const Vector3& p1 = Points[Edges[best].PointA].Position;
    const Vector3& p2 = Points[Edges[best].PointB].Position;
    return PointFound{best, p1 + (bestD1 / bestLength) * (p2 - p1)};
}

std::optional<int> TGem::PickFacet(Real X, Real Y) const {
    int best = NoneFound;
    Real bestHeight = NoHeightYet;
    for (int i = -1; i <= FacetCount; ++i) {
        if (std::fabs(NormalZ(i)) <= FlatFacet || Facets[i].CornerCount == 0) continue;
        const Real z = (Dist(i) - NormalX(i) * X - NormalY(i) * Y) / NormalZ(i);
        const bool onTheSeenSide = IsCrown() ? z > 0 : z < 0;
        if (onTheSeenSide && std::fabs(z) < bestHeight) {
            bestHeight = std::fabs(z);
            best = i;
        }
    }
    if (best == NoneFound || !PointInFacet(best, X, Y)) return std::nullopt;
    return best;
}

// Winding test: the angles from the click to the closed corner list turn once around it inside.
bool TGem::PointInFacet(int i, Real X, Real Y) const {
    const Facet& facet = Facets[i];
    if (facet.CornerCount == 0) return false;
    Real turn = 0;
    Real previous = AngleFrom(X, Y, Points[facet.Corners[1]].Position);
    for (int k = 2; k <= facet.CornerCount; ++k) {
        const Real a = AngleFrom(X, Y, Points[facet.Corners[k]].Position);
        Real delta = a - previous;
        if (delta > Pi)
            delta -= TwoPi;
        else if (delta < -Pi)
            delta += TwoPi;
        turn += delta;
        previous = a;
    }
    return std::fabs(turn) > InsideTurn;
}

std::optional<Vector3> TGem::FacetCentre(int i) const {
    if (Facets[i].CornerCount == 0) return std::nullopt;
    Vector3 sum;
    int ends = 0;
    for (int e = 1; e <= EdgeCount; ++e) {
        const FacetEdge& edge = Edges[e];
        if (edge.FacetA != i && edge.FacetB != i) continue;
        sum = sum + Points[edge.PointA].Position + Points[edge.PointB].Position;
        ends += 2;
    }
    if (ends == 0) return std::nullopt;
    return Vector3{sum.x / ends, sum.y / ends, sum.z / ends};
}

std::optional<TGem::FacetRange> TGem::GroupRange(int i) const {
    if (i == -1) return FacetRange{-1, -1};
    if (i < 0 || i > FacetCount) return std::nullopt;
    int f = i;
    while (f >= 0 && GroupParts(f) == 0)
        --f;
    if (f < 0) return std::nullopt;
    const long long size = SymChar(f) == 'm' ? 2LL * GroupParts(f) : GroupParts(f);
    // A group that a design file cut short ends with the last facet.
    return FacetRange{f, static_cast<int>(std::min<long long>(f + size - 1, FacetCount))};
}

std::optional<int> TGem::FindFacet(Real angle, Real index) const {
    for (int f = 1; f <= FacetCount; ++f)
        if (std::fabs(std::fabs(FacetAngle(f)) - angle) < AngleMatch &&
            std::fabs(std::fabs(Index(f)) - index) < IndexMatch)
            return f;
    return std::nullopt;
}

bool TGem::IndexInUse(Real x) const {
    for (int f = 1; f <= FacetCount; ++f)
        if (std::fabs(x - Index(f)) < IndexInUseMatch) return true;
    return false;
}

bool TGem::HasGirdleFacet() const {
    for (int f = 1; f <= FacetCount; ++f)
        if (Near90(FacetAngle(f))) return true;
    return false;
}

bool TGem::AllGirdleFacets() const {
    for (int f = 1; f <= FacetCount; ++f)
        if (!Near90(FacetAngle(f))) return false;
    return true;
}

bool TGem::AnyFacetShown() const {
    for (int f = 1; f <= FacetCount; ++f)
        if (Facets[f].CornerCount != 0) return true;
    return false;
}

bool TGem::HasEdgesToPick() const {
    return EdgeCount >= OutlineFirstEdge;
}

Real TGem::LabelIndex(int i) const {
    const Real angle = FacetAngle(i);
    return NearZero(angle) || Near180(angle) ? Index(i) : Facets[i].ShownIndex;
}

std::string TGem::LabelIndexText(int i) const {
    return NumberText(LabelIndex(i));
}

std::optional<Vector3> TGem::GirdleLabelAnchor(int i) const {
    for (int e = 1; e <= EdgeCount; ++e) {
        const FacetEdge& edge = Edges[e];
        if (edge.FacetA != i && edge.FacetB != i) continue;
        const Vector3& a = Points[edge.PointA].Position;
        const Vector3& b = Points[edge.PointB].Position;
        if (std::fabs(a.z) >= GirdlePlaneZ || std::fabs(b.z) >= GirdlePlaneZ) continue;
        const Real mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
        const Real r = std::sqrt(mx * mx + my * my);
        if (r == 0) return std::nullopt; // an edge through the axis has no outward direction
        return Vector3{mx + LabelOffset * mx / r, my + LabelOffset * my / r, 0};
    }
    return std::nullopt;
}

std::optional<std::array<Vector3, 3>> TGem::ThreePointsOfFacet(int i) const {
    const Facet& facet = Facets[i];
    auto corner = [&](int k) { return Points[facet.Corners[k]].Position; };
    for (int k = 1; k <= facet.CornerCount; ++k) {
        for (int m = k + 1; m <= facet.CornerCount; ++m) {
            const Vector3 a = corner(k), b = corner(m);
            if (a == b || std::fabs(a.z - b.z) <= DistinctHeights) continue;
            for (int n = 1; n <= facet.CornerCount; ++n)
                if (corner(n) != a && corner(n) != b) return std::array<Vector3, 3>{a, b, corner(n)};
            return std::nullopt;
        }
    }
    return std::nullopt;
}

std::optional<Plane> TGem::VerticalPlaneThrough(Real x1, Real y1, Real x2, Real y2) {
    const Real dx = x1 - x2, dy = y1 - y2;
    if (std::fabs(dx) + std::fabs(dy) < MinPointDistance) return std::nullopt;
    const Real length = std::sqrt(dx * dx + dy * dy);
    Plane plane;
    plane.Normal = {dy / length, -dx / length, 0};
    plane.Dist = (dy * x2 - dx * y2) / length;
    if (plane.Dist > 0) {
        plane.Normal = -plane.Normal;
        plane.Dist = -plane.Dist;
    }
    return plane;
}

TGem::HighlightFacet TGem::Highlighted(int f) const {
    HighlightFacet member;
    member.Facet = f;
    if (const std::optional<Vector3> centre = FacetCentre(f)) {
        member.Filled = true;
        member.CentreX = centre->x;
        member.CentreY = centre->y;
        member.CentreZ = centre->z;
    }
    return member;
}

TGem::HighlightGroup TGem::HighlightGroupFacets(int facet, bool useFacet) const {
    HighlightGroup highlight;
    const std::optional<FacetRange> group = facet == NoneFound ? std::nullopt : GroupRange(facet);
    if (!group) return highlight;
    highlight.First = group->First;
    const int reference = useFacet ? facet : group->First;
    for (int f = group->First; f <= group->Last && f <= FacetCount; ++f) {
        HighlightFacet member = Highlighted(f);
        member.Filled = member.Filled && !Near90(FacetAngle(f));
        member.Reference = f == reference;
        highlight.Facets.push_back(member);
    }
    return highlight;
}

std::vector<TGem::HighlightFacet> TGem::HighlightTierFacets(int t) const {
    std::vector<HighlightFacet> members;
    const Tier& tier = Tiers[t];
    if (tier.MemberCount == 0 || Near90(FacetAngle(tier.Members[1]))) return members;
    for (int m = 1; m <= tier.MemberCount; ++m) {
        members.push_back(Highlighted(tier.Members[m]));
    }
    return members;
}
