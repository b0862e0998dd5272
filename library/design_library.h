// The design library: an index of the designs in folder trees, kept in one SQLite database file, and
// the searches over it. Any number of processes may use one database: reads run alongside, writers
// take turns (write-ahead log, busy timeout), and every indexed design is written in a transaction,
// so an interrupted run leaves a consistent index that the next run completes.
#pragma once

#include "library/design_figures.h"
#include "library/design_record.h"
#include "library/library_query.h"
#include "library/sqlite_db.h"

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Makes the small picture of a design's top view (PNG bytes) from its lines; called from the worker
// threads at the same time, so it must be safe to run concurrently. Empty answer: no picture.
using ThumbnailMaker = std::function<std::string(const TopView& view)>;

struct IndexProgress {
    int Done = 0;  // designs read (unchanged ones are not counted)
    int Total = 0; // designs to read
};

struct IndexOptions {
    std::vector<std::string> Folders;
    int Threads = 0;                                    // workers; 0: one per core
    std::function<void(const IndexProgress&)> Progress; // called on the indexing thread
    const std::atomic<bool>* Cancel = nullptr;          // set to stop soon; what is written stays
    ThumbnailMaker Thumbnails;                          // may be empty: no pictures
};

struct BrokenFile {
    std::string Path, Reason;
    int Line = 0;
};

struct IndexSummary {
    int Files = 0;     // design files found
    int Indexed = 0;   // designs read and written now
    int Unchanged = 0; // files found unchanged (same size and modification time)
    int Removed = 0;   // designs whose files are gone
    bool Cancelled = false;
    std::vector<BrokenFile> Broken; // files read now that could not be read
};

class DesignLibrary {
  public:
    static constexpr int SchemaVersion = 2; // 2: the figures of the whole stone
    enum class OpenMode {
        Existing, // refuses a damaged database or one of a newer version
        Rebuild   // starts a new, empty database in the file's place
    };

    // Opens or creates the database; a LibraryError says plainly why it cannot be used.
    explicit DesignLibrary(const std::string& path, OpenMode mode = OpenMode::Existing);
    ~DesignLibrary();

    // The default database: $XDG_DATA_HOME/lapidraw/library.sqlite, else ~/.local/share/lapidraw/...
    static std::string DefaultPath();

    // Indexes the .asc and .lfx files of the folder trees: reads new and changed files on every core,
    // removes the designs of files that are gone. Throws LibraryError for a folder that is not there.
    IndexSummary Index(const IndexOptions& options);

    std::vector<DesignRecord> Search(const LibraryQuery& query) const;
    // The design of a file (a crown's or a pavilion's file of a pair finds the pair).
    std::optional<DesignRecord> Find(const std::string& path) const;
    std::string Thumbnail(std::int64_t id) const; // PNG bytes, empty when none
    void SetThumbnail(std::int64_t id, const std::string& png);
    void SetBrightness(std::int64_t id, std::optional<double> brightness);
    int DesignCount() const;
    std::string IntegrityCheck() const; // "ok" when sound
    const std::string& Path() const { return db_->Path(); }

  private:
    void CreateSchema();
    std::unique_ptr<SqliteDb> db_;
};
