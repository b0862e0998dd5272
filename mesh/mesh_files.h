// The stone's mesh as 3D files (binary STL, OBJ with its material file, 3MF, STEP) and its girdle
// outline as SVG or DXF, all in millimetres. Every writer writes a temporary file beside the target and
// renames it into place, so a failure leaves no partial file; false, with `error` naming the file and
// the reason, when it fails.
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
bool WriteStoneMesh(const StoneMesh& mesh, const std::string& path, FileError& error);

bool WriteStl(const StoneMesh& mesh, const std::string& path, FileError& error);
// Writes NAME.obj and beside it NAME.mtl, one group and one material per tier of each half.
bool WriteObj(const StoneMesh& mesh, const std::string& path, FileError& error);
bool Write3mf(const StoneMesh& mesh, const std::string& path, FileError& error);
// A closed solid of the stone's planar faces, AP214.
bool WriteStep(const StoneMesh& mesh, const std::string& path, FileError& error);

// The outline (corners in millimetres, counterclockwise seen from above) as one closed polyline.
bool WriteOutline(const std::vector<Vector3>& outline, const std::string& path, FileError& error);
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

// Runs `write` on a temporary name beside `path` and renames that file to `path` when `write`
// succeeded; otherwise removes it. `write` sets `error` when it fails.
bool WriteBeside(const std::string& path, const std::function<bool(const std::string&)>& write,
                 FileError& error);
// "Cannot write file NAME: REASON".
bool CannotWrite(FileError& error, const std::string& path, const std::string& reason, int osError = 0);
