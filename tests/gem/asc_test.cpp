// ASC files: the exact lines written, the reading rules, the import's symmetry, and hostile input.
#include "editing/undo_history.h"
#include "gem/gem.h"
#include "tests/support/asc_files.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"
#include "tests/support/polyhedron_checks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <memory>

namespace {
void ExpectNoFaults(const std::vector<std::string>& faults, const std::string& what) {
    for (const auto& fault : faults)
        ADD_FAILURE() << what << ": " << fault;
}

// Reads the text as an ASC file into the gem's buffer.
FileResult ReadText(TGem& gem, const std::string& text) {
    TempFile file("design.asc");
    file.Write(text);
    return gem.ReadAsc(file.Path());
}

std::vector<std::string> Exported(TGem& gem) {
    TempFile file("out.asc");
    EXPECT_TRUE(Done(gem.WriteAsc(file.Path())));
    return file.Lines();
}

// The crown of a small octagon on 96 teeth, no mirror, as a file.
const char* const OctagonCrown = "GemCad 5.0\r\n"
                                 "g 96 0.0\r\n"
                                 "y 8 n\r\n"
                                 "H Octagon\r\n"
                                 "a -90.00 1.0 0 12 24 36 48 60 72 84\r\n"
                                 "a 40.00 0.9 0 12 24 36 48 60 72 84\r\n"
                                 "a 0.00 0.30 0\r\n"
                                 "a -41.00 0.9 0 12 24 36 48 60 72 84\r\n";
} // namespace

TEST(AscExport, NewCrownWritesFiveLines) {
    auto gem = NewGem('c', 8, 96, false);
    const auto lines = Exported(*gem);
    const std::vector<std::string> expected = {"GemCad 10.00 c", "g     96      0", "y 8 n",
                                               "a 0.00 0.51064 0", "a 0.00 -0.00010 0"};
    EXPECT_EQ(lines, expected);
}

TEST(AscExport, LinesEndWithCrLf) {
    auto gem = NewGem('p', 16, -64, true, 3);
    TempFile file("out.asc");
    ASSERT_TRUE(gem->WriteAsc(file.Path()));
    EXPECT_EQ(file.Read(),
              "GemCad 10.00 p\r\ng    -64      3\r\ny 16 y\r\na 0.00 -2.12766 0\r\na 0.00 0.00010 0\r\n");
}

TEST(AscExport, TierIndicesAreWrittenOnceEachInMemberOrder) {
    auto gem = NewGem('c', 4, 96, false);
    ASSERT_TRUE(CutByAngle(*gem, 40, 3, 20)); // indices 3, 27, 51, 75
    // Raw index 99 is file index 3 again; sorted next to index 3 it is written once.
    gem->SetIndex(4, 99);
    gem->Facets[4].ShownIndex = 3;
    const auto lines = Exported(*gem);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5], "a  40.00 0.42553 3 27 51");
}

TEST(AscExport, FractionalIndexHasTwoDecimals) {
    auto gem = NewGem('c', 2, 96, false);
    ASSERT_TRUE(CutByAngle(*gem, 45, 12.5L, 20));
    ASSERT_TRUE(CutByAngle(*gem, 45, 12, 30));
    const auto lines = Exported(*gem);
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[5], "a  45.00 0.42553 12.50 60.50");
    EXPECT_EQ(lines[6], "a  45.00 0.63830 12 60");
}

TEST(AscExport, NegativeGearCountsTheOtherWayAndPavilionAnglesAreNegative) {
    auto gem = NewGem('p', 1, -96, false, 2);
    ASSERT_TRUE(CutByAngle(*gem, 41, 10, 30)); // f = 96 - (10 - 2) = 88
    const auto lines = Exported(*gem);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[5], "a -41.00 0.63830 88");
}

TEST(AscExport, TextLinesBecomeHeaderAndFootnoteLines) {
    auto gem = NewGem('c', 8, 96, false);
    gem->SetTextLine(CutNameLine, "  Title  ");
    gem->SetTextLine(AuthorLine, "Author");
    gem->SetTextLine(2, " note");
    const auto lines = Exported(*gem);
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[5], "H Title");
    EXPECT_EQ(lines[6], "H Author");
    EXPECT_EQ(lines[7], "F note");
}

TEST(AscExport, UnwritableFileReportsTheCode) {
    auto gem = NewGem();
    const FileResult written = gem->WriteAsc("/nonexistent-folder/x.asc");
    EXPECT_FALSE(written);
    EXPECT_EQ(written.Error().OsError, ENOENT);
    EXPECT_EQ(written.Error().Message, " Cannot write file /nonexistent-folder/x.asc. Error:    2");
}

TEST(AscExport, LongPathIsWrittenWhereNamedAndKeptCutInFileName) {
    auto gem = NewGem('c', 8, 96, false);
    TempFile file(std::string(90, 'x') + ".asc");
    ASSERT_TRUE(Done(gem->WriteAsc(file.Path())));
    EXPECT_EQ(file.Lines().size(), 5u);
    EXPECT_EQ(gem->FileName, file.Path().substr(0, 80));
}

TEST(AscExport, RoundTripKeepsIndicesAndAnglesAndScalesDistancesBy49To47) {
    auto original = RoundBrilliantCrown();
    original->RoundIndices(); // angles on a tenth of a degree survive the two decimals
    original->SetTextLine(CutNameLine, "Round");
    const auto lines = Exported(*original);
    TempFile file("rb.asc");
    ASSERT_TRUE(original->WriteAsc(file.Path()));

    auto copy = std::make_unique<TGem>();
    ASSERT_TRUE(Done(copy->ReadAsc(file.Path())));
    ASSERT_TRUE(copy->ImportAsc('c'));
    ASSERT_EQ(copy->FacetCount, original->FacetCount);
    for (int f = 1; f <= original->FacetCount; ++f) {
        EXPECT_NEAR(copy->Index(f), original->Index(f), 1e-9L) << f;
        EXPECT_NEAR(copy->FacetAngle(f), original->FacetAngle(f), 1e-9L) << f;
        EXPECT_NEAR(copy->Dist(f), original->Dist(f) * 49 / 47, 0.001L) << f;
    }
    EXPECT_NEAR(copy->Dist(-1), original->Dist(-1) * 49 / 47, 0.001L);
    EXPECT_EQ(copy->Parts, 8);
    EXPECT_TRUE(copy->Mirror);
    EXPECT_EQ(copy->TextLine(1), " Round");
    ExpectNoFaults(CheckInvariants(*copy, 0.9L), "round trip");
}

TEST(AscExport, NewCrownTableComesBackAt49To47) {
    auto gem = NewGem('c', 8, 96, false);
    TempFile file("empty.asc");
    ASSERT_TRUE(gem->WriteAsc(file.Path()));
    ASSERT_TRUE(gem->ReadAsc(file.Path()));
    ASSERT_TRUE(gem->ImportAsc('c'));
    EXPECT_NEAR(-gem->Dist(-1), 25.02L, 0.005L);
    EXPECT_EQ(gem->FacetCount, 0);
}

// ---- Reading ----

TEST(AscRead, BufferHoldsGearSymmetryHeadersAndRawIndices) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(ReadText(*gem, "GemCad 4.0\ng -96 48.0 extra\ny 8 y\nH  first \nI 1.54\n"
                               "a 40.00 0.64 3 n Name 9 G 15 21\n 27\tX 33\n\na -42 0.7\n 45 n\n"));
    EXPECT_EQ(gem->Asc.Gear, -96);
    EXPECT_EQ(gem->Asc.Offset, 48);
    EXPECT_EQ(gem->Asc.Parts, 8);
    EXPECT_EQ(gem->Asc.Mirror, 'y');
    EXPECT_EQ(gem->Asc.Header[1], "  first ");
    ASSERT_EQ(gem->Asc.LineCount, 2);
    const TGem::AscRecord& first = gem->Asc.Lines[1];
    EXPECT_EQ(first.AscAngle, 40);
    EXPECT_EQ(first.AscDistance, 0.64L);
    // 3 and 9 (the name is skipped, G ends the line), continuation 33 ("27\tX" is no number);
    // raw = 48 - f, wrapped once
    ASSERT_EQ(first.AscIndexCount, 3);
    EXPECT_EQ(first.AscIndices[1], 45);
    EXPECT_EQ(first.AscIndices[2], 39);
    EXPECT_EQ(first.AscIndices[3], 15);
    ASSERT_EQ(gem->Asc.Lines[2].AscIndexCount, 1);
    EXPECT_EQ(gem->Asc.Lines[2].AscIndices[1], 3); // 48 - 45
}

TEST(AscRead, IndexConversionWrapsOnceEachWay) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(ReadText(*gem, "g 64 64\na 30 0.5 16 0 63.5\n"));
    EXPECT_EQ(gem->Asc.Lines[1].AscIndices[1], 16);
    EXPECT_EQ(gem->Asc.Lines[1].AscIndices[2], 0);
    EXPECT_EQ(gem->Asc.Lines[1].AscIndices[3], 63.5L);
}

TEST(AscRead, GearLineWithoutLetterAndMissingSymmetryLine) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(ReadText(*gem, "GemCad 5.0\n96 0.0\nI 1.54\na -90 1 0 48\n"));
    EXPECT_EQ(gem->Asc.Gear, 96);
    EXPECT_EQ(gem->Asc.Parts, 1);
    EXPECT_EQ(gem->Asc.Mirror, 'n');
    ASSERT_TRUE(gem->ImportAsc('p'));
    EXPECT_EQ(gem->FacetCount, 2);
    EXPECT_EQ(gem->Parts, 1);
    EXPECT_FALSE(gem->Mirror);
}

TEST(AscRead, TenthHeaderLineIsSkipped) {
    std::string text = "g 96 0\n";
    for (int k = 1; k <= 10; ++k)
        text += "H line " + std::to_string(k) + "\n";
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(ReadText(*gem, text));
    EXPECT_EQ(gem->Asc.Header[9], " line 9");
    ASSERT_TRUE(gem->ImportAsc('c'));
    EXPECT_EQ(gem->TextLine(9), " line 9");
    EXPECT_EQ(gem->TextLine(FileNameLine), "");
}

TEST(AscRead, NewFileStartsFromACleanBuffer) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(ReadText(*gem, "g 80 5\ny 5 y\nH old\na 30 0.5 1 2 3\n"));
    ASSERT_TRUE(ReadText(*gem, "g 96 0\na 30 0.5 7\n"));
    EXPECT_EQ(gem->Asc.Offset, 0);
    EXPECT_EQ(gem->Asc.Parts, 1);
    EXPECT_EQ(gem->Asc.Mirror, 'n');
    EXPECT_EQ(gem->Asc.Header[1], "");
    EXPECT_EQ(gem->Asc.LineCount, 1);
    EXPECT_EQ(gem->Asc.Lines[1].AscIndexCount, 1);
}

TEST(AscRead, UnusableFilesAreRefusedWithAClearMessage) {
    const std::pair<const char*, const char*> cases[] = {
        {"y 8 y\na 30 0.5 1\n", "no gear line"},
        {"g 2.4 0\n", "the gear of 2.40 teeth is not usable"},
        {"g 96 0\ny 0 n\n", "0 identical parts do not fit a gear of 96 teeth"},
        {"g 96 0\ny 97 n\n", "97 identical parts do not fit a gear of 96 teeth"},
        {"g 96 0\ny x n\n", "line 2: the symmetry line needs a whole number of parts"},
        {"g 96\n", "line 1: the gear line needs the number of teeth and the index offset"},
        {"g 96 0\na 30\n", "line 2: a facet line needs an angle and a distance"},
        {"g 96 0\na x 0.5 3\n", "line 2: a facet line needs an angle and a distance"},
        {"g 1e9999 0\n", "line 1: the number 1e9999 lies beyond the engine's reach"},
    };
    for (const auto& [text, message] : cases) {
        auto gem = NewGem('c', 8, 96, false);
        ASSERT_TRUE(ReadText(*gem, "g 64 0\na 30 0.5 3\n"));
        const FileResult read = ReadText(*gem, text);
        EXPECT_FALSE(read) << text;
        EXPECT_NE(read.Error().Message.find(message), std::string::npos) << read.Error().Message;
        EXPECT_EQ(read.Error().Message.rfind("File ", 0), 0u) << read.Error().Message;
        // Nothing of the earlier file is left to import.
        EXPECT_EQ(gem->Asc.LineCount, 0);
        EXPECT_FALSE(gem->ImportAsc('c'));
        EXPECT_EQ(gem->SystemIndex, 96);
    }
}

TEST(AscRead, MissingFileGivesTheReadMessage) {
    auto gem = std::make_unique<TGem>();
    EXPECT_EQ(gem->ReadAsc("/nonexistent-folder/x.asc").Error().Message,
              " Cannot read file /nonexistent-folder/x.asc. Error:    2");
}

TEST(AscRead, LimitsNameFileLineAndLimit) {
    std::string manyLines = "g 96 0\n";
    for (int k = 1; k <= 501; ++k)
        manyLines += "a 30 0.5 1\n";
    std::string manyIndices = "g 96 0\na 30 0.5";
    for (int k = 1; k <= 150; ++k)
        manyIndices += " 1";
    manyIndices += "\n";
    for (int k = 1; k <= 51; ++k)
        manyIndices += " 2";
    manyIndices += "\n";

    auto gem = RoundBrilliantCrown();
    const int facets = gem->FacetCount;
    TempFile file("big.asc");
    file.Write(manyLines);
    EXPECT_EQ(gem->ReadAsc(file.Path()).Error().Message,
              "File " + file.Path() + ", line 502: more than 500 facet lines");
    file.Write(manyIndices);
    EXPECT_EQ(gem->ReadAsc(file.Path()).Error().Message,
              "File " + file.Path() + ", line 3: more than 200 indices on one facet line");
    EXPECT_EQ(gem->FacetCount, facets);
}

// ---- Import ----

TEST(AscImport, CrownTakesPositiveAnglesGirdleAndTable) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(ReadText(*gem, OctagonCrown));
    ASSERT_TRUE(gem->ImportAsc('c'));
    EXPECT_EQ(gem->FacetCount, 16);
    EXPECT_EQ(gem->GroupParts(1), 8);
    EXPECT_NEAR(gem->FacetAngle(1), 90, 1e-9L);
    EXPECT_NEAR(gem->FacetAngle(9), 40, 1e-9L);
    EXPECT_NEAR(gem->Dist(-1), -0.3L * 49, 1e-12L);
    EXPECT_EQ(gem->TextLine(1), " Octagon");
    ExpectNoFaults(CheckExactPolyhedron(*gem), "octagon crown");
}

TEST(AscImport, PavilionTakesNegativeAnglesAndNegativeCulet) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(ReadText(*gem, std::string(OctagonCrown) + "a 0.00 -0.5 0\n"));
    ASSERT_TRUE(gem->ImportAsc('p'));
    EXPECT_EQ(gem->FacetCount, 16);
    EXPECT_NEAR(gem->FacetAngle(9), 41, 1e-9L);
    EXPECT_NEAR(gem->Dist(-1), -0.5L * 49, 1e-12L);
    ExpectNoFaults(CheckInvariants(*gem, 0.9L), "octagon pavilion");
}

TEST(AscImport, SixteenIndicesOfAMirroredGroupAreOneCut) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(ReadText(*gem, "g 96 0\ny 8 y\na 40 0.8 3 9 15 21 27 33 39 45 51 57 63 69 75 81 87 93\n"));
    ASSERT_TRUE(gem->ImportAsc('c'));
    EXPECT_EQ(gem->FacetCount, 16);
    EXPECT_EQ(gem->GroupParts(1), 8);
    EXPECT_EQ(gem->SymChar(1), 'm');
    for (int j = 1; j <= 16; ++j)
        EXPECT_EQ(gem->Asc.Lines[1].AscIndices[j], TGem::AscUsed);
}

TEST(AscImport, IndicesTheSymmetryDoesNotMakeStartFurtherGroups) {
    auto gem = std::make_unique<TGem>();
    // 4-fold: 0 makes 0 24 48 72; 6 then makes 6 30 54 78
    ASSERT_TRUE(ReadText(*gem, "g 96 0\ny 4 n\na 40 0.8 0 24 6 48 72 30 54 78\n"));
    ASSERT_TRUE(gem->ImportAsc('c'));
    EXPECT_EQ(gem->FacetCount, 8);
    EXPECT_EQ(gem->GroupParts(1), 4);
    EXPECT_EQ(gem->GroupParts(5), 4);
    EXPECT_NEAR(gem->Index(5), 6, 1e-9L);
}

TEST(AscImport, TierWithLessSymmetryGetsOnlyItsListedFacets) {
    auto gem = std::make_unique<TGem>();
    // An 8-fold mirrored design whose tiers list 4, 2 and 1 facets.
    ASSERT_TRUE(ReadText(*gem, "g 96 0\ny 8 y\na 40 0.8 0 24 48 72\na 30 0.7 10 86\na 20 0.6 5\n"));
    ASSERT_TRUE(gem->ImportAsc('c'));
    ASSERT_EQ(gem->FacetCount, 7);
    EXPECT_EQ(gem->GroupParts(1), 4); // 4-fold on the mirror lines
    EXPECT_EQ(gem->GroupParts(5), 1); // one mirrored pair: 10 and 86
    EXPECT_EQ(gem->SymChar(5), 'm');
    EXPECT_NEAR(gem->Index(6), 86, 1e-9L);
    EXPECT_EQ(gem->GroupParts(7), 1); // a single facet
    EXPECT_EQ(gem->SymChar(7), ' ');
    EXPECT_EQ(gem->Parts, 8); // the file's symmetry again
    EXPECT_TRUE(gem->Mirror);
    gem->Recompute();
    ExpectNoFaults(CheckInvariants(*gem, 0.9L), "lower-symmetry tiers");
}

// Where the symmetry does not divide the gear, a file lists the teeth a cutter dials rather than the
// exact symmetric positions: every facet is cut on a listed index, the symmetry giving way where needed.
// Indices a twentieth of a tooth off the symmetric ones are the file's too, not rounded onto them.
TEST(AscImport, EveryFacetIsCutOnTheIndexTheFileLists) {
    for (const char* name : {"five_on_96.asc", "seven_on_64.asc", "near_symmetric_on_96.asc"})
        for (char type : {'c', 'p'}) {
            SCOPED_TRACE(std::string(name) + " half " + type);
            auto gem = std::make_unique<TGem>();
            ASSERT_TRUE(Done(gem->ReadAsc(std::string(LAPIDRAW_TEST_DATA) + "/asc/" + name)));
            const std::vector<ListedFacet> listed = ListedFacets(*gem, type);
            ASSERT_TRUE(Done(gem->ImportAsc(type)));
            ExpectNoFaults(CompareWithListed(*gem, listed), "listed facets");
            ExpectNoFaults(CheckInvariants(*gem, 0.9L), "polyhedron");
        }
}

TEST(AscImport, SymmetricPositionsWrittenWithTwoDecimalsStayOneGroup) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(gem->ReadAsc(std::string(LAPIDRAW_TEST_DATA) + "/asc/seven_on_64.asc"));
    ASSERT_TRUE(gem->ImportAsc('c'));
    // girdle and 42 degrees: seven single facets each; 33 degrees: one 7-fold group from 4.57
    EXPECT_EQ(gem->GroupParts(1), 1);
    EXPECT_EQ(gem->GroupParts(15), 7);
    EXPECT_NEAR(gem->FacetAngle(15), 33, 1e-9L);
    EXPECT_NEAR(gem->Index(16), 4.57L + 64.0L / 7, 1e-9L);
}

TEST(AscImport, LoopEndsWhenNoPlaneCanBeMade) {
    auto gem = std::make_unique<TGem>();
    // Distance 0 and a negative distance give no plane; an angle of 180 would be horizontal.
    ASSERT_TRUE(ReadText(*gem, "g 96 0\ny 8 n\na 40 0 0 12\na 40 -0.5 3\na 179.9999 0.5 4\n"));
    ASSERT_TRUE(gem->ImportAsc('c'));
    EXPECT_EQ(gem->FacetCount, 0);
    EXPECT_EQ(gem->Dist(-1), -100);
}

TEST(AscImport, TooManyListedFacetsAreRefusedBeforeAnythingChanges) {
    std::string text = "g 96 0\ny 1 n\n";
    for (int k = 0; k < 11; ++k) {
        text += "a " + std::to_string(20 + k) + " 0.5";
        for (int j = 0; j < 200; ++j)
            text += " " + std::to_string(j % 96);
        text += "\n";
    }
    auto gem = RoundBrilliantCrown();
    const int facets = gem->FacetCount;
    ASSERT_TRUE(ReadText(*gem, text));
    EXPECT_EQ(gem->ImportAsc('c').Error().Message,
              "The file lists 2200 facets for the crown; a design holds at most 2000");
    EXPECT_EQ(gem->FacetCount, facets);
    EXPECT_TRUE(gem->ImportAsc('p')); // nothing listed for the pavilion
}

TEST(AscImport, HostileFilesNeverCrashOrHang) {
    std::string junk;
    for (int k = 0; k < 4000; ++k)
        junk += static_cast<char>((k * 7919) % 256);
    const std::string longLine = "g 96 0\na 30 0.5" + std::string(10000, '7') + " 3\n";
    const std::string blanks = "g 96 0\ny 8 y\n          \n \na 30 0.5 3\n     \n";
    const std::string hugeCounts = "g 2147483647 -2147483647\ny 2147483647 y\na 30 0.5 1 2 3\n";
    const std::string nulBytes = std::string("g 96 0\na 30 0.5 3") + '\0' + " 9\n";
    for (const std::string& text : {junk, longLine, blanks, hugeCounts, nulBytes, junk + blanks}) {
        auto gem = RoundBrilliantCrown();
        if (const FileResult read = ReadText(*gem, text); !read) {
            EXPECT_FALSE(read.Error().Message.empty());
            EXPECT_EQ(gem->FacetCount, 48);
            EXPECT_FALSE(gem->ImportAsc('c'));
            EXPECT_EQ(gem->FacetCount, 48);
            continue;
        }
        for (char type : {'c', 'p'}) {
            ASSERT_TRUE(ReadText(*gem, text));
            try {
                static_cast<void>(gem->ImportAsc(type));
            } catch (const RangeError&) {
                // a table overflow is reported like any other
            }
        }
    }
}

TEST(AscImport, EmptyNewDesignIsRecordedForUndo) {
    auto gem = RoundBrilliantCrown();
    ASSERT_TRUE(ReadText(*gem, OctagonCrown));
    UndoHistory history;
    ASSERT_TRUE(gem->ImportAsc('c', [&history](TGem& empty) { ASSERT_TRUE(history.Record(empty)); }));
    EXPECT_EQ(history.Current(), 0);
    EXPECT_EQ(history.Top(), 0);
    gem->Recompute();
    EXPECT_EQ(gem->FacetCount, 16);
    ASSERT_TRUE(Done(history.Reload(*gem)));
    EXPECT_EQ(gem->FacetCount, 0);
    EXPECT_EQ(gem->Parts, 8);
    EXPECT_EQ(gem->SystemIndex, 96);
}

TEST(AscRead, EndlessAndHugeInputStopsWithAMessage) {
    auto gem = std::make_unique<TGem>();
    EXPECT_EQ(gem->ReadAsc("/dev/zero").Error().Message, // one endless line
              "File /dev/zero, line 1: a line longer than 100000 characters");
    std::string lines = "g 96 0\n";
    while (lines.size() <= (16u << 20))
        lines += "H a header line that is repeated until the file is too large\n";
    const FileResult read = ReadText(*gem, lines);
    EXPECT_NE(read.Error().Message.find(": the file is larger than 16 MB"), std::string::npos)
        << read.Error().Message;
}

TEST(AscExport, ReplacesAnOldFileWholeAndLeavesNothingElseBehind) {
    TempFile file("out.asc");
    file.Write(std::string(100000, 'x'));
    auto gem = RoundBrilliantCrown();
    ASSERT_TRUE(gem->WriteAsc(file.Path()));
    EXPECT_EQ(file.Lines().front(), "GemCad 10.00 c");
    EXPECT_EQ(file.Read().find('x'), std::string::npos);
    const std::filesystem::path folder = std::filesystem::path(file.Path()).parent_path();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1); // no temporary file left

    auto pavilion = RoundBrilliantPavilion();
    ASSERT_TRUE(pavilion->SaveOutline(file.Path()));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);
}
