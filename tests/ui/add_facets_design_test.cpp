// A whole design made through the main window as a user makes it: menus, typing, clicks on the drawn
// stone, cut after cut, undo and redo, a facet group modified, and the design saved and read back.
#include "dialogs/add_facets_dialog.h"
#include "dialogs/new_design_dialog.h"
#include "dialogs/radio_group.h"
#include "gem/numtext.h"
#include "tests/support/design_builders.h"
#include "tests/ui/add_facets_support.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>

namespace {
// Replaces the field's text by typing, as a user does.
void TypeInto(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClicks(edit, text);
}

// Opens "Add facets" from its menu command and works in it while it is shown.
void InAddFacets(Tstartform& window, const std::function<void(TForm14&)>& work) {
    WhileModal([&] { window.Action("Generalfacet1")->trigger(); },
               [&](QDialog& dialog) { work(static_cast<TForm14&>(dialog)); });
}

// Moves the mouse onto the sheet and presses there, while work runs in the dialog that comes back.
void ClickOnSheet(Tstartform& window, Real x, Real y, Qt::MouseButton button, Qt::KeyboardModifiers keys,
                  const std::function<void(TForm14&)>& work) {
    const QPoint at = SheetPixel(window, x, y);
    MoveMouse(window, at);
    WhileModal([&] { PressMouse(window, at, button, keys); },
               [&](QDialog& dialog) { work(static_cast<TForm14&>(dialog)); });
}

void ComputeAndCut(TForm14& form) {
    form.Button5->click();
    QVERIFY(!form.BitBtn1->isHidden());
    form.BitBtn1->click();
}
} // namespace

class AddFacetsDesignTest : public QObject {
    Q_OBJECT

  private slots:
    void wholeDesignThroughTheWindow();
    void rightClickLeavesFieldsUnchanged();
    void clickInFacetShowsItsData();
    void modifyClickBesideStoneOrOnTableIsIgnored();
    void pickedPointsAreMarked();
    void reopenedBeforeTheClickWaitsForIt();
};

void AddFacetsDesignTest::wholeDesignThroughTheWindow() {
    QTemporaryDir folder;
    AddFacetsFixture f;
    Tstartform& w = *f.Window;

    // File > New: an 8-fold mirrored crown (the dialog's preset).
    WhileModal([&] { w.Action("New1")->trigger(); },
               [](QDialog& dialog) {
                   auto& form = static_cast<TForm6&>(dialog);
                   QCOMPARE(form.RadioGroup1->ItemIndex(), 0);
                   form.button1->click();
               });
    QVERIFY(f.Design().Mirror);
    QCOMPARE(f.Design().Parts, 8);
    QVERIFY(w.Action("Generalfacet1")->isVisible());

    // The girdle: depth, angle and index.
    InAddFacets(w, [](TForm14& form) {
        form.RadioGroup1->Item(3)->click();
        TypeInto(form.Edit15, "90");
        TypeInto(form.Edit16, "0");
        TypeInto(form.Edit11, "50");
        ComputeAndCut(form);
    });
    QCOMPARE(f.Design().FacetCount, 8);
    const QString title1 = w.windowTitle();
    QVERIFY2(title1.endsWith(" (changed:  1)"), qPrintable(title1));

    // The crown mains through a point of the girdle edge at index 0, taken from the drawing.
    InAddFacets(w, [](TForm14& form) {
        QCOMPARE(form.RadioGroup1->ItemIndex(), 0);
        QVERIFY(!form.EdgeButtons[0]->isHidden());
        form.EdgeButtons[0]->click();
    });
    QVERIFY(AwaitsClick(w, ClickKind::Edge));
    ClickOnSheet(w, 50, 6, Qt::LeftButton, Qt::ControlModifier, [](TForm14& form) {
        QCOMPARE(form.Edit1->text(), QString("  50.00"));
        QVERIFY(std::fabs(form.Edit4->text().toDouble() - 6) < 1.5);
        QCOMPARE(form.Edit7->text(), QString("   0.00"));
        TypeInto(form.Edit15, "40");
        TypeInto(form.Edit16, "0");
        ComputeAndCut(form);
    });
    QVERIFY(!ClickOutstanding(w));
    QCOMPARE(f.Design().FacetCount, 16);
    QVERIFY(std::fabs(f.Design().FacetAngle(9) - 40) < FileRounding);
    // The mains meet the girdle edge: the corner (50, y, 0) stays on the stone.
    QVERIFY(std::fabs(f.Design().Dist(9) + 50 * std::sin(40 * RadPerDeg)) < FileRounding);

    // The table by angle 0.
    InAddFacets(w, [](TForm14& form) {
        form.RadioGroup1->Item(3)->click();
        TypeInto(form.Edit15, "0");
        TypeInto(form.Edit16, "0");
        TypeInto(form.Edit11, "15");
        ComputeAndCut(form);
    });
    QCOMPARE(f.Design().FacetCount, 16);
    QCOMPARE(f.Design().Dist(-1), Real(-15));
    QVERIFY2(w.windowTitle().endsWith(" (changed:  3)"), qPrintable(w.windowTitle()));

    // Undo and redo step back and forth, one cut at a time.
    w.Action("Undo2")->trigger();
    QCOMPARE(f.Design().Dist(-1), Real(-24));
    QVERIFY(w.windowTitle().endsWith(" (changed:  2)"));
    w.Action("Undo2")->trigger();
    QCOMPARE(f.Design().FacetCount, 8);
    w.Action("Redo1")->trigger();
    w.Action("Redo1")->trigger();
    QCOMPARE(f.Design().FacetCount, 16);
    QCOMPARE(f.Design().Dist(-1), Real(-15));
    QVERIFY(w.windowTitle().endsWith(" (changed:  3)"));

    // Modify the mains: click in one of them with "Modify facets", new angle, compute, cut.
    InAddFacets(w, [](TForm14& form) {
        form.RadioGroup2->Item(1)->click();
        QCOMPARE(form.RadioGroup3->ItemIndex(), 0);
        form.Button4->click();
    });
    ClickOnSheet(w, 42, 0, Qt::LeftButton, Qt::NoModifier, [&](TForm14& form) {
        QVERIFY(f.Design().ModifyMode());
        QCOMPARE(f.Design().ReplacedGroup(), 9);
        QCOMPARE(form.Edit10->text(), QString("   9"));
        QCOMPARE(form.Edit15->text(), QString("40.00"));
        QVERIFY(form.Button4->isHidden());
        QCOMPARE(form.focusWidget(), form.Edit15);
        QCOMPARE(form.RadioGroup1->ItemIndex(), 0);
        TypeInto(form.Edit15, "35");
        ComputeAndCut(form);
    });
    QVERIFY(!f.Design().ModifyMode());
    QCOMPARE(f.Design().FacetCount, 16);
    for (int k = 9; k <= 16; ++k)
        QVERIFY(std::fabs(f.Design().FacetAngle(k) - 35) < FileRounding);
    QVERIFY(w.windowTitle().endsWith(" (changed:  4)"));

    // Save as, then open: the same facets.
    const std::string path = QDir(folder.path()).filePath("mains.lfx").toStdString();
    f.Script.FileAnswers.push_back(path);
    w.Action("SaveAs1")->trigger();
    QVERIFY(f.Script.Texts().empty());
    // A design saved for the first time gets the mark of its type: "c" for a crown.
    const std::string savedPath = w.DesignFile();
    const std::string saved = DesignTextWithoutStamp(f.Design());
    QCOMPARE(QString::fromStdString(savedPath), QDir(folder.path()).filePath("mainsc.lfx"));
    WhileModal([&] { w.Action("New1")->trigger(); },
               [](QDialog& dialog) { static_cast<TForm6&>(dialog).button1->click(); });
    QCOMPARE(f.Design().FacetCount, 0);
    f.Script.FileAnswers.push_back(savedPath);
    w.Action("Open1")->trigger();
    QVERIFY(f.Script.Texts().empty());
    QCOMPARE(f.Design().FacetCount, 16);
    QCOMPARE(f.Design().Dist(-1), Real(-15));
    for (int k = 1; k <= 16; ++k) {
        QVERIFY(std::fabs(f.Design().FacetAngle(k) - (k >= 9 ? 35 : 90)) < FileRounding);
        QVERIFY(std::fabs(f.Design().Index(k) - (k - 1) % 8 * 12) < FileRounding);
    }
    QCOMPARE(DesignTextWithoutStamp(f.Design()), saved);
}

void AddFacetsDesignTest::rightClickLeavesFieldsUnchanged() {
    AddFacetsFixture f;
    Tstartform& w = *f.Window;
    CutByAngle(f.Design(), 90, 0, 50);
    f.Design().Recompute();
    w.RefreshMenus();
    InAddFacets(w, [](TForm14& form) {
        TypeInto(form.Edit1, "1.5");
        form.EdgeButtons[0]->click();
    });
    ClickOnSheet(w, 50, 0, Qt::RightButton, Qt::NoModifier, [&](TForm14& form) {
        QCOMPARE(form.Edit1->text(), QString("1.5"));
        QCOMPARE(form.Edit4->text(), QString("0.0"));
        QCOMPARE(form.Edit7->text(), QString("0.0"));
        QVERIFY(!f.Window->Display().Markers.Shown(1));
        form.Button7->click();
    });
    QVERIFY(!f.Form.isVisible());
}

void AddFacetsDesignTest::clickInFacetShowsItsData() {
    AddFacetsFixture f;
    Tstartform& w = *f.Window;
    CutByAngle(f.Design(), 90, 0, 50);
    CutByAngle(f.Design(), 40, 3, 38);
    CutHorizontal(f.Design(), 14);
    f.Design().Recompute();
    InAddFacets(w, [](TForm14& form) { form.Button4->click(); });
    QCOMPARE(w.Display().SelectedFacet, NoneFound);
    QVERIFY(AwaitsClick(w, ClickKind::Facet));
    // At index 3, 47 units out, below the table: the group's first facet.
    const Real phi = TwoPi * 3 / 96;
    ClickOnSheet(w, 47 * std::cos(phi), 47 * std::sin(phi), Qt::LeftButton, Qt::NoModifier,
                 [&](TForm14& form) {
                     QCOMPARE(w.Display().SelectedFacet, 9);
                     QVERIFY(w.Display().FacetSelected);
                     QCOMPARE(form.Edit15->text(), QString("40.00"));
                     QCOMPARE(form.Edit16->text(), QString("    3"));
                     QCOMPARE(form.Edit11->text(), QString(" 38.00"));
                     QCOMPARE(form.Edit12->text().toStdString(), fixed(38 / std::cos(40 * RadPerDeg), 7, 2));
                     QVERIFY(!f.Design().ModifyMode());
                     QVERIFY(form.BitBtn1->isHidden());
                     form.Button7->click();
                 });
}

void AddFacetsDesignTest::modifyClickBesideStoneOrOnTableIsIgnored() {
    AddFacetsFixture f;
    Tstartform& w = *f.Window;
    CutByAngle(f.Design(), 90, 0, 50);
    CutByAngle(f.Design(), 40, 0, 45);
    CutHorizontal(f.Design(), 14);
    f.Design().Recompute();
    for (const Vector3& spot : {Vector3{0, 0, 0}, Vector3{80, 80, 0}}) {
        InAddFacets(w, [](TForm14& form) {
            form.RadioGroup2->Item(1)->click();
            form.Button4->click();
        });
        ClickOnSheet(w, spot.x, spot.y, Qt::LeftButton, Qt::NoModifier, [&](TForm14& form) {
            QVERIFY(!f.Design().ModifyMode());
            QVERIFY(!form.Button4->isHidden());
            QVERIFY(form.RadioGroup2->isEnabled());
            QCOMPARE(form.Edit10->text(), QString("  17"));
            form.Button7->click();
        });
    }
    QCOMPARE(f.Design().FacetCount, 16);
}

void AddFacetsDesignTest::pickedPointsAreMarked() {
    AddFacetsFixture f;
    Tstartform& w = *f.Window;
    CutByAngle(f.Design(), 90, 0, 50);
    f.Design().Recompute();
    QVERIFY(w.Display().ShowClick);
    InAddFacets(w, [](TForm14& form) {
        form.RadioGroup1->Item(4)->click();
        form.PointButtons[1]->click();
    });
    QVERIFY(AwaitsClick(w, ClickKind::Point));
    // The nearest corner of the octagon to (52, 22): the one at index 4 half-way, (50, 20.71).
    ClickOnSheet(w, 52, 22, Qt::LeftButton, Qt::NoModifier, [&](TForm14& form) {
        QCOMPARE(form.Edit2->text(), QString("  50.00"));
        QCOMPARE(form.Edit5->text(), QString("  20.71"));
        QVERIFY(f.Window->Display().Markers.Shown(2));
        QVERIFY(std::fabs(f.Window->Display().Markers.Y(2) - 20.71L) < 0.01L);
        form.Button7->click();
    });
    QVERIFY(!f.Window->Display().Markers.Shown(2)); // Cancel hides the markers
}

void AddFacetsDesignTest::reopenedBeforeTheClickWaitsForIt() {
    AddFacetsFixture f;
    Tstartform& w = *f.Window;
    CutByAngle(f.Design(), 90, 0, 50);
    f.Design().Recompute();
    InAddFacets(w, [](TForm14& form) { form.EdgeButtons[0]->click(); });
    ClickOnSheet(w, 0, 50, Qt::LeftButton, Qt::ControlModifier, [](TForm14& form) {
        QCOMPARE(form.Edit4->text(), QString("  50.00"));
        TypeInto(form.Edit4, "0.0");
        form.EdgeButtons[0]->click();
    });
    MoveMouse(w, SheetPixel(w, 0, 0));
    QVERIFY(w.WaitingForClick);
    // The menu stays usable while the window waits: the dialog opened again does not take the
    // earlier click a second time.
    InAddFacets(w, [](TForm14& form) {
        QCOMPARE(form.Edit4->text(), QString("0.0"));
        form.Button7->click();
    });
    QVERIFY(AwaitsClick(w, ClickKind::Edge));
    ClickOnSheet(w, 50, 0, Qt::LeftButton, Qt::ControlModifier, [](TForm14& form) {
        QCOMPARE(form.Edit1->text(), QString("  50.00"));
        QCOMPARE(form.Edit7->text(), QString("   0.00"));
        form.Button7->click();
    });
    QVERIFY(!ClickOutstanding(w));
}

LAPIDRAW_UI_TEST_MAIN(AddFacetsDesignTest)
#include "add_facets_design_test.moc"
