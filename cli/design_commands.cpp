// info and geometry: a design's data as one JSON object.
#include "cli/tool.h"

#include <memory>

namespace {
void Vector(JsonWriter& json, const Vector3& v) {
    json.BeginArray();
    json.Number(v.x);
    json.Number(v.y);
    json.Number(v.z);
    json.EndArray();
}

void WriteInfo(const TGem& gem, JsonWriter& json) {
    json.BeginObject();
    json.Key("type");
    json.Latin1String(gem.IsCrown() ? "crown" : "pavilion");
    json.Key("system_index");
    json.Integer(gem.SystemIndex);
    json.Key("parts");
    json.Integer(gem.DesignParts);
    json.Key("mirror");
    json.Boolean(gem.DesignMirror);
    json.Key("offset");
    json.Integer(gem.OffsetIndex);
    json.Key("facets");
    json.Integer(gem.FacetCount);
    json.Key("edges");
    json.Integer(gem.EdgeCount);
    json.Key("points");
    json.Integer(gem.PointCount);
    json.Key("tiers");
    json.Integer(gem.TierCount);
    json.Key("width");
    json.Number(gem.W());
    json.Key("length");
    json.Number(gem.L());
    json.Key("height");
    json.Number(gem.H());
    json.Key("table");
    if (gem.HasTable())
        json.Number(gem.T());
    else
        json.Null();
    json.Key("volume");
    json.Number(gem.Volume());
    json.Key("facets_shown");
    json.Integer(gem.FacetsShownCount());
    json.Key("proportions");
    json.BeginArray();
    for (const auto& line : gem.ProportionLines())
        if (line.Shown) json.Latin1String(line.Text);
    json.EndArray();
    json.Key("messages");
    json.BeginArray();
    for (int k = 1; k <= MessageLineCount; ++k)
        json.Latin1String(gem.MessageLine(k));
    json.EndArray();
    json.Key("text");
    json.BeginArray();
    for (int k = 1; k <= TextLineCount; ++k)
        json.Latin1String(gem.TextLine(k));
    json.EndArray();
    json.EndObject();
}

void WriteGeometry(const TGem& gem, JsonWriter& json) {
    json.BeginObject();
    json.Key("points");
    json.BeginArray();
    for (int p = 1; p <= gem.PointCount; ++p)
        Vector(json, gem.Points[p].Position);
    json.EndArray();

    json.Key("edges");
    json.BeginArray();
    for (int e = 1; e <= gem.EdgeCount; ++e) {
        const FacetEdge& edge = gem.Edges[e];
        json.BeginArray();
        for (const int n : {edge.FacetA, edge.FacetB, edge.PointA, edge.PointB})
            json.Integer(n);
        json.EndArray();
    }
    json.EndArray();

    json.Key("facets");
    json.BeginArray();
    for (int f = -1; f <= gem.FacetCount; ++f) {
        const Facet& facet = gem.Facets[f];
        json.BeginObject();
        json.Key("number");
        json.Integer(f);
        json.Key("normal");
        Vector(json, facet.Normal);
        json.Key("dist");
        json.Number(facet.Dist);
        json.Key("index");
        json.Number(facet.Index);
        json.Key("shown_index");
        json.Number(facet.ShownIndex);
        json.Key("angle");
        json.Number(gem.FacetAngle(f));
        json.Key("group_parts");
        json.Integer(facet.GroupParts);
        json.Key("sym");
        json.Latin1String(std::string(1, facet.SymChar));
        json.Key("corners");
        json.BeginArray();
        for (int c = 1; c <= facet.CornerCount; ++c)
            json.Integer(facet.Corners[c]);
        json.EndArray();
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
}

// Reads FILE and prints what `write` makes of it.
int PrintDesign(const ToolRequest& request, void (*write)(const TGem&, JsonWriter&)) {
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *gem)) return ExitFileError;
    JsonWriter json;
    write(*gem, json);
    return PrintJson(json);
}
} // namespace

int RunInfo(const ToolRequest& request) {
    return PrintDesign(request, WriteInfo);
}

int RunGeometry(const ToolRequest& request) {
    return PrintDesign(request, WriteGeometry);
}
