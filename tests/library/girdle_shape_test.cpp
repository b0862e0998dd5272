// Shape classes of girdle outlines: outlines of every class drawn here, and designs of known shape
// indexed as a user would index them.
#include "library_folder.h"
#include "tests/support/library_designs.h"

#include <cmath>
#include <numbers>

namespace {
std::vector<OutlinePoint> Turned(std::vector<OutlinePoint> p, double degrees) {
    const double a = degrees * std::numbers::pi / 180;
    for (OutlinePoint& q : p)
        q = {q.x * std::cos(a) - q.y * std::sin(a), q.x * std::sin(a) + q.y * std::cos(a)};
    return p;
}
} // namespace

TEST(GirdleShape, EveryClassFromItsOutlineWhicheverWayItLies) {
    for (const ShapeClass shape : AllShapes) {
        if (shape == ShapeClass::Other) continue;
        const std::vector<OutlinePoint> outline = ConvexHull(ShapeOutline(shape));
        for (const double turn : {0.0, 90.0, 180.0}) {
            EXPECT_EQ(ShapeName(ClassifyOutline(Turned(outline, turn))), ShapeName(shape))
                << "turned " << turn;
            std::vector<OutlinePoint> clockwise = Turned(outline, turn);
            std::reverse(clockwise.begin(), clockwise.end());
            EXPECT_EQ(ShapeName(ClassifyOutline(clockwise)), ShapeName(shape))
                << "clockwise, turned " << turn;
        }
    }
    // A square standing on a corner is still a square; a pentagon and a half-moon are of no class.
    EXPECT_EQ(ClassifyOutline(Turned(ShapeOutline(ShapeClass::Square), 45)), ShapeClass::Square);
    std::vector<OutlinePoint> pentagon, halfMoon;
    for (int k = 0; k < 5; ++k)
        pentagon.push_back({std::cos(2 * std::numbers::pi * k / 5), std::sin(2 * std::numbers::pi * k / 5)});
    for (int k = 0; k <= 32; ++k)
        halfMoon.push_back({std::cos(std::numbers::pi * k / 32), std::sin(std::numbers::pi * k / 32)});
    EXPECT_EQ(ClassifyOutline(pentagon), ShapeClass::Other);
    EXPECT_EQ(ClassifyOutline(halfMoon), ShapeClass::Other);
    EXPECT_EQ(ClassifyOutline({{0, 0}, {1, 0}}), ShapeClass::Other);
}

class GirdleShapeOfDesigns : public LibraryFolder {};

// Published designs whose shapes are known, and designs cut on outlines of the other classes.
TEST_F(GirdleShapeOfDesigns, EveryClassIsFoundInIndexedDesigns) {
    const std::map<std::string, ShapeClass> published = {
        {"SRB.asc", ShapeClass::Round},
        {"Compear125.asc", ShapeClass::Pear},
        {"CubeIllusionTri.asc", ShapeClass::Triangle},
        {"five_on_96.asc", ShapeClass::Other},
        {"Turkey.asc", ShapeClass::Other}, // a half-moon
    };
    std::map<std::string, ShapeClass> expected = published;
    for (const auto& [name, shape] : published)
        CopyIn(LAPIDRAW_TEST_DATA "/asc/" + name, name);
    for (const ShapeClass shape : AllShapes) {
        if (shape == ShapeClass::Other || shape == ShapeClass::Round || shape == ShapeClass::Pear ||
            shape == ShapeClass::Triangle)
            continue;
        const std::vector<OutlinePoint> outline = ShapeOutline(shape);
        const bool smooth = outline.size() > 8;
        Write(ShapeName(shape) + ".asc", AscOfOutline(outline, smooth, ShapeName(shape)));
        expected[ShapeName(shape) + ".asc"] = shape;
    }
    DesignLibrary library(db);
    IndexAll(library);
    std::set<ShapeClass> hit;
    for (const auto& [name, record] : All(library)) {
        EXPECT_EQ(ShapeName(record.Figures.Shape), ShapeName(expected.at(name))) << name;
        hit.insert(record.Figures.Shape);
    }
    EXPECT_EQ(hit.size(), std::size(AllShapes));
    LibraryQuery ovals;
    ApplyTerm(ovals, "shape", "oval");
    ASSERT_EQ(library.Search(ovals).size(), 1u);
    EXPECT_EQ(library.Search(ovals)[0].Name, "oval");
}
