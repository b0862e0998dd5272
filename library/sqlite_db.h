// A thin owner of an SQLite connection and its prepared statements; every failure is a LibraryError
// naming the database file and SQLite's own message.
#pragma once

#include "library/library_error.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

class SqliteDb {
  public:
    // Opens (and creates) the file for reading and writing.
    explicit SqliteDb(const std::string& path);
    ~SqliteDb();
    SqliteDb(const SqliteDb&) = delete;
    SqliteDb& operator=(const SqliteDb&) = delete;

    void Exec(const std::string& sql);
    sqlite3* Handle() const { return db_; }
    const std::string& Path() const { return path_; }
    [[noreturn]] void Fail(const std::string& what) const;

  private:
    sqlite3* db_ = nullptr;
    std::string path_;
};

class Statement {
  public:
    Statement(const SqliteDb& db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    // Parameters are numbered from 1.
    Statement& Bind(int i, std::int64_t v);
    Statement& Bind(int i, double v);
    Statement& Bind(int i, const std::string& v);
    Statement& BindBlob(int i, const std::string& bytes);
    Statement& BindNull(int i);
    Statement& Bind(int i, const std::optional<double>& v) { return v ? Bind(i, *v) : BindNull(i); }
    Statement& Bind(int i, const char* v) { return Bind(i, std::string(v)); }
    // True while a row is there.
    bool Step();
    // Runs a statement that gives no rows and makes it ready to run again.
    void Run();
    void Reset();

    bool IsNull(int col) const;
    std::int64_t Int(int col) const;
    double Double(int col) const;
    std::optional<double> OptionalDouble(int col) const;
    std::string Text(int col) const;
    std::string Blob(int col) const;

  private:
    const SqliteDb& db_;
    sqlite3_stmt* stmt_ = nullptr;
    bool rowsGiven_ = false; // since the last reset
};
