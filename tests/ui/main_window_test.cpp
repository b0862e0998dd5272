// The main window: captions, shortcuts and check marks of the menus, their visibility rules, the status
// bar and progress bar, and the click hand-off to a requesting dialog.
#include "app/reopen.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include "dialogs/radio_group.h"
#include "dialogs/unit6.h"

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
    const DevicePoint p = w.Sheet.TopView.ToDevice(y, x);
    return {p.x, p.y};
}
} // namespace

void MainWindowTest::sheetIsDrawnIntoTheClientArea() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    w.RepaintScreen(*w.Design);
    const QImage& empty = w.Client->Surface->Image();
    QCOMPARE(empty.size(), w.Client->size());
    QCOMPARE(NonWhitePixels(empty, empty.rect()), 0); // a new design: an empty sheet

    LoadDesign(w, RoundBrilliantCrown());
    w.RepaintScreen(*w.Design);
    const QImage& sheet = w.Client->Surface->Image();
    const QRect topView(w.Sheet.TopView.DevLeft, w.Sheet.TopView.DevTop,
                        w.Sheet.TopView.DevRight - w.Sheet.TopView.DevLeft,
                        w.Sheet.TopView.DevBottom - w.Sheet.TopView.DevTop);
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
    w.RepaintScreen(*w.Design);
    w.RequestClick("Pick");
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
    w.Design->SystemIndex = -96;
    w.Design->OffsetIndex = 10;
    MoveMouse(w, TopViewPixel(w, 0, -20));
    const double shown = w.StatusPanel->text().mid(w.StatusPanel->text().indexOf("Index:") + 6).toDouble();
    QVERIFY2(std::abs(shown - 34) < 0.3, qPrintable(w.StatusPanel->text())); // 96 - 72 + 10
}

void MainWindowTest::crosshairIsDrawnAndErasedInXor() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    w.RepaintScreen(*w.Design); // an empty white sheet
    TestRequester requester(w);
    w.ClickRequester = &requester;
    w.RequestClick("");
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
    QVERIFY(!w.ScreenCanvas.XorActive);
}

void MainWindowTest::rotationKeysTurnTheViewAndOtherKeysEndIt() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    LoadDesign(w, RoundBrilliantCrown());
    w.UpdateMenus(Tstartform::MenuMode::Normal, true);
    w.RepaintScreen(*w.Design);
    w.Rotate1->trigger();
    QVERIFY(w.RotationMode);
    const QImage start = w.Client->Surface->Image().copy();
    QVERIFY(NonWhitePixels(start, start.rect()) > 100);

    PressKey(w, Qt::Key_Left);
    PressKey(w, Qt::Key_Left);
    PressKey(w, Qt::Key_Up);
    QVERIFY(w.RotationMode);
    QCOMPARE(double(w.Sheet.Rotation.C), 2.0);
    QCOMPARE(double(w.Sheet.Rotation.B), -1.0);
    QVERIFY(w.Client->Surface->Image() != start);
    QCOMPARE(VisibleTopLevel(w), QStringList());

    PressKey(w, Qt::Key_Q);
    QVERIFY(!w.RotationMode);
    QCOMPARE(VisibleTopLevel(w),
             QStringList({"&File", "&Edit text", "&Add  or modify facets", "&View", "&Modify", "Mea&sure",
                          "&Options", "S&ymmetry", "&CAM preform", "A&bout"}));
    // The sheet is back: the top view is drawn again.
    const QRect topView(w.Sheet.TopView.DevLeft, w.Sheet.TopView.DevTop, 50, 50);
    QVERIFY(w.Client->Surface->Image().copy(topView) != start.copy(topView) ||
            NonWhitePixels(w.Client->Surface->Image(), w.Client->Surface->Image().rect()) > 1000);

    // Escape ends it as well; keys outside a rotation do nothing.
    w.Rotate1->trigger();
    PressKey(w, Qt::Key_Escape);
    QVERIFY(!w.RotationMode);
    PressKey(w, Qt::Key_Left);
    QCOMPARE(double(w.Sheet.Rotation.C), 0.0);
}

void MainWindowTest::progressBarFollowsLongRecomputes() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    LoadDesign(w, DesignWithFacets(150));
    QVERIFY(w.Design->FacetCount > 100);
    w.ProgressBar1->setValue(0);
    w.Design->Recompute();
    QCOMPARE(w.ProgressBar1->maximum(), w.Design->FacetCount - 1);
    QVERIFY(w.ProgressBar1->value() > w.Design->FacetCount / 2); // stepped along
    QVERIFY(!w.ProgressBar1->isVisible());                       // and hidden at the end

    LoadDesign(w, RoundBrilliantCrown()); // short recomputes leave it alone
    w.ProgressBar1->setValue(0);
    w.Design->Recompute();
    QCOMPARE(w.ProgressBar1->value(), 0);
}

void MainWindowTest::resizeDrawareaTogglesScreenSize() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    w.RepaintScreen(*w.Design);
    QCOMPARE(w.StoredWidth, w.width());
    w.Resizedrawarea1Click();
    QCOMPARE(w.size(), QSize(1024, 768));
    QCOMPARE(w.StoredWidth, w.width());
    w.Resizedrawarea1Click();
    QCOMPARE(w.size(), QSize(800, 600));
}

// An outline file saved from a round brilliant's girdle, and a window that knows it.
struct OutlineFixture {
    QTemporaryDir Dir;
    WindowFixture F;
    OutlineFixture() {
        LoadDesign(*F.Window, RoundBrilliantCrown());
        const std::string path = Dir.filePath("girdle.otl").toStdString();
        QVERIFY(F.Window->Design->SaveOutline(path));
        F.Window->Design->OffsetIndex = 0;
        F.Window->UpdateMenus(Tstartform::MenuMode::Normal, true);
    }
};

void MainWindowTest::newWithOutlinePresetsFromTheOutline() {
    WindowFixture plain;
    QVERIFY(!plain.Window->Newwithoutline1->isVisible()); // no outline file known

    OutlineFixture o;
    Tstartform& w = *o.F.Window;
    QVERIFY(w.Newwithoutline1->isVisible());
    QVERIFY(w.ShowOutline1->isVisible());
    // Escape leaves the dialog like Cancel: the design is not marked as started from the outline.
    WhileModal([&] { w.Newwithoutline1->trigger(); },
               [&](QDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); });
    QVERIFY(!w.OutlineDesign);
    QVERIFY(!w.ShowOutline1->isChecked());
    QVERIFY(w.Design->HasFacets());
    QStringList preset;
    WhileModal([&] { w.Newwithoutline1->trigger(); },
               [&](QDialog&) {
                   TForm6& form = *w.Form6;
                   preset << form.Edit1->text() << form.Edit2->text() << form.Edit3->text()
                          << QString::number(form.RadioGroup1->ItemIndex())
                          << QString::number(form.RadioGroup2->ItemIndex());
                   QTest::mouseClick(form.button1, Qt::LeftButton);
               });
    QCOMPARE(preset, QStringList({"  96", " 8", "  0", "0", "0"}));
    QVERIFY(w.OutlineDesign);
    QVERIFY(w.ShowOutline1->isChecked());
    QVERIFY(w.Design->OutlineShown);
    QVERIFY(w.Design->OutlineFirstEdge < 1); // the outline's edges are there to draw and pick
    QCOMPARE(w.Design->FacetCount, 0);
    QCOMPARE(w.Design->Parts, 8);
    QVERIFY(w.Design->Mirror);
}

void MainWindowTest::showOutlineTogglesTheOutline() {
    OutlineFixture o;
    Tstartform& w = *o.F.Window;
    QVERIFY(!w.ShowOutline1->isChecked());
    w.ShowOutline1->trigger();
    QVERIFY(w.ShowOutline1->isChecked());
    QVERIFY(w.Design->OutlineShown);
    QVERIFY(w.Design->OutlineFirstEdge < 1);
    w.ShowOutline1->trigger();
    QVERIFY(!w.ShowOutline1->isChecked());
    QVERIFY(!w.Design->OutlineShown);
    QCOMPARE(w.Design->OutlineFirstEdge, 1);

    // An outline file that has gone: the error is shown and the option stays off.
    std::filesystem::remove(w.Design->OutlineFileName);
    w.ShowOutline1->trigger();
    QVERIFY(!w.ShowOutline1->isChecked());
    QCOMPARE(o.F.Script.Messages.size(), std::size_t{1});
    QCOMPARE(o.F.Script.Beeps, 1);
}

LAPIDRAW_UI_TEST_MAIN(MainWindowTest)
#include "main_window_test.moc"
