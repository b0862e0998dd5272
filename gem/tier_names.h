// The tiers of a design in cutting order, named as cutters name them: crown tiers c1, c2, ...,
// pavilion tiers p1, p2, ..., girdle tiers g (g2, ... when there are more), the table t (a pavilion's
// flat bottom cu); or the names the design's text gives them.
#pragma once

#include "gem/vector3.h"

#include <string>
#include <vector>

class TGem;

struct NamedTier {
    std::string Name;
    std::string DerivedName;   // the cutters' convention name, whatever the text says
    int Tier = 0;              // the design's tier number (after GroupTiers)
    Real Angle = 0;            // cut angle, degrees
    std::vector<int> Facets;   // its facets in cutting order; facet -1 for the table
    std::vector<Real> Indices; // distinct shown indices, ascending
    bool Girdle = false;
    bool Table = false;

    bool NamedByText() const { return Name != DerivedName; }
};

// The tiers of a computed design whose facets are present on the stone, and its girdle tiers (cut to
// size even when later tiers take them away), ordered by their first cut; the table (or flat bottom)
// comes last. The design's tiers must be grouped (every recompute does).
// Tiers that the design's text names (see NameTiersFromText) carry those names. With a partner half the
// partner's text counts too, and an entry that fits a sloped tier of the partner as well names nothing.
std::vector<NamedTier> TiersInCuttingOrder(const TGem& design, const TGem* partner = nullptr);

// Tier names from text lines. An entry is a name followed by the angle and, optionally, the indices:
// "P1 43.00 03-09-15", "Crown main C1 34.00\xB0", "G 90.00", "T 0.00". The name is one letter with up
// to three digits ("P1", "G", "c12"), the angle has a decimal point or a degree sign, the indices are
// joined by "-" (a trailing "..." or "-..." allowed). An entry names the one tier whose angle rounds to
// the written angle at 0.01 degrees and that has every written index; an entry that fits no tier, or
// more than one (of `tiers` or `others`), names nothing. A tier given two different names, a name given
// to two tiers, and a name equal to another tier's name (case ignored) leave the derived names.
void NameTiersFromText(const std::vector<std::string>& lines, std::vector<NamedTier>& tiers,
                       const std::vector<NamedTier>& others = {});

// The name as pages and messages print it: a derived name in capitals ("P1", "G", "T"), a text name as
// written.
std::string PrintedName(const NamedTier& tier);
// Tier names are the same name when they differ in case only.
bool SameTierName(const std::string& a, const std::string& b);

// Indices as cutters write them: whole ones in two digits joined by "-" ("03-09-15"), others with two
// decimals.
std::string IndicesText(const std::vector<Real>& indices);
