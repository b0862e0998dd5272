// What the facet group dialogs say about their input, and in which order, on a fake host; and where
// they stand on the screen.
#include "dialogs/change_angles_dialog.h"
#include "dialogs/change_facet_group_dialog.h"
#include "dialogs/delete_facet_group_dialog.h"
#include "dialogs/show_tiers_dialog.h"
#include "tests/dialogs/fake_host.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_test_main.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <cmath>

namespace {
// Girdle, mains at 41 degrees on index 0 (facets 9 ... 16), stars at 25 on index 6, table: 8-fold.
void CutDesign(TGem& design, bool girdleOnly) {
    CutByAngle(design, 90, 0, 50);
    if (girdleOnly) return;
    CutByAngle(design, 41, 0, 40);
    CutByAngle(design, 25, 6, 30);
    CutHorizontal(design, 14);
}

std::string Planes(const TGem& design) {
    const std::string text = design.DesignFileText();
    return text.substr(text.find('\n') + 1);
}

std::vector<std::string> Said(const char* message) {
    return message ? std::vector<std::string>{message} : std::vector<std::string>{};
}

void Choose(QListWidget* list, const QString& text) {
    const QList<QListWidgetItem*> found = list->findItems(text, Qt::MatchExactly);
    QVERIFY2(!found.isEmpty(), qPrintable(text));
    list->setCurrentItem(found.front());
}
} // namespace

class FacetGroupValidationTest : public QObject {
    Q_OBJECT

  private slots:
    void changeAnglesChecksInOrder();
    void facetLookUpChecksInOrder();
    void cancelEndsModifyModeAndHighlight();
    void listTakingTheFocusChoosesNothing();
    void dialogsStandAtTheBottomRight();
};

void FacetGroupValidationTest::changeAnglesChecksInOrder() {
    const char* const range = "Angle must be > 0 and < 90 ";
    struct Row {
        bool GirdleOnly;
        const char* Old; // nullptr: as the dialog fills it
        const char* New;
        const char* Message; // nullptr: the angles change
        const char* Focus;
    };
    const Row rows[] = {
        {true, nullptr, "42", "Error in old angle", "Edit1"}, // no angle to list
        {false, "4l", "x", "Error in old angle", "Edit1"},
        {false, "0", "x", range, "Edit1"}, // the old angle's range before the new angle is read
        {false, "90", "42", range, "Edit1"},
        {false, "-41", "42", range, "Edit1"},
        {false, nullptr, "", "Error in newangle", "Edit2"},
        {false, "41", "90", range, "Edit2"},
        {false, "41", "0", range, "Edit2"},
        {false, "50", "42", "Angle not found", "Edit1"},
        {false, "41.2", "42", "Angle not found", "Edit1"}, // more than 0.1 off
        {false, "41.05", "42", nullptr, nullptr},
        {false, nullptr, "42", nullptr, nullptr},
    };
    for (const Row& row : rows) {
        FakeHost host;
        CutDesign(*host.Gem, row.GirdleOnly);
        const std::string before = Planes(*host.Gem);
        TForm18& form = DialogOf<TForm18>(host);
        host.Shown.DialogReset = true;
        form.show();
        if (row.Old) form.Edit1->setText(row.Old);
        form.Edit2->setText(row.New);
        form.Button1->click();
        const QString context = QString("old %1, new %2").arg(row.Old ? row.Old : "listed", row.New);
        QVERIFY2(host.Script.Texts() == Said(row.Message), qPrintable(context));
        if (row.Message) {
            QCOMPARE(form.focusWidget()->objectName(), QString(row.Focus));
            QVERIFY(form.isVisible());
            QCOMPARE(host.Finished, 0);
            QCOMPARE(Planes(*host.Gem), before);
        } else {
            QCOMPARE(host.Finished, 1);
            QVERIFY(!form.isVisible());
            // The mains' tangent scaled by tan 42 / tan old.
            const Real oldAngle = row.Old ? std::stold(row.Old) : 41;
            const Real mains = std::atan(std::tan(41 * RadPerDeg) * std::tan(42 * RadPerDeg) /
                                         std::tan(oldAngle * RadPerDeg)) *
                               DegPerRad;
            QVERIFY(std::fabs(host.Gem->FacetAngle(9) - mains) < 1e-4L);
        }
    }
}

void FacetGroupValidationTest::facetLookUpChecksInOrder() {
    struct Row {
        const char* Angle; // typed over the chosen angle; nullptr: as chosen
        const char* Message;
        const char* Focus;
    };
    const Row rows[] = {
        {"x", "Error in number", "Edit2"},  {"", nullptr, nullptr}, // an empty field fails silently
        {"40", "Facet not found", "Edit1"}, {"41.03", "Facet not found", "Edit1"}, // 0.03 off
        {"41.01", nullptr, nullptr},        {nullptr, nullptr, nullptr},
    };
    for (const Row& row : rows) {
        FakeHost host;
        CutDesign(*host.Gem, false);
        TForm9& form = DialogOf<TForm9>(host);
        host.Shown.DialogReset = true;
        form.show();
        Choose(form.ListBox1, " 41.00");
        if (row.Angle) form.Edit2->setText(row.Angle);
        Choose(form.ListBox2, "   12");
        const bool found = !row.Message && !(row.Angle && !*row.Angle);
        QVERIFY2(host.Script.Texts() == Said(row.Message), row.Angle ? row.Angle : "chosen");
        if (row.Message) QCOMPARE(form.focusWidget()->objectName(), QString(row.Focus));
        QCOMPARE(!form.BitBtn1->isHidden(), found);
        QCOMPARE(host.Shown.SelectedFacet, found ? 10 : NoneFound);
    }
}

void FacetGroupValidationTest::cancelEndsModifyModeAndHighlight() {
    FakeHost host;
    CutDesign(*host.Gem, false);
    host.Gem->EnterModifyMode(9);
    TForm9& form = DialogOf<TForm9>(host);
    host.Shown.DialogReset = true;
    form.show();
    Choose(form.ListBox1, " 41.00");
    Choose(form.ListBox2, "   24");
    QCOMPARE(host.Shown.SelectedFacet, 11);
    host.Shown.HighlightedGroupFirst = 9; // as the window's drawing leaves it
    form.BitBtn2->click();
    QVERIFY(!host.Gem->ModifyMode());
    QCOMPARE(host.Shown.SelectedFacet, NoneFound);
    QCOMPARE(host.Shown.HighlightedGroupFirst, NoneFound);
    QVERIFY(!form.isVisible());
    QCOMPARE(host.Finished, 0);
}

void FacetGroupValidationTest::listTakingTheFocusChoosesNothing() {
    FakeHost host;
    CutDesign(*host.Gem, false);
    Tdeltierform& form = DialogOf<Tdeltierform>(host);
    host.Shown.DialogReset = true;
    form.show();
    QApplication::setActiveWindow(&form);
    form.ListBox1->setFocus(Qt::TabFocusReason);
    QVERIFY(form.ListBox1->hasFocus());
    QCOMPARE(form.ListBox2->count(), 0);
    QVERIFY(form.Edit2->text().isEmpty());
    // The keyboard chooses: the next angle and its indices.
    QTest::keyClick(form.ListBox1, Qt::Key_Down);
    QCOMPARE(form.Edit2->text(), form.ListBox1->currentItem()->text());
    QCOMPARE(form.ListBox2->count(), 8);
}

void FacetGroupValidationTest::dialogsStandAtTheBottomRight() {
    FakeHost host;
    CutDesign(*host.Gem, false);
    QDialog* dialogs[] = {&DialogOf<TForm9>(host), &DialogOf<Tdeltierform>(host), &DialogOf<TForm17>(host),
                          &DialogOf<TForm18>(host)};
    for (QDialog* dialog : dialogs) {
        host.Shown.DialogReset = true;
        dialog->show();
        const QRect frame = dialog->frameGeometry();
        QCOMPARE(frame.right() + 1, host.Script.Width);
        QCOMPARE(frame.bottom() + 1, host.Script.Height);
        dialog->reject();
    }
}

LAPIDRAW_UI_TEST_MAIN(FacetGroupValidationTest)
#include "facet_group_validation_test.moc"
