// Half-space intersection by clipping: a box that holds the polytope is cut by one plane after the
// other. Each cut classifies the corners as inside, on or outside the plane (within a tolerance
// relative to the size), cuts every edge that crosses it exactly once (both faces of the edge share
// the new corner), and closes the hole with the face whose edges are those the removed part leaves
// without a partner. Faces keep one orientation throughout, so the result is a closed surface by
// construction. A first pass from a cube at four times the engine's reach finds where the polytope
// lies; the second starts from a box just around it, so that the tolerance follows the polytope's own
// size.
#include "gem/convex_polytope.h"

#include "gem/reach.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory_resource>
#include <unordered_map>
#include <unordered_set>

namespace {
constexpr Real OpenReach = 4 * EngineReach; // a polytope that reaches this far is open
constexpr Real OnPlaneTolerance = 1e-12L;   // of the size: a corner this near a plane lies on it
constexpr Real BoxMargin = 0.01L;           // the second pass's box stands this far out (of the size)
constexpr int BoxPlane = -1;                // the faces of the starting box name no plane given

enum class Side : signed char { Out = -1, On = 0, In = 1 };

std::uint64_t EdgeKey(int a, int b) {
    return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32) | static_cast<std::uint32_t>(b);
}

class Clipper {
  public:
    Clipper(const Vector3& low, const Vector3& high);
    // Cuts off what lies outside the plane; false when nothing is left or the cut cannot be closed.
    bool Cut(const Plane& plane, int id);
    bool TouchesBox() const;
    bool Unresolved() const { return unresolved_; }
    ConvexPolytope Result(ConvexPolytope::Outcome outcome) const;
    Real Size() const;

  private:
    int CutPoint(int a, int b);
    bool CloseHole(std::vector<PolytopeFace>& faces, int id);
    void DropUnusedCorners();
    bool OnPlane(int c) const { return c >= static_cast<int>(side_.size()) || side_[c] == Side::On; }

    std::vector<Vector3> corners_;
    std::vector<PolytopeFace> faces_;
    // Working storage of one cut, kept to spare allocations: each corner's distance from the plane and
    // side of it, the new corner of each crossing edge, the edges along the plane, the faces and
    // corners kept. The tables' entries come from a pool that the next cut takes them from again.
    std::vector<Real> distance_;
    std::vector<Side> side_;
    std::pmr::unsynchronized_pool_resource pool_;
    std::pmr::unordered_map<std::uint64_t, int> cuts_{&pool_};
    std::pmr::unordered_set<std::uint64_t> along_{&pool_};
    std::pmr::unordered_map<int, int> next_{&pool_};
    std::vector<int> renumber_;
    std::vector<PolytopeFace> kept_;
    std::vector<Vector3> used_;
    bool unresolved_ = false;
};

Vector3 Normal(const Vector3& a, const Vector3& b, const Vector3& c) {
    return Cross(b - a, c - a);
}

Clipper::Clipper(const Vector3& low, const Vector3& high) {
    for (int c = 0; c < 8; ++c)
        corners_.push_back({c & 1 ? high.x : low.x, c & 2 ? high.y : low.y, c & 4 ? high.z : low.z});
    const int cycles[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4},
                              {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
    const Vector3 centre = Real(0.5) * (low + high);
    for (const auto& cycle : cycles) {
        PolytopeFace face{BoxPlane, {cycle[0], cycle[1], cycle[2], cycle[3]}};
        const Vector3 n = Normal(corners_[cycle[0]], corners_[cycle[1]], corners_[cycle[2]]);
        if (Dot(n, corners_[cycle[0]] - centre) < 0) std::reverse(face.Corners.begin(), face.Corners.end());
        faces_.push_back(face);
    }
}

Real Clipper::Size() const {
    Vector3 low{corners_[0]}, high{corners_[0]};
    for (const Vector3& p : corners_) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    return std::max(high.x - low.x, std::max(high.y - low.y, high.z - low.z));
}

int Clipper::CutPoint(int a, int b) {
    if (a > b) std::swap(a, b);
    const auto [it, added] = cuts_.try_emplace(EdgeKey(a, b), static_cast<int>(corners_.size()));
    if (added) {
        const Real t = distance_[a] / (distance_[a] - distance_[b]);
        corners_.push_back(corners_[a] + t * (corners_[b] - corners_[a]));
    }
    return it->second;
}

bool Clipper::Cut(const Plane& plane, int id) {
    const Real tolerance = OnPlaneTolerance * Size();
    const std::size_t count = corners_.size();
    distance_.resize(count);
    side_.resize(count);
    bool anyIn = false, anyOut = false;
    for (std::size_t v = 0; v < count; ++v) {
        distance_[v] = Dot(plane.Normal, corners_[v]) - plane.Dist;
        side_[v] = distance_[v] > tolerance ? Side::In : distance_[v] < -tolerance ? Side::Out : Side::On;
        anyIn = anyIn || side_[v] == Side::In;
        anyOut = anyOut || side_[v] == Side::Out;
    }
    if (!anyOut) return true; // the plane cuts nothing off
    if (!anyIn) {             // nothing with volume is left
        faces_.clear();
        return false;
    }

    cuts_.clear();
    std::vector<PolytopeFace>& kept = kept_;
    kept.clear();
    kept.reserve(faces_.size() + 1);
    for (PolytopeFace& face : faces_) {
        const auto outside = [&](int c) { return side_[c] == Side::Out; };
        if (std::none_of(face.Corners.begin(), face.Corners.end(), outside)) {
            kept.push_back(std::move(face));
            continue;
        }
        PolytopeFace clipped{face.Plane, {}};
        bool inside = false;
        const std::size_t n = face.Corners.size();
        clipped.Corners.reserve(n + 1); // a cut takes at least one corner off and puts two on
        for (std::size_t i = 0; i < n; ++i) {
            const int a = face.Corners[i], b = face.Corners[(i + 1) % n];
            inside = inside || side_[a] == Side::In;
            if (side_[a] != Side::Out) clipped.Corners.push_back(a);
            if ((side_[a] == Side::In && side_[b] == Side::Out) ||
                (side_[a] == Side::Out && side_[b] == Side::In))
                clipped.Corners.push_back(CutPoint(a, b));
        }
        // A face with no corner strictly inside lies along the cut and has no area left.
        if (inside && clipped.Corners.size() >= 3) kept.push_back(std::move(clipped));
    }
    if (!CloseHole(kept, id)) {
        unresolved_ = true;
        faces_.clear();
        return false;
    }
    faces_.swap(kept);
    DropUnusedCorners();
    return true;
}

// The new face: every edge along the cut whose partner edge went with the removed part, reversed,
// chained into one cycle. Fewer than three such edges: the plane only touches, and makes no face.
// Corners made by this cut lie on the plane.
bool Clipper::CloseHole(std::vector<PolytopeFace>& faces, int id) {
    along_.clear();
    for (const PolytopeFace& face : faces) {
        const std::size_t n = face.Corners.size();
        for (std::size_t i = 0; i < n; ++i) {
            const int a = face.Corners[i], b = face.Corners[(i + 1) % n];
            if (OnPlane(a) && OnPlane(b)) along_.insert(EdgeKey(a, b));
        }
    }
    next_.clear();
    for (const std::uint64_t key : along_) {
        const int a = static_cast<int>(key >> 32), b = static_cast<int>(key & 0xFFFFFFFFu);
        if (along_.count(EdgeKey(b, a))) continue;
        if (!next_.emplace(b, a).second) return false; // two ways on from one corner: no simple cycle
    }
    if (next_.empty()) return true;
    PolytopeFace hole{id, {}};
    hole.Corners.reserve(next_.size());
    int corner = next_.begin()->first;
    do {
        hole.Corners.push_back(corner);
        const auto it = next_.find(corner);
        if (it == next_.end() || hole.Corners.size() > next_.size()) return false;
        corner = it->second;
    } while (corner != hole.Corners.front());
    if (hole.Corners.size() != next_.size()) return false; // more than one cycle
    if (hole.Corners.size() >= 3) faces.push_back(std::move(hole));
    return true;
}

void Clipper::DropUnusedCorners() {
    renumber_.assign(corners_.size(), -1);
    std::vector<Vector3>& used = used_;
    used.clear();
    used.reserve(corners_.size());
    for (PolytopeFace& face : faces_)
        for (int& c : face.Corners) {
            if (renumber_[c] < 0) {
                renumber_[c] = static_cast<int>(used.size());
                used.push_back(corners_[c]);
            }
            c = renumber_[c];
        }
    corners_.swap(used);
}

bool Clipper::TouchesBox() const {
    return std::any_of(faces_.begin(), faces_.end(),
                       [](const PolytopeFace& f) { return f.Plane == BoxPlane; });
}

ConvexPolytope Clipper::Result(ConvexPolytope::Outcome outcome) const {
    ConvexPolytope polytope;
    polytope.Result = outcome;
    if (outcome == ConvexPolytope::Outcome::Closed) {
        polytope.Corners = corners_;
        polytope.Faces = faces_;
    }
    return polytope;
}
} // namespace

namespace {
ConvexPolytope IntersectInBox(const std::vector<Plane>& planes, const Vector3& low, const Vector3& high) {
    using Outcome = ConvexPolytope::Outcome;
    Clipper clipper(low, high);
    for (std::size_t i = 0; i < planes.size(); ++i)
        if (!clipper.Cut(planes[i], static_cast<int>(i)))
            return clipper.Result(clipper.Unresolved() ? Outcome::Unresolved : Outcome::Empty);
    return clipper.Result(clipper.TouchesBox() ? Outcome::Open : Outcome::Closed);
}
} // namespace

ConvexPolytope IntersectHalfSpaces(const std::vector<Plane>& planes) {
    const Vector3 far{OpenReach, OpenReach, OpenReach};
    const ConvexPolytope rough = IntersectInBox(planes, -far, far);
    if (!rough.IsClosed()) return rough;
    Vector3 low, high;
    PolytopeBox(rough, low, high);
    const Real margin = BoxMargin * std::fmax(high.x - low.x, std::fmax(high.y - low.y, high.z - low.z));
    const Vector3 pad{margin, margin, margin};
    ConvexPolytope exact = IntersectInBox(planes, low - pad, high + pad);
    if (exact.Result == ConvexPolytope::Outcome::Open) exact.Result = ConvexPolytope::Outcome::Unresolved;
    return exact;
}

Real PolytopeVolume(const ConvexPolytope& polytope) {
    if (polytope.Corners.empty()) return 0;
    Vector3 centre;
    for (const Vector3& p : polytope.Corners)
        centre = centre + p;
    centre = (Real(1) / static_cast<Real>(polytope.Corners.size())) * centre;
    Real six = 0;
    for (const PolytopeFace& face : polytope.Faces) {
        const Vector3 a = polytope.Corners[face.Corners[0]] - centre;
        for (std::size_t i = 1; i + 1 < face.Corners.size(); ++i)
            six += Dot(a, Cross(polytope.Corners[face.Corners[i]] - centre,
                                polytope.Corners[face.Corners[i + 1]] - centre));
    }
    return six / 6;
}

Real FaceArea(const ConvexPolytope& polytope, const PolytopeFace& face) {
    Vector3 sum;
    const Vector3& a = polytope.Corners[face.Corners[0]];
    for (std::size_t i = 1; i + 1 < face.Corners.size(); ++i)
        sum = sum + Normal(a, polytope.Corners[face.Corners[i]], polytope.Corners[face.Corners[i + 1]]);
    return std::sqrt(Dot(sum, sum)) / 2;
}

void PolytopeBox(const ConvexPolytope& polytope, Vector3& low, Vector3& high) {
    low = high = polytope.Corners.empty() ? Vector3{} : polytope.Corners[0];
    for (const Vector3& p : polytope.Corners) {
        low = {std::fmin(low.x, p.x), std::fmin(low.y, p.y), std::fmin(low.z, p.z)};
        high = {std::fmax(high.x, p.x), std::fmax(high.y, p.y), std::fmax(high.z, p.z)};
    }
}
