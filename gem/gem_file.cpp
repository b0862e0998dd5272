// The design file (lfx).
#include "gem/code_page.h"
#include "gem/exchange_io.h"
#include "gem/gem.h"
#include "gem/numread.h"
#include "gem/numtext.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <random>
#include <string_view>

namespace fs = std::filesystem;

namespace {
constexpr std::size_t FileNameLength = 80;
constexpr int FirstOptionalTextLine = 11;
constexpr int LastFreeTextLine = 19;
constexpr std::size_t LargestDesignFile = 16 << 20; // far above 2000 facets and all text lines
constexpr std::size_t LongestLine = 100000;         // far above any record the writer makes
constexpr const char* LineEnd = "\r\n";
constexpr int IndexWidth = 8; // a facet's index is written in a field of 8 with 3 decimals
constexpr int IndexDecimals = 3;
constexpr int NormalWidth = 11; // a facet's normal is written in fields of 11 with 8 decimals
constexpr int NormalDecimals = 8;
constexpr int DistWidth = 11; // and its plane constant in a field of 11 with 6 decimals
constexpr int DistDecimals = 6;

// A number that the design file writes as zero with that many decimals.
bool WrittenAsZero(Real value, int decimals) {
    return ReadReal(fixed(value, 0, decimals)) == Real(0);
}

std::string NameWithoutFolderAndExtension(const std::string& path) {
    return fs::path(path).stem().string();
}

std::string SystemDateTime() {
    return exchange::LocalTimeText("%x %X");
}

// ---- Writing ----

std::string FacetRecord(const Facet& facet) {
    return "f " + fixed(facet.Normal.x, NormalWidth, NormalDecimals) + " " +
           fixed(facet.Normal.y, NormalWidth, NormalDecimals) + " " +
           fixed(facet.Normal.z, NormalWidth, NormalDecimals) + " " +
           fixed(facet.Dist, DistWidth, DistDecimals) + " " + fixed(facet.Index, IndexWidth, IndexDecimals);
}

std::string SymmetryRecord(int parts, bool mirror) {
    return "m " + IntText(parts) + " " + (mirror ? "m" : "n");
}

// ---- Reading ----

struct ReadFailure {
    int Line;
    std::string What;
};

// One record's content after its tag, read field by field as a sequential text reader would.
class RecordCursor {
  public:
    RecordCursor(std::string_view text, int line) : text_(text), line_(line) {}

    bool AtEnd() const { return pos_ >= text_.size(); }

    void SkipBlanks() {
        while (!AtEnd() && (text_[pos_] == ' ' || text_[pos_] == '\t'))
            ++pos_;
    }

    // Sign and digits, ended by a blank or the end of the line (so "1e30" is no whole number).
    std::int32_t Integer() {
        SkipBlanks();
        const std::size_t start = pos_;
        if (!AtEnd() && (text_[pos_] == '-' || text_[pos_] == '+')) ++pos_;
        while (!AtEnd() && std::isdigit(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
        const auto value = ReadInteger(std::string(text_.substr(start, pos_ - start)));
        if (!value || !AtBlankOrEnd()) Fail("a whole number was expected");
        return *value;
    }

    Real Number() {
        SkipBlanks();
        const std::size_t start = pos_;
        while (!AtBlankOrEnd())
            ++pos_;
        const std::string text(text_.substr(start, pos_ - start));
        const auto value = ReadReal(text);
        if (value) return *value;
        if (RealFaultOf(text) == RealFault::OutOfReach)
            Fail("the number " + text.substr(0, ShownNumberLength) + " lies beyond the engine's reach of " +
                 fixed(EngineReach, 0, 0));
        Fail("a number was expected");
    }

    char Character(const char* what) {
        if (AtEnd()) Fail(what);
        return text_[pos_++];
    }

    [[noreturn]] void Fail(const std::string& what) const { throw ReadFailure{line_, what}; }

  private:
    static constexpr std::size_t ShownNumberLength = 30; // a message quotes no more of a bad number

    bool AtBlankOrEnd() const { return AtEnd() || text_[pos_] == ' ' || text_[pos_] == '\t'; }

    std::string_view text_;
    int line_;
    std::size_t pos_ = 0;
};

// Reads the records of a design file into a TGem that may be changed freely (a scratch copy).
class DesignReader {
  public:
    DesignReader(TGem& gem, bool open) : gem_(gem), open_(open) {}

    void Read(const std::string& bytes) {
        std::size_t pos = 0;
        int& line = linesRead_;
        while (pos < bytes.size()) {
            std::size_t end = bytes.find('\n', pos);
            if (end == std::string::npos) end = bytes.size();
            std::string_view record(bytes.data() + pos, end - pos);
            if (!record.empty() && record.back() == '\r') record.remove_suffix(1);
            pos = end + 1;
            ++line;
            if (record.size() > LongestLine)
                throw ReadFailure{line, "the line is longer than " + IntText(LongestLine) + " characters"};
            if (record.find('\0') != std::string_view::npos)
                throw ReadFailure{line, "the line holds a NUL byte: this is no text file"};
            if (!record.empty() && record.front() == 'e') {
                if (!headerRead_) throw ReadFailure{line, "the design has no s record"};
                return;
            }
            ReadRecord(record, line);
        }
        throw ReadFailure{std::max(line, 1), "the file ends before its e record"};
    }

    // The number of the line reached: the e record's after a whole file.
    int LinesRead() const { return linesRead_; }

  private:
    void ReadRecord(std::string_view record, int line) {
        if (record.empty()) return;
        RecordCursor cursor(record.substr(1), line);
        const std::string rest(record.substr(1));
        switch (record.front()) {
        case 's':
            ReadHeader(cursor, false);
            break;
        case 'q':
            ReadHeader(cursor, true);
            break;
        case 'm':
            ReadSymmetry(cursor);
            break;
        case 'f':
            ReadFacet(cursor);
            break;
        case 'I':
            ReadTextLine(rest);
            break;
        case 'C':
            gem_.TextLines[CutNameLine] = rest;
            break;
        case 'A':
            gem_.TextLines[AuthorLine] = rest;
            break;
        case 'd':
            if (++messageLinesRead_ <= MessageLineCount) gem_.MessageLines[messageLinesRead_] = rest;
            break;
        default:
            break; // the V line and unknown records are skipped
        }
    }

    void ReadHeader(RecordCursor& cursor, bool offsetAlways) {
        if (headerRead_) cursor.Fail("a second s or q record would drop the facets read so far");
        const std::int32_t systemIndex = cursor.Integer();
        const std::int32_t parts = cursor.Integer();
        cursor.Character("the design type is missing"); // the separator
        const char type = cursor.Character("the design type is missing");
        const char mirror = cursor.Character("the mirror mark is missing");
        std::int32_t offset = 0;
        cursor.SkipBlanks();
        if (offsetAlways || !cursor.AtEnd()) offset = cursor.Integer();
        if (systemIndex == 0) cursor.Fail("the system index must not be 0");
        if (systemIndex == std::numeric_limits<std::int32_t>::min())
            cursor.Fail("the system index is out of range");
        CheckParts(cursor, parts, std::abs(systemIndex));
        if (type != 'c' && type != 'p') cursor.Fail("the design type must be c or p");
        gem_.NewDesign(type, parts, systemIndex, mirror == 'm', offset, open_);
        headerRead_ = true;
        groupLeft_ = 0;
        groupMark_ = ' ';
    }

    void ReadSymmetry(RecordCursor& cursor) {
        const std::int32_t parts = cursor.Integer();
        cursor.Character("the mirror mark is missing"); // the separator
        const char mirror = cursor.Character("the mirror mark is missing");
        CheckParts(cursor, parts, gem_.IndexCount());
        gem_.Parts = parts;
        gem_.Mirror = mirror != 'n';
    }

    void ReadFacet(RecordCursor& cursor) {
        if (!headerRead_) cursor.Fail("a facet comes before the s record");
        Facet plane;
        plane.Normal.x = cursor.Number();
        plane.Normal.y = cursor.Number();
        plane.Normal.z = cursor.Number();
        plane.Dist = cursor.Number();
        plane.Index = cursor.Number();
        if (!IsUnitVector(plane.Normal)) cursor.Fail("the facet normal is not a unit vector");

        if (WrittenAsZero(plane.Normal.x, NormalDecimals) && WrittenAsZero(plane.Normal.y, NormalDecimals)) {
            // A horizontal plane, told as the writer would write it, so that a design reads back the
            // same after a save. Facet -1 faces the girdle plane (down on a crown, up on a pavilion): so
            // a table lying in the girdle plane, with a plane constant of 0, is still told from the
            // girdle plane itself.
            const Real up = plane.Normal.z > 0 ? 1 : -1;
            const bool facesGirdle = up == (gem_.IsCrown() ? -1 : 1);
            Facet& bound = gem_.Facets[!WrittenAsZero(plane.Dist, DistDecimals) || facesGirdle ? -1 : 0];
            bound.Normal = {0, 0, up};
            bound.Dist = plane.Dist;
            bound.Index = plane.Index;
            bound.SymChar = 'n';
            return;
        }
        if (gem_.FacetCount >= MaxFacets)
            cursor.Fail("the design has more than " + IntText(MaxFacets) + " facets");
        AppendFacet(plane);
    }

    // Parts run from 1 to the number of teeth; they need not divide it (imported designs).
    static void CheckParts(const RecordCursor& cursor, std::int32_t parts, std::int32_t teeth) {
        if (parts < 1) cursor.Fail("the number of identical parts must be at least 1");
        if (parts > teeth)
            cursor.Fail("the number of identical parts must not exceed the " + IntText(teeth) + " teeth");
    }

    // Appends a cut facet; the facet groups are rebuilt by counting their members.
    void AppendFacet(const Facet& plane) {
        const int f = ++gem_.FacetCount;
        Facet& facet = gem_.Facets[f];
        facet.Normal = plane.Normal;
        facet.Dist = plane.Dist;
        facet.Index = plane.Index;
        facet.ShownIndex = gem_.ShownIndex(plane.Index);
        facet.ViewDot = 0;
        facet.TierNo = 0;
        facet.CornerCount = 0;
        facet.GroupParts = 0;
        facet.SymChar = groupMark_;
        if (groupLeft_ <= 0) {
            facet.GroupParts = gem_.Parts;
            groupMark_ = gem_.Mirror ? 's' : ' ';
            groupLeft_ = gem_.Parts;
            if (gem_.HasMirrorTwin(f)) {
                groupMark_ = 'm';
                groupLeft_ = 2LL * gem_.Parts;
            }
            facet.SymChar = groupMark_;
        }
        --groupLeft_;
    }

    void ReadTextLine(const std::string& rest) {
        if (++textLinesRead_ > LastFreeTextLine) return;
        std::string text = rest;
        for (char& c : text)
            if (static_cast<unsigned char>(c) == OldDegreeByte) c = static_cast<char>(DegreeByte);
        gem_.TextLines[textLinesRead_] = text;
    }

    TGem& gem_;
    bool open_;
    bool headerRead_ = false;
    long long groupLeft_ = 0;
    char groupMark_ = ' ';
    int textLinesRead_ = 0;
    int messageLinesRead_ = 0;
    int linesRead_ = 0;
};

// The whole file as bytes; an error number on failure (EFBIG for a file far too large for a design).
int ReadWholeFile(const std::string& path, std::string& bytes) {
    errno = 0;
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return exchange::LastOsError();
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
        if (bytes.size() > LargestDesignFile) {
            std::fclose(file);
            return EFBIG;
        }
    }
    const bool failed = std::ferror(file) != 0;
    const int code = failed ? exchange::LastOsError() : 0;
    std::fclose(file);
    return code;
}
} // namespace

// The reader makes groups by counting: a group holds Parts facets, or twice as many when mirror
// symmetry is on and its first facet (at the index as written) has a mirror twin. A group whose facets
// that count does not reproduce (its first facet moved onto or off a mirror line by a rotation or a
// rounding, or a group cut short at the end of a file) is written as plain rotation groups, so that
// the design read back keeps every group boundary and writes the same file again.
TGem::GroupSymmetry TGem::ReadableSymmetry(int first, int length) const {
    const int parts = GroupParts(first);
    const bool mirrored = SymChar(first) == 'm' || SymChar(first) == 's';
    if (parts > 0) {
        const Real indexRead =
            ReadReal(fixed(Index(first), IndexWidth, IndexDecimals)).value_or(Index(first));
        const long long counted = mirrored && MirrorTwinAt(indexRead, parts, true) ? 2LL * parts : parts;
        if (counted == length) return {parts, mirrored};
        if (length % parts == 0) return {parts, false};
    }
    if (length <= IndexCount()) return {length, false};
    return {1, false};
}

std::string TGem::DesignFileText() const {
    std::string text;
    auto line = [&text](const std::string& record) { text += record + LineEnd; };

    line("V " + VersionText + " " + SystemDateTime());
    line("s" + IntText(SystemIndex) + " " + IntText(DesignParts) + " " + GemType +
         (DesignMirror ? "m" : "n") + IntText(OffsetIndex));

    int parts = DesignParts;
    bool mirror = DesignMirror;
    if (IsCrown()) line(FacetRecord(Facets[-1]));
    line(FacetRecord(Facets[0]));
    for (int f = 1; f <= FacetCount; ++f) {
        if (f == 1 || GroupParts(f) != 0) {
            int end = f + 1;
            while (end <= FacetCount && GroupParts(end) == 0)
                ++end;
            const GroupSymmetry written = ReadableSymmetry(f, end - f);
            if (written.Mirror != mirror || written.Parts != parts)
                line(SymmetryRecord(written.Parts, written.Mirror));
            parts = written.Parts;
            mirror = written.Mirror;
        }
        line(FacetRecord(Facets[f]));
    }
    if (IsPavilion()) line(FacetRecord(Facets[-1]));

    int lastTextLine = FileNameLine;
    for (int k = FirstOptionalTextLine; k <= LastFreeTextLine; ++k)
        if (!Trim(TextLines[k]).empty()) lastTextLine = k;
    for (int k = 1; k <= lastTextLine; ++k)
        line("I" + TrimRight(TextLines[k]));
    line("C" + TrimRight(TextLines[CutNameLine]));
    line("A" + TrimRight(TextLines[AuthorLine]));
    for (int k = 1; k <= MessageLineCount; ++k)
        line("d" + MessageLines[k]);
    line("e");
    return text;
}

FileResult TGem::WriteDesign(const std::string& name, FileMode mode, const std::string& shortName) {
    if (mode != FileMode::AsWritten) FileName = name.substr(0, FileNameLength);

    const std::string savedFileNameLine = TextLines[FileNameLine];
    if (mode == FileMode::Save) TextLines[FileNameLine] = "filename: " + shortName + ".lfx";

    const int code = WriteFileAtomically(name, DesignFileText());
    if (code != 0) {
        TextLines[FileNameLine] = savedFileNameLine;
        return FileResult::Failure(exchange::CannotWriteMessage(name, code), 0, code);
    }
    return {};
}

FileResult TGem::ReadDesign(const std::string& name, FileMode mode) {
    std::string bytes;
    if (const int code = ReadWholeFile(name, bytes); code != 0)
        return FileResult::Failure(exchange::CannotReadMessage(name, code), 0, code);

    auto scratch = std::make_unique<TGem>();
    scratch->TakeOverDesign(*this);
    scratch->Progress = Progress; // a long recompute of the read design still shows its progress
    DesignReader reader(*scratch, mode == FileMode::Open);
    try {
        reader.Read(bytes);
        if (mode != FileMode::AsWritten) {
            if (!name.empty())
                scratch->TextLines[FileNameLine] =
                    "filename: " + NameWithoutFolderAndExtension(name) + ".lfx";
            scratch->FileName = name.substr(0, FileNameLength);
        }
        scratch->Recompute();
    } catch (const ReadFailure& failure) {
        return FileResult::Failure(" Cannot read file " + name + ", line " + IntText(failure.Line) + ": " +
                                       failure.What,
                                   failure.Line);
    } catch (const RangeError& error) { // a design too large for the tables, found at its e record
        const int line = std::max(reader.LinesRead(), 1);
        return FileResult::Failure(
            " Cannot read file " + name + ", line " + IntText(line) + ": " + error.what(), line);
    }
    TakeOverDesign(*scratch);
    return {};
}

std::unique_ptr<TGem> TGem::Backup() const {
    auto copy = std::make_unique<TGem>();
    copy->TakeOverDesign(*this);
    return copy;
}

void TGem::TakeOverDesign(const TGem& read) {
    ProgressSink* const progress = Progress;
    *this = read;
    Progress = progress;
}

int TGem::WriteFileAtomically(const std::string& path, const std::string& text) {
    const std::string temporary = exchange::TemporaryNameBeside(path);
    errno = 0;
    std::FILE* file = std::fopen(temporary.c_str(), "wbx");
    if (file == nullptr) return exchange::LastOsError();
    bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
    int code = written ? 0 : exchange::LastOsError();
    if (std::fclose(file) != 0 && code == 0) code = exchange::LastOsError();
    if (code == 0) return exchange::PutInPlace(temporary, path);
    std::error_code error;
    fs::remove(temporary, error);
    return code;
}
