// Helpers for tests of the exchange formats: temporary files and the shared real ASC designs.
#pragma once

#include <string>
#include <vector>

// A file in a fresh temporary folder, removed with the folder when the object goes.
class TempFile {
  public:
    explicit TempFile(const std::string& name);
    ~TempFile();
    TempFile(const TempFile&) = delete;
    TempFile& operator=(const TempFile&) = delete;

    const std::string& Path() const { return path_; }
    void Write(const std::string& bytes) const;
    std::string Read() const;
    // The lines without their CR LF endings.
    std::vector<std::string> Lines() const;

  private:
    std::string folder_;
    std::string path_;
};

// The paths of every real ASC design in the shared test folder, sorted.
std::vector<std::string> SharedAscFiles(const std::string& folder);
