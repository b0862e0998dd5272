// The database under hard conditions: an indexer killed half-way, two indexers at once, a damaged
// file, a file of a newer version.
#include "library_folder.h"
#include "tests/support/library_designs.h"

#include <csignal>
#include <random>
#include <set>
#include <sys/wait.h>
#include <thread>

namespace {
constexpr int DesignCount = 300;

// Runs the indexer in a child process; answers its process id.
pid_t IndexInChild(const std::string& db, const std::string& folder, int threads = 0) {
    const pid_t child = fork();
    if (child == 0) {
        int status = 0;
        try {
            DesignLibrary library(db);
            IndexOptions options;
            options.Folders = {folder};
            options.Threads = threads;
            library.Index(options);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "indexer: %s\n", error.what());
            status = 1;
        }
        std::_Exit(status);
    }
    return child;
}

int DesignsIn(const std::string& db) {
    return DesignLibrary(db).DesignCount();
}

// Every design file of the folder once in the library, and the database sound.
void ExpectEveryDesignOnce(const std::string& db, const std::string& folder) {
    DesignLibrary library(db);
    EXPECT_EQ(library.IntegrityCheck(), "ok");
    std::multiset<std::string> paths;
    for (const DesignRecord& r : library.Search(LibraryQuery{}))
        paths.insert(r.Path);
    EXPECT_EQ(paths.size(), static_cast<size_t>(DesignCount));
    for (int n = 0; n < DesignCount; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "/design%05d.asc", n);
        EXPECT_EQ(paths.count(folder + name), 1u) << name;
    }
}
} // namespace

class LibraryRobustness : public LibraryFolder {};

TEST_F(LibraryRobustness, AnIndexerKilledHalfWayLeavesASoundDatabaseThatTheNextRunCompletes) {
    WriteDesignSet(designs, DesignCount, 21);
    DesignLibrary{db}; // the schema exists before the child starts
    const pid_t child = IndexInChild(db, designs, 1);
    while (DesignsIn(db) < DesignCount / 4)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the indexer finished before it was killed";
    EXPECT_LT(DesignsIn(db), DesignCount);

    DesignLibrary library(db);
    EXPECT_EQ(library.IntegrityCheck(), "ok");
    IndexOptions options;
    options.Folders = {designs};
    const IndexSummary summary = library.Index(options);
    EXPECT_GT(summary.Unchanged, 0); // what the killed run wrote is kept
    ExpectEveryDesignOnce(db, designs);
}

TEST_F(LibraryRobustness, TwoIndexersAtOnceBothFinishWithEveryDesignOnce) {
    WriteDesignSet(designs, DesignCount, 22);
    const pid_t first = IndexInChild(db, designs), second = IndexInChild(db, designs);
    for (const pid_t child : {first, second}) {
        int status = 0;
        waitpid(child, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    ExpectEveryDesignOnce(db, designs);
}

TEST_F(LibraryRobustness, ADamagedDatabaseIsReportedAndRebuiltOnRequest) {
    std::mt19937 rng(5);
    std::string junk(20000, '\0');
    for (char& c : junk)
        c = static_cast<char>(rng());
    std::ofstream(db, std::ios::binary) << junk;
    try {
        DesignLibrary library(db);
        library.Search(LibraryQuery{});
        FAIL() << "a damaged database was opened";
    } catch (const LibraryError& error) {
        EXPECT_EQ(error.Fault, LibraryFault::Damaged);
        EXPECT_NE(std::string(error.what()).find(db), std::string::npos);
    }
    Write("one.asc", RandomBrilliantAsc(rng, "One"));
    DesignLibrary rebuilt(db, DesignLibrary::OpenMode::Rebuild);
    EXPECT_EQ(IndexAll(rebuilt).Indexed, 1);
    EXPECT_EQ(rebuilt.IntegrityCheck(), "ok");
}

TEST_F(LibraryRobustness, ADatabaseOfANewerVersionIsRefusedUntilRebuilt) {
    DesignLibrary(db).Search(LibraryQuery{});
    {
        SqliteDb raw(db);
        raw.Exec("PRAGMA user_version = " + std::to_string(DesignLibrary::SchemaVersion + 1));
    }
    try {
        DesignLibrary library(db);
        FAIL() << "a newer database was opened";
    } catch (const LibraryError& error) {
        EXPECT_EQ(error.Fault, LibraryFault::Newer);
    }
    EXPECT_NO_THROW(DesignLibrary(db, DesignLibrary::OpenMode::Rebuild));
}
