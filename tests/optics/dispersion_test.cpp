// Materials against their published indices and Abbe numbers; colour and fire.
#include "optics/dispersion.h"
#include "tests/support/optics_stones.h"

#include <gtest/gtest.h>

namespace optics {
namespace {

double Abbe(const Material& m) {
    return (IndexD(m) - 1) / (IndexAt(m, 486.13) - IndexAt(m, 656.27));
}

struct Published {
    const char* name;
    double indexD, abbe;
};
// Handbook values, independent of the fits' coefficients: a mistyped coefficient shows here.
constexpr Published Handbook[] = {
    {"quartz", 1.5443, 69.9},   {"fused silica", 1.4585, 67.8}, {"glass", 1.5168, 64.17},
    {"corundum", 1.7682, 72.2}, {"yag", 1.8327, 52.4},          {"cubic zirconia", 2.16, 33.5},
    {"diamond", 2.4175, 55.3},
};

TEST(Materials, MatchTheirPublishedIndexAndAbbeNumber) {
    for (const Published& p : Handbook) {
        const Material* m = FindMaterial(p.name);
        ASSERT_NE(m, nullptr) << p.name;
        EXPECT_NEAR(IndexD(*m), p.indexD, 0.002) << p.name;
        EXPECT_NEAR(Abbe(*m), p.abbe, 0.01 * p.abbe) << p.name;
        EXPECT_GT(IndexAt(*m, 400), IndexAt(*m, 700)) << p.name; // normal dispersion
    }
    EXPECT_NE(FindMaterial("Cubic Zirconia"), nullptr);
    const Material typed = TypedMaterial(1.6);
    EXPECT_NEAR(IndexD(typed), 1.6, 1e-12);
    EXPECT_NEAR(Abbe(typed), TypicalAbbeNumber, 1e-9);
}

TEST(Colour, WhiteIsGreyAndASingleWavelengthIsSaturated) {
    SpectralRadiance flat;
    flat.fill(0.5);
    const Colour grey = ColourOf(flat);
    EXPECT_NEAR(grey.Y, 0.5, 1e-12);
    EXPECT_NEAR(Saturation(grey), 0, 1e-12);
    const Vec3 rgb = LinearRgb(grey);
    EXPECT_NEAR(rgb.x, 0.5, 1e-12);
    EXPECT_NEAR(rgb.z, 0.5, 1e-12);
    SpectralRadiance green{};
    green[7] = 1; // 540 nm
    EXPECT_GT(Saturation(ColourOf(green)), 0.1);
    EXPECT_GT(LinearRgb(ColourOf(green)).y, LinearRgb(ColourOf(green)).x);
}

// Without dispersion every wavelength takes the same path: no fire, and the luminance is the plain
// figure.
TEST(Fire, VanishesWithoutDispersionAndGrowsWithIt) {
    const TracedStone stone = test::Brilliant();
    const Sampling sampling{400, 4};
    const Material flat = TypedMaterial(1.544, 1e12);
    TraceOptions options;
    options.RefractiveIndex = 1.544;
    const ColourFigures plain = ComputeColourFigures(stone, flat, options, sampling);
    EXPECT_NEAR(plain.Fire.Value, 0, 1e-12);
    EXPECT_NEAR(plain.Brightness.Value, ComputeFigures(stone, options, sampling).Cos.Value, 1e-9);

    test::BrilliantAngles diamondCut;
    diamondCut.Pavilion = 40.8;
    const ColourFigures diamond =
        ComputeFire(test::Brilliant(diamondCut), *FindMaterial("diamond"), {}, sampling);
    const ColourFigures quartz = ComputeFire(stone, *FindMaterial("quartz"), {}, sampling);
    EXPECT_GT(diamond.Fire.Value, quartz.Fire.Value + 2 * std::hypot(diamond.Fire.Error, quartz.Fire.Error));
}

} // namespace
} // namespace optics
