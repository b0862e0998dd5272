#include "gem/gem.h"
#include "sheet/design_sheet.h"
#include "sheet/stone_view.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {
constexpr int Width = 640, Height = 480;
constexpr int StepsToTop = 65; // Down presses that turn the raised start view to straight down

Stone StoneOf(const TGem& design, const TGem* partner = nullptr) {
    Stone stone;
    EXPECT_TRUE(Done(MakeStoneOf(design, partner, stone)));
    return stone;
}

// A 20 x 20 x 10 box: four girdle facets and the table, closed by the girdle plane.
Stone Box() {
    auto gem = NewGem('c', 4, 96, false);
    CutByAngle(*gem, 90, 0, 10);
    CutHorizontal(*gem, 10);
    return StoneOf(*gem);
}

StoneOrientation Pressed(int key, int times) {
    StoneOrientation orientation;
    for (int i = 0; i < times; ++i)
        orientation.TurnByKey(key);
    return orientation;
}

int VisibleFaces(const Stone& stone, const StoneOrientation& orientation) {
    return static_cast<int>(ProjectStone(stone, orientation, Width, Height).Faces.size());
}

// Faces whose outward normal has a z part of this sign: those seen from straight above (+1) or below (-1).
int FacesTowards(const Stone& stone, int sign) {
    int count = 0;
    for (const StoneFace& face : stone.Faces)
        if (-sign * face.FacePlane.Normal.z > 1e-9) ++count;
    return count;
}

TEST(StoneView, BoxShowsOneFaceFromAboveAndBelowTwoOrThreeFromTheSide) {
    const Stone box = Box();
    ASSERT_EQ(box.Faces.size(), 6u);
    EXPECT_EQ(VisibleFaces(box, Pressed(KeyDown, StepsToTop)), 1);
    EXPECT_EQ(VisibleFaces(box, Pressed(KeyUp, 180 - StepsToTop)), 1);
    // Raised above the girdle and turned in eighths about the axis: a side face head on or an edge.
    int total = 0;
    StoneOrientation orientation;
    for (int k = 0; k < 8; ++k) {
        const int seen = VisibleFaces(box, orientation);
        EXPECT_TRUE(seen == 2 || seen == 3) << k;
        total += seen;
        orientation.TurnAboutStoneAxis(std::numbers::pi / 4);
    }
    EXPECT_EQ(total, 20);
}

TEST(StoneView, FromAboveAndBelowEveryFaceOfThatSideShows) {
    auto crown = RoundBrilliantCrown();
    auto pavilion = RoundBrilliantPavilion();
    const Stone stone = StoneOf(*crown, pavilion.get());
    EXPECT_EQ(VisibleFaces(stone, Pressed(KeyDown, StepsToTop)), FacesTowards(stone, 1));
    EXPECT_EQ(VisibleFaces(stone, Pressed(KeyUp, 180 - StepsToTop)), FacesTowards(stone, -1));
}

TEST(StoneView, TheCentreSeenFromAboveIsTheTableAndBesideTheStoneIsNothing) {
    auto crown = RoundBrilliantCrown();
    auto pavilion = RoundBrilliantPavilion();
    const Stone stone = StoneOf(*pavilion, crown.get());
    const StonePicture picture = ProjectStone(stone, Pressed(KeyDown, StepsToTop), Width, Height);
    const int face = FaceAt(picture, {Width / 2.0, Height / 2.0});
    ASSERT_GE(face, 0);
    EXPECT_EQ(stone.Faces[face].Facet, -1);
    EXPECT_EQ(stone.Faces[face].Half, StoneHalf::Crown);
    EXPECT_EQ(FaceAt(picture, {2, 2}), -1);
    // The table is the crown's, not the open pavilion's.
    EXPECT_EQ(DesignFacetOf(stone, face, *pavilion), NoneFound);
    EXPECT_EQ(DesignFacetOf(stone, face, *crown), -1);
}

TEST(StoneView, DraggingFromTheCentreToTheRightRimRollsTheTopToTheRight) {
    StoneOrientation orientation = Pressed(KeyDown, StepsToTop);
    orientation.TurnByDrag({Width / 2.0, Height / 2.0}, {Width / 2.0 + Height / 2.0, Height / 2.0}, Width,
                           Height);
    EXPECT_NEAR(orientation.Turn()[0][2], 1, 1e-9); // the screen's right is the stone's up
    // A drag that goes nowhere turns nothing.
    const ViewTurn before = orientation.Turn();
    orientation.TurnByDrag({10, 10}, {10, 10}, Width, Height);
    EXPECT_EQ(orientation.Turn(), before);
}

TEST(StoneView, ZoomScalesThePictureAboutTheCentreWithinItsLimits) {
    const Stone box = Box();
    StoneOrientation orientation;
    const StonePicture plain = ProjectStone(box, orientation, Width, Height);
    orientation.ZoomBy(2);
    const StonePicture zoomed = ProjectStone(box, orientation, Width, Height);
    const ScreenPoint a = plain.Faces[0].Polygon[0], b = zoomed.Faces[0].Polygon[0];
    EXPECT_NEAR(b.x - Width / 2.0, 2 * (a.x - Width / 2.0), 1e-9);
    EXPECT_NEAR(b.y - Height / 2.0, 2 * (a.y - Height / 2.0), 1e-9);
    orientation.ZoomBy(1e6);
    EXPECT_EQ(orientation.Zoom(), StoneOrientation::MaxZoom);
    orientation.Reset();
    EXPECT_EQ(orientation.Zoom(), 1);
}

TEST(StoneView, EveryFaceOfTheOpenHalfAndEveryGirdleFaceMapsToAFacetOfTheOpenDesign) {
    auto crown = RoundBrilliantCrown();
    auto pavilion = RoundBrilliantPavilion();
    const Stone stone = StoneOf(*pavilion, crown.get());
    for (std::size_t face = 0; face < stone.Faces.size(); ++face) {
        const StoneFace& made = stone.Faces[face];
        const int f = DesignFacetOf(stone, static_cast<int>(face), *pavilion);
        if (made.Half == StoneHalf::Pavilion) {
            EXPECT_EQ(f, made.Facet);
        } else if (made.Girdle) {
            ASSERT_GE(f, 1);
            EXPECT_TRUE(Near90(pavilion->FacetAngle(f)));
            EXPECT_EQ(FacesOfDesignFacet(stone, f, *pavilion), std::vector<int>{static_cast<int>(face)});
        } else {
            EXPECT_EQ(f, NoneFound);
        }
    }
}
} // namespace
