#include "tests/support/design_builders.h"
#include "tests/support/asc_files.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

std::unique_ptr<TGem> NewGem(char type, int parts, int systemIndex, bool mirror, int offset) {
    auto gem = std::make_unique<TGem>();
    gem->NewDesign(type, parts, systemIndex, mirror, offset, true);
    return gem;
}

static void CutPlane(TGem& gem, const Plane& plane) {
    gem.CutFacetGroup(gem.LastFacetBeforeNewGroup() + 1, plane);
    gem.Recompute();
}

bool CutByAngle(TGem& gem, Real angle, Real index, Real dist) {
    const std::optional<Plane> plane = gem.PlaneFromAngleIndexDist(angle, index, dist);
    if (plane) CutPlane(gem, *plane);
    return plane.has_value();
}

bool CutThroughPoint(TGem& gem, Real angle, Real index, const Vector3& point) {
    const std::optional<Plane> plane = gem.PlaneFromAngleIndexPoint(angle, index, point);
    if (plane) CutPlane(gem, *plane);
    return plane.has_value();
}

bool Made(const std::optional<Plane>& made, Plane& plane) {
    if (made) plane = *made;
    return made.has_value();
}

void CutHorizontal(TGem& gem, Real z) {
    Plane plane;
    plane.Normal = gem.IsCrown() ? Vector3{0, 0, -1} : Vector3{0, 0, 1};
    plane.Dist = gem.IsCrown() ? -z : z;
    CutPlane(gem, plane);
}

static Vector3 AtIndex(const TGem& gem, Real index, Real radius, Real z) {
    const Real phi = gem.IndexAzimuth(index);
    return {radius * std::cos(phi), radius * std::sin(phi), z};
}

std::unique_ptr<TGem> RoundBrilliantCrown() {
    auto gem = NewGem('c', 8, 96, true);
    const Real radius = 50;
    CutByAngle(*gem, 90, 3, radius);                                   // 16 girdle facets
    CutThroughPoint(*gem, 37, 0, AtIndex(*gem, 0, radius, 1));         // 8 mains
    CutThroughPoint(*gem, 42, 3, AtIndex(*gem, 3, radius * 0.99, 1));  // 16 upper halves
    CutThroughPoint(*gem, 22, 6, AtIndex(*gem, 6, radius * 0.62, 14)); // 8 stars
    CutHorizontal(*gem, 17);                                           // table
    return gem;
}

std::unique_ptr<TGem> RoundBrilliantPavilion() {
    auto gem = NewGem('p', 8, 96, true);
    const Real radius = 50;
    CutByAngle(*gem, 90, 3, radius);                                   // 16 girdle facets
    CutThroughPoint(*gem, 41, 0, AtIndex(*gem, 0, radius, -1));        // 8 mains
    CutThroughPoint(*gem, 42, 3, AtIndex(*gem, 3, radius * 0.99, -1)); // 16 lower halves
    return gem;
}

std::unique_ptr<TGem> RandomDesign(std::mt19937& rng) {
    static const int gears[] = {64, 72, 80, 96, 120, -96};
    std::uniform_int_distribution<int> pick(0, 5);
    const int systemIndex = gears[pick(rng)];
    const int teeth = std::abs(systemIndex);
    std::vector<int> divisors;
    for (int p = 3; p <= 16; ++p)
        if (teeth % p == 0) divisors.push_back(p);
    std::uniform_int_distribution<std::size_t> pickParts(0, divisors.size() - 1);
    const int parts = divisors[pickParts(rng)];
    const bool mirror = std::bernoulli_distribution(0.5)(rng);
    const char type = std::bernoulli_distribution(0.5)(rng) ? 'c' : 'p';
    auto gem = NewGem(type, parts, systemIndex, mirror, std::uniform_int_distribution<int>(0, 5)(rng));

    std::uniform_real_distribution<Real> unit(0, 1);
    const Real radius = 30 + 30 * unit(rng);
    const Real indexStep = static_cast<Real>(teeth) / parts;
    CutByAngle(*gem, 90, std::floor(unit(rng) * indexStep), radius);

    const int groups = std::uniform_int_distribution<int>(2, 6)(rng);
    Real height = type == 'c' ? 0.5 : -0.5;
    for (int g = 0; g < groups; ++g) {
        const Real angle = type == 'c' ? 15 + 40 * unit(rng) : 38 + 12 * unit(rng);
        const Real index = std::floor(unit(rng) * teeth);
        const Real r = radius * (0.55 + 0.45 * unit(rng));
        CutThroughPoint(*gem, angle, index, AtIndex(*gem, index, r, height));
        height += type == 'c' ? 2 * unit(rng) : -8 * unit(rng);
    }
    if (type == 'c' && unit(rng) < 0.7) CutHorizontal(*gem, 6 + 10 * unit(rng));
    return gem;
}

std::unique_ptr<TGem> DesignWithFacets(int facets) {
    // A rounded pavilion: tiers of 16 facets down a convex profile, each steeper than the next.
    auto gem = NewGem('p', 8, 96, true);
    const Real radius = 50;
    CutByAngle(*gem, 90, 3, radius); // 16 facets
    const int tiers = std::max(1, (facets - gem->FacetCount + 15) / 16);
    std::vector<Real> angles;
    Real run = 0;
    for (int t = 0; t < tiers; ++t) {
        angles.push_back(85 - 65.0L * t / tiers);
        run += std::cos(angles.back() * RadPerDeg);
    }
    const Real step = 0.95L * radius / run;
    Real r = radius, z = -0.5L;
    for (int t = 0; t < tiers; ++t) {
        const Real a = angles[static_cast<std::size_t>(t)] * RadPerDeg;
        const Real index = 1 + (t % 4);
        const Real midR = r - 0.5L * step * std::cos(a), midZ = z - 0.5L * step * std::sin(a);
        CutThroughPoint(*gem, angles[static_cast<std::size_t>(t)], index, AtIndex(*gem, index, midR, midZ));
        r -= step * std::cos(a);
        z -= step * std::sin(a);
    }
    return gem;
}

std::string DesignTextWithoutStamp(const TGem& gem) {
    const std::string text = gem.DesignFileText();
    const std::size_t end = text.find('\n');
    return end == std::string::npos ? std::string() : text.substr(end + 1);
}

std::unique_ptr<TGem> SphereDesign(int tiers) {
    constexpr Real radius = 50, steepest = 88, flattest = 25;
    auto gem = NewGem('p', 96, 96, false);
    for (int t = 0; t < tiers; ++t) {
        const Real angle = tiers == 1 ? steepest : steepest - (steepest - flattest) * t / (tiers - 1);
        gem->CutFacetGroup(gem->LastFacetBeforeNewGroup() + 1,
                           gem->PlaneFromAngleIndexDist(angle, (t % 2) * 0.5L, radius).value());
    }
    const Real lowest = tiers == 1 ? steepest : flattest;
    gem->SetNormalZ(-1, 1);
    gem->SetDist(-1, -(radius * std::cos(lowest * RadPerDeg) + 1));
    return gem;
}

namespace {
// Cuts a group at a random angle through a random corner of the stone as it stands.
bool CutThroughCorner(TGem& gem, std::mt19937& rng) {
    if (gem.PointCount == 0) return false;
    const int p = std::uniform_int_distribution<int>(1, gem.PointCount)(rng);
    const Vector3 corner = gem.Points[p].Position;
    if (std::hypot(corner.x, corner.y) < 1) return false;
    const Real index = gem.IndexFromNormal({-corner.x, -corner.y, 0});
    const Real angle = std::uniform_real_distribution<Real>(20, 70)(rng);
    return CutThroughPoint(gem, angle, std::round(index), corner);
}
} // namespace

std::unique_ptr<TGem> SmallRandomDesign(std::mt19937& rng) {
    static const int gears[] = {64, 72, 80, 96, 120, -96};
    std::uniform_real_distribution<Real> unit(0, 1);
    const int systemIndex = gears[std::uniform_int_distribution<int>(0, 5)(rng)];
    const int teeth = std::abs(systemIndex);
    std::vector<int> divisors;
    for (int p = 3; p <= 12; ++p)
        if (teeth % p == 0) divisors.push_back(p);
    const int parts = divisors[std::uniform_int_distribution<std::size_t>(0, divisors.size() - 1)(rng)];
    const char type = unit(rng) < 0.5 ? 'c' : 'p';
    auto gem =
        NewGem(type, parts, systemIndex, unit(rng) < 0.5, std::uniform_int_distribution<int>(0, 5)(rng));

    const Real radius = 20 + 40 * unit(rng);
    const Real indexStep = static_cast<Real>(teeth) / parts;
    if (unit(rng) < 0.8) CutByAngle(*gem, 90, std::floor(unit(rng) * indexStep), radius);
    const int groups = std::uniform_int_distribution<int>(1, 4)(rng);
    Real height = type == 'c' ? 0.5L : -0.5L;
    for (int g = 0; g < groups; ++g) {
        if (unit(rng) < 0.3 && CutThroughCorner(*gem, rng)) continue;
        const Real angle = type == 'c' ? 15 + 40 * unit(rng) : 35 + 15 * unit(rng);
        const Real index = std::floor(unit(rng) * teeth);
        const Real phi = gem->IndexAzimuth(index), r = radius * (0.5L + 0.5L * unit(rng));
        CutThroughPoint(*gem, angle, index, {r * std::cos(phi), r * std::sin(phi), height});
        height += type == 'c' ? 3 * unit(rng) : -10 * unit(rng);
    }
    if (type == 'c' && unit(rng) < 0.6) CutHorizontal(*gem, 4 + 12 * unit(rng));
    if (unit(rng) < 0.5) RoundTripThroughFile(*gem);
    return gem;
}

void RoundTripThroughFile(TGem& gem) {
    TempFile file("round trip.lfx");
    file.Write(gem.DesignFileText());
    if (const FileResult read = gem.ReadDesign(file.Path(), TGem::FileMode::Open); !read)
        throw std::runtime_error("a design does not read back: " + read.Error().Message);
}
