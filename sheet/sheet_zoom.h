// The zoom and pan of the screen's views of the stone: the top view and both side views share one
// scale, a multiple of the documented fixed scale (1 is "Actual size"), and one centre in the girdle
// plane; the side views keep the girdle plane where the fixed scale puts it.
#pragma once

#include "gem/vector3.h"

class TGem;

struct SheetZoom {
    static constexpr Real MinScale = 1.0L / 20;
    static constexpr Real MaxScale = 50;
    static constexpr Real Step = 1.25L; // one Zoom in or Zoom out
    // Share of a view left free around a fitted stone.
    static constexpr Real FitMargin = 0.08L;

    Real Scale = 1;
    Real CentreX = 0, CentreY = 0; // model x and y shown at the centre of the top view

    bool IsActualSize() const { return Scale == 1 && CentreX == 0 && CentreY == 0; }
    // Sets the scale, stopped at the bounds 1/20 ... 50.
    void SetScale(Real scale);
    // Zooms by `factor` keeping the model point (x, y) where it is on the screen.
    void ZoomAbout(Real factor, Real x, Real y);
};
