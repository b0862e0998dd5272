#include "tests/support/optics_stones.h"

#include <cmath>
#include <vector>

namespace optics::test {
namespace {
// The face with the outward normal at `angle` degrees to the girdle plane and azimuth `azimuth`
// degrees, through the point at `radius` from the axis along the azimuth at height z.
TracedPlane Face(double angle, double azimuth, double radius, double z, Half side) {
    const double a = Radians(angle), phi = Radians(azimuth);
    const double up = side == Half::Pavilion ? -std::cos(a) : std::cos(a);
    const Vec3 normal{std::sin(a) * std::cos(phi), std::sin(a) * std::sin(phi), up};
    return {normal, Dot(normal, Vec3{radius * std::cos(phi), radius * std::sin(phi), z}), side};
}

void AddBox(std::vector<TracedPlane>& planes, double half) {
    planes.push_back({{1, 0, 0}, half, Half::Girdle});
    planes.push_back({{-1, 0, 0}, half, Half::Girdle});
    planes.push_back({{0, 1, 0}, half, Half::Girdle});
    planes.push_back({{0, -1, 0}, half, Half::Girdle});
}
} // namespace

TracedStone Slab(double thickness) {
    std::vector<TracedPlane> planes{{{0, 0, 1}, thickness, Half::Crown}, {{0, 0, -1}, 0, Half::Pavilion}};
    AddBox(planes, 1);
    return TracedStone(planes);
}

TracedStone CornerCube() {
    // The cube's frame: its diagonal becomes the axis.
    const Vec3 e3 = Normalized({1, 1, 1}), e1 = Normalized({1, -1, 0}), e2 = Cross(e3, e1);
    auto world = [&](const Vec3& q) { return Vec3{Dot(q, e1), Dot(q, e2), Dot(q, e3)}; };
    std::vector<TracedPlane> planes;
    for (const Vec3& axis : {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{0, 0, 1}})
        planes.push_back({world(-axis), 0, Half::Pavilion});
    const Vec3 outline[] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 1, 1}, {0, 0, 1}, {1, 0, 1}};
    for (int i = 0; i < 6; ++i) {
        const Vec3 a = world(outline[i]), b = world(outline[(i + 1) % 6]);
        Vec3 normal = Normalized(Cross(b - a, {0, 0, 1}));
        if (Dot(normal, a) < 0) normal = -normal;
        planes.push_back({normal, Dot(normal, a), Half::Girdle});
    }
    planes.push_back({{0, 0, 1}, 2 / std::sqrt(3.0) + 0.1, Half::Crown});
    return TracedStone(planes);
}

TracedStone Prism(double angleDegrees) {
    const double a = Radians(angleDegrees);
    std::vector<TracedPlane> planes{{{0, 0, 1}, 0, Half::Crown},
                                    {{std::sin(a), 0, -std::cos(a)}, std::cos(a), Half::Pavilion}};
    AddBox(planes, 1);
    return TracedStone(planes);
}

TracedStone Brilliant(const BrilliantAngles& b) {
    std::vector<TracedPlane> planes;
    const double edge = b.Girdle / 2; // height of the girdle's upper edge
    for (int k = 0; k < 8; ++k) {
        const double main = 45.0 * k, star = main + 22.5;
        planes.push_back(Face(b.Pavilion, main, 1, -edge, Half::Pavilion));
        planes.push_back(Face(b.Crown, main, 1, edge, Half::Crown));
        for (double half : {main + 11.25, main + 33.75}) {
            planes.push_back(Face(b.Pavilion + b.PavilionHalves, half, 1, -edge, Half::Pavilion));
            planes.push_back(Face(b.Crown + b.CrownHalves, half, 1, edge, Half::Crown));
        }
        // The star through the ridge of two crown mains halfway between table and girdle.
        const double r = 0.5 * (1 + b.Table);
        const double ridge = edge + std::tan(Radians(b.Crown)) * (1 - r * std::cos(Radians(22.5)));
        planes.push_back(Face(b.Crown - b.Star, star, r, ridge, Half::Crown));
    }
    for (int k = 0; k < b.GirdleFacets; ++k)
        planes.push_back(Face(90, 360.0 * k / b.GirdleFacets, 1, 0, Half::Girdle));
    planes.push_back({{0, 0, 1}, edge + std::tan(Radians(b.Crown)) * (1 - b.Table), Half::Crown});
    return TracedStone(planes);
}

} // namespace optics::test
