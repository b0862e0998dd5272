// File commands, undo and redo: the title's step count, Save and Save as with the type letter, the
// recent-files list, Open and Reopen, and the questions before a design is replaced or the program ends.
#include "app/recent_files.h"
#include "dialogs/new_design_dialog.h"
#include "dialogs/radio_group.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
const std::string DataFolder = LAPIDRAW_TEST_DATA;

// A new 8-fold crown made through "Define New Gem", as the user starts one.
void StartNewCrown(Tstartform& w, bool pavilion = false) {
    TForm6& form = DialogOf<TForm6>(w);
    form.show();
    form.RadioGroup2->SetItemIndex(pavilion ? 1 : 0);
    QTest::mouseClick(form.button1, Qt::LeftButton);
}

// One facet group cut through the model and committed as a dialog commits it.
void CutGroup(Tstartform& w, Real angle, Real index, Real dist) {
    QVERIFY(CutByAngle(w.Design(), angle, index, dist));
    w.Changes().RecordStep();
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

QStringList ReopenCaptions(Tstartform& w) {
    QStringList captions;
    for (QAction* slot : w.Reopen1->actions())
        if (slot->isVisible()) captions << slot->text();
    return captions;
}
} // namespace

class FileCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void titleCountsStepsAndUndoRedoChangeTheDesign();
    void newDesignStartsWithoutSteps();
    void saveNewCrownAppendsTypeLetter();
    void saveAsKeepsNamesEndingInTheLetterAndNamedDesigns();
    void declinedOverwriteWritesNothing();
    void savingRemembersTheDesignInSettings();
    void openingTwiceKeepsOneEntry();
    void reopenOfDeletedFileDropsIt();
    void failedOpenKeepsDesignAndTitle();
    void commandLineDesignOpensAtFirstActivation();
    void changedDesignAsksBeforeNew();
    void quitAsksAndCancelKeepsRunning();
    void quitYesRunsSaveAsEvenWithFileName();
    void closeButtonAsksTheSameQuestion();
};

void FileCommandsTest::titleCountsStepsAndUndoRedoChangeTheDesign() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    StartNewCrown(w);
    QCOMPARE(w.windowTitle(), QString());
    CutGroup(w, 90, 0, 50);
    QCOMPARE(w.windowTitle(), QString(" (changed:  1)"));
    QVERIFY(w.Action("Undo2")->isVisible());
    QVERIFY(!w.Action("Redo1")->isVisible());
    CutGroup(w, 40, 0, 45);
    QCOMPARE(w.windowTitle(), QString(" (changed:  2)"));
    const int facetsAfterTwo = w.Design().FacetCount;

    w.Action("Undo2")->trigger();
    QCOMPARE(w.windowTitle(), QString(" (changed:  1)"));
    QCOMPARE(w.Design().FacetCount, 8);
    QVERIFY(w.Action("Redo1")->isVisible());
    w.Action("Undo2")->trigger();
    QCOMPARE(w.windowTitle(), QString());
    QCOMPARE(w.Design().FacetCount, 0);
    QVERIFY(!w.Action("Undo2")->isVisible());
    Undo2Click(w); // at the first snapshot nothing changes
    QCOMPARE(w.Design().FacetCount, 0);

    w.Action("Redo1")->trigger();
    w.Action("Redo1")->trigger();
    QCOMPARE(w.windowTitle(), QString(" (changed:  2)"));
    QCOMPARE(w.Design().FacetCount, facetsAfterTwo);
    QVERIFY(!w.Action("Redo1")->isVisible());
    QVERIFY(f.Script.Messages.empty());

    // Removing the last facet group is one more step.
    w.Action("Removelastfacets1")->trigger();
    QCOMPARE(w.Design().FacetCount, 8);
    QCOMPARE(w.windowTitle(), QString(" (changed:  3)"));
}

void FileCommandsTest::newDesignStartsWithoutSteps() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    StartNewCrown(w);
    CutGroup(w, 90, 0, 50);
    f.Script.Answers = {Answer::No}; // "File changed; save changes": No
    WhileModal([&] { w.Action("New1")->trigger(); },
               [&](QDialog&) { QTest::mouseClick(DialogOf<TForm6>(w).button1, Qt::LeftButton); });
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"File changed; save changes"});
    QCOMPARE(w.Design().FacetCount, 0);
    QVERIFY(!w.Changes().History().CanUndo());
    QCOMPARE(w.windowTitle(), QString());
    QVERIFY(!w.Action("Undo2")->isVisible());
}

void FileCommandsTest::saveNewCrownAppendsTypeLetter() {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    WindowFixture f;
    Tstartform& w = *f.Window;
    StartNewCrown(w);
    CutGroup(w, 90, 0, 50);
    f.Script.FileAnswers = {folder + "/x.lfx"};
    w.Action("Save1")->trigger();

    const std::string expected = folder + "/xc.lfx";
    QVERIFY(std::filesystem::exists(expected));
    QVERIFY(!std::filesystem::exists(folder + "/x.lfx"));
    QCOMPARE(f.Script.Dialogs.size(), std::size_t{1});
    QCOMPARE(f.Script.Dialogs[0].Title, std::string("Facet file"));
    QCOMPARE(f.Script.Dialogs[0].DefaultExt, std::string("lfx"));
    QCOMPARE(f.Script.Dialogs[0].FileName, std::string()); // a new design has no name to preset
    QCOMPARE(w.DesignFile(), expected);
    QCOMPARE(w.DesignName(), std::string("xc"));
    QCOMPARE(w.windowTitle(), QString::fromStdString(expected));
    QCOMPARE(w.RecentFiles->Files.front(), expected);
    QCOMPARE(ReopenCaptions(w), QStringList{QString::fromStdString("&1 " + expected)});
    QVERIFY(w.Action("Reopen1")->isVisible());
    QVERIFY(!w.Changes().History().CanUndo());
    QVERIFY(ReadAll(expected).find("Ifilename: xc.lfx\r\n") != std::string::npos);

    // A pavilion gets "p".
    StartNewCrown(w, true);
    CutGroup(w, 90, 0, 50);
    f.Script.FileAnswers = {folder + "/y"};
    QVERIFY(SaveAs(w, ""));
    QVERIFY(std::filesystem::exists(folder + "/yp.lfx"));
}

void FileCommandsTest::saveAsKeepsNamesEndingInTheLetterAndNamedDesigns() {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    WindowFixture f;
    Tstartform& w = *f.Window;
    StartNewCrown(w);
    CutGroup(w, 90, 0, 50);
    f.Script.FileAnswers = {folder + "/brillC.lfx"};
    w.Action("Save1")->trigger();
    QCOMPARE(w.DesignFile(), folder + "/brillC.lfx");

    // Save as on a design with a file name: the dialog shows its name; no letter is added.
    f.Script.FileAnswers = {folder + "/second.lfx"};
    w.Action("SaveAs1")->trigger();
    QCOMPARE(f.Script.Dialogs.back().FileName, std::string("brillC"));
    QCOMPARE(f.Script.Dialogs.back().InitialDir, folder + "/");
    QCOMPARE(w.DesignFile(), folder + "/second.lfx");
    QCOMPARE(ReopenCaptions(w), QStringList({QString::fromStdString("&1 " + folder + "/second.lfx"),
                                             QString::fromStdString("&2 " + folder + "/brillC.lfx")}));

    // Save writes the named file again without a dialog.
    CutGroup(w, 40, 0, 45);
    w.Action("Save1")->trigger();
    QCOMPARE(f.Script.Dialogs.size(), std::size_t{2});
    QCOMPARE(w.windowTitle(), QString::fromStdString(folder + "/second.lfx"));
    TGem check;
    QVERIFY(check.ReadDesign(folder + "/second.lfx", TGem::FileMode::Open));
    QCOMPARE(check.FacetCount, 16);
}

void FileCommandsTest::declinedOverwriteWritesNothing() {
    QTemporaryDir dir;
    const std::string existing = dir.path().toStdString() + "/oldc.lfx";
    std::ofstream(existing) << "precious";
    WindowFixture f;
    Tstartform& w = *f.Window;
    StartNewCrown(w);
    CutGroup(w, 90, 0, 50);
    f.Script.FileAnswers = {dir.path().toStdString() + "/old.lfx"};
    f.Script.Answers = {Answer::No};
    QVERIFY(!SaveAs(w, ""));
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{" File " + existing +
                                                        " exists and will be overwritten. Are you sure ?"});
    QCOMPARE(ReadAll(existing), std::string("precious"));
    QCOMPARE(w.DesignFile(), std::string());
    QVERIFY(w.Changes().History().CanUndo());

    f.Script.FileAnswers = {dir.path().toStdString() + "/old.lfx"};
    f.Script.Answers = {Answer::Yes};
    QVERIFY(SaveAs(w, ""));
    QVERIFY(ReadAll(existing) != "precious");
}

void FileCommandsTest::savingRemembersTheDesignInSettings() {
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    ScriptedServices script;
    {
        Tstartform w(script.All(), "");
        StartNewCrown(w);
        CutGroup(w, 90, 0, 50);
        script.FileAnswers = {folder + "/x.lfx"};
        w.Action("Save1")->trigger();
        w.FileDialog(FileDialogKind::SaveAsc).InitialDir = "/asc/";
        w.FileDialog(FileDialogKind::OpenOutline).InitialDir = "/outline/";
    }
    QCOMPARE(script.ReadString("Reopen", "file1", "<missing>"), folder + "/xc.lfx");
    QCOMPARE(script.ReadString("Reopen", "file2", "<missing>"), std::string());
    QCOMPARE(script.ReadString("lastdir", "dir", "<missing>"), folder + "/");
    QCOMPARE(script.ReadString("lastdir", "asc", "<missing>"), std::string("/asc/"));
    QCOMPARE(script.ReadString("lastdir", "otl", "<missing>"), std::string("/outline/"));

    // The next run finds the list and the folders again.
    Tstartform again(script.All(), "");
    QCOMPARE(ReopenCaptions(again), QStringList{QString::fromStdString("&1 " + folder + "/xc.lfx")});
    QCOMPARE(again.FileDialog(FileDialogKind::OpenDesign).InitialDir, folder + "/");
    QCOMPARE(again.FileDialog(FileDialogKind::SaveAsc).InitialDir, std::string("/asc/"));
    QCOMPARE(again.FileDialog(FileDialogKind::SaveOutline).InitialDir, std::string("/outline/"));
}

void FileCommandsTest::openingTwiceKeepsOneEntry() {
    const std::string box = DataFolder + "/lfx/box.lfx";
    const std::string pyramid = DataFolder + "/lfx/pyramid.lfx";
    WindowFixture f;
    Tstartform& w = *f.Window;
    f.Script.FileAnswers = {box, pyramid, box};
    w.Action("Open1")->trigger();
    QCOMPARE(f.Script.Dialogs[0].DefaultExt, std::string("lfx"));
    QCOMPARE(f.Script.Dialogs[0].FilterDescription, std::string("facet files (*.lfx)"));
    QCOMPARE(w.DesignFile(), box);
    QCOMPARE(w.windowTitle(), QString::fromStdString(box));
    QVERIFY(w.Design().HasFacets());
    QVERIFY(w.Action("Save1")->isVisible());
    w.Action("Open1")->trigger();
    QCOMPARE(f.Script.Dialogs[1].FileName, std::string("box"));     // previous name, no extension
    QCOMPARE(f.Script.Dialogs[1].InitialDir, DataFolder + "/lfx/"); // its folder
    w.Action("Open1")->trigger();
    QCOMPARE(ReopenCaptions(w),
             QStringList({QString::fromStdString("&1 " + box), QString::fromStdString("&2 " + pyramid)}));
    QVERIFY(f.Script.Messages.empty());
}

void FileCommandsTest::reopenOfDeletedFileDropsIt() {
    QTemporaryDir dir;
    const std::string copy = dir.path().toStdString() + "/copy.lfx";
    std::filesystem::copy_file(DataFolder + "/lfx/box.lfx", copy);
    WindowFixture f;
    Tstartform& w = *f.Window;
    f.Script.FileAnswers = {DataFolder + "/lfx/pyramid.lfx", copy};
    w.Action("Open1")->trigger();
    w.Action("Open1")->trigger();
    QCOMPARE(ReopenCaptions(w).size(), 2);

    // Reopen of an existing entry opens it and moves it to the top.
    w.Action("file2")->trigger();
    QCOMPARE(w.DesignFile(), DataFolder + "/lfx/pyramid.lfx");
    QCOMPARE(ReopenCaptions(w).first(), QString::fromStdString("&1 " + DataFolder + "/lfx/pyramid.lfx"));

    std::filesystem::remove(copy);
    w.Action("file2")->trigger();
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{" File: " + copy + " does not exist"});
    QCOMPARE(f.Script.Beeps, 1);
    QCOMPARE(ReopenCaptions(w), QStringList{QString::fromStdString("&1 " + DataFolder + "/lfx/pyramid.lfx")});
    QCOMPARE(w.DesignFile(), DataFolder + "/lfx/pyramid.lfx");
}

void FileCommandsTest::failedOpenKeepsDesignAndTitle() {
    const std::string box = DataFolder + "/lfx/box.lfx";
    const std::string broken = DataFolder + "/broken/letter_for_number.lfx";
    WindowFixture f;
    Tstartform& w = *f.Window;
    f.Script.FileAnswers = {box, broken};
    w.Action("Open1")->trigger();
    const int facets = w.Design().FacetCount;
    w.Action("Open1")->trigger();
    QCOMPARE(f.Script.Messages.size(), std::size_t{1});
    QVERIFY(f.Script.Messages[0].Text.find(" Cannot read file ") == 0);
    QCOMPARE(w.Design().FacetCount, facets);
    QCOMPARE(w.DesignFile(), box);
    QCOMPARE(w.windowTitle(), QString::fromStdString(box));
    QCOMPARE(ReopenCaptions(w), QStringList{QString::fromStdString("&1 " + box)});
}

void FileCommandsTest::commandLineDesignOpensAtFirstActivation() {
    const std::string box = DataFolder + "/lfx/box.lfx";
    WindowFixture f(box);
    Tstartform& w = *f.Window;
    QCOMPARE(w.DesignFile(), std::string());
    w.FormActivate();
    QCOMPARE(w.DesignFile(), box);
    QCOMPARE(w.DesignName(), std::string("box"));
    QCOMPARE(w.windowTitle(), QString::fromStdString(box));
    QVERIFY(w.Design().HasFacets());
    QCOMPARE(ReopenCaptions(w), QStringList{QString::fromStdString("&1 " + box)});
    QVERIFY(w.Action("Save1")->isVisible());
    w.Design().NewDesign('c', 8, 96, false, 0, true);
    w.FormActivate(); // later activations do not open it again
    QVERIFY(!w.Design().HasFacets());

    WindowFixture missing(DataFolder + "/lfx/none.lfx");
    missing.Window->FormActivate();
    QCOMPARE(missing.Script.Messages.size(), std::size_t{1});
    QCOMPARE(missing.Window->DesignFile(), std::string());
}

void FileCommandsTest::changedDesignAsksBeforeNew() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    StartNewCrown(w);
    CutGroup(w, 90, 0, 50);
    f.Script.Answers = {Answer::Cancel};
    bool shown = false;
    WhileModal([&] { w.Action("New1")->trigger(); }, [&](QDialog&) { shown = true; });
    QVERIFY(!shown);
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"File changed; save changes"});
    QCOMPARE(f.Script.Beeps, 1);
    QCOMPARE(w.Design().FacetCount, 8);

    // Yes saves first; a cancelled save dialog counts as Cancel.
    f.Script.ClearRecord();
    f.Script.Answers = {Answer::Yes};
    QCOMPARE(AskSaveChanges(w), Answer::Cancel);
    QCOMPARE(f.Script.Dialogs.size(), std::size_t{1});
}

void FileCommandsTest::quitAsksAndCancelKeepsRunning() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.Action("Exit1")->trigger(); // nothing changed: ends without asking
    QVERIFY(f.Script.Messages.empty());
    QCOMPARE(f.Script.Ends, 1);

    WindowFixture g;
    Tstartform& v = *g.Window;
    StartNewCrown(v);
    CutGroup(v, 90, 0, 50);
    g.Script.Answers = {Answer::Cancel};
    v.Action("Exit1")->trigger();
    QCOMPARE(g.Script.Texts(),
             std::vector<std::string>{"This program will terminate. Save current new design?"});
    QCOMPARE(g.Script.Ends, 0);
    QVERIFY(!v.ClosingDown);

    g.Script.ClearRecord();
    v.SetDesignFile("/tmp/named.lfx");
    g.Script.Answers = {Answer::No};
    v.Action("Exit1")->trigger();
    QCOMPARE(g.Script.Texts(),
             std::vector<std::string>{"This program will terminate. Save current modifications?"});
    QCOMPARE(g.Script.Ends, 1);
    QVERIFY(v.ClosingDown);
}

void FileCommandsTest::quitYesRunsSaveAsEvenWithFileName() {
    QTemporaryDir dir;
    WindowFixture f;
    Tstartform& w = *f.Window;
    StartNewCrown(w);
    CutGroup(w, 90, 0, 50);
    f.Script.FileAnswers = {dir.path().toStdString() + "/q.lfx"};
    w.Action("Save1")->trigger();
    CutGroup(w, 40, 0, 45);

    f.Script.ClearRecord();
    f.Script.Answers = {Answer::Yes};
    f.Script.FileAnswers = {std::nullopt};
    w.Action("Exit1")->trigger();
    QCOMPARE(f.Script.Dialogs.size(), std::size_t{1}); // Save as, not Save
    QCOMPARE(f.Script.Ends, 0);

    f.Script.Answers = {Answer::Yes, Answer::Yes}; // quit: Yes; overwrite: Yes
    f.Script.FileAnswers = {dir.path().toStdString() + "/qc.lfx"};
    w.Action("Exit1")->trigger();
    QCOMPARE(f.Script.Ends, 1);
    TGem check;
    QVERIFY(check.ReadDesign(dir.path().toStdString() + "/qc.lfx", TGem::FileMode::Open));
    QCOMPARE(check.FacetCount, 16);
}

void FileCommandsTest::closeButtonAsksTheSameQuestion() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    StartNewCrown(w);
    CutGroup(w, 90, 0, 50);
    f.Script.Answers = {Answer::Cancel};
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(f.Script.Texts(),
             std::vector<std::string>{"This program will terminate. Save current new design?"});
    QCOMPARE(f.Script.Ends, 0);
    f.Script.Answers = {Answer::No};
    QVERIFY(!w.close()); // the window itself never closes: the application ends
    QCOMPARE(f.Script.Ends, 1);
    // Ending the application closes the window once more: that asks nothing again (the question
    // would come back for ever and the program never end).
    QVERIFY(w.close());
    QCOMPARE(f.Script.Texts().size(), std::size_t(2));
}

LAPIDRAW_UI_TEST_MAIN(FileCommandsTest)
#include "file_commands_test.moc"
