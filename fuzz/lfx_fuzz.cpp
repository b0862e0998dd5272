// Feeds arbitrary bytes to the design-file reader. Besides crashes and undefined behaviour it checks
// that a failed read names its line and leaves the design exactly as it was, and that a design read is
// sound and writes and reads back to the same file.
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
std::string DesignWithoutHeaderLine(const TGem& gem) {
    const std::string text = gem.DesignFileText();
    return text.substr(text.find('\n') + 1);
}

// A design to read over: a small mirrored crown with text and a message line.
TGem& Design() {
    static std::unique_ptr<TGem> gem = [] {
        auto g = std::make_unique<TGem>();
        g->NewDesign('c', 8, 96, true, 0, true);
        g->CutFacetGroup(1, g->PlaneFromAngleIndexDist(90, 3, 20).value());
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
    if (const FileResult read = gem.ReadDesign(path, TGem::FileMode::Named); !read) {
        CheckRefusal(read);
        if (DesignWithoutHeaderLine(gem) != before || gem.FacetCount != facets || gem.PointCount != points ||
            gem.EdgeCount != edges)
            Finding("a failed read changed the design", read.Error().Message);
        return 0;
    }
    CheckSoundDesign(gem);
    return 0;
}
