// ASC files of the outside design program GemCad: export of the current half design, and import of
// a crown or pavilion from a file read into the import buffer. Every byte of a read file is untrusted.
#include "gem/convex_polytope.h"
#include "gem/exchange_io.h"
#include "gem/gem.h"
#include "gem/girdle_band.h"
#include "gem/numread.h"
#include "gem/numtext.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

using namespace exchange;

namespace {
constexpr Real ExportScale = 47;       // file distance = plane constant / 47
constexpr Real ImportScale = 49;       // plane constant = 49 * file distance
constexpr Real GirdleMarker = 0.0001L; // the girdle-plane line sits just off the girdle
constexpr Real ImportBlockDistance = 100;
constexpr int MinGear = 3;
constexpr std::size_t MaxLineLength = 100000;
constexpr long long MaxFileSize = 16LL << 20; // far above any design's few kilobytes
constexpr std::size_t FileNameLimit = 80;
constexpr std::size_t ShownNumberLength = 30; // a message quotes no more of a bad number
// The file's stone is moved along the axis when z = 0 lies further than this outside its girdle band.
constexpr Real GirdleBandSlack = 0.25L;
constexpr std::size_t MaxStonePlanes = 2 * MaxFacets + 4; // both halves full, with their bounding planes

std::string IndexText(Real f) {
    return Trim(NumberText(f));
}

// The file index of a raw index: counted from the offset, in the direction of the gear.
Real FileIndex(const TGem& gem, Real index) {
    if (gem.SystemIndex > 0) return gem.Wrap(index - gem.OffsetIndex);
    return gem.Wrap(gem.IndexCount() - (index - gem.OffsetIndex));
}

// Within the 32-bit range, with room for its magnitude too.
bool FitsInt32(Real v) {
    return std::isfinite(v) && std::fabs(v) <= std::numeric_limits<std::int32_t>::max();
}

// A gear usable for a design: rounded, at least MinGear teeth, within the 32-bit range.
std::optional<std::int32_t> UsableGear(Real gear) {
    const Real rounded = RoundEven(gear);
    if (!FitsInt32(rounded) || std::fabs(rounded) < MinGear) return std::nullopt;
    return static_cast<std::int32_t>(rounded);
}
} // namespace

// ---- Export ----

FileResult TGem::WriteAsc(const std::string& name) {
    // FileName keeps 80 characters; the file written is always the one named, however long its path.
    FileName = name.size() > FileNameLimit ? name.substr(0, FileNameLimit) : name;
    GroupTiers();

    TextFileWriter file(name);
    if (!file.IsOpen()) {
        const int code = file.Close();
        return FileResult::Failure(CannotWriteMessage(name, code), 0, code);
    }

    const bool crown = IsCrown();
    file.WriteLine(std::string("GemCad 10.00") + (crown ? " c" : " p"));
    file.WriteLine("g " + PadLeft(IntText(SystemIndex), 6) + " " + PadLeft(IntText(OffsetIndex), 6));
    file.WriteLine("y " + IntText(DesignParts) + " " + (DesignMirror ? "y" : "n"));
    const Real bound = std::fabs(Dist(-1)) / ExportScale;
    file.WriteLine("a 0.00 " + fixed(crown ? bound : -bound, 7, 5) + " 0");
    file.WriteLine("a 0.00 " + fixed(crown ? -GirdleMarker : GirdleMarker, 7, 5) + " 0");

    for (int t = 1; t <= TierCount; ++t) {
        const Tier& tier = Tiers[t];
        const int first = tier.FirstFacet;
        const Real angle = FacetAngle(first);
        if (angle == 0 || Near180(angle)) continue;
        std::string line = "a " + fixed(crown ? angle : -angle, 6, 2) + " " +
                           fixed(std::fabs(Dist(first) / ExportScale), 7, 5);
        bool any = false;
        Real previous = 0;
        for (int m = 1; m <= tier.MemberCount; ++m) {
            const Real f = FileIndex(*this, Index(tier.Members[m]));
            if (any && f == previous) continue;
            line += " " + IndexText(f);
            previous = f;
            any = true;
        }
        file.WriteLine(line);
    }

    for (int k : {CutNameLine, AuthorLine}) {
        const std::string text = Trim(TextLine(k));
        if (!text.empty()) file.WriteLine("H " + text);
    }
    for (int k = 1; k <= 8; ++k) {
        const std::string text = Trim(TextLine(k));
        if (!text.empty()) file.WriteLine("F " + text);
    }

    if (const int code = file.Close(); code != 0)
        return FileResult::Failure(CannotWriteMessage(name, code), 0, code);
    return {};
}

// ---- Reading ----

namespace {
using AscRecord = TGem::AscRecord;

void ClearAscBuffer(TGem& gem) {
    gem.Asc.Gear = gem.Asc.Offset = 0;
    gem.Asc.Parts = 0;
    gem.Asc.Mirror = ' ';
    for (int k = 1; k <= TGem::AscHeaderCount; ++k)
        gem.Asc.Header[k].clear();
    gem.Asc.LineCount = 0;
    for (int k = 1; k <= TGem::MaxAscLines; ++k)
        gem.Asc.Lines[k].AscIndexCount = 0;
}

// One reading pass over a file, and the message of the first thing found wrong.
struct AscReading {
    TGem& gem;
    std::string fileName;
    long lineNo = 0;
    bool gearSeen = false;
    bool symmetrySeen = false;
    long gearLine = 0, symmetryLine = 0;
    int headerCount = 0;
    FileError error;

    AscReading(TGem& into, const std::string& name) : gem(into), fileName(name) {}

    void Fail(const std::string& what) { FailAt(lineNo, what); }
    void FailAt(long line, const std::string& what) {
        if (error.Empty())
            error.Set("File " + fileName + ", line " + std::to_string(line) + ": " + what,
                      static_cast<int>(line));
    }
    // Reads a number word; a number beyond the engine's reach is refused rather than passed over.
    std::optional<Real> Number(const std::string& word) {
        const std::optional<Real> value = ReadReal(word);
        if (!value && RealFaultOf(word) == RealFault::OutOfReach)
            Fail("the number " + word.substr(0, ShownNumberLength) + " lies beyond the engine's reach of " +
                 fixed(EngineReach, 0, 0));
        return value;
    }
    void CheckBuffer();

    void ReadLine(const std::string& line);
    void ReadFacetLine(const std::string& line);
    void ReadGearLine(const std::string& words, bool withLetter);
    void ReadSymmetryLine(const std::string& line);
    void AppendIndices(AscRecord& record, const std::vector<std::string>& words, std::size_t first);
};

bool StartsAsNumber(char c) {
    return (c >= '0' && c <= '9') || c == '-' || c == '+' || c == '.';
}

void AscReading::ReadLine(const std::string& line) {
    if (line.empty()) return;
    const char tag = line[0];
    if (tag == 'a')
        ReadFacetLine(line);
    else if (tag == ' ') {
        if (gem.Asc.LineCount > 0)
            AppendIndices(gem.Asc.Lines[gem.Asc.LineCount], BlankSeparatedWords(line), 0);
    } else if (tag == 'g')
        ReadGearLine(line.substr(1), true);
    else if (StartsAsNumber(tag) && !gearSeen && gem.Asc.LineCount == 0)
        ReadGearLine(line, false); // some programs leave out the letter
    else if (tag == 'y')
        ReadSymmetryLine(line);
    else if (tag == 'H' && headerCount < TGem::AscHeaderCount)
        gem.Asc.Header[++headerCount] = line.substr(1);
    // The GemCad line, I, F, later H lines and anything else carry nothing the import uses.
}

void AscReading::ReadFacetLine(const std::string& line) {
    if (gem.Asc.LineCount >= TGem::MaxAscLines) {
        Fail("more than " + std::to_string(TGem::MaxAscLines) + " facet lines");
        return;
    }
    const std::vector<std::string> words = BlankSeparatedWords(line.substr(1));
    const std::optional<Real> angle = words.size() > 0 ? Number(words[0]) : std::nullopt;
    const std::optional<Real> distance = words.size() > 1 ? Number(words[1]) : std::nullopt;
    if (!angle || !distance) {
        Fail("a facet line needs an angle and a distance");
        return;
    }
    if (std::fabs(ImportScale * *distance) > EngineReach) {
        Fail("the distance " + words[1].substr(0, ShownNumberLength) +
             " puts the plane beyond the engine's reach");
        return;
    }
    AscRecord& record = gem.Asc.Lines[++gem.Asc.LineCount];
    record.AscAngle = *angle;
    record.AscDistance = *distance;
    record.AscIndexCount = 0;
    AppendIndices(record, words, 2);
}

void AscReading::ReadGearLine(const std::string& text, bool withLetter) {
    const std::vector<std::string> words = BlankSeparatedWords(text);
    if (!withLetter && (words.size() < 2 || !ReadReal(words[0]) || !ReadReal(words[1])))
        return; // without its letter it is just some other line
    const std::optional<Real> gear = words.size() > 0 ? Number(words[0]) : std::nullopt;
    const std::optional<Real> offset = words.size() > 1 ? Number(words[1]) : std::nullopt;
    if (!gear || !offset) {
        if (withLetter) Fail("the gear line needs the number of teeth and the index offset");
        return; // without its letter it was just some other line
    }
    gem.Asc.Gear = *gear;
    gem.Asc.Offset = *offset;
    gearSeen = true;
    gearLine = lineNo;
}

// "y PARTS M": a whole number, one separating character, the mirror character.
void AscReading::ReadSymmetryLine(const std::string& line) {
    std::size_t start = 1;
    while (start < line.size() && line[start] == ' ')
        ++start;
    std::size_t end = start;
    if (end < line.size() && (line[end] == '-' || line[end] == '+')) ++end;
    while (end < line.size() && line[end] >= '0' && line[end] <= '9')
        ++end;
    const std::optional<std::int32_t> parts = ReadInteger(line.substr(start, end - start));
    if (!parts) {
        Fail("the symmetry line needs a whole number of parts");
        return;
    }
    gem.Asc.Parts = *parts;
    gem.Asc.Mirror = end + 1 < line.size() ? line[end + 1] : ' ';
    symmetrySeen = true;
    symmetryLine = lineNo;
}

// Index words: a word after an `n` word is a facet name, a `G` word starts cutting instructions that
// run to the end of the line, and a word that is not a number means nothing.
void AscReading::AppendIndices(AscRecord& record, const std::vector<std::string>& words, std::size_t first) {
    bool nameNext = false;
    for (std::size_t w = first; w < words.size(); ++w) {
        const std::string& word = words[w];
        if (nameNext) {
            nameNext = false;
            continue;
        }
        if (word[0] == 'n') {
            nameNext = true;
            continue;
        }
        if (word[0] == 'G') return;
        const std::optional<Real> value = Number(word);
        if (!value) continue;
        if (record.AscIndexCount >= TGem::MaxAscIndices) {
            Fail("more than " + std::to_string(TGem::MaxAscIndices) + " indices on one facet line");
            return;
        }
        record.AscIndices[++record.AscIndexCount] = *value;
    }
}

// The reason the buffer cannot make a design, or nothing.
std::string UnusableBuffer(const TGem& gem) {
    const std::optional<std::int32_t> gear = UsableGear(gem.Asc.Gear);
    if (!gear) return "the gear of " + NumberText(gem.Asc.Gear) + " teeth is not usable";
    if (!FitsInt32(RoundEven(gem.Asc.Offset))) return "the index offset is out of range";
    if (gem.Asc.Parts < 1 || gem.Asc.Parts > std::abs(*gear))
        return IntText(gem.Asc.Parts) + " identical parts do not fit a gear of " + IntText(std::abs(*gear)) +
               " teeth";
    return "";
}

// After the whole file: a gear line must have come, and the gear and symmetry must make a design.
void AscReading::CheckBuffer() {
    if (!gearSeen) return FailAt(std::max(lineNo, 1L), "the file has no gear line");
    const std::string unusable = UnusableBuffer(gem);
    if (unusable.empty()) return;
    const bool gearAtFault = !UsableGear(gem.Asc.Gear) || !FitsInt32(RoundEven(gem.Asc.Offset));
    FailAt(gearAtFault || symmetryLine == 0 ? gearLine : symmetryLine, unusable);
}

// Turns the file's indices into raw indices of the file's gear and offset.
void ConvertIndices(TGem& gem) {
    const Real teeth = std::fabs(gem.Asc.Gear);
    for (int k = 1; k <= gem.Asc.LineCount; ++k) {
        AscRecord& record = gem.Asc.Lines[k];
        for (int j = 1; j <= record.AscIndexCount; ++j) {
            const Real f = record.AscIndices[j];
            Real i = gem.Asc.Gear > 0 ? f + gem.Asc.Offset : gem.Asc.Offset - f;
            if (i >= teeth)
                i -= teeth;
            else if (i < 0)
                i += teeth;
            record.AscIndices[j] = i;
        }
    }
}

// ---- The file's whole stone and its girdle band ----

// A facet line's outward normal for index i: A degrees from the girdle plane, upwards for a crown facet
// (A > 0), downwards for a pavilion facet (A < 0), level for a girdle facet.
Vector3 OutwardNormal(Real angle, Real index, Real teeth) {
    const Real a = (angle >= 0 ? angle : 180 + angle) * RadPerDeg;
    const Real phi = TwoPi * index / teeth;
    return {std::sin(a) * std::cos(phi), std::sin(a) * std::sin(phi), std::cos(a)};
}

// Every plane the file lists, of both halves, with the table and culet (100 units out when the file
// has none, as the import makes them); `girdle` marks the girdle facets.
std::vector<Plane> FileStonePlanes(const TGem& gem, std::vector<bool>& girdle) {
    std::vector<Plane> planes;
    const Real teeth = std::fabs(RoundEven(gem.Asc.Gear));
    bool table = false, culet = false;
    for (int k = 1; k <= gem.Asc.LineCount; ++k) {
        const AscRecord& record = gem.Asc.Lines[k];
        const Real dist = ImportScale * record.AscDistance;
        if (std::fabs(record.AscAngle) < AscFlatAngle) {
            planes.push_back(dist >= 0 ? Plane{{0, 0, -1}, -dist} : Plane{{0, 0, 1}, dist});
            girdle.push_back(false);
            (dist >= 0 ? table : culet) = true;
            continue;
        }
        if (!(dist > 0)) continue; // the import makes no plane of it either
        for (int j = 1; j <= record.AscIndexCount; ++j) {
            planes.push_back({-OutwardNormal(record.AscAngle, record.AscIndices[j], teeth), -dist});
            girdle.push_back(Near90(record.AscAngle));
        }
    }
    if (!table) planes.push_back({{0, 0, -1}, -ImportBlockDistance});
    if (!culet) planes.push_back({{0, 0, 1}, -ImportBlockDistance});
    girdle.resize(planes.size(), false);
    return planes;
}

// Published files often put z = 0 far from the girdle, so that splitting them there gives a crown with
// a tall false girdle and a pavilion with none. When z = 0 lies outside the girdle band of the file's
// stone by more than GirdleBandSlack, the stone is moved along the axis so that z = 0 lies in the middle
// of the band: every distance but a girdle facet's changes by the shift times its normal's z. Files
// already in the band (every file the export writes) are left exactly as read.
void CentreGirdleBand(TGem& gem) {
    std::vector<bool> girdle;
    const std::vector<Plane> planes = FileStonePlanes(gem, girdle);
    if (planes.size() > MaxStonePlanes) return; // more than two halves hold: the import refuses it anyway
    const ConvexPolytope stone = IntersectHalfSpaces(planes);
    if (!stone.IsClosed()) return;
    std::vector<BandFace> faces;
    for (const PolytopeFace& face : stone.Faces)
        faces.push_back({&face.Corners, girdle[face.Plane], planes[face.Plane].Normal.z < 0});
    const auto [low, high] = GirdleBand(stone.Corners, faces);
    if (low - GirdleBandSlack <= 0 && 0 <= high + GirdleBandSlack) return;
    const Real shift = -(low + high) / 2;
    for (int k = 1; k <= gem.Asc.LineCount; ++k) {
        AscRecord& record = gem.Asc.Lines[k];
        if (Near90(record.AscAngle)) continue;
        const Real outwardZ =
            std::fabs(record.AscAngle) < AscFlatAngle ? 1 : OutwardNormal(record.AscAngle, 0, 1).z;
        record.AscDistance += shift * outwardZ / ImportScale;
    }
}
} // namespace

FileResult TGem::ReadAsc(const std::string& name) {
    ClearAscBuffer(*this);
    TextFileReader file(name);
    if (!file.IsOpen()) return FileResult::Failure(CannotReadMessage(name, file.Error()), 0, file.Error());

    file.LimitSize(MaxFileSize);
    AscReading reading(*this, name);
    std::string line;
    while (reading.error.Empty() && file.ReadLine(line, MaxLineLength)) {
        ++reading.lineNo;
        if (file.TooLong())
            reading.Fail("a line longer than " + std::to_string(MaxLineLength) + " characters");
        else if (line.find('\0') != std::string::npos)
            reading.Fail("the line holds a NUL byte: this is no text file");
        else
            reading.ReadLine(line);
    }
    if (file.TooLarge()) {
        ++reading.lineNo;
        reading.Fail("the file is larger than " + std::to_string(MaxFileSize >> 20) + " MB");
    }
    if (!reading.symmetrySeen) {
        Asc.Parts = 1;
        Asc.Mirror = 'n';
    }

    reading.CheckBuffer();
    if (!reading.error.Empty()) {
        ClearAscBuffer(*this);
        return FileResult(reading.error);
    }
    ConvertIndices(*this);
    CentreGirdleBand(*this);
    return {};
}

// ---- Import ----

namespace {
bool IsFlat(const AscRecord& record) {
    return std::fabs(record.AscAngle) < AscFlatAngle;
}

// Girdle facets belong to both halves; other records to the half their angle's sign names.
bool BelongsTo(const AscRecord& record, char type) {
    if (IsFlat(record)) return false;
    if (Near90(record.AscAngle)) return true;
    return type == 'c' ? record.AscAngle > 0 : record.AscAngle < 0;
}

int OpenIndexCount(const AscRecord& record) {
    int open = 0;
    for (int j = 1; j <= record.AscIndexCount; ++j)
        if (record.AscIndices[j] != TGem::AscUsed) ++open;
    return open;
}

// Index distance on the gear circle, so that 95.99 and 0 are neighbours on 96 teeth.
Real IndexGap(const TGem& gem, Real a, Real b) {
    const Real n = gem.IndexCount();
    const Real gap = std::fmod(std::fabs(a - b), n);
    return std::fmin(gap, n - gap);
}

// Every facet first ... FacetCount takes the first unused index of the record that equals its own (within
// AscIndexMatchTolerance). False, taking nothing, when some facet finds none.
bool ConsumeListedIndices(const TGem& gem, AscRecord& record, int first) {
    BoundedArray<bool, 1, TGem::MaxAscIndices> taken{"AscIndices"};
    for (int j = 1; j <= record.AscIndexCount; ++j)
        taken[j] = record.AscIndices[j] == TGem::AscUsed;
    for (int f = first; f <= gem.FacetCount; ++f) {
        bool found = false;
        for (int j = 1; j <= record.AscIndexCount && !found; ++j) {
            if (taken[j] || IndexGap(gem, record.AscIndices[j], gem.Index(f)) >= AscIndexMatchTolerance)
                continue;
            taken[j] = found = true;
        }
        if (!found) return false;
    }
    for (int j = 1; j <= record.AscIndexCount; ++j)
        if (taken[j]) record.AscIndices[j] = TGem::AscUsed;
    return true;
}

} // namespace

// Cuts the plane with the largest symmetry whose facets all fall on unused indices of the record:
// the design's own, then without mirror, then each smaller divisor of the parts with mirror and
// without, down to a single facet. A tier that the author cut with less symmetry than the design's
// thus gets exactly the facets the file lists.
bool TGem::CutListedGroup(AscRecord& record, const Plane& plane, int designParts, bool designMirror) {
    const int open = OpenIndexCount(record);
    auto tryCut = [&](int parts, bool mirror) {
        Parts = parts;
        Mirror = mirror;
        const int first = FacetCount + 1;
        try {
            PlaceFacetGroup(first, plane);
        } catch (const RangeError&) {
            return false; // the group does not fit the facet table
        }
        // A cut that adds no facet uses no index: it must not count as done, or the loop would not end.
        if (FacetCount >= first && ConsumeListedIndices(*this, record, first)) return true;
        FacetCount = first - 1;
        return false;
    };
    // A group has at least `parts` facets, so larger ones cannot match the indices left.
    for (int parts = std::min(designParts, open); parts >= 1; --parts) {
        if (designParts % parts != 0) continue;
        if (designMirror && tryCut(parts, true)) return true;
        if (tryCut(parts, false)) return true;
    }
    return false;
}

// Cuts groups until every listed index of the record is used. Every pass uses at least one index
// (an index whose plane cannot be made, or that no group reproduces, is given up), so it always ends.
void TGem::CutRecord(AscRecord& record, int designParts, bool designMirror) {
    const Real angle = std::fabs(record.AscAngle);
    const Real dist = ImportScale * record.AscDistance;
    for (;;) {
        int open = 0;
        for (int j = 1; j <= record.AscIndexCount && open == 0; ++j)
            if (record.AscIndices[j] >= 0) open = j;
        if (open == 0) return;

        const std::optional<Plane> plane = std::isfinite(dist)
                                               ? PlaneFromAngleIndexDist(angle, record.AscIndices[open], dist)
                                               : std::nullopt;
        const bool made = plane && !IsHorizontalNormal(plane->Normal);
        if (!made || !CutListedGroup(record, *plane, designParts, designMirror))
            record.AscIndices[open] = TGem::AscUsed;
    }
}

FileResult TGem::ImportAsc(char type, const std::function<void(TGem&)>& started) {
    if (type != 'c' && type != 'p')
        return FileResult::Failure("An ASC file imports as a crown or as a pavilion");
    if (!UnusableBuffer(*this).empty()) return FileResult::Failure("No ASC file has been read");
    // Every facet the import cuts uses one listed index, so the listed indices bound the facet count.
    long listed = 0;
    for (int k = 1; k <= Asc.LineCount; ++k)
        if (BelongsTo(Asc.Lines[k], type)) listed += OpenIndexCount(Asc.Lines[k]);
    if (listed > MaxFacets)
        return FileResult::Failure("The file lists " + std::to_string(listed) + " facets for the " +
                                   (type == 'c' ? "crown" : "pavilion") + "; a design holds at most " +
                                   std::to_string(MaxFacets));

    const bool mirror = Asc.Mirror == 'y';
    NewDesign(type, Asc.Parts, static_cast<std::int32_t>(RoundEven(Asc.Gear)), mirror, Asc.Offset, true);
    if (started) started(*this);

    Facets[-1].Dist = -ImportBlockDistance;
    for (int k = 1; k <= Asc.LineCount; ++k) {
        AscRecord& record = Asc.Lines[k];
        const Real dist = ImportScale * record.AscDistance;
        if (IsFlat(record)) {
            if (!std::isfinite(dist)) continue;
            if (type == 'c' && dist >= 0) Facets[-1].Dist = -dist;
            if (type == 'p' && dist < 0) Facets[-1].Dist = dist;
        } else if (BelongsTo(record, type)) {
            CutRecord(record, Asc.Parts, mirror);
        }
    }
    Parts = DesignParts = Asc.Parts;
    Mirror = DesignMirror = mirror;

    for (int k = 1; k <= AscHeaderCount; ++k)
        TextLines[k] = Asc.Header[k];
    Recompute();
    return {};
}
