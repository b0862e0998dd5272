#include "gem/range_error.h"
#include "sheet/recording_surface.h"
#include "sheet/user_canvas.h"
#include "sheet/view.h"

#include <gtest/gtest.h>

namespace {

// A screen canvas as the window sets it up: 800 units across the client area.
struct ScreenSetup {
    RecordingSurface surface{800, 600};
    TUserCanvas canvas;
    ScreenSetup(int width = 800, int height = 600) : surface(width, height) {
        canvas.Init(&surface, width, height);
        canvas.SetViewport(0, 0, width, height);
        canvas.SetWorldIsotropic(1, 0, 0, 800);
    }
};

TEST(UserCanvas, IsotropicWorldFollowsTheClientAspect) {
    ScreenSetup s(1000, 500);
    EXPECT_EQ(s.canvas.World.YMax, 400);
    EXPECT_EQ(s.canvas.XToDevice(800), 1000);
    EXPECT_EQ(s.canvas.YToDevice(400), 500);
    EXPECT_EQ(s.canvas.ViewportRight, 1000);
    EXPECT_EQ(s.canvas.ViewportBottom, 500);
    EXPECT_EQ(s.canvas.DeviceToX(500), 400);
}

TEST(UserCanvas, PixelsRoundHalvesToEven) {
    ScreenSetup s(400, 300);              // half a pixel per canvas unit
    EXPECT_EQ(s.canvas.XToDevice(1), 0);  // 0.5 -> 0
    EXPECT_EQ(s.canvas.XToDevice(3), 2);  // 1.5 -> 2
    EXPECT_EQ(s.canvas.XToDevice(5), 2);  // 2.5 -> 2
    EXPECT_EQ(s.canvas.XToDevice(-1), 0); // -0.5 -> 0
}

TEST(UserCanvas, PixelOutsideThirtyTwoBitsIsARangeError) {
    ScreenSetup s;
    EXPECT_THROW(s.canvas.XToDevice(3e9L), RangeError);
    EXPECT_THROW(s.canvas.YToDevice(-3e9L), RangeError);
}

TEST(UserCanvas, DrawTextAlignmentsAndReturnedX) {
    ScreenSetup s;
    // "abc" at size 9 not bold is 18 pixels wide, 13 high on the recording surface.
    EXPECT_EQ(s.canvas.DrawText("abc", 9, 100, 50, 0, false), 118);
    EXPECT_EQ(s.surface.Texts.back().X, 100);
    EXPECT_EQ(s.canvas.DrawText("abc", 9, 100, 50, 1, false), 82);
    EXPECT_EQ(s.surface.Texts.back().X, 82);
    EXPECT_EQ(s.canvas.DrawText("abc", 9, 100, 50, 2, false), 109);
    EXPECT_EQ(s.surface.Texts.back().X, 91);
    EXPECT_EQ(s.surface.Texts.back().Y, 50);
    EXPECT_EQ(s.canvas.DrawText("abc", 9, 100, 50, 3, false), 109);
    EXPECT_EQ(s.surface.Texts.back().Y, 44); // 13 / 2 truncated
    EXPECT_EQ(s.surface.Texts.back().Font, "Arial");
    EXPECT_EQ(s.canvas.FontSize, 9);
    EXPECT_FALSE(s.canvas.FontBold);
}

TEST(UserCanvas, OddTextWidthHalvesTruncate) {
    ScreenSetup s;
    // "ab" at size 10 bold: 2 * 10 * 2 / 3 + 2 = 15 pixels.
    const Real end = s.canvas.DrawText("ab", 10, 100, 0, 2, true);
    EXPECT_EQ(s.surface.Texts.back().X, 93);
    EXPECT_EQ(end, 108);
}

TEST(UserCanvas, CrosshairDrawsInXorAndErasesOnMoveAndEnd) {
    ScreenSetup s;
    s.surface.SetPenColor(ColourRed);
    s.canvas.Crosshair(100, 200, CrossStart);
    EXPECT_TRUE(s.canvas.XorActive);
    ASSERT_EQ(s.surface.Lines.size(), 2u);
    EXPECT_EQ(s.surface.Lines[0].From, (DevicePoint{0, 200}));
    EXPECT_EQ(s.surface.Lines[0].To, (DevicePoint{800, 200}));
    EXPECT_EQ(s.surface.Lines[1].To, (DevicePoint{100, 570}));
    EXPECT_EQ(s.surface.Lines[1].Mode, PenMode::Xor);
    EXPECT_EQ(s.surface.Lines[1].Pen, ColourWhite);

    s.canvas.Crosshair(150, 250, CrossMove);
    ASSERT_EQ(s.surface.Lines.size(), 6u);
    EXPECT_EQ(s.surface.Lines[2].From.y, 200); // the old cross again
    EXPECT_EQ(s.surface.Lines[4].From.y, 250);
    s.canvas.Crosshair(0, 0, CrossEnd);
    EXPECT_EQ(s.surface.Lines.size(), 8u);
    EXPECT_EQ(s.surface.Lines[7].From.x, 150);
    EXPECT_EQ(s.canvas.CrossX, -1);
    EXPECT_FALSE(s.canvas.XorActive);
    EXPECT_EQ(s.surface.GetPenMode(), PenMode::Copy);
    EXPECT_EQ(s.surface.PenColor(), ColourRed);
}

TEST(UserCanvas, CrosshairEndWithNoneDrawnOnlyRestoresThePen) {
    ScreenSetup s;
    s.canvas.SavedPenColor = 0x123456;
    s.canvas.SavedPenMode = PenMode::Copy;
    s.surface.SetPenMode(PenMode::Xor);
    s.canvas.Crosshair(10, 10, CrossEnd);
    EXPECT_TRUE(s.surface.Lines.empty());
    EXPECT_EQ(s.surface.PenColor(), 0x123456u);
    EXPECT_EQ(s.surface.GetPenMode(), PenMode::Copy);
}

TEST(UserCanvas, ClearAllAndFillRectDoNothingOnAPrinter) {
    ScreenSetup s;
    s.surface.SetPenColor(ColourRed);
    s.canvas.ClearAll(ColourWhite);
    ASSERT_EQ(s.surface.Shapes.size(), 1u);
    EXPECT_EQ(s.surface.Shapes[0].Brush, ColourWhite);
    EXPECT_EQ(s.surface.Shapes[0].Right, 800);
    EXPECT_EQ(s.surface.PenColor(), ColourRed);
    s.surface.PageInfo = {4960, 7016, 210, 297, 0, 0};
    s.canvas.PreparePrinterPage();
    s.canvas.ClearAll(ColourWhite);
    s.canvas.FillRect(ColourWhite, 0, 0, 10, 10);
    EXPECT_EQ(s.surface.Shapes.size(), 1u);
}

TEST(UserCanvas, MarkerIsARedCircleFilledBlack) {
    ScreenSetup s;
    s.canvas.Marker(100, 100);
    ASSERT_EQ(s.surface.Shapes.size(), 1u);
    EXPECT_TRUE(s.surface.Shapes[0].IsEllipse);
    EXPECT_EQ(s.surface.Shapes[0].Left, 98);
    EXPECT_EQ(s.surface.Shapes[0].Bottom, 102);
    EXPECT_EQ(s.surface.Shapes[0].Pen, ColourRed);
    ASSERT_EQ(s.surface.Fills.size(), 1u);
    EXPECT_EQ(s.surface.Fills[0].Fill, ColourBlack);
    EXPECT_EQ(s.surface.Fills[0].Border, ColourRed);
    EXPECT_TRUE(s.surface.Fills[0].Region.IsEllipse);
    EXPECT_EQ(s.surface.PenColor(), ColourBlack);
    EXPECT_EQ(s.surface.BrushColor(), ColourWhite);
}

TEST(UserCanvas, PrinterMarginsClampToZeroAndKeepTheAspect) {
    ScreenSetup s;
    // A4 at 600 dpi with physical offsets of 1.5 cm: the 1 cm margins lie inside them.
    s.surface.PageInfo = {4960, 7016, 210, 297, 354, 354};
    s.canvas.SetPrinterMargins(1, 1, 1, 800, 600);
    EXPECT_TRUE(s.canvas.IsPrinter);
    EXPECT_EQ(s.canvas.ViewportLeft, 0);
    EXPECT_EQ(s.canvas.ViewportTop, 0);
    const int margin = ToPixel(10 * 4960.0L / 210); // 236
    EXPECT_EQ(s.canvas.ViewportWidth, 4960 - margin);
    EXPECT_EQ(s.canvas.ViewportHeight, ToPixel((4960 - margin) * 600.0L / 800));

    s.surface.PageInfo.PhysOffsetX = 100;
    s.canvas.SetPrinterMargins(1, 2, 1, 800, 600);
    EXPECT_EQ(s.canvas.ViewportLeft, margin - 100);
    EXPECT_EQ(s.canvas.ViewportTop, 2 * margin - 354);
}

TEST(UserCanvas, PrinterMetricsOnlyOnAPrinter) {
    ScreenSetup s;
    int v = -1, h = -1, ph = -1, pw = -1, px = -1, py = -1;
    EXPECT_FALSE(s.canvas.GetPrinterMetrics(v, h, ph, pw, px, py));
    EXPECT_EQ(v, -1);
    s.surface.PageInfo = {4960, 7016, 210, 297, 30, 40};
    s.canvas.PreparePrinterPage();
    EXPECT_TRUE(s.canvas.GetPrinterMetrics(v, h, ph, pw, px, py));
    EXPECT_EQ(v, 297);
    EXPECT_EQ(h, 210);
    EXPECT_EQ(ph, 7016);
    EXPECT_EQ(pw, 4960);
    EXPECT_EQ(px, 30);
    EXPECT_EQ(py, 40);
}

TEST(View, PortWidthIsOneMoreThanItsSpan) {
    ScreenSetup s;
    TView v;
    v.Init(&s.canvas, "", 0, 0, 400, 100, 1);
    v.SetWindow(0, 0, 1, 1);
    EXPECT_EQ(v.PortWidth, 401);
    EXPECT_EQ(v.ToCanvasX(1), 401);
    EXPECT_EQ(v.FromCanvasX(401), 1);
}

TEST(View, ReversedWindowsTurnTheAxes) {
    ScreenSetup s;
    TView v;
    v.Init(&s.canvas, "", 100, 100, 299, 199, 1);
    v.SetWindowIsotropic(-1, -10, 5, 10); // y runs upwards from 5 at the top
    EXPECT_EQ(v.Window.YMax, 5 - 20 * 100.0L / 200);
    EXPECT_LT(v.Window.YMax, v.Window.YMin);
    EXPECT_EQ(v.ToCanvasY(5), 100);
    EXPECT_GT(v.ToCanvasY(0), v.ToCanvasY(4));

    v.SetWindow(10, 0, -10, 1); // x mirrored
    EXPECT_EQ(v.ToCanvasX(10), 100);
    EXPECT_EQ(v.ToCanvasX(-10), 300);
    Real x = 0, y = 0;
    v.DeviceToWorld(300, 100, x, y);
    EXPECT_EQ(x, -10);
    EXPECT_EQ(y, 0);
}

TEST(View, MapsBetweenViewsAndConvertsTextResults) {
    ScreenSetup s;
    TView a, b;
    a.Init(&s.canvas, "", 0, 0, 399, 199, 1);
    a.SetWindow(0, 0, 4, 2);
    b.Init(&s.canvas, "", 400, 0, 799, 199, 1);
    b.SetWindow(0, 0, 400, 200);
    EXPECT_EQ(a.MapXTo(b, 5), 100); // canvas 500 is 100 units into b
    EXPECT_EQ(a.CenterX(), 199.5L);
    const Real end = a.DrawText("abc", 9, 1, 1, 0, true);
    EXPECT_EQ(s.surface.Texts.back().X, 100);
    EXPECT_EQ(end, a.FromCanvasX(121)); // 18 + 3 bold pixels
}

TEST(AxisTableTest, RowsAndRange) {
    EXPECT_EQ(AxisTable(1).Horizontal, 2);
    EXPECT_EQ(AxisTable(2).Horizontal, 3);
    EXPECT_EQ(AxisTable(3).Vertical, 3);
    EXPECT_EQ(AxisTable(3).Depth, 1);
    EXPECT_EQ(AxisTable(5).Horizontal, 1);
    EXPECT_THROW(AxisTable(0), RangeError);
    EXPECT_THROW(AxisTable(6), RangeError);
}

} // namespace
