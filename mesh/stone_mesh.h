// A stone as a closed triangle mesh in millimetres, for 3D files: every face of the stone fanned into
// triangles that keep their face's half and tier, outward-oriented. The size comes from a width in
// millimetres or from a weight in carats of a material; the girdle may be thickened to a minimum.
#pragma once

#include "stone/materials.h"
#include "stone/stone.h"

#include <array>
#include <optional>
#include <vector>

// How large the exported stone is: WidthMm across x, or Carats of the material Of.
struct MeshSize {
    std::optional<Real> WidthMm;
    std::optional<Real> Carats;
    const Material* Of = nullptr;
};

struct MeshOptions {
    MeshSize Size;
    Real MinGirdleMm = 0; // the girdle's least thickness; 0 leaves it as designed
};

// A face of the mesh: the stone face it was made from, its outward unit normal and its corners,
// counterclockwise seen from outside.
struct MeshFace {
    StoneHalf Half = StoneHalf::Crown;
    int Tier = 0; // -1: a wall of the thickened girdle band, which no facet made
    bool Girdle = false;
    Vector3 Normal;
    std::vector<int> Corners;
};

struct MeshTriangle {
    std::array<int, 3> Corners{}; // counterclockwise seen from outside
    int Face = 0;
};

struct StoneMesh {
    std::vector<Vector3> Corners; // millimetres; the axis and the girdle plane where the design has them
    std::vector<MeshFace> Faces;
    std::vector<MeshTriangle> Triangles;
    Real Scale = 0;         // millimetres per design unit
    Real WidthMm = 0;       // extent across x
    Real LengthMm = 0;      // extent across y
    Real HeightMm = 0;      // extent along the axis
    Real VolumeMm3 = 0;     // the stone's exact volume at this scale
    Real GirdleMm = 0;      // the girdle band at its thinnest (a half's own band for a half alone)
    Real GirdleAddedMm = 0; // how much thicker the band was made to reach the minimum
};

// The mesh of a made stone. A size or weight that is not a positive finite number, a weight without a
// material and a minimum girdle that is negative or not finite are RangeErrors.
StoneMesh MakeStoneMesh(const Stone& stone, const MeshOptions& options);

// The stone with its girdle band made `added` thicker (design units), symmetrically about the girdle
// plane: the crown's planes move up and the pavilion's down by added / 2, and the band between them is
// walled by the stone's own section at z = 0. A half alone keeps its girdle plane and moves its other
// planes away from it by `added`. Rebuilt exactly from the moved planes.
Stone ThickenedStone(const Stone& stone, Real added);

// The stone's section by the girdle plane z = 0: its corners counterclockwise seen from above (z = 0).
// Empty when the stone does not reach across z = 0 with an area.
std::vector<Vector3> GirdleSection(const Stone& stone);

// The section scaled to millimetres at the given size (only a width for the outline).
std::vector<Vector3> GirdleOutlineMm(const Stone& stone, Real widthMm);
