// The design library: indexing a folder of designs from scratch and again unchanged, and searching.
#include "library/design_library.h"
#include "tests/support/library_designs.h"

#include <benchmark/benchmark.h>
#ifdef LAPIDRAW_BENCH_RASTER
#include "platform/design_thumbnail.h"
#endif

#include <filesystem>
#include <map>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
// The published archive holds this many designs; without it a generated set of the same size is used.
constexpr int ArchiveSize = 2263;
constexpr int SearchSetSize = 10000;

// A folder of generated designs, made once per run.
const std::string& GeneratedFolder(int count) {
    static std::map<int, std::string> folders;
    auto& folder = folders[count];
    if (folder.empty()) {
        folder = (fs::temp_directory_path() /
                  ("lapidraw-library-bench-" + std::to_string(getpid()) + "-" + std::to_string(count)))
                     .string();
        fs::create_directories(folder);
        WriteDesignSet(folder, count, 1);
    }
    return folder;
}

// The published archive when it lies beside the repository with all its designs, else a generated set.
std::string ArchiveFolder() {
    const char* archive = std::getenv("LAPIDRAW_ARCHIVE");
    if (archive && fs::is_directory(archive)) return archive;
    return GeneratedFolder(ArchiveSize);
}

// Indexing as the command line does it: thumbnails made when the Qt front end is built.
IndexOptions IndexingOf(const std::string& folder) {
    IndexOptions options;
    options.Folders = {folder};
#ifdef LAPIDRAW_BENCH_RASTER
    options.Thumbnails = [](const TopView& view) { return TopViewPng(view); };
#endif
    return options;
}

std::string FreshDatabase(const std::string& name) {
    const std::string path =
        (fs::temp_directory_path() / ("lapidraw-library-bench-" + name + ".sqlite")).string();
    for (const char* suffix : {"", "-wal", "-shm"})
        fs::remove(path + suffix);
    return path;
}

void IndexFromScratch(benchmark::State& state) {
    const std::string folder = ArchiveFolder();
    int designs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const std::string db = FreshDatabase("scratch");
        state.ResumeTiming();
        DesignLibrary library(db);
        designs = library.Index(IndexingOf(folder)).Indexed;
    }
    state.counters["designs"] = designs;
}
BENCHMARK(IndexFromScratch)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void IndexUnchanged(benchmark::State& state) {
    const std::string folder = ArchiveFolder();
    const std::string db = FreshDatabase("unchanged");
    DesignLibrary(db).Index(IndexingOf(folder));
    int unchanged = 0;
    for (auto _ : state) {
        DesignLibrary library(db);
        unchanged = library.Index(IndexingOf(folder)).Unchanged;
    }
    state.counters["files"] = unchanged;
}
BENCHMARK(IndexUnchanged)->Unit(benchmark::kMillisecond)->UseRealTime();

void Search(benchmark::State& state, const std::string& terms) {
    static const std::string db = [] {
        const std::string path = FreshDatabase("search");
        DesignLibrary(path).Index(IndexingOf(GeneratedFolder(SearchSetSize)));
        return path;
    }();
    DesignLibrary library(db);
    LibraryQuery query;
    ApplyQueryText(query, terms);
    size_t found = 0;
    for (auto _ : state)
        found = library.Search(query).size();
    state.counters["found"] = static_cast<double>(found);
    state.counters["designs"] = library.DesignCount();
}
BENCHMARK_CAPTURE(Search, all_by_name, std::string(""))->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, ovals_by_lw, std::string("shape:oval lw:1.2-1.4 facets:-300 sort:-lw"))
    ->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(Search, text_and_angles,
                  std::string("brilliant pavilion-angle:40- crown-angle:10-40 sort:facets"))
    ->Unit(benchmark::kMillisecond);
} // namespace
