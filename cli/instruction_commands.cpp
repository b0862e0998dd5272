// instructions: every tier's cutting instruction with its meet points, as text or JSON.
#include "cli/tool.h"
#include "gem/cutting_instructions.h"

#include <memory>

namespace {
void WriteInstruction(JsonWriter& json, const TierInstruction& instruction) {
    const NamedTier& tier = instruction.Tier;
    json.BeginObject();
    json.Key("tier");
    json.Latin1String(tier.Name);
    json.Key("angle");
    if (tier.Table)
        json.Null();
    else
        json.Number(tier.Angle);
    json.Key("indices");
    json.BeginArray();
    for (const Real index : tier.Indices)
        json.Number(index);
    json.EndArray();
    json.Key("facets");
    json.Integer(static_cast<long long>(tier.Facets.size()));
    json.Key("meets");
    json.BeginArray();
    for (const std::string& name : instruction.Meets)
        json.Latin1String(name);
    json.EndArray();
    json.Key("centre_point");
    json.Boolean(instruction.CentrePoint);
    json.Key("level_girdle");
    json.Boolean(instruction.LevelGirdle);
    json.Key("temporary");
    json.Boolean(instruction.Temporary);
    json.Key("text");
    json.Latin1String(instruction.Text());
    json.EndObject();
}
} // namespace

int RunInstructions(const ToolRequest& request) {
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *gem)) return ExitFileError;
    const std::vector<TierInstruction> instructions = CuttingInstructions(*gem);
    if (!request.Json) {
        std::string text;
        for (const std::string& line : CuttingInstructionLines(instructions))
            text += line + '\n';
        return WriteStandardOutput(text);
    }
    JsonWriter json;
    json.BeginArray();
    for (const TierInstruction& instruction : instructions)
        WriteInstruction(json, instruction);
    json.EndArray();
    return PrintJson(json);
}
