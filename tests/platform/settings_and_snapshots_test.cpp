// The settings store and the temporary folder when something is wrong with them: the program goes on
// with a message instead of failing, and snapshot folders left by earlier runs do not pile up.
#include "editing/undo_history.h"
#include "gem/gem.h"
#include "platform/qt_services.h"
#include "platform/stale_snapshots.h"

#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {
void WriteFile(const fs::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// The settings of this test live in their own folder.
class SettingsFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    }
    void TearDown() override { QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString()); }
    fs::path File() const {
        return fs::path(folder.path().toStdString()) / "Lapidrastor" / "Lapidrastor.conf";
    }
    QTemporaryDir folder;
};
} // namespace

TEST_F(SettingsFolder, WorkingStoreHasNoProblemAndKeepsItsValues) {
    QtSettingsStore store;
    store.WriteString("Reopen", "file1", "/designs/one.lfx");
    EXPECT_EQ(store.Problem(), "");
    EXPECT_EQ(store.ReadString("Reopen", "file1", ""), "/designs/one.lfx");
}

TEST_F(SettingsFolder, DamagedFileIsReportedAndItsValuesAreNotTrusted) {
    fs::create_directories(File().parent_path());
    WriteFile(File(), "[Reopen\n" + std::string(1, '\0') + "\1\xff=\nfile1=\"unterminated\n");
    QtSettingsStore store;
    EXPECT_EQ(store.Problem(), "The settings file " + File().string() +
                                   " is damaged: the recent files and folders start empty.");
    EXPECT_EQ(store.ReadString("Reopen", "file1", "none"), "none");
}

TEST_F(SettingsFolder, UnreadableFileIsReported) {
    if (::geteuid() == 0) GTEST_SKIP() << "the superuser reads every file";
    fs::create_directories(File().parent_path());
    WriteFile(File(), "[Reopen]\nfile1=/designs/one.lfx\n");
    fs::permissions(File(), fs::perms::none);
    QtSettingsStore store;
    EXPECT_EQ(store.Problem(), "The settings file " + File().string() +
                                   " cannot be read: the recent files and folders start empty.");
    EXPECT_EQ(store.ReadString("Reopen", "file1", "none"), "none");
}

TEST(SettingsStore, StoreThatCannotBeWrittenIsReported) {
    // A home folder that cannot exist: its place is taken by a file.
    QTemporaryDir folder;
    const fs::path blocked = fs::path(folder.path().toStdString()) / "home";
    WriteFile(blocked, "not a folder");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                       QString::fromStdString((blocked / ".config").string()));
    QtSettingsStore store;
    const std::string problem = store.Problem();
    store.WriteString("Reopen", "file1", "/designs/one.lfx");
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, QString());
    EXPECT_EQ(problem.rfind("The settings cannot be kept: " + blocked.string(), 0), 0u) << problem;
    EXPECT_TRUE(problem.ends_with(" cannot be written.")) << problem;
}

TEST(StaleSnapshots, FoldersOfThisUserUnchangedForADayAreRemoved) {
    QTemporaryDir parent;
    const fs::path base = parent.path().toStdString();
    const auto now = fs::file_time_type::clock::now();
    const auto old = now - StaleSnapshotAge - std::chrono::hours(1);
    auto folder = [&](const std::string& name, fs::file_time_type changed, std::vector<std::string> files) {
        const fs::path path = base / name;
        fs::create_directories(path);
        for (const std::string& file : files) {
            WriteFile(path / file, "e\r\n");
            fs::last_write_time(path / file, changed);
        }
        fs::last_write_time(path, changed);
        return path;
    };
    const fs::path stale =
        folder("lapidraw-0123456789abcdef", old, {"$$101010$$0.lfx", ".$$101010$$1.lfx.00ff.tmp"});
    const fs::path recent = folder("lapidraw-fedcba9876543210", now, {"$$111111$$0.lfx"});
    const fs::path touched = folder("lapidraw-00000000000000aa", old, {"$$121212$$0.lfx"});
    WriteFile(touched / "$$121212$$1.lfx", "e\r\n"); // a run still at work
    fs::last_write_time(touched, old);
    const fs::path foreign = folder("lapidraw-00000000000000bb", old, {"$$131313$$0.lfx", "notes.txt"});
    const fs::path otherName = folder("lapidraw-keep", old, {"$$141414$$0.lfx"});
    fs::create_directory_symlink(stale.parent_path() / "lapidraw-keep", base / "lapidraw-00000000000000cc");

    EXPECT_EQ(RemoveStaleSnapshotFolders(base.string(), now), 1);
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(recent / "$$111111$$0.lfx"));
    EXPECT_TRUE(fs::exists(touched / "$$121212$$0.lfx"));
    EXPECT_FALSE(fs::exists(foreign / "$$131313$$0.lfx")) << "its snapshots go";
    EXPECT_TRUE(fs::exists(foreign / "notes.txt")) << "but nothing else, and so the folder stays";
    EXPECT_TRUE(fs::exists(otherName / "$$141414$$0.lfx"));
    EXPECT_TRUE(fs::is_symlink(base / "lapidraw-00000000000000cc"));
    EXPECT_EQ(RemoveStaleSnapshotFolders("", now), 0);
}

TEST(StaleSnapshots, FoldersOfOtherUsersStay) {
    if (::geteuid() != 0) GTEST_SKIP() << "only the superuser can make a folder of another user";
    QTemporaryDir parent;
    const fs::path folder = fs::path(parent.path().toStdString()) / "lapidraw-0123456789abcdef";
    fs::create_directories(folder);
    WriteFile(folder / "$$101010$$0.lfx", "e\r\n");
    ASSERT_EQ(::chown(folder.c_str(), 4242, 4242), 0);
    const auto old = fs::file_time_type::clock::now() - StaleSnapshotAge - std::chrono::hours(1);
    fs::last_write_time(folder / "$$101010$$0.lfx", old);
    fs::last_write_time(folder, old);
    EXPECT_EQ(RemoveStaleSnapshotFolders(parent.path().toStdString(), fs::file_time_type::clock::now()), 0);
    EXPECT_TRUE(fs::exists(folder / "$$101010$$0.lfx"));
}

TEST(StaleSnapshots, TheRunsOwnFoldersAreNamedAsTheCleanUpExpects) {
    auto gem = std::make_unique<TGem>();
    UndoHistory history;
    ASSERT_TRUE(history.Record(*gem));
    const fs::path folder = history.Folder();
    EXPECT_EQ(folder.parent_path(), fs::path(UndoHistory::ParentFolder()));
    EXPECT_TRUE(UndoHistory::IsFolderName(folder.filename().string()));
    EXPECT_TRUE(UndoHistory::IsFileName(fs::path(history.StepFile(0)).filename().string()));
}
