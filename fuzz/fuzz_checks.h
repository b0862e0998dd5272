// What every reader promises, checked after each fuzz input: a refusal names its line, and whatever is
// read is a sound design that writes and reads back to the same file. A broken promise stops the run.
#pragma once

#include "gem/gem.h"
#include "tests/support/polyhedron_checks.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unistd.h>

[[noreturn]] inline void Finding(const std::string& what, const std::string& detail) {
    std::fprintf(stderr, "%s: %s\n", what.c_str(), detail.c_str());
    std::abort();
}

// A file that could be opened and was refused: the message names the line at fault.
inline void CheckRefusal(const FileResult& refusal) {
    const FileError& error = refusal.Error();
    if (error.Message.empty()) Finding("a refusal without a message", "");
    if (error.OsError != 0) return;
    if (error.Line < 1 ||
        error.Message.find(", line " + std::to_string(error.Line) + ": ") == std::string::npos)
        Finding("a refusal without its line", error.Message);
}

inline void CheckSoundDesign(const TGem& gem) {
    for (const std::string& fault : CheckInvariants(gem, 0.9L))
        Finding("a design read is not sound", fault);
    for (const std::string& fault : CheckDesignNumbers(gem))
        Finding("a design read holds an impossible number", fault);
    static const std::string stem = "lapidraw-fuzz-" + std::to_string(getpid()) + "-check";
    static const std::string path = [] {
        std::atexit([] { std::remove((stem + ".lfx").c_str()); });
        return stem + ".lfx";
    }();
    auto copy = gem.Backup();
    if (!copy->WriteDesign(path, TGem::FileMode::Save, stem))
        Finding("a design read cannot be written", path);
    auto read = std::make_unique<TGem>();
    if (const FileResult back = read->ReadDesign(path, TGem::FileMode::Open); !back)
        Finding("a design written cannot be read back", back.Error().Message);
    // The reader takes the old DOS degree sign (0xF8) in I records for the Latin-1 one (0xBA).
    std::string a = copy->DesignFileText();
    for (std::size_t line = 0; line < a.size();) {
        const std::size_t next = std::min(a.find('\n', line), a.size() - 1) + 1;
        if (a[line] == 'I')
            std::replace(a.begin() + static_cast<std::ptrdiff_t>(line),
                         a.begin() + static_cast<std::ptrdiff_t>(next), '\xF8', '\xBA');
        line = next;
    }
    const std::string b = read->DesignFileText();
    if (a.substr(a.find('\n')) != b.substr(b.find('\n')))
        Finding("a design reads back to another file", path);
}
