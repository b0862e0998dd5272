#include "gem/plane_methods.h"

#include "gem/range_error.h"

PlaneMethod PlaneMethodAt(int position) {
    if (position < 0 || position >= PlaneMethodCount)
        throw RangeError("Plane method " + std::to_string(position) + " does not exist");
    return static_cast<PlaneMethod>(position);
}

PlaneMethodInputs InputsOf(PlaneMethod method) {
    switch (method) {
    case PlaneMethod::AngleIndexPoint:
        return {1, true, true, false};
    case PlaneMethod::IndexTwoPoints:
        return {2, false, true, false};
    case PlaneMethod::ThreePoints:
        return {3, false, false, false};
    case PlaneMethod::DepthAngleIndex:
        return {0, true, true, true};
    case PlaneMethod::GirdleTwoPoints:
        return {2, false, false, false};
    }
    throw RangeError("Unknown plane method");
}

std::optional<Plane> PlaneOf(const TGem& design, PlaneMethod method, const PlaneInputs& in) {
    const Vector3 &a = in.Points[0], &b = in.Points[1], &c = in.Points[2];
    switch (method) {
    case PlaneMethod::AngleIndexPoint:
        return design.PlaneFromAngleIndexPoint(in.Angle, in.Index, a);
    case PlaneMethod::IndexTwoPoints:
        return design.PlaneFromIndexTwoPoints(in.Index, a, b);
    case PlaneMethod::ThreePoints:
        return design.PlaneFromThreePoints(a, b, c);
    case PlaneMethod::DepthAngleIndex:
        return design.PlaneFromAngleIndexDist(in.Angle, in.Index, in.Depth);
    case PlaneMethod::GirdleTwoPoints:
        return TGem::VerticalPlaneThrough(a.x, a.y, b.x, b.y);
    }
    throw RangeError("Unknown plane method");
}
