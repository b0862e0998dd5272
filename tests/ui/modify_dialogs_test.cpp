// The dialogs that change the whole design, through the main window: their menu commands, the preview
// on the window's design, one undo step for OK, the snapshot read back for Cancel, and the clicks on
// the drawn stone.
#include "dialogs/add_facets_dialog.h"
#include "dialogs/culet_dialog.h"
#include "dialogs/new_symmetry_dialog.h"
#include "dialogs/radio_group.h"
#include "dialogs/resize_dialog.h"
#include "dialogs/rotate_dialog.h"
#include "dialogs/shift_dialog.h"
#include "dialogs/stretch_dialog.h"
#include "dialogs/table_dialog.h"
#include "tests/support/design_builders.h"
#include "tests/ui/add_facets_support.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <cmath>

namespace {
// Opens gem in the window as File > Open does, from a file written for it.
void OpenInWindow(Tstartform& w, TGem& gem, const QTemporaryDir& folder) {
    const std::string path = QDir(folder.path()).filePath("design.lfx").toStdString();
    QVERIFY(gem.WriteDesign(path, TGem::FileMode::Named, "design"));
    QVERIFY(w.OpenDesign(path));
}

void Click(UpDown* control, UpDown::Arrow arrow, int times = 1) {
    for (int k = 0; k < times; ++k)
        (arrow == UpDown::Arrow::Up ? control->UpButton : control->DownButton)->click();
}

std::string DesignText(const TGem& gem) {
    const std::string text = gem.DesignFileText();
    return text.substr(text.find('\n') + 1); // past the line with the time of writing
}

std::vector<Real> Dists(const TGem& gem) {
    std::vector<Real> dists;
    for (int i = -1; i <= gem.FacetCount; ++i)
        dists.push_back(gem.Dist(i));
    return dists;
}

// The menu command opens a dialog of type Form, in the bottom right corner of the (scripted 1024 x 768)
// screen, and does not ask it to start afresh.
template <class Form> void CheckOpens(Tstartform& w, const char* action) {
    w.Display().DialogReset = false;
    bool shown = false;
    QPoint corner;
    WhileModal([&] { w.Action(action)->trigger(); },
               [&](QDialog& dialog) {
                   shown = dynamic_cast<Form*>(&dialog) != nullptr;
                   corner = dialog.frameGeometry().bottomRight();
               });
    QVERIFY2(shown, action);
    QCOMPARE(corner, QPoint(1023, 767));
    QVERIFY2(!w.Display().DialogReset, action);
}

// Every plane constant is ratio times the one before.
bool ScaledBy(const std::vector<Real>& before, const std::vector<Real>& after, Real ratio) {
    for (std::size_t i = 0; i < before.size(); ++i)
        if (std::fabs(after[i] - ratio * before[i]) > 1e-9L * (1 + std::fabs(after[i]))) return false;
    return before.size() == after.size();
}
} // namespace

class ModifyDialogsWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void commandsOpenTheirDialogsAtTheBottomRight();
    void tableStepRefusedAt505AndOkIsOneUndoStep();
    void clickedPointBelowTheGirdleGivesTableHeight1();
    void resizeStepsAndCancelRestoreTheFile();
    void rotateMinus100TurnsClockwiseBy92();
    void newSymmetryGoesToTheNextGroup();
    void shiftKeepsGirdlePlaneAndGirdleFacets();
};

void ModifyDialogsWindowTest::commandsOpenTheirDialogsAtTheBottomRight() {
    QTemporaryDir folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenInWindow(w, *RoundBrilliantCrown(), folder);
    CheckOpens<TForm8>(w, "Changetable1");
    CheckOpens<TForm13>(w, "Changebaseplane1");
    CheckOpens<TForm11>(w, "Scale1");
    CheckOpens<TForm12>(w, "Stretch1");
    CheckOpens<TForm22>(w, "Rotate3");
    CheckOpens<TForm3>(w, "Symmetry2");
    OpenInWindow(w, *RoundBrilliantPavilion(), folder);
    CheckOpens<TForm2>(w, "Makeculetfacet1");
}

void ModifyDialogsWindowTest::tableStepRefusedAt505AndOkIsOneUndoStep() {
    QTemporaryDir folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    auto gem = RoundBrilliantCrown();
    gem->SetBoundingPlane(5.05L);
    OpenInWindow(w, *gem, folder);
    const int step = w.Changes().History().Current();
    InDialog<TForm8>(w, "Changetable1", [&](TForm8& form) {
        QCOMPARE(form.Edit1->text(), QString("  5.05"));
        Click(form.UpDown1, UpDown::Arrow::Down);
        QCOMPARE(form.Edit1->text(), QString("  5.05"));
        QCOMPARE(w.Design().Dist(-1), Real(-5.05L));
        Click(form.UpDown2, UpDown::Arrow::Up, 3);
        Click(form.UpDown1, UpDown::Arrow::Down);
        QCOMPARE(form.Edit1->text(), QString("  7.95"));
        form.BitBtn1->click();
    });
    QVERIFY(std::fabs(w.Design().Dist(-1) + 7.95L) < 1e-6L);
    QCOMPARE(w.Changes().History().Current(), step + 1);
    w.Action("Undo2")->trigger();
    QVERIFY(std::fabs(w.Design().Dist(-1) + 5.05L) < 1e-6L);
}

void ModifyDialogsWindowTest::clickedPointBelowTheGirdleGivesTableHeight1() {
    // A crown has no corner below the girdle: a prism pavilion, 3 deep, has one under every corner.
    QTemporaryDir folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    auto gem = NewGem('p', 8, 96, false);
    CutByAngle(*gem, 90, 0, 40);
    CutHorizontal(*gem, -3);
    OpenInWindow(w, *gem, folder);
    WhileModal([&] { Changetable1Click(w); },
               [](QDialog& dialog) { static_cast<TForm8&>(dialog).Button1->click(); });
    QVERIFY(AwaitsClick(w, ClickKind::Point));
    const QPoint corner = SheetPixel(w, 40, 40 * std::tan(TwoPi / 16));
    MoveMouse(w, corner);
    WhileModal([&] { PressMouse(w, corner, Qt::LeftButton, Qt::ShiftModifier); }, // Shift: not at z = 0
               [](QDialog& dialog) {
                   auto& form = static_cast<TForm8&>(dialog);
                   QCOMPARE(form.Edit1->text(), QString("  1.00"));
                   QVERIFY(std::fabs(form.PickedPoint.z + 3) < 1e-9L);
                   form.BitBtn1->click();
               });
    QCOMPARE(w.Design().Dist(-1), Real(-1));
    QVERIFY(!ClickOutstanding(w));
}

void ModifyDialogsWindowTest::resizeStepsAndCancelRestoreTheFile() {
    QTemporaryDir folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenInWindow(w, *RoundBrilliantCrown(), folder);
    const std::string before = DesignText(w.Design());
    const int step = w.Changes().History().Current();
    InDialog<TForm11>(w, "Scale1", [&](TForm11& form) {
        const Real ratios[] = {1.1L, 1.2L / 1.1L, 1.1L / 1.2L};
        const UpDown::Arrow arrows[] = {UpDown::Arrow::Up, UpDown::Arrow::Up, UpDown::Arrow::Down};
        for (int k = 0; k < 3; ++k) {
            const std::vector<Real> previous = Dists(w.Design());
            Click(form.UpDown2, arrows[k]);
            QVERIFY2(ScaledBy(previous, Dists(w.Design()), ratios[k]), qPrintable(QString::number(k)));
        }
        QCOMPARE(form.Edit1->text(), QString("  1.10"));
        form.BitBtn2->click();
    });
    QCOMPARE(DesignText(w.Design()), before);
    QCOMPARE(w.Changes().History().Current(), step);

    // From 0.10 the coarse down arrow stays at 0.10.
    InDialog<TForm11>(w, "Scale1", [&](TForm11& form) {
        QCOMPARE(form.Edit1->text(), QString("  1.00"));
        Click(form.UpDown2, UpDown::Arrow::Down, 9);
        QCOMPARE(form.Edit1->text(), QString("  0.10"));
        const std::vector<Real> previous = Dists(w.Design());
        Click(form.UpDown2, UpDown::Arrow::Down);
        QCOMPARE(form.Edit1->text(), QString("  0.10"));
        QVERIFY(ScaledBy(previous, Dists(w.Design()), 1));
        QTest::keyClick(&form, Qt::Key_Escape);
    });
    QCOMPARE(DesignText(w.Design()), before);
}

void ModifyDialogsWindowTest::rotateMinus100TurnsClockwiseBy92() {
    QTemporaryDir folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenInWindow(w, *RoundBrilliantCrown(), folder);
    std::vector<Real> indices;
    for (int i = 1; i <= w.Design().FacetCount; ++i)
        indices.push_back(w.Design().Index(i));
    const int step = w.Changes().History().Current();
    InDialog<TForm22>(w, "Rotate3", [](TForm22& form) {
        QCOMPARE(form.Edit1->text(), QString(" 24"));
        form.Edit1->setText("-100");
        form.Button1->click();
        form.BitBtn1->click();
    });
    for (int i = 1; i <= w.Design().FacetCount; ++i) {
        const Real expected = w.Design().Wrap(indices[static_cast<std::size_t>(i - 1)] - 92);
        QVERIFY2(std::fabs(w.Design().Index(i) - expected) < 1e-3L, qPrintable(QString::number(i)));
    }
    QCOMPARE(w.Changes().History().Current(), step + 1);
}

void ModifyDialogsWindowTest::newSymmetryGoesToTheNextGroup() {
    QTemporaryDir folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenInWindow(w, *RoundBrilliantCrown(), folder);
    const int step = w.Changes().History().Current();
    const int facets = w.Design().FacetCount;
    InDialog<TForm3>(w, "Symmetry2", [&](TForm3& form) {
        form.Edit2->setText("5");
        form.BitBtn1->click();
        QCOMPARE(f.Script.Texts().back(), std::string("system index must be a multiple of parts"));
        QVERIFY(form.isVisible());
        form.Edit2->setText("12");
        form.RadioGroup1->Item(1)->click();
        form.BitBtn1->click();
        QVERIFY(!form.isVisible());
    });
    QCOMPARE(w.Design().Parts, 12);
    QCOMPARE(w.Changes().History().Current(), step);
    QCOMPARE(w.Design().FacetCount, facets);

    WhileModal([&] { w.Action("Generalfacet1")->trigger(); },
               [](QDialog& dialog) {
                   auto& form = static_cast<TForm14&>(dialog);
                   form.RadioGroup1->Item(3)->click(); // depth, angle and index
                   form.Edit15->setText("30");
                   form.Edit16->setText("1");
                   form.Edit11->setText("45");
                   form.Button5->click();
                   QVERIFY(!form.BitBtn1->isHidden());
                   form.BitBtn1->click();
               });
    QCOMPARE(w.Design().FacetCount, facets + 12);
    QCOMPARE(w.Design().GroupParts(facets + 1), 12);
}

void ModifyDialogsWindowTest::shiftKeepsGirdlePlaneAndGirdleFacets() {
    QTemporaryDir folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenInWindow(w, *RoundBrilliantCrown(), folder);
    const std::vector<Real> before = Dists(w.Design());
    InDialog<TForm13>(w, "Changebaseplane1", [](TForm13& form) {
        Click(form.UpDown2, UpDown::Arrow::Up);   // +5
        Click(form.UpDown1, UpDown::Arrow::Down); // -1
        form.BitBtn1->click();
    });
    const TGem& gem = w.Design();
    QCOMPARE(gem.Dist(0), before[1]); // the girdle plane, through the origin
    for (int i = 1; i <= gem.FacetCount; ++i) {
        const Real nz = gem.NormalZ(i);
        const Real moved = std::fabs(nz) > 0.01L ? 4 * nz : 0;
        // Read back from the snapshot: six decimals.
        QVERIFY2(std::fabs(gem.Dist(i) - before[static_cast<std::size_t>(i + 1)] - moved) < 1e-5L,
                 qPrintable(QString::number(i)));
    }
    QVERIFY(std::fabs(gem.Dist(-1) - before[0] + 4) < 1e-5L); // the table rises by 4
}

LAPIDRAW_UI_TEST_MAIN(ModifyDialogsWindowTest)
#include "modify_dialogs_test.moc"
