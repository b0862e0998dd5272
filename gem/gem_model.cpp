// Construction, accessors and the design-level queries of TGem.
#include "gem/gem.h"
#include "gem/numtext.h"

#include <cstdlib>

TGem::TGem() {
    NewDesign('c', 8, 96, false, 0, true);
}

TGem::~TGem() = default;

std::int32_t TGem::IndexCount() const {
    return std::abs(SystemIndex);
}

std::string TGem::TextLine(int k) const {
    return TrimRight(TextLines[k]);
}

void TGem::DeleteLastGroup() {
    if (FacetCount <= 0) return;
    while (FacetCount > 0 && Facets[FacetCount].GroupParts == 0)
        --FacetCount;
    if (FacetCount > 0) --FacetCount;
    Recompute();
}
