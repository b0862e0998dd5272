// The tracer against closed forms, the law of energy and a second, simple implementation.
#include "optics/figures.h"
#include "optics/fresnel.h"
#include "optics/tracer.h"
#include "reference_tracer.h"
#include "tests/support/optics_stones.h"

#include <gtest/gtest.h>

#include <cmath>

namespace optics {
namespace {
using test::BrilliantAngles;

constexpr double Quartz = 1.544, Corundum = 1.768, Diamond = 2.417;

Sampling Rays(long long rays, std::uint64_t seed = 7) {
    return {rays, seed};
}

class SlabSeries : public ::testing::TestWithParam<double> {};

// Parallel rays at normal incidence: the outer reflection R, then T R T, T R^3 T, ... back up, and
// T T, T R^2 T, ... down through the slab.
TEST_P(SlabSeries, MatchesTheFresnelSeries) {
    const double n = GetParam();
    const double r = std::pow((n - 1) / (n + 1), 2), t = 1 - r;
    TraceOptions options;
    options.RefractiveIndex = n;
    options.CutOff = 1e-12;
    const Figures f = ComputeFigures(test::Slab(0.3), options, Rays(200));
    const double returned = t * t * r / (1 - r * r), windowed = t * t / (1 - r * r);
    EXPECT_NEAR(f.Outer.Value, r, 1e-3 * r);
    EXPECT_NEAR(f.Returned.Value, returned, 1e-3 * returned);
    EXPECT_NEAR(f.Windowed.Value, windowed, 1e-3 * windowed);
    EXPECT_NEAR(f.Iso.Value, r + returned, 1e-3 * (r + returned));
    EXPECT_NEAR(f.Cos.Value, f.Iso.Value, 1e-12); // everything leaves straight up
    EXPECT_LT(f.EnergyError, 1e-9);
}
INSTANTIATE_TEST_SUITE_P(Materials, SlabSeries, ::testing::Values(Quartz, Corundum, Diamond));

TEST(CornerCube, ReturnsAllLightTowardsTheEye) {
    const Figures open = ComputeFigures(test::CornerCube(), {}, Rays(2000));
    EXPECT_LT(open.Windowed.Value, 1e-9);
    EXPECT_NEAR(open.Iso.Value, 1 - open.Lost.Value, 1e-9);
    EXPECT_NEAR(open.Cos.Value, open.Iso.Value, 1e-9);

    TraceOptions shadowed;
    shadowed.HeadShadow = 1;
    const Figures dark = ComputeFigures(test::CornerCube(), shadowed, Rays(2000));
    EXPECT_LT(dark.Iso.Value, 1e-9);
    EXPECT_NEAR(dark.Shadowed.Value, 1 - dark.Lost.Value, 1e-9);
}

class CriticalAngle : public ::testing::TestWithParam<double> {};

// The eye ray through the table meets the pavilion face at the face's angle: it is reflected totally
// from the critical angle on.
TEST_P(CriticalAngle, TotalReflectionSwitchesWithinAHundredthOfADegree) {
    const double n = GetParam();
    const double critical = Degrees(std::asin(1 / n));
    for (double offset : {-0.01, 0.01}) {
        TraceOptions options;
        options.RefractiveIndex = n;
        const Tracer tracer(test::Prism(critical + offset), options);
        std::vector<PathStep> path;
        tracer.Trace(tracer.EyeRay(0, 0), &path);
        ASSERT_GE(path.size(), 3u);
        const PathStep& atFace = path[2];
        EXPECT_EQ(atFace.Plane, 1);
        EXPECT_EQ(atFace.Event, offset > 0 ? PathEvent::TotalReflect : PathEvent::Leave) << offset;
        if (offset < 0) {
            EXPECT_GT(atFace.Weight, 0.01);
        }
    }
}
INSTANTIATE_TEST_SUITE_P(Materials, CriticalAngle, ::testing::Values(Quartz, Corundum, Diamond));

TEST(Fresnel, KeepsEnergyAndMatchesTheUnpolarisedReflectanceAtNormalIncidence) {
    for (double cosI = 0.05; cosI <= 1; cosI += 0.05) {
        const FresnelCoefficients f = Fresnel(cosI, 1, Diamond);
        EXPECT_NEAR(std::norm(f.Rs) + f.Ts * f.Ts, 1, 1e-15);
        EXPECT_NEAR(std::norm(f.Rp) + f.Tp * f.Tp, 1, 1e-15);
        const FresnelCoefficients inside = Fresnel(cosI, Diamond, 1);
        if (inside.Total) {
            EXPECT_NEAR(std::abs(inside.Rs), 1, 1e-15);
        }
    }
    EXPECT_NEAR(Reflectance(1, 1, 1.5), 0.04, 1e-15);
}

struct Design {
    const char* name;
    BrilliantAngles angles;
    double index;
};
const Design Brilliants[] = {
    {"quartz41", {41}, Quartz},
    {"quartz45", {45}, Quartz},
    {"corundum43", {43, 1.6, 36}, Corundum},
    {"diamond41", {40.8, 1.6, 34.5}, Diamond},
};

class Designs : public ::testing::TestWithParam<Design> {};

TEST_P(Designs, KeepEnergyEvenTiltedAndInPerspective) {
    const Design& d = GetParam();
    TraceOptions options;
    options.RefractiveIndex = d.index;
    options.HeadShadow = 10;
    const TracedStone stone = test::Brilliant(d.angles);
    EXPECT_LT(ComputeFigures(stone, options, Rays(2000)).EnergyError, 1e-9);
    options.EyeDistance = 3;
    EXPECT_LT(ComputeFigures(stone.Tilted(0.3, Radians(20)), options, Rays(2000)).EnergyError, 1e-9);
}

// Without Fresnel reflection the tracer is the total-reflection-or-leave model: ray for ray, at the
// same points, the simple tracer gives the same figures.
TEST_P(Designs, WithoutFresnelEqualTotalReflectionOrLeave) {
    const Design& d = GetParam();
    const TracedStone stone = test::Brilliant(d.angles);
    TraceOptions options;
    options.RefractiveIndex = d.index;
    options.Fresnel = false;
    const Tracer tracer(stone, options);
    test::ReferenceOptions reference{d.index, false};
    double x0, y0, side;
    tracer.Outline(x0, y0, side);
    for (int cell = 0; cell < 400; ++cell) {
        const SamplePoint s = SampleInCell(cell % 20, cell / 20, 0, 20, 3);
        const double x = x0 + s.u * side, y = y0 + s.v * side;
        const RayOutcome a = tracer.Trace(tracer.EyeRay(x, y));
        const test::ReferenceOutcome b = test::ReferenceTrace(stone, x, y, reference);
        ASSERT_EQ(a.Hit, b.Hit);
        EXPECT_NEAR(a.Iso, b.Iso, 1e-9) << x << ' ' << y;
        EXPECT_NEAR(a.Cos, b.Cos, 1e-9);
        EXPECT_NEAR(a.Windowed, b.Windowed, 1e-9);
        EXPECT_NEAR(a.Outer, 0, 1e-12);
    }
}

// With Fresnel reflection and polarisation, ray for ray the two tracers agree to the cut-off, and
// their figures from different samplings agree within two standard errors.
TEST_P(Designs, AgreeWithTheSimpleTracer) {
    const Design& d = GetParam();
    const TracedStone stone = test::Brilliant(d.angles);
    TraceOptions options;
    options.RefractiveIndex = d.index;
    options.CutOff = 1e-7;
    const Tracer tracer(stone, options);
    const test::ReferenceOptions reference{d.index, true, 1e-7};
    for (double x = -0.95; x < 1; x += 0.1) {
        const RayOutcome a = tracer.Trace(tracer.EyeRay(x, 0.31 * x + 0.05));
        const test::ReferenceOutcome b = test::ReferenceTrace(stone, x, 0.31 * x + 0.05, reference);
        EXPECT_NEAR(a.Iso, b.Iso, 1e-5) << x;
        EXPECT_NEAR(a.Cos, b.Cos, 1e-5) << x;
        EXPECT_NEAR(a.Returned, b.Returned, 1e-5) << x;
    }
    options.CutOff = 1e-4;
    const Figures f = ComputeFigures(stone, options, Rays(20000));
    const test::ReferenceFigure r = test::ReferenceFigures(stone, {d.index}, 12000, 11);
    EXPECT_NEAR(f.Iso.Value, r.Iso, 2 * std::hypot(f.Iso.Error, r.IsoError));
    EXPECT_NEAR(f.Cos.Value, r.Cos, 2 * std::hypot(f.Cos.Error, r.CosError));
}

TEST_P(Designs, ErrorsFallAtLeastAsOneOverRootNAndFiguresStayWithinThem) {
    const Design& d = GetParam();
    const TracedStone stone = test::Brilliant(d.angles);
    TraceOptions options;
    options.RefractiveIndex = d.index;
    const Figures small = ComputeFigures(stone, options, Rays(8000, 1));
    const Figures doubled = ComputeFigures(stone, options, Rays(16000, 2));
    const Figures large = ComputeFigures(stone, options, Rays(32000, 3));
    // Stratified sampling does better than 1/sqrt(N); allow for the scatter of the error estimates.
    EXPECT_LT(large.Iso.Error, 0.5 * 1.3 * small.Iso.Error);
    EXPECT_LT(large.Cos.Error, 0.5 * 1.3 * small.Cos.Error);
    EXPECT_NEAR(doubled.Iso.Value, small.Iso.Value, 2 * std::hypot(small.Iso.Error, doubled.Iso.Error));
    EXPECT_NEAR(doubled.Cos.Value, small.Cos.Value, 2 * std::hypot(small.Cos.Error, doubled.Cos.Error));
}

INSTANTIATE_TEST_SUITE_P(Brilliants, Designs, ::testing::ValuesIn(Brilliants),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace optics
