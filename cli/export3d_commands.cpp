// export3d and outline: the stone as a 3D file, and its girdle outline, in millimetres.
#include "cli/tool.h"
#include "mesh/mesh_files.h"
#include "stone/stone_files.h"

#include "gem/range_error.h"

#include <QFileInfo>

#include <functional>

namespace {
void Note(JsonWriter& json, const char* key, Real value) {
    json.Key(key);
    json.Number(value);
}

// Makes and writes the file; a RangeError on the way is a usage error. The exit code, after the message.
int WriteOrFail(const std::function<FileResult()>& write) {
    try {
        const FileResult written = write();
        if (written) return ExitOk;
        PrintModelMessage(written.Error().Message);
        return ExitFileError;
    } catch (const RangeError& refused) {
        PrintError(refused.what());
        return ExitUsage;
    }
}

// The note's first entries: the file written and its format.
void BeginNote(JsonWriter& json, const QString& output) {
    json.BeginObject();
    json.Key("output");
    json.Utf8String(output.toStdString());
    json.Key("format");
    json.Utf8String(QFileInfo(output).suffix().toLower().toStdString());
}

// The stone asked for: the whole stone, or one of its halves closed by the girdle plane.
bool AskedStone(const ToolRequest& request, StoneHalves& halves, Stone& stone) {
    if (!LoadStone(request, halves, stone)) return false;
    if (request.Export.Half.isEmpty()) return true;
    const bool crown = request.Export.Half == "crown";
    const FileResult made = MakeHalfStone(crown ? *halves.Crown : *halves.Pavilion, stone,
                                          crown ? halves.CrownFile : halves.PavilionFile);
    if (!made) PrintModelMessage(made.Error().Message);
    return made.Done();
}
} // namespace

int RunExport3d(const ToolRequest& request) {
    const Material* material = FindMaterial(request.Stone.Material.toStdString());
    if (!material)
        return UsageError(
            request.Command,
            QString("unknown material '%1' (see '%2 materials')").arg(request.Stone.Material, ToolName));
    StoneHalves halves;
    Stone stone;
    if (!AskedStone(request, halves, stone)) return ExitFileError;
    MeshOptions options;
    options.Size.WidthMm = request.Stone.WidthMm;
    options.Size.Carats = request.Stone.Carats;
    options.Size.Of = material;
    options.MinGirdleMm = request.Export.MinGirdleMm;
    StoneMesh mesh;
    if (const int code = WriteOrFail([&] {
            mesh = MakeStoneMesh(stone, options);
            return WriteStoneMesh(mesh, LocalPath(request.Output));
        }))
        return code;
    JsonWriter json;
    BeginNote(json, request.Output);
    json.Key("stone");
    json.Utf8String(request.Export.Half.isEmpty() ? "whole" : request.Export.Half.toStdString());
    Note(json, "width_mm", mesh.WidthMm);
    Note(json, "length_mm", mesh.LengthMm);
    Note(json, "height_mm", mesh.HeightMm);
    Note(json, "volume_mm3", mesh.VolumeMm3);
    json.Key("material");
    json.Latin1String(material->Name);
    Note(json, "carats", mesh.VolumeMm3 * material->SpecificGravity / 200);
    Note(json, "girdle_mm", mesh.GirdleMm);
    Note(json, "girdle_thickened_by_mm", mesh.GirdleAddedMm);
    json.Key("faces");
    json.Integer(static_cast<long long>(mesh.Faces.size()));
    json.Key("triangles");
    json.Integer(static_cast<long long>(mesh.Triangles.size()));
    json.EndObject();
    return PrintJson(json);
}

int RunOutline(const ToolRequest& request) {
    StoneHalves halves;
    Stone stone;
    if (!LoadStone(request, halves, stone)) return ExitFileError;
    std::vector<Vector3> outline;
    if (const int code = WriteOrFail([&] {
            outline = GirdleOutlineMm(stone, *request.Stone.WidthMm);
            return WriteOutline(outline, LocalPath(request.Output));
        }))
        return code;
    const OutlineExtent extent = ExtentOf(outline);
    JsonWriter json;
    BeginNote(json, request.Output);
    Note(json, "width_mm", extent.Right - extent.Left);
    Note(json, "length_mm", extent.High - extent.Low);
    json.Key("corners");
    json.Integer(static_cast<long long>(outline.size()));
    json.EndObject();
    return PrintJson(json);
}
