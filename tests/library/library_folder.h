// A fresh folder of designs and a database beside it, for one test.
#pragma once

#include "library/design_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

class LibraryFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("lapidraw-library-test-" + std::to_string(::getpid()) + "-" + std::to_string(++number));
        std::filesystem::remove_all(root);
        std::filesystem::create_directories(root / "designs");
        designs = std::filesystem::canonical(root / "designs").string();
        db = (root / "library.sqlite").string();
    }
    void TearDown() override { std::filesystem::remove_all(root); }

    std::string Design(const std::string& name) const { return designs + "/" + name; }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Design(name), std::ios::binary) << text;
    }
    void CopyIn(const std::string& from, const std::string& name) const {
        std::filesystem::copy_file(from, Design(name), std::filesystem::copy_options::overwrite_existing);
    }
    IndexSummary IndexAll(DesignLibrary& library) const {
        IndexOptions options;
        options.Folders = {designs};
        return library.Index(options);
    }
    // Every design the library holds, by file name.
    std::map<std::string, DesignRecord> All(const DesignLibrary& library) const {
        std::map<std::string, DesignRecord> all;
        for (DesignRecord& r : library.Search(LibraryQuery{}))
            all[std::filesystem::path(r.Path).filename().string()] = r;
        return all;
    }

    std::filesystem::path root;
    std::string designs, db;
    static inline int number = 0;
};
