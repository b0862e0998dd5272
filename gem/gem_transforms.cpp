// Whole-design transforms that rewrite the facet planes: rounding, rotation, the bounding plane,
// common angle scaling, and the view rotation of the drawing.
#include "gem/gem.h"
#include "gem/numtext.h"
#include "gem/reach.h"

#include <cmath>
#include <vector>

namespace {
constexpr Real MinBoundingHeight = 1;   // a table or bottom at or below the girdle goes here
constexpr Real MinBoundingDistance = 5; // the bounding plane stays further than this from the girdle
constexpr Real SourceAngleTolerance = 0.1L;

using Matrix = Real[3][3];

void Multiply(const Matrix& a, const Matrix& b, Matrix& out) {
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            out[r][c] = a[r][0] * b[0][c] + a[r][1] * b[1][c] + a[r][2] * b[2][c];
}
} // namespace

void TGem::RoundIndices() {
    for (int i = 1; i <= FacetCount; ++i) {
        const Real a = RoundEven(10 * FacetAngle(i)) / 10 * RadPerDeg;
        const Real k = RoundEven(Index(i));
        const Real phi = IndexAzimuth(k);
        const Real z = IsCrown() ? -std::cos(a) : std::cos(a);
        Facets[i].Normal = {-std::sin(a) * std::cos(phi), -std::sin(a) * std::sin(phi), z};
        Facets[i].Index = Wrap(k); // an index rounded up to IndexCount is index 0
        Facets[i].ShownIndex = ShownIndex(Facets[i].Index);
    }
    Recompute();
}

void TGem::RotateByIndex(int k) {
    const Real theta = IndexAzimuth(k);
    const Real c = std::cos(theta), s = std::sin(theta);
    for (int i = 1; i <= FacetCount; ++i) {
        Facet& facet = Facets[i];
        const Real x = facet.Normal.x, y = facet.Normal.y;
        facet.Normal.x = c * x - s * y;
        facet.Normal.y = c * y + s * x;
        facet.Index = Wrap(facet.Index + k);
        facet.ShownIndex = ShownIndex(facet.Index);
    }
    Recompute();
}

void TGem::SetBoundingPlane(Real h) {
    if (!(h > 0)) h = MinBoundingHeight;
    h = std::fmin(h, EngineReach);
    Facets[-1].Dist = -h;
    Recompute();
}

void TGem::ShiftBoundingPlane(Real dh) {
    const Real moved = Facets[-1].Dist + dh;
    if (moved < -MinBoundingDistance && moved >= -EngineReach) Facets[-1].Dist = moved;
    Recompute();
}

bool TGem::HasCutAngle(Real angle) const {
    for (int i = 1; i <= FacetCount; ++i) {
        const Real a = FacetAngle(i);
        if (!Near90(a) && std::fabs(std::fabs(a) - std::fabs(angle)) < SourceAngleTolerance) return true;
    }
    return false;
}

bool TGem::ScaleAngles(Real target, Real source) {
    // Angles of 0 or 90 degrees have no usable tangent ratio.
    if (NearZero(target) || Near90(target) || NearZero(source) || Near90(source)) return false;
    if (!HasCutAngle(source)) return false;

    // Angles beyond 90 degrees give no positive ratio either: nothing sensible to scale by.
    const Real m = std::tan(target * RadPerDeg) / std::tan(source * RadPerDeg);
    if (!std::isfinite(m) || !(m > 0)) return false;

    // The new planes are made aside, so that nothing changes when one of them is unusable.
    std::vector<Plane> scaled;
    for (int j = 1; j <= FacetCount; ++j) {
        Plane plane{Facets[j].Normal, Facets[j].Dist};
        const Real a = FacetAngle(j);
        if (!Near90(a)) {
            const Real y = m * std::tan(a * RadPerDeg);
            const Real cosine = std::sqrt(1 / (y * y + 1));
            plane.Normal.z = IsCrown() ? -cosine : cosine;
            const Real sine = std::sin(a * RadPerDeg);
            if (sine != 0) { // a horizontal plane has no slope to scale
                const Real g = std::fabs(std::sin(std::atan(y)) / sine);
                plane.Normal.x *= g;
                plane.Normal.y *= g;
                plane.Dist *= g;
            }
        }
        // A facet flattened to a horizontal plane would turn into the table when the design is read.
        if (!IsSoundPlane(plane.Normal, plane.Dist) || IsHorizontalNormal(plane.Normal)) return false;
        scaled.push_back(plane);
    }
    if (!(std::fabs(Facets[-1].Dist * m) <= EngineReach)) return false;
    for (int j = 1; j <= FacetCount; ++j) {
        Facets[j].Normal = scaled[static_cast<std::size_t>(j - 1)].Normal;
        Facets[j].Dist = scaled[static_cast<std::size_t>(j - 1)].Dist;
    }
    Facets[-1].Dist *= m;
    Recompute();
    return true;
}

Matrix3 ViewRotation(Real a, Real b, Real c) {
    const Real sa = std::sin(a * RadPerDeg), ca = std::cos(a * RadPerDeg);
    const Real sb = std::sin(b * RadPerDeg), cb = std::cos(b * RadPerDeg);
    const Real sc = std::sin(c * RadPerDeg), cc = std::cos(c * RadPerDeg);
    const Matrix A = {{1, 0, 0}, {0, ca, sa}, {0, -sa, ca}};
    const Matrix B = {{cb, 0, -sb}, {0, 1, 0}, {sb, 0, cb}};
    const Matrix C = {{cc, sc, 0}, {-sc, cc, 0}, {0, 0, 1}};
    Matrix ab, abc;
    Multiply(A, B, ab);
    Multiply(ab, C, abc);
    Matrix3 view;
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            view[r][c] = abc[r][c];
    return view;
}

std::string TGem::TypeLetter() const {
    return IsCrown() ? "C" : "P";
}
