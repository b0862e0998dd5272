#include "mesh/stone_mesh.h"

#include "gem/convex_polytope.h"
#include "gem/numtext.h"
#include "gem/range_error.h"
#include "stone/stone_figures.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace {
constexpr Real OnPlaneTolerance = 1e-9L;   // of the stone's size: a corner this near z = 0 lies on it
constexpr Real SamePlaneTolerance = 1e-9L; // normals (and distances, of the size) this near are one plane
// Of the size: corners nearer than this are one corner of the mesh. Published designs have meet points
// a billionth of the stone apart, which single-precision files and CAD tolerances cannot tell apart.
constexpr Real WeldTolerance = 1e-6L;
constexpr int ScaleRounds = 32; // a thickened stone's scale settles within a few rounds
constexpr Real ScaleAgreement = 1e-15L;
constexpr int WallTier = -1;

void CheckPositive(Real value, const char* what) {
    if (!(std::isfinite(value) && value > 0))
        throw RangeError(std::string(what) + " must be a positive finite number, not " + NumberText(value));
}

Real Length(const Vector3& v) {
    return std::sqrt(Dot(v, v));
}

Vector3 Centre(const std::vector<Vector3>& points) {
    Vector3 sum;
    for (const Vector3& p : points)
        sum = sum + p;
    return (1 / static_cast<Real>(points.size())) * sum;
}

struct Segment {
    Vector3 A, B;
};

// Where a face meets the girdle plane with a length: the segment between its farthest meeting points.
std::optional<Segment> CrossingAtGirdle(const Stone& stone, const StoneFace& face, Real tolerance) {
    std::vector<Vector3> points;
    const std::size_t n = face.Corners.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Vector3& p = stone.Corners[face.Corners[i]];
        const Vector3& q = stone.Corners[face.Corners[(i + 1) % n]];
        if (std::fabs(p.z) <= tolerance)
            points.push_back({p.x, p.y, 0});
        else if ((p.z > tolerance && q.z < -tolerance) || (p.z < -tolerance && q.z > tolerance)) {
            const Real t = p.z / (p.z - q.z);
            const Vector3 cut = p + t * (q - p);
            points.push_back({cut.x, cut.y, 0});
        }
    }
    if (points.size() < 2) return std::nullopt;
    auto farthestFrom = [&points](const Vector3& from) {
        Vector3 best = from;
        for (const Vector3& p : points)
            if (Length(p - from) > Length(best - from)) best = p;
        return best;
    };
    const Vector3 b = farthestFrom(points.front());
    const Vector3 a = farthestFrom(b);
    if (Length(b - a) <= tolerance) return std::nullopt;
    return Segment{a, b};
}

bool SamePlane(const Plane& p, const Plane& q, Real size) {
    return Length(p.Normal - q.Normal) <= SamePlaneTolerance &&
           std::fabs(p.Dist - q.Dist) <= SamePlaneTolerance * size;
}

// The upright planes that wall the girdle band where a slanted face crosses the girdle plane: each
// through that face's line at z = 0, facing the stone's inside.
std::vector<Plane> BandWalls(const Stone& stone) {
    const Real size = stone.Size();
    const Vector3 inside = Centre(stone.Corners);
    std::vector<Plane> walls;
    std::vector<Plane> upright;
    for (const StoneFace& face : stone.Faces)
        if (face.Girdle) upright.push_back(face.FacePlane);
    for (const StoneFace& face : stone.Faces) {
        const Real slope = std::fabs(face.FacePlane.Normal.z);
        if (face.Girdle || slope >= 1 - SamePlaneTolerance) continue;
        const auto crossing = CrossingAtGirdle(stone, face, OnPlaneTolerance * size);
        if (!crossing) continue;
        const Vector3 along = crossing->B - crossing->A;
        Plane wall{(1 / std::hypot(along.x, along.y)) * Vector3{-along.y, along.x, 0}, 0};
        wall.Dist = Dot(wall.Normal, crossing->A);
        if (Dot(wall.Normal, inside) < wall.Dist) wall = {-wall.Normal, -wall.Dist};
        bool known = false;
        for (const Plane& other : upright)
            known = known || SamePlane(wall, other, size);
        if (known) continue;
        walls.push_back(wall);
        upright.push_back(wall);
    }
    return walls;
}

// The band's height at its thinnest: 0 where a slanted face crosses the girdle plane (no band there).
Real BandThinnest(const Stone& stone) {
    return BandWalls(stone).empty() ? ThinnestGirdle(stone) : 0;
}

// The plane moved along the axis by `rise`.
Plane Raised(const Plane& plane, Real rise) {
    return {plane.Normal, plane.Dist + rise * plane.Normal.z};
}

bool IsGirdlePlane(const Stone& stone, const StoneFace& face) {
    return stone.SingleHalf && face.Facet == 0 && !face.Girdle;
}

Real ScaleFor(const Stone& stone, const MeshSize& size) {
    const Real extent = stone.BoxMax.x - stone.BoxMin.x;
    CheckPositive(extent, "The stone's width");
    if (size.WidthMm) {
        CheckPositive(*size.WidthMm, "A width");
        return *size.WidthMm / extent;
    }
    if (size.Carats) {
        if (!size.Of) throw RangeError("A weight in carats needs a material");
        return SizeForCarats(stone, *size.Carats, size.Of->SpecificGravity) / extent;
    }
    throw RangeError("No size given: a width in millimetres or a weight in carats");
}

// How far a triangle is from a sliver: twice its area over its longest side squared (0 for three
// corners on a line; about 0.87 for an equilateral triangle).
Real Roundness(const Vector3& a, const Vector3& b, const Vector3& c) {
    const Real longest = std::fmax(Dot(b - a, b - a), std::fmax(Dot(c - b, c - b), Dot(a - c, a - c)));
    return longest > 0 ? Length(Cross(b - a, c - a)) / longest : 0;
}

// Fans a face from the corner that makes its thinnest triangle roundest, or from a new corner at its
// centre when that does better (a face with corners on the straight line of their neighbours): thin
// triangles lose their direction in single-precision files.
void Triangulate(StoneMesh& mesh, int faceIndex) {
    const std::vector<int>& c = mesh.Faces[faceIndex].Corners;
    const std::size_t n = c.size();
    std::vector<Vector3> points;
    for (int corner : c)
        points.push_back(mesh.Corners[corner]);
    const Vector3 centre = Centre(points);
    Real centreRoundness = INFINITY;
    for (std::size_t i = 0; i < n; ++i)
        centreRoundness = std::fmin(centreRoundness, Roundness(centre, points[i], points[(i + 1) % n]));
    std::size_t apex = 0;
    Real best = -1;
    for (std::size_t a = 0; a < n; ++a) {
        Real worst = INFINITY;
        for (std::size_t k = 1; k + 1 < n; ++k)
            worst = std::fmin(worst, Roundness(points[a], points[(a + k) % n], points[(a + k + 1) % n]));
        if (worst > best) {
            best = worst;
            apex = a;
        }
    }
    if (best >= centreRoundness) {
        for (std::size_t k = 1; k + 1 < n; ++k)
            mesh.Triangles.push_back({{c[apex], c[(apex + k) % n], c[(apex + k + 1) % n]}, faceIndex});
        return;
    }
    const int middle = static_cast<int>(mesh.Corners.size());
    mesh.Corners.push_back(centre);
    for (std::size_t i = 0; i < n; ++i)
        mesh.Triangles.push_back({{middle, c[i], c[(i + 1) % n]}, faceIndex});
}

// Each corner's representative: the first corner of the chain of edges shorter than the tolerance it
// belongs to.
std::vector<int> WeldedCorners(const Stone& stone) {
    std::vector<int> root(stone.Corners.size());
    for (std::size_t c = 0; c < root.size(); ++c)
        root[c] = static_cast<int>(c);
    auto find = [&root](int c) {
        while (root[c] != c)
            c = root[c] = root[root[c]];
        return c;
    };
    const Real tolerance = WeldTolerance * stone.Size();
    for (const StoneEdge& edge : stone.Edges)
        if (Length(stone.Corners[edge.CornerA] - stone.Corners[edge.CornerB]) < tolerance) {
            const int a = find(edge.CornerA), b = find(edge.CornerB);
            root[std::max(a, b)] = std::min(a, b);
        }
    for (std::size_t c = 0; c < root.size(); ++c)
        root[c] = find(static_cast<int>(c));
    return root;
}

// The face's corners after welding, a corner repeated in turn taken once.
std::vector<int> WeldedFace(const std::vector<int>& corners, const std::vector<int>& weld) {
    std::vector<int> welded;
    for (int c : corners)
        if (welded.empty() || welded.back() != weld[c]) welded.push_back(weld[c]);
    while (welded.size() > 1 && welded.back() == welded.front())
        welded.pop_back();
    return welded;
}

StoneMesh MeshOf(const Stone& stone, Real scale) {
    StoneMesh mesh;
    mesh.Scale = scale;
    const std::vector<int> weld = WeldedCorners(stone);
    std::vector<int> index(stone.Corners.size(), -1);
    for (std::size_t c = 0; c < stone.Corners.size(); ++c) {
        if (weld[c] != static_cast<int>(c)) continue;
        index[c] = static_cast<int>(mesh.Corners.size());
        mesh.Corners.push_back(scale * stone.Corners[c]);
    }
    for (const StoneFace& face : stone.Faces) {
        std::vector<int> corners = WeldedFace(face.Corners, weld);
        if (corners.size() < 3) continue; // a face smaller than the tolerance
        for (int& c : corners)
            c = index[c];
        mesh.Faces.push_back({face.Half, face.Tier, face.Girdle, -face.FacePlane.Normal, corners});
    }
    for (std::size_t f = 0; f < mesh.Faces.size(); ++f)
        Triangulate(mesh, static_cast<int>(f));
    mesh.WidthMm = scale * (stone.BoxMax.x - stone.BoxMin.x);
    mesh.LengthMm = scale * (stone.BoxMax.y - stone.BoxMin.y);
    mesh.HeightMm = scale * (stone.BoxMax.z - stone.BoxMin.z);
    mesh.VolumeMm3 = stone.Volume * scale * scale * scale;
    return mesh;
}
} // namespace

Stone ThickenedStone(const Stone& stone, Real added) {
    if (!(std::isfinite(added) && added >= 0))
        throw RangeError("A girdle can only be thickened by a positive finite amount, not " +
                         NumberText(added));
    const Real rise = stone.SingleHalf ? added : added / 2;
    std::vector<Plane> planes;
    for (const StoneFace& face : stone.Faces) {
        if (face.Girdle || IsGirdlePlane(stone, face))
            planes.push_back(face.FacePlane);
        else
            planes.push_back(Raised(face.FacePlane, face.Half == StoneHalf::Crown ? rise : -rise));
    }
    const std::vector<Plane> walls = BandWalls(stone);
    planes.insert(planes.end(), walls.begin(), walls.end());

    const ConvexPolytope polytope = IntersectHalfSpaces(planes);
    if (!polytope.IsClosed()) throw RangeError("The stone with a thicker girdle does not close");
    Stone thick;
    thick.Corners = polytope.Corners;
    for (const PolytopeFace& face : polytope.Faces) {
        StoneFace made;
        if (face.Plane < static_cast<int>(stone.Faces.size()))
            made = stone.Faces[face.Plane];
        else
            made = {{}, StoneHalf::Crown, 0, 0, WallTier, true, {}};
        made.FacePlane = planes[face.Plane];
        made.Corners = face.Corners;
        thick.Faces.push_back(std::move(made));
    }
    AddStoneEdges(thick);
    PolytopeBox(polytope, thick.BoxMin, thick.BoxMax);
    thick.Volume = PolytopeVolume(polytope);
    thick.SingleHalf = stone.SingleHalf;
    return thick;
}

StoneMesh MakeStoneMesh(const Stone& stone, const MeshOptions& options) {
    if (stone.Empty()) throw RangeError("The stone is empty");
    if (!(std::isfinite(options.MinGirdleMm) && options.MinGirdleMm >= 0))
        throw RangeError("A minimum girdle must be a finite number of millimetres, 0 or more, not " +
                         NumberText(options.MinGirdleMm));
    Real scale = ScaleFor(stone, options.Size);
    const Real thin = BandThinnest(stone);
    // A half alone has its share of the whole stone's girdle.
    const Real wanted = stone.SingleHalf ? options.MinGirdleMm / 2 : options.MinGirdleMm;
    Stone made;
    Real added = 0;
    for (int round = 0; round < ScaleRounds && wanted / scale > thin; ++round) {
        added = wanted / scale - thin;
        made = ThickenedStone(stone, added);
        const Real next = ScaleFor(made, options.Size);
        const bool settled = std::fabs(next - scale) <= ScaleAgreement * scale;
        scale = next;
        if (settled) break;
    }
    const Stone& result = added > 0 ? made : stone;
    StoneMesh mesh = MeshOf(result, scale);
    mesh.GirdleAddedMm = added * scale;
    mesh.GirdleMm = BandThinnest(result) * scale;
    return mesh;
}

std::vector<Vector3> GirdleSection(const Stone& stone) {
    if (stone.Empty()) return {};
    const Real tolerance = OnPlaneTolerance * stone.Size();
    // A half alone: its girdle plane face.
    for (const StoneFace& face : stone.Faces) {
        if (!IsGirdlePlane(stone, face)) continue;
        std::vector<Vector3> section;
        for (int c : face.Corners)
            section.push_back({stone.Corners[c].x, stone.Corners[c].y, 0});
        if (face.FacePlane.Normal.z > 0) std::reverse(section.begin(), section.end()); // seen from below
        return section;
    }
    // The stone's part below the girdle plane: its face on that plane, seen from above.
    std::vector<Plane> planes;
    for (const StoneFace& face : stone.Faces)
        planes.push_back(face.FacePlane);
    planes.push_back({{0, 0, -1}, 0});
    const ConvexPolytope below = IntersectHalfSpaces(planes);
    if (!below.IsClosed()) return {};
    for (const PolytopeFace& face : below.Faces) {
        bool onPlane = true;
        for (int c : face.Corners)
            onPlane = onPlane && std::fabs(below.Corners[c].z) <= tolerance;
        if (!onPlane || planes[face.Plane].Normal.z >= 0) continue;
        std::vector<Vector3> section;
        for (int c : face.Corners)
            section.push_back({below.Corners[c].x, below.Corners[c].y, 0});
        return section;
    }
    return {};
}

std::vector<Vector3> GirdleOutlineMm(const Stone& stone, Real widthMm) {
    MeshSize size;
    size.WidthMm = widthMm;
    const Real scale = ScaleFor(stone, size);
    std::vector<Vector3> outline = GirdleSection(stone);
    for (Vector3& p : outline)
        p = scale * p;
    return outline;
}
