// The printed page's half-page geometry and the facet listing sent to the printer.
#include "gem/gem.h"
#include "sheet/facet_listing.h"
#include "sheet/page_layout.h"
#include "tests/support/design_builders.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Printable areas at 600 dpi: A4 with 5 mm margins is 200 x 287 mm and 4724 pixels across; Letter with
// quarter-inch margins is 8 x 10.5 in, 203 x 267 whole mm and 4800 pixels across.
struct LayoutCase {
    const char* Name;
    int HorzMm, VertMm, WidthPx, ClientW, ClientH;
    HalfPageLayout Expected; // worked out by hand from ppmm = WidthPx / HorzMm
};

// A4: ppmm = 23.62; usable width round(185 * 23.62) = 4370; half height round(274 * 23.62) = 6472 / 2
// = 3236; left round(354.3) = 354; top1 round(236.2) = 236; bottom1 round(3236 + 236.2) = 3472;
// top2 round(3236 + 307.06) = 3543; bottom2 round(6472 + 307.06) = 6779; right = round(width + 354.3).
// Letter: ppmm = 23.6453; width round(188 * ppmm) = 4445; half height round(254 * ppmm) = 6006 / 2 =
// 3003; left round(354.68) = 355; top1 236; bottom1 round(3239.45) = 3239; top2 round(3310.39) = 3310;
// bottom2 round(6313.39) = 6313.
const LayoutCase Cases[] = {
    // 300 * 4370 / 1000 = 1311 fits half a page: the full width stays.
    {"A4, wide window", 200, 287, 4724, 1000, 300, {23.62L, 4370, 3236, 354, 4724, 236, 3472, 3543, 6779}},
    // 600 * 4370 / 800 = 3277.5 > 3236: width round(800 * 3236 / 600) = round(4314.67) = 4315.
    {"A4, 800 x 600", 200, 287, 4724, 800, 600, {23.62L, 4315, 3236, 354, 4669, 236, 3472, 3543, 6779}},
    // A high window is narrowed to what half a page holds: round(800 * 3236 / 1200) = 2157.
    {"A4, high window", 200, 287, 4724, 800, 1200, {23.62L, 2157, 3236, 354, 2511, 236, 3472, 3543, 6779}},
    {"Letter, wide window",
     203,
     267,
     4800,
     1000,
     300,
     {4800.0L / 203, 4445, 3003, 355, 4800, 236, 3239, 3310, 6313}},
    // 600 * 4445 / 800 = 3333.75 > 3003: width round(800 * 3003 / 600) = 4004, right round(4358.68).
    {"Letter, 800 x 600",
     203,
     267,
     4800,
     800,
     600,
     {4800.0L / 203, 4004, 3003, 355, 4359, 236, 3239, 3310, 6313}},
};

TEST(HalfPageLayout, PortraitPagesByHand) {
    for (const LayoutCase& c : Cases) {
        SCOPED_TRACE(c.Name);
        const HalfPageLayout l = LayOutHalfPages(c.HorzMm, c.VertMm, c.WidthPx, c.ClientW, c.ClientH);
        const HalfPageLayout& e = c.Expected;
        EXPECT_NEAR(static_cast<double>(l.PixelsPerMm), static_cast<double>(e.PixelsPerMm), 1e-9);
        EXPECT_EQ(l.Width, e.Width);
        EXPECT_EQ(l.HalfHeight, e.HalfHeight);
        EXPECT_EQ(l.Left, e.Left);
        EXPECT_EQ(l.Right, e.Right);
        EXPECT_EQ(l.Top1, e.Top1);
        EXPECT_EQ(l.Bottom1, e.Bottom1);
        EXPECT_EQ(l.Top2, e.Top2);
        EXPECT_EQ(l.Bottom2, e.Bottom2);
        // Whatever the window, its sheet never runs higher than the half page it is given.
        EXPECT_LE(static_cast<double>(c.ClientH) * (l.Right - l.Left) / c.ClientW, l.Bottom1 - l.Top1 + 0.5);
    }
}

std::vector<std::string> PageStarts(const std::vector<std::string>& lines) {
    std::vector<std::string> heads;
    for (const std::string& line : lines)
        if (line.find("Page: ") != std::string::npos) heads.push_back(line);
    return heads;
}

TEST(FacetListing, NewCrownListsTheTableAndTheGirdlePlane) {
    auto gem = NewGem();
    const std::vector<std::string> lines = FacetListingLines(*gem, "c:/designs/new.lfx");
    // Head: two empty lines, the page line, two empty lines, the column line, two empty lines.
    ASSERT_EQ(lines.size(), 8u + 2u);
    EXPECT_EQ(lines[2], std::string(15, ' ') + "Page:     1" + std::string(20, ' ') + "c:/designs/new.lfx");
    EXPECT_EQ(lines[5].size(), 150u);
    EXPECT_EQ(lines[5].substr(0, 20), std::string(15, ' ') + "  i  ");
    EXPECT_EQ(lines[5].substr(140), "     angle");
    EXPECT_EQ(lines[8].substr(15, 5), "   -1");
    EXPECT_EQ(lines[9].substr(15, 5), "    0");
    EXPECT_EQ(FacetListingText(*gem, "x").find('\f'), std::string::npos);
}

TEST(FacetListing, SixtyFacetsBreakAfterFiftyLinesWithAFormFeed) {
    auto gem = NewGem('c', 12, 96);
    for (Real angle : {90, 45, 35, 25, 15})
        ASSERT_TRUE(CutByAngle(*gem, angle, 2, 50 - angle / 5));
    ASSERT_EQ(gem->FacetCount, 60);
    const std::vector<std::string> lines = FacetListingLines(*gem, "f.lfx");
    // Facets -1 ... 60 are 62 lines: 50 on the first page, 12 on the second.
    const std::vector<std::string> heads = PageStarts(lines);
    ASSERT_EQ(heads.size(), 2u);
    EXPECT_NE(heads[1].find("Page:     2"), std::string::npos);
    const auto feed = std::find(lines.begin(), lines.end(), std::string(1, '\f'));
    ASSERT_NE(feed, lines.end());
    const auto feedAt = static_cast<std::size_t>(feed - lines.begin());
    EXPECT_EQ(feedAt, 8u + 50u); // right after the 50th facet line of page 1
    EXPECT_EQ(lines[feedAt - 1].substr(15, 5), "   48");
    EXPECT_EQ(lines[feedAt + 9].substr(15, 5), "   49"); // feed, then the head of page 2
    EXPECT_EQ(lines.size(), 8u + 50u + 1u + 8u + 12u);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), std::string(1, '\f')), 1);

    // The text as sent: CR LF after every line, the form feed on a line of its own.
    const std::string text = FacetListingText(*gem, "f.lfx");
    EXPECT_NE(text.find("\r\n\f\r\n\r\n\r\n"), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 2), "\r\n");
}

TEST(FacetListing, FieldWidthsOfOneFacetLine) {
    auto gem = RoundBrilliantCrown();
    // Facet 1: the girdle facet at index 3, normal (-0.98078528, -0.19509032, 0), 50 from the axis.
    const std::vector<std::string> lines = FacetListingLines(*gem, "rb.lfx");
    // 19 blanks and "1"; 13 and "-0.9808"; 13 and "-0.1951"; 14 and "0.0000"; 12 and "-50.0000"; 14 and
    // "3.00"; 13 and "90.00".
    const std::string expected = "                   1             -0.9808             -0.1951           "
                                 "   0.0000            -50.0000              3.00             90.00";
    EXPECT_EQ(lines[10], expected);
    EXPECT_EQ(lines[10].size(), 136u);
}

} // namespace
