// The figures of a design from its computed halves. This is the one place that turns the model's
// halves into what the library stores: everything else takes the figures from here.
#pragma once

#include "gem/gem.h"
#include "library/design_record.h"

#include <array>
#include <vector>

// The figures of a whole stone from its crown and its pavilion, or of a half alone (the other null).
// Ratios are to the width W of the girdle outline (the crown's, else the pavilion's), its shorter side
// (L the longer one, so that L/W >= 1 whichever way the design lies); C/W and P/W are each half's
// height, G/W the height of the girdle facets of both halves, H/W the sum of the halves' heights.
DesignFigures MeasureDesign(const TGem* crown, const TGem* pavilion);

// The girdle outline of a computed half: its corners projected on the girdle plane, the convex hull
// counter-clockwise.
std::vector<OutlinePoint> HalfOutline(const TGem& half);

// The top view of a design as line segments (x1, y1, x2, y2) in design units: the crown's edges seen
// from above, or a pavilion's seen from below.
struct TopView {
    std::vector<std::array<double, 4>> Segments;
    double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};
TopView TopViewOf(const TGem& half);
