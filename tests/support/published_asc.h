// Real published ASC designs: four MIT-licensed samples kept in tests/data/asc, and further designs
// under other licences in the folder ../shared/asc beside the repository, which a bare clone lacks.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

inline std::string BundledAsc(const std::string& name) {
    return std::string(LAPIDRAW_TEST_DATA) + "/asc/" + name;
}

inline std::string SharedAsc(const std::string& name) {
    return std::string(LAPIDRAW_SHARED_ASC) + "/" + name;
}

inline std::string SharedAscFolder() {
    return std::filesystem::path(LAPIDRAW_SHARED_ASC).lexically_normal().string();
}

// Skips the calling test, naming the folder, when the shared designs are not beside the repository.
#define SKIP_WITHOUT_SHARED_ASC()                                                                            \
    if (!std::filesystem::is_directory(LAPIDRAW_SHARED_ASC))                                                 \
    GTEST_SKIP() << "needs the published designs in " << SharedAscFolder() << " (folder not present)"
