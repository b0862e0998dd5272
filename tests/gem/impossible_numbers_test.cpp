// Non-finite and impossible numbers are refused wherever the model takes them: the number reader, the
// design file, the cut of a facet group and the whole-design operations.
#include "gem/new_design_input.h"
#include "gem/numread.h"
#include "tests/support/asc_files.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"
#include "tests/support/hostile_files.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace {
std::string WithoutVersionLine(const std::string& text) {
    return text.substr(text.find('\n') + 1);
}

// The design base file with one line replaced.
std::string BaseWith(const std::string& from, const std::string& to) {
    std::string text = BaseFile(FileFormat::Design);
    const std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
}
} // namespace

TEST(ImpossibleNumbers, ReadRealTakesOnlyFiniteNumbersWithinTheReach) {
    for (const char* bad : {"nan", "NaN", "inf", "-inf", "infinity", "1e400", "-1e400", "1e5000", "1e-5000",
                            "100000.001", "-100001", "1e30", "0x10"})
        EXPECT_FALSE(ReadReal(bad).has_value()) << bad;
    EXPECT_EQ(RealFaultOf("1e400"), RealFault::OutOfReach);
    EXPECT_EQ(RealFaultOf("nan"), RealFault::NotANumber);
    EXPECT_EQ(ReadReal("100000"), EngineReach);
    EXPECT_EQ(ReadReal("-1e5"), -EngineReach);
    ASSERT_TRUE(ReadReal("-0").has_value());
    EXPECT_TRUE(std::signbit(*ReadReal("-0")));
}

TEST(ImpossibleNumbers, DesignFilesWithImpossibleNumbersAreRefusedWithLineAndReason) {
    const std::string main = "f -0.70710678  0.00000000 -0.70710678 -20.000000    0.000";
    const struct {
        const char* what;
        std::string text;
        const char* reason;
    } cases[] = {
        {"a plane distance of 1e400", BaseWith(main, "f -0.70710678 0 -0.70710678 1e400 0"),
         "line 10: the number 1e400 lies beyond the engine's reach of 100000"},
        {"a facet normal of 0 0 0", BaseWith(main, "f 0 0 0 -20 0"),
         "line 10: the facet normal is not a unit vector"},
        {"2147483647 parts on a 96 gear", BaseWith("s96 4 cn0", "s96 2147483647 cn0"),
         "line 2: the number of identical parts must not exceed the 96 teeth"},
        {"an offset of 1e30", BaseWith("s96 4 cn0", "s96 4 cn1e30"), "line 2: a whole number was expected"},
        {"a gear of -2^31", BaseWith("s96 4 cn0", "s-2147483648 4 cn0"),
         "line 2: the system index is out of range"},
        {"97 parts in an m record", BaseWith("m 4 m", "m 97 m"),
         "line 9: the number of identical parts must not exceed the 96 teeth"},
        {"a second header", BaseWith("m 4 m", "s96 8 cm0"),
         "line 9: a second s or q record would drop the facets read so far"},
    };
    TempFile file("impossible.lfx");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        auto gem = RoundBrilliantCrown();
        const std::string before = WithoutVersionLine(gem->DesignFileText());
        file.Write(c.text);
        const FileResult read = gem->ReadDesign(file.Path(), TGem::FileMode::Open);
        EXPECT_FALSE(read);
        EXPECT_EQ(read.Error().Message, " Cannot read file " + file.Path() + ", " + c.reason);
        EXPECT_EQ(WithoutVersionLine(gem->DesignFileText()), before);
    }
}

TEST(ImpossibleNumbers, PartsThatDoNotDivideTheGearAreStillRead) {
    TempFile design("five.lfx"), asc("five.asc");
    auto gem = std::make_unique<TGem>();
    design.Write(BaseWith("s96 4 cn0", "s96 5 cn0"));
    ASSERT_TRUE(Done(gem->ReadDesign(design.Path(), TGem::FileMode::Open)));
    EXPECT_EQ(gem->DesignParts, 5);
    asc.Write("g 96 0\ny 5 n\na 45 0.4 0\n");
    ASSERT_TRUE(Done(gem->ReadAsc(asc.Path())));
    ASSERT_TRUE(gem->ImportAsc('c'));
    EXPECT_EQ(gem->DesignParts, 5);
}

TEST(ImpossibleNumbers, CutFacetGroupRefusesAPlaneWithoutUnitNormalOrBeyondTheReach) {
    auto gem = RoundBrilliantCrown();
    const std::string before = WithoutVersionLine(gem->DesignFileText());
    const Plane planes[] = {{{-1, 0, 0}, -(EngineReach + 1)},
                            {{0, 0, 0}, -10},
                            {{-2, 0, 0}, -10},
                            {{-1, 0, 0}, std::nanl("")},
                            {{std::nanl(""), 0, 0}, -10}};
    for (const Plane& plane : planes)
        EXPECT_THROW(gem->CutFacetGroup(gem->FacetCount + 1, plane), RangeError);
    EXPECT_EQ(WithoutVersionLine(gem->DesignFileText()), before);
}

TEST(ImpossibleNumbers, WholeDesignOperationsRefuseToLeaveTheReach) {
    auto gem = RoundBrilliantCrown();
    ASSERT_TRUE(CutByAngle(*gem, 10, 0, 10)); // a flat facet, for the angle scaling
    const std::string before = WithoutVersionLine(gem->DesignFileText());
    EXPECT_FALSE(gem->Resize(EngineReach));
    EXPECT_FALSE(gem->ShiftAlongAxis(EngineReach));
    EXPECT_FALSE(gem->ScaleAngles(89.9999L, 10)); // the table would rise beyond the reach
    gem->ShiftBoundingPlane(-EngineReach);
    EXPECT_EQ(WithoutVersionLine(gem->DesignFileText()), before);
    gem->SetBoundingPlane(1e9L);
    EXPECT_EQ(gem->Dist(-1), -EngineReach);

    // Stretched along y almost to nothing, a facet facing y would have to move beyond the reach.
    auto square = NewGem('c', 4, 96, false);
    ASSERT_TRUE(CutByAngle(*square, 90, 0, 20)); // facets facing x and y
    EXPECT_FALSE(square->StretchY(1e9L));
    EXPECT_EQ(square->DesignParts, 4);
}

TEST(ImpossibleNumbers, TheSystemIndexOfMinus2To31HasNoMagnitudeAndIsRefused) {
    NewDesignInput input;
    input.SystemIndexText = "-2147483648";
    input.PartsText = "8";
    EXPECT_EQ(CheckNewDesignInput(input).Field, NewDesignField::SystemIndex);
    auto gem = NewGem();
    EXPECT_THROW(gem->NewDesign('c', 8, INT_MIN, false, 0, true), RangeError);
}

TEST(ImpossibleNumbers, AGroupOfTheLargestPartsIsARangeErrorNotAnOverflow) {
    auto gem = NewGem('c', INT_MAX, INT_MAX, true);
    Plane plane;
    ASSERT_TRUE(Made(gem->PlaneFromAngleIndexDist(45, 0.3L, 10), plane));
    EXPECT_THROW(gem->CutFacetGroup(1, plane), RangeError);
    EXPECT_EQ(gem->FacetCount, 0);
}
