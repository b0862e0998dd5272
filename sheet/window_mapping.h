// The window-to-viewport mapping shared by the canvas (canvas units onto device pixels) and the views
// (design coordinates onto canvas units): a window [min, max] of each axis onto a span of `extent`
// units that starts at the span's own origin. Either axis may run backwards (min > max).
#pragma once

#include "gem/vector3.h"

struct AxisMapping {
    Real Scale = 0, Offset = 0;

    void Set(Real min, Real max, Real extent) {
        Scale = extent / (max - min);
        Offset = extent * min / (max - min);
    }
    // A window coordinate as an offset into the span, and back.
    Real Forward(Real v) const { return v * Scale - Offset; }
    Real Back(Real u) const { return (u + Offset) / Scale; }
};

// The maximum of the second axis that makes both axes equally scaled over a span of width x height;
// sign 1 keeps the second axis growing with the first's orientation, -1 runs it backwards.
inline Real IsotropicEnd(int sign, Real xmin, Real ymin, Real xmax, Real width, Real height) {
    const Real extent = (xmax - xmin) * height / width;
    return ymin + sign * (extent < 0 ? -extent : extent);
}

// A window of both axes, as set, and its mapping onto a span of width x height.
struct WindowMapping {
    Real XMin = 0, YMin = 0, XMax = 0, YMax = 0;
    AxisMapping X, Y;

    void Set(Real xmin, Real ymin, Real xmax, Real ymax, Real width, Real height) {
        XMin = xmin;
        YMin = ymin;
        XMax = xmax;
        YMax = ymax;
        X.Set(xmin, xmax, width);
        Y.Set(ymin, ymax, height);
    }
    // Both axes equally scaled: the second axis's maximum follows from the span's proportions.
    void SetIsotropic(int sign, Real xmin, Real ymin, Real xmax, Real width, Real height) {
        Set(xmin, ymin, xmax, IsotropicEnd(sign, xmin, ymin, xmax, width, height), width, height);
    }
};
