// Every hostile file either reads into a sound design or is refused with its name, its line and a
// reason, leaving the design (and the outline, and the ASC buffer) as it was.
#include "tests/support/asc_files.h"
#include "tests/support/design_builders.h"
#include "tests/support/hostile_files.h"
#include "tests/support/polyhedron_checks.h"

#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <memory>

namespace {
constexpr Real MergedPointTolerance = 0.9L; // the engine merges corners this close

std::string WithoutVersionLine(const std::string& text) {
    return text.substr(text.find('\n') + 1);
}

void ExpectNoFaults(const std::vector<std::string>& faults, const std::string& what) {
    for (const auto& fault : faults)
        ADD_FAILURE() << what << ": " << fault;
}

// The design's text, counts and outline: what a refused file must leave untouched.
struct DesignState {
    std::string Text;
    int Facets, Edges, Points, SnapshotNo, OutlineEdges, OutlinePoints;
    bool OutlineShown;
    std::string OutlineFile;

    explicit DesignState(const TGem& gem)
        : Text(WithoutVersionLine(gem.DesignFileText())), Facets(gem.FacetCount), Edges(gem.EdgeCount),
          Points(gem.PointCount), SnapshotNo(gem.SnapshotNo), OutlineEdges(gem.OutlineFirstEdge),
          OutlinePoints(gem.OutlineFirstPoint), OutlineShown(gem.OutlineShown),
          OutlineFile(gem.OutlineFileName) {}
    bool operator==(const DesignState&) const = default;
};

// A design with a snapshot and an outline, to read the hostile files over.
std::unique_ptr<TGem> DesignToReadOver(const TempFile& outline) {
    auto gem = RoundBrilliantCrown();
    gem->SetTextLine(3, "kept");
    EXPECT_TRUE(gem->SaveOutline(outline.Path()));
    EXPECT_TRUE(gem->ReadOutline(outline.Path()));
    EXPECT_TRUE(gem->WriteDesign("", TGem::FileMode::Snapshot, ""));
    return gem;
}

void ExpectRefusal(const FileError& error, const std::string& path) {
    EXPECT_NE(error.Message.find(path), std::string::npos) << error.Message;
    EXPECT_GE(error.Line, 1) << error.Message;
    EXPECT_NE(error.Message.find(", line " + std::to_string(error.Line) + ": "), std::string::npos)
        << error.Message;
}

// A sound design that writes and reads back to the same text.
void ExpectSoundDesign(const TGem& gem, const TempFile& scratch) {
    ExpectNoFaults(CheckInvariants(gem, MergedPointTolerance), "invariants");
    ExpectNoFaults(CheckDesignNumbers(gem), "numbers");
    EXPECT_TRUE(std::isfinite(gem.Volume()));
    auto copy = std::make_unique<TGem>();
    copy->Restore(gem);
    ASSERT_TRUE(copy->WriteDesign(scratch.Path(), TGem::FileMode::Save, "scratch"))
        << copy->LastError.Message;
    auto read = std::make_unique<TGem>();
    ASSERT_TRUE(read->ReadDesign(scratch.Path(), TGem::FileMode::Named)) << read->LastError.Message;
    EXPECT_EQ(WithoutVersionLine(read->DesignFileText()), WithoutVersionLine(copy->DesignFileText()));
}

std::vector<HostileFile> FilesOf(FileFormat format) {
    std::vector<HostileFile> chosen;
    for (HostileFile& file : HostileFiles())
        if (file.Format == format) chosen.push_back(std::move(file));
    return chosen;
}

TEST(HostileFiles, DesignFilesReadSoundlyOrAreRefused) {
    TempFile file("hostile.lfx"), scratch("scratch.lfx"), outline("kept.otl");
    auto gem = DesignToReadOver(outline);
    const DesignState before(*gem);
    int read = 0, refused = 0;
    for (const HostileFile& hostile : FilesOf(FileFormat::Design)) {
        SCOPED_TRACE(hostile.Name);
        file.Write(hostile.Bytes);
        for (TGem::FileMode mode : {TGem::FileMode::Named, TGem::FileMode::Open}) {
            bool ok = false;
            EXPECT_NO_THROW(ok = gem->ReadDesign(file.Path(), mode));
            if (ok) {
                ++read;
                ExpectSoundDesign(*gem, scratch);
                ASSERT_TRUE(gem->ReadDesign("", TGem::FileMode::Reload) || mode == TGem::FileMode::Open);
                if (mode == TGem::FileMode::Open) gem = DesignToReadOver(outline);
            } else {
                ++refused;
                ExpectRefusal(gem->LastError, file.Path());
                EXPECT_TRUE(DesignState(*gem) == before) << gem->LastError.Message;
            }
        }
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
    // Still usable: the base file reads.
    file.Write(BaseFile(FileFormat::Design));
    ASSERT_TRUE(gem->ReadDesign(file.Path(), TGem::FileMode::Open)) << gem->LastError.Message;
    EXPECT_EQ(gem->FacetCount, 8);
    ExpectNoFaults(CheckExactPolyhedron(*gem), "base design");
}

TEST(HostileFiles, AscFilesImportSoundlyOrAreRefused) {
    TempFile file("hostile.asc"), scratch("scratch.lfx"), outline("kept.otl");
    auto gem = DesignToReadOver(outline);
    const DesignState before(*gem);
    int read = 0, refused = 0;
    for (const HostileFile& hostile : FilesOf(FileFormat::Asc)) {
        SCOPED_TRACE(hostile.Name);
        file.Write(hostile.Bytes);
        bool ok = false;
        EXPECT_NO_THROW(ok = gem->ReadAsc(file.Path()));
        EXPECT_TRUE(DesignState(*gem) == before) << "reading an ASC file leaves the design alone";
        if (!ok) {
            ++refused;
            ExpectRefusal(gem->LastError, file.Path());
            EXPECT_EQ(gem->AscLineCount, 0);
            continue;
        }
        ++read;
        for (char type : {'c', 'p'}) {
            auto imported = std::make_unique<TGem>();
            imported->Restore(*gem);
            bool made = false;
            EXPECT_NO_THROW(made = imported->ImportAsc(type));
            if (!made) {
                EXPECT_FALSE(imported->LastError.Empty());
                continue;
            }
            EXPECT_NO_THROW(imported->Recompute());
            ExpectSoundDesign(*imported, scratch);
        }
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

TEST(HostileFiles, OutlineFilesReadSoundlyOrAreRefused) {
    TempFile file("hostile.otl"), outline("kept.otl");
    auto gem = DesignToReadOver(outline);
    const DesignState before(*gem);
    int read = 0, refused = 0;
    for (const HostileFile& hostile : FilesOf(FileFormat::Outline)) {
        SCOPED_TRACE(hostile.Name);
        file.Write(hostile.Bytes);
        bool ok = false;
        EXPECT_NO_THROW(ok = gem->ReadOutline(file.Path()));
        if (!ok) {
            ++refused;
            ExpectRefusal(gem->LastError, file.Path());
            EXPECT_TRUE(DesignState(*gem) == before) << gem->LastError.Message;
            continue;
        }
        ++read;
        EXPECT_GE(gem->OutlineFirstEdge, 1 - TGem::MaxOutlineSlots);
        EXPECT_GE(gem->OutlineFirstPoint, 1 - TGem::MaxOutlineSlots);
        ExpectNoFaults(CheckDesignNumbers(*gem), "outline");
        EXPECT_EQ(WithoutVersionLine(gem->DesignFileText()), before.Text) << "an outline leaves the design";
        ASSERT_TRUE(gem->ReadOutline(outline.Path()));
    }
    EXPECT_GT(read, 0);
    EXPECT_GT(refused, 0);
}

// The suite covers every kind of fault in every format; the table goes to the test log.
TEST(HostileFiles, CoverEveryFaultInEveryFormat) {
    const std::vector<HostileFile> files = HostileFiles();
    EXPECT_GE(files.size(), 150u);
    std::map<std::pair<FileFormat, Fault>, int> count;
    std::map<std::string, int> names;
    for (const HostileFile& file : files) {
        ++count[{file.Format, file.Kind}];
        EXPECT_EQ(++names[file.Name], 1) << "two cases named " << file.Name;
    }
    std::cout << "hostile files: " << files.size() << "\n";
    for (FileFormat format : {FileFormat::Design, FileFormat::Asc, FileFormat::Outline}) {
        int total = 0;
        std::string line;
        for (int k = 0; k < FaultCount; ++k) {
            const int n = count[{format, static_cast<Fault>(k)}];
            EXPECT_GE(n, 1) << FormatName(format) << ": " << FaultName(static_cast<Fault>(k));
            line += std::string("  ") + FaultName(static_cast<Fault>(k)) + " " + std::to_string(n) + ";";
            total += n;
        }
        std::cout << FormatName(format) << " " << total << ":" << line << "\n";
    }
}
} // namespace
