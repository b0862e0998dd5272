// Feeds arbitrary bytes to the design-file reader. Besides crashes and undefined behaviour it checks
// that a failed read leaves the design exactly as it was.
#include "fuzz/fuzz_input.h"
#include "gem/gem.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {
std::string DesignWithoutHeaderLine(const TGem& gem) {
    const std::string text = gem.DesignFileText();
    return text.substr(text.find('\n') + 1);
}

// A design to read over: a small mirrored crown with text and a message line.
TGem& Design() {
    static std::unique_ptr<TGem> gem = [] {
        auto g = std::make_unique<TGem>();
        g->NewDesign('c', 8, 96, true, 0, true, true);
        Plane plane;
        g->PlaneFromAngleIndexDist(90, 3, 20, plane);
        g->CutFacetGroup(1, plane);
        g->Recompute();
        g->SetTextLine(1, "before");
        g->MessageLines[1] = "message";
        return g;
    }();
    return *gem;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteInputFile(data, size, ".lfx");

    TGem& gem = Design();
    const std::string before = DesignWithoutHeaderLine(gem);
    const int facets = gem.FacetCount, points = gem.PointCount, edges = gem.EdgeCount;
    if (!gem.ReadDesign(path, TGem::FileMode::Named)) {
        if (gem.LastError.Message.empty() || DesignWithoutHeaderLine(gem) != before ||
            gem.FacetCount != facets || gem.PointCount != points || gem.EdgeCount != edges) {
            std::fprintf(stderr, "failed read changed the design: %s\n", gem.LastError.Message.c_str());
            std::abort();
        }
        return 0;
    }
    // A design that was read can be written again.
    (void)gem.DesignFileText();
    return 0;
}
