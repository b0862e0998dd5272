#include "sheet/sheet_zoom.h"

#include <algorithm>

void SheetZoom::SetScale(Real scale) {
    Scale = std::clamp(scale, MinScale, MaxScale);
}

void SheetZoom::ZoomAbout(Real factor, Real x, Real y) {
    const Real before = Scale;
    SetScale(Scale * factor);
    const Real keep = before / Scale; // the point's offset from the centre shrinks by this
    CentreX = x - (x - CentreX) * keep;
    CentreY = y - (y - CentreY) * keep;
}
