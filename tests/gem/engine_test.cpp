#include "gem/gem.h"
#include "tests/support/design_builders.h"
#include "tests/support/engine_probe.h"
#include "tests/support/file_results.h"
#include "tests/support/polyhedron_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {
void ExpectNoFaults(const std::vector<std::string>& faults, const std::string& what) {
    for (const auto& fault : faults)
        ADD_FAILURE() << what << ": " << fault;
}

// A crown with one 8-part group of 45-degree facets that meet above the girdle: a truncated pyramid.
std::unique_ptr<TGem> TruncatedPyramid() {
    auto gem = NewGem('c', 8, 96, false);
    EXPECT_TRUE(CutByAngle(*gem, 45, 0, 20));
    return gem;
}

struct RecordingProgress : ProgressSink {
    int shows = 0, steps = 0, hides = 0, maximum = 0;
    void Show(int max, int, int) override { ++shows, maximum = max; }
    void Step() override { ++steps; }
    void Hide() override { ++hides; }
};
} // namespace

TEST(CuttingEngine, TruncatedPyramid) {
    auto gem = TruncatedPyramid();
    EXPECT_EQ(gem->EdgeCount, 24);
    EXPECT_EQ(gem->PointCount, 16);
    for (int f = -1; f <= 8; ++f)
        EXPECT_GT(gem->Facets[f].CornerCount, 0) << f;
    EXPECT_EQ(gem->Facets[0].CornerCount, 9); // octagon, closed
    EXPECT_EQ(gem->Facets[1].CornerCount, 5); // trapezium, closed
    EXPECT_TRUE(gem->HasTable());
    // The octagon's corners lie at the same distance as the facets' inscribed circle.
    EXPECT_NEAR(gem->BoxMax.x, 20 * std::sqrt(2.0L), 1e-9);
    EXPECT_NEAR(gem->BoxMax.z, 24, 1e-12);
    EXPECT_LT(gem->TableMinX, gem->TableMaxX);
    ExpectNoFaults(CheckExactPolyhedron(*gem), "pyramid");
}

TEST(CuttingEngine, PolygonStartsWithTheLowestEdgeAndIsClosed) {
    auto gem = TruncatedPyramid();
    // The first edge of facet -1 (the table) is edge with facets (-1, 1).
    int firstEdge = 0;
    for (int e = 1; e <= gem->EdgeCount && !firstEdge; ++e)
        if (gem->Edges[e].FacetA == -1 || gem->Edges[e].FacetB == -1) firstEdge = e;
    const Facet& table = gem->Facets[-1];
    EXPECT_EQ(table.Corners[1], gem->Edges[firstEdge].PointA);
    EXPECT_EQ(table.Corners[2], gem->Edges[firstEdge].PointB);
    EXPECT_EQ(table.Corners[table.CornerCount], table.Corners[1]);
}

TEST(CuttingEngine, EdgesAreMadeInPairOrder) {
    auto gem = TruncatedPyramid();
    for (int e = 2; e <= gem->EdgeCount; ++e) {
        const auto &a = gem->Edges[e - 1], &b = gem->Edges[e];
        EXPECT_TRUE(a.FacetA < b.FacetA || (a.FacetA == b.FacetA && a.FacetB < b.FacetB)) << e;
        EXPECT_LT(b.FacetA, b.FacetB);
    }
}

TEST(CuttingEngine, ParallelPlanesAndFacetsOutsideTheStone) {
    auto gem = NewGem('c', 4, 96, false);
    ASSERT_TRUE(CutByAngle(*gem, 90, 0, 30)); // a square block 60 x 60
    ASSERT_TRUE(CutByAngle(*gem, 90, 0, 20)); // parallel and deeper: replaces the sides
    ASSERT_TRUE(CutByAngle(*gem, 90, 0, 40)); // entirely outside now
    for (int f = 1; f <= 4; ++f)
        EXPECT_EQ(gem->Facets[f].CornerCount, 0) << f;
    for (int f = 9; f <= 12; ++f)
        EXPECT_EQ(gem->Facets[f].CornerCount, 0) << f;
    for (int f = 5; f <= 8; ++f)
        EXPECT_EQ(gem->Facets[f].CornerCount, 5) << f;
    for (int e = 1; e <= gem->EdgeCount; ++e) {
        // No edge between a facet and its parallel copies.
        const auto& edge = gem->Edges[e];
        const Vector3 along = Cross(gem->Facets[edge.FacetA].Normal, gem->Facets[edge.FacetB].Normal);
        EXPECT_GT(Dot(along, along), 1e-6L) << e;
    }
    EXPECT_EQ(gem->PointCount, 8);
    ExpectNoFaults(CheckExactPolyhedron(*gem), "block");
}

TEST(CuttingEngine, NearbyEndsMergeAndTheFirstPointWins) {
    auto gem = NewGem('c', 4, 96, false);
    EXPECT_EQ(EngineProbe::FindOrAddPoint(*gem, {1, 1, 1}), 1);
    EXPECT_EQ(EngineProbe::FindOrAddPoint(*gem, {1.3L, 1.3L, 1.29L}), 1);   // 0.89 away
    EXPECT_EQ(EngineProbe::FindOrAddPoint(*gem, {1.31L, 1.31L, 1.31L}), 2); // 0.93 away: a new point
    EXPECT_EQ(gem->Points[1].Position, (Vector3{1, 1, 1}));

    // A corner cut so small that its edges' ends merge: the short edges are dropped.
    ASSERT_TRUE(CutByAngle(*gem, 90, 0, 30));
    ASSERT_TRUE(CutByAngle(*gem, 90, 6, 30 * std::sqrt(2.0L) - 0.2L)); // tiny chamfers on the corners
    for (int e = 1; e <= gem->EdgeCount; ++e)
        EXPECT_NE(gem->Edges[e].PointA, gem->Edges[e].PointB);
    ExpectNoFaults(CheckInvariants(*gem, 0.9L), "chamfered block");
}

// Planes that run exactly along an edge or through a corner of the stone: the outside test's tolerance
// keeps those corners (and the edges the planes run along), so nothing is lost and nothing is doubled.
TEST(CuttingEngine, CutsExactlyThroughExistingCornersKeepThem) {
    auto gem = NewGem('c', 4, 96, false);
    ASSERT_TRUE(CutByAngle(*gem, 90, 0, 10)); // a block 20 x 20 x 24
    ASSERT_EQ(gem->PointCount, 8);
    // Four 45-degree planes, each touching the block along a top edge.
    ASSERT_TRUE(CutThroughPoint(*gem, 45, 0, {10, 0, 24}));
    EXPECT_EQ(gem->PointCount, 8);
    for (int f = -1; f <= 4; ++f)
        EXPECT_EQ(gem->Facets[f].CornerCount, 5) << "facet " << f << " keeps its rectangle";
    for (int f = 5; f <= 8; ++f)
        EXPECT_EQ(gem->Facets[f].CornerCount, 0) << "facet " << f << " only touches the block";
    EXPECT_EQ(TrueVertices(*gem).size(), 8u);
    ExpectNoFaults(CheckInvariants(*gem, 1e-9L), "block with touching planes");

    // A plane through the top corner (10, 10, 24) and the bottom corner (-10, -10, 0): 3x + 3y - 5z >= -60
    // cuts off the other three top corners.
    auto cut = NewGem('c', 4, 96, false);
    ASSERT_TRUE(CutByAngle(*cut, 90, 0, 10));
    Plane plane;
    ASSERT_TRUE(Made(cut->PlaneFromThreePoints({10, 10, 24}, {10, -10, 12}, {-10, 10, 12}), plane));
    cut->Parts = 1;
    cut->CutFacetGroup(cut->FacetCount + 1, plane);
    cut->Recompute();
    EXPECT_EQ(cut->PointCount, 7);
    EXPECT_EQ(cut->EdgeCount, 11);
    EXPECT_EQ(cut->Facets[5].CornerCount, 5) << "a quadrilateral through both corners";
    EXPECT_FALSE(cut->HasTable()) << "the table shrinks to the corner";
    ExpectNoFaults(CheckExactPolyhedron(*cut), "block cut through two corners");

    // The pyramid's group cut once more: every corner of its facets lies exactly on the new planes.
    auto twice = TruncatedPyramid();
    const int points = twice->PointCount;
    const Real volume = twice->Volume();
    ASSERT_TRUE(CutByAngle(*twice, 45, 0, 20));
    EXPECT_EQ(twice->PointCount, points);
    EXPECT_NEAR(twice->Volume(), volume, 1e-9L * volume);
    for (int f = 9; f <= 16; ++f)
        EXPECT_EQ(twice->Facets[f].CornerCount, twice->Facets[f - 8].CornerCount) << f;
    ExpectNoFaults(CheckInvariants(*twice, 1e-9L), "pyramid cut twice");
}

// Found by the editing soak (seed 20261208, step 9978): a pavilion cut down to a needle 0.07 wide, whose
// planes meet the lines of its edges almost parallel. Clipping moved an edge's end to where its line
// crosses such a plane, 5 units above the girdle, far beyond the segment. The carry limit of a clip
// holds the crossing near the segment, and the merge distance follows the small stone.
TEST(CuttingEngine, ANearlyParallelPlaneMovedAnEdgesEndFarOutsideTheStone) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(Done(
        gem->ReadDesign(std::string(LAPIDRAW_TEST_DATA) + "/lfx/needle-pavilion.lfx", TGem::FileMode::Open)));
    ExpectNoFaults(CheckInvariants(*gem, 0.9L), "needle");
}

TEST(CuttingEngine, RecomputeWithoutFacetsKeepsDerivedData) {
    auto gem = NewGem();
    gem->EdgeCount = 7;
    gem->ViewSize = 3;
    gem->Recompute();
    EXPECT_EQ(gem->EdgeCount, 7);
    EXPECT_EQ(gem->ViewSize, 3);
}

TEST(CuttingEngine, ProgressIsShownOnlyForMoreThanAHundredFacets) {
    RecordingProgress progress;
    auto small = RoundBrilliantCrown();
    small->Progress = &progress;
    small->Recompute();
    EXPECT_EQ(progress.shows, 0);

    auto big = DesignWithFacets(110);
    ASSERT_GT(big->FacetCount, 100);
    big->Progress = &progress;
    big->Recompute();
    EXPECT_EQ(progress.shows, 1);
    EXPECT_EQ(progress.maximum, big->FacetCount - 1);
    EXPECT_EQ(progress.steps, big->FacetCount + 1); // once per first facet j = -1 ... FacetCount - 1
    EXPECT_EQ(progress.hides, 1);
}

TEST(CuttingEngine, TooManyPointsIsARangeErrorThatLeavesTheDesignUsable) {
    auto gem = RoundBrilliantCrown();
    gem->PointCount = MaxPoints;
    try {
        EngineProbe::FindOrAddPoint(*gem, {1000, 1000, 1000});
        FAIL() << "no range error";
    } catch (const RangeError& e) {
        EXPECT_NE(std::string(e.what()).find("Points index 3001"), std::string::npos) << e.what();
    }
    EXPECT_EQ(gem->PointCount, MaxPoints);
    gem->Recompute(); // the next recompute starts from nothing again
    EXPECT_LT(gem->PointCount, 100);
    ExpectNoFaults(CheckInvariants(*gem, 0.9L), "after the range error");
}

TEST(CuttingEngine, RoundBrilliantHasTheClassicFacets) {
    auto crown = RoundBrilliantCrown();
    EXPECT_EQ(crown->FacetCount, 16 + 8 + 16 + 8);
    for (int f = -1; f <= crown->FacetCount; ++f)
        EXPECT_GT(crown->Facets[f].CornerCount, 0) << f;
    EXPECT_EQ(crown->Facets[-1].CornerCount, 9);                            // octagonal table
    ExpectNoFaults(CheckInvariants(*crown, 0.9L), "round brilliant crown"); // cut to meet: points merge

    auto pavilion = RoundBrilliantPavilion();
    for (int f = 0; f <= pavilion->FacetCount; ++f)
        EXPECT_GT(pavilion->Facets[f].CornerCount, 0) << f;
    EXPECT_FALSE(pavilion->HasTable()); // the mains meet at the culet
    ExpectNoFaults(CheckInvariants(*pavilion, 0.9L), "round brilliant pavilion");
}

TEST(CuttingEngine, InvariantsOfManyRandomDesigns) {
    std::mt19937 rng(20261208);
    int exact = 0;
    const int designs = 150;
    for (int d = 0; d < designs; ++d) {
        auto gem = RandomDesign(rng);
        const std::string name = "design " + std::to_string(d) + " (" + gem->GemType + ", " +
                                 std::to_string(gem->SystemIndex) + "/" + std::to_string(gem->DesignParts) +
                                 (gem->DesignMirror ? " mirror" : "") + ")";
        ExpectNoFaults(CheckInvariants(*gem, 0.9L), name);
        if (gem->FacetCount <= 120 && HasNoMergedPoints(*gem)) {
            ++exact;
            ExpectNoFaults(CheckExactPolyhedron(*gem), name);
        }
    }
    EXPECT_GE(exact, designs / 4) << "too few designs without merged points to test the exact invariants";
}

TEST(CuttingEngine, SmallStoneKeepsItsGirdle) {
    // Girdle facets 12 from the axis, mains meeting them 0.6 above the girdle plane, a table at 6:
    // 8 corners on the girdle plane, 8 where the mains meet the girdle, 8 round the table.
    const Real apothem = 12, girdleTop = 0.6L, mainAngle = 40, table = 6;
    auto gem = NewGem('c', 8, 96);
    ASSERT_TRUE(CutByAngle(*gem, 90, 0, apothem));
    ASSERT_TRUE(CutThroughPoint(*gem, mainAngle, 0, {apothem, 0, girdleTop}));
    CutHorizontal(*gem, table);
    EXPECT_EQ(gem->MergeDistance(), 0.9L * apothem / 40);
    EXPECT_EQ(gem->PointCount, 24);
    for (int f = 1; f <= 8; ++f)
        EXPECT_EQ(gem->Facets[f].CornerCount, 5) << "girdle facet " << f;
    // Every cross-section is a regular octagon; its apothem shrinks along the mains above the girdle.
    const Real top = apothem - (table - girdleTop) / std::tan(mainAngle * RadPerDeg);
    const Real octagon = 8 * std::tan(std::numbers::pi_v<Real> / 8);
    const Real volume = octagon * (apothem * apothem * girdleTop +
                                   (table - girdleTop) * (apothem * apothem + apothem * top + top * top) / 3);
    EXPECT_NEAR(gem->Volume(), volume, volume * 1e-9);
    ExpectNoFaults(CheckExactPolyhedron(*gem), "small stone");
}

TEST(CuttingEngine, MergeDistanceShrinksOnlyBelowTheUsualSize) {
    struct Case {
        Real reach, merge;
    };
    for (const Case c :
         {Case{100, 0.9L}, Case{40, 0.9L}, Case{39, 0.9L * 39 / 40}, Case{12, 0.9L * 12 / 40}}) {
        auto gem = NewGem('c', 8, 96);
        ASSERT_TRUE(CutByAngle(*gem, 90, 0, c.reach));
        ASSERT_TRUE(CutByAngle(*gem, 60, 6, c.reach / 2));
        EXPECT_EQ(gem->MergeDistance(), c.merge) << c.reach;
    }
    EXPECT_EQ(RoundBrilliantCrown()->MergeDistance(), 0.9L);
}

TEST(CuttingEngine, NearParallelPlaneJustOutsideAnEdgeLeavesTheStoneWhereItIs) {
    // A facet all but parallel to a corner edge of a block, within the tolerance outside it: where
    // the line meets that plane lies 2.9 below the girdle plane of the crown.
    auto gem = NewGem('c', 4, 96);
    ASSERT_TRUE(CutByAngle(*gem, 90, 0, 30));
    gem->Parts = 1;
    const Real steep = 89.99L;
    ASSERT_TRUE(CutByAngle(*gem, steep, 12, 30 * std::sqrt(2.0L) * std::sin(steep * RadPerDeg) - 0.0005L));
    EXPECT_EQ(gem->BoxMin.z, 0);
    EXPECT_EQ(gem->BoxMax.z, 24);
    ExpectNoFaults(CheckInvariants(*gem, 0.01L), "block with a grazing facet"); // corners merged 0.007 apart
}

TEST(Tiers, GroupsByAngleAndDepthAndListsEachIndexOnce) {
    auto gem = RoundBrilliantCrown();
    // Table, girdle plane, girdle facets, mains, upper halves, stars.
    EXPECT_EQ(gem->TierCount, 6);
    const Tier& girdle = gem->Tiers[gem->Facets[1].TierNo];
    EXPECT_EQ(girdle.MemberCount, 16);
    for (int m = 2; m <= girdle.MemberCount; ++m)
        EXPECT_LT(gem->Facets[girdle.Members[m - 1]].ShownIndex, gem->Facets[girdle.Members[m]].ShownIndex);
    EXPECT_EQ(gem->TierListLines, -2 + 1 + 1 + 1 + 1 + 1 + 1);

    // The same group cut twice: the tier lists each index once.
    auto twice = NewGem('c', 8, 96);
    ASSERT_TRUE(CutByAngle(*twice, 90, 0, 50));
    ASSERT_TRUE(CutByAngle(*twice, 90, 0, 50));
    EXPECT_EQ(twice->Tiers[twice->Facets[9].TierNo].MemberCount, 8);
    EXPECT_EQ(twice->Facets[9].TierNo, twice->Facets[1].TierNo);
}
