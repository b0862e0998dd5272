// Every published design (those kept in the tests' data, and those of the shared folder when it is
// there) imports as a crown and as a pavilion with exactly the facets that the file lists for that half.
#include "gem/gem.h"
#include "tests/support/asc_files.h"
#include "tests/support/file_results.h"
#include "tests/support/polyhedron_checks.h"
#include "tests/support/published_asc.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <vector>

namespace {
Real HorizontalRatio(const TGem& gem) {
    const Real dx = gem.BoxMax.x - gem.BoxMin.x, dy = gem.BoxMax.y - gem.BoxMin.y;
    return std::fmax(dx, dy) / std::fmin(dx, dy);
}

std::string WholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

class PublishedAscFile : public testing::TestWithParam<std::string> {};
} // namespace

TEST_P(PublishedAscFile, ImportsBothHalvesWithExactlyTheListedFacets) {
    for (char type : {'c', 'p'}) {
        SCOPED_TRACE(std::string("half ") + type);
        auto gem = std::make_unique<TGem>();
        ASSERT_TRUE(Done(gem->ReadAsc(GetParam())));
        const std::vector<ListedFacet> listed = ListedFacets(*gem, type);
        ASSERT_TRUE(Done(gem->ImportAsc(type)));
        for (const auto& fault : CompareWithListed(*gem, listed))
            ADD_FAILURE() << fault;
        for (const auto& fault : CheckInvariants(*gem, 1.0L))
            ADD_FAILURE() << fault;
        EXPECT_GT(gem->Facets[0].CornerCount, 0) << "no girdle polygon";
    }
}

// On the crown the girdle facets bound the stone, so the crown has the outline of the whole stone.
// (A pavilion's facets cross z = 0 inside the girdle in these files, which puts the girdle lower.)
TEST(PublishedOutline, CrownHasTheLengthToWidthRatioOfTheDesign) {
    const std::pair<const char*, Real> designs[] = {
        {"SRB.asc", 1.0L}, {"Compear125.asc", 1.2502L}, {"Turkey.asc", 1.3333L}};
    for (const auto& [name, ratio] : designs) {
        auto gem = std::make_unique<TGem>();
        ASSERT_TRUE(Done(gem->ReadAsc(BundledAsc(name))));
        ASSERT_TRUE(gem->ImportAsc('c'));
        EXPECT_NEAR(HorizontalRatio(*gem), ratio, 0.0001L) << name;
    }
}

// One tier of pc01084 lists 8 indices for a design of 48 mirrored parts: exactly those 8 are cut.
TEST(PublishedOutline, TierOfLowerSymmetryKeepsItsOwnFacets) {
    SKIP_WITHOUT_SHARED_ASC();
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(gem->ReadAsc(SharedAsc("pc01084.asc")));
    ASSERT_TRUE(gem->ImportAsc('c'));
    EXPECT_EQ(gem->Parts, 48);
    EXPECT_TRUE(gem->Mirror);
    // a 40.00 ... 48 60 72 84 0 12 24 36 (offset 48): one 8-fold group on the mirror lines
    EXPECT_EQ(gem->GroupParts(1), 8);
    EXPECT_EQ(gem->SymChar(1), 's');
    EXPECT_NEAR(gem->FacetAngle(1), 40, 1e-9L);
    EXPECT_NEAR(gem->FacetAngle(8), 40, 1e-9L);
    EXPECT_GT(std::fabs(gem->FacetAngle(9) - 40), 1);
}

INSTANTIATE_TEST_SUITE_P(Published, PublishedAscFile,
                         testing::ValuesIn(AscFilesIn({BundledAsc(""), SharedAsc("")})),
                         [](const testing::TestParamInfo<std::string>& info) {
                             std::string name = std::filesystem::path(info.param).stem().string();
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// shah.asc lists the pavilion's girdle plane at index 0 twice ("a -90.00 0.44700 0 32" and
// "a -90.00 0.44700 0"): both facets get the polygon, but the face counts once, so the pavilion has
// the volume and the facet count of the same file without the repeated line, and the volume worked out
// from the stone's true corners.
TEST(PublishedOutline, APlaneListedTwiceCountsOnceInVolumeAndFacets) {
    SKIP_WITHOUT_SHARED_ASC();
    const std::string path = SharedAsc("shah.asc");
    TempFile once("shah-once.asc");
    std::string text = WholeFile(path);
    const std::string repeated = "a -90.00 0.44700 0\n";
    ASSERT_NE(text.find(repeated), std::string::npos);
    once.Write(text.erase(text.find(repeated), repeated.size()));
    std::unique_ptr<TGem> pavilions[2];
    for (int k = 0; k < 2; ++k) {
        pavilions[k] = std::make_unique<TGem>();
        ASSERT_TRUE(Done(pavilions[k]->ReadAsc(k == 0 ? path : once.Path())));
        ASSERT_TRUE(pavilions[k]->ImportAsc('p'));
    }
    const TGem& shah = *pavilions[0];
    ASSERT_EQ(shah.FacetCount, pavilions[1]->FacetCount + 1);
    EXPECT_NEAR(shah.Volume(), IndependentVolume(shah), 1e-5L * shah.Volume());
    EXPECT_NEAR(shah.Volume(), pavilions[1]->Volume(), 1e-9L);
    EXPECT_EQ(shah.FacetsShownCount(), pavilions[1]->FacetsShownCount());
}

// The design file keeps each group's own symmetry, so the imported design reads back unchanged.
TEST(PublishedOutline, LowerSymmetryTiersSurviveTheDesignFile) {
    SKIP_WITHOUT_SHARED_ASC();
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(gem->ReadAsc(SharedAsc("pc01084.asc")));
    ASSERT_TRUE(gem->ImportAsc('p'));
    TempFile file("pc01084.lfx");
    ASSERT_TRUE(Done(gem->WriteDesign(file.Path(), TGem::FileMode::Named, "")));
    auto read = std::make_unique<TGem>();
    ASSERT_TRUE(Done(read->ReadDesign(file.Path(), TGem::FileMode::Open)));
    ASSERT_EQ(read->FacetCount, gem->FacetCount);
    EXPECT_EQ(read->DesignParts, 48);
    EXPECT_TRUE(read->DesignMirror);
    for (int f = 1; f <= gem->FacetCount; ++f) {
        EXPECT_EQ(read->GroupParts(f), gem->GroupParts(f)) << f;
        EXPECT_EQ(read->SymChar(f), gem->SymChar(f)) << f;
        EXPECT_NEAR(read->Index(f), gem->Index(f), 1e-3L) << f;
    }
}
