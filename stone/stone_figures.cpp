#include "stone/stone_figures.h"

#include "gem/girdle_band.h"
#include "gem/numtext.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr Real ChordTolerance = 1e-12L; // of the stone's size: the rounding of a corner

// The vertical extent of a vertical face at horizontal position u along it. An edge whose ends lie
// within `tolerance` along the face is upright and counts with both ends, so that corners rounded apart
// by the last bit do not hide the edge.
Real ChordAt(const Stone& stone, const StoneFace& face, const Vector3& along, Real u, Real tolerance) {
    Real low = INFINITY, high = -INFINITY;
    const std::size_t n = face.Corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vector3& p = stone.Corners[face.Corners[i]];
        const Vector3& q = stone.Corners[face.Corners[(i + 1) % n]];
        const Real up = Dot(p, along), uq = Dot(q, along);
        if (u < std::fmin(up, uq) - tolerance || u > std::fmax(up, uq) + tolerance) continue;
        const Real span = uq - up;
        const bool upright = std::fabs(span) <= tolerance;
        const Real t = upright ? 0 : std::clamp((u - up) / span, Real(0), Real(1));
        const Real z = p.z + t * (q.z - p.z);
        low = std::fmin(low, std::fmin(z, upright ? q.z : z));
        high = std::fmax(high, std::fmax(z, upright ? q.z : z));
    }
    return high > low ? high - low : 0;
}

// Thinnest and thickest girdle: the chords of every girdle face through each of its corners (a
// vertical convex polygon is thinnest at an end and thickest at a corner).
void GirdleThickness(const Stone& stone, StoneFigures& figures) {
    Real thin = INFINITY, thick = 0;
    const Real tolerance = ChordTolerance * stone.Size();
    for (const StoneFace& face : stone.Faces) {
        if (!face.Girdle) continue;
        const Vector3 n = face.FacePlane.Normal;
        Vector3 along{-n.y, n.x, 0};
        along = (1 / std::hypot(along.x, along.y)) * along;
        for (int c : face.Corners) {
            const Real chord = ChordAt(stone, face, along, Dot(stone.Corners[c], along), tolerance);
            thin = std::fmin(thin, chord);
            thick = std::fmax(thick, chord);
        }
    }
    figures.GirdleThin = std::isfinite(thin) ? thin : 0;
    figures.GirdleThick = thick;
}

Real TableWidth(const Stone& stone) {
    for (const StoneFace& face : stone.Faces) {
        if (face.Facet != -1 || face.Half != StoneHalf::Crown) continue;
        Real low = INFINITY, high = -INFINITY;
        for (int c : face.Corners) {
            low = std::fmin(low, stone.Corners[c].x);
            high = std::fmax(high, stone.Corners[c].x);
        }
        return high - low;
    }
    return 0;
}
} // namespace

StoneFigures FiguresOf(const Stone& stone, const TGem& design) {
    StoneFigures figures;
    figures.Width = stone.BoxMax.x - stone.BoxMin.x;
    figures.Length = stone.BoxMax.y - stone.BoxMin.y;
    figures.TotalDepth = stone.BoxMax.z - stone.BoxMin.z;
    figures.Volume = stone.Volume;
    figures.Table = TableWidth(stone);

    std::vector<BandFace> band;
    for (const StoneFace& face : stone.Faces) {
        band.push_back({&face.Corners, face.Girdle, face.FacePlane.Normal.z < 0});
        if (face.Girdle)
            ++figures.GirdleFacets;
        else
            ++(face.Half == StoneHalf::Crown ? figures.CrownFacets : figures.PavilionFacets);
    }
    std::tie(figures.GirdleBottom, figures.GirdleTop) = GirdleBand(stone.Corners, band);
    figures.CrownHeight = stone.BoxMax.z - figures.GirdleTop;
    figures.PavilionDepth = figures.GirdleBottom - stone.BoxMin.z;
    GirdleThickness(stone, figures);

    figures.SystemIndex = design.SystemIndex;
    figures.Parts = design.DesignParts;
    figures.Mirror = design.DesignMirror;
    return figures;
}

Real ThinnestGirdle(const Stone& stone) {
    StoneFigures figures;
    GirdleThickness(stone, figures);
    return figures.GirdleThin;
}

// ---- Girdle consistency ----

namespace {
struct Section {
    Real Width = 0, Length = 0;
};

// The half's section at the girdle plane: the face of its stone on facet 0.
Section GirdleSection(const TGem& half) {
    Stone stone;
    if (!MakeHalfStone(half, stone)) return {};
    for (const StoneFace& face : stone.Faces) {
        if (face.Facet != 0) continue;
        Vector3 low{INFINITY, INFINITY, 0}, high{-INFINITY, -INFINITY, 0};
        for (int c : face.Corners) {
            const Vector3& p = stone.Corners[c];
            low = {std::fmin(low.x, p.x), std::fmin(low.y, p.y), 0};
            high = {std::fmax(high.x, p.x), std::fmax(high.y, p.y), 0};
        }
        return {high.x - low.x, high.y - low.y};
    }
    return {};
}

std::string Percent(Real fraction) {
    return Trim(fixed(100 * fraction, 0, 1)) + "%";
}

// "the pavilion's girdle is 2.1% wider than the crown's", when the two differ by more than allowed.
void CompareExtent(Real crown, Real pavilion, Real allowed, const char* comparative,
                   std::vector<std::string>& findings) {
    if (std::fabs(crown - pavilion) <= allowed || crown <= 0 || pavilion <= 0) return;
    const bool pavilionLarger = pavilion > crown;
    const Real larger = std::fmax(crown, pavilion), smaller = std::fmin(crown, pavilion);
    findings.push_back(std::string("the ") + (pavilionLarger ? "pavilion" : "crown") + "'s girdle is " +
                       Percent(larger / smaller - 1) + " " + comparative + " than the " +
                       (pavilionLarger ? "crown" : "pavilion") + "'s");
}

// Girdle facets of one half without a facet of the same plane in the other.
void CompareGirdleFacets(const TGem& half, const TGem& other, Real allowed,
                         std::vector<std::string>& findings) {
    const std::string name = half.IsCrown() ? "crown" : "pavilion";
    const std::string otherName = other.IsCrown() ? "crown" : "pavilion";
    std::string lacking, further;
    for (int f = 1; f <= half.FacetCount; ++f) {
        if (!Near90(half.FacetAngle(f))) continue;
        bool same = false, parallel = false;
        for (int g = 1; g <= other.FacetCount && !same; ++g) {
            if (ManhattanDistance(half.Facets[f].Normal, other.Facets[g].Normal) > 1e-6L) continue;
            parallel = true;
            same = half.Dist(f) >= other.Dist(g) - allowed; // not further out than the other's
        }
        const std::string index = " " + Trim(NumberText(half.Facets[f].ShownIndex));
        if (!parallel)
            lacking += index;
        else if (!same)
            further += index;
    }
    if (!lacking.empty())
        findings.push_back("the " + name + " has girdle facets that the " + otherName + " lacks, at index" +
                           lacking);
    if (!further.empty())
        findings.push_back("the " + name + "'s girdle facets lie further out than the " + otherName +
                           "'s, at index" + further);
}
} // namespace

GirdleComparison CompareGirdles(const TGem& crown, const TGem& pavilion) {
    GirdleComparison comparison;
    const Section c = GirdleSection(crown), p = GirdleSection(pavilion);
    comparison.CrownWidth = c.Width;
    comparison.CrownLength = c.Length;
    comparison.PavilionWidth = p.Width;
    comparison.PavilionLength = p.Length;
    const Real allowed = GirdleAgreement * std::fmax(c.Width, p.Width);
    CompareExtent(c.Width, p.Width, allowed, "wider", comparison.Findings);
    CompareExtent(c.Length, p.Length, allowed, "longer", comparison.Findings);
    CompareGirdleFacets(crown, pavilion, allowed, comparison.Findings);
    CompareGirdleFacets(pavilion, crown, allowed, comparison.Findings);
    return comparison;
}
