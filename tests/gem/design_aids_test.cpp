// Cutting instructions derived by replaying the cuts, and a design's indices on another index gear.
#include "gem/cut_preview.h"
#include "gem/cutting_instructions.h"
#include "gem/gear_conversion.h"
#include "gem/range_error.h"
#include "stone/stone_instructions.h"
#include "tests/support/design_builders.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace {
// The girdle of 16 facets at distance 50 has its corners this far from the axis.
const Real GirdleCorner = 50 / std::cos(TwoPi / 32);

Vector3 AtIndex(const TGem& gem, Real index, Real radius, Real z) {
    const Real phi = gem.IndexAzimuth(index);
    return {radius * std::cos(phi), radius * std::sin(phi), z};
}

std::set<int> FacetsAtPoint(const TGem& gem, int point) {
    std::set<int> facets;
    for (int f = -1; f <= gem.FacetCount; ++f)
        for (int k = 1; k < gem.Facets[f].CornerCount; ++k)
            if (gem.Facets[f].Corners[k] == point) facets.insert(f);
    return facets;
}

// The corner of the stone as it stands nearest to the direction of `index` (in the top view) among
// those where facets of both ranges meet: what a cutter aims at when told to cut to meet them.
Vector3 MeetOf(const TGem& gem, Real index, std::pair<int, int> a, std::pair<int, int> b) {
    const Real phi = gem.IndexAzimuth(index);
    auto touches = [](const std::set<int>& facets, std::pair<int, int> range) {
        for (const int f : facets)
            if (f >= range.first && f <= range.second) return true;
        return false;
    };
    Vector3 best{};
    Real bestTurn = 10;
    for (int p = 1; p <= gem.PointCount; ++p) {
        const std::set<int> facets = FacetsAtPoint(gem, p);
        if (facets.empty() || !touches(facets, a) || !touches(facets, b)) continue;
        const Vector3& v = gem.Points[p].Position;
        const Real turn = std::fabs(std::remainder(std::atan2(v.y, v.x) - phi, TwoPi));
        if (turn < bestTurn - 1e-9L) {
            bestTurn = turn;
            best = v;
        }
    }
    EXPECT_LT(bestTurn, 10) << "no corner where both ranges meet";
    return best;
}

struct Expected {
    const char* Name;
    const char* Text;
};

void ExpectInstructions(const TGem& gem, std::initializer_list<Expected> expected) {
    const auto instructions = CuttingInstructions(gem);
    std::string got;
    for (const TierInstruction& i : instructions)
        got += i.Tier.Name + ": " + i.Text() + "\n";
    ASSERT_EQ(instructions.size(), expected.size()) << got;
    std::size_t k = 0;
    for (const Expected& e : expected) {
        EXPECT_EQ(instructions[k].Tier.Name, e.Name) << "tier " << k;
        EXPECT_EQ(instructions[k].Text(), e.Text) << "tier " << instructions[k].Tier.Name;
        ++k;
    }
}

// A round pavilion cut as published instructions say: girdle, mains to a centre point at the girdle
// line (2 below the girdle plane, on a girdle corner), halves to meet girdle and mains, which levels the
// girdle.
TEST(CuttingInstructions, PavilionMainsToCentrePointHalvesToMeetBoth) {
    auto gem = NewGem('p', 8, 96, true);
    ASSERT_TRUE(CutByAngle(*gem, 90, 3, 50));                                      // g: 1-16
    ASSERT_TRUE(CutThroughPoint(*gem, 41, 0, AtIndex(*gem, 0, GirdleCorner, -2))); // p1: 17-24
    const Vector3 meet = MeetOf(*gem, 0, {1, 16}, {17, 24});
    ASSERT_TRUE(CutThroughPoint(*gem, 42, 3, meet)); // p2: 25-40
    ExpectInstructions(*gem, {{"g", ""}, {"p1", "centre point"}, {"p2", "meet g, p1; level girdle"}});
}

// A crown whose mains first meet in a centre point that the table later cuts away: a temporary meet.
TEST(CuttingInstructions, CrownStarsMeetMainsAndHalvesTableMakesCentreTemporary) {
    auto gem = NewGem('c', 8, 96, true);
    ASSERT_TRUE(CutByAngle(*gem, 90, 3, 50));                                       // g: 1-16
    ASSERT_TRUE(CutThroughPoint(*gem, 22, 0, AtIndex(*gem, 0, GirdleCorner, 2)));   // c1: 17-24
    ASSERT_TRUE(CutThroughPoint(*gem, 42, 3, MeetOf(*gem, 0, {1, 16}, {17, 24})));  // c2: 25-40
    ASSERT_TRUE(CutThroughPoint(*gem, 15, 6, MeetOf(*gem, 6, {17, 24}, {25, 40}))); // c3: 41-48
    CutHorizontal(*gem, 15);
    ExpectInstructions(
        *gem, {{"g", ""},
               {"c1", "centre point; temporary meet"},
               {"c2", "meet g, c1; level girdle"},
               {"c3", "centre point; meet c1, c2; temporary meet"}, // the table takes the stars' apex too
               {"t", ""}});
}

TEST(CuttingInstructions, TierLinesNameAngleIndicesAndInstruction) {
    auto gem = NewGem('p', 8, 96, true);
    ASSERT_TRUE(CutByAngle(*gem, 90, 3, 50));
    ASSERT_TRUE(CutThroughPoint(*gem, 41, 0, AtIndex(*gem, 0, GirdleCorner, -2)));
    const auto lines = CuttingInstructionLines(CuttingInstructions(*gem));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1].substr(0, 11), "p1   41.00 ");
    EXPECT_NE(lines[1].find("00-12-24-36-48-60-72-84"), std::string::npos) << lines[1];
    EXPECT_NE(lines[1].find("centre point"), std::string::npos) << lines[1];
}

// The published order of a round brilliant's pavilion: girdle; mains to a centre point on the girdle
// line; halves to meet girdle and mains.
std::unique_ptr<TGem> PublishedPavilion() {
    auto gem = NewGem('p', 8, 96, true);
    CutByAngle(*gem, 90, 3, 50);
    CutThroughPoint(*gem, 41, 0, AtIndex(*gem, 0, GirdleCorner, -2));
    CutThroughPoint(*gem, 42, 3, MeetOf(*gem, 0, {1, 16}, {17, 24}));
    return gem;
}

// Its crown, cut after the pavilion: mains to meet the girdle line (the girdle plane at a girdle
// corner), halves to meet girdle and mains, stars to meet mains and halves, the table last. The girdle
// is the pavilion's alone: the crown's halves take its girdle facets.
std::unique_ptr<TGem> PublishedCrown() {
    auto gem = NewGem('c', 8, 96, true);
    CutByAngle(*gem, 90, 3, 50);
    CutThroughPoint(*gem, 37, 0, AtIndex(*gem, 0, GirdleCorner, 0));
    CutThroughPoint(*gem, 42, 3, MeetOf(*gem, 0, {1, 16}, {17, 24}));
    CutThroughPoint(*gem, 22, 6, MeetOf(*gem, 6, {17, 24}, {25, 40}));
    CutHorizontal(*gem, 18);
    return gem;
}

void SetText(TGem& gem, const std::vector<std::string>& lines) {
    for (std::size_t k = 0; k < lines.size(); ++k)
        gem.SetTextLine(static_cast<int>(k) + 1, lines[k]);
}

TEST(StoneInstructions, PavilionFirstThenCrownFromTheGirdleNamedOnce) {
    auto crown = PublishedCrown();
    auto pavilion = PublishedPavilion();
    const auto stone = StoneCuttingInstructions(*crown, *pavilion);
    std::string got;
    std::set<std::string> names;
    for (const StoneInstruction& s : stone) {
        got += s.Instruction.Tier.Name + ": " + s.Instruction.Text() + "\n";
        EXPECT_TRUE(names.insert(s.Instruction.Tier.Name).second) << "twice: " << s.Instruction.Tier.Name;
    }
    const Expected expected[] = {{"g", ""},
                                 {"p1", "centre point"},
                                 {"p2", "meet g, p1; level girdle"},
                                 {"c1", "centre point; meet g; level girdle; temporary meet"},
                                 {"c2", "meet g, c1"}, // the crown's girdle facets go: no girdle to level
                                 {"c3", "centre point; meet c1, c2; temporary meet"},
                                 {"t", ""}};
    ASSERT_EQ(stone.size(), std::size(expected)) << got;
    for (std::size_t k = 0; k < stone.size(); ++k) {
        EXPECT_EQ(stone[k].Instruction.Tier.Name, expected[k].Name) << got;
        EXPECT_EQ(stone[k].Instruction.Text(), expected[k].Text) << got;
        EXPECT_EQ(stone[k].Half, k < 3 ? StoneHalf::Pavilion : StoneHalf::Crown) << got;
    }
}

// A crown girdle on other indices than the pavilion's is a girdle tier of its own in the stone.
TEST(StoneInstructions, CrownGirdleOnOtherIndicesTakesTheNextGirdleName) {
    auto pavilion = PublishedPavilion();
    auto crown = NewGem('c', 8, 96, true);
    CutByAngle(*crown, 90, 0, 50);
    CutByAngle(*crown, 40, 3, 40);
    CutHorizontal(*crown, 15);
    std::vector<std::string> names, printed;
    for (const StoneInstruction& s : StoneCuttingInstructions(*crown, *pavilion)) {
        names.push_back(s.Instruction.Tier.Name);
        printed.push_back(PrintedName(s.Instruction.Tier));
    }
    EXPECT_EQ(names, (std::vector<std::string>{"g", "p1", "p2", "g2", "c1", "t"}));
    EXPECT_EQ(printed, (std::vector<std::string>{"G", "P1", "P2", "G2", "C1", "T"}));
}

struct TextNameCase {
    std::vector<std::string> Text;
    std::vector<std::string> Names; // g, the mains, the halves
    const char* HalvesText;
};

class TierNamesFromText : public ::testing::TestWithParam<TextNameCase> {};

TEST_P(TierNamesFromText, NamedWhenTheTextIsPlainElseDerived) {
    const TextNameCase c = GetParam();
    auto gem = PublishedPavilion();
    SetText(*gem, c.Text);
    const auto instructions = CuttingInstructions(*gem);
    ASSERT_EQ(instructions.size(), c.Names.size());
    for (std::size_t k = 0; k < c.Names.size(); ++k)
        EXPECT_EQ(instructions[k].Tier.Name, c.Names[k]) << k;
    EXPECT_EQ(instructions.back().Text(), c.HalvesText);
}

INSTANTIATE_TEST_SUITE_P(
    Pavilion, TierNamesFromText,
    ::testing::Values(
        TextNameCase{
            {"Round brilliant", "P1 41.00 00-12-24-... Pavilion main", "Halves H 42.00\xB0 03-09", "G 90.00"},
            {"G", "P1", "H"},
            "meet G, P1; level girdle"},
        TextNameCase{{"X 41.00 03-09", "Y 41", "Z 41.03"}, {"g", "p1", "p2"}, "meet g, p1; level girdle"},
        TextNameCase{{"A 41.00", "B 41.00 00-12"}, {"g", "p1", "p2"}, "meet g, p1; level girdle"},
        TextNameCase{{"p2 41.00", "M 42.00", "m 90.00"}, {"g", "p1", "p2"}, "meet g, p1; level girdle"}));

class StoneTierNames : public ::testing::TestWithParam<bool> {};

// One text for the stone, on the crown alone or on both halves (as an ASC import gives it): an entry
// that fits a tier of each half names neither.
TEST_P(StoneTierNames, TextOfEitherHalfNamesTiersOfBoth) {
    auto crown = PublishedCrown();
    auto pavilion = PublishedPavilion();
    SetText(*crown, {"G 90.00   P1 41.00   X 42.00   S 22.00"});
    if (GetParam()) SetText(*pavilion, {"G 90.00   P1 41.00   X 42.00   S 22.00"});
    std::vector<std::string> names;
    for (const StoneInstruction& s : StoneCuttingInstructions(*crown, *pavilion))
        names.push_back(s.Instruction.Tier.Name);
    EXPECT_EQ(names, (std::vector<std::string>{"G", "P1", "p2", "c1", "c2", "S", "t"}));
}

INSTANTIATE_TEST_SUITE_P(TextOnCrownOrBoth, StoneTierNames, ::testing::Bool());

// A 96-gear crown with mains on 12-steps, stars on 6-steps and upper halves at 2 and 10.
std::unique_ptr<TGem> CrownOn96() {
    auto gem = NewGem('c', 8, 96, true);
    CutByAngle(*gem, 90, 0, 50);
    CutThroughPoint(*gem, 37, 0, AtIndex(*gem, 0, 50, 1));  // mains 0, 12, ...
    CutThroughPoint(*gem, 42, 2, AtIndex(*gem, 2, 49, 1));  // halves 2, 10, 14, 22, ...
    CutThroughPoint(*gem, 22, 6, AtIndex(*gem, 6, 31, 14)); // stars 6, 18, ...
    return gem;
}

struct PlanCase {
    Real Angle, Depth;
    const char* Warning;
};

class CutPlanning : public ::testing::TestWithParam<PlanCase> {};

// The planned outcome against the cut made for real on a copy: the tiers it names have no facet left,
// the others keep one, and the design itself is untouched.
TEST_P(CutPlanning, WarningMatchesTheCutMade) {
    const PlanCase c = GetParam();
    auto gem = RoundBrilliantCrown();
    const std::string before = DesignTextWithoutStamp(*gem);
    Plane plane;
    ASSERT_TRUE(Made(gem->PlaneFromAngleIndexDist(c.Angle, 0, c.Depth), plane));
    CutPlanner planner;
    const CutOutcome outcome = planner.Plan(*gem, gem->FacetCount + 1, plane);
    EXPECT_EQ(outcome.Warning(), c.Warning);
    EXPECT_EQ(DesignTextWithoutStamp(*gem), before);

    auto cut = gem->Backup();
    cut->CutFacetGroup(cut->FacetCount + 1, plane);
    cut->Recompute();
    std::set<int> removed;
    for (const NamedTier& tier : outcome.RemovedTiers)
        removed.insert(tier.Tier);
    for (const NamedTier& tier : TiersInCuttingOrder(*gem)) {
        if (tier.Table) continue;
        bool left = false;
        for (const int f : tier.Facets)
            left = left || cut->Facets[f].CornerCount != 0;
        EXPECT_EQ(left, removed.count(tier.Tier) == 0) << tier.Name;
    }
    EXPECT_EQ(outcome.NewFacets.empty(), outcome.Misses);
}

INSTANTIATE_TEST_SUITE_P(
    RoundCrown, CutPlanning,
    ::testing::Values(PlanCase{35, 40, "This plane misses the stone: the cut would remove nothing"},
                      PlanCase{35, 30, ""},
                      PlanCase{35, 20,
                               "This cut removes tier G (90.00\u00B0, 16 facets), tier C1 (37.00\u00B0, 8 "
                               "facets), tier C2 (42.00\u00B0, 16 facets) and 1 more tier entirely"}));

struct GearCase {
    int Teeth;
    const char* Tier;
    bool Exact;
    Real LargestError; // degrees
};

class GearConversion : public ::testing::TestWithParam<GearCase> {};

TEST_P(GearConversion, ExactTiersAndErrors) {
    const GearCase c = GetParam();
    auto gem = CrownOn96();
    for (const TierOnGear& tier : IndicesOnGear(*gem, c.Teeth)) {
        if (tier.Tier.Name != c.Tier) continue;
        EXPECT_EQ(tier.Exact(), c.Exact);
        EXPECT_NEAR(tier.LargestErrorDegrees(), c.LargestError, 1e-9);
        for (const IndexOnGear& i : tier.Indices) { // an independent look: the tooth's own direction
            const Real toothDegrees = i.Nearest * 360.0L / c.Teeth;
            const Real designDegrees = i.DesignIndex * 360.0L / 96;
            EXPECT_NEAR(std::remainder(toothDegrees - designDegrees, 360.0L), i.ErrorDegrees, 1e-9);
        }
        return;
    }
    ADD_FAILURE() << "no tier " << c.Tier;
}

INSTANTIATE_TEST_SUITE_P(
    Crown96, GearConversion,
    ::testing::Values(GearCase{48, "c1", true, 0}, GearCase{48, "c2", true, 0}, GearCase{48, "c3", true, 0},
                      GearCase{48, "g", true, 0}, GearCase{80, "c1", true, 0}, GearCase{80, "c3", true, 0},
                      GearCase{80, "c2", false, 1.5L}, // 2 -> 1.67 teeth: a third of a 4.5 degree tooth
                      GearCase{72, "c3", false, 2.5L}, GearCase{64, "c2", false, 1.875L}));

TEST(GearConversion, NearestToothWrapsRound) {
    const IndexOnGear i = ConvertIndex(95.5L, 96, 48); // 47.75 teeth: nearest 48, which is tooth 0
    EXPECT_EQ(i.Nearest, 0);
    EXPECT_NEAR(i.ErrorDegrees, 0.25L * 7.5L, 1e-12);
}

TEST(GearConversion, RefusesGearsOutsideOneToFourHundredTeeth) {
    auto gem = CrownOn96();
    for (const int teeth : {0, -96, 401})
        EXPECT_THROW(IndicesOnGear(*gem, teeth), RangeError) << teeth;
    EXPECT_NO_THROW(IndicesOnGear(*gem, 400));
}
} // namespace
