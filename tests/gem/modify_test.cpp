#include "gem/gem.h"
#include "tests/support/asc_files.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"
#include "tests/support/hostile_files.h"

#include <gtest/gtest.h>

namespace {
// 24 facets: 8 girdle facets (1-8), the group under test at 9-16, 8 more (17-24).
std::unique_ptr<TGem> ThreeGroups(bool mirror, Real middleIndex) {
    auto gem = NewGem('c', 8, 96, mirror);
    EXPECT_TRUE(CutByAngle(*gem, 90, 0, 50));
    EXPECT_TRUE(CutByAngle(*gem, 40, middleIndex, 40));
    EXPECT_TRUE(CutByAngle(*gem, 30, 6, 30));
    return gem;
}

void Replace(TGem& gem, int first, Real angle, Real index, Real dist) {
    gem.EnterModifyMode(first);
    Plane plane;
    ASSERT_TRUE(Made(gem.PlaneFromAngleIndexDist(angle, index, dist), plane));
    gem.CutFacetGroup(gem.LastFacetBeforeNewGroup() + 1, plane);
    gem.Recompute();
}
} // namespace

TEST(ModifyGroup, PlainGroupIsReplacedInItsSlots) {
    auto gem = ThreeGroups(false, 3);
    ASSERT_EQ(gem->FacetCount, 24);
    const Facet tail = gem->Facets[17];
    Replace(*gem, 9, 35, 4, 38);
    EXPECT_FALSE(gem->ModifyMode());
    EXPECT_EQ(gem->FacetCount, 24);
    EXPECT_NEAR(gem->FacetAngle(9), 35, 1e-9);
    EXPECT_NEAR(gem->Index(9), 4, 1e-9);
    EXPECT_EQ(gem->Facets[17].Normal, tail.Normal);
    EXPECT_EQ(gem->Facets[17].Dist, tail.Dist);
}

TEST(ModifyGroup, GroupOnTheMirrorLineMayGrowTwins) {
    auto gem = ThreeGroups(true, 0); // 's' groups at 1-8, 9-16, 17-24
    ASSERT_EQ(gem->FacetCount, 24);
    const Facet tail = gem->Facets[17];
    Replace(*gem, 9, 35, 3, 38); // off the mirror line: 16 facets
    EXPECT_EQ(gem->FacetCount, 32);
    EXPECT_EQ(gem->SymChar(9), 'm');
    EXPECT_EQ(gem->GroupParts(25), 8);
    EXPECT_EQ(gem->Facets[25].Normal, tail.Normal);
}

TEST(ModifyGroup, GroupOnTheMirrorLineStaysThere) {
    auto gem = ThreeGroups(true, 0);
    const Facet tail = gem->Facets[17];
    Replace(*gem, 9, 35, 0, 38);
    EXPECT_EQ(gem->FacetCount, 24);
    EXPECT_EQ(gem->SymChar(9), 's');
    EXPECT_EQ(gem->Facets[17].Normal, tail.Normal);
    EXPECT_EQ(gem->GroupParts(17), 8);
}

TEST(ModifyGroup, MirroredGroupReplacedOnTheMirrorLineClosesTheGap) {
    auto gem = ThreeGroups(true, 3); // 1-8 's', 9-24 'm', 25-32 's'
    ASSERT_EQ(gem->FacetCount, 32);
    const Facet tail = gem->Facets[25];
    Replace(*gem, 9, 35, 0, 38);
    EXPECT_EQ(gem->FacetCount, 24);
    EXPECT_EQ(gem->Facets[17].Normal, tail.Normal);
    EXPECT_EQ(gem->Facets[17].Dist, tail.Dist);
}

TEST(ModifyGroup, ReplacementUsesTheOldGroupsSymmetry) {
    auto gem = ThreeGroups(true, 3);
    gem->Parts = 4;
    gem->Mirror = false;
    Replace(*gem, 9, 35, 3, 38);
    EXPECT_EQ(gem->Parts, 8);
    EXPECT_TRUE(gem->Mirror);
    EXPECT_EQ(gem->FacetCount, 32);
}

TEST(ModifyGroup, LeavingRestoresNothingElse) {
    auto gem = ThreeGroups(false, 3);
    gem->EnterModifyMode(9);
    EXPECT_TRUE(gem->ModifyMode());
    EXPECT_EQ(gem->LastFacetBeforeNewGroup(), 8);
    gem->LeaveModifyMode();
    EXPECT_FALSE(gem->ModifyMode());
    EXPECT_EQ(gem->LastFacetBeforeNewGroup(), 24);
    gem->EnterModifyMode(9);
    gem->NewDesign('c', 8, 96, false, 0, false);
    EXPECT_FALSE(gem->ModifyMode());
}

TEST(DeleteFacets, ClosesTheGap) {
    auto gem = ThreeGroups(false, 3);
    const Facet tail = gem->Facets[17];
    gem->DeleteFacets(9, 8);
    EXPECT_EQ(gem->FacetCount, 24);
    gem->DeleteFacets(0, 3);
    EXPECT_EQ(gem->FacetCount, 24);
    gem->DeleteFacets(9, 16);
    EXPECT_EQ(gem->FacetCount, 16);
    EXPECT_EQ(gem->Facets[9].Normal, tail.Normal);
    EXPECT_EQ(gem->GroupParts(9), 8);
}

TEST(DeleteFacets, DeletingAGroupCutShortByTheFileEndDeletedTheFacetsBeforeIt) {
    std::string text = BaseFile(FileFormat::Design);
    for (const char* cut : {"f  0.70710678  0.00000000 -0.70710678 -20.000000   48.000\r\n",
                            "f  0.00000000  0.70710678 -0.70710678 -20.000000   72.000\r\n"})
        text.erase(text.find(cut), std::string(cut).size());
    TempFile file("short.lfx");
    file.Write(text);
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(Done(gem->ReadDesign(file.Path(), TGem::FileMode::Open)));
    ASSERT_EQ(gem->FacetCount, 6); // four girdle facets, and two of the four mains
    const std::optional<TGem::FacetRange> group = gem->GroupRange(6);
    ASSERT_TRUE(group);
    EXPECT_EQ(group->First, 5);
    EXPECT_EQ(group->Last, 6);
    gem->DeleteFacets(group->First, group->Last);
    EXPECT_EQ(gem->FacetCount, 4);
}
