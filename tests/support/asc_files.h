// Helpers for tests of the exchange formats: temporary files and the real ASC designs.
#pragma once

#include "gem/gem.h"

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

// The paths of the real ASC designs in the given folders, sorted by name, each name once (the first
// folder that has it wins). A folder that does not exist adds nothing.
std::vector<std::string> AscFilesIn(const std::vector<std::string>& folders);

// A facet that an ASC buffer lists: its cut angle and raw index.
struct ListedFacet {
    Real angle;
    Real index;
};
// The facets the buffer lists for one half ('c' or 'p'), taken before an import uses the buffer up.
std::vector<ListedFacet> ListedFacets(const TGem& gem, char type);
// Matches every facet of the design to a distinct listed facet of the same angle, on the listed index
// within the model's index tolerance; the faults found (an empty result: exactly the listed facets).
std::vector<std::string> CompareWithListed(const TGem& gem, std::vector<ListedFacet> listed);
