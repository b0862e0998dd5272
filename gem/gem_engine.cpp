// The cutting engine: the convex polyhedron that all facet planes enclose, and its tiers. This file
// holds the literal way (every pair of planes clipped by every other plane) and what both ways share;
// engine_fast.cpp holds the fast way.
#include "gem/engine_parts.h"
#include "gem/gem.h"
#include "gem/parallel.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

namespace {
// The sheet is drawn for stones about 100 across, where the usual merge distance is under 1% of the
// width. A stone's size is told by its reach: the largest |Dist| over the cut planes, facets
// 1 ... FacetCount (the bounding plane -1 and the girdle plane 0 are not cut planes). A stone that
// reaches at least this far merges corners at the usual distance; a smaller one at that distance
// scaled by reach / UsualStoneReach, so that its real corners stay apart.
constexpr Real UsualStoneReach = 40;
constexpr int ProgressThreshold = 100;
constexpr Real FarAway = 1e12L;
constexpr int TierListWidth = 16;

enum class Axis { X, Y, Z };
} // namespace

namespace engine {

bool PairSegment(const Facet& fa, const Facet& fb, bool crown, Segment& segment) {
    const Vector3& a = fa.Normal;
    const Vector3& b = fb.Normal;
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
    if (std::fabs(det) <= ParallelTolerance) return false;

    const Real dj = fa.Dist, dk = fb.Dist;
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

    segment.a = &fa;
    segment.b = &fb;
    segment.carried = 0;
    if (axis == Axis::Z) {
        segment.end1 = pointAt(0);
        segment.end2 = pointAt(crown ? LineExtent : -LineExtent);
    } else {
        segment.end1 = pointAt(-LineExtent);
        segment.end2 = pointAt(LineExtent);
    }
    return true;
}

void CarryOff(Segment& segment, Vector3& moving, const Vector3& staying, const Vector3& meet, Real t) {
    const Vector3 along = segment.end2 - segment.end1;
    const Real carried = (t > 1 ? t - 1 : -t) * std::sqrt(Dot(along, along));
    auto offPlane = [&](const Facet* f) { return std::fabs(Dot(f->Normal, meet) - f->Dist) > PlaneSlack; };
    if (!(segment.carried + carried <= RunPastLimit) || offPlane(segment.a) || offPlane(segment.b)) {
        moving = staying;
        return;
    }
    segment.carried += carried;
    moving = meet;
}

bool ClipLiterally(const TGem& gem, int j, int k, Segment& segment) {
    for (int l = -1; l <= gem.FacetCount; ++l) {
        if (l == j || l == k) continue;
        if (!ClipByPlane(gem.Facets[l], segment)) return false;
    }
    return true;
}

} // namespace engine

// Compared rather than taken with fmin and fmax, which are library calls for long doubles; an end
// that is no number leaves the box alone either way.
void TGem::AddToBox(const Vector3& p) {
    auto low = [](Real& bound, Real x) {
        if (x < bound) bound = x;
    };
    auto high = [](Real& bound, Real x) {
        if (x > bound) bound = x;
    };
    low(BoxMin.x, p.x), low(BoxMin.y, p.y), low(BoxMin.z, p.z);
    high(BoxMax.x, p.x), high(BoxMax.y, p.y), high(BoxMax.z, p.z);
}

void TGem::ResetDerivedData() {
    TableMinX = 200;
    TableMaxX = 0;
    EdgeCount = 0;
    PointCount = 0;
    BoxMin = {FarAway, FarAway, FarAway};
    BoxMax = {-FarAway, -FarAway, -FarAway};
}

Real TGem::StoneReach() const {
    Real reach = 0;
    for (int f = 1; f <= FacetCount; ++f)
        reach = std::fmax(reach, std::fabs(Dist(f)));
    return reach;
}

// Groups the tiers and resets the derived data; false when there is nothing to compute.
bool TGem::StartRecompute(bool literal) {
    // Tiers follow the planes alone: grouping them here lets every reader of the design (drawing,
    // listing, export) take it as it is.
    GroupTiersWith(literal);
    if (FacetCount <= 0) return false;
    ResetDerivedData();
    const Real reach = StoneReach();
    PointMergeDistance =
        reach >= UsualStoneReach ? UsualMergeDistance : UsualMergeDistance * reach / UsualStoneReach;
    return true;
}

void TGem::Recompute() {
    // Helper threads take a while to wake: they wake while the tiers are grouped.
    engine::RouseHelpers(FacetCount);
    if (!StartRecompute(false)) return;
    const bool showProgress = Progress != nullptr && FacetCount > ProgressThreshold;
    if (showProgress) Progress->Show(FacetCount - 1, 1, 1);
    FastRecompute = FindEdgesFast(showProgress);
    if (!FastRecompute) FindEdgesLiterally(showProgress);
    ViewSize = 50;
    if (FastRecompute)
        BuildPolygonsFast();
    else
        for (int f = -1; f <= FacetCount; ++f)
            BuildFacetPolygon(f);
    FinishRecompute(showProgress);
}

void TGem::RecomputeReference() {
    if (!StartRecompute(true)) return;
    const bool showProgress = Progress != nullptr && FacetCount > ProgressThreshold;
    if (showProgress) Progress->Show(FacetCount - 1, 1, 1);
    FastRecompute = false;
    FindEdgesLiterally(showProgress);
    ViewSize = 50;
    for (int f = -1; f <= FacetCount; ++f)
        BuildFacetPolygon(f);
    FinishRecompute(showProgress);
}

// The table extent over facet -1's corners, and the progress bar hidden.
void TGem::FinishRecompute(bool showProgress) {
    const Facet& table = Facets[-1];
    for (int c = 1; c <= table.CornerCount; ++c) {
        const Real x = Points[table.Corners[c]].Position.x;
        if (x < TableMinX) TableMinX = x;
        if (x > TableMaxX) TableMaxX = x;
    }
    if (showProgress) Progress->Hide();
}

void TGem::FindEdgesLiterally(bool showProgress) {
    for (int j = -1; j < FacetCount; ++j) {
        if (showProgress) Progress->Step();
        for (int k = j + 1; k <= FacetCount; ++k) {
            if (j == -1 && k == 0) continue; // the two horizontal bounding planes never meet
            FindEdge(j, k);
        }
    }
}

// Finds the piece of the line where planes j and k meet that survives all other planes.
void TGem::FindEdge(int j, int k) {
    engine::Segment segment;
    if (!engine::PairSegment(Facets[j], Facets[k], IsCrown(), segment)) return;
    if (!engine::ClipLiterally(*this, j, k, segment)) return;
    AddEdge(j, k, segment.end1, segment.end2, false);
}

// Makes the surviving segment edge EdgeCount + 1; it is dropped again when its ends merged.
void TGem::AddEdge(int j, int k, const Vector3& end1, const Vector3& end2, bool hashedPoints) {
    const int edge = EdgeCount + 1;
    FacetEdge& e = Edges[edge];
    e.Flag = false;
    e.Flag2 = false;
    e.FacetA = j;
    e.FacetB = k;
    e.PointA = hashedPoints ? FindOrAddPointHashed(end1) : FindOrAddPoint(end1);
    e.PointB = hashedPoints ? FindOrAddPointHashed(end2) : FindOrAddPoint(end2);
    if (e.PointA != e.PointB) EdgeCount = edge;
    AddToBox(end1);
    AddToBox(end2);
}

int TGem::FindOrAddPoint(const Vector3& p) {
    for (int i = 1; i <= PointCount; ++i)
        if (ManhattanDistance(Points[i].Position, p) < PointMergeDistance) return i;
    CornerPoint& point = Points[PointCount + 1];
    point.Flag = false;
    point.Position = p;
    return ++PointCount;
}

namespace engine {

void CollectFacetEdge(const TGem& gem, int e, FacetEdgeList& collected, int& count) {
    const FacetEdge& edge = gem.Edges[e];
    for (int c = 1; c <= count; ++c) {
        const FacetEdge& other = gem.Edges[collected[c]];
        if ((other.PointA == edge.PointA && other.PointB == edge.PointB) ||
            (other.PointA == edge.PointB && other.PointB == edge.PointA))
            return;
    }
    collected[++count] = e;
}

bool ChainFacetPolygon(const TGem& gem, Facet& facet, const FacetEdgeList& collected, int count) {
    if (count == 0) {
        facet.CornerCount = 0;
        return false;
    }
    std::array<bool, MaxFacetEdges + 1> used; // of the first `count` entries only, cleared here
    std::fill_n(used.begin(), count + 1, false);
    int length = 0;
    facet.Corners[++length] = gem.Edges[collected[1]].PointA;
    facet.Corners[++length] = gem.Edges[collected[1]].PointB;
    bool appended = true;
    while (appended) {
        appended = false;
        const int last = facet.Corners[length];
        for (int c = 2; c <= count && !appended; ++c) {
            if (used[static_cast<std::size_t>(c)]) continue;
            const FacetEdge& edge = gem.Edges[collected[c]];
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

} // namespace engine

bool TGem::BuildFacetPolygon(int f) {
    Facet& facet = Facets[f];
    engine::FacetEdgeList collected("Facet edges");
    int count = 0;
    for (int e = 1; e <= EdgeCount; ++e)
        if (Edges[e].FacetA == f || Edges[e].FacetB == f)
            engine::CollectFacetEdge(*this, e, collected, count);
    return engine::ChainFacetPolygon(*this, facet, collected, count);
}

namespace {
// Facets -1 ... FacetCount by normal z, for finding a tier's members without comparing every pair.
std::vector<std::pair<Real, int>> FacetsByNormalZ(const TGem& gem) {
    std::vector<std::pair<Real, int>> order;
    for (int f = -1; f <= gem.FacetCount; ++f)
        order.push_back({gem.NormalZ(f), f});
    std::sort(order.begin(), order.end());
    return order;
}

bool FinitePlanes(const TGem& gem) {
    for (int f = -1; f <= gem.FacetCount; ++f)
        if (!std::isfinite(gem.NormalZ(f)) || !std::isfinite(gem.Dist(f))) return false;
    return true;
}
} // namespace

// The facets after q in the tier that q opens, in increasing number.
std::vector<int> TGem::TierCandidates(int q, const std::vector<std::pair<Real, int>>* byNormalZ) const {
    auto sameTier = [&](int k) {
        return std::fabs(NormalZ(k) - NormalZ(q)) < TierAngleTolerance &&
               std::fabs(Dist(k) - Dist(q)) < TierDepthTolerance;
    };
    std::vector<int> members;
    if (!byNormalZ) {
        for (int k = q + 1; k <= FacetCount; ++k)
            if (sameTier(k)) members.push_back(k);
        return members;
    }
    // Twice the angle tolerance round q's normal z holds every facet the test can pass.
    const Real z = NormalZ(q);
    auto first =
        std::lower_bound(byNormalZ->begin(), byNormalZ->end(), std::pair{z - 2 * TierAngleTolerance, -2});
    for (auto it = first; it != byNormalZ->end() && it->first <= z + 2 * TierAngleTolerance; ++it)
        if (it->second > q && sameTier(it->second)) members.push_back(it->second);
    std::sort(members.begin(), members.end());
    return members;
}

void TGem::GroupTiers() {
    GroupTiersWith(false);
}

// The literal grouping compares every facet with every later one and sorts each tier by selection;
// the quicker one looks only at facets of nearly the same normal z and sorts distinct indices at once.
void TGem::GroupTiersWith(bool literal) {
    TierCount = 0;
    if (FacetCount <= 0) return;
    for (int f = -1; f <= FacetCount; ++f) // scratch marks: only those of facets in use are read
        Facets[f].Marked = false;

    const bool sortable = !literal && FinitePlanes(*this);
    const auto byNormalZ = sortable ? FacetsByNormalZ(*this) : std::vector<std::pair<Real, int>>();
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
        for (int k : TierCandidates(q, sortable ? &byNormalZ : nullptr)) {
            Facets[k].Marked = true;
            tier.Members[++tier.MemberCount] = k;
            Facets[k].TierNo = t;
        }
    }

    for (int t = 1; t <= TierCount; ++t) {
        Tier& tier = Tiers[t];
        SortByShownIndex(tier, literal);
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

// Selection sort by ShownIndex: the largest goes to the last place, repeatedly. When the values are
// finite and distinct, any sort puts them in that same order, so a quicker one is taken.
void TGem::SortByShownIndex(Tier& tier, bool literal) const {
    auto shown = [&](int m) { return Facets[tier.Members[m]].ShownIndex; };
    std::vector<std::pair<Real, int>> order;
    for (int m = 1; m <= tier.MemberCount; ++m)
        order.push_back({shown(m), tier.Members[m]});
    std::sort(order.begin(), order.end());
    bool distinct = !literal;
    for (std::size_t i = 0; i < order.size(); ++i)
        distinct =
            distinct && std::isfinite(order[i].first) && (i == 0 || order[i - 1].first < order[i].first);
    if (distinct) {
        for (int m = 1; m <= tier.MemberCount; ++m)
            tier.Members[m] = order[static_cast<std::size_t>(m - 1)].second;
        return;
    }
    for (int last = tier.MemberCount; last >= 2; --last) {
        int largest = 1;
        for (int m = 2; m <= last; ++m)
            if (shown(m) > shown(largest)) largest = m;
        std::swap(tier.Members[largest], tier.Members[last]);
    }
}
