// The recent-files list and its settings, the file helpers, and the Qt settings store.
#include "app/file_questions.h"
#include "app/recent_files.h"
#include "platform/qt_services.h"
#include "tests/ui/scripted_services.h"
#include "tests/ui/ui_test_main.h"

#include <QAction>
#include <QMenu>
#include <QSettings>
#include <QTemporaryDir>
#include <fstream>

namespace {
// A Reopen submenu with its five slots, hidden as in the window.
struct ReopenMenu {
    QMenu Menu{"&Reopen"};
    ReopenMenu() {
        for (int i = 1; i <= 5; ++i)
            Menu.addAction("file" + QString::number(i));
        Menu.menuAction()->setVisible(false);
    }
    QStringList Shown() const {
        QStringList captions;
        for (QAction* action : Menu.actions())
            if (action->isVisible()) captions << action->text();
        return captions;
    }
};

std::string Value(ScriptedServices& s, const char* section, const char* name) {
    return s.ReadString(section, name, "<missing>");
}
} // namespace

class RecentFilesAndFileQuestionsTest : public QObject {
    Q_OBJECT

  private slots:
    void namesAndFolders();
    void fileMustExistAndConfirmOverwrite();
    void runSaveDialogPresetsNameOnly();
    void readsSkipsEmptyEntriesAndShowsFive();
    void addMovesToFrontIgnoringCase();
    void removeDropsEntryAndDestroyWritesFive();
    void qtSettingsUseTheLapidrastorKey();
};

void RecentFilesAndFileQuestionsTest::namesAndFolders() {
    QCOMPARE(NameOnly("/home/u/gems/brill.c.lfx"), std::string("brill.c"));
    QCOMPARE(NameOnly("brill"), std::string("brill"));
    QCOMPARE(NameOnly("/a.b/brill"), std::string("brill"));
    QCOMPARE(FolderOf("/home/u/gems/brill.lfx"), std::string("/home/u/gems/"));
    QCOMPARE(FolderOf("brill.lfx"), std::string());
    QCOMPARE(WithoutTrailingSeparator("/home/u/"), std::string("/home/u"));
    QCOMPARE(WithoutTrailingSeparator("/"), std::string("/"));
}

void RecentFilesAndFileQuestionsTest::fileMustExistAndConfirmOverwrite() {
    QTemporaryDir dir;
    const std::string present = dir.filePath("here.lfx").toStdString();
    std::ofstream(present) << "e\r\n";
    const std::string missing = dir.filePath("gone.lfx").toStdString();
    ScriptedServices s;

    QVERIFY(!FileMustExist(s, present));
    QVERIFY(s.Messages.empty());
    QVERIFY(FileMustExist(s, missing));
    QCOMPARE(s.Texts(), std::vector<std::string>{" File: " + missing + " does not exist"});
    QCOMPARE(s.Messages[0].BoxKind, ScriptedServices::Kind::Error);
    QCOMPARE(s.Beeps, 1);

    s.ClearRecord();
    QVERIFY(!ConfirmOverwrite(s, missing));
    QVERIFY(s.Messages.empty());
    s.Answers = {Answer::Yes, Answer::No, Answer::Cancel};
    QVERIFY(!ConfirmOverwrite(s, present));
    QVERIFY(ConfirmOverwrite(s, present));
    QVERIFY(ConfirmOverwrite(s, present));
    QCOMPARE(s.Messages.size(), std::size_t{3});
    QCOMPARE(s.Messages[0].Text, " File " + present + " exists and will be overwritten. Are you sure ?");
    QCOMPARE(s.Messages[0].BoxKind, ScriptedServices::Kind::Question);
}

void RecentFilesAndFileQuestionsTest::runSaveDialogPresetsNameOnly() {
    QTemporaryDir dir;
    const std::string chosen = dir.filePath("new.lfx").toStdString();
    std::ofstream(chosen) << "e\r\n";
    ScriptedServices s;
    FileDialogRequest dialog{"lfx", "facetfile(*.lfx)", "*.lfx", "Facet file", "/somewhere/", ""};

    s.FileAnswers = {std::nullopt};
    QVERIFY(!RunSaveDialog(s.All(), dialog, "/old/place/design.lfx", false));
    QCOMPARE(s.Dialogs[0].FileName, std::string("design"));
    QCOMPARE(s.Dialogs[0].InitialDir, std::string("/somewhere/"));

    s.FileAnswers = {chosen, chosen};
    s.Answers = {Answer::No};
    QVERIFY(RunSaveDialog(s.All(), dialog, "", false)); // no question without the check
    QVERIFY(s.Messages.empty());
    QCOMPARE(dialog.FileName, chosen);
    QCOMPARE(dialog.InitialDir, std::string("/somewhere/")); // until the command has written the file
    QVERIFY(!RunSaveDialog(s.All(), dialog, "", true));      // declined overwrite
    QCOMPARE(s.Messages.size(), std::size_t{1});
    QCOMPARE(dialog.InitialDir, std::string("/somewhere/"));
    RememberFolder(dialog);
    QCOMPARE(dialog.InitialDir, FolderOf(chosen));
}

void RecentFilesAndFileQuestionsTest::readsSkipsEmptyEntriesAndShowsFive() {
    ScriptedServices s;
    s.Settings[{"Reopen", "file1"}] = "/d/a.lfx";
    s.Settings[{"Reopen", "file2"}] = "";
    s.Settings[{"Reopen", "file3"}] = "/d/b.lfx";
    s.Settings[{"lastdir", "dir"}] = "/d/";
    ReopenMenu menu;
    Treopen reopen(menu.Menu, s);
    QCOMPARE(reopen.Files.size(), std::size_t{5});
    QCOMPARE(reopen.LastDir, std::string("/d/"));
    QCOMPARE(menu.Shown(), QStringList({"&1 /d/a.lfx", "&2 /d/b.lfx"}));
    QVERIFY(menu.Menu.menuAction()->isVisible());

    for (const char* name : {"/e/1.lfx", "/e/2.lfx", "/e/3.lfx", "/e/4.lfx"})
        reopen.Add(name);
    QCOMPARE(menu.Shown(),
             QStringList({"&1 /e/4.lfx", "&2 /e/3.lfx", "&3 /e/2.lfx", "&4 /e/1.lfx", "&5 /d/a.lfx"}));
    QCOMPARE(reopen.LastDir, std::string("/e/"));
    QCOMPARE(Treopen::FileOfCaption("&3 /e/2.lfx"), std::string("/e/2.lfx"));
}

void RecentFilesAndFileQuestionsTest::addMovesToFrontIgnoringCase() {
    ScriptedServices s;
    ReopenMenu menu;
    Treopen reopen(menu.Menu, s);
    QVERIFY(!menu.Menu.menuAction()->isVisible()); // nothing stored: the submenu stays hidden
    reopen.Add("/g/One.lfx");
    reopen.Add("/g/two.lfx");
    reopen.Add("/G/ONE.LFX");
    QCOMPARE(menu.Shown(), QStringList({"&1 /G/ONE.LFX", "&2 /g/two.lfx"}));
    reopen.Add("/g/two.lfx");
    QCOMPARE(menu.Shown(), QStringList({"&1 /g/two.lfx", "&2 /G/ONE.LFX"}));
    // A file name with an ampersand comes back from its caption unchanged.
    reopen.Add("/g/this&that.lfx");
    QCOMPARE(menu.Shown().first(), QString("&1 /g/this&&that.lfx"));
    QCOMPARE(Treopen::FileOfCaption(menu.Menu.actions()[0]->text().toStdString()),
             std::string("/g/this&that.lfx"));
}

void RecentFilesAndFileQuestionsTest::removeDropsEntryAndDestroyWritesFive() {
    ScriptedServices s;
    {
        ReopenMenu menu;
        Treopen reopen(menu.Menu, s);
        for (const char* name : {"/h/1.lfx", "/h/2.lfx", "/h/3.lfx", "/h/4.lfx", "/h/5.lfx", "/h/6.lfx"})
            reopen.Add(name);
        reopen.Remove("/h/4.lfx");
        QCOMPARE(menu.Shown(),
                 QStringList({"&1 /h/6.lfx", "&2 /h/5.lfx", "&3 /h/3.lfx", "&4 /h/2.lfx", "&5 /h/1.lfx"}));
        reopen.Remove("/h/6.lfx");
        reopen.Remove("/h/5.lfx");
        reopen.Remove("/h/3.lfx");
        QCOMPARE(menu.Shown(), QStringList({"&1 /h/2.lfx", "&2 /h/1.lfx"}));
        reopen.SetFolder("asc", "/asc/");
        QCOMPARE(Value(s, "lastdir", "asc"), std::string("/asc/")); // folders are written at once
        QCOMPARE(reopen.GetFolder("asc"), std::string("/asc/"));
        QCOMPARE(Value(s, "Reopen", "file1"), std::string("<missing>")); // the list only when destroyed
    }
    QCOMPARE(Value(s, "Reopen", "file1"), std::string("/h/2.lfx"));
    QCOMPARE(Value(s, "Reopen", "file2"), std::string("/h/1.lfx"));
    for (const char* name : {"file3", "file4", "file5"})
        QCOMPARE(Value(s, "Reopen", name), std::string());
    QCOMPARE(Value(s, "Reopen", "file6"), std::string("<missing>"));
    QCOMPARE(Value(s, "lastdir", "dir"), std::string("/h/"));
}

void RecentFilesAndFileQuestionsTest::qtSettingsUseTheLapidrastorKey() {
    QtSettingsStore store;
    store.WriteString("Reopen", "file1", "/q/ä.lfx");
    store.WriteString("lastdir", "otl", "/q/");
    QCOMPARE(store.ReadString("Reopen", "file1", ""), std::string("/q/ä.lfx"));
    QCOMPARE(store.ReadString("Reopen", "file9", "none"), std::string("none"));
    QSettings raw("Lapidrastor", "Lapidrastor");
    QCOMPARE(raw.value("lastdir/otl").toString(), QString("/q/"));
    QVERIFY(raw.fileName().contains("Lapidrastor"));
    raw.clear();
}

LAPIDRAW_UI_TEST_MAIN(RecentFilesAndFileQuestionsTest)
#include "recent_files_and_file_questions_test.moc"
