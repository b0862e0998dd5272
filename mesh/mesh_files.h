// The stone's mesh as 3D files (binary STL, OBJ with its material file, 3MF, STEP) and its girdle
// outline as SVG or DXF, all in millimetres. Every writer writes a temporary file beside the target and
// renames it into place, so a failure leaves no partial file; a failure's record names the file and the
// reason.
#pragma once

#include "gem/file_error.h"
#include "mesh/stone_mesh.h"

#include <cmath>
#include <functional>
#include <optional>
#include <string>
#include <vector>

enum class MeshFormat { Stl, Obj, ThreeMf, Step };
enum class OutlineFormat { Svg, Dxf };

// The format by the file name's extension (.stl, .obj, .3mf, .step or .stp; .svg, .dxf), any case.
std::optional<MeshFormat> MeshFormatOf(const std::string& path);
std::optional<OutlineFormat> OutlineFormatOf(const std::string& path);

// Writes the mesh in the format of the file name; an unknown extension is refused.
FileResult WriteStoneMesh(const StoneMesh& mesh, const std::string& path);

FileResult WriteStl(const StoneMesh& mesh, const std::string& path);
// Writes NAME.obj and beside it NAME.mtl, one group and one material per tier of each half.
FileResult WriteObj(const StoneMesh& mesh, const std::string& path);
FileResult Write3mf(const StoneMesh& mesh, const std::string& path);
// A closed solid of the stone's planar faces, AP214.
FileResult WriteStep(const StoneMesh& mesh, const std::string& path);

// The outline (corners in millimetres, counterclockwise seen from above) as one closed polyline.
FileResult WriteOutline(const std::vector<Vector3>& outline, const std::string& path);
// The outline's extent: x from Left to Right, y from Low to High.
struct OutlineExtent {
    Real Left = INFINITY, Right = -INFINITY, Low = INFINITY, High = -INFINITY;
};
OutlineExtent ExtentOf(const std::vector<Vector3>& outline);

// The outline's texts: an SVG picture seen from above (its y axis pointing down, as SVG's does), and
// a DXF R12 drawing with one closed POLYLINE in the XY plane.
std::string OutlineSvg(const std::vector<Vector3>& outline);
std::string OutlineDxf(const std::vector<Vector3>& outline);

// The name of the OBJ file's material file: the same name with the extension .mtl.
std::string MaterialFileName(const std::string& objPath);
// The group (and material) of a face in OBJ files: crown_tier_N, pavilion_tier_N or girdle_band.
std::string TierGroupName(const MeshFace& face);

// Runs `write` on a temporary name beside `path` and renames that file to `path` when `write` was
// done; otherwise removes it and answers `write`'s failure.
FileResult WriteBeside(const std::string& path, const std::function<FileResult(const std::string&)>& write);
// "Cannot write file NAME: REASON".
FileResult CannotWrite(const std::string& path, const std::string& reason, int osError = 0);
