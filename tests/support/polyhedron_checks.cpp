#include "tests/support/polyhedron_checks.h"

#include "gem/reach.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <sstream>

namespace {
constexpr Real SolveTolerance = 1e-12;
constexpr Real OnPlane = 1e-6;
constexpr Real MergeMargin = 1.0;

bool Solve3(const Vector3& a, Real da, const Vector3& b, Real db, const Vector3& c, Real dc, Vector3& p) {
    const Vector3 bc = Cross(b, c);
    const Real det = Dot(a, bc);
    if (std::fabs(det) < SolveTolerance) return false;
    p = (1 / det) * (da * bc + db * Cross(c, a) + dc * Cross(a, b));
    return true;
}

bool Inside(const TGem& gem, const Vector3& p, Real tolerance) {
    for (int l = -1; l <= gem.FacetCount; ++l)
        if (Dot(gem.Facets[l].Normal, p) < gem.Facets[l].Dist - tolerance) return false;
    return true;
}

Real PlaneGap(const TGem& gem, int f, const Vector3& p) {
    return std::fabs(Dot(gem.Facets[f].Normal, p) - gem.Facets[f].Dist);
}

std::string Describe(const Vector3& p) {
    std::ostringstream out;
    out << "(" << static_cast<double>(p.x) << ", " << static_cast<double>(p.y) << ", "
        << static_cast<double>(p.z) << ")";
    return out.str();
}
} // namespace

std::vector<Vector3> TrueVertices(const TGem& gem) {
    std::vector<Vector3> vertices;
    for (int i = -1; i <= gem.FacetCount; ++i)
        for (int j = i + 1; j <= gem.FacetCount; ++j)
            for (int k = j + 1; k <= gem.FacetCount; ++k) {
                Vector3 p;
                const Facet &a = gem.Facets[i], &b = gem.Facets[j], &c = gem.Facets[k];
                if (!Solve3(a.Normal, a.Dist, b.Normal, b.Dist, c.Normal, c.Dist, p)) continue;
                if (!Inside(gem, p, 1e-7)) continue;
                bool known = false;
                for (const Vector3& v : vertices)
                    if (ManhattanDistance(v, p) < 1e-6) known = true;
                if (!known) vertices.push_back(p);
            }
    return vertices;
}

bool HasNoMergedPoints(const TGem& gem) {
    const auto vertices = TrueVertices(gem);
    for (std::size_t i = 0; i < vertices.size(); ++i)
        for (std::size_t j = i + 1; j < vertices.size(); ++j)
            if (ManhattanDistance(vertices[i], vertices[j]) < MergeMargin) return false;
    return true;
}

std::vector<std::string> CheckInvariants(const TGem& gem, Real tolerance) {
    std::vector<std::string> faults;
    for (int p = 1; p <= gem.PointCount; ++p)
        if (!Inside(gem, gem.Points[p].Position, tolerance))
            faults.push_back("point " + std::to_string(p) + " " + Describe(gem.Points[p].Position) +
                             " lies outside the stone");
    for (int e = 1; e <= gem.EdgeCount; ++e) {
        const FacetEdge& edge = gem.Edges[e];
        if (edge.PointA == edge.PointB) faults.push_back("edge " + std::to_string(e) + " has one point");
        for (int end : {edge.PointA, edge.PointB})
            for (int f : {edge.FacetA, edge.FacetB})
                if (PlaneGap(gem, f, gem.Points[end].Position) > tolerance)
                    faults.push_back("edge " + std::to_string(e) + " end " + std::to_string(end) +
                                     " is off facet " + std::to_string(f));
    }
    for (int f = -1; f <= gem.FacetCount; ++f) {
        const Facet& facet = gem.Facets[f];
        if (facet.CornerCount == 0) continue;
        if (facet.CornerCount < 4 || facet.Corners[1] != facet.Corners[facet.CornerCount])
            faults.push_back("facet " + std::to_string(f) + " polygon is not closed");
    }
    return faults;
}

std::vector<std::string> CheckExactPolyhedron(const TGem& gem) {
    std::vector<std::string> faults = CheckInvariants(gem, OnPlane);
    for (int p = 1; p <= gem.PointCount; ++p) {
        int planes = 0;
        for (int f = -1; f <= gem.FacetCount; ++f)
            if (PlaneGap(gem, f, gem.Points[p].Position) < OnPlane) ++planes;
        if (planes < 3)
            faults.push_back("point " + std::to_string(p) + " lies on " + std::to_string(planes) + " planes");
    }
    const auto vertices = TrueVertices(gem);
    if (static_cast<int>(vertices.size()) != gem.PointCount)
        faults.push_back("corner count " + std::to_string(gem.PointCount) + " differs from the true " +
                         std::to_string(vertices.size()));
    int withPolygon = 0;
    for (int f = -1; f <= gem.FacetCount; ++f)
        if (gem.Facets[f].CornerCount > 0) ++withPolygon;
    if (gem.PointCount - gem.EdgeCount + withPolygon != 2)
        faults.push_back("Euler: " + std::to_string(gem.PointCount) + " - " + std::to_string(gem.EdgeCount) +
                         " + " + std::to_string(withPolygon) + " != 2");
    return faults;
}

std::vector<std::string> CheckDesignNumbers(const TGem& gem) {
    std::vector<std::string> faults;
    auto fault = [&faults](const std::string& text) { faults.push_back(text); };
    if (gem.SystemIndex == 0 || gem.SystemIndex == std::numeric_limits<std::int32_t>::min())
        return {"system index " + std::to_string(gem.SystemIndex)};
    const int teeth = gem.IndexCount();
    for (const auto& [name, parts] :
         {std::pair<const char*, int>{"Parts", gem.Parts}, {"DesignParts", gem.DesignParts}})
        if (parts < 1 || parts > teeth) fault(std::string(name) + " " + std::to_string(parts));
    if (gem.GemType != 'c' && gem.GemType != 'p') fault("type " + std::string(1, gem.GemType));
    if (gem.FacetCount < 0 || gem.FacetCount > MaxFacets)
        return {"facet count " + std::to_string(gem.FacetCount)};
    for (int f = -1; f <= gem.FacetCount; ++f) {
        const Facet& facet = gem.Facets[f];
        const std::string name = "facet " + std::to_string(f);
        if (!IsSoundPlane(facet.Normal, facet.Dist))
            fault(name + " plane " + Describe(facet.Normal) + " " +
                  std::to_string(static_cast<double>(facet.Dist)));
        if (!std::isfinite(facet.Index) || !std::isfinite(facet.ShownIndex)) fault(name + " index");
        if (f >= 1 && (facet.GroupParts < 0 || facet.GroupParts > teeth))
            fault(name + " group parts " + std::to_string(facet.GroupParts));
    }
    if (gem.FacetCount >= 1 && gem.GroupParts(1) == 0) fault("facet 1 starts no group");
    if (gem.EdgeCount < 0 || gem.EdgeCount > MaxEdges || gem.PointCount < 0 || gem.PointCount > MaxPoints)
        return {"edge or point count out of the tables"};
    for (int p = gem.OutlineFirstPoint; p <= gem.PointCount; ++p) {
        const Vector3& v = gem.Points[p].Position;
        if (!std::isfinite(v.x) || !std::isfinite(v.y) || !std::isfinite(v.z))
            fault("point " + std::to_string(p) + " " + Describe(v));
    }
    for (int e = gem.OutlineFirstEdge; e <= 0; ++e) {
        const FacetEdge& edge = gem.Edges[e];
        for (int end : {edge.PointA, edge.PointB})
            if (end < gem.OutlineFirstPoint || end > 0)
                fault("outline edge " + std::to_string(e) + " end " + std::to_string(end));
        if (!std::isfinite(edge.OutlineIndex)) fault("outline edge " + std::to_string(e) + " index");
    }
    return faults;
}

Real IndependentVolume(const TGem& gem) {
    const std::vector<Vector3> vertices = TrueVertices(gem);
    std::vector<int> planes; // one facet of every distinct plane
    for (int f = -1; f <= gem.FacetCount; ++f) {
        bool seen = false;
        for (int g : planes)
            seen = seen || (ManhattanDistance(gem.Facets[f].Normal, gem.Facets[g].Normal) < OnPlane &&
                            std::fabs(gem.Facets[f].Dist - gem.Facets[g].Dist) < OnPlane);
        if (!seen) planes.push_back(f);
    }
    Real volume = 0;
    for (int f : planes) {
        std::vector<Vector3> face;
        for (const Vector3& v : vertices)
            if (PlaneGap(gem, f, v) < OnPlane) face.push_back(v);
        if (face.size() < 3) continue;
        Vector3 centre;
        for (const Vector3& v : face)
            centre = centre + (1 / static_cast<Real>(face.size())) * v;
        const Vector3 n = gem.Facets[f].Normal;
        const Vector3 u = face[0] - centre, w = Cross(n, u);
        std::sort(face.begin(), face.end(), [&](const Vector3& a, const Vector3& b) {
            return std::atan2(Dot(a - centre, w), Dot(a - centre, u)) <
                   std::atan2(Dot(b - centre, w), Dot(b - centre, u));
        });
        Vector3 twiceArea;
        for (std::size_t k = 0; k < face.size(); ++k)
            twiceArea = twiceArea + Cross(face[k] - centre, face[(k + 1) % face.size()] - centre);
        volume += std::sqrt(Dot(twiceArea, twiceArea)) / 2 * std::fabs(gem.Facets[f].Dist) / 3;
    }
    return volume;
}
