// The CAM preform: a pointed shape with the design's girdle outline, one face for every facet that
// touches the girdle, all faces meeting in one apex on the axis. Made into a second TGem.
#include "gem/gem.h"

#include <cmath>

namespace {
constexpr Real NoAngleYet = 500;
constexpr int RevealAttempts = 5;
constexpr Real RevealStep = 5;
constexpr Real TableFarOut = 1700; // moves the preform's table clear of the faces
constexpr Real FlatFace = 0.001L;  // a face flatter than this would be a horizontal plane

bool IsGirdle(const TGem& gem, int f) {
    return Near90(gem.FacetAngle(f));
}

// Where the facet's plane crosses the stone's axis.
Real AxisHeight(const TGem& gem, int f) {
    return std::fabs(gem.Dist(f) / gem.NormalZ(f));
}
} // namespace

bool TGem::FlattenForPreform() {
    Real smallest = NoAngleYet, largest = 0;
    for (int f = 1; f <= FacetCount; ++f) {
        if (IsGirdle(*this, f)) continue;
        const Real a = FacetAngle(f);
        smallest = std::fmin(smallest, a);
        largest = std::fmax(largest, a);
    }
    if (!(largest > smallest) || largest == 0 || smallest == NoAngleYet) return false;
    return ScaleAngles(smallest, largest);
}

void TGem::RevealGirdleFacets() {
    for (int attempt = 1; attempt <= RevealAttempts; ++attempt) {
        int girdle = 0, shown = 0;
        for (int f = 1; f <= FacetCount; ++f) {
            if (!IsGirdle(*this, f)) continue;
            ++girdle;
            if (Facets[f].CornerCount != 0) ++shown;
        }
        if (girdle == shown) return;
        ShiftAlongAxis(IsCrown() ? RevealStep : -RevealStep);
    }
}

int TGem::GirdleNeighbour(int e) const {
    const int a = Edges[e].FacetA, b = Edges[e].FacetB;
    if (a == 0 && b != 0) return IsGirdle(*this, b) ? NoGirdleNeighbour : b;
    if (b == 0 && a != 0) return IsGirdle(*this, a) ? NoGirdleNeighbour : a;
    if (IsGirdle(*this, a) && b != 0) return IsGirdle(*this, b) ? NoGirdleNeighbour : b;
    if (IsGirdle(*this, b) && a != 0) return IsGirdle(*this, a) ? NoGirdleNeighbour : a;
    return NoGirdleNeighbour;
}

void TGem::MarkGirdleNeighbours(FacetMarks& marks) const {
    for (int f = FacetMarks::Lowest; f <= FacetMarks::Highest; ++f)
        marks[f] = false;
    for (int e = 1; e <= EdgeCount; ++e) {
        const int f = GirdleNeighbour(e);
        if (f != NoGirdleNeighbour) marks[f] = true;
    }
}

void TGem::MakePreform(TGem& target) const {
    FacetMarks marks{"Preform marks"};
    MarkGirdleNeighbours(marks);

    // The apex: the axis height of the steepest marked facet (the first one of that angle).
    Real apex = 0, steepest = 0;
    for (int f = 1; f <= FacetCount; ++f) {
        if (!marks[f]) continue;
        const Real angle = std::fabs(FacetAngle(f));
        if (angle > steepest) {
            steepest = angle;
            if (AxisHeight(*this, f) > apex) apex = AxisHeight(*this, f);
        }
    }

    target.NewDesign(GemType, 1, SystemIndex, false, OffsetIndex, true);
    target.IsPreform = true;
    if (IsCrown())
        target.ShiftBoundingPlane(-TableFarOut);
    else
        apex = -apex;

    for (int f = 1; f <= FacetCount; ++f) {
        if (!marks[f]) continue;
        const Real h = AxisHeight(*this, f);
        const Real angle = std::atan(std::tan(FacetAngle(f) * RadPerDeg) * std::fabs(apex) / h) * DegPerRad;
        if (!std::isfinite(angle) || std::fabs(angle) < FlatFace) continue;
        const std::optional<Plane> face = target.PlaneFromAngleIndexPoint(angle, Index(f), {0, 0, apex});
        if (!face) continue;
        target.PlaceFacetGroup(target.FacetCount + 1, *face);
    }
    for (int f = 1; f <= FacetCount; ++f) {
        if (!IsGirdle(*this, f)) continue;
        target.PlaceFacetGroup(target.FacetCount + 1, Plane{Facets[f].Normal, Facets[f].Dist});
    }

    target.Recompute();
    target.Parts = Parts;
    target.Mirror = Mirror;
}
