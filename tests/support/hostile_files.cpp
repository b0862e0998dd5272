#include "tests/support/hostile_files.h"

#include "gem/numread.h"

#include <cmath>
#include <cstddef>
#include <initializer_list>
#include <utility>

namespace {
constexpr std::size_t OneMegabyte = 1 << 20;

// A base file as lines; the damage is done to one line (or record type) at a time.
struct Base {
    FileFormat Format;
    std::vector<std::string> Lines;
    std::string LineEnd;
    bool Tagged; // the first character of a line is its record tag (design and ASC files)
};

// A crown of 96 teeth: a square girdle of 4 parts, and 4 mirrored crown mains at 45 degrees.
Base DesignBase() {
    return {FileFormat::Design,
            {"V LapidraW hostile-file base",
             "s96 4 cn0",
             "f  0.00000000  0.00000000 -1.00000000 -10.000000    0.000",
             "f  0.00000000  0.00000000  1.00000000   0.000000    0.000",
             "f -1.00000000  0.00000000  0.00000000 -20.000000    0.000",
             "f  0.00000000 -1.00000000  0.00000000 -20.000000   24.000",
             "f  1.00000000  0.00000000  0.00000000 -20.000000   48.000",
             "f  0.00000000  1.00000000  0.00000000 -20.000000   72.000",
             "m 4 m",
             "f -0.70710678  0.00000000 -0.70710678 -20.000000    0.000",
             "f  0.00000000 -0.70710678 -0.70710678 -20.000000   24.000",
             "f  0.70710678  0.00000000 -0.70710678 -20.000000   48.000",
             "f  0.00000000  0.70710678 -0.70710678 -20.000000   72.000",
             "Ifirst text line",
             "I",
             "I",
             "I",
             "I",
             "I",
             "I",
             "I",
             "I",
             "Ifilename: base.lfx",
             "CHostile base",
             "AA. Tester",
             "dmessage line",
             "d",
             "d",
             "d",
             "e"},
            "\r\n",
            true};
}

// The same stone as an ASC file: table, girdle, crown mains over a continuation line, pavilion mains.
Base AscBase() {
    return {FileFormat::Asc,
            {"GemCad 4.51", "g 96 0.0", "y 4 y", "I 1.54", "H Hostile base", "H second header line",
             "a 0.00 0.20408 0", "a 90.00 0.40816 0 24 48 72", "a 45.00 0.40816 0 24", " 48 72",
             "a -45.00 0.40816 0 24 48 72", "a -0.00 -0.30000 0", "F footer line"},
            "\n",
            true};
}

// A square girdle outline of four edges.
Base OutlineBase() {
    return {FileFormat::Outline,
            {"96 4 cn0", "1   0.00000000000000E+0000",
             " -20.0000  -20.0000    0.0000  -20.0000   20.0000    0.0000", "2   2.40000000000000E+0001",
             " -20.0000   20.0000    0.0000   20.0000   20.0000    0.0000", "3   4.80000000000000E+0001",
             "  20.0000   20.0000    0.0000   20.0000  -20.0000    0.0000", "4   7.20000000000000E+0001",
             "  20.0000  -20.0000    0.0000  -20.0000  -20.0000    0.0000"},
            "\r\n",
            false};
}

Base BaseOf(FileFormat format) {
    switch (format) {
    case FileFormat::Design:
        return DesignBase();
    case FileFormat::Asc:
        return AscBase();
    case FileFormat::Outline:
    default:
        return OutlineBase();
    }
}

// The blank-separated words of a line after its tag: where each starts and how long it is.
std::vector<std::pair<std::size_t, std::size_t>> WordSpans(const std::string& line, bool tagged) {
    std::vector<std::pair<std::size_t, std::size_t>> spans;
    std::size_t i = tagged ? 1 : 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ')
            ++i;
        const std::size_t start = i;
        while (i < line.size() && line[i] != ' ')
            ++i;
        if (i > start) spans.emplace_back(start, i - start);
    }
    return spans;
}

// Makes the cases of one base file.
class CaseMaker {
  public:
    CaseMaker(FileFormat format, std::vector<HostileFile>& out) : base_(BaseOf(format)), out_(out) {}

    int LineCount() const { return static_cast<int>(base_.Lines.size()); }
    const std::string& Line(int k) const { return base_.Lines[static_cast<std::size_t>(k)]; }

    void AddBytes(Fault kind, const std::string& record, const std::string& what, std::string bytes) {
        const char* prefix = base_.Format == FileFormat::Design ? "lfx "
                             : base_.Format == FileFormat::Asc  ? "asc "
                                                                : "otl ";
        out_.push_back({base_.Format, kind, record, prefix + record + " " + what, std::move(bytes)});
    }

    void AddLines(Fault kind, const std::string& record, const std::string& what,
                  const std::vector<std::string>& lines) {
        AddBytes(kind, record, what, Join(lines));
    }

    // Line k replaced by `text` (several lines when it holds line ends).
    void Replace(Fault kind, const std::string& record, const std::string& what, int k,
                 const std::string& text) {
        std::vector<std::string> lines = base_.Lines;
        lines[static_cast<std::size_t>(k)] = text;
        AddLines(kind, record, what, lines);
    }

    // Line k replaced by each text in turn, one case each.
    void ReplaceEach(Fault kind, const std::string& record, int k,
                     std::initializer_list<std::pair<const char*, const char*>> cases) {
        for (const auto& [what, text] : cases)
            Replace(kind, record, what, k, text);
    }

    // `text` inserted after line k.
    void InsertAfter(Fault kind, const std::string& record, const std::string& what, int k,
                     const std::string& text, int copies = 1) {
        std::vector<std::string> lines = base_.Lines;
        lines.insert(lines.begin() + k + 1, static_cast<std::size_t>(copies), text);
        AddLines(kind, record, what, lines);
    }

    // Word w of line k replaced.
    void ReplaceWord(Fault kind, const std::string& record, const std::string& what, int k, std::size_t w,
                     const std::string& word) {
        std::string line = Line(k);
        const auto spans = WordSpans(line, base_.Tagged);
        line.replace(spans[w].first, spans[w].second, word);
        Replace(kind, record, what, k, line);
    }

    // The damages that apply to every record: line k is a record of type `record`, and the words
    // `counts` of it are counts (parts, teeth, an edge number).
    void Generic(int k, const std::string& record, const std::vector<std::size_t>& counts = {}) {
        const std::string& line = Line(k);
        const auto spans = WordSpans(line, base_.Tagged);
        if (!spans.empty())
            Replace(Fault::MissingField, record, "last field left out", k,
                    line.substr(0, spans.back().first));
        Replace(Fault::ExtraField, record, "extra field", k, line + " 7");
        for (std::size_t w = 0; w < spans.size(); ++w) {
            if (!ReadReal(line.substr(spans[w].first, spans[w].second))) continue;
            const std::string field = " field " + std::to_string(w + 1);
            ReplaceWord(Fault::LetterForNumber, record, "letter in" + field, k, w, "x");
            ReplaceWord(Fault::NotANumber, record, "nan in" + field, k, w, "nan");
            ReplaceWord(Fault::Infinite, record, "inf in" + field, k, w, "-inf");
            ReplaceWord(Fault::HugeExponent, record, "1e400 in" + field, k, w, "1e400");
            ReplaceWord(Fault::NegativeZero, record, "-0 in" + field, k, w, "-0");
        }
        for (const std::size_t w : counts) {
            const std::string field = " count " + std::to_string(w + 1);
            ReplaceWord(Fault::HugeCount, record, "32-bit largest" + field, k, w, "2147483647");
            ReplaceWord(Fault::HugeCount, record, "beyond 32 bits" + field, k, w, "99999999999");
            ReplaceWord(Fault::NegativeCount, record, "negative" + field, k, w, "-4");
        }
        Replace(Fault::LongLine, record, "1 MB line", k, line + " " + std::string(OneMegabyte, '7'));
        std::string nul = line;
        nul.insert(nul.size() / 2, 1, '\0');
        Replace(Fault::NulByte, record, "NUL byte", k, nul);
        std::string cr = line;
        cr.insert(cr.size() / 2, 1, '\r');
        Replace(Fault::LoneCr, record, "CR inside", k, cr);
        AddBytes(Fault::LoneCr, record, "CR as line end", JoinUpTo(k) + line + "\r" + JoinFrom(k + 1));
        AddBytes(Fault::NoFinalLineEnd, record, "file ends after it", JoinUpTo(k) + line);
        AddBytes(Fault::Truncated, record, "file ends inside it",
                 JoinUpTo(k) + line.substr(0, line.size() / 2));
        InsertAfter(Fault::Duplicate, record, "twice", k, line);
    }

  private:
    std::string Join(const std::vector<std::string>& lines) const {
        std::string bytes;
        for (const std::string& line : lines)
            bytes += line + base_.LineEnd;
        return bytes;
    }
    // Lines 0 ... k-1, each with its line end.
    std::string JoinUpTo(int k) const { return Join({base_.Lines.begin(), base_.Lines.begin() + k}); }
    // Lines k ... the last.
    std::string JoinFrom(int k) const { return Join({base_.Lines.begin() + k, base_.Lines.end()}); }

    Base base_;
    std::vector<HostileFile>& out_;
};

// Line numbers of the records in the design base.
enum DesignLine {
    VLine = 0,
    SLine = 1,
    TableLine = 2,
    GirdlePlaneLine = 3,
    GirdleLine = 4,
    MLine = 8,
    MainLine = 9,
    ILine = 13,
    CLine = 23,
    ALine = 24,
    DLine = 25,
    ELine = 29
};

void DesignCases(std::vector<HostileFile>& out) {
    CaseMaker m(FileFormat::Design, out);
    m.Generic(VLine, "V");
    m.Generic(SLine, "s", {0, 1});
    m.Generic(MLine, "m", {0});
    m.Generic(MainLine, "f");
    m.Generic(TableLine, "f table");
    m.Generic(ILine, "I");
    m.Generic(CLine, "C");
    m.Generic(ALine, "A");
    m.Generic(DLine, "d");
    m.Generic(ELine, "e");

    // The q header always carries the offset.
    m.Replace(Fault::MissingField, "q", "without offset", SLine, "q96 4 cn");
    m.Replace(Fault::AtLimit, "q", "with offset", SLine, "q96 4 cn95");
    // The offset of the s record, glued to the mirror letter.
    m.Replace(Fault::HugeExponent, "s", "offset 1e30", SLine, "s96 4 cn1e30");
    m.Replace(Fault::NotANumber, "s", "offset nan", SLine, "s96 4 cnnan");
    m.Replace(Fault::LetterForNumber, "s", "type letter for parts", SLine, "s96 c cn0");
    m.Replace(Fault::MissingField, "s", "no type and mirror", SLine, "s96 4");

    // Symmetry and index values at and beyond their limits.
    m.ReplaceEach(Fault::AtLimit, "s", SLine,
                  {{"largest gear", "s2147483647 4 cn0"},
                   {"smallest negative gear", "s-2147483647 4 cn0"},
                   {"three teeth", "s3 1 cn0"},
                   {"parts equal to the gear", "s96 96 cn0"},
                   {"largest offset", "s96 4 cn2147483647"},
                   {"smallest offset", "s96 4 cn-2147483648"},
                   {"parts not dividing the gear", "s96 5 cn0"}});
    m.ReplaceEach(Fault::BeyondLimit, "s", SLine,
                  {{"gear of zero", "s0 4 cn0"},
                   {"gear of -2^31", "s-2147483648 4 cn0"},
                   {"parts above the gear", "s96 97 cn0"},
                   {"no parts", "s96 0 cn0"},
                   {"offset beyond 32 bits", "s96 4 cn2147483648"},
                   {"type x", "s96 4 xn0"},
                   {"2^31-1 parts on 96 teeth", "s96 2147483647 cn0"}});
    m.Replace(Fault::AtLimit, "m", "parts equal to the gear", MLine, "m 96 m");
    m.Replace(Fault::BeyondLimit, "m", "parts above the gear", MLine, "m 97 m");
    m.Replace(Fault::BeyondLimit, "m", "no parts", MLine, "m 0 n");
    m.Replace(Fault::BeyondLimit, "m", "2^31-1 parts on 96 teeth", MLine, "m 2147483647 n");

    m.ReplaceEach(Fault::AtLimit, "f", MainLine,
                  {{"index just below the gear", "f -0.70710678  0.00000000 -0.70710678 -20.000000   95.999"},
                   {"index at the gear", "f -0.70710678  0.00000000 -0.70710678 -20.000000   96.000"},
                   {"index at the reach", "f -0.70710678  0.00000000 -0.70710678 -20.000000 100000"},
                   {"distance at the reach", "f -0.70710678  0.00000000 -0.70710678 -100000 0"},
                   {"normal 1e-6 long", "f -1.00000100  0.00000000  0.00000000 -20.000000    0.000"}});
    m.ReplaceEach(Fault::BeyondLimit, "f", MainLine,
                  {{"index beyond the reach", "f -0.70710678  0.00000000 -0.70710678 -20.000000 100001"},
                   {"distance beyond the reach", "f -0.70710678  0.00000000 -0.70710678 -100001 0"},
                   {"distance 1e30", "f -0.70710678  0.00000000 -0.70710678 -1e30 0"},
                   {"zero normal", "f 0 0 0 -20 0"},
                   {"normal too long", "f -1.00001000  0.00000000  0.00000000 -20.000000    0.000"},
                   {"normal of length 3", "f -3 0 0 -20 0"}});

    // Counts of records.
    m.InsertAfter(Fault::HugeCount, "f", "2001 facets", MainLine, m.Line(MainLine), 1997);
    m.InsertAfter(Fault::AtLimit, "f", "2000 facets", MainLine, m.Line(MainLine), 1992);
    m.InsertAfter(Fault::HugeCount, "I", "40 text lines", ILine, "Imore", 30);
    m.InsertAfter(Fault::HugeCount, "d", "12 message lines", DLine, "dmore", 8);

    // Records that disagree.
    m.InsertAfter(Fault::Contradictory, "s", "s then q", SLine, "q64 2 pm7");
    m.InsertAfter(Fault::Contradictory, "s", "second s after facets", MainLine, "s96 8 cm0");
    m.InsertAfter(Fault::Contradictory, "f table", "two tables", TableLine,
                  "f  0.00000000  0.00000000 -1.00000000  -3.000000    0.000");
    m.InsertAfter(Fault::Contradictory, "f", "opposite plane: empty stone", MainLine,
                  "f  0.70710678  0.00000000  0.70710678  25.000000    0.000");
    m.InsertAfter(Fault::Contradictory, "f", "same plane twice", GirdleLine, m.Line(GirdleLine));
    m.Replace(Fault::Contradictory, "f", "index far from the normal's", MainLine,
              "f -0.70710678  0.00000000 -0.70710678 -20.000000   50.000");
    m.InsertAfter(Fault::Contradictory, "m", "two symmetries in a row", MLine, "m 3 n");
    m.InsertAfter(Fault::Contradictory, "m", "symmetry inside a group", MainLine, "m 2 n");
    m.InsertAfter(Fault::Contradictory, "e", "records after the end", ELine, "s0 0 xx");
    m.Replace(Fault::Contradictory, "e", "end before the header", SLine, "e");
}

// Line numbers of the records in the ASC base.
enum AscLine {
    GemCadLine = 0,
    GearLine = 1,
    SymmetryLine = 2,
    IndexLine = 3,
    HeaderLine = 4,
    TableRecord = 6,
    GirdleRecord = 7,
    MainRecord = 8,
    Continuation = 9,
    PavilionRecord = 10,
    CuletRecord = 11,
    FooterLine = 12
};

void AscCases(std::vector<HostileFile>& out) {
    CaseMaker m(FileFormat::Asc, out);
    m.Generic(GemCadLine, "GemCad");
    m.Generic(GearLine, "g", {0});
    m.Generic(SymmetryLine, "y", {0});
    m.Generic(IndexLine, "I");
    m.Generic(HeaderLine, "H");
    m.Generic(MainRecord, "a");
    m.Generic(TableRecord, "a flat");
    m.Generic(Continuation, "continuation");
    m.Generic(FooterLine, "F");

    m.Replace(Fault::MissingField, "g", "gear line without its letter", GearLine, "96 0.0");
    m.Replace(Fault::LetterForNumber, "y", "mirror letter for parts", SymmetryLine, "y y 4");

    m.ReplaceEach(Fault::AtLimit, "g", GearLine,
                  {{"three teeth", "g 3 0"},
                   {"negative gear", "g -96 48"},
                   {"gear at the reach", "g 100000 0"},
                   {"offset at the gear", "g 96 96"},
                   {"fractional offset", "g 96 0.5"}});
    m.ReplaceEach(Fault::BeyondLimit, "g", GearLine,
                  {{"two teeth", "g 2 0"},
                   {"no teeth", "g 0 0"},
                   {"gear beyond the reach", "g 100001 0"},
                   {"32-bit gear", "g 2147483647 0"}});
    m.Replace(Fault::AtLimit, "y", "parts equal to the gear", SymmetryLine, "y 96 y");
    m.Replace(Fault::AtLimit, "y", "parts not dividing the gear", SymmetryLine, "y 5 n");
    m.Replace(Fault::BeyondLimit, "y", "parts above the gear", SymmetryLine, "y 97 n");
    m.Replace(Fault::BeyondLimit, "y", "no parts", SymmetryLine, "y 0 n");

    m.ReplaceEach(Fault::AtLimit, "a", MainRecord,
                  {{"index just below the gear", "a 45.00 0.40816 95.99"},
                   {"index at the gear", "a 45.00 0.40816 96"},
                   {"negative index", "a 45.00 0.40816 -1"},
                   {"index at the reach", "a 45.00 0.40816 100000"},
                   {"distance at the reach", "a 45.00 2040 0"},
                   {"zero distance", "a 45.00 0 0"},
                   {"angle 90", "a 90.00 0.40816 12"},
                   {"angle 360", "a 360.00 0.40816 12"},
                   {"angle at the reach", "a 100000 0.40816 12"}});
    m.Replace(Fault::BeyondLimit, "a", "distance beyond the reach", MainRecord, "a 45.00 2041 0");
    m.Replace(Fault::BeyondLimit, "a", "index beyond the reach", MainRecord, "a 45.00 0.40816 100001");

    // Counts of indices and records.
    std::string indices200 = "a 30.00 0.30000", indices201;
    for (int k = 0; k < 200; ++k)
        indices200 += " " + std::to_string(k % 96);
    indices201 = indices200 + " 7";
    m.Replace(Fault::AtLimit, "a", "200 indices", MainRecord, indices200);
    m.Replace(Fault::HugeCount, "a", "201 indices", MainRecord, indices201);
    m.InsertAfter(Fault::AtLimit, "a flat", "500 facet lines", TableRecord, m.Line(TableRecord), 494);
    m.InsertAfter(Fault::HugeCount, "a flat", "501 facet lines", TableRecord, m.Line(TableRecord), 495);
    m.InsertAfter(Fault::HugeCount, "H", "20 header lines", HeaderLine, "H more", 18);

    m.InsertAfter(Fault::Contradictory, "g", "two gears", GearLine, "g 64 3");
    m.InsertAfter(Fault::Contradictory, "y", "two symmetries", SymmetryLine, "y 3 n");
    m.InsertAfter(Fault::Contradictory, "g", "gear after the facets", PavilionRecord, "g 80 0");
    m.InsertAfter(Fault::Contradictory, "continuation", "before the first facet line", GearLine, " 5 6");
    m.Replace(Fault::Contradictory, "a flat", "crown table below the girdle", TableRecord,
              "a 0.00 -0.20000 0");
    m.Replace(Fault::Contradictory, "a", "one index listed twice", MainRecord, "a 45.00 0.40816 0 0 24 24");
    m.InsertAfter(Fault::Contradictory, "a", "same plane as another line", MainRecord, m.Line(MainRecord));
}

// An outline of n edges round a circle of radius 50 (101 edges fit the outline slots, 102 do not).
std::string PolygonOutline(int n) {
    std::string text = "96 1 cn0\r\n";
    auto point = [n](int k) {
        const double a = 6.283185307179586 * k / n;
        return std::to_string(50 * std::cos(a)) + " " + std::to_string(50 * std::sin(a)) + " 0";
    };
    for (int k = 0; k < n; ++k)
        text += std::to_string(k + 1) + "  0\r\n" + point(k) + " " + point(k + 1) + "\r\n";
    return text;
}

enum OutlineLine { OutlineHeader = 0, EdgeLine = 1, CoordinateLine = 2 };

void OutlineCases(std::vector<HostileFile>& out) {
    CaseMaker m(FileFormat::Outline, out);
    m.Generic(OutlineHeader, "header", {0, 1});
    m.Generic(EdgeLine, "edge", {0});
    m.Generic(CoordinateLine, "coordinates");

    m.Replace(Fault::MissingField, "header", "without offset", OutlineHeader, "96 4 cn");
    m.Replace(Fault::HugeExponent, "header", "offset 1e30", OutlineHeader, "96 4 cn1e30");
    m.ReplaceEach(Fault::AtLimit, "header", OutlineHeader,
                  {{"three teeth", "3 1 cn0"},
                   {"parts equal to the gear", "96 96 cm0"},
                   {"largest offset", "96 4 cn2147483647"},
                   {"pavilion", "-96 4 pm0"}});
    m.ReplaceEach(Fault::BeyondLimit, "header", OutlineHeader,
                  {{"no teeth", "0 4 cn0"},
                   {"gear of -2^31", "-2147483648 4 cn0"},
                   {"parts above the gear", "96 97 cn0"},
                   {"no parts", "96 0 cn0"},
                   {"type x", "96 4 xn0"},
                   {"mirror letter y", "96 4 cy0"}});

    m.Replace(Fault::AtLimit, "coordinates", "at the reach", CoordinateLine, "-100000 -20 0 -20 20 0");
    m.Replace(Fault::BeyondLimit, "coordinates", "beyond the reach", CoordinateLine,
              "-100001 -20 0 -20 20 0");
    m.Replace(Fault::AtLimit, "edge", "index at the reach", EdgeLine, "1  1e5");
    m.Replace(Fault::BeyondLimit, "edge", "index beyond the reach", EdgeLine, "1  1.00001E+0005");

    m.AddBytes(Fault::AtLimit, "edge", "101 edges", PolygonOutline(101));
    m.AddBytes(Fault::HugeCount, "edge", "102 edges", PolygonOutline(102));
    std::string sameEdge = "96 1 cn0\r\n";
    for (int k = 0; k < 100000; ++k)
        sameEdge += "1  0\r\n0 0 0 1 1 0\r\n";
    m.AddBytes(Fault::HugeCount, "edge", "100000 copies of one edge", sameEdge);

    m.InsertAfter(Fault::Contradictory, "edge", "an edge whose ends coincide", CoordinateLine,
                  "5  0\r\n 1 1 0 1 1 0");
    m.InsertAfter(Fault::Contradictory, "edge", "the same edge reversed", CoordinateLine,
                  "5  0\r\n -20.0000   20.0000    0.0000  -20.0000  -20.0000    0.0000");
    m.InsertAfter(Fault::Contradictory, "edge", "an edge without coordinates", m.LineCount() - 1, "9  0");
}
} // namespace

const char* FormatName(FileFormat format) {
    switch (format) {
    case FileFormat::Design:
        return "design";
    case FileFormat::Asc:
        return "ASC";
    case FileFormat::Outline:
    default:
        return "outline";
    }
}

const char* FaultName(Fault fault) {
    static const char* const names[FaultCount] = {"missing field",
                                                  "extra field",
                                                  "letter for a number",
                                                  "nan",
                                                  "inf",
                                                  "1e400",
                                                  "-0",
                                                  "huge count",
                                                  "negative count",
                                                  "1 MB line",
                                                  "NUL byte",
                                                  "lone CR",
                                                  "no final line end",
                                                  "truncated record",
                                                  "at a limit",
                                                  "beyond a limit",
                                                  "duplicate record",
                                                  "contradictory records"};
    return names[static_cast<int>(fault)];
}

std::string BaseFile(FileFormat format) {
    const Base base = BaseOf(format);
    std::string bytes;
    for (const std::string& line : base.Lines)
        bytes += line + base.LineEnd;
    return bytes;
}

std::vector<HostileFile> HostileFiles() {
    std::vector<HostileFile> files;
    DesignCases(files);
    AscCases(files);
    OutlineCases(files);
    return files;
}
