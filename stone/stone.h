// The whole stone: a crown design and a pavilion design of one index gear put together, as the machine
// cuts it. It is the intersection of the half-spaces of every cut facet of both halves and of their two
// bounding planes (table and culet), without the girdle plane z = 0 that each half design carries;
// computed exactly (see gem/convex_polytope.h), closed and convex. A stone of one half alone is that
// half closed by the girdle plane, and says so.
//
// Coordinates are design units, z along the axis, the girdle plane at z = 0. Plane normals point into
// the stone (the stone keeps Dot(Normal, p) >= Dist), as in the half designs.
#pragma once

#include "gem/file_error.h"
#include "gem/gem.h"

#include <optional>
#include <string>
#include <vector>

enum class StoneHalf { Crown, Pavilion };

// A face of the stone and the facet that made it.
struct StoneFace {
    Plane FacePlane;
    StoneHalf Half = StoneHalf::Crown; // the half whose facet made it (a girdle facet in both: the crown)
    int Facet = 0;            // the facet's number in its half: -1 table or culet plane, 0 girdle plane
    int Group = 0;            // the first facet of its facet group (-1 and 0 for the bounding planes)
    int Tier = 0;             // its tier in its half, as the half's last GroupTiers numbered them
    bool Girdle = false;      // a vertical girdle facet
    std::vector<int> Corners; // counterclockwise seen from outside, first corner not repeated
};

// An edge between two faces: from CornerA to CornerB along the boundary of FaceA (so FaceB runs it
// from CornerB to CornerA).
struct StoneEdge {
    int CornerA = 0, CornerB = 0;
    int FaceA = 0, FaceB = 0;
};

struct Stone {
    std::vector<Vector3> Corners;
    std::vector<StoneEdge> Edges;
    std::vector<StoneFace> Faces;
    // Set when the stone was made from one half alone, closed by the girdle plane.
    std::optional<StoneHalf> SingleHalf;
    Vector3 BoxMin, BoxMax;
    Real Volume = 0;

    // The largest extent of the box: the scale of every tolerance on the stone.
    Real Size() const;
    bool Empty() const { return Faces.empty(); }
};

// Fills the stone's edges from its faces' corner lists.
void AddStoneEdges(Stone& stone);

// The whole stone of a crown and a pavilion. A failure, naming the halves and the reason and leaving
// `stone` empty, when the halves are of different gears, a half is of the wrong kind or the planes leave
// no stone (empty or open). The names label the halves in messages; empty, the halves' own file names
// stand in.
FileResult MakeStone(const TGem& crown, const TGem& pavilion, Stone& stone, const std::string& crownName = "",
                     const std::string& pavilionName = "");

// The stone of one half alone, closed by the girdle plane.
FileResult MakeHalfStone(const TGem& half, Stone& stone, const std::string& name = "");

// The stone of a design and its partner half, in either order; of the design alone when `partner` is null.
FileResult MakeStoneOf(const TGem& design, const TGem* partner, Stone& stone);

// Checks a made stone: every edge between two faces, Euler's V - E + F = 2, every corner inside
// every half-space of both halves within 1e-9 of the stone's size. Empty when all hold.
std::vector<std::string> StoneFaults(const Stone& stone, const std::vector<Plane>& planes);
// The half-spaces a stone of these halves is made from (either may be null for one half).
std::vector<Plane> StonePlanes(const TGem* crown, const TGem* pavilion);
