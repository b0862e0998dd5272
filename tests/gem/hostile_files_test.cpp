// Every hostile file either reads into a sound design or is refused with its name, its line and a
// reason, leaving the design (and the outline, and the ASC buffer) as it was.
#include "tests/support/asc_files.h"
#include "tests/support/design_builders.h"
#include "tests/support/file_results.h"
#include "tests/support/hostile_files.h"
#include "tests/support/polyhedron_checks.h"

#include <gtest/gtest.h>

#include <cctype>
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

// The design's text, file name, counts and outline: what a refused file must leave untouched.
struct DesignState {
    std::string Text, FileName;
    int Facets, Edges, Points, OutlineEdges, OutlinePoints;
    std::string OutlineFile;

    explicit DesignState(const TGem& gem)
        : Text(WithoutVersionLine(gem.DesignFileText())), FileName(gem.FileName), Facets(gem.FacetCount),
          Edges(gem.EdgeCount), Points(gem.PointCount), OutlineEdges(gem.OutlineFirstEdge),
          OutlinePoints(gem.OutlineFirstPoint), OutlineFile(gem.OutlineFileName) {}
    bool operator==(const DesignState&) const = default;
};

// A design with a file name and an outline, to read the hostile files over.
std::unique_ptr<TGem> DesignToReadOver(const TempFile& outline) {
    auto gem = RoundBrilliantCrown();
    gem->SetTextLine(3, "kept");
    EXPECT_TRUE(gem->SaveOutline(outline.Path()));
    EXPECT_TRUE(gem->ReadOutline(outline.Path()));
    gem->FileName = "kept.lfx";
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
    ASSERT_TRUE(Done(copy->WriteDesign(scratch.Path(), TGem::FileMode::Save, "scratch")));
    auto read = std::make_unique<TGem>();
    ASSERT_TRUE(Done(read->ReadDesign(scratch.Path(), TGem::FileMode::Named)));
    EXPECT_EQ(WithoutVersionLine(read->DesignFileText()), WithoutVersionLine(copy->DesignFileText()));
}

void CheckDesignFiles(const std::vector<HostileFile>& files) {
    TempFile file("hostile.lfx"), scratch("scratch.lfx"), outline("kept.otl");
    auto gem = DesignToReadOver(outline);
    const DesignState before(*gem);
    for (const HostileFile& hostile : files) {
        SCOPED_TRACE(hostile.Name);
        file.Write(hostile.Bytes);
        for (TGem::FileMode mode : {TGem::FileMode::Named, TGem::FileMode::Open}) {
            FileResult read;
            EXPECT_NO_THROW(read = gem->ReadDesign(file.Path(), mode));
            if (read) {
                ExpectSoundDesign(*gem, scratch);
                gem = DesignToReadOver(outline);
            } else {
                ExpectRefusal(read.Error(), file.Path());
                EXPECT_TRUE(DesignState(*gem) == before) << read.Error().Message;
            }
        }
    }
    // Still usable: the base file reads.
    file.Write(BaseFile(FileFormat::Design));
    ASSERT_TRUE(Done(gem->ReadDesign(file.Path(), TGem::FileMode::Open)));
    EXPECT_EQ(gem->FacetCount, 8);
    ExpectNoFaults(CheckExactPolyhedron(*gem), "base design");
}

void CheckAscFiles(const std::vector<HostileFile>& files) {
    TempFile file("hostile.asc"), scratch("scratch.lfx"), outline("kept.otl");
    auto gem = DesignToReadOver(outline);
    const DesignState before(*gem);
    for (const HostileFile& hostile : files) {
        SCOPED_TRACE(hostile.Name);
        file.Write(hostile.Bytes);
        FileResult read;
        EXPECT_NO_THROW(read = gem->ReadAsc(file.Path()));
        EXPECT_TRUE(DesignState(*gem) == before) << "reading an ASC file leaves the design alone";
        if (!read) {
            ExpectRefusal(read.Error(), file.Path());
            EXPECT_EQ(gem->Asc.LineCount, 0);
            continue;
        }
        for (char type : {'c', 'p'}) {
            auto imported = gem->Backup();
            FileResult made;
            EXPECT_NO_THROW(made = imported->ImportAsc(type));
            if (!made) {
                EXPECT_FALSE(made.Error().Empty());
                continue;
            }
            EXPECT_NO_THROW(imported->Recompute());
            ExpectSoundDesign(*imported, scratch);
        }
    }
    file.Write(BaseFile(FileFormat::Asc));
    ASSERT_TRUE(Done(gem->ReadAsc(file.Path())));
}

void CheckOutlineFiles(const std::vector<HostileFile>& files) {
    TempFile file("hostile.otl"), outline("kept.otl");
    auto gem = DesignToReadOver(outline);
    const DesignState before(*gem);
    for (const HostileFile& hostile : files) {
        SCOPED_TRACE(hostile.Name);
        file.Write(hostile.Bytes);
        FileResult read;
        EXPECT_NO_THROW(read = gem->ReadOutline(file.Path()));
        if (!read) {
            ExpectRefusal(read.Error(), file.Path());
            EXPECT_TRUE(DesignState(*gem) == before) << read.Error().Message;
            continue;
        }
        EXPECT_GE(gem->OutlineFirstEdge, 1 - TGem::MaxOutlineSlots);
        EXPECT_GE(gem->OutlineFirstPoint, 1 - TGem::MaxOutlineSlots);
        ExpectNoFaults(CheckDesignNumbers(*gem), "outline");
        EXPECT_EQ(WithoutVersionLine(gem->DesignFileText()), before.Text) << "an outline leaves the design";
        ASSERT_TRUE(gem->ReadOutline(outline.Path()));
    }
    file.Write(BaseFile(FileFormat::Outline));
    ASSERT_TRUE(Done(gem->ReadOutline(file.Path())));
}

const std::vector<HostileFile>& AllHostileFiles() {
    static const std::vector<HostileFile> files = HostileFiles();
    return files;
}

// One test for every kind of fault in every format, so that a failure names both.
class HostileFileKind : public ::testing::TestWithParam<std::tuple<FileFormat, int>> {};

TEST_P(HostileFileKind, ReadsSoundlyOrIsRefusedWithFileAndLine) {
    const auto [format, kind] = GetParam();
    std::vector<HostileFile> files;
    for (const HostileFile& file : AllHostileFiles())
        if (file.Format == format && file.Kind == static_cast<Fault>(kind)) files.push_back(file);
    ASSERT_FALSE(files.empty());
    switch (format) {
    case FileFormat::Design:
        return CheckDesignFiles(files);
    case FileFormat::Asc:
        return CheckAscFiles(files);
    case FileFormat::Outline:
        return CheckOutlineFiles(files);
    }
}

INSTANTIATE_TEST_SUITE_P(Everything, HostileFileKind,
                         ::testing::Combine(::testing::Values(FileFormat::Design, FileFormat::Asc,
                                                              FileFormat::Outline),
                                            ::testing::Range(0, FaultCount)),
                         [](const ::testing::TestParamInfo<std::tuple<FileFormat, int>>& info) {
                             std::string name = std::string(FormatName(std::get<0>(info.param))) + "_" +
                                                FaultName(static_cast<Fault>(std::get<1>(info.param)));
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });

// The suite covers every kind of fault in every format; the table goes to the test log.
TEST(HostileFiles, CoverEveryFaultInEveryFormat) {
    const std::vector<HostileFile>& files = AllHostileFiles();
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
