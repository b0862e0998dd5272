// stone, stone-geometry, materials and convert --stone: the whole stone of a crown and a pavilion.
#include "cli/tool.h"
#include "stone/materials.h"
#include "stone/stone_figures.h"
#include "stone/stone_files.h"

#include "gem/numtext.h"

#include <initializer_list>

namespace {
void Vector(JsonWriter& json, const Vector3& v) {
    json.BeginArray();
    for (const Real c : {v.x, v.y, v.z})
        json.Number(c);
    json.EndArray();
}

struct NamedNumber {
    const char* Key;
    Real Value;
};

void Numbers(JsonWriter& json, std::initializer_list<NamedNumber> numbers) {
    for (const NamedNumber& number : numbers) {
        json.Key(number.Key);
        json.Number(number.Value);
    }
}

void Figures(JsonWriter& json, const StoneFigures& f) {
    Numbers(json, {{"width", f.Width},
                   {"length", f.Length},
                   {"table", f.Table},
                   {"crown_height", f.CrownHeight},
                   {"pavilion_depth", f.PavilionDepth},
                   {"girdle_thinnest", f.GirdleThin},
                   {"girdle_thickest", f.GirdleThick},
                   {"total_depth", f.TotalDepth},
                   {"volume", f.Volume}});
    json.Key("ratios");
    json.BeginObject();
    Numbers(json, {{"L/W", f.Ratio(f.Length)},
                   {"T/W", f.Ratio(f.Table)},
                   {"C/W", f.Ratio(f.CrownHeight)},
                   {"P/W", f.Ratio(f.PavilionDepth)},
                   {"G/W thinnest", f.Ratio(f.GirdleThin)},
                   {"G/W thickest", f.Ratio(f.GirdleThick)},
                   {"H/W", f.Ratio(f.TotalDepth)},
                   {"C/H", f.TotalDepth > 0 ? f.CrownHeight / f.TotalDepth : 0},
                   {"P/H", f.TotalDepth > 0 ? f.PavilionDepth / f.TotalDepth : 0},
                   {"Vol/W3", f.VolumeRatio()}});
    json.EndObject();
    json.Key("facets");
    json.BeginObject();
    Numbers(json, {{"crown", Real(f.CrownFacets)},
                   {"pavilion", Real(f.PavilionFacets)},
                   {"girdle", Real(f.GirdleFacets)}});
    json.EndObject();
    Numbers(json, {{"system_index", Real(f.SystemIndex)}, {"parts", Real(f.Parts)}});
    json.Key("mirror");
    json.Boolean(f.Mirror);
}

void Girdles(JsonWriter& json, const GirdleComparison& c) {
    json.BeginObject();
    Numbers(json, {{"crown_width", c.CrownWidth}, {"pavilion_width", c.PavilionWidth}});
    json.Key("findings");
    json.BeginArray();
    for (const std::string& finding : c.Findings)
        json.Latin1String(finding);
    json.EndArray();
    json.EndObject();
}

void WriteMaterial(JsonWriter& json, const Material& m) {
    json.BeginObject();
    json.Key("name");
    json.Latin1String(m.Name);
    Numbers(json, {{"specific_gravity", m.SpecificGravity},
                   {"refractive_index", m.RefractiveIndex},
                   {"dispersion", m.Dispersion}});
    json.Key("source");
    json.Latin1String(m.Source);
    json.EndObject();
}

// The weight at the asked width, or the width for the asked weight.
void Weight(JsonWriter& json, const StoneRequest& asked, const Stone& stone, const Material& material) {
    json.Key("material");
    WriteMaterial(json, material);
    const Real width =
        asked.WidthMm ? *asked.WidthMm : SizeForCarats(stone, *asked.Carats, material.SpecificGravity);
    json.Key("width_mm");
    json.Number(width);
    json.Key("carats");
    json.Number(asked.Carats ? *asked.Carats : CaratsOf(stone, width, material.SpecificGravity));
}
} // namespace

bool LoadStone(const ToolRequest& request, StoneHalves& halves, Stone& stone) {
    const std::string partner = request.Stone.Partner.isEmpty() ? "" : LocalPath(request.Stone.Partner);
    if (const FileResult read = ReadStoneHalves(LocalPath(request.Input.Path), partner, halves); !read) {
        PrintModelMessage(read.Error().Message);
        return false;
    }
    const FileResult made =
        MakeStone(*halves.Crown, *halves.Pavilion, stone, halves.CrownFile, halves.PavilionFile);
    if (!made) PrintModelMessage(made.Error().Message);
    return made.Done();
}

bool WeightLine(const ToolRequest& request, const Stone& stone, std::string& line) {
    line.clear();
    const Material* material = FindMaterial(request.Stone.Material.toStdString());
    if (!material) {
        PrintError(
            QString("unknown material '%1' (see '%2 materials')").arg(request.Stone.Material, ToolName));
        return false;
    }
    const StoneRequest& asked = request.Stone;
    if (!asked.WidthMm && !asked.Carats) return true;
    const Real width =
        asked.WidthMm ? *asked.WidthMm : SizeForCarats(stone, *asked.Carats, material->SpecificGravity);
    const Real carats = asked.Carats ? *asked.Carats : CaratsOf(stone, width, material->SpecificGravity);
    line = WeightText(width, material->Name, carats);
    return true;
}

int RunStone(const ToolRequest& request) {
    const Material* material = FindMaterial(request.Stone.Material.toStdString());
    if (!material)
        return UsageError(
            "stone",
            QString("unknown material '%1' (see '%2 materials')").arg(request.Stone.Material, ToolName));
    StoneHalves halves;
    Stone stone;
    if (!LoadStone(request, halves, stone)) return ExitFileError;
    JsonWriter json;
    json.BeginObject();
    json.Key("crown_file");
    json.Latin1String(halves.CrownFile);
    json.Key("pavilion_file");
    json.Latin1String(halves.PavilionFile);
    Figures(json, FiguresOf(stone, *halves.Crown));
    json.Key("faces");
    json.Integer(static_cast<long long>(stone.Faces.size()));
    json.Key("edges");
    json.Integer(static_cast<long long>(stone.Edges.size()));
    json.Key("corners");
    json.Integer(static_cast<long long>(stone.Corners.size()));
    json.Key("girdles");
    Girdles(json, CompareGirdles(*halves.Crown, *halves.Pavilion));
    if (request.Stone.WidthMm || request.Stone.Carats) Weight(json, request.Stone, stone, *material);
    json.EndObject();
    return PrintJson(json);
}

int RunStoneGeometry(const ToolRequest& request) {
    StoneHalves halves;
    Stone stone;
    if (!LoadStone(request, halves, stone)) return ExitFileError;
    JsonWriter json;
    json.BeginObject();
    json.Key("corners");
    json.BeginArray();
    for (const Vector3& p : stone.Corners)
        Vector(json, p);
    json.EndArray();
    json.Key("edges");
    json.BeginArray();
    for (const StoneEdge& edge : stone.Edges) {
        json.BeginArray();
        for (const int n : {edge.CornerA, edge.CornerB, edge.FaceA, edge.FaceB})
            json.Integer(n);
        json.EndArray();
    }
    json.EndArray();
    json.Key("faces");
    json.BeginArray();
    for (const StoneFace& face : stone.Faces) {
        json.BeginObject();
        json.Key("normal");
        Vector(json, face.FacePlane.Normal);
        json.Key("dist");
        json.Number(face.FacePlane.Dist);
        json.Key("half");
        json.Latin1String(face.Half == StoneHalf::Crown ? "crown" : "pavilion");
        json.Key("facet");
        json.Integer(face.Facet);
        json.Key("group");
        json.Integer(face.Group);
        json.Key("tier");
        json.Integer(face.Tier);
        json.Key("girdle");
        json.Boolean(face.Girdle);
        json.Key("corners");
        json.BeginArray();
        for (const int c : face.Corners)
            json.Integer(c);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    return PrintJson(json);
}

int RunMaterials(const ToolRequest&) {
    JsonWriter json;
    json.BeginArray();
    for (const Material& material : Materials())
        WriteMaterial(json, material);
    json.EndArray();
    return PrintJson(json);
}

int ConvertStone(const ToolRequest& request) {
    StoneHalves halves;
    const std::string partner = request.Stone.Partner.isEmpty() ? "" : LocalPath(request.Stone.Partner);
    FileResult done = ReadStoneHalves(LocalPath(request.Input.Path), partner, halves);
    if (done) done = WriteStoneAsc(*halves.Crown, *halves.Pavilion, LocalPath(request.Output));
    if (done) return ExitOk;
    PrintModelMessage(done.Error().Message);
    return ExitFileError;
}
