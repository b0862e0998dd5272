#include "mesh/mesh_files.h"

#include "gem/exchange_io.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <system_error>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t StlHeaderSize = 80;
constexpr const char* StlHeader = "LapidraW stone, binary STL, millimetres";
constexpr const char* TextHeader = "LapidraW stone, millimetres";

std::string Extension(const std::string& path) {
    std::string extension = fs::path(path).extension().string();
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension;
}

std::string Printed(const char* format, double a, double b = 0, double c = 0) {
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

// Writes the bytes as the whole file at `path` (a temporary name).
FileResult WriteBytes(const std::string& path, const std::string& bytes, const std::string& target) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    if (!file) return CannotWrite(target, "", exchange::LastOsError());
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const int writeError = written ? 0 : exchange::LastOsError();
    errno = 0;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) return CannotWrite(target, "", written ? exchange::LastOsError() : writeError);
    return {};
}

void PutFloat(std::string& bytes, Real value) {
    const float f = static_cast<float>(value);
    char raw[sizeof f];
    std::memcpy(raw, &f, sizeof f); // little-endian on every target the program builds for
    bytes.append(raw, sizeof f);
}

void PutVector(std::string& bytes, const Vector3& v) {
    PutFloat(bytes, v.x);
    PutFloat(bytes, v.y);
    PutFloat(bytes, v.z);
}

// The single-precision difference of two corners as the file holds them.
Vector3 FloatDifference(const Vector3& to, const Vector3& from) {
    auto minus = [](Real a, Real b) { return Real(static_cast<float>(a) - static_cast<float>(b)); };
    return {minus(to.x, from.x), minus(to.y, from.y), minus(to.z, from.z)};
}

// The triangle's normal as a reader computes it from the corners the file holds (differences in single
// precision), so that a thin triangle's normal agrees with its corners wherever it is read; the face's
// own normal when they make none.
Vector3 StlNormal(const StoneMesh& mesh, const MeshTriangle& t) {
    const Vector3& a = mesh.Corners[t.Corners[0]];
    const Vector3 n =
        Cross(FloatDifference(mesh.Corners[t.Corners[1]], a), FloatDifference(mesh.Corners[t.Corners[2]], a));
    const Real length = std::sqrt(Dot(n, n));
    return length > 0 ? (1 / length) * n : mesh.Faces[t.Face].Normal;
}

std::string StlBytes(const StoneMesh& mesh) {
    std::string bytes(StlHeader);
    bytes.resize(StlHeaderSize, ' ');
    const std::uint32_t count = static_cast<std::uint32_t>(mesh.Triangles.size());
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(static_cast<char>((count >> shift) & 0xff));
    for (const MeshTriangle& t : mesh.Triangles) {
        PutVector(bytes, StlNormal(mesh, t));
        for (int c : t.Corners)
            PutVector(bytes, mesh.Corners[c]);
        bytes.append(2, '\0'); // attribute byte count
    }
    return bytes;
}

// Distinguishable tones: crown tiers in blues, pavilion tiers in greens, the band's walls grey.
std::string MaterialColour(const MeshFace& face) {
    if (face.Tier < 0) return "0.6 0.6 0.6";
    const double tone = 0.3 + 0.12 * (face.Tier % 6);
    return face.Half == StoneHalf::Crown ? Printed("%.3f %.3f %.3f", 0.2, tone, 1.0 - tone / 2)
                                         : Printed("%.3f %.3f %.3f", 0.2, 1.0 - tone / 2, tone);
}

std::string MtlText(const StoneMesh& mesh, const std::map<std::string, std::vector<int>>& groups) {
    std::string text = std::string("# ") + TextHeader + "\n";
    for (const auto& [name, triangles] : groups) {
        text += "\nnewmtl " + name + "\n";
        text += "Kd " + MaterialColour(mesh.Faces[mesh.Triangles[triangles.front()].Face]) + "\n";
        text += "Ka 0 0 0\nd 1\nillum 1\n";
    }
    return text;
}

std::string ObjText(const StoneMesh& mesh, const std::map<std::string, std::vector<int>>& groups,
                    const std::string& materialFile) {
    std::string text = std::string("# ") + TextHeader + "\n";
    text += "mtllib " + materialFile + "\n";
    for (const Vector3& v : mesh.Corners)
        text += Printed("v %.12g %.12g %.12g\n", double(v.x), double(v.y), double(v.z));
    for (const MeshFace& face : mesh.Faces)
        text += Printed("vn %.12g %.12g %.12g\n", double(face.Normal.x), double(face.Normal.y),
                        double(face.Normal.z));
    for (const auto& [name, triangles] : groups) {
        text += "g " + name + "\nusemtl " + name + "\n";
        for (int t : triangles) {
            const MeshTriangle& triangle = mesh.Triangles[t];
            text += "f";
            for (int c : triangle.Corners)
                text += " " + std::to_string(c + 1) + "//" + std::to_string(triangle.Face + 1);
            text += "\n";
        }
    }
    return text;
}
} // namespace

FileResult CannotWrite(const std::string& path, const std::string& reason, int osError) {
    std::string message = "Cannot write file " + path;
    if (!reason.empty()) message += ": " + reason;
    if (osError != 0) message += ": " + std::generic_category().message(osError);
    return FileResult::Failure(message, 0, osError);
}

FileResult WriteBeside(const std::string& path, const std::function<FileResult(const std::string&)>& write) {
    std::error_code ignored;
    if (fs::is_directory(path, ignored)) return CannotWrite(path, "a folder has that name");
    const std::string temporary = exchange::TemporaryNameBeside(path);
    if (FileResult written = write(temporary); !written) {
        fs::remove(temporary, ignored);
        return written.Error().Empty() ? CannotWrite(path, "the file could not be made") : written;
    }
    const int code = exchange::PutInPlace(temporary, path);
    if (code != 0) return CannotWrite(path, "", code);
    return {};
}

std::optional<MeshFormat> MeshFormatOf(const std::string& path) {
    const std::string extension = Extension(path);
    if (extension == ".stl") return MeshFormat::Stl;
    if (extension == ".obj") return MeshFormat::Obj;
    if (extension == ".3mf") return MeshFormat::ThreeMf;
    if (extension == ".step" || extension == ".stp") return MeshFormat::Step;
    return std::nullopt;
}

std::optional<OutlineFormat> OutlineFormatOf(const std::string& path) {
    const std::string extension = Extension(path);
    if (extension == ".svg") return OutlineFormat::Svg;
    if (extension == ".dxf") return OutlineFormat::Dxf;
    return std::nullopt;
}

FileResult WriteStoneMesh(const StoneMesh& mesh, const std::string& path) {
    const auto format = MeshFormatOf(path);
    if (!format) return CannotWrite(path, "unknown 3D format (.stl, .obj, .3mf or .step)");
    switch (*format) {
    case MeshFormat::Stl:
        return WriteStl(mesh, path);
    case MeshFormat::Obj:
        return WriteObj(mesh, path);
    case MeshFormat::ThreeMf:
        return Write3mf(mesh, path);
    case MeshFormat::Step:
        return WriteStep(mesh, path);
    }
    return CannotWrite(path, "unknown 3D format");
}

FileResult WriteStl(const StoneMesh& mesh, const std::string& path) {
    const std::string bytes = StlBytes(mesh);
    return WriteBeside(path,
                       [&](const std::string& temporary) { return WriteBytes(temporary, bytes, path); });
}

std::string MaterialFileName(const std::string& objPath) {
    return fs::path(objPath).replace_extension(".mtl").string();
}

std::string TierGroupName(const MeshFace& face) {
    if (face.Tier < 0) return "girdle_band";
    return std::string(face.Half == StoneHalf::Crown ? "crown" : "pavilion") + "_tier_" +
           std::to_string(face.Tier);
}

FileResult WriteObj(const StoneMesh& mesh, const std::string& path) {
    std::map<std::string, std::vector<int>> groups;
    for (std::size_t t = 0; t < mesh.Triangles.size(); ++t)
        groups[TierGroupName(mesh.Faces[mesh.Triangles[t].Face])].push_back(static_cast<int>(t));
    const std::string materialPath = MaterialFileName(path);
    const std::string materials = MtlText(mesh, groups);
    const std::string obj = ObjText(mesh, groups, fs::path(materialPath).filename().string());
    // Both files are written before either is put in place, the material file first.
    std::error_code ignored;
    if (fs::is_directory(materialPath, ignored)) return CannotWrite(materialPath, "a folder has that name");
    const std::string materialTemporary = exchange::TemporaryNameBeside(materialPath);
    if (FileResult material = WriteBytes(materialTemporary, materials, materialPath); !material)
        return material;
    FileResult written = WriteBeside(path, [&](const std::string& temporary) {
        if (FileResult text = WriteBytes(temporary, obj, path); !text) return text;
        const int code = exchange::PutInPlace(materialTemporary, materialPath);
        return code == 0 ? FileResult() : CannotWrite(materialPath, "", code);
    });
    fs::remove(materialTemporary, ignored);
    return written;
}

OutlineExtent ExtentOf(const std::vector<Vector3>& outline) {
    OutlineExtent e;
    for (const Vector3& p : outline) {
        e.Left = std::fmin(e.Left, p.x);
        e.Right = std::fmax(e.Right, p.x);
        e.Low = std::fmin(e.Low, p.y);
        e.High = std::fmax(e.High, p.y);
    }
    return e;
}

std::string OutlineSvg(const std::vector<Vector3>& outline) {
    const auto [left, right, low, high] = ExtentOf(outline);
    const double width = double(right - left), height = double(high - low);
    std::string text = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    text += "<!-- " + std::string(TextHeader) + ": the girdle outline seen from above -->\n";
    text += Printed("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%.6fmm\" height=\"%.6fmm\"", width,
                    height);
    text += Printed(" viewBox=\"%.9f %.9f %.9f\"", double(left), double(-high), width);
    text += Printed(" %.9f\">\n", height);
    text += "<polygon fill=\"none\" stroke=\"black\" stroke-width=\"0.02\" points=\"";
    for (std::size_t i = 0; i < outline.size(); ++i)
        text += Printed(i == 0 ? "%.9f,%.9f" : " %.9f,%.9f", double(outline[i].x), double(-outline[i].y));
    text += "\"/>\n</svg>\n";
    return text;
}

std::string OutlineDxf(const std::vector<Vector3>& outline) {
    // Group code and value lines, CR LF as DXF files from the drawing programs have them.
    std::string text;
    auto pair = [&text](int code, const std::string& value) {
        text += std::to_string(code) + "\r\n" + value + "\r\n";
    };
    auto number = [&pair](int code, Real value) { pair(code, Printed("%.9f", double(value))); };
    pair(999, TextHeader);
    pair(0, "SECTION");
    pair(2, "HEADER");
    pair(9, "$ACADVER");
    pair(1, "AC1009");
    pair(0, "ENDSEC");
    pair(0, "SECTION");
    pair(2, "ENTITIES");
    pair(0, "POLYLINE");
    pair(8, "0");
    pair(66, "1");
    pair(70, "1"); // closed
    for (const Vector3& p : outline) {
        pair(0, "VERTEX");
        pair(8, "0");
        number(10, p.x);
        number(20, p.y);
        number(30, 0);
    }
    pair(0, "SEQEND");
    pair(8, "0");
    pair(0, "ENDSEC");
    pair(0, "EOF");
    return text;
}

FileResult WriteOutline(const std::vector<Vector3>& outline, const std::string& path) {
    const auto format = OutlineFormatOf(path);
    if (!format) return CannotWrite(path, "unknown outline format (.svg or .dxf)");
    if (outline.size() < 3) return CannotWrite(path, "the stone has no section at the girdle plane");
    const std::string text = *format == OutlineFormat::Svg ? OutlineSvg(outline) : OutlineDxf(outline);
    return WriteBeside(path, [&](const std::string& temporary) { return WriteBytes(temporary, text, path); });
}
