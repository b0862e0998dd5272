// The main window: captions, shortcuts and check marks of the menus, their visibility rules, the status
// bar and progress bar, and the click hand-off to a requesting dialog.
#include "app/reopen.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QStatusBar>

namespace {
// The visible top-level captions of the menu bar, in order.
QStringList VisibleTopLevel(Tstartform& window) {
    QStringList captions;
    for (QAction* action : window.menuBar()->actions())
        if (action->isVisible()) captions << action->text();
    return captions;
}

// Makes a ready-made design the window's design.
void LoadDesign(Tstartform& window, std::unique_ptr<TGem> design) {
    design->Progress = window.Progress.get();
    window.Design = std::move(design);
}
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void formLooksAsDesigned();
    void menuCaptionsAndShortcuts();
    void initialMenusShowOnlyFileAndAbout();
    void normalMenusFollowTheDesign();
    void rotationHidesCommands();
    void clickHandOffDeliversPositionButtonAndKeys();
    void rightClickBringsRequesterBackWithoutPick();
    void mousePressWhileIdleDoesNothing();
};

void MainWindowTest::formLooksAsDesigned() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    QCOMPARE(w.windowTitle(), QString("Lapidra"));
    QCOMPARE(w.size(), QSize(800, 600));
    QCOMPARE(w.minimumSize(), QSize(800, 600));
    QCOMPARE(w.maximumSize(), QSize(1024, 768));
    QCOMPARE(w.pos(), QPoint(0, 0));
    QVERIFY(!w.StatusBar1->isVisibleTo(&w));
    QCOMPARE(w.StatusPanel->minimumWidth(), 200);
    QCOMPARE(w.ProgressBar1->geometry(), QRect(136, 8, 577, 9));
    QCOMPARE(w.ProgressBar1->minimum(), 0);
    QCOMPARE(w.ProgressBar1->maximum(), 100);
    QVERIFY(!w.ProgressBar1->isVisibleTo(&w));
    QCOMPARE(w.Design->Progress, static_cast<ProgressSink*>(w.Progress.get()));
    QCOMPARE(w.Design->SystemIndex, 96);
    QCOMPARE(w.Design->Parts, 8);
    QCOMPARE(w.Design->Mirror, false);
    QCOMPARE(w.PreformDesign->Parts, 1);
    QCOMPARE(w.SelectedFacet, NoneFound);
    QCOMPARE(w.CursorX, 400);
    QCOMPARE(w.CursorY, 300);
}

void MainWindowTest::menuCaptionsAndShortcuts() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    const std::vector<std::tuple<QAction*, const char*, const char*>> items = {
        {w.New1, "&New ...", "Ctrl+N"},
        {w.Newwithoutline1, "New &with outline", ""},
        {w.Open1, "&Open...", "Ctrl+O"},
        {w.Readoutline1, "R&ead outline ...", ""},
        {w.Print1, "&Print design", "Ctrl+P"},
        {w.Printfullpage1, "Print &full page", ""},
        {w.Makepicture1, "&Make emf file...", "Ctrl+M"},
        {w.Makeascfile1, "Make asc &file ...", ""},
        {w.List1, "&List facet data", "Ctrl+L"},
        {w.printfacetdata1, "Print &facet data", ""},
        {w.Save1, "&Save", "Ctrl+S"},
        {w.SaveAs1, "Save &as...", "Ctrl+A"},
        {w.SaveOutline1, "Save o&utline as...", ""},
        {w.importfile1, "&Import crown and girdle", ""},
        {w.Importcrown1, "I&mport crown ...", ""},
        {w.Importpav1, "Imp&ort pav ...", ""},
        {w.Exit1, "E&xit", "Ctrl+X"},
        {w.Edittext1, "&Edit text", ""},
        {w.Generalfacet1, "&Add  or modify facets", ""},
        {w.Rotate1, "&Rotate", ""},
        {w.Showtier1, "&Show tier", ""},
        {w.Changetable1, "&Change table", ""},
        {w.Makeculetfacet1, "&Make or change culet facet", ""},
        {w.Changetier1, "Change &facet group", ""},
        {w.deletetier1, "D&elete facet group", ""},
        {w.Changebaseplane1, "Shift &design", ""},
        {w.Changeangles1, "C&hange angles", ""},
        {w.Scale1, "Re&size", ""},
        {w.Stretch1, "St&retch", ""},
        {w.RoundIndices1, "Round &indices", ""},
        {w.Rotate3, "&Rotate", ""},
        {w.Removelastfacets1, "&Remove last facet group", ""},
        {w.Undo2, "&Undo", ""},
        {w.Redo1, "&Redo", ""},
        {w.CcdandDcf1, "&Dcf and Ccd", ""},
        {w.Showcutoff1, "Show c&utoff", ""},
        {w.Showclick1, "Show &click", ""},
        {w.ShowOutline1, "Show &Outline", ""},
        {w.Resizedrawarea1, "Resize drawarea", ""},
        {w.Showindices1, "Show &indices", ""},
        {w.Symmetry2, "S&ymmetry", ""},
        {w.campreform2, "&make preform", ""},
        {w.campreform3, "&Save as ...", ""},
        {w.campreform4, "&Print", ""},
        {w.camlist, "&List", ""},
        {w.campreform5, "&Exit preform", ""},
        {w.About1, "A&bout", ""},
    };
    for (const auto& [action, caption, shortcut] : items) {
        QCOMPARE(action->text(), QString(caption));
        QCOMPARE(action->shortcut(), QKeySequence(shortcut));
    }
    QCOMPARE(w.Reopen1->title(), QString("&Reopen"));
    QCOMPARE(w.campreform1->title(), QString("&CAM preform"));
    QVERIFY(w.Showcutoff1->isChecked());
    QVERIFY(w.Showclick1->isChecked());
    QVERIFY(!w.ShowOutline1->isChecked());
    QVERIFY(!w.Showindices1->isChecked());
    // Hidden from the start and never shown by the menu rules.
    QVERIFY(!w.Changetier1->isVisible());
    QVERIFY(!w.Resizedrawarea1->isVisible());
    QVERIFY(!w.importfile1->isVisible());
}

void MainWindowTest::initialMenusShowOnlyFileAndAbout() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    QCOMPARE(VisibleTopLevel(w), QStringList({"&File", "A&bout"}));
    for (QAction* hidden : {w.Save1, w.SaveAs1, w.Print1, w.List1, w.Makepicture1, w.Makeascfile1, w.N1,
                            w.printfacetdata1, w.Printfullpage1, w.SaveOutline1, w.Newwithoutline1})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
    for (QAction* shown : {w.New1, w.Open1, w.Readoutline1, w.Importcrown1, w.Importpav1, w.Exit1})
        QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
    QVERIFY(!w.Reopen1->menuAction()->isVisible()); // no recent files yet
}

void MainWindowTest::normalMenusFollowTheDesign() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    // A design without cut facets: nothing to save, view, modify or measure.
    w.UpdateMenus(Tstartform::MenuMode::Normal, true);
    QCOMPARE(VisibleTopLevel(w),
             QStringList({"&File", "&Add  or modify facets", "&Options", "S&ymmetry", "A&bout"}));
    QVERIFY(!w.Save1->isVisible());
    QVERIFY(!w.SaveAs1->isVisible());

    // A crown with facets.
    LoadDesign(w, RoundBrilliantCrown());
    w.UpdateMenus(Tstartform::MenuMode::Normal, true);
    QCOMPARE(VisibleTopLevel(w),
             QStringList({"&File", "&Edit text", "&Add  or modify facets", "&View", "&Modify", "Mea&sure",
                          "&Options", "S&ymmetry", "&CAM preform", "A&bout"}));
    for (QAction* shown : {w.Save1, w.SaveAs1, w.Print1, w.Printfullpage1, w.printfacetdata1, w.List1,
                           w.Makepicture1, w.Makeascfile1, w.SaveOutline1, w.Changetable1, w.Scale1,
                           w.Removelastfacets1, w.RoundIndices1, w.Showindices1, w.Changeangles1})
        QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
    QVERIFY(!w.Makeculetfacet1->isVisible()); // crown: the table, not a culet
    QVERIFY(!w.Undo2->isVisible());
    QVERIFY(!w.Redo1->isVisible());

    // A pavilion: the culet instead of the table.
    LoadDesign(w, RoundBrilliantPavilion());
    w.UpdateMenus(Tstartform::MenuMode::Normal, true);
    QVERIFY(w.Makeculetfacet1->isVisible());
    QVERIFY(!w.Changetable1->isVisible());
}

void MainWindowTest::rotationHidesCommands() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.UpdateMenus(Tstartform::MenuMode::Normal, true);
    w.Rotate1Click(); // nothing to rotate without cut facets
    QVERIFY(!w.RotationMode);

    LoadDesign(w, RoundBrilliantCrown());
    w.UpdateMenus(Tstartform::MenuMode::Normal, true);
    w.Rotate1->trigger();
    QVERIFY(w.RotationMode);
    QCOMPARE(VisibleTopLevel(w), QStringList());
}

void MainWindowTest::clickHandOffDeliversPositionButtonAndKeys() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    TestRequester requester(w);
    w.ClickRequester = &requester;

    w.RequestClick("Click on edge");
    w.ClickKind = 1;
    QVERIFY(w.StatusBar1->isVisible());
    QVERIFY(w.CrosshairPending);
    const QPoint corner = w.frameGeometry().topLeft();
    QCOMPARE(f.Script.CursorMoves.back(), std::make_pair(corner.x() + 200, corner.y() + 100));

    MoveMouse(w, {250, 120});
    QVERIFY(!w.CrosshairPending);
    QCOMPARE(w.ClickState, 2);
    QCOMPARE(f.Script.CursorMoves.back(), std::make_pair(corner.x() + 400, corner.y() + 300));

    PressMouse(w, {300, 200}, Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(requester.Shown, 1);
    QCOMPARE(requester.Picks, 1);
    QCOMPARE(requester.PickedAt, QPoint(300, 200));
    QVERIFY(requester.PickedWithCtrl);
    QVERIFY(!requester.PickedWithShift);
    QCOMPARE(w.ClickKind, 0);
    QCOMPARE(w.ClickState, 0);
    QVERIFY(!w.StatusBar1->isVisible());
    QCOMPARE(w.CursorX, 300);
    QCOMPARE(w.CursorY, 200 + w.frameGeometry().height() - w.Client->height());

    // The next request puts the cursor back near this click.
    w.RequestClick("");
    w.ClickKind = 2;
    MoveMouse(w, {10, 10});
    QCOMPARE(f.Script.CursorMoves.back(), std::make_pair(corner.x() + w.CursorX, corner.y() + w.CursorY));
    PressMouse(w, {40, 50}, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(requester.Picks, 2);
    QVERIFY(!requester.PickedWithCtrl);
    QVERIFY(requester.PickedWithShift);
    QCOMPARE(w.ClickShift, Qt::KeyboardModifiers(Qt::ShiftModifier));
}

void MainWindowTest::rightClickBringsRequesterBackWithoutPick() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    TestRequester requester(w);
    w.ClickRequester = &requester;
    w.RequestClick("Click in facet");
    w.ClickKind = 3;
    MoveMouse(w, {200, 100});
    PressMouse(w, {210, 110}, Qt::RightButton);
    QCOMPARE(requester.Shown, 1);
    QCOMPARE(requester.Picks, 0);
    QCOMPARE(w.ClickButton, Qt::RightButton);
    QCOMPARE(w.ClickState, 0);
}

void MainWindowTest::mousePressWhileIdleDoesNothing() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    TestRequester requester(w);
    w.ClickRequester = &requester;
    PressMouse(w, {210, 110}, Qt::LeftButton);
    QCOMPARE(requester.Shown, 0);
    // A request without any mouse move yet: the press is not taken either.
    w.RequestClick("");
    PressMouse(w, {210, 110}, Qt::LeftButton);
    QCOMPARE(requester.Shown, 0);
    QVERIFY(w.StatusBar1->isVisible());
}

LAPIDRAW_UI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
