// The seam between the window and its commands: the menu rules, the one change runner, the desktop's
// undo key, and the program's command line.
#include "app/menu_binding.h"
#include "app/menu_table.h"
#include "dialogs/about_dialog.h"
#include "dialogs/add_facets_dialog.h"
#include "dialogs/radio_group.h"
#include "gem/range_error.h"
#include "tests/support/design_builders.h"
#include "tests/support/engine_probe.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QRadioButton>

#include <functional>
#include <map>

Q_DECLARE_METATYPE(MenuState)

namespace {
QStringList VisibleTopLevel(const MenuState& state) {
    QStringList shown;
    for (const MenuRow& row : MenuRows())
        if (!row.Parent && Visible(row, state)) shown << row.ObjectName;
    return shown;
}

MenuState DesignState(bool cut) {
    MenuState state;
    state.CutFacets = cut;
    state.Crown = true;
    state.GirdleFacet = cut;
    return state;
}

// A crown whose facet table has fewer free slots than an 8-part group needs (nothing recomputed).
void FillFacetTable(TGem& design) {
    CutByAngle(design, 90, 0, 50);
    design.Recompute();
    for (int k = 9; k <= MaxFacets - 4; ++k) {
        design.Facets[k] = design.Facets[1 + (k - 1) % 8];
        design.Facets[k].Dist = -50 - (k % 400) * 0.05L;
        design.Facets[k].CornerCount = 0;
    }
    design.FacetCount = MaxFacets - 4;
}

struct History {
    std::string Text;
    int Current, Top;
    bool operator==(const History&) const = default;
};
History HistoryOf(Tstartform& w) {
    const UndoHistory& steps = w.Changes().History();
    return {DesignTextWithoutStamp(w.Design()), steps.Current(), steps.Top()};
}
} // namespace

class SeamTest : public QObject {
    Q_OBJECT

  private slots:
    void menuRules_data();
    void menuRules();
    void everyMenuRowIsBoundToItsCommand();
    void rangeErrorInACutLeavesDesignAndHistory();
    void rangeErrorInAWholeDesignCommandLeavesDesignAndHistory();
    void desktopUndoKeyUndoesACut();
    void helpAndVersionAnswerWithoutAWindow();
    void missingCommandLineDesignIsNamedPlainly();
};

void SeamTest::menuRules_data() {
    QTest::addColumn<MenuState>("state");
    QTest::addColumn<QStringList>("topLevel");
    QTest::addColumn<QStringList>("shownItems");
    QTest::addColumn<QStringList>("hiddenItems");

    MenuState start;
    start.Initial = true;
    QTest::newRow("no design") << start << QStringList{"File1", "About1"}
                               << QStringList{"New1", "Open1", "Importcrown1", "Exit1"}
                               << QStringList{"Save1", "SaveAs1", "Print1", "Newwithoutline1", "N1"};
    MenuState outline = start;
    outline.OutlineFile = true;
    QTest::newRow("no design, outline file") << outline << QStringList{"File1", "About1"}
                                             << QStringList{"Newwithoutline1"} << QStringList{"ShowOutline1"};
    QTest::newRow("new crown") << DesignState(false)
                               << QStringList{"File1", "Generalfacet1", "Options1", "Symmetry2", "About1"}
                               << QStringList{"New1", "Showcutoff1"}
                               << QStringList{"Save1", "SaveAs1", "Makeascfile1", "Showindices1", "Scale1"};
    MenuState cut = DesignState(true);
    cut.CanUndo = true;
    QTest::newRow("cut facets") << cut << QStringList{"File1",     "Edittext1",   "Generalfacet1", "View1",
                                                      "Modify1",   "Undo2",       "Measure1",      "Options1",
                                                      "Symmetry2", "campreform1", "About1"}
                                << QStringList{"Save1",        "SaveAs1",          "Print1",
                                               "Changetable1", "Changebaseplane1", "Scale1",
                                               "Showindices1", "campreform2"}
                                << QStringList{"Makeculetfacet1", "Redo1", "campreform5", "Changetier1"};
    // Shift design moves the stone along its girdle facets: without one it is not offered.
    MenuState noGirdle = cut;
    noGirdle.GirdleFacet = false;
    QTest::newRow("cut facets, no girdle facet")
        << noGirdle
        << QStringList{"File1",    "Edittext1", "Generalfacet1", "View1",       "Modify1", "Undo2",
                       "Measure1", "Options1",  "Symmetry2",     "campreform1", "About1"}
        << QStringList{"Changetable1", "Scale1"} << QStringList{"Changebaseplane1"};
    MenuState pavilion = cut;
    pavilion.Crown = false;
    pavilion.CanRedo = true;
    QTest::newRow("pavilion") << pavilion << QStringList{"File1",    "Edittext1", "Generalfacet1", "View1",
                                                         "Modify1",  "Undo2",     "Redo1",         "Measure1",
                                                         "Options1", "Symmetry2", "campreform1",   "About1"}
                              << QStringList{"Makeculetfacet1"} << QStringList{"Changetable1"};
    MenuState rotating = cut;
    rotating.Rotating = true;
    QTest::newRow("free rotation") << rotating << QStringList{} << QStringList{}
                                   << QStringList{"Save1", "Makepicture1", "Scale1"};
    MenuState modifying = cut;
    modifying.Modifying = true;
    QTest::newRow("facet group being modified")
        << modifying << QStringList{"Generalfacet1", "Options1", "campreform1"}
        << QStringList{"Save1", "Scale1"} << QStringList{"SaveAs1", "Rotate1", "Removelastfacets1"};
    MenuState preform = cut;
    preform.PreformShown = true;
    QTest::newRow("preform shown") << preform << QStringList{"campreform1"}
                                   << QStringList{"campreform3", "campreform4", "camlist", "campreform5"}
                                   << QStringList{"campreform2"};
}

void SeamTest::menuRules() {
    QFETCH(MenuState, state);
    QFETCH(QStringList, topLevel);
    QFETCH(QStringList, shownItems);
    QFETCH(QStringList, hiddenItems);
    QCOMPARE(VisibleTopLevel(state), topLevel);
    for (const QString& name : shownItems)
        QVERIFY2(Visible(*FindMenuRow(qPrintable(name)), state), qPrintable(name));
    for (const QString& name : hiddenItems)
        QVERIFY2(!Visible(*FindMenuRow(qPrintable(name)), state), qPrintable(name));
}

// The menus as built, container by container: the menu bar (nullptr) or a menu's object name, and the
// object names of its actions in order. The recent-files slots are the list's, not the table's.
std::map<QString, QStringList> BuiltMenus(Tstartform& w) {
    std::map<QString, QStringList> built;
    std::function<void(const QString&, const QList<QAction*>&)> walk = [&](const QString& container,
                                                                           const QList<QAction*>& actions) {
        for (QAction* action : actions) {
            if (container == "Reopen1") continue;
            built[container] << action->objectName();
            if (QMenu* menu = action->menu()) walk(menu->objectName(), menu->actions());
        }
    };
    walk(QString(), w.menuBar()->actions());
    return built;
}

void SeamTest::everyMenuRowIsBoundToItsCommand() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    std::map<QString, QStringList> table;
    for (const MenuRow& row : MenuRows())
        table[row.Parent ? QString(row.Parent) : QString()] << row.ObjectName;
    QCOMPARE(BuiltMenus(w), table);

    for (const MenuRow& row : MenuRows()) {
        QAction* action = w.findChild<QAction*>(row.ObjectName);
        if (!action && row.Kind != MenuKind::Item && row.Kind != MenuKind::Separator)
            action = w.findChild<QMenu*>(row.ObjectName)->menuAction();
        QVERIFY2(action, row.ObjectName);
        QCOMPARE(action->text(), QString(row.Caption));
        // Undo and Redo answer to the desktop's keys besides (the window test checks them).
        if (row.Run != &Undo2Click && row.Run != &Redo1Click)
            QCOMPARE(action->shortcut(), QKeySequence(row.Shortcut));
        QCOMPARE(action->isCheckable(), row.Checkable);
        QCOMPARE(action->isChecked(), row.Checked);
        QVERIFY2(BoundCommand(*action) == row.Run, row.ObjectName);
    }
    // Triggering runs the bound command: the option follows its check mark.
    w.Action("Showindices1")->trigger();
    QVERIFY(w.Display().ShowIndices);
    w.Action("Showindices1")->trigger();
    QVERIFY(!w.Display().ShowIndices);
}

void SeamTest::rangeErrorInACutLeavesDesignAndHistory() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    FillFacetTable(w.Design());
    QVERIFY(w.Changes().RecordStep());
    const History before = HistoryOf(w);
    TForm14& form = DialogOf<TForm14>(w);
    w.Display().DialogReset = true;
    form.show();
    form.RadioGroup1->Item(3)->click();
    form.Edit15->setText("40");
    form.Edit16->setText("0");
    form.Edit11->setText("40");
    form.Button5->click();
    form.BitBtn1->click();
    QCOMPARE(f.Script.Texts().size(), std::size_t(1));
    QVERIFY(HistoryOf(w) == before);
    QVERIFY(form.isVisible());
}

void SeamTest::rangeErrorInAWholeDesignCommandLeavesDesignAndHistory() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    // More tiers than the tier table holds: the recompute after rounding the indices overflows it.
    TGem& design = w.Design();
    design.NewDesign('c', 1, 96, false, 0, true);
    for (int k = 1; k <= MaxTiers + 10; ++k) {
        Plane plane;
        QVERIFY(Made(design.PlaneFromAngleIndexDist(20 + k * 0.1L, k % 96 + 0.3L, 40), plane));
        EngineProbe::PlaceFacetGroup(design, design.FacetCount + 1, plane); // the planes alone
    }
    QVERIFY(w.Changes().RecordStep());
    const History before = HistoryOf(w);
    w.Action("RoundIndices1")->trigger();
    QCOMPARE(f.Script.Texts().size(), std::size_t(1));
    QVERIFY2(QString::fromStdString(f.Script.Texts()[0]).contains("Tiers"), f.Script.Texts()[0].c_str());
    QVERIFY(HistoryOf(w) == before);
    // Any other exception the model raises is caught the same way.
    QVERIFY(!w.Apply([](TGem& gem) -> bool {
        gem.FacetCount = 0;
        ThrowRangeError("Facets", -3, -2, MaxFacets);
    }));
    QVERIFY(HistoryOf(w) == before);
}

void SeamTest::desktopUndoKeyUndoesACut() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(w.Changes().RecordStep());
    QVERIFY(w.Apply([](TGem& gem) { return CutByAngle(gem, 90, 0, 50); }));
    QCOMPARE(w.Design().FacetCount, 8);
    QTest::keyClick(&w, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(w.Design().FacetCount, 0);
    QTest::keyClick(&w, Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w.Design().FacetCount, 8);
}

namespace {
// Runs the program as a shell would, with no display of any kind.
QProcess& RunProgram(QProcess& process, const QStringList& arguments) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("DISPLAY");
    environment.remove("WAYLAND_DISPLAY");
    environment.remove("QT_QPA_PLATFORM");
    process.setProcessEnvironment(environment);
    process.start(LAPIDRAW_PROGRAM, arguments);
    process.waitForFinished(20000);
    return process;
}
} // namespace

void SeamTest::helpAndVersionAnswerWithoutAWindow() {
    QProcess help;
    RunProgram(help, {"--help"});
    QCOMPARE(help.exitCode(), 0);
    QVERIFY(help.readAllStandardOutput().startsWith("Usage: lapidraw"));
    QProcess version;
    RunProgram(version, {"--version"});
    QCOMPARE(version.exitCode(), 0);
    // The same words as the about box.
    QCOMPARE(version.readAllStandardOutput(), QByteArray::fromStdString(ProgramVersionText() + "\n"));
    QProcess unknown;
    RunProgram(unknown, {"--frobnicate"});
    QCOMPARE(unknown.exitCode(), 1);
    QVERIFY(unknown.readAllStandardError().contains("unknown option --frobnicate"));
}

void SeamTest::missingCommandLineDesignIsNamedPlainly() {
    WindowFixture f("/nowhere/missing.lfx");
    f.Window->FormActivate();
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{" File: /nowhere/missing.lfx does not exist"});
    QVERIFY(!f.Window->windowTitle().contains("missing"));
    QVERIFY(f.Window->DesignFile().empty());
}

LAPIDRAW_UI_TEST_MAIN(SeamTest)
#include "seam_test.moc"
