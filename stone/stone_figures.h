// The figures by which cutters quote a whole stone, and how its two girdles agree.
#pragma once

#include "stone/stone.h"

#include <string>
#include <vector>

// Lengths in design units; every ratio is to the width W across the girdle.
struct StoneFigures {
    Real Width = 0;  // W: extent across x
    Real Length = 0; // L: extent across y
    Real Table = 0;  // T: the table face's extent across x; 0 without a table
    // The girdle band: its upper edge at its lowest and its lower edge at its highest point (the same
    // height, the widest section, for a stone without girdle faces).
    Real GirdleTop = 0, GirdleBottom = 0;
    Real CrownHeight = 0;                 // C: from the girdle's upper edge at its lowest to the top
    Real PavilionDepth = 0;               // P: from the girdle's lower edge at its highest to the bottom
    Real GirdleThin = 0, GirdleThick = 0; // G: thickness at the thinnest and the thickest point
    Real TotalDepth = 0;                  // H
    Real Volume = 0;
    int CrownFacets = 0, PavilionFacets = 0, GirdleFacets = 0; // faces of the stone
    int SystemIndex = 0, Parts = 0;
    bool Mirror = false;

    Real Ratio(Real value) const { return Width > 0 ? value / Width : 0; }
    Real VolumeRatio() const { return Width > 0 ? Volume / (Width * Width * Width) : 0; } // Vol/W³
};

// The figures of a made stone; `design` gives the gear and symmetry (the crown, or the one half).
StoneFigures FiguresOf(const Stone& stone, const TGem& design);

// The girdle band's height at its thinnest: the shortest vertical chord of a girdle face (0 without
// girdle faces).
Real ThinnestGirdle(const Stone& stone);

// How the girdles of the two halves agree: each half's section at the girdle plane and its girdle
// facets (vertical planes).
struct GirdleComparison {
    Real CrownWidth = 0, PavilionWidth = 0;
    Real CrownLength = 0, PavilionLength = 0;
    // Each difference above GirdleAgreement of the width, as the user reads it, e.g. "the pavilion's
    // girdle is 2.1% wider than the crown's". Empty when the girdles agree.
    std::vector<std::string> Findings;

    bool Agree() const { return Findings.empty(); }
    // The factor that resizes the pavilion about the axis to the crown's girdle width, and the reverse.
    Real PavilionToCrown() const { return PavilionWidth > 0 ? CrownWidth / PavilionWidth : 1; }
    Real CrownToPavilion() const { return CrownWidth > 0 ? PavilionWidth / CrownWidth : 1; }
};

inline constexpr Real GirdleAgreement = 0.001L; // of the width

GirdleComparison CompareGirdles(const TGem& crown, const TGem& pavilion);
