#include "optics/whole_stone.h"

#include <stdexcept>
#include <vector>

namespace optics {
namespace {
// The facet number of the girdle plane in a half design.
constexpr int GirdlePlane = 0;

Half SideOf(const StoneFace& face) {
    if (face.Girdle) return Half::Girdle;
    const bool crown = face.Half == StoneHalf::Crown;
    // The girdle plane is the cut face seen from the missing half.
    if (face.Facet == GirdlePlane) return crown ? Half::Pavilion : Half::Crown;
    return crown ? Half::Crown : Half::Pavilion;
}
} // namespace

TracedStone TracedStoneOf(const Stone& stone) {
    if (stone.Empty()) throw std::invalid_argument("there is no stone to trace");
    std::vector<TracedPlane> planes;
    planes.reserve(stone.Faces.size());
    // The stone keeps Dot(Normal, p) >= Dist with Normal pointing in; the tracer's planes keep
    // Dot(Normal, p) <= Offset with Normal pointing out.
    for (const StoneFace& face : stone.Faces) {
        const Vector3& in = face.FacePlane.Normal;
        planes.push_back(
            {Vec3{-static_cast<double>(in.x), -static_cast<double>(in.y), -static_cast<double>(in.z)},
             -static_cast<double>(face.FacePlane.Dist), SideOf(face)});
    }
    return TracedStone(std::move(planes));
}

} // namespace optics
