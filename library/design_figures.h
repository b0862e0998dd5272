// The figures of a design from its whole stone. This is the one place that turns the model's stone
// and halves into what the library stores: everything else takes the figures from here.
#pragma once

#include "gem/gem.h"
#include "library/design_record.h"
#include "stone/stone.h"

#include <array>
#include <vector>

// The figures of a stone made of its crown and its pavilion, or of a half alone (the other null):
// those of the stone's figures (stone/stone_figures.h), of the stone turned a quarter about the axis
// when it is wider than long, so that L/W >= 1 whichever way the design lies. A half alone gives
// L/W, T/W (a crown) and its own height, C/W or P/W; the figures of a whole stone (G/W, H/W, Vol/W^3)
// stay empty. The main angles come from the halves.
DesignFigures MeasureDesign(const Stone& stone, const TGem* crown, const TGem* pavilion);

// The stone turned a quarter about the axis, counter-clockwise seen from above: (x, y) goes to (-y, x).
Stone TurnedQuarter(const Stone& stone);

// The girdle outline of a stone: its corners seen from above, the convex hull counter-clockwise.
std::vector<OutlinePoint> StoneOutline(const Stone& stone);

// The top view of a design as line segments (x1, y1, x2, y2) in design units: the crown's edges seen
// from above, or a pavilion's seen from below.
struct TopView {
    std::vector<std::array<double, 4>> Segments;
    double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};
TopView TopViewOf(const TGem& half);
