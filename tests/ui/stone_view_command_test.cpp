// View > 3D view on the real main window: the window it opens shows the stone of the open design and
// follows the changes made through the window's change runner.
#include "dialogs/stone_view_window.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QAction>

class StoneViewCommandTest : public QObject {
    Q_OBJECT

  private slots:
    void menuItemOpensAWindowThatFollowsTheDesign();
};

void StoneViewCommandTest::menuItemOpensAWindowThatFollowsTheDesign() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    w.RefreshMenus();
    QVERIFY(w.Action("View3D1")->isVisible());
    w.Action("View3D1")->trigger();
    StoneViewWindow* view = w.Dialogs().Find<StoneViewWindow>();
    QVERIFY(view && view->isVisible());
    const std::size_t faces = view->Canvas->Shown.Faces.size();
    QVERIFY(faces > 0);
    QVERIFY(w.Apply([](TGem& gem) {
        CutHorizontal(gem, 10);
        return true;
    }));
    QVERIFY(view->Canvas->Shown.Faces.size() < faces);
    w.Action("Undo2")->trigger();
    QCOMPARE(view->Canvas->Shown.Faces.size(), faces);
}

LAPIDRAW_UI_TEST_MAIN(StoneViewCommandTest)
#include "stone_view_command_test.moc"
