// The index against the whole stone: every stored figure as the stone's figures give it for the file,
// searches against filters written here, and what a second run reads again.
#include "library_folder.h"
#include "stone/stone_figures.h"
#include "stone/stone_files.h"
#include "tests/support/file_results.h"
#include "tests/support/library_designs.h"

#include <cmath>
#include <functional>
#include <random>
#include <set>

namespace {
const std::string Bundled = LAPIDRAW_TEST_DATA "/asc/";

// The figures `lapidraw-tool stone` gives for an ASC file, of the design turned a quarter by the
// model when it lies wider than long.
StoneFigures StoneFiguresOf(const std::string& path) {
    StoneHalves halves;
    Stone stone;
    const FileResult read = ReadStoneHalves(path, "", halves);
    EXPECT_TRUE(read) << read.Error().Message;
    if (!read) return {};
    EXPECT_TRUE(Done(MakeStone(*halves.Crown, *halves.Pavilion, stone)));
    StoneFigures figures = FiguresOf(stone, *halves.Crown);
    if (figures.Width <= figures.Length) return figures;
    for (TGem* half : {halves.Crown.get(), halves.Pavilion.get()}) {
        EXPECT_EQ(half->IndexCount() % 4, 0) << path;
        half->RotateByIndex(half->IndexCount() / 4);
    }
    EXPECT_TRUE(Done(MakeStone(*halves.Crown, *halves.Pavilion, stone)));
    figures = FiguresOf(stone, *halves.Crown);
    EXPECT_LE(figures.Width, figures.Length) << path;
    return figures;
}

void ExpectNear(const std::optional<double>& stored, Real expected, const char* what) {
    ASSERT_TRUE(stored.has_value()) << what;
    const double e = static_cast<double>(expected);
    EXPECT_NEAR(*stored, e, 1e-9 * std::max(1.0, std::fabs(e))) << what;
}

// An ASC design's record against the figures of its whole stone.
void ExpectFiguresOfStone(const DesignRecord& r) {
    SCOPED_TRACE(r.Path);
    const StoneFigures f = StoneFiguresOf(r.Path);
    EXPECT_EQ(r.Gear, f.SystemIndex);
    EXPECT_EQ(r.Parts, f.Parts);
    EXPECT_EQ(r.Mirror, f.Mirror);
    EXPECT_EQ(r.Figures.CrownFacets, f.CrownFacets);
    EXPECT_EQ(r.Figures.PavilionFacets, f.PavilionFacets);
    EXPECT_EQ(r.Figures.Facets, f.CrownFacets + f.PavilionFacets + f.GirdleFacets);
    ExpectNear(r.Figures.LW, f.Ratio(f.Length), "L/W");
    if (f.Table > 0) ExpectNear(r.Figures.TW, f.Ratio(f.Table), "T/W");
    ExpectNear(r.Figures.CW, f.Ratio(f.CrownHeight), "C/W");
    ExpectNear(r.Figures.PW, f.Ratio(f.PavilionDepth), "P/W");
    ExpectNear(r.Figures.GW, f.Ratio(f.GirdleThick), "G/W");
    ExpectNear(r.Figures.HW, f.Ratio(f.TotalDepth), "H/W");
    ExpectNear(r.Figures.VolW3, f.VolumeRatio(), "Vol/W3");
}
} // namespace

class LibraryIndex : public LibraryFolder {};

TEST_F(LibraryIndex, StoresTheFiguresOfTheWholeStone) {
    for (const char* name : {"SRB.asc", "Compear125.asc", "CubeIllusionTri.asc", "Turkey.asc"})
        CopyIn(Bundled + name, name);
    std::mt19937 rng(7);
    for (int k = 0; k < 12; ++k)
        Write("brilliant" + std::to_string(k) + ".asc",
              RandomBrilliantAsc(rng, "Brilliant " + std::to_string(k)));
    DesignLibrary library(db);
    const IndexSummary summary = IndexAll(library);
    EXPECT_EQ(summary.Indexed, 16);
    EXPECT_TRUE(summary.Broken.empty());
    const auto all = All(library);
    ASSERT_EQ(all.size(), 16u);
    for (const auto& [name, record] : all)
        ExpectFiguresOfStone(record);

    // Published figures: the standard round brilliant has 57 facets and 16 girdle facets, and the
    // whole stones measured with qhull have these L/W (the pear lies across x: it is measured turned).
    EXPECT_EQ(all.at("SRB.asc").Figures.Facets, 73);
    EXPECT_EQ(all.at("SRB.asc").Title, "Standard Round Brilliant");
    for (const auto& [name, lw] : std::map<std::string, double>{{"SRB.asc", 1.0},
                                                                {"Compear125.asc", 1.2502},
                                                                {"Turkey.asc", 1.3333},
                                                                {"CubeIllusionTri.asc", 1.0035}})
        EXPECT_NEAR(*all.at(name).Figures.LW, lw, 1e-4) << name;
}

TEST_F(LibraryIndex, AHalfAloneHasTheFiguresAHalfCanGive) {
    auto crown = std::make_unique<TGem>();
    ASSERT_TRUE(crown->ReadAsc(Bundled + "SRB.asc") && crown->ImportAsc('c'));
    ASSERT_TRUE(crown->WriteDesign(Design("srb-crown.lfx"), TGem::FileMode::Named, ""));
    DesignLibrary library(db);
    IndexAll(library);
    const DesignRecord r = All(library).at("srb-crown.lfx");
    EXPECT_EQ(r.Kind, DesignKind::Crown);
    EXPECT_EQ(r.Figures.CrownFacets, 33); // the table and 32 facets, and 16 girdle facets
    EXPECT_EQ(r.Figures.PavilionFacets, 0);
    EXPECT_EQ(r.Figures.Facets, 49);
    const DesignRecord whole = [&] {
        CopyIn(Bundled + "SRB.asc", "SRB.asc");
        IndexAll(library);
        return All(library).at("SRB.asc");
    }();
    for (auto figure : {&DesignFigures::LW, &DesignFigures::TW, &DesignFigures::CW}) // the file rounds
        EXPECT_NEAR(*(r.Figures.*figure), *(whole.Figures.*figure), 1e-6);
    for (auto figure : {&DesignFigures::PW, &DesignFigures::GW, &DesignFigures::HW, &DesignFigures::VolW3})
        EXPECT_FALSE((r.Figures.*figure).has_value());
}

TEST_F(LibraryIndex, APairOfDesignFilesIsOneDesignWithTheFiguresOfItsAscFile) {
    CopyIn(Bundled + "SRB.asc", "SRB.asc");
    for (const char type : {'c', 'p'}) { // the halves as design files, NAMEc.lfx and NAMEp.lfx
        auto gem = std::make_unique<TGem>();
        ASSERT_TRUE(gem->ReadAsc(Bundled + "SRB.asc") && gem->ImportAsc(type));
        ASSERT_TRUE(gem->WriteDesign(Design(std::string("srb") + type + ".lfx"), TGem::FileMode::Named, ""));
    }
    Write("lonec.lfx", "not a design\r\n");
    DesignLibrary library(db);
    const IndexSummary summary = IndexAll(library);
    const auto all = All(library);
    ASSERT_EQ(all.size(), 2u);
    const DesignRecord& pair = all.at("srbc.lfx");
    const DesignRecord& asc = all.at("SRB.asc");
    EXPECT_EQ(pair.Kind, DesignKind::Pair);
    EXPECT_EQ(pair.Partner, Design("srbp.lfx"));
    EXPECT_EQ(pair.Name, "srb");
    EXPECT_EQ(pair.Figures.Facets, asc.Figures.Facets);
    EXPECT_EQ(pair.Figures.Shape, asc.Figures.Shape);
    for (auto figure :
         {&DesignFigures::LW, &DesignFigures::TW, &DesignFigures::CW, &DesignFigures::PW, &DesignFigures::GW,
          &DesignFigures::HW, &DesignFigures::VolW3, &DesignFigures::CrownAngle})
        EXPECT_NEAR(*(pair.Figures.*figure), *(asc.Figures.*figure), 1e-5);
    EXPECT_EQ(library.Find(Design("srbp.lfx"))->Path, pair.Path); // the pavilion's file finds the pair

    ASSERT_EQ(summary.Broken.size(), 1u); // an unreadable file is listed with its reason and line
    EXPECT_EQ(summary.Broken[0].Path, Design("lonec.lfx"));
    EXPECT_GT(summary.Broken[0].Line, 0);
    EXPECT_FALSE(summary.Broken[0].Reason.empty());
    LibraryQuery broken;
    broken.BrokenOnly = true;
    EXPECT_EQ(library.Search(broken).size(), 1u);
}

TEST_F(LibraryIndex, ASecondRunReadsOnlyWhatChangedAndForgetsWhatIsGone) {
    std::mt19937 rng(3);
    for (int k = 0; k < 6; ++k)
        Write("d" + std::to_string(k) + ".asc", RandomBrilliantAsc(rng, "Design " + std::to_string(k)));
    DesignLibrary library(db);
    EXPECT_EQ(IndexAll(library).Indexed, 6);
    IndexSummary again = IndexAll(library);
    EXPECT_EQ(again.Indexed, 0);
    EXPECT_EQ(again.Unchanged, 6);

    Write("d0.asc", RandomBrilliantAsc(rng, "Changed")); // a changed size
    std::filesystem::remove(Design("d1.asc"));
    again = IndexAll(library);
    EXPECT_EQ(again.Indexed, 1);
    EXPECT_EQ(again.Unchanged, 4);
    EXPECT_EQ(again.Removed, 1);
    const auto all = All(library);
    EXPECT_EQ(all.size(), 5u);
    EXPECT_EQ(all.at("d0.asc").Title, "Changed");
    EXPECT_EQ(library.IntegrityCheck(), "ok");

    const DesignRecord& d2 = all.at("d2.asc"); // indexed without pictures; one is given later
    EXPECT_FALSE(d2.HasThumbnail);
    library.SetThumbnail(d2.Id, "picture");
    EXPECT_TRUE(library.Find(d2.Path)->HasThumbnail);
    EXPECT_EQ(library.Thumbnail(d2.Id), "picture");
}

// Each search against the same filter written out over all designs.
TEST_F(LibraryIndex, SearchesFindWhatTheirFilterKeeps) {
    WriteDesignSet(designs, 60, 11);
    DesignLibrary library(db);
    IndexAll(library);
    const std::vector<DesignRecord> everything = library.Search(LibraryQuery{});
    ASSERT_EQ(everything.size(), 60u);

    using Keep = std::function<bool(const DesignRecord&)>;
    auto within = [](const std::optional<double>& v, double low, double high) {
        return v && *v >= low && *v <= high;
    };
    const std::vector<std::pair<std::string, Keep>> cases = {
        {"shape:oval", [](const DesignRecord& r) { return r.Figures.Shape == ShapeClass::Oval; }},
        {"shape:square,rectangle",
         [](const DesignRecord& r) {
             return r.Figures.Shape == ShapeClass::Square || r.Figures.Shape == ShapeClass::Rectangle;
         }},
        {"lw:1.2-1.6", [&](const DesignRecord& r) { return within(r.Figures.LW, 1.2, 1.6); }},
        {"lw:1.0", [&](const DesignRecord& r) { return within(r.Figures.LW, 0.95, 1.05); }},
        {"facets:-60", [](const DesignRecord& r) { return r.Figures.Facets <= 60; }},
        {"parts:8 mirror:yes", [](const DesignRecord& r) { return r.Parts == 8 && r.Mirror; }},
        {"gear:96 crown-angle:33-",
         [&](const DesignRecord& r) { return r.Gear == 96 && within(r.Figures.CrownAngle, 33, 90); }},
        {"pavilion-angle:40-42 tw:0.4-",
         [&](const DesignRecord& r) {
             return within(r.Figures.PavilionAngle, 40, 42) && within(r.Figures.TW, 0.4, 1e9);
         }},
        {"brilliant", [](const DesignRecord& r) { return r.Title.find("Brilliant") != std::string::npos; }},
        {"marquise vol:0.1-",
         [&](const DesignRecord& r) {
             return r.Title.find("marquise") != std::string::npos && within(r.Figures.VolW3, 0.1, 1e9);
         }},
    };
    for (const auto& [terms, keep] : cases) {
        SCOPED_TRACE(terms);
        LibraryQuery query;
        ASSERT_EQ(ApplyQueryText(query, terms), "");
        std::set<std::string> found, kept;
        for (const DesignRecord& r : library.Search(query))
            found.insert(r.Path);
        for (const DesignRecord& r : everything)
            if (keep(r)) kept.insert(r.Path);
        EXPECT_EQ(found, kept);
        EXPECT_FALSE(kept.empty());
    }
}

TEST_F(LibraryIndex, SortsByAnyKeyEitherWay) {
    WriteDesignSet(designs, 30, 5);
    DesignLibrary library(db);
    IndexAll(library);
    for (const FigureKey& key : FigureKeys) {
        if (key.Which == Figure::Brightness) continue; // empty until the optics fill it
        for (const char* direction : {"", "-"}) {
            LibraryQuery query;
            ASSERT_EQ(ApplyTerm(query, "sort", direction + std::string(key.Key)), "");
            const auto found = library.Search(query);
            ASSERT_EQ(found.size(), 30u);
            std::vector<double> values;
            for (const DesignRecord& r : found)
                if (const auto value = FigureOf(r, key.Which)) values.push_back(*value);
            if (*direction) std::reverse(values.begin(), values.end());
            EXPECT_TRUE(std::is_sorted(values.begin(), values.end())) << key.Key << direction;
        }
    }
}

TEST(LibraryQueryText, RefusesWhatItCannotRead) {
    for (const char* text :
         {"lw:abc", "facets:1.5", "shape:blob", "sort:colour", "mirror:maybe", "size:3", "gear:-"}) {
        LibraryQuery query;
        EXPECT_NE(ApplyQueryText(query, text), "") << text;
    }
    LibraryQuery query;
    ASSERT_EQ(ApplyQueryText(query, "oval \"free words\" lw:1.3 facets:50-80 sort:-facets"), "");
    EXPECT_EQ(query.Text, "oval free words");
    EXPECT_NEAR(*query.Ranges.at(Figure::LW).Low, 1.25, 1e-12);
    EXPECT_NEAR(*query.Ranges.at(Figure::LW).High, 1.35, 1e-12);
    EXPECT_EQ(*query.Ranges.at(Figure::Facets).Low, 50);
    EXPECT_TRUE(query.Descending);
}
