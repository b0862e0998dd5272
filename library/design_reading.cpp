#include "library/design_reading.h"

#include "gem/range_error.h"
#include "stone/stone_files.h"

#include <filesystem>

namespace {
std::string Trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r\n") - first + 1);
}

std::string NameOf(const std::string& path) {
    return Utf8FromLatin1(std::filesystem::path(path).stem().string());
}

// A half that was read but has no facet is no half of the stone (an ASC file of a crown alone).
const TGem* HalfOrNull(const TGem& half) {
    return half.FacetCount > 0 ? &half : nullptr;
}

// Title and text from the design's text lines: the cut's name, else the first line that is not blank.
void TakeText(const TGem& gem, DesignRecord& record) {
    std::string title = Trimmed(gem.TextLine(CutNameLine));
    for (int k = 1; k <= TextLineCount; ++k) {
        const std::string line = Trimmed(gem.TextLine(k));
        if (line.empty() || k == FileNameLine) continue;
        if (title.empty()) title = line;
        record.Text += (record.Text.empty() ? "" : "\n") + Utf8FromLatin1(line);
    }
    record.Title = Utf8FromLatin1(title);
}

DesignRecord BrokenRecord(const std::string& path, DesignKind kind, const FileError& error) {
    DesignRecord record;
    record.Path = path;
    record.Kind = kind;
    record.Name = NameOf(path);
    record.Broken = Trimmed(error.Message);
    record.BrokenLine = error.Line;
    if (record.Broken.empty()) record.Broken = "cannot be read";
    return record;
}

void Add(JobResult& result, DesignRecord record, std::string picture) {
    result.Records.push_back(std::move(record));
    result.Thumbnails.push_back(std::move(picture));
}

// The design of a crown and a pavilion, or of a half alone (the other null), measured on its stone.
// A failure, having added nothing, when the halves make no stone.
FileResult AddDesign(DesignRecord record, const TGem* crown, const TGem* pavilion,
                     const ThumbnailMaker& thumbnails, JobResult& result) {
    const TGem& first = crown ? *crown : *pavilion;
    Stone stone;
    if (FileResult made = MakeStoneOf(first, crown ? pavilion : nullptr, stone); !made) return made;
    record.Gear = first.SystemIndex;
    record.Parts = first.DesignParts;
    record.Mirror = first.DesignMirror;
    TakeText(first, record);
    if (crown && pavilion && record.Text.empty()) TakeText(*pavilion, record);
    record.Figures = MeasureDesign(stone, crown, pavilion);
    Add(result, std::move(record), thumbnails ? thumbnails(TopViewOf(first)) : "");
    return {};
}

DesignRecord NewRecord(const std::string& path, DesignKind kind) {
    DesignRecord record;
    record.Path = path;
    record.Kind = kind;
    record.Name = NameOf(path);
    return record;
}

void ReadAscJob(const std::string& path, ReadingSpace& space, const ThumbnailMaker& thumbnails,
                JobResult& result) {
    if (const FileResult read = ReadAscHalvesInto(path, *space.Crown, *space.Pavilion); !read)
        return Add(result, BrokenRecord(path, DesignKind::Asc, read.Error()), "");
    const TGem* crown = HalfOrNull(*space.Crown);
    const TGem* pavilion = HalfOrNull(*space.Pavilion);
    const FileResult added =
        crown || pavilion ? AddDesign(NewRecord(path, DesignKind::Asc), crown, pavilion, thumbnails, result)
                          : FileResult::Failure("the file holds no facets");
    if (!added) Add(result, BrokenRecord(path, DesignKind::Asc, added.Error()), "");
}

// A design file read alone: a crown or a pavilion.
void AddHalf(const std::string& path, const TGem& half, const FileResult& read,
             const ThumbnailMaker& thumbnails, JobResult& result) {
    FileResult added = read;
    if (read) {
        const bool crown = half.IsCrown();
        const DesignKind kind = crown ? DesignKind::Crown : DesignKind::Pavilion;
        added = AddDesign(NewRecord(path, kind), crown ? &half : nullptr, crown ? nullptr : &half, thumbnails,
                          result);
        if (added) return;
    }
    Add(result, BrokenRecord(path, DesignKind::Crown, added.Error()), "");
}

void ReadHalfJob(const std::string& path, TGem& half, const ThumbnailMaker& thumbnails, JobResult& result) {
    AddHalf(path, half, ReadHalfInto(path, half), thumbnails, result);
}

// NAMEc.lfx and NAMEp.lfx: one design when the first is a crown and the second a pavilion that make a
// stone together, else two.
void ReadPairJob(const DesignJob& job, ReadingSpace& space, const ThumbnailMaker& thumbnails,
                 JobResult& result) {
    const std::string& crownPath = job.Files[0].Path;
    const std::string& pavilionPath = job.Files[1].Path;
    TGem& crown = *space.Crown;
    TGem& pavilion = *space.Pavilion;
    const FileResult crownRead = ReadHalfInto(crownPath, crown);
    const FileResult pavilionRead = ReadHalfInto(pavilionPath, pavilion);
    if (crownRead && pavilionRead && crown.IsCrown() && pavilion.IsPavilion()) {
        DesignRecord record = NewRecord(crownPath, DesignKind::Pair);
        record.Partner = pavilionPath;
        record.Name.pop_back(); // the name of the pair, without the crown's letter
        if (AddDesign(std::move(record), &crown, &pavilion, thumbnails, result)) return;
    }
    AddHalf(crownPath, crown, crownRead, thumbnails, result);
    AddHalf(pavilionPath, pavilion, pavilionRead, thumbnails, result);
}
} // namespace

JobResult ReadJob(const DesignJob& job, ReadingSpace& space, const ThumbnailMaker& thumbnails) {
    JobResult result;
    result.Job = &job;
    const std::string& path = job.Key();
    try {
        if (HasAscExtension(path))
            ReadAscJob(path, space, thumbnails, result);
        else if (job.Files.size() == 2)
            ReadPairJob(job, space, thumbnails, result);
        else
            ReadHalfJob(path, *space.Crown, thumbnails, result);
    } catch (const RangeError& error) { // the design does not fit the model's tables
        result = JobResult{&job, {}, {}};
        FileError fault;
        fault.Set(error.what());
        Add(result, BrokenRecord(path, HasAscExtension(path) ? DesignKind::Asc : DesignKind::Crown, fault),
            "");
    }
    return result;
}
