// The main window: the desktop's undo keys, the visibility rules of the menus, the status
// bar and progress bar, and the click hand-off to a requesting dialog.
#include "app/recent_files.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include "dialogs/new_design_dialog.h"
#include "dialogs/radio_group.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QStatusBar>
#include <QTemporaryDir>
#include <array>
#include <cmath>
#include <filesystem>

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
    window.TheDesign = std::move(design);
}
} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void formLooksAsDesigned();
    void undoKeysAndItemsNeverShown();
    void initialMenusShowOnlyFileAndAbout();
    void normalMenusFollowTheDesign();
    void rotationHidesCommands();
    void clickHandOffDeliversPositionButtonAndKeys();
    void rightClickBringsRequesterBackWithoutPick();
    void mousePressWhileIdleDoesNothing();
    void newWithOutlinePresetsFromTheOutline();
    void sheetIsDrawnIntoTheClientArea();
    void readoutShowsDesignPointAndIndex();
    void crosshairIsDrawnAndErasedInXor();
    void rotationKeysTurnTheViewAndOtherKeysEndIt();
    void progressBarFollowsLongRecomputes();
    void resizeDrawareaTogglesScreenSize();
    void showOutlineTogglesTheOutline();
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
    QCOMPARE(w.Design().Progress, static_cast<ProgressSink*>(w.Progress.get()));
    QCOMPARE(w.Design().SystemIndex, 96);
    QCOMPARE(w.Design().Parts, 8);
    QCOMPARE(w.Design().Mirror, false);
    QCOMPARE(w.Preform().Parts, 1);
    QCOMPARE(w.Display().SelectedFacet, NoneFound);
    QCOMPARE(w.CursorX, 400);
    QCOMPARE(w.CursorY, 300);
}

// Captions, shortcuts and check marks are the menu table's (the seam test binds them); beside them the
// desktop's own undo keys, and items that no rule ever shows.
void MainWindowTest::undoKeysAndItemsNeverShown() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    // Undo and Redo answer to the desktop's own keys.
    QVERIFY(w.Action("Undo2")->shortcuts().contains(QKeySequence("Ctrl+Z")));
    QVERIFY(w.Action("Redo1")->shortcuts().contains(QKeySequence("Ctrl+Y")));
    // Hidden from the start and never shown by the menu rules.
    QVERIFY(!w.Action("Changetier1")->isVisible());
    QVERIFY(!w.Action("Resizedrawarea1")->isVisible());
    QVERIFY(!w.Action("importfile1")->isVisible());
}

void MainWindowTest::initialMenusShowOnlyFileAndAbout() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    QCOMPARE(VisibleTopLevel(w), QStringList({"&File", "A&bout"}));
    for (QAction* hidden :
         {w.Action("Save1"), w.Action("SaveAs1"), w.Action("Print1"), w.Action("List1"),
          w.Action("Makepicture1"), w.Action("Makeascfile1"), w.Action("N1"), w.Action("printfacetdata1"),
          w.Action("Printfullpage1"), w.Action("SaveOutline1"), w.Action("Newwithoutline1")})
        QVERIFY2(!hidden->isVisible(), qPrintable(hidden->objectName()));
    for (QAction* shown : {w.Action("New1"), w.Action("Open1"), w.Action("Readoutline1"),
                           w.Action("Importcrown1"), w.Action("Importpav1"), w.Action("Exit1")})
        QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
    QVERIFY(!w.Action("Reopen1")->isVisible()); // no recent files yet
}

void MainWindowTest::normalMenusFollowTheDesign() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    // A design without cut facets: nothing to save, view, modify or measure.
    w.RefreshMenus();
    QCOMPARE(VisibleTopLevel(w),
             QStringList({"&File", "&Add  or modify facets", "&Options", "S&ymmetry", "A&bout"}));
    QVERIFY(!w.Action("Save1")->isVisible());
    QVERIFY(!w.Action("SaveAs1")->isVisible());

    // A crown with facets.
    LoadDesign(w, RoundBrilliantCrown());
    w.RefreshMenus();
    QCOMPARE(VisibleTopLevel(w),
             QStringList({"&File", "&Edit text", "&Add  or modify facets", "&View", "&Modify", "Mea&sure",
                          "&Options", "S&ymmetry", "&CAM preform", "A&bout"}));
    for (QAction* shown : {w.Action("Save1"), w.Action("SaveAs1"), w.Action("Print1"),
                           w.Action("Printfullpage1"), w.Action("printfacetdata1"), w.Action("List1"),
                           w.Action("Makepicture1"), w.Action("Makeascfile1"), w.Action("SaveOutline1"),
                           w.Action("Changetable1"), w.Action("Scale1"), w.Action("Removelastfacets1"),
                           w.Action("RoundIndices1"), w.Action("Showindices1"), w.Action("Changeangles1")})
        QVERIFY2(shown->isVisible(), qPrintable(shown->objectName()));
    QVERIFY(!w.Action("Makeculetfacet1")->isVisible()); // crown: the table, not a culet
    QVERIFY(!w.Action("Undo2")->isVisible());
    QVERIFY(!w.Action("Redo1")->isVisible());

    // A pavilion: the culet instead of the table.
    LoadDesign(w, RoundBrilliantPavilion());
    w.RefreshMenus();
    QVERIFY(w.Action("Makeculetfacet1")->isVisible());
    QVERIFY(!w.Action("Changetable1")->isVisible());
}

void MainWindowTest::rotationHidesCommands() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.RefreshMenus();
    Rotate1Click(w); // nothing to rotate without cut facets
    QVERIFY(!w.Rotating());

    LoadDesign(w, RoundBrilliantCrown());
    w.RefreshMenus();
    w.Action("Rotate1")->trigger();
    QVERIFY(w.Rotating());
    QCOMPARE(VisibleTopLevel(w), QStringList());
}

void MainWindowTest::clickHandOffDeliversPositionButtonAndKeys() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    TestRequester requester(w);

    w.RequestClick(requester, ClickKind::Edge, "Click on edge");
    QVERIFY(w.StatusBar1->isVisible());
    QVERIFY(w.CrosshairPending);
    const QPoint corner = w.frameGeometry().topLeft();
    QCOMPARE(f.Script.CursorMoves.back(), std::make_pair(corner.x() + 200, corner.y() + 100));

    MoveMouse(w, {250, 120});
    QVERIFY(!w.CrosshairPending);
    QVERIFY(w.WaitingForClick);
    QCOMPARE(f.Script.CursorMoves.back(), std::make_pair(corner.x() + 400, corner.y() + 300));

    PressMouse(w, {300, 200}, Qt::LeftButton, Qt::ControlModifier);
    QCOMPARE(requester.Shown, 1);
    QCOMPARE(requester.Picks, 1);
    Real x = 0, y = 0;
    w.ClientToDesign(300, 200, x, y);
    QCOMPARE(double(requester.Picked.X), double(x));
    QCOMPARE(double(requester.Picked.Y), double(y));
    QVERIFY(requester.Picked.Kind == ClickKind::Edge);
    QVERIFY(requester.Picked.Ctrl);
    QVERIFY(!requester.Picked.Shift);
    QVERIFY(!w.TakeClick(requester)); // handed out once
    QVERIFY(!w.WaitingForClick);
    QVERIFY(!w.StatusBar1->isVisible());
    QCOMPARE(w.CursorX, 300);
    QCOMPARE(w.CursorY, 200 + w.frameGeometry().height() - w.Client->height());

    // The next request puts the cursor back near this click.
    w.RequestClick(requester, ClickKind::Point, "");
    MoveMouse(w, {10, 10});
    QCOMPARE(f.Script.CursorMoves.back(), std::make_pair(corner.x() + w.CursorX, corner.y() + w.CursorY));
    PressMouse(w, {40, 50}, Qt::LeftButton, Qt::ShiftModifier);
    QCOMPARE(requester.Picks, 2);
    QVERIFY(requester.Picked.Kind == ClickKind::Point);
    QVERIFY(!requester.Picked.Ctrl);
    QVERIFY(requester.Picked.Shift);
}

void MainWindowTest::rightClickBringsRequesterBackWithoutPick() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    TestRequester requester(w);
    w.RequestClick(requester, ClickKind::Facet, "Click in facet");
    MoveMouse(w, {200, 100});
    PressMouse(w, {210, 110}, Qt::RightButton);
    QCOMPARE(requester.Shown, 1);
    QCOMPARE(requester.Picks, 0);
    QVERIFY(!w.WaitingForClick);
    QVERIFY(!w.TakeClick(requester));
}

void MainWindowTest::mousePressWhileIdleDoesNothing() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    TestRequester requester(w);
    PressMouse(w, {210, 110}, Qt::LeftButton);
    QCOMPARE(requester.Shown, 0);
    // A request without any mouse move yet: the press is not taken either.
    w.RequestClick(requester, ClickKind::Point, "");
    PressMouse(w, {210, 110}, Qt::LeftButton);
    QCOMPARE(requester.Shown, 0);
    QVERIFY(w.StatusBar1->isVisible());
}

namespace {
int NonWhitePixels(const QImage& image, QRect area) {
    int count = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) != qRgb(255, 255, 255)) ++count;
    return count;
}

// The numbers after "x:", "y:" and "r:" of the readout.
std::array<double, 3> ReadoutNumbers(const QString& text) {
    std::array<double, 3> values{};
    const char* names[] = {"x:", "y:", "r:"};
    for (int i = 0; i < 3; ++i) {
        const int at = text.indexOf(names[i]);
        values[static_cast<std::size_t>(i)] = text.mid(at + 2, 7).trimmed().toDouble();
    }
    return values;
}

// The client pixel of a model point (x, y) in the top view.
QPoint TopViewPixel(Tstartform& w, Real x, Real y) {
    const DevicePoint p = w.Sheet().TopView.ToDevice(y, x);
    return {p.x, p.y};
}
} // namespace

void MainWindowTest::sheetIsDrawnIntoTheClientArea() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    w.RepaintScreen(w.Design());
    const QImage& empty = w.Client->Surface->Image();
    QCOMPARE(empty.size(), w.Client->size());
    QCOMPARE(NonWhitePixels(empty, empty.rect()), 0); // a new design: an empty sheet

    LoadDesign(w, RoundBrilliantCrown());
    w.RepaintScreen(w.Design());
    const QImage& sheet = w.Client->Surface->Image();
    const QRect topView(w.Sheet().TopView.DevLeft, w.Sheet().TopView.DevTop,
                        w.Sheet().TopView.DevRight - w.Sheet().TopView.DevLeft,
                        w.Sheet().TopView.DevBottom - w.Sheet().TopView.DevTop);
    QVERIFY(NonWhitePixels(sheet, topView) > 500);
    QVERIFY(NonWhitePixels(sheet, QRect(sheet.width() / 2 + 10, 10, sheet.width() / 2 - 20, 60)) > 50);

    // The window shows that image.
    const QImage shown = w.Client->grab().toImage().convertToFormat(QImage::Format_RGB32);
    QCOMPARE(shown.pixel(topView.center()), sheet.pixel(topView.center()));
    QCOMPARE(NonWhitePixels(shown, topView), NonWhitePixels(sheet, topView));
}

void MainWindowTest::readoutShowsDesignPointAndIndex() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    LoadDesign(w, RoundBrilliantCrown());
    w.RepaintScreen(w.Design());
    TestRequester requester(w);
    w.RequestClick(requester, ClickKind::Edge, "Pick");
    MoveMouse(w, TopViewPixel(w, 30, 0));
    const QString text = w.StatusPanel->text();
    QVERIFY2(QRegularExpression(
                 "^Pick   x: [- \\d]{2}\\d\\.\\d\\d  y: [- \\d]{2}\\d\\.\\d\\d  r: [- \\d]{2}\\d\\.\\d\\d"
                 " Index: [ \\d]\\d\\.\\d     $")
                 .match(text)
                 .hasMatch(),
             qPrintable(text));
    auto [x, y, r] = ReadoutNumbers(text);
    QVERIFY(std::abs(x - 30) < 0.6);
    QVERIFY(std::abs(y) < 0.6);
    QVERIFY(std::abs(r - 30) < 0.6);
    const double index = text.mid(text.indexOf("Index:") + 6).trimmed().toDouble();
    QVERIFY2(index < 0.2 || index > 95.8, qPrintable(text)); // index 0 along +x

    MoveMouse(w, TopViewPixel(w, 0, -20)); // negative y: more than half a turn
    const double quarter = w.StatusPanel->text().mid(w.StatusPanel->text().indexOf("Index:") + 6).toDouble();
    QVERIFY2(std::abs(quarter - 72) < 0.3, qPrintable(w.StatusPanel->text()));

    MoveMouse(w, TopViewPixel(w, 0.5, 0.5)); // near the axis: no index
    QVERIFY(!w.StatusPanel->text().contains("Index"));
    QVERIFY(w.StatusPanel->text().endsWith(QString(45, ' ')));

    // Indices as shown: a clockwise system with an offset.
    w.Design().SystemIndex = -96;
    w.Design().OffsetIndex = 10;
    MoveMouse(w, TopViewPixel(w, 0, -20));
    const double shown = w.StatusPanel->text().mid(w.StatusPanel->text().indexOf("Index:") + 6).toDouble();
    QVERIFY2(std::abs(shown - 34) < 0.3, qPrintable(w.StatusPanel->text())); // 96 - 72 + 10
}

void MainWindowTest::crosshairIsDrawnAndErasedInXor() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    w.RepaintScreen(w.Design()); // an empty white sheet
    TestRequester requester(w);
    w.RequestClick(requester, ClickKind::Point, "");
    MoveMouse(w, {250, 120});
    const QImage& image = w.Client->Surface->Image();
    QVERIFY(image.pixel(5, 120) != qRgb(255, 255, 255));                  // the horizontal line
    QVERIFY(image.pixel(250, 5) != qRgb(255, 255, 255));                  // the vertical line
    QCOMPARE(image.pixel(250, image.height() - 10), qRgb(255, 255, 255)); // stops 30 pixels short
    MoveMouse(w, {300, 200});
    QCOMPARE(image.pixel(5, 120), qRgb(255, 255, 255)); // the old cross is erased
    QVERIFY(image.pixel(5, 200) != qRgb(255, 255, 255));
    QCOMPARE(NonWhitePixels(image, image.rect()), image.width() + image.height() - 30 - 1);
    PressMouse(w, {300, 200}, Qt::LeftButton);
    QCOMPARE(NonWhitePixels(w.Client->Surface->Image(), image.rect()), 0);
    QVERIFY(!w.ScreenCanvas().XorActive);
}

void MainWindowTest::rotationKeysTurnTheViewAndOtherKeysEndIt() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    LoadDesign(w, RoundBrilliantCrown());
    w.RefreshMenus();
    w.RepaintScreen(w.Design());
    w.Action("Rotate1")->trigger();
    QVERIFY(w.Rotating());
    const QImage start = w.Client->Surface->Image().copy();
    QVERIFY(NonWhitePixels(start, start.rect()) > 100);

    PressKey(w, Qt::Key_Left);
    PressKey(w, Qt::Key_Left);
    PressKey(w, Qt::Key_Up);
    QVERIFY(w.Rotating());
    QCOMPARE(double(w.Sheet().Rotation.C), 2.0);
    QCOMPARE(double(w.Sheet().Rotation.B), -1.0);
    QVERIFY(w.Client->Surface->Image() != start);
    QCOMPARE(VisibleTopLevel(w), QStringList());

    PressKey(w, Qt::Key_Q);
    QVERIFY(!w.Rotating());
    QCOMPARE(VisibleTopLevel(w),
             QStringList({"&File", "&Edit text", "&Add  or modify facets", "&View", "&Modify", "Mea&sure",
                          "&Options", "S&ymmetry", "&CAM preform", "A&bout"}));
    // The sheet is back: the top view is drawn again.
    const QRect topView(w.Sheet().TopView.DevLeft, w.Sheet().TopView.DevTop, 50, 50);
    QVERIFY(w.Client->Surface->Image().copy(topView) != start.copy(topView) ||
            NonWhitePixels(w.Client->Surface->Image(), w.Client->Surface->Image().rect()) > 1000);

    // Escape ends it as well; keys outside a rotation do nothing.
    w.Action("Rotate1")->trigger();
    PressKey(w, Qt::Key_Escape);
    QVERIFY(!w.Rotating());
    PressKey(w, Qt::Key_Left);
    QCOMPARE(double(w.Sheet().Rotation.C), 0.0);
}

void MainWindowTest::progressBarFollowsLongRecomputes() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    LoadDesign(w, DesignWithFacets(150));
    QVERIFY(w.Design().FacetCount > 100);
    w.ProgressBar1->setValue(0);
    w.Design().Recompute();
    QCOMPARE(w.ProgressBar1->maximum(), w.Design().FacetCount - 1);
    QVERIFY(w.ProgressBar1->value() > w.Design().FacetCount / 2); // stepped along
    QVERIFY(!w.ProgressBar1->isVisible());                        // and hidden at the end

    LoadDesign(w, RoundBrilliantCrown()); // short recomputes leave it alone
    w.ProgressBar1->setValue(0);
    w.Design().Recompute();
    QCOMPARE(w.ProgressBar1->value(), 0);
}

void MainWindowTest::resizeDrawareaTogglesScreenSize() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    w.RepaintScreen(w.Design());
    QCOMPARE(w.WindowSize().width(), w.width());
    Resizedrawarea1Click(w);
    QCOMPARE(w.size(), QSize(1024, 768));
    QCOMPARE(w.WindowSize().width(), w.width());
    Resizedrawarea1Click(w);
    QCOMPARE(w.size(), QSize(800, 600));
}

// An outline file saved from a round brilliant's girdle, and a window that knows it.
struct OutlineFixture {
    QTemporaryDir Dir;
    WindowFixture F;
    OutlineFixture() {
        LoadDesign(*F.Window, RoundBrilliantCrown());
        const std::string path = Dir.filePath("girdle.otl").toStdString();
        QVERIFY(F.Window->Design().SaveOutline(path));
        F.Window->Design().OffsetIndex = 0;
        F.Window->RefreshMenus();
    }
};

void MainWindowTest::newWithOutlinePresetsFromTheOutline() {
    WindowFixture plain;
    QVERIFY(!plain.Window->Action("Newwithoutline1")->isVisible()); // no outline file known

    OutlineFixture o;
    Tstartform& w = *o.F.Window;
    QVERIFY(w.Action("Newwithoutline1")->isVisible());
    QVERIFY(w.Action("ShowOutline1")->isVisible());
    // Escape leaves the dialog like Cancel: the design is not marked as started from the outline.
    WhileModal([&] { w.Action("Newwithoutline1")->trigger(); },
               [&](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    QVERIFY(!w.StartedFromOutline());
    QVERIFY(!w.Action("ShowOutline1")->isChecked());
    QVERIFY(w.Design().HasFacets());
    QStringList preset;
    WhileModal([&] { w.Action("Newwithoutline1")->trigger(); },
               [&](QDialog&) {
                   TForm6& form = DialogOf<TForm6>(w);
                   preset << form.Edit1->text() << form.Edit2->text() << form.Edit3->text()
                          << QString::number(form.RadioGroup1->ItemIndex())
                          << QString::number(form.RadioGroup2->ItemIndex());
                   QTest::mouseClick(form.button1, Qt::LeftButton);
               });
    QCOMPARE(preset, QStringList({"  96", " 8", "  0", "0", "0"}));
    QVERIFY(w.StartedFromOutline());
    QVERIFY(w.Action("ShowOutline1")->isChecked());
    QVERIFY(w.Design().HoldsOutline());
    QVERIFY(w.Design().OutlineFirstEdge < 1); // the outline's edges are there to draw and pick
    QCOMPARE(w.Design().FacetCount, 0);
    QCOMPARE(w.Design().Parts, 8);
    QVERIFY(w.Design().Mirror);
}

void MainWindowTest::showOutlineTogglesTheOutline() {
    OutlineFixture o;
    Tstartform& w = *o.F.Window;
    QVERIFY(!w.Action("ShowOutline1")->isChecked());
    w.Action("ShowOutline1")->trigger();
    QVERIFY(w.Action("ShowOutline1")->isChecked());
    QVERIFY(w.Design().HoldsOutline());
    QVERIFY(w.Design().OutlineFirstEdge < 1);
    w.Action("ShowOutline1")->trigger();
    QVERIFY(!w.Action("ShowOutline1")->isChecked());
    QVERIFY(!w.Design().HoldsOutline());
    QCOMPARE(w.Design().OutlineFirstEdge, 1);

    // An outline file that has gone: the error is shown and the option stays off.
    std::filesystem::remove(w.Design().OutlineFileName);
    w.Action("ShowOutline1")->trigger();
    QVERIFY(!w.Action("ShowOutline1")->isChecked());
    QCOMPARE(o.F.Script.Messages.size(), std::size_t{1});
    QCOMPARE(o.F.Script.Beeps, 1);
}

LAPIDRAW_UI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
