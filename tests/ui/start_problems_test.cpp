// A settings store that does not work and a temporary folder that cannot be written: the window tells
// once and works on.
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>

class StartProblemsTest : public QObject {
    Q_OBJECT

  private slots:
    void settingsProblemIsShownOnceAtStart();
    void unwritableTemporaryFolderIsShownOnceAndTheWindowWorksOn();
};

void StartProblemsTest::settingsProblemIsShownOnceAtStart() {
    WindowFixture f;
    const std::string problem =
        "The settings file x.conf is damaged: the recent files and folders start empty.";
    f.Script.SettingsProblem = problem;
    f.Window->FormActivate();
    f.Window->FormActivate();
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{problem});
    QCOMPARE(f.Script.Beeps, 1);
}

void StartProblemsTest::unwritableTemporaryFolderIsShownOnceAndTheWindowWorksOn() {
    QTemporaryDir dir;
    const std::string blocked = dir.filePath("not-a-folder").toStdString();
    std::ofstream(blocked) << "a file where the temporary folder should be";
    const char* old = std::getenv("TMPDIR");
    const std::string saved = old ? old : "";
    setenv("TMPDIR", blocked.c_str(), 1);
    {
        WindowFixture f;
        Tstartform& w = *f.Window;
        for (Real angle : {90, 40, 20}) {
            QVERIFY(CutByAngle(w.Design(), angle, 3, 40 - angle / 10));
            QVERIFY(!w.Changes().RecordStep());
        }
        QCOMPARE(f.Script.Messages.size(), std::size_t(1));
        QVERIFY(f.Script.Messages[0].Text.rfind(" Cannot write file ", 0) == 0);
        QCOMPARE(w.Design().FacetCount, 8 * 3);
        QVERIFY(!w.Changes().History().CanUndo());
    }
    if (old)
        setenv("TMPDIR", saved.c_str(), 1);
    else
        unsetenv("TMPDIR");
}

LAPIDRAW_UI_TEST_MAIN(StartProblemsTest)
#include "start_problems_test.moc"
