#include "gem/gem.h"
#include "tests/support/design_builders.h"

#include <gtest/gtest.h>

namespace {
// A half stone 10 x 10 x 5: four girdle facets around the axis and a table at z = 5.
std::unique_ptr<TGem> BoxCrown() {
    auto gem = NewGem('c', 4, 4, false);
    EXPECT_TRUE(CutByAngle(*gem, 90, 0, 5));
    CutHorizontal(*gem, 5);
    return gem;
}

// A square pyramid below the girdle: base 8 x 8, tip 4 below it.
std::unique_ptr<TGem> PyramidPavilion() {
    auto gem = std::make_unique<TGem>();
    EXPECT_TRUE(gem->ReadDesign(std::string(LAPIDRAW_TEST_DATA) + "/lfx/pyramid.lfx", TGem::FileMode::Open));
    return gem;
}

// One girdle edge from a to b between the girdle plane and facet 1, on a stone of width 10.
std::unique_ptr<TGem> OneGirdleEdge(Vector3 a, Vector3 b, int parts, Real index) {
    auto gem = NewGem('c', parts, 96, false);
    gem->Points[1].Position = a;
    gem->Points[2].Position = b;
    gem->PointCount = 2;
    gem->Edges[1] = FacetEdge{false, 0, 1, 1, 2, 0, false};
    gem->EdgeCount = 1;
    gem->Facets[1].Index = index;
    gem->FacetCount = 1;
    gem->BoxMin = {-5, -5, 0};
    gem->BoxMax = {5, 5, 5};
    return gem;
}

std::vector<std::string> ShownTexts(const TGem& gem) {
    std::vector<std::string> texts;
    for (const auto& line : gem.ProportionLines())
        if (line.Shown) texts.push_back(line.Text);
    return texts;
}
} // namespace

TEST(Measures, BoxHasItsDimensionsAndVolume) {
    auto gem = BoxCrown();
    EXPECT_NEAR(gem->W(), 10, 1e-9);
    EXPECT_NEAR(gem->L(), 10, 1e-9);
    EXPECT_NEAR(gem->H(), 5, 1e-9);
    EXPECT_NEAR(gem->T(), 10, 1e-9);
    EXPECT_NEAR(gem->Volume(), 500, 1e-9);
    EXPECT_EQ(gem->FacetsShownCount(), 5); // four girdle facets and the table
}

TEST(Measures, APlaneListedTwiceCountsOnceInVolumeAndFacets) {
    auto gem = BoxCrown();
    Plane side{{gem->NormalX(1), gem->NormalY(1), gem->NormalZ(1)}, gem->Dist(1)};
    gem->Parts = 1;
    gem->CutFacetGroup(gem->FacetCount + 1, side); // the side at x = 5 once more
    gem->Recompute();
    ASSERT_EQ(gem->FacetCount, 5);
    ASSERT_GT(gem->Facets[5].CornerCount, 0) << "both facets of the plane have the polygon";
    EXPECT_NEAR(gem->Volume(), 500, 1e-9); // 10 x 10 x 5, by hand
    EXPECT_EQ(gem->FacetsShownCount(), 5);
}

TEST(Measures, PyramidVolumeIsAThirdOfItsBox) {
    auto gem = PyramidPavilion();
    EXPECT_NEAR(gem->W(), 8, 1e-5);
    EXPECT_NEAR(gem->H(), 4, 1e-5);
    EXPECT_NEAR(gem->Volume(), 8 * 8 * 4 / 3.0L, 1e-4);
    EXPECT_EQ(gem->FacetsShownCount(), 4);
}

TEST(Measures, BrilliantVolumeLiesBetweenItsTableAndGirdleSlabs) {
    auto gem = RoundBrilliantCrown();
    const Real r = gem->W() / 2;
    EXPECT_GT(gem->Volume(), 3.14L * (gem->T() / 2) * (gem->T() / 2) * gem->H());
    EXPECT_LT(gem->Volume(), 3.15L * r * r * gem->H());
}

TEST(GirdleEdgeMeasure, EdgeAlongTheYAxis) {
    auto gem = OneGirdleEdge({3.5L, -1, 0}, {3.5L, 1, 0}, 8, 12);
    EXPECT_EQ(gem->MeasureGirdleEdge(1), "For Index: 12 Dcf/W = 0.700;  Lcf/W = 0.200");
    EXPECT_EQ(gem->MessageLine(1), "For Index: 12 Dcf/W = 0.700;  Lcf/W = 0.200");
    EXPECT_EQ(gem->MessageNext, 2);
}

TEST(GirdleEdgeMeasure, SlantedEdgeUsesItsDistanceFromTheAxis) {
    auto gem = OneGirdleEdge({7, 0, 0}, {0, 7, 0}, 8, 3);
    gem->OffsetIndex = 2;
    EXPECT_EQ(gem->MeasureGirdleEdge(1), "For Index:  5 Dcf/W = 0.990;  Lcf/W = 0.990");
}

// Dcf and Lcf are taken to the width across x, not to the length of an elongated stone.
TEST(GirdleEdgeMeasure, ElongatedStoneMeasuresToItsWidth) {
    auto gem = OneGirdleEdge({3.5L, -1, 0}, {3.5L, 1, 0}, 8, 12);
    gem->BoxMin.y = -10;
    gem->BoxMax.y = 10;
    EXPECT_EQ(gem->MeasureGirdleEdge(1), "For Index: 12 Dcf/W = 0.700;  Lcf/W = 0.200");
}

TEST(GirdleEdgeMeasure, OddPartsHaveNoOppositeEdge) {
    auto gem = OneGirdleEdge({3.5L, -1, 0}, {3.5L, 1, 0}, 5, 12);
    EXPECT_EQ(gem->MeasureGirdleEdge(1), "For Index: 12 Lcf/W = 0.200");
}

TEST(GirdleEdgeMeasure, LogKeepsTheLatestTwoTexts) {
    auto gem = OneGirdleEdge({3.5L, -1, 0}, {3.5L, 1, 0}, 8, 12);
    gem->MeasureGirdleEdge(1);
    gem->Facets[1].Index = 13;
    const std::string second = gem->MeasureGirdleEdge(1);
    gem->Facets[1].Index = 14;
    const std::string third = gem->MeasureGirdleEdge(1);
    EXPECT_EQ(gem->MessageLine(1), second);
    EXPECT_EQ(gem->MessageLine(2), third);
    EXPECT_EQ(gem->MessageNext, 3);
    gem->ClearMessageLines();
    EXPECT_EQ(gem->MessageLine(1), "");
    EXPECT_EQ(gem->MessageNext, 1);
}

TEST(CornerToCorner, CrownTextIsLoggedAndKeptInLineFour) {
    auto gem = BoxCrown();
    const std::optional<Real> distance =
        gem->MeasureCornerToCorner(gem->PickPoint(5, 5, true, false).Position);
    ASSERT_TRUE(distance);
    EXPECT_NEAR(*distance, 2 * std::sqrt(50.0L), 1e-9);
    EXPECT_EQ(gem->MessageLine(4), "CCD00/01=1.414 x W");
    EXPECT_EQ(gem->MessageLine(1), "CCD00/01=1.414 x W");
}

TEST(CornerToCorner, PavilionTextStaysInLineFour) {
    auto gem = PyramidPavilion();
    ASSERT_TRUE(gem->MeasureCornerToCorner(gem->PickPoint(-4, -4, true, false).Position));
    EXPECT_EQ(gem->MessageLine(4), "CCD02/03=1.414 x W");
    EXPECT_EQ(gem->MessageLine(1), "");
}

TEST(CornerToCorner, FailsForOddPartsAndOffTheGirdle) {
    auto gem = BoxCrown();
    EXPECT_FALSE(gem->MeasureCornerToCorner({5, 5, 5}));
    EXPECT_FALSE(gem->MeasureCornerToCorner({1, 1, 0})) << "no girdle edge ends there";
    gem->Parts = 5;
    EXPECT_FALSE(gem->MeasureCornerToCorner({5, 5, 0}));
    EXPECT_EQ(gem->MessageLine(4), "");
}

TEST(ProportionBlock, BoxCrownShowsEveryCrownLine) {
    auto gem = BoxCrown();
    const std::vector<std::string> expected = {" 4 identical parts",
                                               "L/W = 1.000",
                                               "T/W = 100%",
                                               "C/L  = 0.500",
                                               "C/W = 0.500",
                                               " 5 crown facets",
                                               "system index used is   4",
                                               "Vol.Crown =   0.500 x W\xB3"};
    EXPECT_EQ(ShownTexts(*gem), expected);
}

// Width is along x and length along y: on an elongated stone every ratio "to W" must use the width.
TEST(ProportionBlock, ElongatedCrownTakesItsRatiosToTheWidth) {
    auto gem = NewGem('c', 2, 96, false);
    ASSERT_TRUE(CutByAngle(*gem, 90, 0, 5));   // x = -5 ... 5
    ASSERT_TRUE(CutByAngle(*gem, 90, 24, 10)); // y = -10 ... 10
    CutHorizontal(*gem, 5);                    // the whole top is the table, 10 wide
    const std::vector<std::string> expected = {" 2 identical parts",
                                               "L/W = 2.000",
                                               "T/W = 100%",
                                               "C/L  = 0.250",
                                               "C/W = 0.500",
                                               " 5 crown facets",
                                               "system index used is  96",
                                               "Vol.Crown =   1.000 x W\xB3"};
    EXPECT_EQ(ShownTexts(*gem), expected);
}

TEST(ProportionBlock, PavilionWithMirrorAndMessages) {
    auto gem = PyramidPavilion();
    gem->DesignMirror = true;
    gem->MessageLines[1] = "first";
    const std::vector<std::string> expected = {" 4 identical parts",
                                               "mirror-image symmetry",
                                               "L/W = 1.000",
                                               "P/L  = 0.500",
                                               "P/W = 0.500",
                                               " 4 pavilion facets",
                                               "system index used is   4",
                                               "Vol.Pav. =   0.167 x W\xB3",
                                               "first",
                                               "CCD01/02=  1.414 x W"};
    EXPECT_EQ(ShownTexts(*gem), expected);
}

TEST(ProportionBlock, OnePartIsSingularAndNothingShowsWithoutFacets) {
    auto gem = NewGem('c', 1, 96, false);
    EXPECT_TRUE(ShownTexts(*gem).empty());
    ASSERT_TRUE(CutByAngle(*gem, 60, 0, 10));
    EXPECT_EQ(gem->ProportionLines()[0].Text, " 1 identical part");
}

TEST(ProportionBlock, SmallTableIsNotAnnounced) {
    auto gem = RoundBrilliantCrown();
    auto table = gem->ProportionLines()[3];
    EXPECT_EQ(table.Item, TGem::ProportionItem::TableToWidth);
    EXPECT_TRUE(table.Shown);
    gem->TableMinX = gem->TableMaxX - 0.99L;
    EXPECT_FALSE(gem->ProportionLines()[3].Shown);
}
