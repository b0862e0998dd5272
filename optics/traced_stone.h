// The stone as the tracer sees it: a closed convex solid given by its face planes.
#pragma once

#include "optics/vec.h"

#include <vector>

namespace optics {

// Which part of the stone a face belongs to: light that leaves through the pavilion is windowing.
enum class Half { Crown, Pavilion, Girdle };

// One face plane. The stone keeps the points p with Dot(Normal, p) <= Offset: Normal is the unit
// normal pointing out of the stone.
struct TracedPlane {
    Vec3 Normal;
    double Offset = 0;
    Half Side = Half::Crown;
};

// A closed convex stone: its planes and its corners. The z axis is the stone's axis, the crown up.
class TracedStone {
  public:
    // Throws std::invalid_argument when the planes enclose no solid or an unbounded one.
    explicit TracedStone(std::vector<TracedPlane> planes);

    const std::vector<TracedPlane>& Planes() const { return planes_; }
    const std::vector<Vec3>& Corners() const { return corners_; }
    // The middle of the corners' bounding box: the point a tilt turns the stone about.
    Vec3 Centre() const;
    // The largest extent across the axis of the stone as given (kept when it is tilted): its width W.
    double Width() const { return width_; }
    double Top() const;
    double Bottom() const;

    // The stone turned about the horizontal axis at azimuth `axisAzimuth` (radians from +x) through its
    // centre by `angle` radians.
    TracedStone Tilted(double axisAzimuth, double angle) const;
    // Where a point goes when the stone is turned so.
    Vec3 TiltedPoint(const Vec3& point, double axisAzimuth, double angle) const;

  private:
    TracedStone() = default;
    void FindCorners();
    std::vector<TracedPlane> planes_;
    std::vector<Vec3> corners_;
    double width_ = 0;
};

} // namespace optics
