// Girdle outline files and the CAM preform.
#include "gem/gem.h"
#include "tests/support/asc_files.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"
#include "tests/support/polyhedron_checks.h"
#include "tests/support/published_asc.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
void ExpectNoFaults(const std::vector<std::string>& faults, const std::string& what) {
    for (const auto& fault : faults)
        ADD_FAILURE() << what << ": " << fault;
}

// A crown whose girdle is a 16-gon on the girdle plane (no girdle facets).
std::unique_ptr<TGem> SixteenSidedCrown() {
    auto gem = NewGem('c', 16, 96, false);
    EXPECT_TRUE(CutByAngle(*gem, 40, 0, 30));
    return gem;
}

int OutlineEdgeCount(const TGem& gem) {
    return 1 - gem.OutlineFirstEdge;
}
int OutlinePointCount(const TGem& gem) {
    return 1 - gem.OutlineFirstPoint;
}

int GirdleFacetCount(const TGem& gem, bool withPolygon) {
    int count = 0;
    for (int f = 1; f <= gem.FacetCount; ++f)
        if (Near90(gem.FacetAngle(f)) && (!withPolygon || gem.Facets[f].CornerCount > 0)) ++count;
    return count;
}
} // namespace

TEST(Outline, SixteenGirdleEdgesWriteThirtyThreeLinesAndReadBack) {
    auto gem = SixteenSidedCrown();
    gem->Mirror = true;
    TempFile file("girdle.otl");
    ASSERT_TRUE(gem->SaveOutline(file.Path()));
    EXPECT_EQ(gem->OutlineFileName, file.Path());
    const auto lines = file.Lines();
    ASSERT_EQ(lines.size(), 33u);
    EXPECT_EQ(lines[0], "96 16 cm0");
    EXPECT_NE(file.Read().find("\r\n"), std::string::npos);
    // the first girdle edge: its number, two blanks, the index in 23 characters
    EXPECT_EQ(lines[1].size(), lines[1].find("  ") + 2 + 23);
    EXPECT_EQ(lines[2].size(), 54u);

    auto other = NewGem('p', 4, 64, false);
    ASSERT_TRUE(other->ReadOutline(file.Path()));
    EXPECT_EQ(OutlineEdgeCount(*other), 16);
    EXPECT_EQ(OutlinePointCount(*other), 16);
    EXPECT_TRUE(other->HoldsOutline());
    EXPECT_EQ(other->OutlineSystemIndex, 96);
    EXPECT_EQ(other->OutlineParts, 16);
    EXPECT_EQ(other->OutlineType, 'c');
    EXPECT_EQ(other->OutlineMirror, 'm');
    EXPECT_EQ(other->OutlineOffset, 0);
    for (int e = other->OutlineFirstEdge; e <= 0; ++e) {
        const FacetEdge& edge = other->Edges[e];
        EXPECT_EQ(edge.FacetA, 0);
        EXPECT_EQ(edge.FacetB, 0);
        EXPECT_GE(edge.PointA, other->OutlineFirstPoint);
        EXPECT_LE(edge.PointB, 0);
        EXPECT_NEAR(std::fmod(edge.OutlineIndex, 6), 0, 1e-12L); // the 16 facets lie on every 6th index
        EXPECT_NEAR(std::hypot(other->Points[edge.PointA].Position.x, other->Points[edge.PointA].Position.y),
                    30 / std::sin(40 * RadPerDeg) / std::cos(TwoPi / 32), 1e-4L);
    }
    // The outline survives a recompute of the design.
    ASSERT_TRUE(CutByAngle(*other, 40, 0, 30));
    EXPECT_EQ(OutlineEdgeCount(*other), 16);
}

TEST(Outline, WideCoordinatesStillReadBack) {
    auto gem = SixteenSidedCrown();
    ASSERT_TRUE(gem->Resize(10)); // coordinates such as -466.7172 fill a field of 9
    TempFile file("wide.otl");
    ASSERT_TRUE(gem->SaveOutline(file.Path()));
    auto other = NewGem();
    ASSERT_TRUE(Done(other->ReadOutline(file.Path())));
    EXPECT_EQ(OutlineEdgeCount(*other), 16);
    EXPECT_EQ(OutlinePointCount(*other), 16);
}

TEST(Outline, IndexFieldIsScientificIn23Characters) {
    auto gem = NewGem('c', 1, 96, false, 5);
    ASSERT_TRUE(CutByAngle(*gem, 40, 12.5L, 30));
    TempFile file("one.otl");
    ASSERT_TRUE(gem->SaveOutline(file.Path()));
    const auto lines = file.Lines();
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], "96 1 cn5");
    const std::string line = lines[1];
    EXPECT_EQ(line.substr(line.find("  ")), "   1.25000000000000E+0001");
}

TEST(Outline, FileFormatDetails) {
    TempFile file("hand.otl");
    // No offset in the header; the second edge's ends coincide (within 0.1) and are dropped.
    file.Write("96 8 pn\n"
               "3   1.20000000000000E+0001\n"
               "  10.0000   0.0000   0.0000   0.0000  10.0000   0.0000\n"
               "4   2.40000000000000E+0001\n"
               "   0.0000  10.0000   0.0000   0.0300  10.0400   0.0000\n"
               "5   3.60000000000000E+0001\n"
               "   0.0000  10.0000   0.0000 -10.0000   0.0000   0.0000\n\n");
    auto gem = NewGem();
    ASSERT_TRUE(Done(gem->ReadOutline(file.Path())));
    EXPECT_EQ(gem->OutlineOffset, 0);
    EXPECT_EQ(gem->OutlineType, 'p');
    EXPECT_EQ(gem->OutlineMirror, 'n');
    EXPECT_EQ(OutlineEdgeCount(*gem), 2);
    EXPECT_EQ(OutlinePointCount(*gem), 3);
    EXPECT_EQ(gem->Edges[-1].OutlineIndex, 36);
    EXPECT_EQ(gem->Edges[-1].PointA, gem->Edges[0].PointB); // the shared corner is found again

    file.Write("-96 3 cm -7\n");
    ASSERT_TRUE(Done(gem->ReadOutline(file.Path())));
    EXPECT_EQ(gem->OutlineSystemIndex, -96);
    EXPECT_EQ(gem->OutlineOffset, -7);
    EXPECT_EQ(gem->OutlineFirstEdge, 1);
}

TEST(Outline, CornerNearTwoStoredPointsReusesTheLatest) {
    TempFile file("near.otl");
    // The second edge starts within 0.1 of both corners of the first: the one stored last is taken.
    file.Write("96 8 cn0\n"
               "1   0.00000000000000E+0000\n"
               "   0.0000   0.0000   0.0000   0.1500   0.0000   0.0000\n"
               "2   1.20000000000000E+0001\n"
               "   0.0700   0.0000   0.0000   5.0000   0.0000   0.0000\n");
    auto gem = NewGem();
    ASSERT_TRUE(Done(gem->ReadOutline(file.Path())));
    EXPECT_EQ(OutlinePointCount(*gem), 3);
    EXPECT_EQ(gem->Edges[-1].PointA, -1);
}

TEST(Outline, HidingAndShowingRereadsTheFile) {
    auto gem = SixteenSidedCrown();
    TempFile file("girdle.otl");
    ASSERT_TRUE(gem->SaveOutline(file.Path()));
    ASSERT_TRUE(gem->ReadOutline(file.Path()));
    const Vector3 corner = gem->Points[0].Position;
    ASSERT_EQ(gem->FindPoint(corner.x, corner.y, true, false).value().Index, 0); // an outline point is picked
    gem->DropOutline();
    EXPECT_FALSE(gem->HoldsOutline());
    EXPECT_EQ(gem->OutlineFirstEdge, 1);
    EXPECT_GT(gem->FindPoint(corner.x, corner.y, true, false).value().Index, 0); // the stone's own corner

    auto lines = file.Lines();
    std::string edited = lines[0] + "\r\n" + lines[1] + "\r\n" + lines[2] + "\r\n";
    file.Write(edited);
    EXPECT_TRUE(gem->OutlineFileExists());
    ASSERT_TRUE(gem->ReadOutline(""));
    EXPECT_EQ(OutlineEdgeCount(*gem), 1);
    EXPECT_EQ(OutlinePointCount(*gem), 2);
}

TEST(Outline, DesignWithoutGirdleWritesTheHeaderOnly) {
    auto gem = NewGem('c', 8, 96, false); // no facets cut: no edges at all
    TempFile file("none.otl");
    ASSERT_TRUE(gem->SaveOutline(file.Path()));
    EXPECT_EQ(file.Lines().size(), 1u);
}

TEST(Outline, FailuresLeaveTheEarlierOutline) {
    auto gem = SixteenSidedCrown();
    TempFile good("good.otl");
    ASSERT_TRUE(gem->SaveOutline(good.Path()));
    ASSERT_TRUE(gem->ReadOutline(good.Path()));

    std::string tooMany = "96 8 cn0\n";
    for (int k = 0; k < 102; ++k)
        tooMany += "1 0\n" + std::to_string(k) + " 0 0 " + std::to_string(k + 0.5) + " 5 0\n";
    const std::pair<std::string, std::string> cases[] = {
        {tooMany, "line 103: more than 101 outline points"},
        {"96 8 cn0\n1 3\n1 2 3 4 5\n", "line 3: an edge needs six coordinates"},
        {"96 8 cn0\n1 3\n", "line 3: the coordinates of the edge are missing"},
        {"96 8 cn0\nx 3\n1 2 3 4 5 6\n", "line 2: an edge line needs the edge number and its index"},
        {"ninety-six\n", "line 1: the header needs"},
        {"96 8 c\n", "line 1: the header needs"},
    };
    TempFile bad("bad.otl");
    for (const auto& [text, message] : cases) {
        bad.Write(text);
        const FileResult read = gem->ReadOutline(bad.Path());
        EXPECT_FALSE(read);
        EXPECT_NE(read.Error().Message.find(message), std::string::npos) << read.Error().Message;
        EXPECT_EQ(gem->OutlineFileName, good.Path());
        EXPECT_EQ(OutlineEdgeCount(*gem), 16);
    }
    EXPECT_FALSE(gem->ReadOutline("/dev/zero"));
    EXPECT_EQ(OutlineEdgeCount(*gem), 16);
    EXPECT_FALSE(gem->ReadOutline("/nonexistent-folder/x.otl"));
    EXPECT_EQ(OutlineEdgeCount(*gem), 16);
    EXPECT_FALSE(gem->SaveOutline("/nonexistent-folder/x.otl"));
    EXPECT_EQ(gem->OutlineFileName, "");
    EXPECT_FALSE(gem->OutlineFileExists());
}

TEST(Outline, NewDesignClearsTheOutline) {
    auto gem = SixteenSidedCrown();
    TempFile file("girdle.otl");
    ASSERT_TRUE(gem->SaveOutline(file.Path()));
    ASSERT_TRUE(gem->ReadOutline(file.Path()));
    gem->NewDesign('c', 8, 96, false, 0, true);
    EXPECT_EQ(gem->OutlineFirstEdge, 1);
    EXPECT_EQ(gem->OutlineFirstPoint, 1);
}

// ---- CAM preform ----

TEST(Preform, CrownWithEightGirdleFacetsGivesEightFacesAtOneApex) {
    auto design = NewGem('c', 8, 96, false);
    ASSERT_TRUE(CutByAngle(*design, 40, 0, 30));
    ASSERT_TRUE(design->HasTable());
    auto preform = std::make_unique<TGem>();
    design->MakePreform(*preform);
    EXPECT_TRUE(preform->IsPreform);
    EXPECT_EQ(preform->FacetCount, 8);
    EXPECT_FALSE(preform->HasTable());
    EXPECT_NEAR(preform->BoxMax.z, 30 / std::cos(40 * RadPerDeg), 1e-9L); // the facets' axis height
    int atApex = 0;
    for (int f = 1; f <= preform->FacetCount; ++f) {
        EXPECT_NEAR(preform->FacetAngle(f), 40, 1e-9L);
        EXPECT_NEAR(preform->Index(f), design->Index(f), 1e-9L);
        const Facet& face = preform->Facets[f];
        for (int c = 1; c < face.CornerCount; ++c) {
            const Vector3& p = preform->Points[face.Corners[c]].Position;
            if (std::hypot(p.x, p.y) < 1e-6L) ++atApex;
        }
    }
    EXPECT_EQ(atApex, 8);
    EXPECT_EQ(preform->Parts, 8);
    ExpectNoFaults(CheckInvariants(*preform, 0.9L), "preform");
}

TEST(Preform, FirstOfTwoEquallySteepFacetsSetsTheApex) {
    auto design = NewGem('c', 2, 96, false);
    ASSERT_TRUE(CutByAngle(*design, 40, 0, 20));
    ASSERT_TRUE(CutByAngle(*design, 40, 24, 25));
    design->SetBoundingPlane(50);
    const Real first = std::fabs(design->Dist(1) / design->NormalZ(1));
    auto preform = std::make_unique<TGem>();
    design->MakePreform(*preform);
    EXPECT_NEAR(preform->BoxMax.z, first, 1e-9L);
    EXPECT_EQ(preform->FacetCount, 4);
    EXPECT_LT(preform->FacetAngle(3), 40); // the further facet comes flatter, on its own girdle line
    ExpectNoFaults(CheckInvariants(*preform, 0.9L), "two tiers");
}

TEST(Preform, GirdleNeighbours) {
    auto design = RoundBrilliantCrown();
    int found = 0;
    for (int e = 1; e <= design->EdgeCount; ++e) {
        const int a = design->Edges[e].FacetA, b = design->Edges[e].FacetB;
        const int neighbour = design->GirdleNeighbour(e);
        const bool girdleSide =
            a == 0 || b == 0 || Near90(design->FacetAngle(a)) || Near90(design->FacetAngle(b));
        if (!girdleSide || (a >= 1 && a <= 16 && b >= 1 && b <= 16)) {
            EXPECT_EQ(neighbour, TGem::NoGirdleNeighbour);
        }
        if (neighbour >= 1) {
            ++found;
            EXPECT_FALSE(Near90(design->FacetAngle(neighbour)));
        }
    }
    EXPECT_GT(found, 0);
    TGem::FacetMarks marks{"marks"};
    marks[1] = marks[-1] = true;
    design->MarkGirdleNeighbours(marks);
    EXPECT_FALSE(marks[1]); // cleared first; girdle facets are never neighbours
    int marked = 0;
    for (int f = 1; f <= design->FacetCount; ++f)
        marked += marks[f] ? 1 : 0;
    EXPECT_EQ(marked, 24); // the mains and the upper halves touch the girdle facets
}

TEST(Preform, FlattenEndsTheSteepestFacetAtTheFlattestAngle) {
    auto design = RoundBrilliantCrown();
    ASSERT_TRUE(design->FlattenForPreform());
    design->Recompute();
    Real steepest = 0;
    for (int f = 17; f <= design->FacetCount; ++f)
        steepest = std::fmax(steepest, design->FacetAngle(f));
    EXPECT_NEAR(steepest, 22, 1e-9L);
    EXPECT_NEAR(design->FacetAngle(1), 90, 1e-9L);
    auto single = NewGem('c', 8, 96, false);
    ASSERT_TRUE(CutByAngle(*single, 40, 0, 30));
    EXPECT_FALSE(single->FlattenForPreform());
}

TEST(Preform, RevealGirdleFacets) {
    auto shown = RoundBrilliantCrown();
    const Real table = shown->Dist(-1);
    shown->RevealGirdleFacets();
    EXPECT_EQ(shown->Dist(-1), table);

    // The imported pavilion of this design crosses z = 0 inside its girdle.
    auto pavilion = std::make_unique<TGem>();
    ASSERT_TRUE(pavilion->ReadAsc(BundledAsc("SRB.asc")));
    ASSERT_TRUE(pavilion->ImportAsc('p'));
    ASSERT_LT(GirdleFacetCount(*pavilion, true), GirdleFacetCount(*pavilion, false));
    pavilion->RevealGirdleFacets();
    EXPECT_EQ(GirdleFacetCount(*pavilion, true), GirdleFacetCount(*pavilion, false));
}

namespace {
// Flattens, reveals and makes the preform of both halves of a published design.
void ExpectPreformSequence(const std::string& path) {
    for (char type : {'c', 'p'}) {
        SCOPED_TRACE(path + " " + type);
        auto design = std::make_unique<TGem>();
        ASSERT_TRUE(design->ReadAsc(path));
        ASSERT_TRUE(design->ImportAsc(type));
        design->FlattenForPreform();
        design->Recompute();
        design->RevealGirdleFacets();
        auto preform = std::make_unique<TGem>();
        design->MakePreform(*preform);
        EXPECT_TRUE(preform->IsPreform);
        EXPECT_GT(preform->FacetCount, GirdleFacetCount(*design, false));
        EXPECT_EQ(preform->Parts, design->Parts);
        ExpectNoFaults(CheckInvariants(*preform, 0.9L), "preform");
    }
}
} // namespace

TEST(Preform, MakePreformSequenceOnRealDesigns) {
    for (const char* name : {"SRB.asc", "Compear125.asc"})
        ExpectPreformSequence(BundledAsc(name));
}

TEST(Preform, MakePreformSequenceOnADesignWithALowerSymmetryTier) {
    SKIP_WITHOUT_SHARED_ASC();
    ExpectPreformSequence(SharedAsc("pc01084.asc"));
}
