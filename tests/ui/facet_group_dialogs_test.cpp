// The facet group dialogs through the main window: picking a group by angle and index or by a click,
// deleting it, replacing it through Add facets, showing the tiers and changing the angles.
#include "dialogs/add_facets_dialog.h"
#include "dialogs/change_angles_dialog.h"
#include "dialogs/change_facet_group_dialog.h"
#include "dialogs/delete_facet_group_dialog.h"
#include "dialogs/radio_group.h"
#include "dialogs/show_tiers_dialog.h"
#include "tests/support/design_builders.h"
#include "tests/ui/add_facets_support.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>

namespace {
constexpr Real AngleAgreement = 1e-4L; // angles read back from the snapshot file

// Presses the mouse on the sheet at the design point (x, y) while a click is awaited, and works in the
// picking dialog that comes back.
void ClickOnSheet(Tstartform& w, Real x, Real y, const std::function<void(FacetGroupPicker&)>& work) {
    const QPoint at = SheetPixel(w, x, y);
    MoveMouse(w, at);
    WhileModal([&] { PressMouse(w, at, Qt::LeftButton); },
               [&](QDialog& dialog) { work(static_cast<FacetGroupPicker&>(dialog)); });
}

QStringList Items(const QListWidget* list) {
    QStringList items;
    for (int k = 0; k < list->count(); ++k)
        items << list->item(k)->text();
    return items;
}

// Chooses the first item with the text, as a user does with the arrow keys.
void Choose(QListWidget* list, const QString& text) {
    const int row = static_cast<int>(Items(list).indexOf(text));
    QVERIFY2(row >= 0, qPrintable(text));
    list->setCurrentRow(row);
}

// The design file's text without its first line, which carries the time of writing.
std::string Planes(const TGem& design) {
    const std::string text = design.DesignFileText();
    return text.substr(text.find('\n') + 1);
}

QString IndexText(int index) {
    return QString::number(index).rightJustified(5);
}

// Puts a design made here into the window as its first undo step, in its file form.
void UseFiledDesign(Tstartform& w, std::unique_ptr<TGem> design) {
    design->Recompute();
    w.Design().Restore(*design);
    QVERIFY(w.Changes().Commit());
}

// Girdle at 50, mains at 40 degrees and depth 38 on index 3, table at 14: an 8-fold crown.
std::unique_ptr<TGem> MainsCrown() {
    auto gem = NewGem('c', 8, 96, false);
    CutByAngle(*gem, 90, 0, 50);
    CutByAngle(*gem, 40, 3, 38);
    CutHorizontal(*gem, 14);
    return gem;
}

// The colour of the sheet at the design point (x, y) of the top view, drawn afresh.
QColor CentreColour(Tstartform& w, Real x, Real y) {
    const QPoint at = SheetPixel(w, x, y);
    return w.Client->Surface->Image().pixelColor(at);
}

const char* const PickingItems[] = {"Changetier1", "deletetier1"};
} // namespace

class FacetGroupDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void equalAnglesOfTwoTiersListBothTiers();
    void deletingAMirroredGroupRemovesItsSixteenFacetsInOneStep();
    void changedGroupIsReplacedThroughAddFacets();
    void clickBesideAFacetChangesNothing();
    void showTiersStaysWithinTheTiersOfCutFacets();
    void changeAnglesRefusesARightAngleAndScalesEveryTangent();
};

void FacetGroupDialogsTest::equalAnglesOfTwoTiersListBothTiers() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    auto gem = NewGem('c', 8, 96, false);
    CutByAngle(*gem, 90, 0, 50);
    CutByAngle(*gem, 40, 0, 38); // facets 9 ... 16
    CutByAngle(*gem, 40, 6, 37); // facets 17 ... 24: the same angle, another depth
    UseFiledDesign(w, std::move(gem));
    QStringList bothTiers;
    for (int first : {0, 6})
        for (int k = 0; k < 8; ++k)
            bothTiers << IndexText(first + 12 * k);

    for (const char* item : PickingItems) {
        InDialog<FacetGroupPicker>(w, item, [&](FacetGroupPicker& form) {
            QCOMPARE(Items(form.ListBox1), QStringList({" 90.00", " 40.00", " 40.00"}));
            QVERIFY(form.BitBtn1->isHidden());
            for (int row : {1, 2}) {
                form.ListBox1->setCurrentRow(row);
                QCOMPARE(form.Edit2->text(), QString(" 40.00"));
                QCOMPARE(Items(form.ListBox2), bothTiers);
            }
            Choose(form.ListBox2, IndexText(18));
            QCOMPARE(form.FoundFacet, 18);
            QVERIFY(!form.BitBtn1->isHidden());
            QCOMPARE(w.Display().SelectedFacet, 18);
            QCOMPARE(w.Display().HighlightedGroupFirst, 17); // the drawing found the group
            // Another angle hides the commit button until an index is chosen again.
            form.ListBox1->setCurrentRow(0);
            QVERIFY(form.BitBtn1->isHidden());
            QVERIFY(form.Edit1->text().isEmpty());
            form.BitBtn2->click();
        });
        QCOMPARE(w.Display().SelectedFacet, NoneFound);
        QCOMPARE(w.Display().HighlightedGroupFirst, -1);
        QCOMPARE(w.Design().FacetCount, 24);
    }
}

void FacetGroupDialogsTest::deletingAMirroredGroupRemovesItsSixteenFacetsInOneStep() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseFiledDesign(w, RoundBrilliantCrown()); // upper halves: the mirrored group 25 ... 40
    TGem& design = w.Design();
    const std::string before = Planes(design);
    const int facets = design.FacetCount;
    const Real starAngle = design.FacetAngle(41);
    const std::optional<Vector3> centre = design.FacetCentre(30);
    QVERIFY(centre);
    const Real x = centre->x, y = centre->y;
    QCOMPARE(design.PickFacet(x, y), std::optional<int>(30));

    InDialog<Tdeltierform>(w, "deletetier1", [](Tdeltierform& form) {
        form.ListBox1->setCurrentRow(0);
        form.ClickButton->click();
    });
    QVERIFY(AwaitsClick(w, ClickKind::Facet));
    ClickOnSheet(w, x, y, [&](FacetGroupPicker& form) {
        QCOMPARE(form.FoundFacet, 30);
        QCOMPARE(w.Display().HighlightedGroupFirst, 25);
        QCOMPARE(form.ListBox2->count(), 0);
        QVERIFY(form.Edit2->text().isEmpty());
        QVERIFY(!form.BitBtn1->isHidden());
        form.BitBtn1->click();
    });
    QCOMPARE(design.FacetCount, facets - 16);
    QVERIFY(std::fabs(design.FacetAngle(25) - starAngle) < AngleAgreement); // the stars moved down
    QCOMPARE(w.Display().SelectedFacet, NoneFound);
    QVERIFY(w.Action("Undo2")->isVisible());

    w.Action("Undo2")->trigger();
    QCOMPARE(design.FacetCount, facets);
    QCOMPARE(Planes(design), before);
}

void FacetGroupDialogsTest::changedGroupIsReplacedThroughAddFacets() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseFiledDesign(w, MainsCrown());
    QVERIFY(!w.Action("Changetier1")->isVisible()); // the menu keeps it hidden; its command runs
    InDialog<TForm9>(w, "Changetier1", [&](TForm9& form) {
        QCOMPARE(form.focusWidget(), form.ClickButton);
        Choose(form.ListBox1, " 40.00");
        Choose(form.ListBox2, IndexText(27));
        QVERIFY(!form.BitBtn1->isHidden());
        WhileModal([&] { form.BitBtn1->click(); },
                   [&](QDialog& dialog) {
                       auto& add = static_cast<TForm14&>(dialog);
                       QVERIFY(w.Design().ModifyMode());
                       QCOMPARE(w.Design().ReplacedGroup(), 9);
                       QVERIFY(!add.RadioGroup1->Item(2)->isEnabled()); // no "3 points"
                       QCOMPARE(add.Edit15->text(), QString("40.00"));
                       add.Edit15->setText("35");
                       add.Button5->click();
                       add.BitBtn1->click();
                   });
        QVERIFY(!form.isVisible());
    });
    TGem& design = w.Design();
    QVERIFY(!design.ModifyMode());
    QCOMPARE(design.FacetCount, 16);
    for (int k = 9; k <= 16; ++k)
        QVERIFY(std::fabs(design.FacetAngle(k) - 35) < AngleAgreement);
    QVERIFY(std::fabs(design.FacetAngle(1) - 90) < AngleAgreement);
}

void FacetGroupDialogsTest::clickBesideAFacetChangesNothing() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseFiledDesign(w, MainsCrown());
    const std::string before = Planes(w.Design());
    for (const char* item : PickingItems) {
        // A group found by its angle and index, then a click on the table and one beside the stone.
        for (const Vector3 spot : {Vector3{0, 0, 0}, Vector3{80, 80, 0}}) {
            InDialog<FacetGroupPicker>(w, item, [](FacetGroupPicker& form) {
                Choose(form.ListBox1, " 40.00");
                Choose(form.ListBox2, IndexText(15));
                form.ClickButton->click();
            });
            QVERIFY(AwaitsClick(w, ClickKind::Facet));
            ClickOnSheet(w, spot.x, spot.y, [&](FacetGroupPicker& form) {
                QCOMPARE(form.FoundFacet, 10);
                QCOMPARE(form.Edit1->text(), IndexText(15));
                QCOMPARE(form.Edit2->text(), QString(" 40.00"));
                QCOMPARE(form.ListBox2->count(), 8);
                QVERIFY(!form.BitBtn1->isHidden());
                QCOMPARE(w.Display().SelectedFacet, NoneFound);
                form.BitBtn2->click();
            });
            QVERIFY(!ClickOutstanding(w));
        }
    }
    QCOMPARE(Planes(w.Design()), before);
}

void FacetGroupDialogsTest::showTiersStaysWithinTheTiersOfCutFacets() {
    struct Row {
        char Type;
        bool Mains;    // mains besides the girdle: one more tier
        bool Next;     // the arrow pressed
        QString Name;  // then shown
        int ShownTier; // of the design's tiers
    };
    const Row rows[] = {
        {'c', false, true, "C1", 3},  {'c', false, false, "C1", 3}, {'p', false, true, "P1", 3},
        {'p', false, false, "P1", 3}, {'c', true, true, "C2", 4},   {'c', true, false, "C1", 3},
    };
    for (const Row& row : rows) {
        WindowFixture f;
        Tstartform& w = *f.Window;
        auto gem = NewGem(row.Type, 8, 96, false);
        CutByAngle(*gem, 90, 0, 50);
        if (row.Mains) CutByAngle(*gem, 40, 0, 38);
        UseFiledDesign(w, std::move(gem));
        QCOMPARE(w.Design().TierCount, row.Mains ? 4 : 3);
        // A point of the first main facet half-way between its centre (where its number is written) and
        // a corner.
        const std::optional<Vector3> centre = row.Mains ? w.Design().FacetCentre(9) : std::nullopt;
        const bool mainsShown = centre.has_value();
        Real x = centre ? centre->x : 0, y = centre ? centre->y : 0;
        if (mainsShown) {
            const Vector3& corner = w.Design().Points[w.Design().Facets[9].Corners[1]].Position;
            x = (x + corner.x) / 2;
            y = (y + corner.y) / 2;
        }
        InDialog<TForm17>(w, "Showtier1", [&](TForm17& form) {
            QCOMPARE(form.Edit1->text(), QString(row.Type == 'c' ? "C1" : "P1"));
            QCOMPARE(w.Display().ShownTier, 3);
            QCOMPARE(form.focusWidget(), form.Button1);
            for (int k = 0; k < 2; ++k)
                (row.Next ? form.NextArrow : form.PrevArrow)->click();
            QCOMPARE(form.Edit1->text(), row.Name);
            QCOMPARE(w.Display().ShownTier, row.ShownTier);
            // The mains are filled while their tier is shown; a tier of girdle facets is not filled.
            const QColor mainsColour = row.ShownTier == 4 ? QColor(192, 192, 192) : QColor(Qt::white);
            if (mainsShown) QCOMPARE(CentreColour(w, x, y), mainsColour);
            form.Button1->click();
        });
        QCOMPARE(w.Display().ShownTier, NoneFound);
        if (mainsShown) QCOMPARE(CentreColour(w, x, y), QColor(Qt::white));
    }
}

void FacetGroupDialogsTest::changeAnglesRefusesARightAngleAndScalesEveryTangent() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    auto gem = NewGem('c', 8, 96, true);
    CutByAngle(*gem, 90, 0, 50);
    CutByAngle(*gem, 41, 0, 40); // mains, 9 ... 16
    CutByAngle(*gem, 25, 6, 30); // 17 ...
    CutHorizontal(*gem, 14);
    UseFiledDesign(w, std::move(gem));
    TGem& design = w.Design();
    const std::string before = Planes(design);
    const Real starsTangent = std::tan(design.FacetAngle(17) * RadPerDeg);

    InDialog<TForm18>(w, "Changeangles1", [&](TForm18& form) {
        QCOMPARE(Items(form.ListBox1), QStringList({" 41.00", " 25.00"}));
        QCOMPARE(form.Edit1->text(), QString(" 41.00"));
        QCOMPARE(form.focusWidget(), form.Edit2);
        form.Edit1->setText("90");
        form.Edit2->setText("42");
        form.Button1->click();
        QCOMPARE(f.Script.Texts(), std::vector<std::string>{"Angle must be > 0 and < 90 "});
        QCOMPARE(form.focusWidget(), form.Edit1);
        QVERIFY(form.isVisible());
        QCOMPARE(Planes(design), before);
        form.ListBox1->setCurrentRow(0);
        form.Button1->click();
        QVERIFY(!form.isVisible());
    });
    const Real factor = std::tan(42 * RadPerDeg) / std::tan(41 * RadPerDeg);
    QVERIFY(std::fabs(design.FacetAngle(9) - 42) < AngleAgreement);
    QVERIFY(std::fabs(std::tan(design.FacetAngle(17) * RadPerDeg) - starsTangent * factor) < AngleAgreement);
    QVERIFY(std::fabs(design.FacetAngle(1) - 90) < AngleAgreement);
    w.Action("Undo2")->trigger();
    QCOMPARE(Planes(design), before);
}

LAPIDRAW_UI_TEST_MAIN(FacetGroupDialogsTest)
#include "facet_group_dialogs_test.moc"
