// The one exception of the design library: the database cannot be opened, read or written.
#pragma once

#include <stdexcept>
#include <string>

// What is wrong with a database, so that the caller can offer to rebuild it.
enum class LibraryFault {
    Failed,   // any other failure (a folder that is not there, a full disk, a lock held too long)
    Damaged,  // not a database, or a damaged one
    Newer,    // made by a newer version of the program
    ReadOnly, // cannot be written
};

class LibraryError : public std::runtime_error {
  public:
    explicit LibraryError(const std::string& message, LibraryFault fault = LibraryFault::Failed)
        : std::runtime_error(message), Fault(fault) {}
    LibraryFault Fault;
    // Rebuilding the database (an empty one in its place) cures it.
    bool Rebuildable() const { return Fault != LibraryFault::Failed; }
};
