// TEMPORARY stand-ins until the model's picking and measurement queries land.
#include "world/sheet_queries.h"

#include "gem/numtext.h"

#include <cmath>

bool SheetAnyFacetShown(const TGem& gem) {
    for (int f = 1; f <= gem.FacetCount; ++f)
        if (gem.Facets[f].CornerCount != 0) return true;
    return false;
}

bool SheetFacetCentre(const TGem& gem, int f, Vector3& centre) {
    if (gem.Facets[f].CornerCount == 0) return false;
    Vector3 sum;
    int n = 0;
    for (int e = 1; e <= gem.EdgeCount; ++e) {
        const FacetEdge& edge = gem.Edges[e];
        if (edge.FacetA != f && edge.FacetB != f) continue;
        sum = sum + gem.Points[edge.PointA].Position + gem.Points[edge.PointB].Position;
        n += 2;
    }
    if (n == 0) return false;
    centre = (1.0L / n) * sum;
    return true;
}

bool SheetGirdleLabelAnchor(const TGem& gem, int f, Real& x, Real& y) {
    for (int e = 1; e <= gem.EdgeCount; ++e) {
        const FacetEdge& edge = gem.Edges[e];
        if (edge.FacetA != f && edge.FacetB != f) continue;
        const Vector3& a = gem.Points[edge.PointA].Position;
        const Vector3& b = gem.Points[edge.PointB].Position;
        if (std::fabs(a.z) >= 0.1L || std::fabs(b.z) >= 0.1L) continue;
        const Real mx = (a.x + b.x) / 2, my = (a.y + b.y) / 2;
        const Real r = std::sqrt(mx * mx + my * my);
        x = mx + 5 * mx / r;
        y = my + 5 * my / r;
        return true;
    }
    return false;
}

Real SheetLabelIndex(const TGem& gem, int f) {
    const Real a = gem.FacetAngle(f);
    if (NearZero(a) || Near180(a)) return gem.Index(f);
    return gem.ShownIndex(gem.Index(f));
}

bool SheetGroupRange(const TGem& gem, int f, int& first, int& last) {
    if (f == -1) {
        first = last = -1;
        return true;
    }
    int g = f;
    while (g >= 0 && gem.GroupParts(g) == 0)
        --g;
    if (g < 0) return false;
    int parts = gem.GroupParts(g);
    if (gem.SymChar(g) == 'm') parts *= 2;
    first = g;
    last = g + parts - 1;
    return true;
}

std::vector<SheetProportionLine> SheetProportions(const TGem& gem) {
    const Real w = gem.BoxMax.x - gem.BoxMin.x;
    const Real l = gem.BoxMax.y - gem.BoxMin.y;
    const Real h = gem.BoxMax.z - gem.BoxMin.z;
    const Real t = gem.TableMaxX - gem.TableMinX;
    const std::string letter = gem.IsCrown() ? "C" : "P";
    int facets = 0;
    for (int i = 1; i <= gem.TierCount; ++i) {
        const Real a = gem.FacetAngle(gem.Tiers[i].FirstFacet);
        if (!NearZero(a) && !Near180(a)) facets += gem.Tiers[i].MemberCount;
    }
    if (gem.HasTable()) ++facets;
    Real volume = 0;
    for (int f = -1; f <= gem.FacetCount; ++f) {
        if (f == 0) continue;
        const Facet& facet = gem.Facets[f];
        for (int j = 2; j <= facet.CornerCount - 2; ++j) {
            const Vector3& p1 = gem.Points[facet.Corners[1]].Position;
            const Vector3& pj = gem.Points[facet.Corners[j]].Position;
            const Vector3& pk = gem.Points[facet.Corners[j + 1]].Position;
            volume += std::fabs(Dot(p1, Cross(pj, pk))) / 6;
        }
    }
    return {
        {fixed(gem.DesignParts, 2, 0) + (gem.DesignParts == 1 ? " identical part" : " identical parts"),
         true},
        {"mirror-image symmetry", gem.DesignMirror},
        {"L/W = " + fixed(l / w, 4, 3), w != 0},
        {letter + "/W = " + fixed(h / w, 4, 3), w != 0},
        {letter + "/L  = " + fixed(h / l, 4, 3), true},
        {"T/W = " + fixed(t * 100 / w, 2, 0) + "%", gem.IsCrown() && gem.HasTable() && t >= 1},
        {fixed(facets, 2, 0) + (gem.IsCrown() ? " crown facets" : " pavilion facets"), true},
        {"system index used is " + fixed(gem.IndexCount(), 3, 0), true},
        {(gem.IsCrown() ? "Vol.Crown = " : "Vol.Pav. = ") + fixed(volume / (w * w * w), 7, 3) + " x W\xB3",
         w != 0},
    };
}

void SheetSetViewRotation(TGem& gem, Real a, Real b, Real c) {
    auto product = [](const Real x[3][3], const Real y[3][3], Real out[3][3]) {
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) {
                out[i][j] = 0;
                for (int k = 0; k < 3; ++k)
                    out[i][j] += x[i][k] * y[k][j];
            }
    };
    const Real ra = a * RadPerDeg, rb = b * RadPerDeg, rc = c * RadPerDeg;
    const Real ma[3][3] = {{1, 0, 0}, {0, std::cos(ra), std::sin(ra)}, {0, -std::sin(ra), std::cos(ra)}};
    const Real mb[3][3] = {{std::cos(rb), 0, -std::sin(rb)}, {0, 1, 0}, {std::sin(rb), 0, std::cos(rb)}};
    const Real mc[3][3] = {{std::cos(rc), std::sin(rc), 0}, {-std::sin(rc), std::cos(rc), 0}, {0, 0, 1}};
    Real ab[3][3];
    product(ma, mb, ab);
    product(ab, mc, gem.ViewMatrix);
}
