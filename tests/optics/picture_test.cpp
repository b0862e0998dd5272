// Pictures against golden images and the closed form of the slab.
#include "optics/picture.h"
#include "tests/support/optics_stones.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

namespace optics {
namespace {

const std::string GoldenFolder = std::string(LAPIDRAW_TEST_DATA) + "/optics/";

// Pixels may differ by rounding in a few places: where an eye ray grazes an edge of the stone.
void ExpectLikeGolden(const Image& image, const std::string& name) {
    const std::string path = GoldenFolder + name + ".ppm";
    if (std::getenv("LAPIDRAW_UPDATE_GOLDEN")) {
        std::ofstream out(path, std::ios::binary);
        WritePpm(out, image);
    }
    std::ifstream in(path, std::ios::binary);
    Image golden;
    ASSERT_TRUE(ReadPpm(in, golden)) << path;
    ASSERT_EQ(golden.Width, image.Width);
    ASSERT_EQ(golden.Height, image.Height);
    int differing = 0;
    for (std::size_t i = 0; i < image.Rgb.size(); ++i)
        differing += std::abs(image.Rgb[i] - golden.Rgb[i]) > 2;
    EXPECT_LE(differing, static_cast<int>(image.Rgb.size() / 200)) << name;
}

TEST(Pictures, MatchTheirGoldenImages) {
    PictureOptions small{48, Sky::Iso, 2};
    TraceOptions shadowed;
    shadowed.HeadShadow = 15;
    ExpectLikeGolden(BrightnessPicture(test::Brilliant(), shadowed, small), "quartz41_iso_shadow15");
    test::BrilliantAngles deep;
    deep.Pavilion = 45;
    small.Light = Sky::Cos;
    ExpectLikeGolden(BrightnessPicture(test::Brilliant(deep), {}, small), "quartz45_cos");
    test::BrilliantAngles diamond;
    diamond.Pavilion = 40.8;
    ExpectLikeGolden(ColourPicture(test::Brilliant(diamond), *FindMaterial("diamond"), {}, {32, Sky::Cos, 1}),
                     "diamond_colour");
}

// A slab seen face up is one grey: the outer reflection and the Fresnel series, and its windowed light.
TEST(Pictures, ShowTheSlabInItsClosedForm) {
    const double n = 1.544, r = std::pow((n - 1) / (n + 1), 2), t = 1 - r;
    const Image image = BrightnessPicture(test::Slab(0.2), {}, {8, Sky::Iso, 1});
    const double grey = r + t * t * r / (1 - r * r), windowed = t * t / (1 - r * r);
    const std::uint8_t* middle = &image.Rgb[3 * (4 * 8 + 4)];
    EXPECT_NEAR(middle[0], SrgbByte(grey + windowed * WindowColour.x), 1);
    EXPECT_NEAR(middle[2], SrgbByte(grey + windowed * WindowColour.z), 1);
}

} // namespace
} // namespace optics
