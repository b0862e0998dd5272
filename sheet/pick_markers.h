// The click markers a dialog shows on the top view while it waits for or has taken a click: the point
// picked for each of up to three uses. They belong to what the window shows, not to the design.
#pragma once

#include "gem/bounded_array.h"
#include "gem/vector3.h"

class PickMarkers {
  public:
    static constexpr int Count = 3;

    // Marker k (1 ... Count) shows at design point (x, y) of the top view; other k throw RangeError.
    void Set(int k, Real x, Real y) { Markers[k] = {x, y, true}; }
    bool Shown(int k) const { return Markers[k].Shown; }
    Real X(int k) const { return Markers[k].X; }
    Real Y(int k) const { return Markers[k].Y; }
    void HideAll() {
        for (int k = 1; k <= Count; ++k)
            Markers[k].Shown = false;
    }

  private:
    struct Marker {
        Real X = 0, Y = 0;
        bool Shown = false;
    };
    BoundedArray<Marker, 1, Count> Markers{"PickMarkers"};
};
