#include "stone/stone.h"

#include "gem/convex_polytope.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>

namespace {
constexpr Real InsideTolerance = 1e-9L; // of the stone's size: how far a corner may stand outside a plane

// Where a plane of the stone comes from.
struct PlaneOrigin {
    StoneHalf Half;
    int Facet;
};

std::string HalfWord(StoneHalf half) {
    return half == StoneHalf::Crown ? "crown" : "pavilion";
}

std::string Label(const TGem& gem, const std::string& name, StoneHalf half) {
    if (!name.empty()) return name;
    if (!gem.FileName.empty()) return gem.FileName;
    return "the " + HalfWord(half);
}

// Table (or culet), then every cut facet; the girdle plane only for a half on its own.
void AddHalf(const TGem& gem, StoneHalf half, bool withGirdlePlane, std::vector<Plane>& planes,
             std::vector<PlaneOrigin>& origins) {
    for (int f = -1; f <= gem.FacetCount; ++f) {
        if (f == 0 && !withGirdlePlane) continue;
        planes.push_back({gem.Facets[f].Normal, gem.Facets[f].Dist});
        origins.push_back({half, f});
    }
}

FileResult Build(const TGem* crown, const TGem* pavilion, Stone& stone, const std::string& label) {
    std::vector<Plane> planes;
    std::vector<PlaneOrigin> origins;
    const bool single = crown == nullptr || pavilion == nullptr;
    if (crown) AddHalf(*crown, StoneHalf::Crown, single, planes, origins);
    if (pavilion) AddHalf(*pavilion, StoneHalf::Pavilion, single, planes, origins);

    const ConvexPolytope polytope = IntersectHalfSpaces(planes);
    switch (polytope.Result) {
    case ConvexPolytope::Outcome::Closed:
        break;
    case ConvexPolytope::Outcome::Empty:
        return FileResult::Failure(label + ": the planes leave no stone (their intersection is empty)");
    case ConvexPolytope::Outcome::Open:
        return FileResult::Failure(label + ": the planes leave no stone (their intersection is open)");
    case ConvexPolytope::Outcome::Unresolved:
        return FileResult::Failure(label + ": the planes meet too nearly tangent to make a stone");
    }

    stone.Corners = polytope.Corners;
    for (const PolytopeFace& face : polytope.Faces) {
        const PlaneOrigin origin = origins[face.Plane];
        const TGem& gem = origin.Half == StoneHalf::Crown ? *crown : *pavilion;
        StoneFace made;
        made.FacePlane = planes[face.Plane];
        made.Half = origin.Half;
        made.Facet = origin.Facet;
        const std::optional<TGem::FacetRange> group =
            origin.Facet > 0 ? gem.GroupRange(origin.Facet) : std::nullopt;
        made.Group = group ? group->First : origin.Facet;
        made.Tier = gem.Facets[origin.Facet].TierNo;
        made.Girdle = origin.Facet > 0 && Near90(gem.FacetAngle(origin.Facet));
        made.Corners = face.Corners;
        stone.Faces.push_back(std::move(made));
    }
    AddStoneEdges(stone);
    PolytopeBox(polytope, stone.BoxMin, stone.BoxMax);
    stone.Volume = PolytopeVolume(polytope);
    if (single) stone.SingleHalf = crown ? StoneHalf::Crown : StoneHalf::Pavilion;
    return {};
}
} // namespace

void AddStoneEdges(Stone& stone) {
    std::map<std::pair<int, int>, std::size_t> edgeOf;
    for (std::size_t f = 0; f < stone.Faces.size(); ++f) {
        const std::vector<int>& corners = stone.Faces[f].Corners;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const int a = corners[i], b = corners[(i + 1) % corners.size()];
            const auto key = std::minmax(a, b);
            const auto [it, added] = edgeOf.try_emplace({key.first, key.second}, stone.Edges.size());
            if (added)
                stone.Edges.push_back({a, b, static_cast<int>(f), -1});
            else
                stone.Edges[it->second].FaceB = static_cast<int>(f);
        }
    }
}

Real Stone::Size() const {
    return std::fmax(BoxMax.x - BoxMin.x, std::fmax(BoxMax.y - BoxMin.y, BoxMax.z - BoxMin.z));
}

FileResult MakeStone(const TGem& crown, const TGem& pavilion, Stone& stone, const std::string& crownName,
                     const std::string& pavilionName) {
    stone = Stone{};
    const std::string crownLabel = Label(crown, crownName, StoneHalf::Crown);
    const std::string pavilionLabel = Label(pavilion, pavilionName, StoneHalf::Pavilion);
    if (!crown.IsCrown()) return FileResult::Failure(crownLabel + " is a pavilion where a crown is expected");
    if (!pavilion.IsPavilion())
        return FileResult::Failure(pavilionLabel + " is a crown where a pavilion is expected");
    if (crown.IndexCount() != pavilion.IndexCount())
        return FileResult::Failure("The halves are cut on different gears: " + crownLabel + " on " +
                                   std::to_string(crown.IndexCount()) + " teeth, " + pavilionLabel + " on " +
                                   std::to_string(pavilion.IndexCount()));
    return Build(&crown, &pavilion, stone, crownLabel + " and " + pavilionLabel);
}

FileResult MakeHalfStone(const TGem& half, Stone& stone, const std::string& name) {
    stone = Stone{};
    const StoneHalf which = half.IsCrown() ? StoneHalf::Crown : StoneHalf::Pavilion;
    const std::string label = Label(half, name, which);
    return half.IsCrown() ? Build(&half, nullptr, stone, label) : Build(nullptr, &half, stone, label);
}

FileResult MakeStoneOf(const TGem& design, const TGem* partner, Stone& stone) {
    if (!partner) return MakeHalfStone(design, stone);
    return design.IsCrown() ? MakeStone(design, *partner, stone) : MakeStone(*partner, design, stone);
}

std::vector<Plane> StonePlanes(const TGem* crown, const TGem* pavilion) {
    std::vector<Plane> planes;
    std::vector<PlaneOrigin> origins;
    const bool single = crown == nullptr || pavilion == nullptr;
    if (crown) AddHalf(*crown, StoneHalf::Crown, single, planes, origins);
    if (pavilion) AddHalf(*pavilion, StoneHalf::Pavilion, single, planes, origins);
    return planes;
}

std::vector<std::string> StoneFaults(const Stone& stone, const std::vector<Plane>& planes) {
    std::vector<std::string> faults;
    for (const StoneEdge& edge : stone.Edges)
        if (edge.FaceB < 0)
            faults.push_back("edge " + std::to_string(edge.CornerA) + "-" + std::to_string(edge.CornerB) +
                             " has one face");
    const long long euler = static_cast<long long>(stone.Corners.size()) -
                            static_cast<long long>(stone.Edges.size()) +
                            static_cast<long long>(stone.Faces.size());
    if (euler != 2) faults.push_back("V - E + F = " + std::to_string(euler));
    const Real tolerance = InsideTolerance * stone.Size();
    for (std::size_t c = 0; c < stone.Corners.size(); ++c)
        for (std::size_t p = 0; p < planes.size(); ++p)
            if (Dot(planes[p].Normal, stone.Corners[c]) - planes[p].Dist < -tolerance)
                faults.push_back("corner " + std::to_string(c) + " lies outside plane " + std::to_string(p));
    return faults;
}
