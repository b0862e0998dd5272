// The whole stone of hand-made halves: proportions and weight worked out by hand, where the stone's
// faces come from, single halves, the naming rule and the refusals.
#include "stone/materials.h"
#include "stone/stone.h"
#include "stone/stone_figures.h"
#include "stone/stone_files.h"
#include "tests/support/asc_files.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"
#include "tests/support/published_asc.h"

#include "gem/range_error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {
constexpr Real Rad = std::numbers::pi_v<Real> / 180;
constexpr Real Tight = 1e-9L;

// An octagon brilliant on 96 teeth: girdle facets 50 from the axis, 2 thick; crown mains at 34.5
// degrees up to a table 28 from the axis; pavilion mains at 40.75 degrees to a point.
constexpr Real GirdleRadius = 50, TableRadius = 28, HalfGirdle = 1, CrownAngle = 34.5L,
               PavilionAngle = 40.75L;

struct Halves {
    std::unique_ptr<TGem> crown, pavilion;
};

Halves OctagonBrilliant() {
    Halves h{NewGem('c', 8, 96, false), NewGem('p', 8, 96, false)};
    CutByAngle(*h.crown, 90, 0, GirdleRadius);
    CutThroughPoint(*h.crown, CrownAngle, 0, {GirdleRadius, 0, HalfGirdle});
    CutHorizontal(*h.crown, HalfGirdle + (GirdleRadius - TableRadius) * std::tan(CrownAngle * Rad));
    CutByAngle(*h.pavilion, 90, 0, GirdleRadius);
    CutThroughPoint(*h.pavilion, PavilionAngle, 0, {GirdleRadius, 0, -HalfGirdle});
    h.crown->Recompute();
    h.pavilion->Recompute();
    return h;
}

// A regular octagon's area from its inradius.
Real Octagon(Real r) {
    return 8 * r * r * std::tan(std::numbers::pi_v<Real> / 8);
}

TEST(WholeStone, OctagonBrilliantProportionsAsWorkedOutByHand) {
    const Halves h = OctagonBrilliant();
    Stone stone;
    ASSERT_TRUE(Done(MakeStone(*h.crown, *h.pavilion, stone)));
    EXPECT_TRUE(StoneFaults(stone, StonePlanes(h.crown.get(), h.pavilion.get())).empty());
    const StoneFigures f = FiguresOf(stone, *h.crown);

    const Real crown = (GirdleRadius - TableRadius) * std::tan(CrownAngle * Rad);
    const Real pavilion = GirdleRadius * std::tan(PavilionAngle * Rad);
    const Real girdle = 2 * HalfGirdle, width = 2 * GirdleRadius;
    const Real frustum = crown / 3 *
                         (Octagon(GirdleRadius) + Octagon(TableRadius) +
                          std::sqrt(Octagon(GirdleRadius) * Octagon(TableRadius)));
    const Real volume = frustum + girdle * Octagon(GirdleRadius) + pavilion * Octagon(GirdleRadius) / 3;
    const struct {
        const char* name;
        Real value, expected;
    } rows[] = {
        {"L/W", f.Ratio(f.Length), 1},
        {"T/W", f.Ratio(f.Table), 2 * TableRadius / width},
        {"C/W", f.Ratio(f.CrownHeight), crown / width},
        {"P/W", f.Ratio(f.PavilionDepth), pavilion / width},
        {"G/W thinnest", f.Ratio(f.GirdleThin), girdle / width},
        {"G/W thickest", f.Ratio(f.GirdleThick), girdle / width},
        {"H/W", f.Ratio(f.TotalDepth), (crown + girdle + pavilion) / width},
        {"Vol/W3", f.VolumeRatio(), volume / (width * width * width)},
    };
    for (const auto& row : rows)
        EXPECT_NEAR(row.value, row.expected, Tight) << row.name;
    EXPECT_EQ(f.CrownFacets, 9); // 8 mains and the table
    EXPECT_EQ(f.PavilionFacets, 8);
    EXPECT_EQ(f.GirdleFacets, 8); // each girdle facet in both halves makes one face
    EXPECT_TRUE(CompareGirdles(*h.crown, *h.pavilion).Agree());
}

TEST(WholeStone, FacesKnowTheirHalfAndGroup) {
    const Halves h = OctagonBrilliant();
    Stone stone;
    ASSERT_TRUE(Done(MakeStone(*h.crown, *h.pavilion, stone)));
    for (const StoneFace& face : stone.Faces) {
        const TGem& half = face.Half == StoneHalf::Crown ? *h.crown : *h.pavilion;
        EXPECT_TRUE(face.FacePlane.Normal == half.Facets[face.Facet].Normal);
        EXPECT_EQ(face.FacePlane.Dist, half.Dist(face.Facet));
        EXPECT_EQ(face.Tier, half.Facets[face.Facet].TierNo);
        EXPECT_EQ(face.Girdle, std::fabs(face.FacePlane.Normal.z) < 1e-15);
        EXPECT_TRUE(face.Facet < 1 || half.GroupParts(face.Group) != 0);
    }
}

TEST(WholeStone, QuartzSlabWeighsAsWorkedOutByHand) {
    // 20 x 20 x 6 design units; cut 10 mm wide it is 10 x 10 x 3 mm.
    auto crown = NewGem('c', 4, 96, false), pavilion = NewGem('p', 4, 96, false);
    for (TGem* half : {crown.get(), pavilion.get()}) {
        CutByAngle(*half, 90, 0, 10);
        CutHorizontal(*half, half->IsCrown() ? 3 : -3);
        half->Recompute();
    }
    Stone stone;
    ASSERT_TRUE(Done(MakeStone(*crown, *pavilion, stone)));
    const Material* quartz = FindMaterial(" quartz");
    ASSERT_NE(quartz, nullptr);
    const Real carats = 10 * 10 * 3 * 2.65L / 200; // mm³ x g/cm³ = mg; 200 mg to the carat
    EXPECT_NEAR(CaratsOf(stone, 10, quartz->SpecificGravity), carats, Tight);
    EXPECT_NEAR(SizeForCarats(stone, carats, quartz->SpecificGravity), 10, Tight);
    EXPECT_NEAR(SizeForCarats(stone, carats, quartz->SpecificGravity, SizeAlong::Length), 10, Tight);
    for (const Real bad : {Real(0), Real(-1), Real(INFINITY), Real(NAN)}) {
        EXPECT_THROW(CaratsOf(stone, bad, 2.65L), RangeError);
        EXPECT_THROW(CaratsOf(stone, 10, bad), RangeError);
        EXPECT_THROW(SizeForCarats(stone, bad, 2.65L), RangeError);
    }
}

TEST(WholeStone, MaterialsGiveTheirIndexAtTheDLineAndTheirDispersion) {
    EXPECT_GE(Materials().size(), 20u);
    for (const Material& m : Materials()) {
        EXPECT_NEAR(RefractiveIndexAt(m, 589.3L), m.RefractiveIndex, 1e-15) << m.Name;
        EXPECT_NEAR(RefractiveIndexAt(m, 430.8L) - RefractiveIndexAt(m, 686.7L), m.Dispersion, 1e-15)
            << m.Name;
        EXPECT_FALSE(m.Source.empty()) << m.Name;
    }
}

TEST(WholeStone, OneHalfIsClosedByTheGirdlePlane) {
    const Halves h = OctagonBrilliant();
    Stone stone;
    ASSERT_TRUE(Done(MakeHalfStone(*h.crown, stone)));
    EXPECT_EQ(stone.SingleHalf, StoneHalf::Crown);
    EXPECT_EQ(stone.BoxMin.z, 0);
    const Real crown = (GirdleRadius - TableRadius) * std::tan(CrownAngle * Rad);
    const Real frustum = crown / 3 *
                         (Octagon(GirdleRadius) + Octagon(TableRadius) +
                          std::sqrt(Octagon(GirdleRadius) * Octagon(TableRadius)));
    EXPECT_NEAR(stone.Volume, frustum + HalfGirdle * Octagon(GirdleRadius), Tight * stone.Volume);
    EXPECT_TRUE(StoneFaults(stone, StonePlanes(h.crown.get(), nullptr)).empty());
}

TEST(WholeStone, GirdlesThatDifferAreNamed) {
    Halves h = OctagonBrilliant();
    ASSERT_TRUE(h.pavilion->Resize(1.021L));
    h.pavilion->Recompute();
    const GirdleComparison c = CompareGirdles(*h.crown, *h.pavilion);
    ASSERT_FALSE(c.Agree());
    EXPECT_EQ(c.Findings.front(), "the pavilion's girdle is 2.1% wider than the crown's");
    EXPECT_NEAR(c.PavilionToCrown(), 1 / 1.021L, Tight);
    // The smaller girdle wins.
    Stone stone;
    ASSERT_TRUE(Done(MakeStone(*h.crown, *h.pavilion, stone)));
    EXPECT_NEAR(stone.BoxMax.x - stone.BoxMin.x, 2 * GirdleRadius, Tight);
}

TEST(WholeStone, PartnerByTheNamingRule) {
    const struct {
        const char* half;
        const char* partner;
    } rows[] = {{"/d/ovalc.lfx", "/d/ovalp.lfx"}, {"ovalP.LFX", "ovalC.LFX"}, {"d/oval.lfx", ""}, {"c", "p"}};
    for (const auto& row : rows)
        EXPECT_EQ(PartnerFileName(row.half), row.partner) << row.half;
}

TEST(WholeStone, RefusalsNameTheFilesAndTheReason) {
    TempFile crownFile("gemc.lfx"), otherGear("otherp.lfx");
    Halves h = OctagonBrilliant();
    ASSERT_TRUE(h.crown->WriteDesign(crownFile.Path(), TGem::FileMode::Named, "gemc"));
    auto sixtyFour = NewGem('p', 8, 64, false);
    CutByAngle(*sixtyFour, 41, 0, 30);
    sixtyFour->Recompute();
    ASSERT_TRUE(sixtyFour->WriteDesign(otherGear.Path(), TGem::FileMode::Named, "otherp"));

    StoneHalves halves;
    FileError error = ReadDesignPair(crownFile.Path(), "", halves).Error(); // gemp.lfx not written yet
    EXPECT_NE(error.Message.find(PartnerFileName(crownFile.Path())), std::string::npos) << error.Message;
    error = ReadDesignPair(crownFile.Path(), crownFile.Path(), halves).Error();
    EXPECT_NE(error.Message.find("both crowns"), std::string::npos) << error.Message;

    ASSERT_TRUE(Done(ReadDesignPair(crownFile.Path(), otherGear.Path(), halves)));
    Stone stone;
    error = MakeStone(*halves.Crown, *halves.Pavilion, stone, crownFile.Path(), otherGear.Path()).Error();
    EXPECT_NE(error.Message.find(crownFile.Path()), std::string::npos) << error.Message;
    EXPECT_NE(error.Message.find(otherGear.Path()), std::string::npos) << error.Message;
    error = MakeStone(*halves.Pavilion, *halves.Crown, stone).Error(); // swapped halves
    EXPECT_NE(error.Message.find("where a crown is expected"), std::string::npos) << error.Message;

    auto slab = NewGem('c', 8, 96, false), bottom = NewGem('p', 8, 96, false);
    error = MakeStone(*slab, *bottom, stone).Error(); // only the table and the culet plane
    EXPECT_NE(error.Message.find("open"), std::string::npos) << error.Message;
    slab->SetDist(-1, 0);
    bottom->SetDist(-1, 0);
    CutByAngle(*slab, 90, 0, 10);
    error = MakeStone(*slab, *bottom, stone).Error(); // a flat stone
    EXPECT_NE(error.Message.find("empty"), std::string::npos) << error.Message;
    EXPECT_TRUE(stone.Empty());
}

TEST(WholeStone, AscFileGivesBothHalves) {
    StoneHalves halves;
    ASSERT_TRUE(Done(ReadStoneHalves(BundledAsc("SRB.asc"), "", halves)));
    EXPECT_TRUE(halves.Crown->IsCrown());
    EXPECT_TRUE(halves.Pavilion->IsPavilion());
    EXPECT_FALSE(ReadStoneHalves(BundledAsc("SRB.asc"), "x.lfx", halves));
    const FileError error = ReadStoneHalves(BundledAsc("missing.asc"), "", halves).Error();
    EXPECT_NE(error.Message.find("missing.asc"), std::string::npos) << error.Message;
}

// Two designs read into file after file give the halves that each half's own import gives.
TEST(WholeStone, AscFilesReadIntoTheSameDesignsGiveTheHalvesOfTheirOwnImport) {
    auto crown = std::make_unique<TGem>(), pavilion = std::make_unique<TGem>();
    for (const char* name : {"Turkey.asc", "SRB.asc", "seven_on_64.asc", "Compear125.asc"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(Done(ReadAscHalvesInto(BundledAsc(name), *crown, *pavilion)));
        std::unique_ptr<TGem> own;
        ASSERT_TRUE(Done(ImportHalf(BundledAsc(name), 'c', own)));
        EXPECT_EQ(crown->DesignFileText(), own->DesignFileText());
        ASSERT_TRUE(Done(ImportHalf(BundledAsc(name), 'p', own)));
        EXPECT_EQ(pavilion->DesignFileText(), own->DesignFileText());
    }
}
} // namespace

namespace {
// Whether every plane of one half has a plane of the other within `tolerance` (normals scaled by
// `size`, so that both terms are lengths).
bool PlanesCovered(const TGem& from, const TGem& by, Real size, Real tolerance) {
    for (int f = -1; f <= from.FacetCount; ++f) {
        if (f == 0) continue;
        bool found = false;
        for (int g = -1; g <= by.FacetCount && !found; ++g) {
            const Vector3 dn = from.Facets[f].Normal - by.Facets[g].Normal;
            found =
                g != 0 && std::sqrt(Dot(dn, dn)) * size + std::fabs(from.Dist(f) - by.Dist(g)) < tolerance;
        }
        if (!found) return false;
    }
    return true;
}

TEST(WholeStone, AscExportReadsBackIntoTheSameHalves) {
    for (const char* name : {"SRB.asc", "Turkey.asc", "CubeIllusionTri.asc"}) {
        StoneHalves halves, back;
        ASSERT_TRUE(Done(ReadAscHalves(BundledAsc(name), halves)));
        TempFile file("whole.asc");
        ASSERT_TRUE(Done(WriteStoneAsc(*halves.Crown, *halves.Pavilion, file.Path())));
        ASSERT_TRUE(Done(ReadAscHalves(file.Path(), back)));
        Stone stone;
        ASSERT_TRUE(Done(MakeStone(*halves.Crown, *halves.Pavilion, stone)));
        const Real tolerance = 1e-6L * stone.Size();
        for (const auto& [a, b] : {std::pair{halves.Crown.get(), back.Crown.get()},
                                   std::pair{halves.Pavilion.get(), back.Pavilion.get()}}) {
            EXPECT_TRUE(PlanesCovered(*a, *b, stone.Size(), tolerance)) << name;
            EXPECT_TRUE(PlanesCovered(*b, *a, stone.Size(), tolerance)) << name;
        }
    }
}
} // namespace

TEST(Materials, OwnMaterialLinesAreCheckedAndKept) {
    const struct {
        const char* line;
        bool read;
    } cases[] = {
        {"Sunstone; 2.64; 1.54", true}, {" Glass 2 ;2.5;1.52 ", true}, {"; 2.6; 1.5", false},
        {"Opal; 0; 1.45", false},       {"Opal; 2.1; 1", false},       {"Opal; 2.1; x", false},
        {"Opal; 2.1", false},           {"Opal; inf; 1.45", false},
    };
    for (const auto& c : cases) {
        Material m;
        std::string why;
        EXPECT_EQ(ParseMaterial(c.line, m, why), c.read) << c.line;
        EXPECT_EQ(why.empty(), c.read) << c.line;
        if (!c.read) continue;
        Material again; // what the settings keep reads back to the same values
        ASSERT_TRUE(ParseMaterial(MaterialLine(m), again, why));
        EXPECT_EQ(again.Name, m.Name);
        EXPECT_NEAR(double(again.SpecificGravity), double(m.SpecificGravity), 1e-9);
        EXPECT_NEAR(double(again.RefractiveIndex), double(m.RefractiveIndex), 1e-9);
    }
    EXPECT_EQ(ParseMaterials("Sunstone; 2.64; 1.54\nbad line\nIolite; 2.61; 1.54\n").size(), 2u);
}
