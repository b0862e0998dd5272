// What the design library holds about one design.
#pragma once

#include "library/girdle_shape.h"

#include <cstdint>
#include <optional>
#include <string>

// What a design is made of: an ASC file (both halves), a crown or a pavilion design file alone, or a
// crown file with its pavilion file beside it (NAMEc.lfx and NAMEp.lfx).
enum class DesignKind { Asc, Crown, Pavilion, Pair };
std::string KindName(DesignKind kind);
std::optional<DesignKind> KindNamed(const std::string& name);

// The figures of a design: ratios to the girdle width W of the whole stone, and the facet counts.
struct DesignFigures {
    int Facets = 0; // facets of the whole stone, girdle facets counted once
    int CrownFacets = 0, PavilionFacets = 0;
    std::optional<double> LW, TW, CW, PW, GW, HW, VolW3; // absent where the design has no such part
    std::optional<double> CrownAngle, PavilionAngle;     // the main angles, degrees
    ShapeClass Shape = ShapeClass::Other;
};

struct DesignRecord {
    std::int64_t Id = 0;
    std::string Path;    // the design file (the crown's file of a pair)
    std::string Partner; // the pavilion's file of a pair, else empty
    DesignKind Kind = DesignKind::Asc;
    std::string Name;  // the file's name without folder and extension
    std::string Title; // the cut's name, or the first text line
    std::string Text;  // every text line, one per line (Latin-1 as in the file)
    int Gear = 0, Parts = 0;
    bool Mirror = false;
    DesignFigures Figures;
    std::optional<double> Brightness; // filled by the optics, later
    // A file that could not be read: why, and the line (0 when none); the figures are then empty.
    std::string Broken;
    int BrokenLine = 0;
    bool HasThumbnail = false;
};
