#include "library/design_reading.h"

#include "gem/range_error.h"

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

bool IsAscFile(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    for (char& c : ext)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext == ".asc";
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

void TakeDesign(const TGem* crown, const TGem* pavilion, DesignRecord& record) {
    const TGem& first = crown ? *crown : *pavilion;
    record.Gear = first.SystemIndex;
    record.Parts = first.DesignParts;
    record.Mirror = first.DesignMirror;
    TakeText(first, record);
    if (crown && pavilion && record.Text.empty()) TakeText(*pavilion, record);
    record.Figures = MeasureDesign(crown, pavilion);
}

std::string Picture(const TGem* crown, const TGem* pavilion, const ThumbnailMaker& thumbnails) {
    if (!thumbnails) return "";
    return thumbnails(TopViewOf(crown ? *crown : *pavilion));
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

FileResult ImportHalf(const std::string& path, TGem& gem, char type) {
    if (FileResult read = gem.ReadAsc(path); !read) return read;
    if (FileResult imported = gem.ImportAsc(type); !imported) return imported;
    gem.Recompute();
    gem.GroupTiers();
    gem.DeleteSnapshots(); // the import's undo step is of no use here
    return {};
}

FileResult ReadHalf(const std::string& path, TGem& gem) {
    if (FileResult read = gem.ReadDesign(path, TGem::FileMode::Open); !read) return read;
    gem.GroupTiers();
    return {};
}

void Add(JobResult& result, DesignRecord record, std::string picture) {
    result.Records.push_back(std::move(record));
    result.Thumbnails.push_back(std::move(picture));
}

void ReadAscJob(const std::string& path, ReadingSpace& space, const ThumbnailMaker& thumbnails,
                JobResult& result) {
    FileResult read = ImportHalf(path, *space.Crown, 'c');
    if (read) read = ImportHalf(path, *space.Pavilion, 'p');
    if (!read) return Add(result, BrokenRecord(path, DesignKind::Asc, read.Error()), "");
    const TGem* crown = HalfOrNull(*space.Crown);
    const TGem* pavilion = HalfOrNull(*space.Pavilion);
    if (!crown && !pavilion) {
        FileError none;
        none.Set("the file holds no facets");
        return Add(result, BrokenRecord(path, DesignKind::Asc, none), "");
    }
    DesignRecord record;
    record.Path = path;
    record.Kind = DesignKind::Asc;
    record.Name = NameOf(path);
    TakeDesign(crown, pavilion, record);
    Add(result, std::move(record), Picture(crown, pavilion, thumbnails));
}

void ReadHalfJob(const std::string& path, TGem& gem, const ThumbnailMaker& thumbnails, JobResult& result) {
    if (const FileResult read = ReadHalf(path, gem); !read)
        return Add(result, BrokenRecord(path, DesignKind::Crown, read.Error()), "");
    DesignRecord record;
    record.Path = path;
    record.Kind = gem.IsCrown() ? DesignKind::Crown : DesignKind::Pavilion;
    record.Name = NameOf(path);
    const TGem* crown = gem.IsCrown() ? &gem : nullptr;
    const TGem* pavilion = gem.IsCrown() ? nullptr : &gem;
    TakeDesign(crown, pavilion, record);
    Add(result, std::move(record), Picture(crown, pavilion, thumbnails));
}

// NAMEc.lfx and NAMEp.lfx: one design when the first is a crown and the second a pavilion, else two.
void ReadPairJob(const DesignJob& job, ReadingSpace& space, const ThumbnailMaker& thumbnails,
                 JobResult& result) {
    const std::string& crownPath = job.Files[0].Path;
    const std::string& pavilionPath = job.Files[1].Path;
    const bool crownRead = ReadHalf(crownPath, *space.Crown).Done();
    const bool pavilionRead = ReadHalf(pavilionPath, *space.Pavilion).Done();
    if (crownRead && pavilionRead && space.Crown->IsCrown() && space.Pavilion->IsPavilion()) {
        DesignRecord record;
        record.Path = crownPath;
        record.Partner = pavilionPath;
        record.Kind = DesignKind::Pair;
        record.Name = NameOf(crownPath);
        record.Name.pop_back(); // the name of the pair, without the crown's letter
        TakeDesign(space.Crown.get(), space.Pavilion.get(), record);
        return Add(result, std::move(record), Picture(space.Crown.get(), space.Pavilion.get(), thumbnails));
    }
    ReadHalfJob(crownPath, *space.Crown, thumbnails, result);
    ReadHalfJob(pavilionPath, *space.Pavilion, thumbnails, result);
}
} // namespace

JobResult ReadJob(const DesignJob& job, ReadingSpace& space, const ThumbnailMaker& thumbnails) {
    JobResult result;
    result.Job = &job;
    const std::string& path = job.Key();
    try {
        if (IsAscFile(path))
            ReadAscJob(path, space, thumbnails, result);
        else if (job.Files.size() == 2)
            ReadPairJob(job, space, thumbnails, result);
        else
            ReadHalfJob(path, *space.Crown, thumbnails, result);
    } catch (const RangeError& error) { // the design does not fit the model's tables
        result = JobResult{&job, {}, {}};
        FileError fault;
        fault.Set(error.what());
        Add(result, BrokenRecord(path, IsAscFile(path) ? DesignKind::Asc : DesignKind::Crown, fault), "");
    }
    return result;
}
