#include "gem/gem.h"
#include "sheet/design_sheet.h"
#include "sheet/recording_surface.h"
#include "tests/sheet/recorded_screen.h"
#include "tests/support/design_builders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

namespace {

// A 20 x 20 x 5 box: four girdle facets and the table.
std::unique_ptr<TGem> BoxCrown() {
    auto gem = NewGem('c', 4, 96, false);
    CutByAngle(*gem, 90, 0, 10);
    CutHorizontal(*gem, 5);
    return gem;
}

std::unique_ptr<TGem> SinglePartBox() {
    auto gem = NewGem('c', 1, 96, false);
    for (int i = 0; i < 4; ++i)
        CutByAngle(*gem, 90, 24 * i, 10);
    CutHorizontal(*gem, 5);
    return gem;
}

TEST(Sheet, NewDesignDrawsAnEmptySheet) {
    Screen s;
    auto gem = NewGem();
    s.Draw(*gem);
    EXPECT_TRUE(s.surface.Texts.empty());
    EXPECT_TRUE(s.surface.Lines.empty());
    EXPECT_TRUE(s.surface.Fills.empty());
    for (const RecordedShape& shape : s.surface.Shapes)
        EXPECT_EQ(shape.Brush, ColourWhite); // only the background clears
}

TEST(Sheet, OutlineAloneOnANewDesign) {
    const std::filesystem::path file = std::filesystem::temp_directory_path() / "lapidraw-sheet-outline.otl";
    ASSERT_TRUE(BoxCrown()->SaveOutline(file.string()));
    auto gem = NewGem('p', 4, 96, false);
    ASSERT_TRUE(gem->ReadOutline(file.string()));
    std::filesystem::remove(file);

    Screen s;
    s.Draw(*gem);
    EXPECT_EQ(s.surface.Lines.size(), 4u);
    for (const RecordedLine& l : s.surface.Lines)
        EXPECT_EQ(l.Pen, ColourRed);
    std::multiset<std::string> labels;
    for (const RecordedText& t : s.surface.Texts) {
        EXPECT_EQ(t.Colour_, ColourRed);
        EXPECT_EQ(t.Size, 7);
        labels.insert(t.Text);
    }
    EXPECT_EQ(labels, (std::multiset<std::string>{"0", "24", "48", "72"}));
    EXPECT_EQ(s.surface.Fills.size(), 8u); // a marker at both ends of every edge
    EXPECT_EQ(s.surface.PenColor(), ColourBlack);
    EXPECT_EQ(s.surface.FontColor(), ColourBlack);

    RecordingSurface paper(100, 100);
    paper.PageInfo = {4960, 7016, 210, 297, 0, 0};
    TUserCanvas printer;
    printer.Init(&paper, 100, 100);
    printer.SetPrinterMargins(1, 1, 1, 800, 600);
    printer.SetWorldIsotropic(1, 0, 0, 800);
    s.sheet.DrawDesign(*gem, printer);
    EXPECT_TRUE(paper.Lines.empty());
    EXPECT_TRUE(paper.Texts.empty());
}

TEST(Sheet, OnePartIsWrittenWithoutThePlural) {
    Screen s;
    auto gem = SinglePartBox();
    s.Draw(*gem);
    EXPECT_NE(s.surface.FindText(" 1 identical part"), nullptr);
    EXPECT_EQ(s.surface.FindText(" 1 identical parts"), nullptr);
    auto box = BoxCrown();
    s.Draw(*box);
    EXPECT_NE(s.surface.FindText(" 4 identical parts"), nullptr);
}

TEST(Sheet, ProportionBlockTextsAndPlaces) {
    Screen s; // 800 x 600: the data panel is (400, 0)-(800, 250), window 1 x 14
    auto gem = BoxCrown();
    s.Draw(*gem);
    struct Expected {
        const char* text;
        int x, y;
    };
    // x: 400 + 0.5 * 401 = 600.5 rounds to the even 600; 400 + 0.75 * 401 = 700.75 -> 701.
    // y: row * 251 / 14 rounded, ties to even (125.5 for row 7 gives 126).
    const Expected lines[] = {{" 4 identical parts", 600, 54}, {"L/W = 1.000", 701, 90},
                              {"C/W = 0.250", 701, 108},       {"C/L  = 0.250", 701, 126},
                              {"T/W = 100%", 701, 143},        {"system index used is  96", 600, 161},
                              {" 5 crown facets", 600, 179},   {"Vol.Crown =   0.250 x W\xB3", 600, 231}};
    for (const Expected& e : lines) {
        const RecordedText* t = s.surface.FindText(e.text);
        ASSERT_NE(t, nullptr) << e.text;
        EXPECT_EQ(t->X, e.x) << e.text;
        EXPECT_EQ(t->Y, e.y) << e.text;
        EXPECT_EQ(t->Size, 10);
        EXPECT_TRUE(t->Bold);
        EXPECT_EQ(t->Align, 0);
        EXPECT_EQ(t->Anchor, (DevicePoint{e.x, e.y}));
    }
    EXPECT_EQ(s.surface.FindText("mirror-image symmetry"), nullptr);
}

TEST(Sheet, TitleLinesAreCentredAtTheTopOfThePanel) {
    Screen s;
    auto gem = BoxCrown();
    gem->TextLines[CutNameLine] = "Box   ";
    gem->TextLines[AuthorLine] = "by hand";
    gem->TextLines[3] = "third line  ";
    s.Draw(*gem);
    const RecordedText* title = s.surface.FindText("Box");
    const RecordedText* subtitle = s.surface.FindText("by hand");
    const RecordedText* third = s.surface.FindText("third line");
    ASSERT_TRUE(title && subtitle && third);
    EXPECT_EQ(title->Size, 15);
    EXPECT_EQ(title->Align, 2);
    EXPECT_EQ(title->Anchor, s.sheet.DataView.ToDevice(0.5L, 0.2L));
    EXPECT_EQ(subtitle->Size, 10);
    EXPECT_EQ(subtitle->Anchor, s.sheet.DataView.ToDevice(0.5L, 1.7L));
    EXPECT_EQ(third->Align, 0);
    EXPECT_EQ(third->Size, 9);
    EXPECT_EQ(third->Anchor, s.sheet.TextLinesView.ToDevice(0.01L, 3 - 0.8L));
}

TEST(Sheet, MessageLinesAreRightAlignedAndLineFourOnlyOnAPavilion) {
    Screen s;
    auto gem = BoxCrown();
    gem->MessageLines[1] = "first";
    gem->MessageLines[4] = "CCD";
    s.Draw(*gem);
    const RecordedText* first = s.surface.FindText("first");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->X + first->Width, 400 + 381); // right end at 0.95 of the panel (780.95)
    EXPECT_EQ(first->Align, 1);
    EXPECT_EQ(s.surface.FindText("CCD"), nullptr);
    auto pavilion = RoundBrilliantPavilion();
    pavilion->MessageLines[4] = "CCD";
    s.Draw(*pavilion);
    EXPECT_NE(s.surface.FindText("CCD"), nullptr);
    const bool volume =
        std::any_of(s.surface.Texts.begin(), s.surface.Texts.end(),
                    [](const RecordedText& t) { return t.Text.rfind("Vol.Pav. = ", 0) == 0; });
    EXPECT_TRUE(volume);
}

TEST(Sheet, TableAndBottomPlaneGroupsUseUpNoNumber) {
    Screen s;
    auto gem = RoundBrilliantCrown(); // girdle, mains, upper halves, stars, table
    s.Draw(*gem);
    std::multiset<std::string> numbers;
    for (const RecordedText* t : s.TextsOfSize(7))
        numbers.insert(t->Text);
    EXPECT_EQ(numbers, (std::multiset<std::string>{"1", "2", "3", "4", "5"}));

    auto pavilion = RoundBrilliantPavilion(); // the bottom plane is cut away: no culet number
    s.Draw(*pavilion);
    numbers.clear();
    for (const RecordedText* t : s.TextsOfSize(7))
        numbers.insert(t->Text);
    EXPECT_EQ(numbers, (std::multiset<std::string>{"1", "2", "3"}));
}

TEST(Sheet, GirdleNumberSitsOutsideTheGirdle) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    s.Draw(*gem);
    const RecordedText* one = s.surface.FindText("1");
    ASSERT_NE(one, nullptr);
    // Top view centre (200, 104.17 canvas units); the girdle radius is about 51 design units, 99 pixels.
    const int cx = one->X + one->Width / 2 - 200;
    const int cy = one->Y + one->Height / 2 - 104;
    EXPECT_GT(cx * cx + cy * cy, 99 * 99);
}

TEST(Sheet, IndexLabelsOfANewCrown) {
    Screen s;
    auto gem = NewGem('c', 8, 96, false, 0);
    CutByAngle(*gem, 90, 0, 50);
    s.Draw(*gem);
    // "<96>" at size 8 bold is 25 x 12 on the recording surface, centred both ways around its point.
    const RecordedText* bottom = s.surface.FindText("<96>");
    const RecordedText* left = s.surface.FindText("<72>");
    const RecordedText* right = s.surface.FindText("<24>");
    ASSERT_TRUE(bottom && left && right);
    const TView& page = s.sheet.PageView;
    const Real pageBottom = 600 * 5 / 12.0L;
    EXPECT_EQ(page.Window.YMax, pageBottom);
    const DevicePoint b = page.ToDevice(200, pageBottom - 3);
    const DevicePoint l = page.ToDevice(25, pageBottom / 2);
    const DevicePoint r = page.ToDevice(400 - 27, pageBottom / 2);
    EXPECT_EQ(bottom->X, b.x - 12);
    EXPECT_EQ(bottom->Y, b.y - 6);
    EXPECT_EQ(left->X, l.x - 12);
    EXPECT_EQ(left->Y, l.y - 6);
    EXPECT_EQ(right->X, r.x - 12);
    EXPECT_EQ(right->Y, r.y - 6);
    EXPECT_EQ(b.y, 248); // 247 canvas units in a port one unit taller than its window
    EXPECT_TRUE(bottom->Bold);
    EXPECT_EQ(bottom->Size, 8);
    EXPECT_EQ(bottom->Align, 3);
    EXPECT_EQ(bottom->Anchor, b);
}

TEST(Sheet, IndexLabelsFollowDirectionAndOffset) {
    Screen s;
    auto gem = NewGem('c', 8, -96, false, 5);
    CutByAngle(*gem, 90, 0, 50);
    s.Draw(*gem);
    EXPECT_NE(s.surface.FindText("< 5>"), nullptr); // 96 - 96 + 5, blank-padded
    EXPECT_NE(s.surface.FindText("<29>"), nullptr); // 96 - 72 + 5
    EXPECT_NE(s.surface.FindText("<77>"), nullptr); // 96 - 24 + 5
}

TEST(Sheet, DimensionLines) {
    Screen s;
    auto gem = BoxCrown();
    s.Draw(*gem);
    for (const char* label : {"L", "W", "T"}) {
        const RecordedText* t = s.surface.FindText(label);
        ASSERT_NE(t, nullptr) << label;
        EXPECT_EQ(t->Size, 8);
    }
    // The L line at y = 8 spans the box's y extent mapped from the top view.
    const TView& top = s.sheet.TopView;
    const int x1 = s.canvas.XToDevice(top.ToCanvasX(-10));
    const int x2 = s.canvas.XToDevice(top.ToCanvasX(10));
    const bool found =
        std::any_of(s.surface.Lines.begin(), s.surface.Lines.end(), [&](const RecordedLine& l) {
            return l.From == DevicePoint{x1, 8} && l.To == DevicePoint{x2, 8};
        });
    EXPECT_TRUE(found);
}

TEST(Sheet, ShowIndicesWritesRedLabelsAtGirdleEdges) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    s.sheet.Options.ShowIndices = true;
    s.Draw(*gem);
    int red = 0;
    for (const RecordedText& t : s.surface.Texts)
        if (t.Colour_ == ColourRed) {
            ++red;
            EXPECT_FALSE(t.Bold);
        }
    EXPECT_EQ(red, 16); // one per girdle facet
    EXPECT_EQ(s.surface.FontColor(), ColourBlack);
}

TEST(Sheet, HighlightOfTheSelectedGroup) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    s.sheet.Options.SelectedFacet = 19; // a main
    s.sheet.Options.FacetSelected = true;
    s.Draw(*gem);
    EXPECT_EQ(s.sheet.HighlightedGroupFirst, 17);
    ASSERT_EQ(s.surface.Fills.size(), 8u);
    int dark = 0;
    for (const RecordedFill& f : s.surface.Fills) {
        EXPECT_EQ(f.Border, ColourRed);
        EXPECT_GE(f.Region.Polygon.size(), 4u);
        if (f.Fill == ColourGrey)
            ++dark;
        else
            EXPECT_EQ(f.Fill, ColourSilver);
    }
    EXPECT_EQ(dark, 1);
    // Every seed lies inside its facet's region: the centre of the facet seen from above.
    for (const RecordedFill& f : s.surface.Fills) {
        int minX = 1 << 20, maxX = -(1 << 20);
        for (const DevicePoint& p : f.Region.Polygon) {
            minX = std::min(minX, p.x);
            maxX = std::max(maxX, p.x);
        }
        EXPECT_GT(f.Seed.x, minX);
        EXPECT_LT(f.Seed.x, maxX);
    }
}

TEST(Sheet, ShownTierFillsItsFacetsAndRedrawsTheNumbers) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    s.sheet.Options.ShownTier = 5; // upper halves
    s.Draw(*gem);
    EXPECT_EQ(s.surface.Fills.size(), 16u);
    EXPECT_EQ(s.TextsOfSize(7).size(), 10u);
    s.sheet.Options.ShownTier = 3; // the girdle is never filled
    s.Draw(*gem);
    EXPECT_TRUE(s.surface.Fills.empty());
}

TEST(Sheet, MarkersOnlyWithShowClick) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    s.sheet.Options.Markers.Set(2, 10, 20);
    s.Draw(*gem);
    ASSERT_EQ(s.surface.Shapes.size(), 3u); // two clears and the marker
    const RecordedShape& marker = s.surface.Shapes.back();
    const DevicePoint at = s.sheet.TopView.ToDevice(20, 10); // model y across, model x down
    EXPECT_EQ(marker.Left, at.x - 2);
    EXPECT_EQ(marker.Top, at.y - 2);
    s.sheet.Options.ShowClick = false;
    s.Draw(*gem);
    EXPECT_EQ(s.surface.Shapes.size(), 2u);
}

TEST(Sheet, MarkersShowHideAndRange) {
    PickMarkers markers;
    markers.Set(2, 3, 4);
    EXPECT_TRUE(markers.Shown(2) && !markers.Shown(1) && !markers.Shown(3));
    EXPECT_EQ(markers.Y(2), 4);
    markers.Set(3, 1, 1);
    markers.HideAll();
    for (int k = 1; k <= PickMarkers::Count; ++k)
        EXPECT_FALSE(markers.Shown(k));
    EXPECT_THROW(markers.Set(4, 1, 1), RangeError);
    EXPECT_THROW(static_cast<void>(markers.Shown(0)), RangeError);
}

TEST(Sheet, PrinterPageCarriesNoScreenExtras) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    s.sheet.Options.Markers.Set(1, 10, 20);
    s.sheet.Options.ShowIndices = true;
    s.sheet.Options.SelectedFacet = 19;
    s.sheet.Options.ShownTier = 5;

    RecordingSurface paper(100, 100);
    paper.PageInfo = {4960, 7016, 210, 297, 0, 0};
    TUserCanvas printer;
    printer.Init(&paper, 100, 100);
    printer.SetPrinterMargins(1, 1, 1, 800, 600);
    printer.SetWorldIsotropic(1, 0, 0, 800);
    s.sheet.DrawDesign(*gem, printer);

    EXPECT_TRUE(paper.Shapes.empty());
    EXPECT_TRUE(paper.Fills.empty());
    for (const RecordedText& t : paper.Texts)
        EXPECT_NE(t.Colour_, ColourRed) << t.Text;
    for (const RecordedLine& l : paper.Lines)
        EXPECT_NE(l.Pen, ColourRed);
    EXPECT_EQ(s.TextsOfSize(7).size(), 0u); // nothing went to the screen
    std::multiset<std::string> numbers;
    for (const RecordedText& t : paper.Texts)
        if (t.Size == 7) numbers.insert(t.Text);
    EXPECT_EQ(numbers.size(), 5u);
    // Text lines are one point smaller on paper.
    gem->TextLines[1] = "line one";
    paper.Clear();
    s.sheet.DrawDesign(*gem, printer);
    ASSERT_NE(paper.FindText("line one"), nullptr);
    EXPECT_EQ(paper.FindText("line one")->Size, 8);
    s.Draw(*gem);
    EXPECT_EQ(s.surface.FindText("line one")->Size, 9);
}

TEST(Sheet, SeparatorsFrameTheSheet) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    s.Draw(*gem);
    const int tableBottom = s.canvas.YToDevice(s.sheet.FacetTableView.PortY2);
    const bool leftBorder =
        std::any_of(s.surface.Lines.begin(), s.surface.Lines.end(), [&](const RecordedLine& l) {
            return l.From == DevicePoint{2, 1} && l.To == DevicePoint{2, tableBottom};
        });
    const bool middle =
        std::any_of(s.surface.Lines.begin(), s.surface.Lines.end(), [&](const RecordedLine& l) {
            return l.From == DevicePoint{400, 1} && l.To == DevicePoint{400, 420};
        });
    EXPECT_TRUE(leftBorder);
    EXPECT_TRUE(middle);
}

TEST(Rotation, KeysTurnTheStoneAndHideBackFaces) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    s.sheet.RotateKey(*gem, RotateStartKey);
    EXPECT_EQ(s.sheet.RotateView.Window.XMin, -100);
    EXPECT_EQ(s.sheet.RotateView.Window.YMin, 75);
    EXPECT_GT(s.sheet.RotateView.Window.YMin, s.sheet.RotateView.Window.YMax);
    // Unrotated: the view looks along x; facets whose inward normal has x <= 0 face the viewer.
    int facing = 0;
    for (int e = 1; e <= gem->EdgeCount; ++e) {
        const FacetEdge& edge = gem->Edges[e];
        if (gem->NormalX(edge.FacetA) <= 0 || gem->NormalX(edge.FacetB) <= 0) ++facing;
    }
    EXPECT_EQ(static_cast<int>(s.surface.Lines.size()), facing);
    EXPECT_LT(facing, gem->EdgeCount);

    s.surface.Clear();
    s.sheet.RotateKey(*gem, KeyLeft);
    s.sheet.RotateKey(*gem, KeyDown);
    s.sheet.RotateKey(*gem, KeyDown);
    EXPECT_EQ(s.sheet.Rotation.C, 1);
    EXPECT_EQ(s.sheet.Rotation.B, 2);
    EXPECT_EQ(s.sheet.Rotation.A, 0);
    EXPECT_NEAR(static_cast<double>(s.sheet.ViewMatrix[0][0]),
                std::cos(2 * 3.14159265358979 / 180) * std::cos(3.14159265358979 / 180), 1e-12);
    s.surface.Clear();
    s.sheet.RotateKey(*gem, KeyEscape);
    EXPECT_TRUE(s.surface.Lines.empty());
    EXPECT_EQ(s.surface.Shapes.size(), 1u); // cleared, nothing drawn
}

TEST(Rotation, ProjectsOntoTheMatrixColumns) {
    Screen s;
    auto gem = BoxCrown();
    s.sheet.RotateKey(*gem, RotateStartKey);
    // A quarter turn about y: the first column becomes the stone's axis, the view looks down on the table.
    s.sheet.ViewMatrix = {};
    s.sheet.ViewMatrix[2][0] = 1; // depth = z
    s.sheet.ViewMatrix[1][1] = 1; // across = y
    s.sheet.ViewMatrix[0][2] = 1; // up = x
    s.surface.Clear();
    s.sheet.DrawRotatedStone(*gem);
    // Seen along +z the table (inward normal -z) faces the viewer: its four edges and the girdle's.
    ASSERT_FALSE(s.surface.Lines.empty());
    const DevicePoint corner = s.sheet.RotateView.ToDevice(10, 10);
    const bool found = std::any_of(s.surface.Lines.begin(), s.surface.Lines.end(),
                                   [&](const RecordedLine& l) { return l.From == corner || l.To == corner; });
    EXPECT_TRUE(found);
}

} // namespace
