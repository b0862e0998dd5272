#include "editing/undo_history.h"
#include "gem/gem.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {
const std::string TestData = LAPIDRAW_TEST_DATA;

// The records of a design file, without their line ends.
std::vector<std::string> Records(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t end = text.find("\r\n", pos);
        EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
        if (end == std::string::npos) break;
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    return lines;
}

std::string Tags(const std::vector<std::string>& records) {
    std::string tags;
    for (const auto& r : records)
        tags += r.empty() ? '?' : r[0];
    return tags;
}

// The file text without its first (version, date and time) line.
std::string WithoutHeaderLine(const std::string& text) {
    return text.substr(text.find("\r\n") + 2);
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out << bytes;
}

int folderNumber = 0;

// A fresh folder for the files of one test.
class FileFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        // Short and unique per process: FileName keeps 80 characters, and tests may run side by side.
        folder = fs::temp_directory_path() /
                 ("ldw-" + std::to_string(::getpid()) + "-" + std::to_string(++folderNumber));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }
    std::string File(const std::string& name) const { return (folder / name).string(); }
    fs::path folder;
};

void ExpectSamePlanes(const TGem& a, const TGem& b, Real tolerance) {
    ASSERT_EQ(a.FacetCount, b.FacetCount);
    for (int f = -1; f <= a.FacetCount; ++f) {
        SCOPED_TRACE("facet " + std::to_string(f));
        EXPECT_NEAR(a.NormalX(f), b.NormalX(f), tolerance);
        EXPECT_NEAR(a.NormalY(f), b.NormalY(f), tolerance);
        EXPECT_NEAR(a.NormalZ(f), b.NormalZ(f), tolerance);
        EXPECT_NEAR(a.Dist(f), b.Dist(f), 5e-7L); // six decimals in the file
        EXPECT_NEAR(a.Index(f), b.Index(f), 0.0005L);
        if (f >= 1) {
            EXPECT_EQ(a.GroupParts(f), b.GroupParts(f));
            EXPECT_EQ(a.SymChar(f), b.SymChar(f));
        }
    }
}
} // namespace

TEST(DesignFileRecords, FacetRecordHasTheFieldWidths) {
    auto gem = NewGem('c', 8, 96, false);
    gem->Facets[1].Normal = {-0.70710678L, 0, -0.70710678L};
    gem->Facets[1].Dist = -10;
    gem->Facets[1].Index = 3;
    gem->Facets[1].GroupParts = 1;
    gem->Parts = 1;
    gem->FacetCount = 1;
    const auto records = Records(gem->DesignFileText());
    ASSERT_GE(records.size(), 5u);
    EXPECT_EQ(records[1], "s96 8 cn0");
    EXPECT_EQ(records[2], "f  0.00000000  0.00000000 -1.00000000  -24.000000    0.000");
    EXPECT_EQ(records[3], "f  0.00000000  0.00000000  1.00000000    0.000000    0.000");
    EXPECT_EQ(records[4], "m 1 n");
    EXPECT_EQ(records[5], "f -0.70710678  0.00000000 -0.70710678  -10.000000    3.000");
}

TEST(DesignFileRecords, CrownWithOneGroupWritesTheListedRecords) {
    auto gem = NewGem('c', 8, 96, true, 2);
    ASSERT_TRUE(CutByAngle(*gem, 40, 2, 30)); // 16 mirrored twins
    gem->SetTextLine(3, "third line   ");
    gem->SetTextLine(CutNameLine, "Cut name");
    gem->SetTextLine(AuthorLine, "Author");
    gem->MessageLines[2] = "message  ";
    const auto records = Records(gem->DesignFileText());
    EXPECT_EQ(Tags(records), "Vsff" + std::string(16, 'f') + std::string(10, 'I') + "CAdddde");
    EXPECT_EQ(records[0].rfind("V " + gem->VersionText + " ", 0), 0u);
    EXPECT_EQ(records[1], "s96 8 cm2");
    EXPECT_EQ(records[20], "I");
    EXPECT_EQ(records[22], "Ithird line");
    EXPECT_EQ(records[30], "CCut name");
    EXPECT_EQ(records[31], "AAuthor");
    EXPECT_EQ(records[33], "dmessage  ");
    EXPECT_EQ(records.back(), "e");
}

TEST(DesignFileRecords, TextLinesUpToTheLastUsedOneAreWritten) {
    auto gem = NewGem();
    gem->SetTextLine(14, "x");
    EXPECT_EQ(Tags(Records(gem->DesignFileText())), "Vsff" + std::string(14, 'I') + "CAdddde");
    gem->SetTextLine(19, "y");
    EXPECT_EQ(Tags(Records(gem->DesignFileText())), "Vsff" + std::string(19, 'I') + "CAdddde");
}

TEST(DesignFileRecords, SymmetryRecordsFollowTheGroupsSymmetry) {
    auto gem = NewGem('c', 8, 96, true);
    ASSERT_TRUE(CutByAngle(*gem, 90, 3, 40)); // 16 twins, design symmetry: no record
    gem->Parts = 4;
    gem->Mirror = false;
    ASSERT_TRUE(CutByAngle(*gem, 40, 1, 35)); // 4 facets
    gem->Parts = 8;
    gem->Mirror = true;
    ASSERT_TRUE(CutByAngle(*gem, 30, 0, 30)); // 8 on the mirror lines
    const auto records = Records(gem->DesignFileText());
    ASSERT_EQ(Tags(records).substr(0, 34),
              "Vsff" + std::string(16, 'f') + "m" + std::string(4, 'f') + "m" + std::string(8, 'f'));
    EXPECT_EQ(records[20], "m 4 n");
    EXPECT_EQ(records[25], "m 8 m");
}

TEST(DesignFileRecords, PavilionListsItsBottomPlaneLast) {
    auto gem = RoundBrilliantPavilion();
    const auto records = Records(gem->DesignFileText());
    const int lastFacet = 2 + 1 + gem->FacetCount;
    EXPECT_EQ(records[2], "f  0.00000000  0.00000000 -1.00000000    0.000000    0.000");
    EXPECT_EQ(records[static_cast<std::size_t>(lastFacet)],
              "f  0.00000000  0.00000000  1.00000000 -100.000000    0.000");
}

TEST_F(FileFolder, OneGroupReadsBackWithItsPlanesGroupsAndMarks) {
    auto gem = NewGem('c', 8, 96, true);
    ASSERT_TRUE(CutByAngle(*gem, 40, 2, 30));
    ASSERT_TRUE(gem->WriteDesign(File("one.lfx"), TGem::FileMode::Save, "one"));
    auto read = std::make_unique<TGem>();
    ASSERT_TRUE(Done(read->ReadDesign(File("one.lfx"), TGem::FileMode::Open)));
    ExpectSamePlanes(*gem, *read, 5e-9L);
    EXPECT_EQ(read->GroupParts(1), 8);
    EXPECT_EQ(read->SymChar(1), 'm');
    EXPECT_EQ(read->SymChar(16), 'm');
    EXPECT_EQ(read->SymChar(-1), 'n');
    EXPECT_EQ(read->SymChar(0), 'n');
    EXPECT_EQ(read->PointCount, gem->PointCount);
    EXPECT_EQ(read->TextLine(FileNameLine), "filename: one.lfx");
}

TEST_F(FileFolder, MixedSymmetryGroupsAreRebuiltByCounting) {
    auto gem = NewGem('c', 8, 96, true);
    ASSERT_TRUE(CutByAngle(*gem, 90, 3, 40));
    gem->Parts = 4;
    gem->Mirror = false;
    ASSERT_TRUE(CutByAngle(*gem, 40, 1, 35));
    gem->Parts = 8;
    gem->Mirror = true;
    ASSERT_TRUE(CutByAngle(*gem, 30, 0, 30));
    ASSERT_TRUE(gem->WriteDesign(File("mixed.lfx"), TGem::FileMode::Named, ""));
    auto read = std::make_unique<TGem>();
    ASSERT_TRUE(read->ReadDesign(File("mixed.lfx"), TGem::FileMode::Named));
    ExpectSamePlanes(*gem, *read, 5e-9L);
    EXPECT_EQ(read->GroupParts(17), 4);
    EXPECT_EQ(read->SymChar(17), ' ');
    EXPECT_EQ(read->GroupParts(21), 8);
    EXPECT_EQ(read->SymChar(21), 's');
}

TEST_F(FileFolder, PavilionBottomPlaneIsPlacedAsFacetMinusOne) {
    auto gem = RoundBrilliantPavilion();
    ASSERT_TRUE(gem->WriteDesign(File("pav.lfx"), TGem::FileMode::Named, ""));
    auto read = std::make_unique<TGem>();
    ASSERT_TRUE(read->ReadDesign(File("pav.lfx"), TGem::FileMode::Open));
    EXPECT_TRUE(read->IsPavilion());
    EXPECT_EQ(read->Dist(-1), -100);
    EXPECT_EQ(read->NormalZ(-1), 1);
    EXPECT_EQ(read->Dist(0), 0);
    EXPECT_EQ(read->NormalZ(0), -1);
    ExpectSamePlanes(*gem, *read, 5e-9L);
}

TEST_F(FileFolder, HeaderWithoutOffsetReadsOffsetZero) {
    const std::string tail = "f  0 0 -1 -24 0\r\nf 0 0 1 0 0\r\nf -1 0 0 -5 0\r\ne\r\n";
    WriteBytes(File("a.lfx"), "s96 8 cn\r\n" + tail);
    WriteBytes(File("b.lfx"), "s96 8 cn5\r\n" + tail);
    WriteBytes(File("c.lfx"), "q-96 8 cm7\r\n" + tail);
    WriteBytes(File("d.lfx"), "q96 8 cn\r\n" + tail);
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(Done(gem->ReadDesign(File("a.lfx"), TGem::FileMode::Open)));
    EXPECT_EQ(gem->OffsetIndex, 0);
    EXPECT_EQ(gem->FacetCount, 1);
    ASSERT_TRUE(gem->ReadDesign(File("b.lfx"), TGem::FileMode::Open));
    EXPECT_EQ(gem->OffsetIndex, 5);
    ASSERT_TRUE(gem->ReadDesign(File("c.lfx"), TGem::FileMode::Open));
    EXPECT_EQ(gem->OffsetIndex, 7);
    EXPECT_EQ(gem->SystemIndex, -96);
    EXPECT_TRUE(gem->DesignMirror);
    EXPECT_EQ(gem->ReadDesign(File("d.lfx"), TGem::FileMode::Open).Error().Line, 1)
        << "q always carries the offset";
}

TEST_F(FileFolder, SurplusTextAndMessageRecordsAreSkipped) {
    std::string text = "s96 8 cn0\nf 0 0 -1 -24 0\nf 0 0 1 0 0\n";
    for (int k = 1; k <= 20; ++k)
        text += "Iline " + std::to_string(k) + "\xF8\n";
    for (int k = 1; k <= 5; ++k)
        text += "dmsg " + std::to_string(k) + "\n";
    text += "CName\nAWho\ne\nIafter the end\n";
    WriteBytes(File("x.lfx"), text);
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(Done(gem->ReadDesign(File("x.lfx"), TGem::FileMode::Named)));
    EXPECT_EQ(gem->TextLine(19), "line 19\xBA");
    EXPECT_EQ(gem->TextLine(CutNameLine), "Name");
    EXPECT_EQ(gem->TextLine(AuthorLine), "Who");
    EXPECT_EQ(gem->TextLine(FileNameLine), "filename: x.lfx");
    EXPECT_EQ(gem->MessageLine(4), "msg 4");
    EXPECT_EQ(gem->TextLine(1), "line 1\xBA");
}

// Found by fuzzing: a horizontal plane whose normal or plane constant was not written exactly as read
// changed its place after a save: a facet with the normal 0 0 1.000000001 was read as a cut facet and
// came back as the bottom plane, and a crown's upward plane 1e-9 above the girdle plane was read as
// the table and came back as the girdle plane.
TEST_F(FileFolder, NearlyHorizontalPlaneKeepsItsPlaceAfterASave) {
    struct Case {
        const char *header, *plane;
    };
    const Case cases[] = {{"s4 4 pn0", "0 0 1.0000000010 0 0"},
                          {"s4 4 pn0", "0.000000001 0 0.99999999 0 0"},
                          {"s4 4 pn0", "0 -0.000000004 1 -3 0"},
                          {"s4 4 cn0", "0 0 1 0.0000000011 0"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plane);
        WriteBytes(File("in.lfx"), std::string(c.header) + "\nf -0.70710678 0 0.70710678 -2.828427 0\nf " +
                                       c.plane + "\ne\n");
        auto gem = std::make_unique<TGem>();
        ASSERT_TRUE(Done(gem->ReadDesign(File("in.lfx"), TGem::FileMode::Open)));
        ASSERT_TRUE(gem->WriteDesign(File("out.lfx"), TGem::FileMode::Named, ""));
        auto read = std::make_unique<TGem>();
        ASSERT_TRUE(Done(read->ReadDesign(File("out.lfx"), TGem::FileMode::Open)));
        EXPECT_EQ(read->FacetCount, 1);
        const std::string before = gem->DesignFileText(), after = read->DesignFileText();
        EXPECT_EQ(after.substr(0, after.find("Ifilename")).substr(after.find("\r\n")),
                  before.substr(0, before.find("Ifilename")).substr(before.find("\r\n")));
    }
}

TEST(DesignFileRoundTrip, EveryGeneratedDesignWritesTheSameBytesAgain) {
    const fs::path folder =
        fs::temp_directory_path() / ("lapidraw-test-roundtrip-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::vector<std::unique_ptr<TGem>> designs;
    designs.push_back(RoundBrilliantCrown());
    designs.push_back(RoundBrilliantPavilion());
    designs.push_back(DesignWithFacets(300));
    std::mt19937 rng(2024);
    for (int k = 0; k < 40; ++k)
        designs.push_back(RandomDesign(rng));
    for (std::size_t k = 0; k < designs.size(); ++k) {
        SCOPED_TRACE("design " + std::to_string(k));
        TGem& gem = *designs[k];
        const std::string first = (folder / "first.lfx").string();
        const std::string second = (folder / "second.lfx").string();
        ASSERT_TRUE(gem.WriteDesign(first, TGem::FileMode::Named, ""));
        auto read = std::make_unique<TGem>();
        ASSERT_TRUE(Done(read->ReadDesign(first, TGem::FileMode::Named)));
        read->SetTextLine(FileNameLine, gem.TextLine(FileNameLine));
        ASSERT_TRUE(read->WriteDesign(second, TGem::FileMode::Named, ""));
        EXPECT_EQ(WithoutHeaderLine(ReadBytes(first)), WithoutHeaderLine(ReadBytes(second)));
        ExpectSamePlanes(gem, *read, 5e-9L);
    }
    fs::remove_all(folder);
}

TEST_F(FileFolder, SaveSetsTheFileNameLine) {
    auto gem = RoundBrilliantCrown();
    ASSERT_TRUE(gem->WriteDesign(File("brilliant.lfx"), TGem::FileMode::Save, "brilliant"));
    EXPECT_EQ(gem->TextLine(FileNameLine), "filename: brilliant.lfx");
    EXPECT_EQ(gem->FileName, File("brilliant.lfx"));
    EXPECT_NE(ReadBytes(File("brilliant.lfx")).find("\r\nIfilename: brilliant.lfx\r\n"), std::string::npos);
    // Nothing but the file itself is left in the folder.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1);
}

TEST_F(FileFolder, FailedSaveKeepsTheDesignAndReportsTheOsError) {
    auto gem = RoundBrilliantCrown();
    gem->SetTextLine(FileNameLine, "before");
    const std::string name = File("missing/folder.lfx");
    const FileError error = gem->WriteDesign(name, TGem::FileMode::Save, "folder").Error();
    EXPECT_EQ(error.OsError, ENOENT);
    EXPECT_EQ(error.Message, " Cannot write file " + name + ". Error:    2");
    EXPECT_EQ(gem->TextLine(FileNameLine), "before");
}

TEST_F(FileFolder, FailedSaveLeavesWhatWasAtTheTarget) {
    auto gem = RoundBrilliantCrown();
    fs::create_directories(folder / "taken.lfx" / "inside");
    EXPECT_NE(gem->WriteDesign(File("taken.lfx"), TGem::FileMode::Named, "").Error().OsError, 0);
    EXPECT_TRUE(fs::is_directory(folder / "taken.lfx" / "inside"));
    // The temporary file is gone again.
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator{}), 1);
}

TEST_F(FileFolder, SaveKeepsTheOldFilesPermissions) {
    auto gem = RoundBrilliantCrown();
    WriteBytes(File("kept.lfx"), "old");
    fs::permissions(File("kept.lfx"), fs::perms::owner_read | fs::perms::owner_write,
                    fs::perm_options::replace);
    ASSERT_TRUE(gem->WriteDesign(File("kept.lfx"), TGem::FileMode::Named, ""));
    EXPECT_EQ(fs::status(File("kept.lfx")).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_NE(ReadBytes(File("kept.lfx")), "old");
}

TEST(UndoSteps, NewChangeAfterUndoEndsTheRedoChain) {
    auto gem = NewGem('c', 8, 96, true);
    gem->FileName = "brilliantc.lfx"; // the steps are the history's files, not the design's
    UndoHistory history;
    ASSERT_TRUE(history.Record(*gem)); // 0: the new design
    for (Real angle : {90.0L, 40.0L, 30.0L}) {
        ASSERT_TRUE(CutByAngle(*gem, angle, 1, 35));
        ASSERT_TRUE(history.Record(*gem));
    }
    EXPECT_EQ(history.Current(), 3);
    EXPECT_FALSE(history.CanRedo());
    const int threeGroups = gem->FacetCount;
    ASSERT_TRUE(history.Undo(*gem));
    ASSERT_TRUE(history.Undo(*gem));
    EXPECT_EQ(history.Current(), 1);
    EXPECT_EQ(gem->FacetCount, 16);
    EXPECT_TRUE(history.CanRedo());
    ASSERT_TRUE(history.Redo(*gem));
    EXPECT_EQ(gem->FacetCount, threeGroups - 16);
    ASSERT_TRUE(history.Undo(*gem));
    EXPECT_EQ(gem->FileName, "brilliantc.lfx");

    ASSERT_TRUE(CutByAngle(*gem, 20, 2, 20));
    ASSERT_TRUE(history.Record(*gem));
    EXPECT_EQ(history.Current(), 2);
    EXPECT_EQ(history.Top(), 2);
    EXPECT_FALSE(history.CanRedo());
    const FileResult redone = history.Redo(*gem);
    EXPECT_FALSE(redone);
    EXPECT_TRUE(redone.Error().Message.empty()) << "nothing to redo is silent";
}

TEST(UndoSteps, NothingToUndoOrReloadFailsSilently) {
    auto gem = NewGem();
    UndoHistory history;
    for (const FileResult& read : {history.Undo(*gem), history.Reload(*gem)}) {
        EXPECT_FALSE(read);
        EXPECT_TRUE(read.Error().Message.empty());
    }
    ASSERT_TRUE(history.Record(*gem));
    EXPECT_FALSE(history.CanUndo());
    EXPECT_FALSE(history.Undo(*gem));
}

TEST(UndoSteps, UndoAtTheOldestStepFailsWithoutMessageOrErrorCode) {
    auto gem = RoundBrilliantCrown();
    UndoHistory history;
    ASSERT_TRUE(history.Record(*gem));
    ASSERT_TRUE(CutByAngle(*gem, 10, 1, 2));
    ASSERT_TRUE(history.Record(*gem));
    ASSERT_TRUE(history.Undo(*gem));
    const std::string oldest = WithoutHeaderLine(gem->DesignFileText());
    const FileResult undone = history.Undo(*gem);
    EXPECT_FALSE(undone);
    EXPECT_TRUE(undone.Error().Empty()) << undone.Error().Message;
    EXPECT_EQ(undone.Error().Line, 0);
    EXPECT_EQ(undone.Error().OsError, 0);
    EXPECT_EQ(history.Current(), 0);
    EXPECT_TRUE(history.CanRedo());
    EXPECT_EQ(WithoutHeaderLine(gem->DesignFileText()), oldest);
}

TEST(UndoSteps, ReloadRestoresThePreviewedDesign) {
    auto gem = RoundBrilliantCrown();
    UndoHistory history;
    ASSERT_TRUE(history.Record(*gem));
    const std::string stored = WithoutHeaderLine(gem->DesignFileText());
    ASSERT_TRUE(CutByAngle(*gem, 10, 1, 2));
    ASSERT_TRUE(history.Reload(*gem));
    EXPECT_EQ(WithoutHeaderLine(gem->DesignFileText()), stored);
    EXPECT_EQ(history.Current(), 0);
}

TEST(UndoSteps, UndoWhoseFileIsGoneKeepsTheStep) {
    auto gem = RoundBrilliantCrown();
    UndoHistory history;
    ASSERT_TRUE(history.Record(*gem));
    ASSERT_TRUE(CutByAngle(*gem, 10, 1, 2));
    ASSERT_TRUE(history.Record(*gem));
    const std::string current = WithoutHeaderLine(gem->DesignFileText());
    fs::remove(history.StepFile(0));
    const FileResult undone = history.Undo(*gem);
    EXPECT_FALSE(undone);
    EXPECT_EQ(history.Current(), 1);
    EXPECT_EQ(undone.Error().Message, " Cannot read file " + history.StepFile(0) + ". Error:    2");
    EXPECT_EQ(WithoutHeaderLine(gem->DesignFileText()), current);
}

// A step that cannot be written leaves the counters, and the step before stays the one to go back to.
TEST(UndoSteps, FailedRecordLeavesTheCounters) {
    auto gem = RoundBrilliantCrown();
    UndoHistory history;
    ASSERT_TRUE(history.Record(*gem));
    ASSERT_TRUE(history.Record(*gem));
    ASSERT_TRUE(history.Undo(*gem));
    fs::remove_all(history.Folder());
    const FileResult recorded = history.Record(*gem);
    EXPECT_EQ(recorded.Error().Message, " Cannot write file " + history.StepFile(1) + ". Error:    2");
    EXPECT_EQ(history.Current(), 0);
    EXPECT_EQ(history.Top(), 1);
    EXPECT_TRUE(history.CanRedo());
}

TEST(UndoSteps, ChangedSuffixCountsTheStepsToUndo) {
    auto gem = NewGem();
    UndoHistory history;
    EXPECT_EQ(history.ChangedSuffix(), "");
    const std::map<int, std::string> suffixes = {{0, ""}, {3, " (changed:  3)"}, {12, " (changed: 12)"}};
    for (int step = 0; step <= 12; ++step) {
        ASSERT_TRUE(history.Record(*gem));
        if (suffixes.contains(step)) {
            EXPECT_EQ(history.ChangedSuffix(), suffixes.at(step));
        }
    }
    history.StartNew();
    EXPECT_EQ(history.ChangedSuffix(), "");
    EXPECT_EQ(history.Top(), -1);
    ASSERT_TRUE(history.Record(*gem));
    EXPECT_EQ(history.Current(), 0);
    EXPECT_FALSE(history.CanRedo());
}

TEST(UndoSteps, PrivateFolderInTheTemporaryLocationIsRemovedWithTheHistory) {
    const fs::path base = fs::temp_directory_path() / ("lapidraw-test-tmpdir-" + std::to_string(::getpid()));
    fs::create_directories(base);
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    setenv("TMPDIR", base.c_str(), 1);
    std::string folder, first;
    {
        auto gem = NewGem();
        UndoHistory history;
        ASSERT_TRUE(history.Record(*gem));
        ASSERT_TRUE(history.Record(*gem));
        folder = history.Folder();
        first = history.StepFile(0);
        EXPECT_EQ(fs::path(folder).parent_path(), base);
        EXPECT_EQ(fs::status(folder).permissions(), fs::perms::owner_all);
        // "$$" + the time of day's digits + "$$" + the step number
        const std::string name = fs::path(first).filename().string();
        EXPECT_EQ(name.rfind("$$", 0), 0u) << name;
        EXPECT_TRUE(name.ends_with("$$0.lfx")) << name;
        EXPECT_EQ(fs::path(history.StepFile(1)).filename(), name.substr(0, name.size() - 5) + "1.lfx");
        EXPECT_TRUE(fs::exists(first));
        EXPECT_TRUE(fs::exists(history.StepFile(1)));
    }
    EXPECT_FALSE(fs::exists(folder));
    if (old)
        setenv("TMPDIR", saved.c_str(), 1);
    else
        unsetenv("TMPDIR");
    fs::remove_all(base);
}

TEST(UndoSteps, TwoHistoriesKeepSeparateFolders) {
    auto gem = NewGem();
    UndoHistory a, b;
    ASSERT_TRUE(a.Record(*gem));
    ASSERT_TRUE(b.Record(*gem));
    EXPECT_NE(a.Folder(), b.Folder());
}

TEST(UndoSteps, AnImportRecordsItsEmptyDesignOnlyForAHistory) {
    for (const bool keeps : {true, false}) {
        auto gem = NewGem();
        UndoHistory history;
        const auto recordEmpty = [&history](TGem& empty) {
            history.StartNew();
            ASSERT_TRUE(history.Record(empty));
        };
        ASSERT_TRUE(gem->ReadAsc(TestData + "/asc/SRB.asc"));
        ASSERT_TRUE(keeps ? gem->ImportAsc('c', recordEmpty) : gem->ImportAsc('c'));
        EXPECT_EQ(history.Folder().empty(), !keeps);
        EXPECT_EQ(history.Current(), keeps ? 0 : -1);
    }
}

// ---- Broken files: each fails with file, line and reason, and leaves the design as it was ----

class BrokenFile : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(BrokenFile, FailsCleanlyAndLeavesTheDesign) {
    const auto [file, reason] = GetParam();
    auto gem = RoundBrilliantCrown();
    gem->SetTextLine(4, "kept");
    gem->MessageLines[1] = "message kept";
    gem->FileName = "kept.lfx";
    const std::string before = WithoutHeaderLine(gem->DesignFileText());
    const int points = gem->PointCount, edges = gem->EdgeCount;
    const std::string path = TestData + "/broken/" + file;

    for (TGem::FileMode mode : {TGem::FileMode::Open, TGem::FileMode::Named}) {
        const std::string message = gem->ReadDesign(path, mode).Error().Message;
        EXPECT_EQ(message.rfind(" Cannot read file " + path, 0), 0u) << message;
        EXPECT_NE(message.find(reason), std::string::npos) << message;
        EXPECT_EQ(WithoutHeaderLine(gem->DesignFileText()), before);
        EXPECT_EQ(gem->PointCount, points);
        EXPECT_EQ(gem->EdgeCount, edges);
        EXPECT_EQ(gem->FileName, "kept.lfx");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, BrokenFile,
    ::testing::Values(std::make_pair("truncated.lfx", ", line 6: the file ends before its e record"),
                      std::make_pair("letter_for_number.lfx", ", line 6: a number was expected"),
                      std::make_pair("too_many_facets.lfx",
                                     ", line 2004: the design has more than 2000 facets"),
                      std::make_pair("binary_junk.lfx", ", line "),
                      std::make_pair("empty.lfx", "before its e record"),
                      std::make_pair("no_header.lfx", "a facet comes before the s record"),
                      std::make_pair("zero_parts.lfx", "identical parts must be at least 1")));

TEST(BrokenFiles, MissingFileReportsTheOsError) {
    auto gem = RoundBrilliantCrown();
    const std::string path = TestData + "/broken/no such file.lfx";
    const FileError error = gem->ReadDesign(path, TGem::FileMode::Open).Error();
    EXPECT_EQ(error.OsError, ENOENT);
    EXPECT_EQ(error.Message, " Cannot read file " + path + ". Error:    2");
}

TEST(BrokenFiles, FolderOrEndlessFileIsNotADesign) {
    auto gem = RoundBrilliantCrown();
    const int facets = gem->FacetCount;
    EXPECT_EQ(gem->ReadDesign(TestData + "/broken", TGem::FileMode::Open).Error().OsError, EISDIR);
    EXPECT_EQ(gem->ReadDesign("/dev/zero", TGem::FileMode::Open).Error().OsError, EFBIG);
    EXPECT_EQ(gem->FacetCount, facets);
}

TEST(BrokenFiles, FixtureDesignsReadWithBothLineEnds) {
    auto gem = std::make_unique<TGem>();
    ASSERT_TRUE(Done(gem->ReadDesign(TestData + "/lfx/box.lfx", TGem::FileMode::Open)));
    EXPECT_EQ(gem->FacetCount, 4);
    EXPECT_EQ(gem->PointCount, 8);
    ASSERT_TRUE(Done(gem->ReadDesign(TestData + "/lfx/pyramid.lfx", TGem::FileMode::Open)));
    EXPECT_EQ(gem->FacetCount, 4);
    EXPECT_EQ(gem->PointCount, 5);
    EXPECT_EQ(gem->MessageLine(4), "CCD01/02=  1.414 x W");
}

// ---- Faults found by the hostile files and the editing soak ----

TEST_F(FileFolder, ATableInTheGirdlePlaneWasReadBackAsTheGirdlePlane) {
    // An ASC table line at distance 0 puts a crown's table into the girdle plane; a pavilion's bottom
    // plane may be cut there too.
    WriteBytes(File("flat.asc"), "g 96 0\na 0.00 0.00000 0\na 90.00 0.4 0 24 48 72\n");
    auto crown = std::make_unique<TGem>();
    ASSERT_TRUE(Done(crown->ReadAsc(File("flat.asc"))));
    ASSERT_TRUE(crown->ImportAsc('c'));
    auto pavilion = NewGem('p', 4, 96, false);
    ASSERT_TRUE(CutByAngle(*pavilion, 90, 0, 20));
    pavilion->SetDist(-1, 0);
    for (TGem* gem : {crown.get(), pavilion.get()}) {
        gem->Recompute();
        ASSERT_EQ(gem->Dist(-1), 0);
        ASSERT_TRUE(gem->WriteDesign(File("flat.lfx"), TGem::FileMode::Save, "flat"));
        auto read = std::make_unique<TGem>();
        ASSERT_TRUE(Done(read->ReadDesign(File("flat.lfx"), TGem::FileMode::Open)));
        EXPECT_EQ(read->Dist(-1), 0);
        EXPECT_EQ(read->NormalZ(-1), gem->NormalZ(-1));
        EXPECT_EQ(read->NormalZ(0), gem->NormalZ(0));
        EXPECT_EQ(WithoutHeaderLine(read->DesignFileText()), WithoutHeaderLine(gem->DesignFileText()));
    }
}

TEST_F(FileFolder, AMirroredDesignTurnedByOneIndexChangedItsGroupsWhenReadBack) {
    auto gem = RoundBrilliantCrown();
    gem->RotateByIndex(1); // the mains leave their mirror line, the halves keep twins off it
    ASSERT_TRUE(gem->WriteDesign(File("turned.lfx"), TGem::FileMode::Save, "turned"));
    auto read = std::make_unique<TGem>();
    ASSERT_TRUE(Done(read->ReadDesign(File("turned.lfx"), TGem::FileMode::Open)));
    ASSERT_EQ(read->FacetCount, gem->FacetCount);
    for (int f = 1; f <= gem->FacetCount; ++f)
        EXPECT_EQ(read->GroupParts(f) != 0, gem->GroupParts(f) != 0) << "facet " << f << " starts a group";
    EXPECT_EQ(WithoutHeaderLine(read->DesignFileText()), WithoutHeaderLine(ReadBytes(File("turned.lfx"))));
}
