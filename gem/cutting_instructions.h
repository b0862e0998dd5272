// Cutting instructions with meet points: for every tier, in cutting order, where the cutter stops, found
// by replaying the design's cuts in their order. A tier cut "to meet" others passes through a corner the
// stone already had, where those tiers meet; a centre point is one corner on the axis that all its facets
// share; a level girdle leaves every corner of the girdle facets at one height.
#pragma once

#include "gem/tier_names.h"

#include <string>
#include <vector>

struct TierInstruction {
    NamedTier Tier;
    std::vector<std::string> Meets; // names of the earlier tiers met, in cutting order
    bool CentrePoint = false;
    bool LevelGirdle = false;
    bool Temporary = false; // a later tier cuts away a point this tier was cut to
    // "meet g, p1; level girdle", "centre point", "temporary meet" appended when Temporary; empty when
    // the tier is cut to no point of the stone (the girdle cut to size, the table).
    std::string Text() const;
};

// The instructions of a computed design, one per tier present on the stone, in cutting order. With the
// partner half, the design's text names no tier that the partner could be meant by as well.
std::vector<TierInstruction> CuttingInstructions(const TGem& design, const TGem* partner = nullptr);
// One line per tier: name, angle, indices and the instruction, in columns.
std::vector<std::string> CuttingInstructionLines(const std::vector<TierInstruction>& instructions);
