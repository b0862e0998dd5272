// The design's text in its code page (Windows-1252), checked against the C library's own converter, and
// the angle scaling on a pavilion and at its refusals.
#include "gem/code_page.h"
#include "gem/gem.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"

#include <gtest/gtest.h>

#include <cmath>
#include <iconv.h>

namespace {
// The character glibc's converter gives for a byte of Windows-1252; nothing for a byte it leaves free.
std::optional<char32_t> IconvCharacter(unsigned char byte) {
    iconv_t converter = iconv_open("UTF-32LE", "WINDOWS-1252");
    if (converter == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    char in[1] = {static_cast<char>(byte)};
    unsigned char out[4] = {};
    char* inAt = in;
    char* outAt = reinterpret_cast<char*>(out);
    std::size_t inLeft = 1, outLeft = 4;
    const std::size_t done = iconv(converter, &inAt, &inLeft, &outAt, &outLeft);
    iconv_close(converter);
    if (done == static_cast<std::size_t>(-1) || outLeft != 0) return std::nullopt;
    return char32_t(out[0]) | char32_t(out[1]) << 8 | char32_t(out[2]) << 16 | char32_t(out[3]) << 24;
}

std::unique_ptr<TGem> ReadData(const std::string& name) {
    auto gem = std::make_unique<TGem>();
    EXPECT_TRUE(
        Done(gem->ReadDesign(std::string(LAPIDRAW_TEST_DATA) + "/lfx/" + name, TGem::FileMode::Open)));
    return gem;
}

Real Tan(Real degrees) {
    return std::tan(degrees * RadPerDeg);
}
} // namespace

TEST(CodePage, EveryByteReadsAsWindows1252AndBack) {
    int compared = 0;
    for (int b = 0; b <= 0xFF; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        EXPECT_EQ(CodePageByte(CodePageCharacter(byte)), byte) << b;
        if (const std::optional<char32_t> expected = IconvCharacter(byte)) {
            EXPECT_EQ(CodePageCharacter(byte), *expected) << b;
            ++compared;
        }
    }
    if (compared == 0) GTEST_SKIP() << "the C library has no Windows-1252 converter";
    EXPECT_GE(compared, 251); // all but the five free bytes
}

TEST(CodePage, TypographyIsKeptAndWhatTheFileCannotHoldIsRefused) {
    const struct {
        char32_t character;
        std::optional<unsigned char> byte;
    } cases[] = {{U'\u2013', 0x96},         {U'\u20AC', 0x80},
                 {U'\u2018', 0x91},         {U'\u2019', 0x92},
                 {U'\u201C', 0x93},         {U'\u201D', 0x94},
                 {U'\u00E9', 0xE9},         {U'A', 'A'},
                 {U'\u00F8', std::nullopt}, // the reader turns 0xF8 into the degree sign
                 {U'\u0394', std::nullopt}, {U'\U0001F48E', std::nullopt},
                 {U'\u0080', std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(DesignTextByte(c.character), c.byte) << std::hex << std::uint32_t(c.character);
}

TEST(CodePage, TextLinesOfTheCodePageSurviveTheDesignFile) {
    auto gem = RoundBrilliantCrown();
    const std::string text = "\x93Quoted\x94 \x96 \x80 12 \x91single\x92 \xE9";
    gem->SetTextLine(3, text);
    RoundTripThroughFile(*gem);
    EXPECT_EQ(gem->TextLine(3), text);
}

// Raising the old angle far beyond its slope is not "not found": the old angle is there.
TEST(ChangeAngles, ARefusalBeyondTheReachStillFindsTheOldAngle) {
    auto gem = RoundBrilliantCrown();
    ASSERT_TRUE(CutByAngle(*gem, 10, 0, 10));
    EXPECT_TRUE(gem->HasCutAngle(10));
    EXPECT_TRUE(gem->HasCutAngle(10.05L));
    EXPECT_FALSE(gem->HasCutAngle(10.2L));
    EXPECT_FALSE(gem->HasCutAngle(90)); // girdle facets are never a source
    EXPECT_FALSE(gem->ScaleAngles(89.99L, 10));
}

// The pavilion keeps its side: a 41 degree main becomes 43, never 180 - 43, and every other angle
// follows tan(new) = m tan(old), m = tan 43 / tan 41.
TEST(ChangeAngles, PavilionAnglesScaleOnTheirOwnSide) {
    auto gem = ReadData("round_brilliant_pavilion.lfx");
    const Real volume = gem->Volume();
    std::vector<Real> before;
    for (int f = 1; f <= gem->FacetCount; ++f)
        before.push_back(gem->FacetAngle(f));
    const Real source = 41, target = 43;
    ASSERT_TRUE(gem->HasCutAngle(source));
    ASSERT_TRUE(gem->ScaleAngles(target, source));
    gem->Recompute();
    const Real m = Tan(target) / Tan(source);
    for (int f = 1; f <= gem->FacetCount; ++f) {
        const Real old = before[static_cast<std::size_t>(f - 1)];
        const Real expected = std::fabs(old - 90) < 0.01L ? old : std::atan(m * Tan(old)) / RadPerDeg;
        EXPECT_NEAR(gem->FacetAngle(f), expected, 1e-6L) << f;
    }
    // Every plane keeps its line on the girdle and its slope grows by m: the stone is stretched along
    // its axis by m, and so is its volume.
    EXPECT_NEAR(gem->Volume(), volume * m, 1e-6L * volume);
}
