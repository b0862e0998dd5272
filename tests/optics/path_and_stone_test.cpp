// One ray's path through a slab against Snell's law and Fresnel's equations; the whole stone as the
// tracer takes it; figures traced to a given error.
#include "optics/figures.h"
#include "optics/tracer.h"
#include "optics/whole_stone.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"
#include "tests/support/optics_stones.h"

#include <gtest/gtest.h>

#include <cmath>

namespace optics {
namespace {

constexpr double Quartz = 1.544;

// A ray at 30° onto a slab: it refracts by Snell's law, crosses the slab back and forth at lateral
// steps of thickness × tan(refraction angle), and at every face the s and p powers follow Fresnel's
// reflectances (the same at both faces: the angles are the same).
TEST(RayPath, ThroughASlabFollowsSnellAndFresnel) {
    const double n = Quartz, thickness = 0.3, incidence = Radians(30);
    TraceOptions options;
    options.RefractiveIndex = n;
    const Tracer tracer(test::Slab(thickness), options);
    const Vec3 start{-0.8, 0, 1}, down{std::sin(incidence), 0, -std::cos(incidence)};
    std::vector<PathStep> path;
    const RayOutcome outcome = tracer.Trace({start, down}, &path);

    const double ci = std::cos(incidence), st = std::sin(incidence) / n, ct = std::sqrt(1 - st * st);
    const double rs = std::pow((ci - n * ct) / (ci + n * ct), 2),
                 rp = std::pow((n * ci - ct) / (n * ci + ct), 2);
    const double entry = start.x + (1 - thickness) * std::tan(incidence), step = thickness * st / ct;

    ASSERT_GE(path.size(), 8u);
    EXPECT_EQ(path[0].Event, PathEvent::OuterReflection);
    EXPECT_NEAR(path[0].Weight, (rs + rp) / 2, 1e-12);
    EXPECT_EQ(path[1].Event, PathEvent::Enter);
    EXPECT_NEAR(path[1].Point.x, entry, 1e-12);
    EXPECT_NEAR(path[1].Direction.x, st, 1e-12);
    // Then pairs of events: the part that leaves and the part reflected on, bottom and top in turn.
    double s = 1 - rs, p = 1 - rp; // the powers inside
    for (int crossing = 0; crossing < 3; ++crossing) {
        const PathStep& leave = path[2 + 2 * crossing];
        const PathStep& reflect = path[3 + 2 * crossing];
        const bool bottom = crossing % 2 == 0;
        EXPECT_EQ(leave.Event, PathEvent::Leave);
        EXPECT_EQ(reflect.Event, PathEvent::Reflect);
        EXPECT_NEAR(leave.Point.x, entry + (crossing + 1) * step, 1e-12) << crossing;
        EXPECT_NEAR(leave.Point.z, bottom ? 0 : thickness, 1e-12) << crossing;
        EXPECT_NEAR(leave.Direction.x, down.x, 1e-12); // parallel faces: it leaves as it came
        EXPECT_NEAR(leave.Direction.z, bottom ? down.z : -down.z, 1e-12);
        EXPECT_NEAR(leave.Weight, (s * (1 - rs) + p * (1 - rp)) / 2, 1e-12) << crossing;
        s *= rs, p *= rp;
        EXPECT_NEAR(reflect.Weight, (s + p) / 2, 1e-12) << crossing;
    }
    EXPECT_EQ(path.back().Event, PathEvent::CutOff);
    EXPECT_NEAR(outcome.Outer + outcome.Returned + outcome.Windowed + outcome.Lost, 1, 1e-12);
}

double Nearest(const Vec3& c, const std::vector<Vector3>& corners) {
    double nearest = 1e300;
    for (const Vector3& k : corners)
        nearest = std::min(nearest, std::hypot(c.x - double(k.x), c.y - double(k.y), c.z - double(k.z)));
    return nearest;
}

// The whole stone of two half designs: the tracer's stone has the corners that stone/ found, and the
// girdle plane that closes a crown on its own windows as the pavilion would.
TEST(WholeStone, TracesTheStoneOfTheHalves) {
    const auto crown = RoundBrilliantCrown(), pavilion = RoundBrilliantPavilion();
    Stone stone;
    ASSERT_TRUE(Done(MakeStone(*crown, *pavilion, stone)));
    const TracedStone traced = TracedStoneOf(stone);
    const double tolerance = 1e-9 * double(stone.Size());
    for (const Vec3& c : traced.Corners()) // a corner of more than three faces comes once per triple
        EXPECT_LT(Nearest(c, stone.Corners), tolerance);
    std::vector<Vector3> tracedCorners;
    for (const Vec3& c : traced.Corners())
        tracedCorners.push_back({c.x, c.y, c.z});
    for (const Vector3& k : stone.Corners)
        EXPECT_LT(Nearest({double(k.x), double(k.y), double(k.z)}, tracedCorners), tolerance);
    EXPECT_LT(ComputeFigures(traced, {}, {2000, 3}).EnergyError, 1e-9);

    ASSERT_TRUE(Done(MakeHalfStone(*crown, stone)));
    int closing = 0;
    const TracedStone half = TracedStoneOf(stone);
    for (const TracedPlane& plane : half.Planes())
        if (plane.Side == Half::Pavilion) {
            ++closing;
            EXPECT_NEAR(plane.Normal.z, -1, 1e-12);
        }
    EXPECT_EQ(closing, 1);
    EXPECT_THROW(TracedStoneOf(Stone{}), std::invalid_argument);
}

// Traced until within an error, the figures are that precise and agree with a far larger sampling.
TEST(FiguresWithin, ReachTheErrorAndAgreeWithManyRays) {
    const TracedStone stone = test::Brilliant({});
    const Figures within = ComputeFiguresWithin(stone, {}, 0.002, 5, 500);
    EXPECT_LE(within.Iso.Error, 0.002);
    EXPECT_LE(within.Cos.Error, 0.002);
    const Figures many = ComputeFigures(stone, {}, {100000, 9});
    EXPECT_NEAR(within.Iso.Value, many.Iso.Value, 3 * std::hypot(within.Iso.Error, many.Iso.Error));
    EXPECT_NEAR(within.Cos.Value, many.Cos.Value, 3 * std::hypot(within.Cos.Error, many.Cos.Error));
}

} // namespace
} // namespace optics
