// Replacing a facet group in place and deleting facets.
#include "gem/gem.h"

void TGem::EnterModifyMode(int first) {
    ModifyGroup = first;
    ModifyModeOn = true;
}

int TGem::LastFacetBeforeNewGroup() const {
    return ModifyModeOn ? ModifyGroup - 1 : FacetCount;
}

void TGem::MoveTailOut() {
    if (!ModifyModeOn) return;
    const int f = ModifyGroup;
    ModifySavedCount = FacetCount;
    FacetCount = f - 1;
    const int g = GroupParts(f);
    const char mark = SymChar(f);
    Parts = g;
    Mirror = mark == 'm' || mark == 's';
    if (mark == ' ' || mark == 'm') return;

    // The old group lies on mirror lines; the new one may need twice its slots.
    for (int r = ModifySavedCount; r >= f + g; --r)
        Facets[r + g] = Facets[r];
    ModifySavedCount += g;
}

void TGem::PutTailBack() {
    if (!ModifyModeOn) return;
    const int f = ModifyGroup;
    ModifyModeOn = false;
    const char mark = SymChar(f);
    if (mark == ' ' || mark == 'm') {
        FacetCount = ModifySavedCount;
        return;
    }
    const int g = GroupParts(f);
    for (int r = f + 2 * g; r <= ModifySavedCount; ++r)
        Facets[r - g] = Facets[r];
    FacetCount = ModifySavedCount - g;
}

void TGem::DeleteFacets(int first, int last) {
    if (first < 1 || first > last + 1) return;
    const int n = last - first + 1;
    for (int r = last + 1; r <= FacetCount; ++r)
        Facets[r - n] = Facets[r];
    FacetCount -= n;
    Recompute();
}
