// Feeds arbitrary bytes to the girdle-outline reader. Besides crashes and undefined behaviour it checks
// that a refused file leaves the earlier outline as it was, and that an accepted one fits its slots.
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_input.h"
#include "gem/gem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {
// A design whose girdle outline is loaded: the outline a failed read must keep.
TGem& Design() {
    static std::unique_ptr<TGem> gem = [] {
        auto g = std::make_unique<TGem>();
        g->NewDesign('c', 16, 96, false, 0, true);
        g->CutFacetGroup(1, g->PlaneFromAngleIndexDist(40, 0, 30).value());
        const std::string saved = "/tmp/lapidraw-fuzz-saved-" + std::to_string(getpid()) + ".otl";
        if (!g->SaveOutline(saved) || !g->ReadOutline(saved)) std::abort();
        return g;
    }();
    return *gem;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteInputFile(data, size, ".otl");

    TGem& gem = Design();
    const std::string name = gem.OutlineFileName;
    const int firstEdge = gem.OutlineFirstEdge, firstPoint = gem.OutlineFirstPoint;
    if (const FileResult read = gem.ReadOutline(path); !read) {
        CheckRefusal(read);
        if (gem.OutlineFileName != name || gem.OutlineFirstEdge != firstEdge ||
            gem.OutlineFirstPoint != firstPoint) {
            std::fprintf(stderr, "a refused outline changed the earlier one: %s\n",
                         read.Error().Message.c_str());
            std::abort();
        }
        return 0;
    }
    if (gem.OutlineFirstEdge < -100 || gem.OutlineFirstPoint < -100) std::abort();
    for (int e = gem.OutlineFirstEdge; e <= 0; ++e) {
        const FacetEdge& edge = gem.Edges[e];
        if (edge.PointA < gem.OutlineFirstPoint || edge.PointA > 0 || edge.PointB < gem.OutlineFirstPoint ||
            edge.PointB > 0 || edge.PointA == edge.PointB)
            std::abort();
    }
    for (const std::string& fault : CheckDesignNumbers(gem))
        Finding("an outline read holds an impossible number", fault);
    return 0;
}
