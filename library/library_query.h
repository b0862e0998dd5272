// The search language of the design library, the same at the command line and in the window:
// blank-separated terms "key:value" (or a command-line option --key value), and words that are
// searched in the designs' names and texts. Ranges are "A-B", "A-" (at least A) or "-B" (at most B);
// a single number on a ratio or angle means that number as written (1.3 is 1.25 to 1.35).
#pragma once

#include "library/design_record.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

// The numeric figures one can filter and sort by.
enum class Figure {
    Gear,
    Parts,
    Facets,
    CrownFacets,
    PavilionFacets,
    LW,
    TW,
    CW,
    PW,
    GW,
    HW,
    VolW3,
    CrownAngle,
    PavilionAngle,
    Brightness
};

struct FigureKey {
    Figure Which;
    const char* Key;    // the term's key and the command-line option
    const char* Column; // the database column
    bool Whole;         // a whole number
    const char* Help;
};
extern const std::vector<FigureKey> FigureKeys;
// A design's value of the figure; empty where the design has none.
std::optional<double> FigureOf(const DesignRecord& r, Figure which);

// A closed range; either end may be open.
struct FigureRange {
    std::optional<double> Low, High;
};

struct LibraryQuery {
    std::string Text;               // words, all of which must occur (as words or word beginnings)
    std::vector<ShapeClass> Shapes; // any of them; empty: every shape
    std::vector<DesignKind> Kinds;  // any of them; empty: every kind
    std::optional<bool> Mirror;
    std::map<Figure, FigureRange> Ranges;
    std::string SortKey = "name"; // a figure's key, or name, path, shape or kind
    bool Descending = false;      // sort:-KEY
    bool BrokenOnly = false;      // broken:yes lists the files that could not be read
    int Limit = 0;                // 0: all
};

// The keys that are not figures, with their help texts: text, shape, kind, mirror, sort, broken, limit.
struct TermKey {
    const char* Key;
    const char* ValueName;
    const char* Help;
};
extern const std::vector<TermKey> TermKeys;

// Applies one term; answers what is wrong with it, or an empty text.
std::string ApplyTerm(LibraryQuery& query, const std::string& key, const std::string& value);
// Applies a whole query text; answers the first fault, or an empty text.
std::string ApplyQueryText(LibraryQuery& query, const std::string& text);

// The words of a text as FTS5 wants them: every word quoted and taken as a beginning.
std::string FullTextPattern(const std::string& text);
