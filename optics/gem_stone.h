// The stone of half designs of the model, as the tracer takes it.
#pragma once

#include "gem/gem.h"
#include "optics/traced_stone.h"

namespace optics {

// One half design closed by the girdle plane. Throws std::invalid_argument when it encloses no stone.
TracedStone StoneFromHalf(const TGem& half);
// The whole stone of a crown and a pavilion that meet at the girdle plane.
TracedStone StoneFromHalves(const TGem& crown, const TGem& pavilion);

} // namespace optics
