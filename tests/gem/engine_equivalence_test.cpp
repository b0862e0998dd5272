// The fast way of the cutting engine finds, field by field and to the last bit, what the literal way
// finds: on generated designs, on the degenerate cases, on the designs in tests/data and on the
// published designs of the shared folder.
#include "gem/gem.h"
#include "tests/support/asc_files.h"
#include "tests/support/design_builders.h"
#include "tests/support/engine_checks.h"
#include "tests/support/engine_probe.h"
#include "tests/support/published_asc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

namespace {
#ifdef NDEBUG
constexpr int GeneratedDesigns = 500;
#else
constexpr int GeneratedDesigns = 120; // the literal way is many times slower in the checked build
#endif

using Maker = std::function<std::unique_ptr<TGem>()>;

// Recomputes the design both ways and reports every difference; answers whether the fast way ran.
bool ExpectSameStone(const Maker& make, const std::string& name) {
    const EnginePair pair = RecomputeBothWays(make);
    for (const std::string& difference : EngineDifferences(*pair.fast, *pair.reference))
        ADD_FAILURE() << name << ": " << difference;
    return pair.fast->RecomputedFast();
}

Maker Built(std::function<void(TGem&)> cuts, char type = 'c', int parts = 8, int systemIndex = 96,
            bool mirror = false) {
    return [=] {
        auto gem = NewGem(type, parts, systemIndex, mirror);
        cuts(*gem);
        return gem;
    };
}

// A crown block with girdle facets at 50 and mains: the base of several families.
void Brilliantish(TGem& gem) {
    CutByAngle(gem, 90, 0, 50);
    CutThroughPoint(gem, 40, 6, {50 * std::cos(gem.IndexAzimuth(6)), 50 * std::sin(gem.IndexAzimuth(6)), 1});
    CutHorizontal(gem, 15);
}

// Cuts a group at `angle` through corner p of the stone as it stands, at the index of its azimuth.
void CutThroughCorner(TGem& gem, int p, Real angle) {
    const Vector3 corner = gem.Points[p].Position;
    CutThroughPoint(gem, angle, std::round(gem.IndexFromNormal({-corner.x, -corner.y, 0})), corner);
}

struct Family {
    std::string name;
    Maker make;
    bool fast; // whether the fast way can prove it
};

std::vector<Family> DegenerateFamilies() {
    std::vector<Family> families = {
        {"empty design", Built([](TGem&) {}), false},
        {"one facet", Built([](TGem& g) { g.Parts = 1, CutByAngle(g, 45, 0, 20); }), false},
        {"one girdle facet", Built([](TGem& g) { g.Parts = 1, CutByAngle(g, 90, 0, 20); }), false},
        {"coincident groups", Built([](TGem& g) { Brilliantish(g), CutByAngle(g, 90, 0, 50); }), true},
        {"mirror symmetry",
         Built([](TGem& g) { CutByAngle(g, 90, 0, 40), CutByAngle(g, 50, 3, 30); }, 'p', 8, 96, true), true},
        {"facets wholly outside", Built([](TGem& g) { Brilliantish(g), CutByAngle(g, 60, 3, 80); }), true},
        {"band-carried corner edge",
         Built(
             [](TGem& g) {
                 CutByAngle(g, 90, 0, 30);
                 g.Parts = 1;
                 CutByAngle(g, 89.99L, 12, 30 * std::sqrt(2.0L) * std::sin(89.99L * RadPerDeg) - 0.0005L);
             },
             'c', 4),
         true},
        {"corners closer than the merge distance",
         Built([](TGem& g) { CutByAngle(g, 90, 0, 30), CutByAngle(g, 90, 6, 30 * std::sqrt(2.0L) - 0.2L); },
               'c', 4),
         true},
        {"small stone", Built([](TGem& g) {
             CutByAngle(g, 90, 0, 3), CutThroughPoint(g, 40, 0, {3, 0, 0.1L});
         }),
         true},
        {"sphere, one tier", [] { return SphereDesign(1); }, true},
        {"sphere, three tiers", [] { return SphereDesign(3); }, true},
        {"more than a hundred facets", [] { return DesignWithFacets(110); }, true},
    };
    // Parallel planes at and about the outside tolerance from the girdle, inside and outside.
    for (Real offset : {-0.9L, -0.0015L, -0.001L, -0.0005L, 0.0005L, 0.001L, 0.0015L, 0.9L})
        families.push_back({"parallel girdle " + std::to_string(static_cast<double>(offset)),
                            Built([=](TGem& g) { Brilliantish(g), CutByAngle(g, 90, 0, 50 + offset); }),
                            true});
    // Planes through corners of the stone: single corners, and two and three corners at once.
    for (int p : {1, 5, 9, 17})
        families.push_back({"through corner " + std::to_string(p),
                            Built([=](TGem& g) { Brilliantish(g), CutThroughCorner(g, p, 30); }), true});
    families.push_back({"through three corners", Built([](TGem& g) {
                            Brilliantish(g);
                            Plane plane;
                            if (Made(g.PlaneFromThreePoints(g.Points[1].Position, g.Points[2].Position,
                                                            g.Points[9].Position),
                                     plane))
                                g.CutFacetGroup(g.LastFacetBeforeNewGroup() + 1, plane), g.Recompute();
                        }),
                        true});
    families.push_back(
        {"through two corners", Built([](TGem& g) {
             Brilliantish(g);
             Plane plane;
             if (Made(g.PlaneFromIndexTwoPoints(3, g.Points[1].Position, g.Points[2].Position), plane))
                 g.CutFacetGroup(g.LastFacetBeforeNewGroup() + 1, plane), g.Recompute();
         }),
         true});
    // Stones that reach the line extent of 400, and past it.
    for (Real reach : {390.0L, 400.0L, 410.0L, 600.0L})
        families.push_back({"girdle at " + std::to_string(static_cast<int>(reach)), Built([=](TGem& g) {
                                CutByAngle(g, 90, 3, reach);
                                CutHorizontal(g, reach);
                                CutByAngle(g, 45, 0, reach * 0.9L);
                            }),
                            true});
    families.push_back({"pavilion bottom below the extent",
                        Built([](TGem& g) { CutHorizontal(g, -500), CutByAngle(g, 89, 0, 300); }, 'p'),
                        true});
    return families;
}
} // namespace

TEST(EngineEquivalence, GeneratedDesigns) {
    int fast = 0;
    for (int d = 0; d < GeneratedDesigns; ++d) {
        const auto seed = static_cast<std::mt19937::result_type>(7000 + d);
        fast += ExpectSameStone(
            [=] {
                std::mt19937 rng(seed);
                return SmallRandomDesign(rng);
            },
            "design " + std::to_string(d));
    }
    EXPECT_EQ(fast, GeneratedDesigns) << "every generated stone is closed, so the fast way proves them all";
}

TEST(EngineEquivalence, DegenerateFamilies) {
    for (const Family& family : DegenerateFamilies())
        EXPECT_EQ(ExpectSameStone(family.make, family.name), family.fast) << family.name;
}

TEST(EngineEquivalence, NormalsThatAreNotUnitAreLeftToTheLiteralWay) {
    const Maker make = Built([](TGem& g) {
        Brilliantish(g);
        for (int f = 1; f <= g.FacetCount; ++f)
            g.SetNormalX(f, g.NormalX(f) * 1.01L);
    });
    EXPECT_FALSE(ExpectSameStone(make, "stretched normals"));
}

TEST(EngineEquivalence, DesignsOfTheTestData) {
    int read = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(LAPIDRAW_TEST_DATA)) {
        if (entry.path().extension() != ".lfx") continue;
        const std::string path = entry.path().string();
        if (!TGem().ReadDesign(path, TGem::FileMode::Open)) continue; // the broken files
        ++read;
        ExpectSameStone(
            [&] {
                auto gem = std::make_unique<TGem>();
                EXPECT_TRUE(gem->ReadDesign(path, TGem::FileMode::Open)) << path;
                return gem;
            },
            path);
    }
    EXPECT_GE(read, 2);
}

// The bundled designs always, the further published ones when their folder is there.
TEST(EngineEquivalence, PublishedDesignsAsCrownAndPavilion) {
    for (const std::string& file : AscFilesIn({BundledAsc(""), SharedAsc("")}))
        for (char type : {'c', 'p'})
            ExpectSameStone(
                [&] {
                    auto gem = std::make_unique<TGem>();
                    if (gem->ReadAsc(file)) static_cast<void>(gem->ImportAsc(type)); // compared as read
                    return gem;
                },
                file + " " + type);
}

namespace {
struct ProgressLog : ProgressSink {
    std::string calls;
    void Show(int maximum, int position, int step) override {
        calls += "S" + std::to_string(maximum) + "," + std::to_string(position) + "," + std::to_string(step);
    }
    void Step() override { calls += "."; }
    void Hide() override { calls += "H"; }
};
} // namespace

TEST(EngineEquivalence, ProgressIsReportedAlike) {
    ProgressLog fastLog, referenceLog;
    auto fast = DesignWithFacets(110), reference = DesignWithFacets(110);
    fast->Progress = &fastLog;
    reference->Progress = &referenceLog;
    fast->Recompute();
    reference->RecomputeReference();
    EXPECT_TRUE(fast->RecomputedFast());
    EXPECT_EQ(fastLog.calls, referenceLog.calls);
    EXPECT_EQ(fastLog.calls.front(), 'S');
}

TEST(EngineEquivalence, TableOverflowStopsBothWaysAlike) {
    // 240 girdle facets: the table and the girdle plane get 241 polygon entries, more than 200.
    auto make = [] {
        auto gem = NewGem('c', 240, 240);
        EngineProbe::PlaceFacetGroup(*gem, 1, gem->PlaneFromAngleIndexDist(90, 0, 50).value());
        return gem;
    };
    auto fast = make(), reference = make();
    std::string fastError, referenceError;
    try {
        fast->Recompute();
    } catch (const RangeError& e) {
        fastError = e.what();
    }
    try {
        reference->RecomputeReference();
    } catch (const RangeError& e) {
        referenceError = e.what();
    }
    EXPECT_NE(fastError.find("Corners index 201"), std::string::npos) << fastError;
    EXPECT_EQ(fastError, referenceError);
    for (const std::string& difference : EngineDifferences(*fast, *reference))
        ADD_FAILURE() << difference;
}
