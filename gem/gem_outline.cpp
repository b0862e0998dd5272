// Girdle outlines: the girdle of one design saved as a small text file and held, in the
// non-positive edge and point slots, as a template while another design is cut.
#include "gem/exchange_io.h"
#include "gem/gem.h"
#include "gem/numread.h"
#include "gem/numtext.h"

#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <limits>
#include <optional>
#include <vector>

using namespace exchange;

namespace {
constexpr Real GirdleBand = 1;           // edges with both ends this close to z = 0 form the girdle
constexpr Real SamePointDistance = 0.1L; // outline corners closer than this are one point
constexpr std::size_t MaxLineLength = 1000;
constexpr std::size_t MaxParsedEdges = 1000; // far more than fit; only bounds the reading
constexpr long long MaxFileSize = 1LL << 20;
constexpr std::size_t CoordinateWidth = 9;
constexpr const char* NulByte = "the line holds a NUL byte: this is no text file";

// The index in a field of 23: sign or blank, one digit, a point, 14 digits, E, sign, 4 digits.
std::string ScientificIndex(Real v) {
    if (!std::isfinite(v)) return PadLeft(fixed(v, 0, 0), 23);
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.14Le", v);
    std::string text = buffer; // d.dddddddddddddde+XX
    const std::size_t e = text.find('e');
    const std::string mantissa = text.substr(0, e);
    const char sign = text[e + 1];
    const std::string digits = text.substr(e + 2);
    const std::string exponent = std::string(digits.size() < 4 ? 4 - digits.size() : 0, '0') + digits;
    return PadLeft((mantissa[0] == '-' ? "" : " ") + mantissa + "E" + sign + exponent, 23);
}

// A coordinate in a field of 9 with 4 decimals; one that fills the field or needs more room is set
// off by a blank, so that it cannot run into the number before it and the file still reads back.
std::string CoordinateText(Real v) {
    const std::string text = fixed(v, CoordinateWidth, 4);
    return text.front() != ' ' ? " " + text : text;
}

std::string OutlineHeader(const TGem& gem) {
    return IntText(gem.SystemIndex) + " " + IntText(gem.Parts) + " " + gem.GemType +
           (gem.Mirror ? "m" : "n") + IntText(gem.OffsetIndex);
}

struct OutlineEdge {
    Real index = 0;
    Vector3 a, b;
    long line = 0; // of the coordinates in the file
};

// The parsed file, before anything of the design changes.
struct OutlineFile {
    std::int32_t systemIndex = 0, parts = 0, offset = 0;
    char type = ' ', mirror = ' ';
    std::vector<OutlineEdge> edges;
};

// "96 8 cm0": system index, parts, a blank, type and mirror characters, and an optional offset.
// Answers what is wrong with the line, or nothing.
std::string ReadHeader(const std::string& line, OutlineFile& out) {
    const std::string shape = "the header needs the system index, the parts, the type and the mirror letter";
    const std::vector<std::string> words = BlankSeparatedWords(line);
    if (words.size() < 3) return shape;
    const std::optional<std::int32_t> systemIndex = ReadInteger(words[0]);
    const std::optional<std::int32_t> parts = ReadInteger(words[1]);
    if (!systemIndex || !parts) return shape;
    out.systemIndex = *systemIndex;
    out.parts = *parts;
    const std::string& rest = words[2];
    if (rest.size() < 2) return shape;
    out.type = rest[0];
    out.mirror = rest[1];
    out.offset = 0;
    const std::string offsetText = rest.size() > 2 ? rest.substr(2) : words.size() > 3 ? words[3] : "";
    if (!offsetText.empty()) {
        const std::optional<std::int32_t> offset = ReadInteger(offsetText);
        if (!offset) return "the offset index must be a whole number";
        out.offset = *offset;
    }
    if (out.systemIndex == 0 || out.systemIndex == std::numeric_limits<std::int32_t>::min())
        return "the system index is out of range";
    const std::int32_t teeth = std::abs(out.systemIndex);
    if (out.parts < 1 || out.parts > teeth)
        return "the number of identical parts must run from 1 to the " + std::to_string(teeth) + " teeth";
    if (out.type != 'c' && out.type != 'p') return "the design type must be c or p";
    if (out.mirror != 'm' && out.mirror != 'n') return "the mirror letter must be m or n";
    return "";
}

std::optional<Real> RealWord(const std::vector<std::string>& words, std::size_t k) {
    return k < words.size() ? ReadReal(words[k]) : std::nullopt;
}
} // namespace

FileResult TGem::SaveOutline(const std::string& name) {
    OutlineFileName.clear();
    TextFileWriter file(name);
    if (!file.IsOpen()) {
        const int code = file.Close();
        return FileResult::Failure(CannotWriteMessage(name, code), 0, code);
    }
    file.WriteLine(OutlineHeader(*this));
    for (int e = 1; e <= EdgeCount; ++e) {
        const FacetEdge& edge = Edges[e];
        const Vector3& a = Points[edge.PointA].Position;
        const Vector3& b = Points[edge.PointB].Position;
        if (!(std::fabs(a.z) < GirdleBand && std::fabs(b.z) < GirdleBand)) continue;
        const int cutFacet = edge.FacetA != 0 ? edge.FacetA : edge.FacetB;
        file.WriteLine(IntText(e) + "  " + ScientificIndex(Index(cutFacet)));
        std::string coordinates;
        for (Real v : {a.x, a.y, a.z, b.x, b.y, b.z})
            coordinates += CoordinateText(v);
        file.WriteLine(coordinates);
    }
    if (const int code = file.Close(); code != 0)
        return FileResult::Failure(CannotWriteMessage(name, code), 0, code);
    OutlineFileName = name;
    return {};
}

FileResult TGem::ReadOutline(const std::string& name) {
    const std::string fileName = name.empty() ? OutlineFileName : name;
    TextFileReader file(fileName);
    if (!file.IsOpen())
        return FileResult::Failure(CannotReadMessage(fileName, file.Error()), 0, file.Error());

    file.LimitSize(MaxFileSize);
    long lineNo = 0;
    auto fail = [&](const std::string& what) {
        return FileResult::Failure("File " + fileName + ", line " + std::to_string(lineNo) + ": " + what,
                                   static_cast<int>(lineNo));
    };

    OutlineFile parsed;
    std::string line;
    ++lineNo;
    if (!file.ReadLine(line, MaxLineLength) || file.TooLong())
        return fail("the header needs the system index, the parts, the type and the mirror letter");
    if (line.find('\0') != std::string::npos) return fail(NulByte);
    if (const std::string fault = ReadHeader(line, parsed); !fault.empty()) return fail(fault);

    while (file.ReadLine(line, MaxLineLength)) {
        ++lineNo;
        if (file.TooLong()) return fail("the line is too long");
        if (line.find('\0') != std::string::npos) return fail(NulByte);
        if (Trim(line).empty()) continue; // blank lines at the end
        const std::vector<std::string> head = BlankSeparatedWords(line);
        const std::optional<std::int32_t> number = head.empty() ? std::nullopt : ReadInteger(head[0]);
        const std::optional<Real> index = RealWord(head, 1);
        if (!number || !index) return fail("an edge line needs the edge number and its index");
        ++lineNo;
        if (!file.ReadLine(line, MaxLineLength) || file.TooLong())
            return fail("the coordinates of the edge are missing");
        if (line.find('\0') != std::string::npos) return fail(NulByte);
        const std::vector<std::string> words = BlankSeparatedWords(line);
        std::array<Real, 6> c{};
        for (std::size_t k = 0; k < c.size(); ++k) {
            const std::optional<Real> v = RealWord(words, k);
            if (!v) return fail("an edge needs six coordinates");
            c[k] = *v;
        }
        if (parsed.edges.size() >= MaxParsedEdges)
            return fail("more than " + std::to_string(MaxOutlineSlots) + " outline edges");
        parsed.edges.push_back({*index, {c[0], c[1], c[2]}, {c[3], c[4], c[5]}, lineNo});
    }
    if (file.TooLarge()) return fail("the file is larger than 1 MB");

    // Build the outline aside: shared corners are found again, edges of one point are dropped.
    // Corners are searched from the lowest slot up (the latest stored first), as they lie in the table.
    std::vector<Vector3> points;
    std::vector<std::pair<int, int>> ends;
    std::vector<Real> indices;
    auto pointSlot = [&](const Vector3& p) -> int {
        for (std::size_t k = points.size(); k-- > 0;)
            if (ManhattanDistance(points[k], p) < SamePointDistance) return static_cast<int>(k);
        points.push_back(p);
        return static_cast<int>(points.size()) - 1;
    };
    const std::size_t limit = MaxOutlineSlots;
    for (const OutlineEdge& edge : parsed.edges) {
        const int a = pointSlot(edge.a);
        const int b = pointSlot(edge.b);
        if (a != b) {
            ends.emplace_back(a, b);
            indices.push_back(edge.index);
        }
        if (ends.size() > limit || points.size() > limit) {
            lineNo = edge.line;
            return fail("more than " + std::to_string(MaxOutlineSlots) + " outline " +
                        (ends.size() > limit ? "edges" : "points"));
        }
    }

    OutlineFileName = fileName;
    OutlineSystemIndex = parsed.systemIndex;
    OutlineParts = parsed.parts;
    OutlineType = parsed.type;
    OutlineMirror = parsed.mirror;
    OutlineOffset = parsed.offset;
    // Point k goes to slot -k, edge k to slot -k: the first read lies at 0.
    for (std::size_t k = 0; k < points.size(); ++k) {
        CornerPoint& point = Points[-static_cast<int>(k)];
        point.Flag = false;
        point.Position = points[k];
    }
    for (std::size_t k = 0; k < ends.size(); ++k) {
        FacetEdge& edge = Edges[-static_cast<int>(k)];
        edge = FacetEdge{};
        edge.PointA = -ends[k].first;
        edge.PointB = -ends[k].second;
        edge.OutlineIndex = indices[k];
    }
    OutlineFirstPoint = 1 - static_cast<int>(points.size());
    OutlineFirstEdge = 1 - static_cast<int>(ends.size());
    return {};
}

void TGem::DropOutline() {
    OutlineFirstEdge = 1;
    OutlineFirstPoint = 1;
}

bool TGem::OutlineFileExists() const {
    if (OutlineFileName.empty()) return false;
    std::error_code error;
    return std::filesystem::is_regular_file(OutlineFileName, error);
}
