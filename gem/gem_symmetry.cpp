// New designs, the index rules, the plane constructors and the cutting of a facet group.
#include "gem/gem.h"
#include "gem/numtext.h"
#include "gem/reach.h"

#include <cmath>
#include <limits>

namespace {
constexpr Real FarOff = 8; // Wrap steps by whole turns up to this many turns away
constexpr Real CrownBlockHeight = 24;
constexpr Real PavilionBlockDepth = 100;
} // namespace

Real ArcCosDeg(Real x) {
    if (x >= 0.999999999L) return 0;
    if (x <= -0.999999999L) return 180;
    return 90 - std::atan(x / std::sqrt(1 - x * x)) * DegPerRad;
}

void TGem::NewDesign(char type, std::int32_t parts, std::int32_t systemIndex, bool mirror, Real offset,
                     bool clearOutline) {
    const Real roundedOffset = RoundEven(offset);
    if (!(roundedOffset >= std::numeric_limits<std::int32_t>::min() &&
          roundedOffset <= std::numeric_limits<std::int32_t>::max()))
        throw RangeError("Range error: offset index is outside the 32-bit range");
    if (systemIndex == std::numeric_limits<std::int32_t>::min()) // its magnitude has no 32-bit value
        throw RangeError("Range error: system index is outside the 32-bit range");

    IsPreform = false;
    SystemIndex = systemIndex;
    Parts = DesignParts = parts;
    GemType = type;
    Mirror = DesignMirror = mirror;
    OffsetIndex = static_cast<std::int32_t>(roundedOffset);

    EdgeCount = PointCount = FacetCount = 0;
    ModifyModeOn = false;
    for (int f = -1; f <= MaxFacets; ++f)
        Facets[f].CornerCount = 0;

    if (clearOutline) {
        OutlineFirstEdge = 1;
        OutlineFirstPoint = 1;
    }

    for (int k = 1; k <= MessageLineCount; ++k)
        MessageLines[k].clear();
    MessageNext = 1;
    for (int k = 1; k <= TextLineCount; ++k)
        TextLines[k].clear();

    Facet& bound = Facets[-1];
    Facet& girdle = Facets[0];
    if (IsPavilion()) {
        bound.Normal = {0, 0, 1};
        bound.Dist = -PavilionBlockDepth;
        girdle.Normal = {0, 0, -1};
    } else {
        bound.Normal = {0, 0, -1};
        bound.Dist = -CrownBlockHeight;
        girdle.Normal = {0, 0, 1};
    }
    girdle.Dist = 0;
    bound.Index = girdle.Index = 0;
    Recompute(); // the tiers of the empty design
}

Real TGem::Wrap(Real x) const {
    const Real n = IndexCount();
    if (n <= 0 || !std::isfinite(x)) return x;
    if (x >= FarOff * n || x < -FarOff * n) x -= n * std::floor(x / n); // far off: one step, not a long loop
    while (x >= n)
        x -= n;
    while (x < 0)
        x += n;
    if (std::fabs(x - n) < WrapTolerance) return 0;
    return x;
}

Real TGem::ShownIndex(Real x) const {
    if (SystemIndex > 0) return Wrap(x + OffsetIndex);
    return Wrap((IndexCount() - x) + OffsetIndex);
}

bool TGem::HasMirrorTwin(int f) const {
    return MirrorTwinAt(Index(f), Parts, Mirror);
}

bool TGem::MirrorTwinAt(Real index, int parts, bool mirror) const {
    if (!mirror) return false;
    const long long s = parts > 0 ? IndexCount() / parts : 0;
    if (s <= 0) return false; // no mirror line can be placed: treat every facet as on one
    const long long k = static_cast<long long>(RoundEven(2 * index));
    return k % s != 0;
}

Real TGem::IndexFromNormal(const Vector3& normal) const {
    return Wrap(std::atan2(-normal.y, -normal.x) * DegPerRad * IndexCount() / 360);
}

Real TGem::FacetAngle(int f) const {
    return IsCrown() ? ArcCosDeg(-NormalZ(f)) : ArcCosDeg(NormalZ(f));
}

Real TGem::IndexAzimuth(Real index) const {
    return TwoPi * index / IndexCount();
}

std::optional<Plane> TGem::PlaneFromAngleIndexDist(Real angle, Real index, Real dist) const {
    if (!(dist > 0)) return std::nullopt;
    Real a = IsPavilion() ? 180 - angle : angle;
    if (a < 0) a += 180;
    a *= RadPerDeg;
    const Real phi = IndexAzimuth(index);
    const Vector3 outward{std::sin(a) * std::cos(phi), std::sin(a) * std::sin(phi), std::cos(a)};
    return Plane{-outward, -dist};
}

std::optional<Plane> TGem::PlaneFromAngleIndexPoint(Real angle, Real index, const Vector3& point) const {
    const Real g = (IsCrown() ? angle : 180 - angle) * RadPerDeg;
    const Real phi = IndexAzimuth(index);
    const Vector3 u{std::sin(g) * std::cos(phi), std::sin(g) * std::sin(phi), std::cos(g)};
    if (std::fabs(u.x) + std::fabs(u.y) + std::fabs(u.z) < DegenerateTolerance) return std::nullopt;
    const Real t = Dot(u, point);
    if (t <= 0) return std::nullopt;
    return Plane{-u, -t};
}

std::optional<Plane> TGem::PlaneFromIndexTwoPoints(Real index, const Vector3& a, const Vector3& b) const {
    const Real phi = IndexAzimuth(index);
    const Vector3 d = a - b;
    const Real w = d.x * std::cos(phi) + d.y * std::sin(phi);
    if (std::fabs(w) + std::fabs(d.z) < DegenerateTolerance) return std::nullopt;
    const Real halfPi = TwoPi / 4;
    Real theta = halfPi;
    if (w != 0) {
        theta = std::atan(-d.z / w);
        if (theta < 0) theta = halfPi - theta;
    }
    if (IsPavilion()) theta = halfPi - theta;
    const Vector3 u{std::cos(phi) * std::sin(theta), std::sin(phi) * std::sin(theta), std::cos(theta)};
    const Real t = Dot(u, a);
    if (IsCrown() ? t <= 0 : t >= 0) return std::nullopt;
    return t > 0 ? Plane{-u, -t} : Plane{u, t};
}

std::optional<Plane> TGem::PlaneFromThreePoints(const Vector3& a, const Vector3& b, const Vector3& c) const {
    const Vector3 n = Cross(b - a, c - a);
    const Real lengthSquared = Dot(n, n);
    if (lengthSquared < DegenerateTolerance) return std::nullopt;
    Vector3 normal = (1 / std::sqrt(lengthSquared)) * n;
    Real dist = Dot(normal, a);
    if (normal.z > 0) {
        normal = -normal;
        dist = -dist;
    }
    if (IsCrown() ? dist >= 0 : dist <= 0) return std::nullopt;
    if (dist > 0) {
        normal = -normal;
        dist = -dist;
    }
    return Plane{normal, dist};
}

// Throws before anything changes when the group (and a tail moved out for it) would not fit.
void TGem::CheckGroupFits(int first, const Vector3& normal) const {
    long long parts = Parts;
    bool mirror = Mirror;
    long long tailGrowth = 0;
    if (ModifyModeOn) {
        parts = GroupParts(ModifyGroup);
        mirror = SymChar(ModifyGroup) == 'm' || SymChar(ModifyGroup) == 's';
        if (SymChar(ModifyGroup) == 's') tailGrowth = parts;
        if (FacetCount + tailGrowth > MaxFacets)
            ThrowRangeError("Facets", FacetCount + tailGrowth, -2, MaxFacets);
    }
    const bool twins = MirrorTwinAt(IndexFromNormal(normal), static_cast<int>(parts), mirror);
    const long long last = first + (twins ? 2 : 1) * parts - 1;
    if (last > MaxFacets) ThrowRangeError("Facets", last, -2, MaxFacets);
}

void TGem::CutFacetGroup(int first, const Plane& plane) {
    PlaceFacetGroup(first, plane);
    Recompute();
}

void TGem::PlaceFacetGroup(int first, const Plane& plane) {
    Vector3 n = plane.Normal;
    Real d = plane.Dist;
    if (d > 0) {
        n = -n;
        d = -d;
    }

    if (!IsSoundPlane(n, d))
        throw RangeError("Range error: the plane has no unit normal or lies beyond the engine's reach");

    if (IsHorizontalNormal(n)) { // replaces the bounding plane
        Facet& bound = Facets[-1];
        bound.Normal = IsCrown() ? Vector3{0, 0, -1} : Vector3{0, 0, 1};
        bound.Dist = d;
        bound.Index = 0;
        bound.CornerCount = 0;
        return;
    }

    if (Parts < 1) throw RangeError("Range error: a facet group needs at least one identical part");
    CheckGroupFits(first, n);
    MoveTailOut();

    Facet& head = Facets[first];
    head.Normal = n;
    head.Dist = d;
    head.Index = IndexFromNormal(n);
    head.ShownIndex = ShownIndex(head.Index);
    head.GroupParts = Parts;
    head.SymChar = Mirror ? 's' : ' ';
    const bool twins = HasMirrorTwin(first);
    if (twins) head.SymChar = 'm';

    const Real angleStep = TwoPi / Parts;
    const Real c = std::cos(angleStep), s = std::sin(angleStep);
    const Real indexStep = static_cast<Real>(IndexCount()) / Parts;

    // Every further facet is its predecessor turned by one part.
    auto makeRotatedCopy = [&](int f) {
        const Facet& previous = Facets[f - 1];
        Facet& facet = Facets[f];
        const Real x = previous.Normal.x, y = previous.Normal.y;
        facet.Normal = {x * c - y * s, y * c + x * s, Facets[first].Normal.z};
        facet.Dist = Facets[first].Dist;
        facet.Index = Wrap(previous.Index + indexStep);
        facet.ShownIndex = ShownIndex(facet.Index);
        facet.GroupParts = 0;
        facet.SymChar = Facets[first].SymChar;
    };

    for (int f = first + 1; f <= first + Parts - 1; ++f)
        makeRotatedCopy(f);
    FacetCount = first + Parts - 1;

    if (twins) {
        const int twin = first + Parts;
        Facet& mirrored = Facets[twin];
        const Facet& original = Facets[first];
        mirrored.Normal = {original.Normal.x, -original.Normal.y, original.Normal.z};
        mirrored.Dist = original.Dist;
        mirrored.Index = Wrap(IndexCount() - original.Index);
        mirrored.ShownIndex = ShownIndex(mirrored.Index);
        mirrored.GroupParts = 0;
        mirrored.SymChar = 'm';
        for (int f = twin + 1; f <= first + 2 * Parts - 1; ++f)
            makeRotatedCopy(f);
        FacetCount = first + 2 * Parts - 1;
    }

    PutTailBack();
}
