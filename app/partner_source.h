// The open design's other half, for the whole stone: where it comes from (a file the user chose, the
// ASC file the design was imported from, or the naming rule), read when asked and kept until its file
// changes on disk.
#pragma once

#include "gem/gem.h"

#include <filesystem>
#include <memory>
#include <string>
#include <utility>

class PartnerSource {
  public:
    // The partner of the design file `design` is `partner`: a design file, or an ASC file whose other
    // half is taken (chosen by the user, or the file the design was imported from).
    void Choose(const std::string& design, const std::string& partner);
    // The partner of `design`, kept in `designFile`; null when there is none or it cannot be read (or
    // is a half of the same kind), and Problem says why.
    const TGem* Find(const std::string& designFile, const TGem& design);
    const std::string& File() const { return ReadFile; }
    // Where the partner comes from, to be put back with Choose when a new choice is refused.
    std::pair<std::string, std::string> Origin() const { return {Design, Source}; }
    const std::string& Problem() const { return Why; }

  private:
    // Where the partner of Design comes from; the naming rule for any other design file.
    std::string Design, Source;
    // The half read, from which file, of which kind, when.
    std::unique_ptr<TGem> Half;
    std::string ReadFile;
    char ReadKind = 0;
    std::filesystem::file_time_type ReadTime{};
    std::string Why;

    std::string SourceFor(const std::string& designFile, std::string& why) const;
    const TGem* Refuse(const std::string& why);
};
