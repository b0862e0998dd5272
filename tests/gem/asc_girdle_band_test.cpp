// The ASC import moves a stone whose z = 0 lies outside its girdle band so that the band comes to z = 0,
// and leaves a stone already in its band exactly as read.
#include "gem/gem.h"
#include "gem/numread.h"
#include "tests/support/asc_files.h"
#include "tests/support/published_asc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <string>

namespace {
constexpr Real Radius = 49, CrownAngle = 40, PavilionAngle = 41;

std::string Distance(Real units) {
    char text[40];
    std::snprintf(text, sizeof text, "%.8Lf", units / 49);
    return text;
}

// Eight girdle facets at `Radius`, crown mains meeting them at z = top, pavilion mains at z = bottom,
// and a table 10 above the girdle.
std::string OctagonFile(Real bottom, Real top) {
    const Real rad = std::acos(Real(-1)) / 180;
    const Real crown = Radius * std::sin(CrownAngle * rad) + top * std::cos(CrownAngle * rad);
    const Real pavilion = Radius * std::sin(PavilionAngle * rad) - bottom * std::cos(PavilionAngle * rad);
    const std::string indices = " 0 12 24 36 48 60 72 84\r\n";
    return "GemCad 5.0\r\ng 96 0.0\r\ny 8 n\r\n"
           "a -90.000000 " +
           Distance(Radius) + indices + "a 40.000000 " + Distance(crown) + indices + "a -41.000000 " +
           Distance(pavilion) + indices + "a 0.000000 " + Distance(top + 10) + " 0\r\n";
}

TEST(AscGirdleBand, StoneWithItsBandWellAboveZeroComesDownToIt) {
    TempFile file("high.asc");
    file.Write(OctagonFile(20, 22));
    auto crownGem = std::make_unique<TGem>(), pavilionGem = std::make_unique<TGem>();
    TGem &crown = *crownGem, &pavilion = *pavilionGem;
    ASSERT_TRUE(crown.ReadAsc(file.Path()) && crown.ImportAsc('c'));
    ASSERT_TRUE(pavilion.ReadAsc(file.Path()) && pavilion.ImportAsc('p'));
    crown.Recompute();
    pavilion.Recompute();
    const Real rad = std::acos(Real(-1)) / 180;
    EXPECT_NEAR(crown.W(), 2 * Radius, 1e-6);
    EXPECT_NEAR(pavilion.W(), 2 * Radius, 1e-6);
    EXPECT_NEAR(crown.H(), 11, 1e-6);
    EXPECT_NEAR(pavilion.H(), 1 + Radius * std::tan(PavilionAngle * rad), 1e-6);
}

TEST(AscGirdleBand, StoneInItsBandImportsAsRead) {
    TempFile file("centred.asc");
    const std::string text = OctagonFile(-1, 1);
    file.Write(text);
    auto scratch = std::make_unique<TGem>();
    TGem& gem = *scratch;
    ASSERT_TRUE(gem.ReadAsc(file.Path()));
    const std::vector<std::string> lines = file.Lines();
    int record = 0;
    for (const std::string& line : lines) {
        if (line[0] != 'a') continue;
        const std::string distance = line.substr(line.find(' ', 2) + 1, 10);
        EXPECT_EQ(gem.Asc.Lines[++record].AscDistance, *ReadReal(distance)) << line;
    }
}

// SRB puts z = 0 6.5 units below its girdle: split there, the crown got a tall false girdle and the
// pavilion, 91.25 wide, none at all.
TEST(AscGirdleBand, StandardRoundBrilliantHalvesMeetAtTheGirdle) {
    auto crownGem = std::make_unique<TGem>(), pavilionGem = std::make_unique<TGem>();
    TGem &crown = *crownGem, &pavilion = *pavilionGem;
    ASSERT_TRUE(crown.ReadAsc(BundledAsc("SRB.asc")) && crown.ImportAsc('c'));
    ASSERT_TRUE(pavilion.ReadAsc(BundledAsc("SRB.asc")) && pavilion.ImportAsc('p'));
    crown.Recompute();
    pavilion.Recompute();
    EXPECT_NEAR(crown.W(), 102.57, 0.01);
    EXPECT_NEAR(pavilion.W(), crown.W(), 1e-3); // the engine's corners, merged within 0.9
}
} // namespace
