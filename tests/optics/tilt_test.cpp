// Tilt figures obey the design's symmetry.
#include "optics/tilt.h"
#include "tests/support/optics_stones.h"

#include <gtest/gtest.h>

#include <cmath>

namespace optics {
namespace {

void ExpectSame(const Figures& a, const Figures& b) {
    EXPECT_NEAR(a.Iso.Value, b.Iso.Value, 2 * std::hypot(a.Iso.Error, b.Iso.Error));
    EXPECT_NEAR(a.Cos.Value, b.Cos.Value, 2 * std::hypot(a.Cos.Error, b.Cos.Error));
}

struct SymmetryCase {
    double tilt;
    double index;
};
class EightFoldMirror : public ::testing::TestWithParam<SymmetryCase> {};

// A brilliant has 8-fold symmetry with mirror lines along its mains: turning it by 45° changes nothing,
// nor does mirroring a tilt about a mirror line.
TEST_P(EightFoldMirror, GivesTheSameFiguresAtSymmetricTilts) {
    const auto [tilt, index] = GetParam();
    const TracedStone stone = test::Brilliant();
    TraceOptions options;
    options.RefractiveIndex = index;
    const Sampling sampling{8000, 15};
    const Figures along = TiltedFigures(stone, options, sampling, 0, tilt);
    ExpectSame(along, TiltedFigures(stone, options, {8000, 16}, 45, tilt));
    ExpectSame(along, TiltedFigures(stone, options, {8000, 17}, 0, -tilt));
    // Across a mirror line of the stars (22.5°) likewise.
    ExpectSame(TiltedFigures(stone, options, sampling, 22.5, tilt),
               TiltedFigures(stone, options, {8000, 18}, 22.5, -tilt));
}
INSTANTIATE_TEST_SUITE_P(Tilts, EightFoldMirror,
                         ::testing::Values(SymmetryCase{10, 1.544}, SymmetryCase{25, 1.544},
                                           SymmetryCase{15, 2.417}));

TEST(TiltRange, AveragesTheFiguresAtZeroHalfAndFullTilt) {
    const TiltRange range = ComputeTiltRange(test::Brilliant(), {}, {2000, 1}, AcrossIndexZero, 20);
    EXPECT_NEAR(range.MeanIso.Value,
                (range.AtZero.Iso.Value + range.AtHalf.Iso.Value + range.AtFull.Iso.Value) / 3, 1e-12);
    EXPECT_LT(range.MeanCos.Error, range.AtZero.Cos.Error);
    // The stone tilted by 20° shows less of its crown to the eye: its brightness drops.
    EXPECT_LT(range.AtFull.Iso.Value, range.AtZero.Iso.Value);
}

TEST(TiltCurve, IsMirrorSymmetricAboutZeroAndMeetsTheMapAlongTheAxes) {
    const TracedStone stone = test::Brilliant();
    const auto curve = TiltCurve(stone, {}, {3000, 2}, AlongIndexZero, -20, 20, 10);
    ASSERT_EQ(curve.size(), 5u);
    for (int i = 0; i < 2; ++i)
        EXPECT_NEAR(curve[i].Iso.Value, curve[4 - i].Iso.Value,
                    2 * std::hypot(curve[i].Iso.Error, curve[4 - i].Iso.Error));
    const TiltMap map = ComputeTiltMap(stone, {}, {3000, 2}, 20, 3);
    ASSERT_EQ(map.Iso.size(), 9u);
    // Tilting towards +y turns the stone about the x axis: the curve's point at -20° (same seed).
    EXPECT_NEAR(map.Iso[7].Value, curve[0].Iso.Value, 1e-12);
}

} // namespace
} // namespace optics
