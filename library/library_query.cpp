#include "library/library_query.h"

#include "gem/numread.h"

#include <cmath>

const std::vector<FigureKey> FigureKeys = {
    {Figure::Gear, "gear", "gear", true, "Index gear (teeth)"},
    {Figure::Parts, "parts", "parts", true, "Identical parts (rotational symmetry)"},
    {Figure::Facets, "facets", "facets", true, "Facets of the whole stone"},
    {Figure::CrownFacets, "crown-facets", "crown_facets", true, "Crown facets, girdle not counted"},
    {Figure::PavilionFacets, "pavilion-facets", "pavilion_facets", true,
     "Pavilion facets, girdle not counted"},
    {Figure::LW, "lw", "lw", false, "Length to width"},
    {Figure::TW, "tw", "tw", false, "Table to width"},
    {Figure::CW, "cw", "cw", false, "Crown height to width"},
    {Figure::PW, "pw", "pw", false, "Pavilion depth to width"},
    {Figure::GW, "gw", "gw", false, "Girdle at its thickest to width"},
    {Figure::HW, "hw", "hw", false, "Total height to width"},
    {Figure::VolW3, "vol", "vol", false, "Volume to width cubed"},
    {Figure::CrownAngle, "crown-angle", "crown_angle", false, "Main crown angle, degrees"},
    {Figure::PavilionAngle, "pavilion-angle", "pavilion_angle", false, "Main pavilion angle, degrees"},
    {Figure::Brightness, "brightness", "brightness", false, "Brightness"},
};

const std::vector<TermKey> TermKeys = {
    {"text", "WORDS", "Words in the name, title or text lines"},
    {"shape", "S",
     "Girdle shape: round, oval, pear, marquise, heart, square, rectangle, octagon (emerald), "
     "triangle, cushion, other; several separated by commas"},
    {"kind", "K", "asc, crown, pavilion or pair; several separated by commas"},
    {"mirror", "yes|no", "Mirror-image symmetry"},
    {"sort", "KEY", "Sort by name, path, shape, kind or a figure; -KEY sorts downwards"},
    {"broken", "yes", "List the files that could not be read"},
    {"limit", "N", "At most N designs"},
};

std::optional<double> FigureOf(const DesignRecord& r, Figure which) {
    const DesignFigures& f = r.Figures;
    switch (which) {
    case Figure::Gear:
        return r.Gear;
    case Figure::Parts:
        return r.Parts;
    case Figure::Facets:
        return f.Facets;
    case Figure::CrownFacets:
        return f.CrownFacets;
    case Figure::PavilionFacets:
        return f.PavilionFacets;
    case Figure::LW:
        return f.LW;
    case Figure::TW:
        return f.TW;
    case Figure::CW:
        return f.CW;
    case Figure::PW:
        return f.PW;
    case Figure::GW:
        return f.GW;
    case Figure::HW:
        return f.HW;
    case Figure::VolW3:
        return f.VolW3;
    case Figure::CrownAngle:
        return f.CrownAngle;
    case Figure::PavilionAngle:
        return f.PavilionAngle;
    case Figure::Brightness:
        return r.Brightness;
    }
    return std::nullopt;
}

namespace {
std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::string part;
    for (const char c : text) {
        if (c == separator) {
            parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    parts.push_back(part);
    return parts;
}

// Half a unit of the last decimal written: "1.3" stands for 1.25 ... 1.35.
double HalfLastDecimal(const std::string& number) {
    const auto point = number.find('.');
    const int decimals = point == std::string::npos ? 0 : static_cast<int>(number.size() - point - 1);
    return 0.5 * std::pow(10.0, -decimals);
}

std::optional<double> Number(const std::string& text, bool whole) {
    if (whole) {
        if (auto n = ReadInteger(text)) return *n;
        return std::nullopt;
    }
    if (auto r = ReadReal(text)) return static_cast<double>(*r);
    return std::nullopt;
}

std::optional<FigureRange> ParseRange(const std::string& text, bool whole) {
    FigureRange range;
    auto dash = text.find('-', 1); // a leading dash is "at most"
    if (!text.empty() && text[0] == '-') dash = 0;
    if (dash == std::string::npos) {
        const auto value = Number(text, whole);
        if (!value) return std::nullopt;
        const double half = whole ? 0 : HalfLastDecimal(text);
        range.Low = *value - half;
        range.High = *value + half;
        return range;
    }
    const std::string low = text.substr(0, dash), high = text.substr(dash + 1);
    if (low.empty() && high.empty()) return std::nullopt;
    if (!low.empty() && !(range.Low = Number(low, whole))) return std::nullopt;
    if (!high.empty() && !(range.High = Number(high, whole))) return std::nullopt;
    return range;
}

bool IsSortKey(const std::string& key) {
    if (key == "name" || key == "path" || key == "shape" || key == "kind") return true;
    for (const FigureKey& f : FigureKeys)
        if (key == f.Key) return true;
    return false;
}
} // namespace

std::string ApplyTerm(LibraryQuery& query, const std::string& key, const std::string& value) {
    for (const FigureKey& f : FigureKeys) {
        if (key != f.Key) continue;
        const auto range = ParseRange(value, f.Whole);
        if (!range)
            return key + " takes " + (f.Whole ? "a whole number" : "a number") +
                   " or a range A-B, A- or -B, not '" + value + "'";
        query.Ranges[f.Which] = *range;
        return "";
    }
    if (key == "text") {
        query.Text += (query.Text.empty() ? "" : " ") + value;
    } else if (key == "shape") {
        for (const std::string& name : Split(value, ',')) {
            const auto shape = ShapeNamed(name);
            if (!shape) return "unknown shape '" + name + "'";
            query.Shapes.push_back(*shape);
        }
    } else if (key == "kind") {
        for (const std::string& name : Split(value, ',')) {
            const auto kind = KindNamed(name);
            if (!kind) return "unknown kind '" + name + "' (asc, crown, pavilion, pair)";
            query.Kinds.push_back(*kind);
        }
    } else if (key == "mirror" || key == "broken") {
        const bool yes = value == "yes" || value == "y" || value == "1" || value == "true";
        const bool no = value == "no" || value == "n" || value == "0" || value == "false";
        if (!yes && !no) return key + " takes yes or no, not '" + value + "'";
        if (key == "mirror")
            query.Mirror = yes;
        else
            query.BrokenOnly = yes;
    } else if (key == "sort") {
        const bool down = !value.empty() && value[0] == '-';
        const std::string sortKey = down ? value.substr(1) : value;
        if (!IsSortKey(sortKey)) return "cannot sort by '" + value + "'";
        query.SortKey = sortKey;
        query.Descending = down;
    } else if (key == "limit") {
        const auto n = ReadInteger(value);
        if (!n || *n < 0) return "limit takes a whole number, not '" + value + "'";
        query.Limit = *n;
    } else {
        return "unknown search key '" + key + "'";
    }
    return "";
}

std::string ApplyQueryText(LibraryQuery& query, const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\t') {
            ++i;
            continue;
        }
        if (text[i] == '"') { // a quoted phrase is searched as words
            const auto end = text.find('"', i + 1);
            const std::string phrase =
                text.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            ApplyTerm(query, "text", phrase);
            i = end == std::string::npos ? text.size() : end + 1;
            continue;
        }
        auto end = text.find_first_of(" \t", i);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(i, end - i);
        i = end;
        const auto colon = word.find(':');
        const std::string fault = colon == std::string::npos || colon == 0
                                      ? ApplyTerm(query, "text", word)
                                      : ApplyTerm(query, word.substr(0, colon), word.substr(colon + 1));
        if (!fault.empty()) return fault;
    }
    return "";
}

std::string FullTextPattern(const std::string& text) {
    std::string pattern;
    for (const std::string& word : Split(text, ' ')) {
        if (word.empty()) continue;
        std::string quoted = "\"";
        for (const char c : word)
            quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
        pattern += (pattern.empty() ? "" : " ") + quoted + "\"*";
    }
    return pattern;
}
