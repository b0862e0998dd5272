// Where the two halves of a stone come from: an ASC file (both halves, as the import reads them), a
// design file and its partner half, or two design files.
#pragma once

#include "gem/file_error.h"
#include "gem/gem.h"

#include <memory>
#include <string>

// The two halves, read and recomputed, with the files they came from. The readers below make halves
// to be looked at: an imported half keeps no undo history.
struct StoneHalves {
    std::unique_ptr<TGem> Crown, Pavilion;
    std::string CrownFile, PavilionFile;
};

// The partner of a half by the naming rule: the same folder and extension, `c` and `p` (or `C` and `P`)
// swapped at the end of the base name (NAMEc.lfx and NAMEp.lfx). Empty when the name ends in neither.
std::string PartnerFileName(const std::string& half);

// An ASC file by its extension, case ignored.
bool HasAscExtension(const std::string& path);

// One design file, read and recomputed.
FileResult ReadHalf(const std::string& path, std::unique_ptr<TGem>& gem);
// One half of an ASC file ('c' crown, 'p' pavilion), imported and recomputed.
FileResult ImportHalf(const std::string& path, char type, std::unique_ptr<TGem>& gem);

// Both halves of an ASC file.
FileResult ReadAscHalves(const std::string& path, StoneHalves& halves);
// The same into designs that were used before: a reader of many files keeps two designs (they are
// large to make) and reads every file into them.
FileResult ReadAscHalvesInto(const std::string& path, TGem& crown, TGem& pavilion);
FileResult ReadHalfInto(const std::string& path, TGem& gem);

// A design file and its partner (found by the naming rule when `partner` is empty), in either order.
// Refuses, naming the files, a partner that cannot be found or read, or two halves of one kind.
FileResult ReadDesignPair(const std::string& path, const std::string& partner, StoneHalves& halves);

// An ASC file (`partner` must then be empty) or a design file and its partner.
FileResult ReadStoneHalves(const std::string& path, const std::string& partner, StoneHalves& halves);

// Writes both halves as one ASC file that the import reads back into the same two halves: the crown's
// gear, offset and symmetry, distances at the import's scale with eight decimals, one facet line per
// distinct plane depth and angle. Girdle facets belong to both halves of an ASC file, so a girdle
// facet of either half comes back in both.
FileResult WriteStoneAsc(const TGem& crown, const TGem& pavilion, const std::string& path);
