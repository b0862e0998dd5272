#include "platform/qt_surfaces.h"
#include "sheet/design_sheet.h"
#include "tests/support/design_builders.h"

#include <gtest/gtest.h>

namespace {

// The colour halfway between facet f's centre and its first corner, clear of the group number.
QColor PixelInFacet(const QImage& image, const TView& top, const TGem& gem, int f) {
    const Vector3 centre = gem.FacetCentre(f).value();
    const Vector3& corner = gem.Points[gem.Facets[f].Corners[1]].Position;
    const DevicePoint p =
        top.ToDevice((centre.y + corner.y) / 2, (centre.x + corner.x) / 2); // y across, x down
    return image.pixelColor(p.x, p.y);
}

TEST(RasterSheet, HighlightFillsExactlyTheGroupsFacets) {
    auto gem = RoundBrilliantCrown();
    RasterSurface surface(800, 600);
    TUserCanvas canvas;
    TDesignSheet sheet;
    sheet.SetUpScreen(canvas, &surface, 800, 600);
    sheet.Options.SelectedFacet = 19; // a main; the group is 17 ... 24
    sheet.Options.FacetSelected = true;
    sheet.RepaintScreen(*gem);
    const QImage& image = surface.Finish();
    EXPECT_EQ(PixelInFacet(image, sheet.TopView, *gem, 19), QColor(128, 128, 128));
    EXPECT_EQ(PixelInFacet(image, sheet.TopView, *gem, 17), QColor(192, 192, 192));
    EXPECT_EQ(PixelInFacet(image, sheet.TopView, *gem, 24), QColor(192, 192, 192));
    EXPECT_EQ(PixelInFacet(image, sheet.TopView, *gem, 41), QColor(255, 255, 255)); // a star
    EXPECT_EQ(PixelInFacet(image, sheet.TopView, *gem, -1), QColor(255, 255, 255)); // the table
    EXPECT_EQ(image.pixelColor(790, 590), QColor(255, 255, 255)); // nothing leaked to the background
}

TEST(RasterSheet, MarkerIsABlackDotInARedRim) {
    auto gem = RoundBrilliantCrown();
    RasterSurface surface(800, 600);
    TUserCanvas canvas;
    TDesignSheet sheet;
    sheet.Options.Markers.Set(1, 0, 0);
    sheet.SetUpScreen(canvas, &surface, 800, 600);
    sheet.RepaintScreen(*gem);
    const DevicePoint p = sheet.TopView.ToDevice(0, 0);
    const QImage& image = surface.Finish();
    EXPECT_EQ(image.pixelColor(p.x, p.y), QColor(0, 0, 0));
    EXPECT_EQ(image.pixelColor(p.x - 2, p.y), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(p.x + 6, p.y + 6), QColor(255, 255, 255));
}

} // namespace
