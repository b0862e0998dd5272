#include "optics/traced_stone.h"

#include <algorithm>
#include <stdexcept>

namespace optics {
namespace {
// A corner may lie this far outside a plane through rounding (in the stone's units).
constexpr double CornerTolerance = 1e-9;

// The point on three planes, or false when they meet in no single point.
bool Meet(const TracedPlane& a, const TracedPlane& b, const TracedPlane& c, Vec3& point) {
    const Vec3 bc = Cross(b.Normal, c.Normal);
    const double det = Dot(a.Normal, bc);
    if (std::fabs(det) < 1e-12) return false;
    point = (1.0 / det) *
            (a.Offset * bc + b.Offset * Cross(c.Normal, a.Normal) + c.Offset * Cross(a.Normal, b.Normal));
    return true;
}

// Whether the solid reaches infinitely far in direction d: no plane's normal has a positive part along it.
bool OpenTowards(const std::vector<TracedPlane>& planes, const Vec3& d) {
    return std::none_of(planes.begin(), planes.end(),
                        [&](const TracedPlane& p) { return Dot(p.Normal, d) > 1e-12; });
}
} // namespace

TracedStone::TracedStone(std::vector<TracedPlane> planes) : planes_(std::move(planes)) {
    for (TracedPlane& p : planes_) {
        const double length = Length(p.Normal);
        if (!(length > 0)) throw std::invalid_argument("a face plane of the stone has no normal");
        p.Normal = (1.0 / length) * p.Normal;
        p.Offset /= length;
    }
    FindCorners();
    if (corners_.size() < 4) throw std::invalid_argument("the face planes enclose no solid stone");
    for (const Vec3& a : corners_)
        for (const Vec3& b : corners_)
            width_ = std::max(width_, std::hypot(a.x - b.x, a.y - b.y));
    const Vec3 directions[] = {{1, 0, 0}, {-1, 0, 0}, {0, 1, 0}, {0, -1, 0}, {0, 0, 1}, {0, 0, -1}};
    for (const Vec3& d : directions)
        if (OpenTowards(planes_, d)) throw std::invalid_argument("the face planes do not close the stone");
}

void TracedStone::FindCorners() {
    const std::size_t n = planes_.size();
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t j = i + 1; j < n; ++j)
            for (std::size_t k = j + 1; k < n; ++k) {
                Vec3 p;
                if (!Meet(planes_[i], planes_[j], planes_[k], p)) continue;
                const bool inside = std::all_of(planes_.begin(), planes_.end(), [&](const TracedPlane& q) {
                    return Dot(q.Normal, p) <= q.Offset + CornerTolerance;
                });
                if (inside) corners_.push_back(p);
            }
}

Vec3 TracedStone::Centre() const {
    Vec3 low = corners_.front(), high = corners_.front();
    for (const Vec3& c : corners_) {
        low = {std::min(low.x, c.x), std::min(low.y, c.y), std::min(low.z, c.z)};
        high = {std::max(high.x, c.x), std::max(high.y, c.y), std::max(high.z, c.z)};
    }
    return 0.5 * (low + high);
}

double TracedStone::Top() const {
    double top = corners_.front().z;
    for (const Vec3& c : corners_)
        top = std::max(top, c.z);
    return top;
}

double TracedStone::Bottom() const {
    double bottom = corners_.front().z;
    for (const Vec3& c : corners_)
        bottom = std::min(bottom, c.z);
    return bottom;
}

TracedStone TracedStone::Tilted(double axisAzimuth, double angle) const {
    const Rotation turn{{std::cos(axisAzimuth), std::sin(axisAzimuth), 0}, angle};
    const Vec3 centre = Centre();
    TracedStone tilted;
    tilted.width_ = width_;
    tilted.planes_.reserve(planes_.size());
    for (const TracedPlane& p : planes_) {
        const Vec3 normal = turn(p.Normal);
        // The plane through the turned image of its point nearest the centre.
        const Vec3 foot = centre + (p.Offset - Dot(p.Normal, centre)) * p.Normal;
        tilted.planes_.push_back({normal, Dot(normal, centre + turn(foot - centre)), p.Side});
    }
    tilted.corners_.reserve(corners_.size());
    for (const Vec3& c : corners_)
        tilted.corners_.push_back(centre + turn(c - centre));
    return tilted;
}

Vec3 TracedStone::TiltedPoint(const Vec3& point, double axisAzimuth, double angle) const {
    const Rotation turn{{std::cos(axisAzimuth), std::sin(axisAzimuth), 0}, angle};
    const Vec3 centre = Centre();
    return centre + turn(point - centre);
}

} // namespace optics
