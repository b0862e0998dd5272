// Reading the files of one job into library records: the work of one indexing thread.
#pragma once

#include "library/design_library.h"
#include "library/design_scan.h"

#include <memory>

// The two designs a thread reads files into, kept from one job to the next (they are large to make).
struct ReadingSpace {
    std::unique_ptr<TGem> Crown = std::make_unique<TGem>();
    std::unique_ptr<TGem> Pavilion = std::make_unique<TGem>();
};

struct JobResult {
    const DesignJob* Job = nullptr;
    std::vector<DesignRecord> Records;
    std::vector<std::string> Thumbnails; // one per record, empty when none
};

JobResult ReadJob(const DesignJob& job, ReadingSpace& space, const ThumbnailMaker& thumbnails);
