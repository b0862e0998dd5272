// The cutting instructions of a whole stone in the order a cutter cuts it: the pavilion (girdle and
// culet included), then the crown, whose first tiers meet the girdle the pavilion left. Names are unique
// across the stone: p1 ..., c1 ..., the girdle named once (a crown girdle tier on the pavilion's indices
// is that girdle), t the table, or the names the halves' texts give.
#pragma once

#include "gem/cutting_instructions.h"
#include "stone/stone.h"

#include <vector>

struct StoneInstruction {
    StoneHalf Half = StoneHalf::Pavilion;
    TierInstruction Instruction;
};

std::vector<StoneInstruction> StoneCuttingInstructions(const TGem& crown, const TGem& pavilion);

// The tier instructions alone, in the stone's order.
std::vector<TierInstruction> InstructionsOf(const std::vector<StoneInstruction>& stone);
