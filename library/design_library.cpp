#include "library/design_library.h"

#include "library/design_reading.h"
#include "library/design_scan.h"

#include <sqlite3.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <mutex>
#include <set>
#include <thread>
#include <unordered_map>

namespace fs = std::filesystem;

namespace {
constexpr int BusyTimeoutMs = 20000;   // how long a writer waits for another one
constexpr int JobsPerTransaction = 64; // designs written in one transaction at most ...
constexpr auto TransactionTime = std::chrono::milliseconds(200); // ... or for at most this long

const char* const Schema = R"sql(
CREATE TABLE IF NOT EXISTS designs(
    id INTEGER PRIMARY KEY,
    path TEXT NOT NULL UNIQUE,
    partner TEXT,
    job TEXT NOT NULL,
    kind TEXT NOT NULL,
    name TEXT NOT NULL,
    title TEXT NOT NULL,
    text TEXT NOT NULL,
    gear INTEGER, parts INTEGER, mirror INTEGER,
    facets INTEGER, crown_facets INTEGER, pavilion_facets INTEGER,
    lw REAL, tw REAL, cw REAL, pw REAL, gw REAL, hw REAL, vol REAL,
    crown_angle REAL, pavilion_angle REAL,
    shape TEXT,
    brightness REAL,
    broken TEXT, broken_line INTEGER,
    has_thumbnail INTEGER NOT NULL DEFAULT 0);
CREATE INDEX IF NOT EXISTS designs_job ON designs(job);
CREATE INDEX IF NOT EXISTS designs_name ON designs(name COLLATE NOCASE, path);
CREATE INDEX IF NOT EXISTS designs_partner ON designs(partner);
CREATE TABLE IF NOT EXISTS files(
    path TEXT PRIMARY KEY, size INTEGER NOT NULL, modified INTEGER NOT NULL, job TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS files_job ON files(job);
CREATE TABLE IF NOT EXISTS thumbnails(id INTEGER PRIMARY KEY, png BLOB NOT NULL);
CREATE VIRTUAL TABLE IF NOT EXISTS design_text USING fts5(name, title, text, tokenize = 'unicode61 remove_diacritics 2');
CREATE TRIGGER IF NOT EXISTS design_added AFTER INSERT ON designs BEGIN
    INSERT INTO design_text(rowid, name, title, text) VALUES (new.id, new.name, new.title, new.text);
END;
CREATE TRIGGER IF NOT EXISTS design_removed AFTER DELETE ON designs BEGIN
    DELETE FROM design_text WHERE rowid = old.id;
    DELETE FROM thumbnails WHERE id = old.id;
END;
)sql";

const char* const OldTables = "DROP TRIGGER IF EXISTS design_added; DROP TRIGGER IF EXISTS design_removed; "
                              "DROP TABLE IF EXISTS design_text; DROP TABLE IF EXISTS thumbnails; "
                              "DROP TABLE IF EXISTS files; DROP TABLE IF EXISTS designs;";

const char* const RecordColumns =
    "d.id, d.path, d.partner, d.kind, d.name, d.title, d.text, d.gear, d.parts, d.mirror, d.facets, "
    "d.crown_facets, d.pavilion_facets, d.lw, d.tw, d.cw, d.pw, d.gw, d.hw, d.vol, d.crown_angle, "
    "d.pavilion_angle, d.shape, d.brightness, d.broken, d.broken_line, "
    "d.has_thumbnail";

int UserVersion(const SqliteDb& db) {
    Statement version(db, "PRAGMA user_version");
    version.Step();
    return static_cast<int>(version.Int(0));
}

DesignRecord RecordOfRow(const Statement& row) {
    DesignRecord r;
    int c = 0;
    r.Id = row.Int(c++);
    r.Path = row.Text(c++);
    r.Partner = row.Text(c++);
    r.Kind = KindNamed(row.Text(c++)).value_or(DesignKind::Asc);
    r.Name = row.Text(c++);
    r.Title = row.Text(c++);
    r.Text = row.Text(c++);
    r.Gear = static_cast<int>(row.Int(c++));
    r.Parts = static_cast<int>(row.Int(c++));
    r.Mirror = row.Int(c++) != 0;
    DesignFigures& f = r.Figures;
    f.Facets = static_cast<int>(row.Int(c++));
    f.CrownFacets = static_cast<int>(row.Int(c++));
    f.PavilionFacets = static_cast<int>(row.Int(c++));
    for (std::optional<double>* figure :
         {&f.LW, &f.TW, &f.CW, &f.PW, &f.GW, &f.HW, &f.VolW3, &f.CrownAngle, &f.PavilionAngle})
        *figure = row.OptionalDouble(c++);
    f.Shape = ShapeNamed(row.Text(c++)).value_or(ShapeClass::Other);
    r.Brightness = row.OptionalDouble(c++);
    r.Broken = row.Text(c++);
    r.BrokenLine = static_cast<int>(row.Int(c++));
    r.HasThumbnail = row.Int(c++) != 0;
    return r;
}

// One write transaction, taken at once (not on the first write), so that two writers queue up at
// its start instead of failing half-way.
class WriteTransaction {
  public:
    explicit WriteTransaction(SqliteDb& db) : db_(db) { db_.Exec("BEGIN IMMEDIATE"); }
    ~WriteTransaction() {
        if (open_) sqlite3_exec(db_.Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
    }
    void Commit() {
        db_.Exec("COMMIT");
        open_ = false;
    }

  private:
    SqliteDb& db_;
    bool open_ = true;
};

// Binds a statement's parameters in order; an empty optional is NULL.
struct Parameters {
    Statement& s;
    int next = 1;
    template <typename T> Parameters& operator<<(const T& value) {
        s.Bind(next++, value);
        return *this;
    }
    template <typename T> Parameters& operator<<(const std::optional<T>& value) {
        if (value)
            s.Bind(next++, *value);
        else
            s.BindNull(next++);
        return *this;
    }
};

// The statements that write a job's designs.
struct JobWriter {
    explicit JobWriter(const SqliteDb& db)
        : removeDesigns(db, "DELETE FROM designs WHERE job = ?"),
          removeFiles(db, "DELETE FROM files WHERE job = ?"),
          addFile(db, "INSERT OR REPLACE INTO files(path, size, modified, job) VALUES (?, ?, ?, ?)"),
          addDesign(
              db,
              "INSERT OR REPLACE INTO designs(path, partner, job, kind, name, title, text, gear, parts, "
              "mirror, facets, crown_facets, pavilion_facets, lw, tw, cw, pw, gw, hw, vol, crown_angle, "
              "pavilion_angle, shape, broken, broken_line, has_thumbnail) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, "
              "?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"),
          addThumbnail(db, "INSERT OR REPLACE INTO thumbnails(id, png) VALUES (?, ?)"), db_(db) {}

    int Remove(const std::string& job) {
        removeDesigns.Bind(1, job).Run();
        const int removed = sqlite3_changes(db_.Handle());
        removeFiles.Bind(1, job).Run();
        return removed;
    }

    void Write(const JobResult& result) {
        const std::string& job = result.Job->Key();
        Remove(job);
        for (const FoundFile& file : result.Job->Files)
            addFile.Bind(1, file.Path).Bind(2, file.Size).Bind(3, file.Modified).Bind(4, job).Run();
        for (size_t i = 0; i < result.Records.size(); ++i) {
            AddDesign(job, result.Records[i], !result.Thumbnails[i].empty());
            if (!result.Thumbnails[i].empty())
                addThumbnail.Bind(1, static_cast<std::int64_t>(sqlite3_last_insert_rowid(db_.Handle())))
                    .BindBlob(2, result.Thumbnails[i])
                    .Run();
        }
    }

    void AddDesign(const std::string& job, const DesignRecord& r, bool thumbnail) {
        Parameters p{addDesign};
        p << r.Path << (r.Partner.empty() ? std::optional<std::string>() : r.Partner) << job
          << KindName(r.Kind) << r.Name << r.Title << r.Text;
        const bool read = r.Broken.empty();
        const DesignFigures& f = r.Figures;
        for (const int n : {r.Gear, r.Parts, int{r.Mirror}, f.Facets, f.CrownFacets, f.PavilionFacets})
            p << (read ? std::optional<std::int64_t>(n) : std::nullopt);
        for (const std::optional<double>& figure :
             {f.LW, f.TW, f.CW, f.PW, f.GW, f.HW, f.VolW3, f.CrownAngle, f.PavilionAngle})
            p << (read ? figure : std::nullopt);
        p << (read ? std::optional<std::string>(ShapeName(f.Shape)) : std::nullopt);
        p << (read ? std::optional<std::string>() : r.Broken);
        p << (read ? std::optional<std::int64_t>() : std::int64_t{r.BrokenLine});
        p << std::int64_t{thumbnail};
        addDesign.Run();
    }

    Statement removeDesigns, removeFiles, addFile, addDesign, addThumbnail;
    const SqliteDb& db_;
};

struct StoredFile {
    std::int64_t Size, Modified;
    std::string Job;
};

// The files as the database knows them, and how many files each job has.
struct StoredFiles {
    std::unordered_map<std::string, StoredFile> Files;
    std::unordered_map<std::string, int> JobFiles;
};

StoredFiles LoadFiles(const SqliteDb& db) {
    StoredFiles stored;
    Statement rows(db, "SELECT path, size, modified, job FROM files");
    while (rows.Step()) {
        stored.Files.emplace(rows.Text(0), StoredFile{rows.Int(1), rows.Int(2), rows.Text(3)});
        ++stored.JobFiles[rows.Text(3)];
    }
    return stored;
}

bool Unchanged(const DesignJob& job, const StoredFiles& stored) {
    const auto count = stored.JobFiles.find(job.Key());
    if (count == stored.JobFiles.end() || count->second != static_cast<int>(job.Files.size())) return false;
    for (const FoundFile& file : job.Files) {
        const auto it = stored.Files.find(file.Path);
        if (it == stored.Files.end() || it->second.Job != job.Key() || it->second.Size != file.Size ||
            it->second.Modified != file.Modified)
            return false;
    }
    return true;
}

// The reading threads and the results they hand to the writing thread.
class ReadingCrew {
  public:
    ReadingCrew(const std::vector<const DesignJob*>& jobs, const IndexOptions& options) : jobs_(jobs) {
        int threads =
            options.Threads > 0 ? options.Threads : static_cast<int>(std::thread::hardware_concurrency());
        threads = std::clamp(threads, 1, std::max(1, static_cast<int>(jobs.size())));
        running_ = threads;
        for (int t = 0; t < threads; ++t)
            threads_.emplace_back([this, &options] { Work(options); });
    }
    ~ReadingCrew() { Stop(); }

    void Stop() {
        stop_ = true;
        for (std::thread& t : threads_)
            if (t.joinable()) t.join();
    }

    // Waits for results; empty when every reader has finished and everything was taken.
    std::vector<JobResult> Take(std::chrono::milliseconds wait) {
        std::unique_lock<std::mutex> lock(mutex_);
        ready_.wait_for(lock, wait, [this] { return !results_.empty() || running_ == 0; });
        std::vector<JobResult> taken(std::make_move_iterator(results_.begin()),
                                     std::make_move_iterator(results_.end()));
        results_.clear();
        return taken;
    }
    bool Finished() {
        std::lock_guard<std::mutex> lock(mutex_);
        return running_ == 0 && results_.empty();
    }

  private:
    void Work(const IndexOptions& options) {
        ReadingSpace space;
        for (size_t i; !stop_ && !(options.Cancel && *options.Cancel) && (i = next_++) < jobs_.size();) {
            JobResult result = ReadJob(*jobs_[i], space, options.Thumbnails);
            std::lock_guard<std::mutex> lock(mutex_);
            results_.push_back(std::move(result));
            ready_.notify_one();
        }
        std::lock_guard<std::mutex> lock(mutex_);
        --running_;
        ready_.notify_one();
    }

    const std::vector<const DesignJob*>& jobs_;
    std::atomic<size_t> next_ = 0;
    std::atomic<bool> stop_ = false;
    std::mutex mutex_;
    std::condition_variable ready_;
    std::deque<JobResult> results_;
    int running_ = 0;
    std::vector<std::thread> threads_;
};
} // namespace

std::string DesignLibrary::DefaultPath() {
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* home = std::getenv("HOME");
    const fs::path base = data && *data ? fs::path(data) : fs::path(home ? home : ".") / ".local" / "share";
    return (base / "lapidraw" / "library.sqlite").string();
}

DesignLibrary::DesignLibrary(const std::string& path, OpenMode mode) {
    std::error_code error;
    if (mode == OpenMode::Rebuild)
        for (const char* suffix : {"", "-wal", "-shm"})
            if (fs::remove(path + suffix, error); error)
                throw LibraryError("cannot remove " + path + suffix + ": " + error.message());
    const fs::path folder = fs::path(path).parent_path();
    if (!folder.empty() && !fs::is_directory(folder, error)) fs::create_directories(folder, error);
    db_ = std::make_unique<SqliteDb>(path);
    db_->Exec("PRAGMA busy_timeout = " + std::to_string(BusyTimeoutMs));
    const int version = UserVersion(*db_);
    if (version > SchemaVersion)
        throw LibraryError("design library " + path + ": made by a newer version of the program (" +
                               std::to_string(version) + ", this one reads " + std::to_string(SchemaVersion) +
                               ")",
                           LibraryFault::Newer);
    if (sqlite3_db_readonly(db_->Handle(), "main") == 1)
        throw LibraryError("design library " + path + ": the file cannot be written", LibraryFault::ReadOnly);
    Statement(*db_, "PRAGMA journal_mode = WAL").Step();
    db_->Exec("PRAGMA synchronous = NORMAL; PRAGMA recursive_triggers = ON");
    if (version < SchemaVersion) CreateSchema();
}

DesignLibrary::~DesignLibrary() = default;

void DesignLibrary::CreateSchema() {
    WriteTransaction transaction(*db_);
    const int version = UserVersion(*db_); // another process may have made it meanwhile
    if (version == SchemaVersion) return transaction.Commit();
    if (version != 0) db_->Exec(OldTables); // an index of an older layout is simply made again
    db_->Exec(Schema);
    db_->Exec("PRAGMA user_version = " + std::to_string(SchemaVersion));
    transaction.Commit();
}

IndexSummary DesignLibrary::Index(const IndexOptions& options) {
    std::vector<std::string> folders;
    for (const std::string& folder : options.Folders)
        folders.push_back(CanonicalFolder(folder));
    const std::vector<DesignJob> jobs = ScanFolders(folders);
    const StoredFiles stored = LoadFiles(*db_);

    IndexSummary summary;
    std::vector<const DesignJob*> todo;
    std::set<std::string> current;
    for (const DesignJob& job : jobs) {
        summary.Files += static_cast<int>(job.Files.size());
        current.insert(job.Key());
        if (Unchanged(job, stored))
            summary.Unchanged += static_cast<int>(job.Files.size());
        else
            todo.push_back(&job);
    }

    JobWriter writer(*db_);
    std::set<std::string> gone;
    for (const auto& [job, count] : stored.JobFiles)
        for (const std::string& folder : folders)
            if (IsInside(job, folder) && !current.count(job)) gone.insert(job);
    if (!gone.empty()) {
        WriteTransaction transaction(*db_);
        for (const std::string& job : gone)
            summary.Removed += writer.Remove(job);
        transaction.Commit();
    }

    IndexProgress progress{0, static_cast<int>(todo.size())};
    if (options.Progress) options.Progress(progress);
    if (todo.empty()) return summary;
    ReadingCrew crew(todo, options);
    while (!crew.Finished()) {
        std::vector<JobResult> results = crew.Take(TransactionTime);
        if (results.empty()) continue;
        for (size_t i = 0; i < results.size();) { // a long queue goes out in several transactions
            WriteTransaction transaction(*db_);
            for (int n = 0; i < results.size() && n < JobsPerTransaction; ++i, ++n) {
                writer.Write(results[i]);
                for (const DesignRecord& r : results[i].Records)
                    if (!r.Broken.empty()) summary.Broken.push_back({r.Path, r.Broken, r.BrokenLine});
            }
            transaction.Commit();
        }
        progress.Done += static_cast<int>(results.size());
        summary.Indexed = progress.Done;
        if (options.Progress) options.Progress(progress);
    }
    summary.Cancelled = options.Cancel && *options.Cancel && progress.Done < progress.Total;
    return summary;
}

namespace {
std::string SortColumn(const LibraryQuery& query) {
    if (query.SortKey == "name") return "d.name COLLATE NOCASE";
    if (query.SortKey == "path" || query.SortKey == "shape" || query.SortKey == "kind")
        return "d." + query.SortKey;
    for (const FigureKey& f : FigureKeys)
        if (query.SortKey == f.Key) return std::string("d.") + f.Column;
    return "d.name";
}

// The query's SQL and its parameters in order (texts and numbers).
struct SqlQuery {
    std::string Sql;
    std::vector<std::string> Texts; // bound first, in order
    std::vector<double> Numbers;    // then these
};

std::string Placeholders(size_t n) {
    std::string list;
    for (size_t i = 0; i < n; ++i)
        list += i ? ", ?" : "?";
    return list;
}

SqlQuery BuildQuery(const LibraryQuery& query) {
    SqlQuery q;
    q.Sql = std::string("SELECT ") + RecordColumns + " FROM designs d WHERE ";
    q.Sql += query.BrokenOnly ? "d.broken IS NOT NULL" : "d.broken IS NULL";
    if (!FullTextPattern(query.Text).empty()) {
        q.Sql += " AND d.id IN (SELECT rowid FROM design_text WHERE design_text MATCH ?)";
        q.Texts.push_back(FullTextPattern(query.Text));
    }
    if (!query.Shapes.empty()) {
        q.Sql += " AND d.shape IN (" + Placeholders(query.Shapes.size()) + ")";
        for (const ShapeClass shape : query.Shapes)
            q.Texts.push_back(ShapeName(shape));
    }
    if (!query.Kinds.empty()) {
        q.Sql += " AND d.kind IN (" + Placeholders(query.Kinds.size()) + ")";
        for (const DesignKind kind : query.Kinds)
            q.Texts.push_back(KindName(kind));
    }
    if (query.Mirror) q.Sql += *query.Mirror ? " AND d.mirror = 1" : " AND d.mirror = 0";
    for (const FigureKey& f : FigureKeys) {
        const auto range = query.Ranges.find(f.Which);
        if (range == query.Ranges.end()) continue;
        if (range->second.Low) {
            q.Sql += std::string(" AND d.") + f.Column + " >= ?";
            q.Numbers.push_back(*range->second.Low);
        }
        if (range->second.High) {
            q.Sql += std::string(" AND d.") + f.Column + " <= ?";
            q.Numbers.push_back(*range->second.High);
        }
    }
    q.Sql += " ORDER BY " + SortColumn(query) + (query.Descending ? " DESC" : " ASC") + " NULLS LAST, d.path";
    if (query.Limit > 0) q.Sql += " LIMIT " + std::to_string(query.Limit);
    return q;
}
} // namespace

std::vector<DesignRecord> DesignLibrary::Search(const LibraryQuery& query) const {
    const SqlQuery q = BuildQuery(query);
    Statement rows(*db_, q.Sql);
    int parameter = 1;
    for (const std::string& text : q.Texts)
        rows.Bind(parameter++, text);
    for (const double number : q.Numbers)
        rows.Bind(parameter++, number);
    std::vector<DesignRecord> found;
    while (rows.Step())
        found.push_back(RecordOfRow(rows));
    return found;
}

std::optional<DesignRecord> DesignLibrary::Find(const std::string& path) const {
    std::error_code error;
    const std::string absolute = fs::weakly_canonical(path, error).string();
    Statement rows(*db_, std::string("SELECT ") + RecordColumns +
                             " FROM designs d WHERE d.path = ?1 OR d.partner = ?1");
    rows.Bind(1, error ? path : absolute);
    if (!rows.Step()) return std::nullopt;
    return RecordOfRow(rows);
}

std::string DesignLibrary::Thumbnail(std::int64_t id) const {
    Statement row(*db_, "SELECT png FROM thumbnails WHERE id = ?");
    row.Bind(1, id);
    return row.Step() ? row.Blob(0) : "";
}

void DesignLibrary::SetThumbnail(std::int64_t id, const std::string& png) {
    WriteTransaction transaction(*db_);
    Statement(*db_, "INSERT OR REPLACE INTO thumbnails(id, png) VALUES (?, ?)")
        .Bind(1, id)
        .BindBlob(2, png)
        .Run();
    Statement(*db_, "UPDATE designs SET has_thumbnail = 1 WHERE id = ?").Bind(1, id).Run();
    transaction.Commit();
}

void DesignLibrary::SetBrightness(std::int64_t id, std::optional<double> brightness) {
    Statement(*db_, "UPDATE designs SET brightness = ? WHERE id = ?").Bind(1, brightness).Bind(2, id).Run();
}

int DesignLibrary::DesignCount() const {
    Statement count(*db_, "SELECT count(*) FROM designs WHERE broken IS NULL");
    count.Step();
    return static_cast<int>(count.Int(0));
}

std::string DesignLibrary::IntegrityCheck() const {
    Statement check(*db_, "PRAGMA integrity_check");
    std::string result;
    while (check.Step())
        result += (result.empty() ? "" : "\n") + check.Text(0);
    return result;
}
