// The double-precision loops over all planes that the fast way of the cutting engine runs for every
// window and every tried pair, in the widest vector instructions the processor offers.
#pragma once

#include "gem/engine_parts.h"

#include <cstdint>

namespace engine {

// Plane columns: normal components and Dist, in double and in single precision; `slots` is a
// multiple of 8, the slots past the real planes (and 8 more past `slots`, so that eight slots can be
// read from any slot below it) holding planes that every point is deep inside.
struct PlaneColumns {
    const double *nx, *ny, *nz, *nd;
    const float *fx, *fy, *fz, *fd;
    int slots;
};

// The planes of a design for the fast clipping: columns in single and double precision for the
// tests, and the planes themselves, side by side (slot s holds facet s - 1), for the literal steps.
struct ClipPlanes {
    PlaneColumns columns;
    const Plane* planes;
    int count;       // planes -1 ... FacetCount
    double farthest; // largest |Dist|
};

// Clips pair (j, k)'s segment exactly as the literal clipping does, plane by plane in increasing
// number; a plane is skipped only when a double-precision test, with a bound on its rounding error,
// shows both ends more than the tolerance inside it, where the literal step does nothing. The same
// test settles which ends are outside when it is clear. False when nothing of the segment is left.
bool ClipPair(const ClipPlanes& planes, int j, int k, Segment& segment);

// A disc: centre, unit normal and radius.
struct Disc {
    double x, y, z, nx, ny, nz, radius;
};

// Writes the slots whose plane value may be `reach` or less somewhere on the disc to `slots`, in
// increasing order, and answers how many.
int ListNear(const PlaneColumns& planes, const Disc& disc, double reach, int* slots);

} // namespace engine
