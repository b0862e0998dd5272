#include "gem/gem.h"
#include "sheet/design_sheet.h"
#include "sheet/recording_surface.h"
#include "tests/sheet/recorded_screen.h"
#include "tests/support/design_builders.h"

#include <gtest/gtest.h>

namespace {

const std::string Deg = "\xBA";

TEST(FacetTable, GroupsWrapAfterKIndicesAndEndWithTheTableRow) {
    Screen s;
    auto gem = RoundBrilliantCrown(); // 16 girdle, 8 mains, 16 halves, 8 stars, table; 8 parts: K = 8
    const int n = s.sheet.BuildFacetTable(*gem);
    EXPECT_EQ(n, gem->TierListLines + 2); // two wrapped rows
    ASSERT_EQ(s.sheet.RowsUsed, 7);
    const auto& rows = s.sheet.Rows;
    EXPECT_EQ(rows[1].Name, "C1");
    EXPECT_EQ(rows[1].GroupNumber, 1);
    EXPECT_EQ(rows[1].AngleText, " 90.00" + Deg);
    EXPECT_EQ(rows[1].IndicesText, " 03-09-15-21-27-33-39-45");
    EXPECT_EQ(rows[1].IndexCountInRow, 8);
    EXPECT_EQ(rows[2].Name, "");
    EXPECT_EQ(rows[2].AngleText, "");
    EXPECT_EQ(rows[2].GroupNumber, 0);
    EXPECT_EQ(rows[2].IndicesText, " 51-57-63-69-75-81-87-93");
    EXPECT_EQ(rows[3].Name, "C2");
    EXPECT_EQ(rows[3].AngleText, " 37.00" + Deg);
    EXPECT_EQ(rows[3].IndicesText, " 00-12-24-36-48-60-72-84");
    EXPECT_EQ(rows[6].Name, "C4");
    EXPECT_EQ(rows[7].Name, "C5");
    EXPECT_EQ(rows[7].GroupNumber, 5);
    EXPECT_EQ(rows[7].AngleText, "  0" + Deg);
    EXPECT_EQ(rows[7].IndicesText, "  any");
}

TEST(FacetTable, RowsPerSymmetry) {
    Screen s;
    auto six = NewGem('c', 6, 96, true); // 12 facets per group, K = 6
    CutByAngle(*six, 90, 2, 50);
    s.sheet.BuildFacetTable(*six);
    EXPECT_EQ(s.sheet.RowsUsed, 3); // two rows of six and the table row
    EXPECT_EQ(s.sheet.Rows[1].IndexCountInRow, 6);
    EXPECT_EQ(s.sheet.Rows[2].IndexCountInRow, 6);
    auto five = NewGem('p', 5, 80, true); // 10 facets per group, K = 10: one row
    CutByAngle(*five, 90, 2, 50);
    s.sheet.BuildFacetTable(*five);
    EXPECT_EQ(s.sheet.RowsUsed, 2);
    EXPECT_EQ(s.sheet.Rows[1].Name, "P1");
    EXPECT_EQ(s.sheet.Rows[1].IndexCountInRow, 10);
}

TEST(FacetTable, ThreeDigitIndicesAndTenths) {
    Screen s;
    auto gem = NewGem('c', 4, 120, false);
    CutByAngle(*gem, 90, 0.5L, 50);
    s.sheet.BuildFacetTable(*gem);
    EXPECT_EQ(s.sheet.Rows[1].IndicesText, " 0.5-30.5-60.5-90.5"); // width 3 counts the decimals too
    EXPECT_EQ(s.sheet.Rows[1].Name, "C1");
}

TEST(FacetTable, CutAwayFacetsAreStarredOnlyWithShowCutoff) {
    Screen s;
    auto gem = NewGem('c', 4, 96, false);
    CutByAngle(*gem, 90, 0, 50);
    CutByAngle(*gem, 90, 0, 30); // cuts the first girdle away
    s.sheet.BuildFacetTable(*gem);
    EXPECT_EQ(s.sheet.Rows[1].IndicesText, " *00-*24-*48-*72");
    EXPECT_EQ(s.sheet.Rows[2].IndicesText, " 00-24-48-72");
    s.sheet.Options.ShowCutoff = false;
    s.sheet.BuildFacetTable(*gem);
    EXPECT_EQ(s.sheet.Rows[1].IndicesText, " 00-24-48-72");
}

TEST(FacetTable, NotesFromTextLines) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    gem->TextLines[11] = " &3 third row &5 fifth &0 ignored &x bad";
    gem->TextLines[12] = "#alpha #beta";
    gem->TextLines[14] = "  left       right  ";
    gem->TextLines[16] = "@after";
    s.sheet.BuildFacetTable(*gem);
    const auto& rows = s.sheet.Rows;
    EXPECT_EQ(gem->TextLines[14], "  left       right  "); // the drawing leaves the design as it is
    EXPECT_EQ(rows[3].Note, "third row");
    EXPECT_EQ(rows[3].NoteRow, 3);
    EXPECT_EQ(rows[5].Note, "fifth");
    EXPECT_EQ(rows[5].NoteRow, 5);
    EXPECT_EQ(rows[2].Note, "#alpha");
    EXPECT_EQ(rows[11].Note, "#beta");
    EXPECT_EQ(rows[4].Note, "#left");
    EXPECT_EQ(rows[13].Note, "#right");
    EXPECT_EQ(rows[6].Note, "@after");
    EXPECT_EQ(rows[1].Note, "");
    EXPECT_EQ(s.sheet.RowsUsed, 13);
}

TEST(FacetTable, AtNotesFallBackWhenNoFurtherHash) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    gem->TextLines[11] = "@one @two";
    gem->TextLines[12] = "@one #two @three";
    s.sheet.BuildFacetTable(*gem);
    EXPECT_EQ(s.sheet.Rows[1].Note, "@one");
    EXPECT_EQ(s.sheet.Rows[10].Note, "@two");
    EXPECT_EQ(s.sheet.Rows[2].Note, "@one");
    EXPECT_EQ(s.sheet.Rows[11].Note, "#two @three");
}

TEST(FacetTable, DrawnColumnsAndNotes) {
    Screen s;
    auto gem = RoundBrilliantCrown();
    gem->TextLines[11] = "&3 third row";
    gem->TextLines[12] = "#alpha";
    gem->TextLines[17] = "@after";
    s.sheet.DrawFacetTable(*gem, s.canvas, false);
    const TView& v = s.sheet.FacetTableView;
    EXPECT_EQ(v.PortY1, 420);
    EXPECT_EQ(v.PortY2, 420 + (6 + 2) * 15);
    EXPECT_EQ(v.Window.YMax, 6 + 2.2L);

    const RecordedText* c1 = s.surface.FindText("C1");
    const RecordedText* angle = s.surface.FindText(" 90.00" + Deg);
    const RecordedText* indices = s.surface.FindText(" 03-09-15-21-27-33-39-45");
    ASSERT_TRUE(c1 && angle && indices);
    EXPECT_EQ(c1->X, 0);
    EXPECT_EQ(c1->Y, s.canvas.YToDevice(v.ToCanvasY(1)));
    EXPECT_EQ(c1->Size, 10);
    EXPECT_TRUE(c1->Bold);
    const RecordedText* c5 = s.surface.FindText("C5");
    ASSERT_NE(c5, nullptr);
    EXPECT_EQ(c5->X, 0);
    EXPECT_EQ(c5->Y, s.canvas.YToDevice(v.ToCanvasY(7)));
    EXPECT_GT(angle->X, c1->X + c1->Width);
    EXPECT_GT(indices->X, angle->X + angle->Width);

    const RecordedText* third = s.surface.FindText("third row");
    const RecordedText* alpha = s.surface.FindText("alpha");
    const RecordedText* after = s.surface.FindText("after");
    ASSERT_TRUE(third && alpha && after);
    EXPECT_EQ(s.surface.FindText("#alpha"), nullptr);
    EXPECT_EQ(third->X, alpha->X); // the note column
    EXPECT_GT(third->X, indices->X + indices->Width);
    // "@" notes follow their own row's indices: row 7 is the table row.
    const RecordedText* any = s.surface.FindText("  any");
    ASSERT_NE(any, nullptr);
    EXPECT_EQ(after->Y, any->Y);
    EXPECT_LT(after->X, third->X);
    EXPECT_NEAR(after->X, any->X + any->Width + 5 * v.Window.X.Scale, 2);
}

TEST(FacetTable, LowWindowShowsFewerRowsPerBlockAndMoreBlocks) {
    Screen tall(800, 600), low(800, 300);
    auto gem = RoundBrilliantCrown();
    tall.sheet.DrawFacetTable(*gem, tall.canvas, false);
    low.sheet.DrawFacetTable(*gem, low.canvas, false);
    // 600 high: 7 rows per block, one block. 300 high: n = (291 - 210 - 15) / 15 = 4, 5 rows per block.
    EXPECT_EQ(low.sheet.FacetTableView.PortY2, 291);
    EXPECT_EQ(low.sheet.FacetTableView.Window.YMax, 4 + 2.2L);
    const RecordedText* tallC5 = tall.surface.FindText("C5");
    const RecordedText* lowC1 = low.surface.FindText("C1");
    const RecordedText* lowC4 = low.surface.FindText("C4");
    const RecordedText* lowC5 = low.surface.FindText("C5");
    ASSERT_TRUE(tallC5 && lowC1 && lowC4 && lowC5);
    EXPECT_EQ(tallC5->X, 0);
    EXPECT_GT(lowC4->X, 0); // rows 6 and 7 start the second block
    EXPECT_EQ(lowC4->X, lowC5->X);
    EXPECT_EQ(lowC4->Y, lowC1->Y);
    const RecordedText* lowWrapped = low.surface.FindText(" 51-57-63-69-75-81-87-93");
    ASSERT_NE(lowWrapped, nullptr);
    EXPECT_GT(lowC4->X, lowWrapped->X + lowWrapped->Width);
}

TEST(FacetTable, FullPageBlocksHoldFortyRows) {
    Screen s(800, 300);
    auto gem = RoundBrilliantCrown();
    s.sheet.DrawFacetTable(*gem, s.canvas, true);
    EXPECT_EQ(s.surface.FindText("C5")->X, 0);
}

TEST(FacetTable, VeryLowWindowKeepsAWindow) {
    Screen s(800, 60);
    auto gem = RoundBrilliantCrown();
    s.sheet.DrawFacetTable(*gem, s.canvas, false);
    EXPECT_GT(s.sheet.FacetTableView.Window.YMax, s.sheet.FacetTableView.Window.YMin);
    EXPECT_NE(s.surface.FindText("C5"), nullptr);
}

TEST(FacetTable, ZeroPointZeroZeroFiveDegreesIsNotNumbered) {
    Screen s;
    auto gem = NewGem('c', 4, 96, false);
    CutByAngle(*gem, 90, 0, 20);
    CutByAngle(*gem, 0.005L, 0, 5);
    s.sheet.BuildFacetTable(*gem);
    EXPECT_EQ(s.sheet.Rows[1].Name, "C1");
    EXPECT_EQ(s.sheet.Rows[2].Name, "C2"); // the table: the flat group was skipped
    EXPECT_EQ(s.sheet.Rows[2].IndicesText, "  any");
}

} // namespace
