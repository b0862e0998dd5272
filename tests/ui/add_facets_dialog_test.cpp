// "Add facets": the controls, the validation order and messages, the five methods, the Cut button's
// life and the set-selection panel, driven through the real dialog on the real main window.
#include "dialogs/add_facets_dialog.h"
#include "dialogs/field_input.h"
#include "dialogs/radio_group.h"
#include "gem/numtext.h"
#include "tests/platform/golden.h"
#include "tests/support/design_builders.h"
#include "tests/ui/add_facets_support.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

namespace {
using FieldTexts = QList<QPair<QString, QString>>;

QLineEdit* Field(TForm14& form, const QString& name) {
    auto* edit = form.findChild<QLineEdit*>(name);
    if (!edit) qFatal("no field %s", qPrintable(name));
    return edit;
}

void Type(TForm14& form, const FieldTexts& texts) {
    for (const auto& [name, text] : texts)
        Field(form, name)->setText(text);
}

void LeaveIndexBox(TForm14& form) {
    QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
    QCoreApplication::sendEvent(form.ComboBox1, &leave);
}
} // namespace

class AddFacetsDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void controlsAndPlacement();
    void methodTableEnablesFieldsAndClickButtons();
    void methodMaskDisablesItems();
    void refusesInput_data();
    void refusesInput();
    void computesAndRewritesTheFields();
    void angleZeroMakesTheTable_data();
    void angleZeroMakesTheTable();
    void negativeSystemIndexTurnsTypedIndex();
    void userEditHidesCutButProgramWriteDoesNot();
    void enterPressesOnlyAFocusedButton();
    void cancelLeavesDesignAndResetsMask();
    void clearEmptiesFields();
    void readsNumbersWithPointWhateverTheLocale();
    void panelSwitchesBetweenAddAndModify();
    void indexListIsDistinctAndSorted();
    void leavingIndexBoxChecksIt();
    void typedIndexStaysAsTyped();
    void selectFindsGroupAndEntersModifyMode();
    void modifyModeFromOutsideShowsTheGroup();
    void cutFollowsADesignChangedMeanwhile();
    void fullFacetTableIsReportedAndNothingCut();
};

void AddFacetsDialogTest::controlsAndPlacement() {
    std::string missingFont;
    UseFixedSheetFont(missingFont);
    AddFacetsFixture f;
    TForm14& form = f.Form;
    // Captions, fields and layout as the user sees them.
    const GoldenResult look = CompareLookInFixedFont(form.grab().toImage(), "add_facets_dialog", missingFont);
    QVERIFY2(look.Matches, look.Message.c_str());
    QCOMPARE(form.windowTitle(), QString("Add facets"));
    // Controls hidden in the first method, which the picture does not show.
    for (int i = 0; i < 3; ++i) {
        QCOMPARE(form.EdgeButtons[i]->text(), QString("&%1 Click edge").arg(i + 1));
        QCOMPARE(form.PointButtons[i]->text(), QString("&%1 Click point").arg(i + 4));
        QCOMPARE(form.EdgeButtons[i]->property("Tag").toInt(), i + 1);
    }
    QCOMPARE(form.Button4->text(), QString("Click in &facet"));
    QCOMPARE(form.Label8->text(), QString("facet nr"));
    QCOMPARE(form.BitBtn1->text(), QString("C&ut"));
    QCOMPARE(form.RadioGroup3->title(), QString("Facet selection meth&od"));
    QCOMPARE(form.RadioGroup3->Item(0)->text(), QString("Click in facet"));
    QCOMPARE(form.RadioGroup3->Item(1)->text(), QString("Index and angle"));
    QCOMPARE(form.Label10->text(), QString("Inde&x"));
    QCOMPARE(form.Label11->text(), QString("An&gle"));
    QCOMPARE(form.Button8->text(), QString("&Select"));
    QCOMPARE(form.PointEdits[0][1], form.Edit4);
    QCOMPARE(form.PointEdits[1][2], form.Edit8);
    QCOMPARE(form.PointEdits[2][0], form.Edit3);
    QCOMPARE(form.Button4->toolTip(), QString("click to select a facet"));
    QVERIFY(!form.Edit12->isEnabled());
    QVERIFY(form.Label8->isHidden() && form.Edit10->isHidden() && !form.Edit10->isEnabled());
    QCOMPARE(form.Button5->toolTip(), QString("Compute facet plane"));
    QVERIFY(form.BitBtn1->isHidden());
    QCOMPARE(form.RadioGroup1->Count(), 5);
    QCOMPARE(form.RadioGroup1->ItemIndex(), 0);
    QCOMPARE(form.Panel1->toolTip(), QString("A complete set of facets will be modified"));
    QCOMPARE(form.Panel1->palette().color(QPalette::Window), QColor(192, 192, 192));
    // The bottom right corner of the screen (the scripted screen is 1024 x 768).
    QCOMPARE(form.pos(), QPoint(1024 - form.width(), 768 - form.height()));

    f.Open();
    QCOMPARE(form.windowTitle(), QString("Add facet"));
    QCOMPARE(form.Edit10->text(), QString("   1"));
    QVERIFY(!f.Window->TakeClick(form)); // no click is waiting for a dialog just opened
    QCOMPARE(form.EdgeButtons[0]->toolTip(),
             QString("<Ctrl> select edges in XY plane; <Shift> do not select edges in XY plane"));
    QCOMPARE(form.PointButtons[2]->toolTip(),
             QString("<Ctrl> select points in XY plane; <Shift> do not select points in XY plane"));
    // A new design has no facets: nothing to click in and nothing to modify.
    QVERIFY(form.Button4->isHidden());
    QVERIFY(!form.RadioGroup2->isEnabled());
    QVERIFY(form.RadioGroup3->isHidden());
    QVERIFY(form.ComboBox1->isHidden() && form.ComboBox2->isHidden() && form.Button8->isHidden());
}

void AddFacetsDialogTest::methodTableEnablesFieldsAndClickButtons() {
    AddFacetsFixture f;
    CutByAngle(f.Design(), 90, 0, 50);
    f.Design().Recompute();
    f.Open();
    TForm14& form = f.Form;
    QVERIFY(!form.Button4->isHidden());
    struct Row {
        int Points;
        bool Angle, Index, Depth;
    };
    const Row rows[5] = {{1, true, true, false},
                         {2, false, true, false},
                         {3, false, false, false},
                         {0, true, true, true},
                         {2, false, false, false}};
    for (int m = 0; m < 5; ++m) {
        form.RadioGroup1->Item(m)->click();
        QCOMPARE(form.RadioGroup1->ItemIndex(), m);
        for (int i = 0; i < 3; ++i) {
            for (int j = 0; j < 3; ++j)
                QCOMPARE(form.PointEdits[i][j]->isEnabled(), i < rows[m].Points);
            QCOMPARE(form.EdgeButtons[i]->isHidden(), i >= rows[m].Points);
            QCOMPARE(form.PointButtons[i]->isHidden(), i >= rows[m].Points);
        }
        QCOMPARE(form.Edit15->isEnabled(), rows[m].Angle);
        QCOMPARE(form.Edit16->isEnabled(), rows[m].Index);
        QCOMPARE(form.Edit11->isEnabled(), rows[m].Depth);
    }

    // Without an edge to pick no click button is offered.
    AddFacetsFixture empty;
    empty.Open();
    empty.Form.RadioGroup1->Item(2)->click();
    for (int i = 0; i < 3; ++i)
        QVERIFY(empty.Form.EdgeButtons[i]->isHidden() && empty.Form.PointButtons[i]->isHidden());
}

void AddFacetsDialogTest::methodMaskDisablesItems() {
    AddFacetsFixture f;
    f.Window->Display().MethodMask = 0b1011; // as the Change facet group dialog sets it: no "3 points"
    f.Open();
    QVERIFY(f.Form.RadioGroup1->Item(0)->isEnabled());
    QVERIFY(f.Form.RadioGroup1->Item(1)->isEnabled());
    QVERIFY(!f.Form.RadioGroup1->Item(2)->isEnabled());
    QVERIFY(f.Form.RadioGroup1->Item(3)->isEnabled());
    QVERIFY(f.Form.RadioGroup1->Item(4)->isEnabled());
    f.Window->Display().MethodMask = 0;
    f.Form.hide();
    f.Open();
    for (int k = 0; k < 4; ++k)
        QVERIFY(!f.Form.RadioGroup1->Item(k)->isEnabled());
    QVERIFY(f.Form.RadioGroup1->Item(4)->isEnabled());
}

void AddFacetsDialogTest::refusesInput_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<FieldTexts>("texts");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    const FieldTexts point1{{"Edit1", "50"}, {"Edit4", "0"}, {"Edit7", "0"}};
    QTest::newRow("Y of point 2") << 1 << FieldTexts{{"Edit5", "1,5"}, {"Edit16", "0"}}
                                  << "Error in Y of point 2"
                                  << "Edit5";
    QTest::newRow("point before angle")
        << 0 << FieldTexts{{"Edit7", ""}, {"Edit15", "-1"}} << "Error in Z of point 1"
        << "Edit7";
    QTest::newRow("facet number") << 0 << (point1 + FieldTexts{{"Edit10", "x"}, {"Edit15", "-1"}})
                                  << "Error in number"
                                  << ""; // the hidden field cannot take the focus
    QTest::newRow("angle text") << 0 << (point1 + FieldTexts{{"Edit15", "4O"}, {"Edit16", "0"}})
                                << "Error in cutangle"
                                << "Edit15";
    QTest::newRow("angle -1") << 0 << (point1 + FieldTexts{{"Edit15", "-1"}, {"Edit16", "x"}})
                              << "Angle must be > 0 and <= 90"
                              << "Edit15";
    QTest::newRow("angle 90.01") << 0 << (point1 + FieldTexts{{"Edit15", "90.01"}, {"Edit16", "0"}})
                                 << "Angle must be > 0 and <= 90"
                                 << "Edit15";
    QTest::newRow("index") << 3 << FieldTexts{{"Edit15", "40"}, {"Edit16", "1 2"}, {"Edit11", "0"}}
                           << "Error in index"
                           << "Edit16";
    QTest::newRow("depth text") << 3 << FieldTexts{{"Edit15", "40"}, {"Edit16", "0"}, {"Edit11", ""}}
                                << "Error in cut depth"
                                << "Edit11";
    // Numbers that are not finite, or beyond the engine's reach, are no numbers to a field.
    QTest::newRow("depth 1e400") << 3 << FieldTexts{{"Edit15", "40"}, {"Edit16", "0"}, {"Edit11", "1e400"}}
                                 << "Error in cut depth"
                                 << "Edit11";
    QTest::newRow("index nan") << 3 << FieldTexts{{"Edit15", "40"}, {"Edit16", "nan"}, {"Edit11", "10"}}
                               << "Error in index"
                               << "Edit16";
    QTest::newRow("angle inf") << 0 << (point1 + FieldTexts{{"Edit15", "inf"}, {"Edit16", "0"}})
                               << "Error in cutangle"
                               << "Edit15";
    QTest::newRow("point beyond the reach")
        << 0 << FieldTexts{{"Edit1", "100001"}, {"Edit4", "0"}, {"Edit7", "0"}} << "Error in X of point 1"
        << "Edit1";
    QTest::newRow("depth 0") << 3 << FieldTexts{{"Edit15", "40"}, {"Edit16", "0"}, {"Edit11", "0"}}
                             << "cut depth must be positive"
                             << "Edit11";
    QTest::newRow("depth 0.05") << 3 << FieldTexts{{"Edit15", "40"}, {"Edit16", "0"}, {"Edit11", "0.05"}}
                                << "Facet goes through origin"
                                << ""; // x of point 1 is disabled here
    QTest::newRow("collinear points")
        << 2 << FieldTexts{{"Edit1", "0"},  {"Edit4", "0"},  {"Edit7", "10"}, {"Edit2", "10"}, {"Edit5", "0"},
                           {"Edit8", "10"}, {"Edit3", "20"}, {"Edit6", "0"},  {"Edit9", "10"}}
        << "Facet on wrong side of origin"
        << "Edit1";
    QTest::newRow("girdle points closer than 1")
        << 4 << FieldTexts{{"Edit1", "10"},   {"Edit4", "10"},   {"Edit7", "0"},
                           {"Edit2", "10.5"}, {"Edit5", "10.4"}, {"Edit8", "0"}}
        << "Facet on wrong side of origin"
        << "Edit1";
}

void AddFacetsDialogTest::refusesInput() {
    QFETCH(int, method);
    QFETCH(FieldTexts, texts);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    AddFacetsFixture f;
    CutByAngle(f.Design(), 90, 0, 50);
    f.Design().Recompute();
    const std::string before = DesignTextWithoutStamp(f.Design());
    f.Open();
    f.Form.RadioGroup1->Item(method)->click();
    Type(f.Form, texts);
    f.Form.Button5->click();
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{message.toStdString()});
    QCOMPARE(f.Script.Beeps, 1);
    if (!focus.isEmpty()) QCOMPARE(f.Form.focusWidget(), Field(f.Form, focus));
    QVERIFY(f.Form.BitBtn1->isHidden());
    QVERIFY(f.Form.isVisible());
    QCOMPARE(DesignTextWithoutStamp(f.Design()), before);
}

void AddFacetsDialogTest::computesAndRewritesTheFields() {
    AddFacetsFixture f;
    f.Open();
    TForm14& form = f.Form;
    form.RadioGroup1->Item(3)->click();
    Type(form, {{"Edit15", "90"}, {"Edit16", "0"}, {"Edit11", "50"}});
    form.Button5->click();
    QVERIFY(f.Script.Texts().empty());
    QVERIFY(!form.BitBtn1->isHidden());
    QCOMPARE(form.Edit15->text(), QString("90.00"));
    QCOMPARE(form.Edit16->text(), QString("    0"));
    QCOMPARE(form.Edit11->text(), QString("50")); // the input of this method stays as typed
    QCOMPARE(form.Edit12->text(), QString("infinity"));
    form.BitBtn1->click();
    QCOMPARE(f.Design().FacetCount, 8);
    QVERIFY(!form.isVisible());

    // Method 0 through a corner of the girdle: depth and Z-axis intercept are derived.
    f.Open();
    Type(form, {{"Edit1", "50"}, {"Edit4", "0"}, {"Edit7", "0"}, {"Edit15", "45"}, {"Edit16", "6.5"}});
    form.Button5->click();
    QVERIFY(f.Script.Texts().empty());
    QCOMPARE(form.Edit15->text(), QString("45.00"));
    QCOMPARE(form.Edit16->text(), QString("6.50"));
    const Real phi = TwoPi * 6.5L / 96;
    const Real d = 50 * std::cos(phi) * std::sqrt(0.5L);
    QCOMPARE(form.Edit11->text().toStdString(), fixed(d, 6, 2));
    QCOMPARE(form.Edit12->text().toStdString(), fixed(d / std::sqrt(0.5L), 7, 2));
    QCOMPARE(form.Edit10->text(), QString("   9"));
    // Markers go to the point used.
    QVERIFY(f.Window->Display().Markers.Shown(1));
    QCOMPARE(f.Window->Display().Markers.X(1), Real(50));
}

void AddFacetsDialogTest::angleZeroMakesTheTable_data() {
    QTest::addColumn<int>("method");
    QTest::addColumn<FieldTexts>("texts");
    QTest::addColumn<double>("height");
    QTest::newRow("method 0")
        << 0 << FieldTexts{{"Edit1", "0"}, {"Edit4", "0"}, {"Edit7", "12"}, {"Edit15", "0"}, {"Edit16", "0"}}
        << 12.0;
    QTest::newRow("method 3") << 3 << FieldTexts{{"Edit15", "0"}, {"Edit16", "0"}, {"Edit11", "15"}} << 15.0;
}

void AddFacetsDialogTest::angleZeroMakesTheTable() {
    QFETCH(int, method);
    QFETCH(FieldTexts, texts);
    QFETCH(double, height);
    AddFacetsFixture f;
    CutByAngle(f.Design(), 90, 0, 50);
    CutByAngle(f.Design(), 40, 0, 40);
    f.Design().Recompute();
    f.Open();
    f.Form.RadioGroup1->Item(method)->click();
    Type(f.Form, texts);
    f.Form.Button5->click();
    QVERIFY(f.Script.Texts().empty());
    QCOMPARE(f.Form.Edit15->text(), QString(" 0.00"));
    f.Form.BitBtn1->click();
    QCOMPARE(f.Design().FacetCount, 16);
    QCOMPARE(f.Design().Dist(-1), Real(-height));
    QVERIFY(std::fabs(f.Design().BoxMax.z - height) < FileRounding);
    QVERIFY(f.Design().HasTable());
}

void AddFacetsDialogTest::negativeSystemIndexTurnsTypedIndex() {
    AddFacetsFixture f;
    f.Design().NewDesign('c', 8, -96, false, 0, true);
    f.Open();
    QCOMPARE(f.Form.RawIndex(24), Real(72));
    QCOMPARE(f.Form.RawIndex(0), Real(0));
    f.Form.RadioGroup1->Item(3)->click();
    Type(f.Form, {{"Edit15", "40"}, {"Edit16", "24"}, {"Edit11", "30"}});
    f.Form.Button5->click();
    QCOMPARE(f.Form.Edit16->text(), QString("   24"));
    QVERIFY(std::fabs(f.Design().IndexFromNormal(f.Form.WorkPlane.Normal) - 72) < 1e-9L);
    f.Form.BitBtn1->click();
    QVERIFY(std::fabs(f.Design().Index(1) - 72) < FileRounding);
    QVERIFY(std::fabs(f.Design().Facets[1].ShownIndex - 24) < FileRounding);

    // With an offset the typed index is the shown one too.
    f.Design().NewDesign('c', 8, 96, false, 3, true);
    QCOMPARE(f.Form.RawIndex(3), Real(0));
    QCOMPARE(f.Form.RawIndex(1), Real(94));
}

void AddFacetsDialogTest::userEditHidesCutButProgramWriteDoesNot() {
    AddFacetsFixture f;
    f.Open();
    TForm14& form = f.Form;
    form.RadioGroup1->Item(2)->click();
    const FieldTexts plane{{"Edit1", "50"}, {"Edit4", "0"}, {"Edit7", "0"}, {"Edit2", "0"}, {"Edit5", "50"},
                           {"Edit8", "0"},  {"Edit3", "0"}, {"Edit6", "0"}, {"Edit9", "20"}};
    QList<QLineEdit*> typed;
    for (auto& row : form.PointEdits)
        for (QLineEdit* edit : row)
            typed << edit;
    typed << form.Edit15 << form.Edit16 << form.Edit11;
    for (QLineEdit* edit : typed) {
        form.RadioGroup1->Item(2)->click();
        Type(form, plane);
        form.Button5->click();
        QVERIFY(!form.BitBtn1->isHidden());
        edit->setText(edit->text()); // written by the program: the plane stays ready
        form.RadioGroup1->Item(3)->click();
        form.RadioGroup1->Item(2)->click();
        QVERIFY2(!form.BitBtn1->isHidden(), qPrintable(edit->objectName()));
        edit->setEnabled(true);
        QTest::keyClick(edit, Qt::Key_1);
        QVERIFY2(form.BitBtn1->isHidden(), qPrintable(edit->objectName()));
    }
    QVERIFY(f.Script.Texts().empty());
}

void AddFacetsDialogTest::enterPressesOnlyAFocusedButton() {
    AddFacetsFixture f;
    CutByAngle(f.Design(), 90, 0, 50);
    f.Design().Recompute();
    f.Open();
    TForm14& form = f.Form;
    QApplication::setActiveWindow(&form);
    Type(form, {{"Edit1", "50"}, {"Edit4", "0"}, {"Edit7", "0"}, {"Edit15", "45"}, {"Edit16", "0"}});
    for (QLineEdit* field : {form.Edit1, form.Edit15, form.Edit16}) {
        field->setFocus();
        QTest::keyClick(field, Qt::Key_Return);
        QVERIFY2(form.isVisible(), qPrintable(field->objectName()));
        QVERIFY(!ClickOutstanding(*f.Window));
        QVERIFY(form.BitBtn1->isHidden());
    }
    form.Button5->setFocus();
    QTest::keyClick(form.Button5, Qt::Key_Return);
    QVERIFY(!form.BitBtn1->isHidden());
    QCOMPARE(f.Design().FacetCount, 8);
    QVERIFY(f.Script.Texts().empty());
}

void AddFacetsDialogTest::cancelLeavesDesignAndResetsMask() {
    AddFacetsFixture f;
    CutByAngle(f.Design(), 90, 0, 50);
    f.Design().Recompute();
    f.Design().EnterModifyMode(1);
    f.Window->Display().MethodMask = 0b1011;
    f.Window->Display().SelectedFacet = 3;
    f.Window->Display().Markers.Set(2, 5, 0);
    const std::string before = DesignTextWithoutStamp(f.Design());
    f.Open();
    QCOMPARE(f.Form.windowTitle(), QString("Modify facet group"));
    f.Form.Button7->click();
    QVERIFY(!f.Form.isVisible());
    QVERIFY(!f.Design().ModifyMode());
    QCOMPARE(f.Window->Display().MethodMask, 0x0Fu);
    QCOMPARE(f.Window->Display().SelectedFacet, NoneFound);
    for (int k = 1; k <= 3; ++k)
        QVERIFY(!f.Window->Display().Markers.Shown(k));
    QCOMPARE(DesignTextWithoutStamp(f.Design()), before);
}

void AddFacetsDialogTest::clearEmptiesFields() {
    AddFacetsFixture f;
    f.Open();
    Type(f.Form, {{"Edit15", "40"}, {"Edit16", "3"}, {"Edit11", "7"}, {"Edit12", "x"}, {"Edit10", "   1"}});
    f.Form.Button6->click();
    for (auto& row : f.Form.PointEdits)
        for (QLineEdit* edit : row)
            QVERIFY(edit->text().isEmpty());
    for (QLineEdit* edit : {f.Form.Edit15, f.Form.Edit16, f.Form.Edit11, f.Form.Edit12})
        QVERIFY(edit->text().isEmpty());
    QCOMPARE(f.Form.Edit10->text(), QString("   1"));
}

void AddFacetsDialogTest::readsNumbersWithPointWhateverTheLocale() {
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    AddFacetsFixture f;
    f.Open();
    f.Form.RadioGroup1->Item(3)->click();
    Type(f.Form, {{"Edit15", " 40.5 "}, {"Edit16", "+1.2e1"}, {"Edit11", "30"}});
    f.Form.Button5->click();
    QVERIFY(f.Script.Texts().empty());
    QCOMPARE(f.Form.Edit15->text(), QString("40.50"));
    QCOMPARE(f.Form.Edit16->text(), QString("   12"));
    Type(f.Form, {{"Edit15", "40,5"}});
    f.Form.Button5->click();
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"Error in cutangle"});
    QLocale::setDefault(previous);

    // The shared readers: a combo box too, an empty text is an error, the form stays open.
    f.Script.ClearRecord();
    QComboBox box;
    box.setEditable(true);
    box.setEditText(" -2.5e1 ");
    QCOMPARE(ReadRealField(f.Script, &box, "m").value(), Real(-25));
    box.setEditText("");
    QVERIFY(!ReadRealField(f.Script, &box, "Error in index"));
    QLineEdit edit("12.5");
    QVERIFY(!ReadIntegerField(f.Script, &edit, "Error in number"));
    edit.setText(" 12 ");
    QCOMPARE(ReadIntegerField(f.Script, &edit, "Error in number").value(), 12);
    QCOMPARE(f.Script.Texts(), (std::vector<std::string>{"Error in index", "Error in number"}));
    QCOMPARE(f.Script.Beeps, 2);
    f.Form.setResult(QDialog::Accepted);
    ReportFieldError(f.Script, f.Form.Edit16, "Error in index", &f.Form);
    QCOMPARE(f.Form.result(), 0);
    QCOMPARE(f.Form.focusWidget(), f.Form.Edit16);
    QCOMPARE(std::string(CoordinateNames[0][0]), std::string("X of point 1"));
    QCOMPARE(std::string(CoordinateNames[2][1]), std::string("Y of point 3"));
}

void AddFacetsDialogTest::panelSwitchesBetweenAddAndModify() {
    AddFacetsFixture f;
    CutByAngle(f.Design(), 90, 0, 50);
    f.Design().Recompute();
    f.Open();
    TForm14& form = f.Form;
    QVERIFY(form.RadioGroup2->isEnabled());
    form.RadioGroup2->Item(1)->click();
    QCOMPARE(form.Panel1->palette().color(QPalette::Window), QColor(0, 255, 255));
    QCOMPARE(form.windowTitle(), QString("Modify facet group"));
    QVERIFY(!form.RadioGroup3->isHidden());
    QCOMPARE(form.RadioGroup3->ItemIndex(), 0);
    QVERIFY(form.ComboBox1->isHidden());
    form.RadioGroup3->Item(1)->click();
    QVERIFY(!form.ComboBox1->isHidden() && !form.ComboBox2->isHidden() && !form.Button8->isHidden());
    QVERIFY(!form.Label10->isHidden() && !form.Label11->isHidden());
    QCOMPARE(form.ComboBox1->count(), 8);
    form.RadioGroup3->Item(0)->click();
    QVERIFY(form.ComboBox1->isHidden() && form.ComboBox2->isHidden() && form.Button8->isHidden());
    form.RadioGroup3->Item(1)->click();
    form.RadioGroup2->Item(0)->click();
    QCOMPARE(form.Panel1->palette().color(QPalette::Window), QColor(192, 192, 192));
    QCOMPARE(form.windowTitle(), QString("Add facet group"));
    QVERIFY(form.RadioGroup3->isHidden());
    QCOMPARE(form.RadioGroup3->ItemIndex(), 0);
    QVERIFY(form.ComboBox1->isHidden() && form.ComboBox2->isHidden() && form.Button8->isHidden());
    QVERIFY(!form.Button4->isHidden());

    // Opening afresh brings the panel back to Add even from Modify.
    form.RadioGroup2->Item(1)->click();
    form.hide();
    f.Open();
    QCOMPARE(form.RadioGroup2->ItemIndex(), 0);
    QCOMPARE(form.windowTitle(), QString("Add facet group"));
    QCOMPARE(form.Panel1->palette().color(QPalette::Window), QColor(192, 192, 192));
}

void AddFacetsDialogTest::indexListIsDistinctAndSorted() {
    AddFacetsFixture f;
    f.Design().NewDesign('c', 1, 96, false, 0, true);
    for (Real index : {24.0L, 12.0L, 12.004L, 0.0L, 48.0L})
        CutByAngle(f.Design(), index == 48 ? 90 : 40, index, 40);
    CutByAngle(f.Design(), 50, 24, 30);
    f.Design().Recompute();
    f.Open();
    f.Form.RadioGroup2->Item(1)->click();
    f.Form.RadioGroup3->Item(1)->click();
    QStringList items;
    for (int k = 0; k < f.Form.ComboBox1->count(); ++k)
        items << f.Form.ComboBox1->itemText(k);
    QCOMPARE(items, (QStringList{"  0.00", " 12.00", " 24.00", " 48.00"}));
    QCOMPARE(f.Form.ComboBox1->currentIndex(), -1);
    // The angles at index 24 leave out the girdle facet at 48 and repeat none.
    f.Form.ComboBox1->setEditText("24");
    LeaveIndexBox(f.Form);
    items.clear();
    for (int k = 0; k < f.Form.ComboBox2->count(); ++k)
        items << f.Form.ComboBox2->itemText(k);
    QCOMPARE(items, (QStringList{" 40.00", " 50.00"}));
    f.Form.ComboBox1->setEditText("48");
    LeaveIndexBox(f.Form);
    QCOMPARE(f.Form.ComboBox2->count(), 0);
}

void AddFacetsDialogTest::leavingIndexBoxChecksIt() {
    AddFacetsFixture f;
    CutByAngle(f.Design(), 40, 0, 40);
    f.Design().Recompute();
    f.Open();
    f.Form.RadioGroup2->Item(1)->click();
    f.Form.RadioGroup3->Item(1)->click();
    f.Form.ComboBox1->setEditText("   ");
    LeaveIndexBox(f.Form);
    QVERIFY(f.Script.Texts().empty());
    f.Form.ComboBox1->setEditText("1x");
    LeaveIndexBox(f.Form);
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"Error in index"});
    QCOMPARE(f.Form.ComboBox1->currentText(), QString());
    f.Form.ComboBox1->setEditText("5");
    LeaveIndexBox(f.Form);
    QCOMPARE(f.Script.Texts(), (std::vector<std::string>{"Error in index", "Index does not exists"}));
    QCOMPARE(f.Form.ComboBox1->currentText(), QString());
    QCOMPARE(f.Form.focusWidget(), static_cast<QWidget*>(f.Form.ComboBox1));
    f.Form.ComboBox2->setEditText("old");
    f.Form.ComboBox1->setEditText("12.03");
    LeaveIndexBox(f.Form);
    QCOMPARE(f.Script.Texts().size(), std::size_t(2));
    QCOMPARE(f.Form.ComboBox2->currentText(), QString());
    QCOMPARE(f.Form.ComboBox2->count(), 0); // 12.03 is in use within 0.05, but no facet lies within 0.01
    f.Form.ComboBox1->setEditText("12");
    LeaveIndexBox(f.Form);
    QCOMPARE(f.Form.ComboBox2->count(), 1);
    QCOMPARE(f.Form.ComboBox2->itemText(0), QString(" 40.00"));
    // Choosing an index from the list empties the angle box.
    f.Form.ComboBox2->setCurrentIndex(0);
    f.Form.ComboBox1->setCurrentIndex(1);
    emit f.Form.ComboBox1->activated(1);
    QCOMPARE(f.Form.ComboBox2->currentIndex(), -1);
    QCOMPARE(f.Form.ComboBox2->currentText(), QString());
}

void AddFacetsDialogTest::typedIndexStaysAsTyped() {
    // On a 120-tooth design the listed index "110.00" begins like a typed 11: the box must not
    // complete it into another group's index.
    AddFacetsFixture f;
    f.Design().NewDesign('c', 1, 120, false, 0, true);
    CutByAngle(f.Design(), 40, 11, 40);
    CutByAngle(f.Design(), 50, 110, 40);
    f.Design().Recompute();
    f.Open();
    QApplication::setActiveWindow(&f.Form);
    f.Form.RadioGroup2->Item(1)->click();
    f.Form.RadioGroup3->Item(1)->click();
    f.Form.ComboBox1->setFocus();
    QTest::keyClicks(f.Form.ComboBox1, "11");
    QCOMPARE(f.Form.ComboBox1->currentText(), QString("11"));
    LeaveIndexBox(f.Form);
    QCOMPARE(f.Form.ComboBox2->count(), 1);
    QCOMPARE(f.Form.ComboBox2->itemText(0), QString(" 40.00"));
}

void AddFacetsDialogTest::selectFindsGroupAndEntersModifyMode() {
    AddFacetsFixture f;
    f.Design().NewDesign('c', 8, 96, true, 0, true);
    CutByAngle(f.Design(), 90, 0, 50);
    CutByAngle(f.Design(), 40, 3, 45);
    CutByAngle(f.Design(), 30, 0, 30);
    f.Design().Recompute();
    QCOMPARE(f.Design().FacetCount, 32);
    f.Open();
    TForm14& form = f.Form;
    form.RadioGroup2->Item(1)->click();
    form.RadioGroup3->Item(1)->click();
    form.ComboBox1->setEditText("6");
    form.ComboBox2->setEditText("40.00");
    form.Button8->click();
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"Index does not exists"});
    form.ComboBox1->setEditText("12");
    form.ComboBox2->setEditText("4o");
    form.Button8->click();
    QCOMPARE(f.Script.Texts().back(), std::string("Error in cutangle"));
    QCOMPARE(form.ComboBox2->currentText(), QString());
    form.ComboBox1->setEditText("12");
    form.ComboBox2->setEditText("35");
    form.Button8->click();
    QCOMPARE(f.Script.Texts().back(), std::string("Facet does not exists"));
    QCOMPARE(form.focusWidget(), static_cast<QWidget*>(form.ComboBox1));
    QVERIFY(!f.Design().ModifyMode());

    // Index 27 belongs to the mirrored group 9 ... 24, which starts at index 3: the whole group is taken.
    const std::size_t messages = f.Script.Texts().size();
    form.ComboBox1->setEditText("27");
    form.ComboBox2->setEditText("40");
    form.Button8->click();
    QCOMPARE(f.Script.Texts().size(), messages);
    QVERIFY(f.Design().ModifyMode());
    QCOMPARE(f.Design().ReplacedGroup(), 9);
    QCOMPARE(form.Edit10->text(), QString("   9"));
    QCOMPARE(form.Edit15->text(), QString("40.00"));
    QCOMPARE(form.Edit16->text(), QString("   27"));
    QVERIFY(form.Button4->isHidden());
    for (QWidget* control : std::initializer_list<QWidget*>{form.RadioGroup2, form.RadioGroup3,
                                                            form.ComboBox1, form.ComboBox2, form.Button8})
        QVERIFY(!control->isEnabled());
    QVERIFY(form.BitBtn1->isHidden());

    // A new angle for the group: cut replaces it in place and keeps the design's facet count.
    form.RadioGroup1->Item(3)->click();
    Type(form, {{"Edit15", "35"}, {"Edit16", "3"}, {"Edit11", "45"}});
    form.Button5->click();
    form.BitBtn1->click();
    QVERIFY(!f.Design().ModifyMode());
    QCOMPARE(f.Design().FacetCount, 32);
    for (int k = 9; k <= 24; ++k)
        QVERIFY(std::fabs(f.Design().FacetAngle(k) - 35) < FileRounding);
    QVERIFY(std::fabs(f.Design().FacetAngle(25) - 30) < FileRounding);
}

void AddFacetsDialogTest::modifyModeFromOutsideShowsTheGroup() {
    AddFacetsFixture f;
    CutByAngle(f.Design(), 90, 0, 50);
    CutByAngle(f.Design(), 40, 0, 45);
    f.Design().Recompute();
    f.Design().EnterModifyMode(9);
    f.Open();
    QCOMPARE(f.Form.windowTitle(), QString("Modify facet group"));
    QVERIFY(!f.Form.RadioGroup2->isEnabled() && !f.Form.RadioGroup3->isEnabled());
    QVERIFY(f.Form.Button4->isHidden());
    QCOMPARE(f.Form.Edit10->text(), QString("   9"));
    QCOMPARE(f.Form.Edit15->text(), QString("40.00"));
    QCOMPARE(f.Form.Edit16->text(), QString("    0"));
    QCOMPARE(f.Form.Edit11->text(), QString(" 45.00"));
    QCOMPARE(f.Window->Display().SelectedFacet, 9);
    QVERIFY(f.Window->Display().FacetSelected);
    // The window's menu refresh names the dialog after what it does.
    f.Window->RefreshMenus();
    QCOMPARE(f.Form.windowTitle(), QString("Change facet group"));
    f.Design().LeaveModifyMode();
    f.Window->RefreshMenus();
    QCOMPARE(f.Form.windowTitle(), QString("Add facet group"));
    // Three corners of facet 9 are in the point rows, each on the facet's plane.
    for (int i = 0; i < 3; ++i) {
        Vector3 p;
        p.x = f.Form.PointEdits[i][0]->text().toDouble();
        p.y = f.Form.PointEdits[i][1]->text().toDouble();
        p.z = f.Form.PointEdits[i][2]->text().toDouble();
        QVERIFY(std::fabs(Dot(f.Design().Facets[9].Normal, p) - f.Design().Dist(9)) < 0.02L);
    }
}

void AddFacetsDialogTest::cutFollowsADesignChangedMeanwhile() {
    AddFacetsFixture f;
    CutByAngle(f.Design(), 90, 0, 50);
    CutByAngle(f.Design(), 40, 0, 45);
    f.Design().Recompute();
    f.Open();
    QCOMPARE(f.Form.Edit10->text(), QString("  17"));
    f.Form.RadioGroup1->Item(3)->click();
    Type(f.Form, {{"Edit15", "30"}, {"Edit16", "6"}, {"Edit11", "40"}});
    f.Form.Button5->click();
    // While the dialog waited (for a click, say) the last group was undone.
    f.Design().DeleteLastGroup();
    f.Design().Recompute();
    f.Form.BitBtn1->click();
    QCOMPARE(f.Design().FacetCount, 16);
    for (int k = 9; k <= 16; ++k)
        QVERIFY(std::fabs(f.Design().FacetAngle(k) - 30) < FileRounding);
}

void AddFacetsDialogTest::fullFacetTableIsReportedAndNothingCut() {
    AddFacetsFixture f;
    CutByAngle(f.Design(), 90, 0, 50);
    f.Design().Recompute();
    // Fill the table up to fewer free slots than the 8 facets of a group: copies of the girdle in
    // 400 tiers of different depth (the drawing groups them; nothing is recomputed).
    TGem& design = f.Design();
    for (int k = 9; k <= MaxFacets - 4; ++k) {
        design.Facets[k] = design.Facets[1 + (k - 1) % 8];
        design.Facets[k].Dist = -50 - (k % 400) * 0.05L;
        design.Facets[k].CornerCount = 0;
    }
    design.FacetCount = MaxFacets - 4;
    f.Open();
    f.Form.RadioGroup1->Item(3)->click();
    Type(f.Form, {{"Edit15", "40"}, {"Edit16", "0"}, {"Edit11", "40"}});
    f.Form.Button5->click();
    f.Form.BitBtn1->click();
    QCOMPARE(f.Script.Texts().size(), std::size_t(1));
    QVERIFY(QString::fromStdString(f.Script.Texts()[0]).contains("Facets"));
    QCOMPARE(f.Design().FacetCount, MaxFacets - 4);
    QVERIFY(f.Form.isVisible());
}

LAPIDRAW_UI_TEST_MAIN(AddFacetsDialogTest)
#include "add_facets_dialog_test.moc"
