// The cutting engine: the convex polyhedron that all facet planes enclose, and its tiers.
#include "gem/gem.h"

#include <array>
#include <cmath>

namespace {
constexpr Real LineExtent = 400; // the common line of two planes is a segment of this extent
constexpr Real ParallelTolerance = 0.001L;
constexpr Real OutsideTolerance = 0.001L;
constexpr Real PointMergeDistance = 0.9L;
constexpr Real TierAngleTolerance = 1e-5L;
constexpr Real TierDepthTolerance = 0.01L;
constexpr Real TierIndexTolerance = 0.1L;
constexpr int ProgressThreshold = 100;
constexpr Real FarAway = 1e12L;
constexpr int TierListWidth = 16;

enum class Axis { X, Y, Z };
} // namespace

void TGem::AddToBox(const Vector3& p) {
    BoxMin = {std::fmin(BoxMin.x, p.x), std::fmin(BoxMin.y, p.y), std::fmin(BoxMin.z, p.z)};
    BoxMax = {std::fmax(BoxMax.x, p.x), std::fmax(BoxMax.y, p.y), std::fmax(BoxMax.z, p.z)};
}

void TGem::ResetDerivedData() {
    TableMinX = 200;
    TableMaxX = 0;
    EdgeCount = 0;
    PointCount = 0;
    BoxMin = {FarAway, FarAway, FarAway};
    BoxMax = {-FarAway, -FarAway, -FarAway};
}

void TGem::Recompute() {
    // Tiers follow the planes alone: grouping them here lets every reader of the design (drawing,
    // listing, export) take it as it is.
    GroupTiers();
    if (FacetCount <= 0) return;
    ResetDerivedData();

    const bool showProgress = Progress != nullptr && FacetCount > ProgressThreshold;
    if (showProgress) Progress->Show(FacetCount - 1, 1, 1);

    for (int j = -1; j < FacetCount; ++j) {
        if (showProgress) Progress->Step();
        for (int k = j + 1; k <= FacetCount; ++k) {
            if (j == -1 && k == 0) continue; // the two horizontal bounding planes never meet
            FindEdge(j, k);
        }
    }

    ViewSize = 50;
    for (int f = -1; f <= FacetCount; ++f)
        BuildFacetPolygon(f);

    const Facet& table = Facets[-1];
    for (int c = 1; c <= table.CornerCount; ++c) {
        const Real x = Points[table.Corners[c]].Position.x;
        if (x < TableMinX) TableMinX = x;
        if (x > TableMaxX) TableMaxX = x;
    }

    if (showProgress) Progress->Hide();
}

// Finds the piece of the line where planes j and k meet that survives all other planes.
void TGem::FindEdge(int j, int k) {
    const Vector3& a = Facets[j].Normal;
    const Vector3& b = Facets[k].Normal;
    const Real dz = a.x * b.y - b.x * a.y;
    const Real dy = a.x * b.z - b.x * a.z;
    const Real dx = b.y * a.z - a.y * b.z;

    Axis axis = Axis::X;
    Real det = dx;
    if (std::fabs(dz) >= std::fabs(dy) && std::fabs(dz) >= std::fabs(dx)) {
        axis = Axis::Z;
        det = dz;
    } else if (std::fabs(dy) >= std::fabs(dx)) {
        axis = Axis::Y;
        det = dy;
    }
    if (std::fabs(det) <= ParallelTolerance) return;

    const Real dj = Facets[j].Dist, dk = Facets[k].Dist;
    // Solves both plane equations with one coordinate fixed at `fixed`.
    auto pointAt = [&](Real fixed) -> Vector3 {
        switch (axis) {
        case Axis::Z: {
            const Real rj = dj - a.z * fixed, rk = dk - b.z * fixed;
            return {(rj * b.y - rk * a.y) / det, (a.x * rk - b.x * rj) / det, fixed};
        }
        case Axis::Y: {
            const Real rj = dj - a.y * fixed, rk = dk - b.y * fixed;
            return {(rj * b.z - rk * a.z) / det, fixed, (a.x * rk - b.x * rj) / det};
        }
        case Axis::X:
        default: {
            const Real rj = dj - a.x * fixed, rk = dk - b.x * fixed;
            const Real detYZ = a.y * b.z - b.y * a.z;
            return {fixed, (rj * b.z - rk * a.z) / detYZ, (a.y * rk - b.y * rj) / detYZ};
        }
        }
    };

    Vector3 end1, end2;
    if (axis == Axis::Z) {
        end1 = pointAt(0);
        end2 = pointAt(IsCrown() ? LineExtent : -LineExtent);
    } else {
        end1 = pointAt(-LineExtent);
        end2 = pointAt(LineExtent);
    }

    if (!ClipSegment(j, k, end1, end2)) return;

    const int edge = EdgeCount + 1;
    FacetEdge& e = Edges[edge];
    e.Flag = false;
    e.Flag2 = false;
    e.FacetA = j;
    e.FacetB = k;
    e.PointA = FindOrAddPoint(end1);
    e.PointB = FindOrAddPoint(end2);
    if (e.PointA != e.PointB) EdgeCount = edge;
    AddToBox(end1);
    AddToBox(end2);
}

// Clips the segment against every facet but j and k; false when nothing of it is left.
bool TGem::ClipSegment(int j, int k, Vector3& end1, Vector3& end2) const {
    for (int l = -1; l <= FacetCount; ++l) {
        if (l == j || l == k) continue;
        const Vector3& n = Facets[l].Normal;
        const Real limit = Facets[l].Dist - OutsideTolerance;
        const bool out1 = Dot(n, end1) < limit;
        const bool out2 = Dot(n, end2) < limit;
        if (out1 && out2) return false;
        if (out1 || out2) {
            const Vector3 along = end2 - end1;
            const Real t = (Facets[l].Dist - Dot(n, end1)) / Dot(n, along);
            const Vector3 meet = end1 + t * along;
            (out1 ? end1 : end2) = meet;
        }
    }
    return true;
}

int TGem::FindOrAddPoint(const Vector3& p) {
    for (int i = 1; i <= PointCount; ++i)
        if (ManhattanDistance(Points[i].Position, p) < PointMergeDistance) return i;
    CornerPoint& point = Points[PointCount + 1];
    point.Flag = false;
    point.Position = p;
    return ++PointCount;
}

bool TGem::BuildFacetPolygon(int f) {
    Facet& facet = Facets[f];
    BoundedArray<int, 1, MaxFacetEdges> collected("Facet edges");
    std::array<bool, MaxFacetEdges + 1> used{};
    int count = 0;

    for (int e = 1; e <= EdgeCount; ++e) {
        const FacetEdge& edge = Edges[e];
        if (edge.FacetA != f && edge.FacetB != f) continue;
        bool duplicate = false;
        for (int c = 1; c <= count && !duplicate; ++c) {
            const FacetEdge& other = Edges[collected[c]];
            duplicate = (other.PointA == edge.PointA && other.PointB == edge.PointB) ||
                        (other.PointA == edge.PointB && other.PointB == edge.PointA);
        }
        if (!duplicate) collected[++count] = e;
    }

    if (count == 0) {
        facet.CornerCount = 0;
        return false;
    }

    int length = 0;
    facet.Corners[++length] = Edges[collected[1]].PointA;
    facet.Corners[++length] = Edges[collected[1]].PointB;
    bool appended = true;
    while (appended) {
        appended = false;
        const int last = facet.Corners[length];
        for (int c = 2; c <= count && !appended; ++c) {
            if (used[static_cast<std::size_t>(c)]) continue;
            const FacetEdge& edge = Edges[collected[c]];
            if (edge.PointA == last) {
                facet.Corners[++length] = edge.PointB;
                appended = true;
            } else if (edge.PointB == last) {
                facet.Corners[++length] = edge.PointA;
                appended = true;
            }
            if (appended) used[static_cast<std::size_t>(c)] = true;
        }
    }

    const bool closed = facet.Corners[length] == facet.Corners[1];
    facet.CornerCount = closed ? length : 0;
    return closed;
}

void TGem::GroupTiers() {
    TierCount = 0;
    if (FacetCount <= 0) return;
    for (int f = -1; f <= MaxFacets; ++f)
        Facets[f].Marked = false;

    for (int q = -1; q <= FacetCount; ++q) {
        if (Facets[q].Marked) continue;
        Facets[q].Marked = true;
        const int t = TierCount + 1;
        Tier& tier = Tiers[t];
        TierCount = t;
        tier.FirstFacet = q;
        tier.MemberCount = 1;
        tier.Members[1] = q;
        Facets[q].TierNo = t;
        for (int k = q + 1; k <= FacetCount; ++k) {
            if (std::fabs(NormalZ(k) - NormalZ(q)) < TierAngleTolerance &&
                std::fabs(Dist(k) - Dist(q)) < TierDepthTolerance) {
                Facets[k].Marked = true;
                tier.Members[++tier.MemberCount] = k;
                Facets[k].TierNo = t;
            }
        }
    }

    for (int t = 1; t <= TierCount; ++t) {
        Tier& tier = Tiers[t];
        // Selection sort by ShownIndex: the largest goes to the last place, repeatedly.
        for (int last = tier.MemberCount; last >= 2; --last) {
            int largest = 1;
            for (int m = 2; m <= last; ++m)
                if (Facets[tier.Members[m]].ShownIndex > Facets[tier.Members[largest]].ShownIndex)
                    largest = m;
            std::swap(tier.Members[largest], tier.Members[last]);
        }
        // Facets at the same index (within 0.1) are listed once.
        int kept = 1;
        for (int m = 2; m <= tier.MemberCount; ++m) {
            if (std::fabs(Index(tier.Members[m]) - Index(tier.Members[kept])) < TierIndexTolerance) continue;
            tier.Members[++kept] = tier.Members[m];
        }
        tier.MemberCount = kept;
    }

    TierListLines = -2;
    for (int t = 1; t <= TierCount; ++t)
        TierListLines += (Tiers[t].MemberCount + TierListWidth - 1) / TierListWidth;
}
