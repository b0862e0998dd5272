// Reading the files of one job into library records: the work of one indexing thread.
#pragma once

#include "library/design_library.h"
#include "library/design_scan.h"

struct JobResult {
    const DesignJob* Job = nullptr;
    std::vector<DesignRecord> Records;
    std::vector<std::string> Thumbnails; // one per record, empty when none
};

JobResult ReadJob(const DesignJob& job, const ThumbnailMaker& thumbnails);
