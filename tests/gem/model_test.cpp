#include "gem/gem.h"
#include "tests/support/design_builders.h"
#include "tests/support/engine_probe.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(GemModel, NewDesignIsAnEmptySlab) {
    auto crown = NewGem('c');
    EXPECT_EQ(crown->FacetCount, 0);
    EXPECT_EQ(crown->EdgeCount, 0);
    EXPECT_EQ(crown->PointCount, 0);
    EXPECT_EQ(crown->Facets[-1].CornerCount, 0);
    EXPECT_EQ(crown->Facets[0].CornerCount, 0);
    EXPECT_EQ(crown->NormalZ(-1), -1);
    EXPECT_EQ(crown->Dist(-1), -24); // z <= 24
    EXPECT_EQ(crown->NormalZ(0), 1);
    EXPECT_EQ(crown->Dist(0), 0); // z >= 0
    EXPECT_FALSE(crown->HasTable());

    auto pavilion = NewGem('p');
    EXPECT_EQ(pavilion->NormalZ(-1), 1);
    EXPECT_EQ(pavilion->Dist(-1), -100); // z >= -100
    EXPECT_EQ(pavilion->NormalZ(0), -1);
    EXPECT_TRUE(pavilion->IsPavilion());
}

TEST(GemModel, StartsAsTheProgramsDefaultCrown) {
    auto gem = std::make_unique<TGem>();
    EXPECT_TRUE(gem->IsCrown());
    EXPECT_EQ(gem->SystemIndex, 96);
    EXPECT_EQ(gem->Parts, 8);
    EXPECT_FALSE(gem->Mirror);
}

TEST(GemModel, EveryTableIsRangeChecked) {
    auto gem = NewGem();
    EXPECT_THROW(gem->NormalX(2001), RangeError);
    EXPECT_THROW(gem->Dist(-3), RangeError);
    EXPECT_NO_THROW(gem->Dist(-2));
    EXPECT_THROW(gem->Edges[5001], RangeError);
    EXPECT_THROW(gem->Points[-101], RangeError);
    EXPECT_THROW(gem->Tiers[0], RangeError);
    EXPECT_THROW(gem->TextLine(22), RangeError);
    EXPECT_THROW(gem->MessageLine(0), RangeError);
    EXPECT_THROW(gem->Facets[1].Corners[201], RangeError);
    try {
        gem->SetIndex(2001, 0);
        FAIL();
    } catch (const RangeError& e) {
        EXPECT_NE(std::string(e.what()).find("Facets index 2001"), std::string::npos) << e.what();
    }
}

TEST(GemModel, TextLineGetterTrimsTrailingBlanks) {
    auto gem = NewGem();
    gem->SetTextLine(CutNameLine, "  Round brilliant   ");
    EXPECT_EQ(gem->TextLine(CutNameLine), "  Round brilliant");
}

TEST(GemModel, DeleteLastGroupRemovesWholeGroups) {
    auto gem = NewGem('c', 8, 96, true);
    gem->DeleteLastGroup();
    EXPECT_EQ(gem->FacetCount, 0);

    ASSERT_TRUE(CutByAngle(*gem, 90, 3, 50)); // 16 facets: mirrored twins
    ASSERT_TRUE(CutByAngle(*gem, 40, 0, 40)); // 8 facets on mirror lines
    ASSERT_EQ(gem->FacetCount, 24);
    gem->DeleteLastGroup();
    EXPECT_EQ(gem->FacetCount, 16);
    gem->DeleteLastGroup();
    EXPECT_EQ(gem->FacetCount, 0);
    gem->DeleteLastGroup();
    EXPECT_EQ(gem->FacetCount, 0);
}

TEST(IndexRules, WrapAndShownIndex) {
    auto gem = NewGem('c', 8, 96);
    EXPECT_EQ(gem->Wrap(95.995L), 0);
    EXPECT_EQ(gem->Wrap(-1), 95);
    EXPECT_EQ(gem->Wrap(96), 0);
    EXPECT_EQ(gem->Wrap(200), 8);
    EXPECT_NEAR(gem->Wrap(1e9L + 3), std::fmod(1e9L + 3, 96), 1e-6);
    EXPECT_EQ(gem->ShownIndex(3), 3);

    auto clockwise = NewGem('c', 8, -96);
    EXPECT_EQ(clockwise->ShownIndex(3), 93);
    EXPECT_EQ(clockwise->ShownIndex(0), 0);
    auto offset = NewGem('c', 8, 96, false, 5);
    EXPECT_EQ(offset->ShownIndex(93), 2);
}

TEST(IndexRules, ArcCosAndFacetAngle) {
    EXPECT_EQ(ArcCosDeg(1), 0);
    EXPECT_EQ(ArcCosDeg(0.9999999995L), 0);
    EXPECT_EQ(ArcCosDeg(-1), 180);
    EXPECT_NEAR(ArcCosDeg(0.5L), 60, 1e-12);
    EXPECT_NEAR(ArcCosDeg(0), 90, 1e-15);
    EXPECT_TRUE(Near90(-90.005L));
    EXPECT_TRUE(Near180(179.995L));
    EXPECT_FALSE(NearZero(0.01L));
}

TEST(PlaneConstructors, AngleIndexDistRoundTripsAngleAndIndex) {
    for (char type : {'c', 'p'}) {
        auto gem = NewGem(type, 8, 96);
        Plane plane;
        ASSERT_TRUE(Made(gem->PlaneFromAngleIndexDist(41.5L, 7, 30), plane));
        EXPECT_EQ(plane.Dist, -30);
        gem->CutFacetGroup(1, plane);
        EXPECT_NEAR(gem->FacetAngle(1), 41.5L, 1e-12) << type;
        EXPECT_NEAR(gem->Index(1), 7, 1e-12) << type;
        EXPECT_FALSE(Made(gem->PlaneFromAngleIndexDist(41.5L, 7, 0), plane));
    }
}

TEST(PlaneConstructors, AngleIndexPointPassesThroughThePoint) {
    for (char type : {'c', 'p'}) {
        auto gem = NewGem(type, 8, 96);
        const Vector3 p{40, 10, type == 'c' ? 2.0L : -2.0L};
        Plane plane;
        ASSERT_TRUE(Made(gem->PlaneFromAngleIndexPoint(35, 5, p), plane));
        EXPECT_NEAR(Dot(plane.Normal, p), plane.Dist, 1e-12);
        EXPECT_LE(plane.Dist, 0);
        // A point on the far side of the axis gives no cut on this side.
        EXPECT_FALSE(Made(gem->PlaneFromAngleIndexPoint(35, 5, Vector3{-40, -10, 0}), plane));
    }
}

TEST(PlaneConstructors, IndexTwoPointsAndThreePoints) {
    auto crown = NewGem('c', 8, 96);
    Plane plane;
    const Vector3 a{40, -5, 1}, b{40, 5, 1}, c{30, 0, 8};
    ASSERT_TRUE(Made(crown->PlaneFromIndexTwoPoints(0, a, c), plane));
    EXPECT_NEAR(Dot(plane.Normal, a), plane.Dist, 1e-12);
    EXPECT_NEAR(Dot(plane.Normal, c), plane.Dist, 1e-12);
    EXPECT_NEAR(crown->IndexFromNormal(plane.Normal), 0, 1e-12);
    EXPECT_FALSE(Made(crown->PlaneFromIndexTwoPoints(0, a, a), plane));

    ASSERT_TRUE(Made(crown->PlaneFromThreePoints(a, b, c), plane));
    for (const Vector3& p : {a, b, c})
        EXPECT_NEAR(Dot(plane.Normal, p), plane.Dist, 1e-12);
    EXPECT_LT(plane.Normal.z, 0);
    EXPECT_FALSE(Made(crown->PlaneFromThreePoints(a, b, Vector3{40, 15, 1}), plane)); // collinear

    auto pavilion = NewGem('p', 8, 96);
    const Vector3 pa{40, -5, -1}, pb{40, 5, -1}, pc{30, 0, -8};
    ASSERT_TRUE(Made(pavilion->PlaneFromIndexTwoPoints(0, pa, pc), plane));
    EXPECT_NEAR(Dot(plane.Normal, pc), plane.Dist, 1e-12);
    ASSERT_TRUE(Made(pavilion->PlaneFromThreePoints(pa, pb, pc), plane));
    EXPECT_GT(plane.Normal.z, 0);
    EXPECT_LE(plane.Dist, 0);
}

TEST(CutFacetGroup, MirroredGroupOffTheMirrorLineMakesTwins) {
    auto gem = NewGem('c', 8, 96, true);
    Plane plane;
    ASSERT_TRUE(Made(gem->PlaneFromAngleIndexDist(40, 3, 40), plane));
    gem->CutFacetGroup(1, plane);
    ASSERT_EQ(gem->FacetCount, 16);
    const int expected[] = {3, 15, 27, 39, 51, 63, 75, 87, 93, 9, 21, 33, 45, 57, 69, 81};
    for (int f = 1; f <= 16; ++f) {
        EXPECT_NEAR(gem->Index(f), expected[f - 1], 1e-9) << f;
        EXPECT_EQ(gem->SymChar(f), 'm');
        EXPECT_EQ(gem->GroupParts(f), f == 1 ? 8 : 0);
        EXPECT_NEAR(gem->IndexFromNormal(gem->Facets[f].Normal), expected[f - 1], 1e-9) << f;
    }
}

TEST(CutFacetGroup, MirroredGroupOnTheMirrorLineHasNoTwins) {
    auto gem = NewGem('c', 8, 96, true);
    Plane plane;
    ASSERT_TRUE(Made(gem->PlaneFromAngleIndexDist(40, 6, 40), plane));
    gem->CutFacetGroup(1, plane);
    ASSERT_EQ(gem->FacetCount, 8);
    for (int f = 1; f <= 8; ++f)
        EXPECT_EQ(gem->SymChar(f), 's');
    EXPECT_NEAR(gem->Index(8), 90, 1e-9);
}

TEST(CutFacetGroup, HorizontalPlaneMovesTheBoundingPlaneOnly) {
    auto crown = RoundBrilliantCrown();
    const int facets = crown->FacetCount;
    CutHorizontal(*crown, 12);
    EXPECT_EQ(crown->FacetCount, facets);
    EXPECT_EQ(crown->Dist(-1), -12);
    EXPECT_NEAR(crown->BoxMax.z, 12, 1e-9);

    auto pavilion = NewGem('p');
    Plane plane{{0, 0, -1}, 30}; // given with d > 0: negated first
    pavilion->CutFacetGroup(1, plane);
    EXPECT_EQ(pavilion->FacetCount, 0);
    EXPECT_EQ(pavilion->NormalZ(-1), 1);
    EXPECT_EQ(pavilion->Dist(-1), -30);
}

TEST(CutFacetGroup, GroupsBeyondTheFacetTableAreRangeErrors) {
    auto gem = NewGem('c', 48, 96, true);
    Plane plane;
    ASSERT_TRUE(Made(gem->PlaneFromAngleIndexDist(40, 0.5L, 40), plane));
    // The planes alone: 1920 facets on one plane would be one tier, more than a tier holds.
    for (int g = 0; g < 20; ++g)
        EngineProbe::PlaceFacetGroup(*gem, gem->FacetCount + 1, plane); // 48 twins: 96 facets
    EXPECT_EQ(gem->FacetCount, 1920);
    EXPECT_THROW(gem->CutFacetGroup(gem->FacetCount + 1, plane), RangeError);
    EXPECT_EQ(gem->FacetCount, 1920); // the design is still whole and usable
    gem->DeleteFacets(97, 1920);
    EXPECT_EQ(gem->FacetCount, 96);
    EXPECT_GT(gem->EdgeCount, 0);
}
