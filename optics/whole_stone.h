// The whole stone of stone/ as the tracer takes it: the window, the command line and the library trace
// the one stone that MakeStone builds.
#pragma once

#include "optics/traced_stone.h"
#include "stone/stone.h"

namespace optics {

// The stone's faces as the tracer's planes. A girdle facet is a girdle face; the girdle plane that
// closes a half on its own is a face of the other half (light leaving a crown through it windows).
// Throws std::invalid_argument for an empty stone.
TracedStone TracedStoneOf(const Stone& stone);

} // namespace optics
