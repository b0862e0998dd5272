// Model queries the sheet draws from.
#pragma once

#include "gem/gem.h"

#include <string>
#include <vector>

bool SheetAnyFacetShown(const TGem& gem);
bool SheetFacetCentre(const TGem& gem, int f, Vector3& centre);
bool SheetGirdleLabelAnchor(const TGem& gem, int f, Real& x, Real& y);
Real SheetLabelIndex(const TGem& gem, int f);
bool SheetGroupRange(const TGem& gem, int f, int& first, int& last);

// The proportion block: each text and whether it shows for this design.
struct SheetProportionLine {
    std::string Text;
    bool Shown;
};
// In order: parts, mirror, L/W, letter/W, letter/L, T/W, facets, system index, volume.
std::vector<SheetProportionLine> SheetProportions(const TGem& gem);

void SheetSetViewRotation(TGem& gem, Real a, Real b, Real c);
