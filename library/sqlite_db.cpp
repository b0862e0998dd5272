#include "library/sqlite_db.h"

#include <sqlite3.h>

#include <chrono>
#include <thread>

SqliteDb::SqliteDb(const std::string& path) : path_(path) {
    const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw LibraryError("cannot open the design library " + path + ": " + message);
    }
    sqlite3_extended_result_codes(db_, 1);
}

SqliteDb::~SqliteDb() {
    sqlite3_close_v2(db_);
}

void SqliteDb::Fail(const std::string& what) const {
    const int code = sqlite3_errcode(db_);
    const LibraryFault fault = code == SQLITE_NOTADB || code == SQLITE_CORRUPT ? LibraryFault::Damaged
                               : code == SQLITE_READONLY                       ? LibraryFault::ReadOnly
                                                                               : LibraryFault::Failed;
    const std::string reason = fault == LibraryFault::Damaged ? "the file is damaged or not a design library"
                               : fault == LibraryFault::ReadOnly ? "the file cannot be written"
                                                                 : what;
    throw LibraryError("design library " + path_ + ": " + reason + " (" + sqlite3_errmsg(db_) + ")", fault);
}

void SqliteDb::Exec(const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &message) == SQLITE_OK) return;
    sqlite3_free(message);
    Fail("a statement failed");
}

Statement::Statement(const SqliteDb& db, std::string_view sql) : db_(db) {
    if (sqlite3_prepare_v2(db.Handle(), sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr) !=
        SQLITE_OK)
        db.Fail("cannot prepare a query");
}

Statement::~Statement() {
    sqlite3_finalize(stmt_);
}

Statement& Statement::Bind(int i, std::int64_t v) {
    sqlite3_bind_int64(stmt_, i, v);
    return *this;
}

Statement& Statement::Bind(int i, double v) {
    sqlite3_bind_double(stmt_, i, v);
    return *this;
}

Statement& Statement::Bind(int i, const std::string& v) {
    sqlite3_bind_text(stmt_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::BindBlob(int i, const std::string& bytes) {
    sqlite3_bind_blob(stmt_, i, bytes.data(), static_cast<int>(bytes.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::BindNull(int i) {
    sqlite3_bind_null(stmt_, i);
    return *this;
}

namespace {
// SQLite answers "database is locked" at once, without waiting, where waiting could deadlock or while
// another connection starts the write-ahead log; a statement that has given no row yet and runs outside
// a transaction is then simply run again, a few times.
constexpr int BusyRetries = 50;
constexpr auto BusyRetryPause = std::chrono::milliseconds(20);
} // namespace

bool Statement::Step() {
    for (int attempt = 0;; ++attempt) {
        const int rc = sqlite3_step(stmt_);
        if (rc == SQLITE_ROW) {
            rowsGiven_ = true;
            return true;
        }
        if (rc == SQLITE_DONE) return false;
        const bool retry = (rc & 0xff) == SQLITE_BUSY && !rowsGiven_ && attempt < BusyRetries &&
                           sqlite3_get_autocommit(db_.Handle()) != 0;
        if (!retry) db_.Fail("query failed");
        sqlite3_reset(stmt_); // keeps the bindings
        std::this_thread::sleep_for(BusyRetryPause);
    }
}

void Statement::Run() {
    Step();
    Reset();
}

void Statement::Reset() {
    rowsGiven_ = false;
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
}

bool Statement::IsNull(int col) const {
    return sqlite3_column_type(stmt_, col) == SQLITE_NULL;
}

std::int64_t Statement::Int(int col) const {
    return sqlite3_column_int64(stmt_, col);
}

double Statement::Double(int col) const {
    return sqlite3_column_double(stmt_, col);
}

std::optional<double> Statement::OptionalDouble(int col) const {
    if (IsNull(col)) return std::nullopt;
    return Double(col);
}

std::string Statement::Text(int col) const {
    const auto* text = sqlite3_column_text(stmt_, col);
    return text ? std::string(reinterpret_cast<const char*>(text), sqlite3_column_bytes(stmt_, col)) : "";
}

std::string Statement::Blob(int col) const {
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt_, col));
    return bytes ? std::string(bytes, sqlite3_column_bytes(stmt_, col)) : "";
}
