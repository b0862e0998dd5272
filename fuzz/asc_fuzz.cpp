// Feeds arbitrary bytes to the ASC reader and imports what it accepts as a crown and as a pavilion.
// Besides crashes, hangs and undefined behaviour it checks that a refused file leaves an empty buffer,
// that a refused import leaves the design as it was, and that an import cuts no more facets than the
// file lists.
#include "fuzz/fuzz_checks.h"
#include "fuzz/fuzz_input.h"
#include "gem/gem.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

namespace {
constexpr int RecomputeLimit = 120; // larger imports are checked without building the polyhedron

[[noreturn]] void Fail(const char* what, const std::string& detail = "") {
    std::fprintf(stderr, "%s (%s)\n", what, detail.c_str());
    std::abort();
}

long ListedIndices(const TGem& gem) {
    long listed = 0;
    for (int k = 1; k <= gem.Asc.LineCount; ++k)
        listed += gem.Asc.Lines[k].AscIndexCount;
    return listed;
}

void ImportHalf(TGem& gem, const std::string& path, char type) {
    if (const FileResult read = gem.ReadAsc(path); !read)
        Fail("a file read once was refused the second time", read.Error().Message);
    const long listed = ListedIndices(gem);
    const std::int32_t parts = gem.Asc.Parts;
    const int facetsBefore = gem.FacetCount;
    if (const FileResult imported = gem.ImportAsc(type); !imported) {
        if (imported.Error().Message.empty()) Fail("a refused import gave no message");
        if (gem.FacetCount != facetsBefore)
            Fail("a refused import changed the design", imported.Error().Message);
        return;
    }
    if (gem.FacetCount > listed) Fail("the import cut facets the file does not list");
    if (gem.Parts != parts || gem.DesignParts != parts) Fail("the import lost the file's symmetry");
    if (gem.FacetCount <= RecomputeLimit) {
        try {
            gem.Recompute();
        } catch (const RangeError&) {
            return; // reported to the user like any table overflow
        }
        CheckSoundDesign(gem);
    }
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = WriteInputFile(data, size, ".asc");

    static std::unique_ptr<TGem> gem = std::make_unique<TGem>();
    if (const FileResult read = gem->ReadAsc(path); !read) {
        CheckRefusal(read);
        if (gem->Asc.LineCount != 0) Fail("a refused file left something", read.Error().Message);
        return 0;
    }
    for (char type : {'c', 'p'})
        ImportHalf(*gem, path, type);
    return 0;
}
