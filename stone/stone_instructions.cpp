#include "stone/stone_instructions.h"

#include "gem/gem.h"
#include "gem/numtext.h"
#include "gem/tolerances.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace {
bool SameIndices(const std::vector<Real>& a, const std::vector<Real>& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](Real x, Real y) {
               return std::fabs(x - y) < WrittenIndexTolerance;
           });
}

bool NameTaken(const std::vector<StoneInstruction>& stone, const std::string& name) {
    return std::any_of(stone.begin(), stone.end(), [&](const StoneInstruction& s) {
        return SameTierName(s.Instruction.Tier.Name, name);
    });
}

// The next free girdle name: g, g2, g3, ...
std::string NextGirdleName(const std::vector<StoneInstruction>& stone) {
    if (!NameTaken(stone, "g")) return "g";
    for (int n = 2;; ++n)
        if (!NameTaken(stone, "g" + IntText(n))) return "g" + IntText(n);
}

// The pavilion's girdle tier on the same indices as a crown girdle tier, if any.
const StoneInstruction* PavilionGirdle(const std::vector<StoneInstruction>& stone, const NamedTier& tier) {
    for (const StoneInstruction& s : stone)
        if (s.Half == StoneHalf::Pavilion && s.Instruction.Tier.Girdle &&
            SameIndices(s.Instruction.Tier.Indices, tier.Indices))
            return &s;
    return nullptr;
}

// A crown tier's name in the stone when the pavilion or an earlier crown tier has its name already:
// the next girdle name, else its derived name (primed while that is taken too).
std::string FreeName(const std::vector<StoneInstruction>& stone, const NamedTier& tier) {
    if (!NameTaken(stone, tier.Name)) return tier.Name;
    if (tier.Girdle) return NextGirdleName(stone);
    std::string name = tier.DerivedName;
    while (NameTaken(stone, name))
        name += '\'';
    return name;
}
} // namespace

std::vector<StoneInstruction> StoneCuttingInstructions(const TGem& crown, const TGem& pavilion) {
    std::vector<StoneInstruction> stone;
    for (const TierInstruction& i : CuttingInstructions(pavilion, &crown))
        stone.push_back({StoneHalf::Pavilion, i});
    std::map<std::string, std::string> renamed; // crown's name -> the stone's
    for (TierInstruction i : CuttingInstructions(crown, &pavilion)) {
        for (std::string& met : i.Meets) // only earlier tiers are met: all renamed already
            met = renamed.count(met) ? renamed[met] : met;
        if (i.Tier.Girdle)
            if (const StoneInstruction* girdle = PavilionGirdle(stone, i.Tier)) {
                renamed[i.Tier.Name] = girdle->Instruction.Tier.Name; // named once, cut with the pavilion
                continue;
            }
        const std::string name = FreeName(stone, i.Tier);
        renamed[i.Tier.Name] = name;
        if (name != i.Tier.Name) i.Tier.DerivedName = name; // a derived name in the stone's numbering
        i.Tier.Name = name;
        stone.push_back({StoneHalf::Crown, i});
    }
    return stone;
}

std::vector<TierInstruction> InstructionsOf(const std::vector<StoneInstruction>& stone) {
    std::vector<TierInstruction> tiers;
    for (const StoneInstruction& s : stone)
        tiers.push_back(s.Instruction);
    return tiers;
}
