#include "gem/gem.h"
#include "tests/support/design_builders.h"

#include <gtest/gtest.h>

namespace {
// A half stone 10 x 10 x 5: girdle facets 1-4 (x <= 5, y <= 5, x >= -5, y >= -5) and a table at z = 5.
std::unique_ptr<TGem> BoxCrown() {
    auto gem = NewGem('c', 4, 4, false);
    EXPECT_TRUE(CutByAngle(*gem, 90, 0, 5));
    CutHorizontal(*gem, 5);
    return gem;
}
} // namespace

TEST(PickPoint, NearestPointWithTiesToTheLowerNumber) {
    auto gem = BoxCrown();
    const TGem::PointFound p = gem->PickPoint(4.5L, 4.8L, false, false);
    EXPECT_NEAR(p.Position.x, 5, 1e-12);
    EXPECT_NEAR(p.Position.y, 5, 1e-12);
    // Both the girdle corner and the table corner lie at (5, 5): the lower number wins.
    const TGem::PointFound girdle = gem->PickPoint(4.5L, 4.8L, true, false);
    const TGem::PointFound table = gem->PickPoint(4.5L, 4.8L, false, true);
    EXPECT_EQ(table.Position.z, 5);
    EXPECT_NE(girdle.Index, table.Index);
    EXPECT_EQ(p.Index, std::min(girdle.Index, table.Index));
}

TEST(PickPoint, CtrlKeepsGirdlePointsShiftDropsThemCtrlWins) {
    auto gem = BoxCrown();
    EXPECT_EQ(gem->PickPoint(-5, 5, true, false).Position.z, 0);
    EXPECT_EQ(gem->PickPoint(-5, 5, false, true).Position.z, 5);
    EXPECT_EQ(gem->PickPoint(-5, 5, true, true).Position.z, 0);
}

TEST(PickPoint, NothingNearGivesPointOne) {
    auto gem = BoxCrown();
    EXPECT_EQ(gem->PickPoint(200, 200, false, false).Index, 1);
    auto empty = NewGem();
    EXPECT_EQ(empty->PickPoint(0, 0, false, false).Index, 1);
}

TEST(PickEdge, ClickOnAnEdgeGivesItAndTheNearestPoint) {
    auto gem = BoxCrown();
    const auto e = gem->PickEdge(5, 1, true, false);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Position.z, 0);
    EXPECT_NEAR(e->Position.x, 5, 1e-12);
    EXPECT_NEAR(e->Position.y, 1, 1e-12);
    const auto top = gem->PickEdge(5, 1, false, true);
    ASSERT_TRUE(top);
    EXPECT_NE(top->Index, e->Index);
    EXPECT_EQ(top->Position.z, 5);
}

TEST(PickEdge, ClickBeyondAnEdgesEndLosesToTheEdgeItIsNear) {
    auto gem = BoxCrown();
    // On the extension of x = 5 (score 1.4), but nearer the line y = 5 (score 1.22).
    const auto e = gem->PickEdge(5, 7, true, false);
    ASSERT_TRUE(e);
    const Vector3& a = gem->Points[gem->Edges[e->Index].PointA].Position;
    const Vector3& b = gem->Points[gem->Edges[e->Index].PointB].Position;
    EXPECT_NEAR(a.y, 5, 1e-12);
    EXPECT_NEAR(b.y, 5, 1e-12);
}

TEST(PickEdge, FarClickOrNoEdgesGiveNone) {
    auto gem = BoxCrown();
    EXPECT_FALSE(gem->PickEdge(2000, 0, false, false));
    EXPECT_FALSE(gem->FindPoint(2000, 0, false, false));
    auto empty = NewGem();
    EXPECT_FALSE(empty->PickEdge(0, 0, false, false));
}

TEST(PickFacet, TableInsideNothingOutside) {
    auto gem = BoxCrown();
    EXPECT_EQ(gem->PickFacet(0, 0), -1);
    EXPECT_FALSE(gem->PickFacet(20, 0));
}

TEST(PickFacet, EveryVisibleFacetIsFoundAtItsCentre) {
    for (bool crown : {true, false}) {
        auto gem = crown ? RoundBrilliantCrown() : RoundBrilliantPavilion();
        for (int f = -1; f <= gem->FacetCount; ++f) {
            const std::optional<Vector3> centre = gem->FacetCentre(f);
            // The girdle plane is the stone's far side in this view.
            if (f == 0 || std::fabs(gem->NormalZ(f)) <= 0.01L || !centre) continue;
            SCOPED_TRACE("facet " + std::to_string(f));
            EXPECT_EQ(gem->PickFacet(centre->x, centre->y), f);
            EXPECT_TRUE(gem->PointInFacet(f, centre->x, centre->y));
            EXPECT_FALSE(gem->PointInFacet(f, centre->x + 500, centre->y));
        }
    }
}

TEST(FacetCentre, MeanOfTheBoundingEdgeEnds) {
    auto gem = BoxCrown();
    const std::optional<Vector3> centre = gem->FacetCentre(1);
    ASSERT_TRUE(centre);
    EXPECT_NEAR(centre->x, 5, 1e-12);
    EXPECT_NEAR(centre->y, 0, 1e-12);
    EXPECT_NEAR(centre->z, 2.5L, 1e-12);
    auto empty = NewGem();
    EXPECT_FALSE(empty->FacetCentre(-1));
}

TEST(GroupRange, MirroredGroupSpansTwicePartsAndTheTableStandsAlone) {
    auto gem = RoundBrilliantCrown(); // girdle 1-16, mains 17-24, halves 25-40, stars 41-48
    auto range = [&](int f) {
        const std::optional<TGem::FacetRange> group = gem->GroupRange(f);
        return group ? std::pair{group->First, group->Last} : std::pair{0, 0};
    };
    EXPECT_EQ(range(30), std::pair(25, 40));
    EXPECT_EQ(range(17), std::pair(17, 24));
    EXPECT_EQ(range(-1), std::pair(-1, -1));
    EXPECT_FALSE(gem->GroupRange(0));
    EXPECT_FALSE(gem->GroupRange(NoneFound));
}

TEST(FacetSearches, FindFacetNeedsAngleAndIndex) {
    auto gem = RoundBrilliantCrown();
    EXPECT_EQ(gem->FindFacet(37, 0), 17);
    EXPECT_EQ(gem->FindFacet(37.01L, 0.05L), 17);
    EXPECT_FALSE(gem->FindFacet(37.03L, 0));
    EXPECT_FALSE(gem->FindFacet(37, 0.2L));
    EXPECT_TRUE(gem->IndexInUse(3.04L));
    EXPECT_FALSE(gem->IndexInUse(1));
}

TEST(FacetSearches, GirdleFacetQueries) {
    auto empty = NewGem();
    EXPECT_TRUE(empty->AllGirdleFacets());
    EXPECT_FALSE(empty->HasGirdleFacet());
    EXPECT_FALSE(empty->AnyFacetShown());
    EXPECT_TRUE(empty->IsEmpty());
    EXPECT_FALSE(empty->HasEdgesToPick());
    auto gem = NewGem('c', 4, 4, false);
    ASSERT_TRUE(CutByAngle(*gem, 90, 0, 5));
    EXPECT_TRUE(gem->AllGirdleFacets());
    EXPECT_TRUE(gem->HasGirdleFacet());
    EXPECT_TRUE(gem->HasFacets());
    EXPECT_TRUE(gem->HasEdgesToPick());
    ASSERT_TRUE(CutByAngle(*gem, 45, 0, 5));
    EXPECT_FALSE(gem->AllGirdleFacets());
}

TEST(Labels, IndexTexts) {
    auto gem = RoundBrilliantCrown();
    gem->OffsetIndex = 1;
    gem->Facets[17].ShownIndex = gem->ShownIndex(gem->Index(17));
    EXPECT_EQ(gem->LabelIndexText(17), "    1");
    gem->Facets[17].ShownIndex = 6.5L;
    EXPECT_EQ(gem->LabelIndexText(17), "6.50");
    gem->Facets[-1].Index = 2.25L; // horizontal: the raw index
    EXPECT_EQ(gem->LabelIndex(-1), 2.25L);
}

TEST(Labels, GirdleAnchorIsFiveUnitsOutsideTheGirdleEdge) {
    auto gem = BoxCrown();
    const std::optional<Vector3> anchor = gem->GirdleLabelAnchor(1);
    ASSERT_TRUE(anchor);
    EXPECT_NEAR(anchor->x, 10, 1e-12);
    EXPECT_NEAR(anchor->y, 0, 1e-12);
    EXPECT_FALSE(gem->GirdleLabelAnchor(-1)) << "the table has no girdle edge";
}

TEST(PlaneHelpers, ThreePointsOfAGirdleFacet) {
    auto gem = BoxCrown();
    const std::optional<std::array<Vector3, 3>> corners = gem->ThreePointsOfFacet(1);
    ASSERT_TRUE(corners);
    const auto [a, b, c] = *corners;
    EXPECT_GT(std::fabs(a.z - b.z), 1);
    EXPECT_NE(c, a);
    EXPECT_NE(c, b);
    for (const Vector3& p : {a, b, c})
        EXPECT_NEAR(p.x, 5, 1e-12);
    EXPECT_FALSE(gem->ThreePointsOfFacet(0)) << "the girdle plane's corners all lie at z = 0";
}

TEST(PlaneHelpers, VerticalPlaneKeepsTheOriginInside) {
    Plane plane, reversed;
    ASSERT_TRUE(Made(TGem::VerticalPlaneThrough(10, 0, 0, 10), plane));
    ASSERT_TRUE(Made(TGem::VerticalPlaneThrough(0, 10, 10, 0), reversed));
    const Real s = std::sqrt(0.5L);
    EXPECT_NEAR(plane.Normal.x, -s, 1e-15);
    EXPECT_NEAR(plane.Normal.y, -s, 1e-15);
    EXPECT_EQ(plane.Normal.z, 0);
    EXPECT_NEAR(plane.Dist, -10 * s, 1e-14);
    EXPECT_NEAR(reversed.Normal.x, plane.Normal.x, 1e-15);
    EXPECT_NEAR(reversed.Dist, plane.Dist, 1e-14);
    EXPECT_FALSE(Made(TGem::VerticalPlaneThrough(1, 1, 1.5L, 1.4L), plane));
}

TEST(Highlights, GroupFacetsWithTheirReferenceAndFills) {
    auto gem = RoundBrilliantCrown();
    TGem::HighlightGroup group = gem->HighlightGroupFacets(30, true);
    ASSERT_EQ(group.Facets.size(), 16u);
    EXPECT_EQ(group.First, 25);
    for (const auto& m : group.Facets) {
        EXPECT_EQ(m.Reference, m.Facet == 30);
        EXPECT_TRUE(m.Filled);
    }
    EXPECT_TRUE(gem->HighlightGroupFacets(30, false).Facets[0].Reference);
    group = gem->HighlightGroupFacets(3, false); // girdle facets are outlined, not filled
    ASSERT_EQ(group.Facets.size(), 16u);
    for (const auto& m : group.Facets)
        EXPECT_FALSE(m.Filled);
    group = gem->HighlightGroupFacets(NoneFound, true);
    EXPECT_TRUE(group.Facets.empty());
    EXPECT_EQ(group.First, -1);
}

TEST(Highlights, TierOfGirdleFacetsIsNotFilled) {
    auto gem = RoundBrilliantCrown();
    const int girdleTier = gem->Facets[1].TierNo;
    const int mainTier = gem->Facets[17].TierNo;
    EXPECT_TRUE(gem->HighlightTierFacets(girdleTier).empty());
    const auto mains = gem->HighlightTierFacets(mainTier);
    EXPECT_EQ(mains.size(), 8u);
    for (const auto& m : mains)
        EXPECT_FALSE(m.Reference);
}
