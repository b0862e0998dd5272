// The faceting diagram's tier table: every tier of the stone in cutting order with its instruction.
#include "gem/numtext.h"
#include "sheet/faceting_diagram.h"
#include "sheet/recording_surface.h"
#include "stone/stone_instructions.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

namespace {
std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return s;
}

// The recorded text that begins a tier's row, and its position among the rows.
const RecordedText* RowOf(const RecordingSurface& surface, const std::string& name) {
    for (const RecordedText& t : surface.Texts)
        if (t.Font == "Courier New" && t.Text.rfind(name + " ", 0) == 0) return &t;
    return nullptr;
}

struct DiagramCase {
    bool Crown, Pavilion;
};

class DiagramInstructions : public ::testing::TestWithParam<DiagramCase> {};

TEST_P(DiagramInstructions, EveryTierRowNamesAngleIndicesAndInstructionInCuttingOrder) {
    auto crown = RoundBrilliantCrown();
    auto pavilion = RoundBrilliantPavilion();
    const TGem* c = GetParam().Crown ? crown.get() : nullptr;
    const TGem* p = GetParam().Pavilion ? pavilion.get() : nullptr;
    Stone stone;
    ASSERT_TRUE(Done(c && p ? MakeStone(*c, *p, stone) : MakeHalfStone(c ? *c : *p, stone)));
    RecordingSurface surface(DiagramPage(Paper::A4).Width, DiagramPage(Paper::A4).Height);
    DrawFacetingDiagram(surface, DiagramOf(c, p, stone, "round"));

    const std::vector<TierInstruction> expected =
        c && p ? InstructionsOf(StoneCuttingInstructions(*c, *p)) : CuttingInstructions(c ? *c : *p);
    ASSERT_GE(expected.size(), 3u);
    int lastY = -1;
    for (const TierInstruction& i : expected) {
        const RecordedText* row = RowOf(surface, Upper(i.Tier.Name));
        ASSERT_NE(row, nullptr) << i.Tier.Name;
        EXPECT_NE(row->Text.find(fixed(i.Tier.Angle, 0, 2) + "\xB0"), std::string::npos) << row->Text;
        EXPECT_NE(row->Text.find(IndicesText(i.Tier.Indices).substr(0, 8)), std::string::npos) << row->Text;
        EXPECT_NE(Upper(row->Text).find(Upper(i.Text())), std::string::npos) << row->Text;
        EXPECT_GT(row->Y, lastY) << row->Text;
        EXPECT_LT(row->Y + row->Height, surface.DeviceHeight()) << "off the page: " << row->Text;
        lastY = row->Y;
    }
}

INSTANTIATE_TEST_SUITE_P(Halves, DiagramInstructions,
                         ::testing::Values(DiagramCase{true, true}, DiagramCase{true, false},
                                           DiagramCase{false, true}));
} // namespace
