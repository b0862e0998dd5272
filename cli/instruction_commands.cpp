// instructions: every tier's cutting instruction with its meet points, as text or JSON; of one half or
// of the whole stone.
#include "cli/tool.h"
#include "gem/cutting_instructions.h"
#include "stone/stone_files.h"
#include "stone/stone_instructions.h"

#include <memory>

namespace {
// One tier; `half` names the half it belongs to in a whole stone (else null: no key).
void WriteInstruction(JsonWriter& json, const TierInstruction& instruction, const char* half = nullptr) {
    const NamedTier& tier = instruction.Tier;
    json.BeginObject();
    if (half) {
        json.Key("half");
        json.Latin1String(half);
    }
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

int PrintJsonArray(const std::vector<TierInstruction>& instructions, const std::vector<StoneHalf>& halves) {
    JsonWriter json;
    json.BeginArray();
    for (std::size_t k = 0; k < instructions.size(); ++k)
        WriteInstruction(json, instructions[k],
                         halves.empty()                     ? nullptr
                         : halves[k] == StoneHalf::Pavilion ? "pavilion"
                                                            : "crown");
    json.EndArray();
    return PrintJson(json);
}

int PrintText(const std::vector<TierInstruction>& instructions) {
    std::string text;
    for (const std::string& line : CuttingInstructionLines(instructions))
        text += line + '\n';
    return WriteStandardOutput(text);
}

int RunStoneInstructions(const ToolRequest& request) {
    StoneHalves halves;
    Stone stone;
    if (!LoadStone(request, halves, stone)) return ExitFileError;
    const std::vector<StoneInstruction> instructions =
        StoneCuttingInstructions(*halves.Crown, *halves.Pavilion);
    if (!request.Json) return PrintText(InstructionsOf(instructions));
    std::vector<StoneHalf> of;
    for (const StoneInstruction& s : instructions)
        of.push_back(s.Half);
    return PrintJsonArray(InstructionsOf(instructions), of);
}
} // namespace

int RunInstructions(const ToolRequest& request) {
    if (request.Stone.WholeStone) return RunStoneInstructions(request);
    auto gem = std::make_unique<TGem>();
    if (!LoadDesign(request.Input, *gem)) return ExitFileError;
    const std::vector<TierInstruction> instructions = CuttingInstructions(*gem);
    return request.Json ? PrintJsonArray(instructions, {}) : PrintText(instructions);
}
