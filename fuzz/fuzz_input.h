// The readers take files: each fuzz input is written to one file per process in the working
// folder, removed when the process ends.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

inline std::string WriteInputFile(const std::uint8_t* data, std::size_t size, const char* extension) {
    static const std::string path = [extension] {
        static std::string name;
        name = "lapidraw-fuzz-" + std::to_string(getpid()) + extension;
        std::atexit([] { std::remove(name.c_str()); });
        return name;
    }();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    return path;
}
