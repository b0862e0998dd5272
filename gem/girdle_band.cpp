#include "gem/girdle_band.h"

#include <cmath>

namespace {
constexpr Real WidestTolerance = 1e-9L; // of the widest radius: corners this near it are at the widest

std::pair<Real, Real> WidestSection(const std::vector<Vector3>& corners) {
    Real widest = 0;
    for (const Vector3& p : corners)
        widest = std::fmax(widest, std::hypot(p.x, p.y));
    Real low = INFINITY, high = -INFINITY;
    for (const Vector3& p : corners)
        if (std::hypot(p.x, p.y) >= widest * (1 - WidestTolerance)) {
            low = std::fmin(low, p.z);
            high = std::fmax(high, p.z);
        }
    return {low, high};
}
} // namespace

std::pair<Real, Real> GirdleBand(const std::vector<Vector3>& corners, const std::vector<BandFace>& faces) {
    const std::size_t count = corners.size();
    std::vector<bool> onGirdle(count), onCrown(count), onPavilion(count);
    for (const BandFace& face : faces)
        for (int c : *face.Corners) {
            if (face.Girdle)
                onGirdle[c] = true;
            else
                (face.LooksUp ? onCrown : onPavilion)[c] = true;
        }
    Real top = INFINITY, bottom = -INFINITY;
    for (std::size_t c = 0; c < count; ++c) {
        if (!onGirdle[c]) continue;
        if (onCrown[c]) top = std::fmin(top, corners[c].z);
        if (onPavilion[c]) bottom = std::fmax(bottom, corners[c].z);
    }
    if (!std::isfinite(top) || !std::isfinite(bottom)) return WidestSection(corners);
    return {std::fmin(bottom, top), std::fmax(bottom, top)};
}
