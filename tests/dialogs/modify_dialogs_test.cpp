// The dialogs that change the whole design, on a fake host: the number rules of their steps, the
// clicked heights, the preview pattern (steps, OK, Cancel, Escape) and what each activation resets.
#include "dialogs/culet_dialog.h"
#include "dialogs/new_symmetry_dialog.h"
#include "dialogs/radio_group.h"
#include "dialogs/resize_dialog.h"
#include "dialogs/rotate_dialog.h"
#include "dialogs/shift_dialog.h"
#include "dialogs/stretch_dialog.h"
#include "dialogs/table_dialog.h"
#include "gem/numtext.h"
#include "tests/dialogs/fake_host.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_test_main.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <cmath>

namespace {
constexpr Real Tolerance = 1e-9L;

void Press(UpDown* control, UpDown::Arrow arrow) {
    (arrow == UpDown::Arrow::Up ? control->UpButton : control->DownButton)->click();
}

// Presses by letter: F / f the fine arrows up / down, C / c the coarse ones.
void PressAll(UpDown* fine, UpDown* coarse, const QString& presses) {
    for (QChar p : presses)
        Press(p.toLower() == 'f' ? fine : coarse, p.isUpper() ? UpDown::Arrow::Up : UpDown::Arrow::Down);
}

QString Fixed(Real v, int width, int decimals) {
    return QString::fromStdString(fixed(v, width, decimals));
}

// An eight-sided prism, 10 from the axis, cut to the height h above (crown) or below (pavilion) the
// girdle plane: its corners lie at z = 0 and at z = +h or -h.
std::unique_ptr<TGem> Prism(char type, Real h) {
    auto gem = NewGem(type, 8, 96, false);
    CutByAngle(*gem, 90, 0, 10);
    CutHorizontal(*gem, type == 'c' ? h : -h);
    return gem;
}

// Everything of the design file but its first line, which carries the time of writing.
std::string DesignText(const TGem& gem) {
    const std::string text = gem.DesignFileText();
    return text.substr(text.find('\n') + 1);
}

TBoundingPlaneForm& HeightForm(FakeHost& host, bool culet) {
    if (culet) return DialogOf<TForm2>(host);
    return DialogOf<TForm8>(host);
}
} // namespace

class ModifyDialogsTest : public QObject {
    Q_OBJECT

  private slots:
    void heightSteps_data();
    void heightSteps();
    void clickedHeights_data();
    void clickedHeights();
    void culetStepsNeedACuletFacet();
    void factorSteps_data();
    void factorSteps();
    void stretchMakesAnOval();
    void previewEndsWithOneCommitOrARestore();
    void upDownAnswersTheKeyboard();
    void shiftMovesOnlySlopedPlanes();
    void rotateIncrements_data();
    void rotateIncrements();
    void symmetryInput_data();
    void symmetryInput();
};

void ModifyDialogsTest::heightSteps_data() {
    QTest::addColumn<bool>("culet");
    QTest::addColumn<double>("start");
    QTest::addColumn<QString>("presses");
    QTest::addColumn<double>("expected");
    QTest::newRow("table 5.05, down 0.1: refused") << false << 5.05 << "f" << 5.05;
    QTest::newRow("table 5.15, down 0.1") << false << 5.15 << "f" << 5.05;
    QTest::newRow("table 6, down 1: 5 refused") << false << 6.0 << "c" << 6.0;
    QTest::newRow("table 6.5, down 1") << false << 6.5 << "c" << 5.5;
    QTest::newRow("table 17, up 1, up 0.1, down 0.1") << false << 17.0 << "CFf" << 18.0;
    QTest::newRow("culet 20, up 0.1") << true << 20.0 << "F" << 20.1;
    QTest::newRow("culet 5.09, down 0.1: refused") << true << 5.09 << "f" << 5.09;
    QTest::newRow("culet 7, down 1 twice") << true << 7.0 << "cc" << 6.0;
}

void ModifyDialogsTest::heightSteps() {
    QFETCH(bool, culet);
    QFETCH(double, start);
    QFETCH(QString, presses);
    QFETCH(double, expected);
    FakeHost host;
    host.Gem = culet ? RoundBrilliantPavilion() : RoundBrilliantCrown();
    host.Gem->SetBoundingPlane(start);
    TBoundingPlaneForm& form = HeightForm(host, culet);
    form.show();
    QCOMPARE(form.Edit1->text(), Fixed(start, 6, 2));
    PressAll(form.UpDown1, form.UpDown2, presses);
    QVERIFY(std::fabs(std::fabs(host.Gem->Dist(-1)) - expected) < Tolerance);
    QCOMPARE(form.Edit1->text(), Fixed(expected, 6, 2));
    QCOMPARE(host.Repaints, presses.size()); // every step is shown, refused or not
    QCOMPARE(host.Finished + host.Cancelled, 0);
}

void ModifyDialogsTest::clickedHeights_data() {
    QTest::addColumn<char>("type");
    QTest::addColumn<bool>("culet");
    QTest::addColumn<bool>("edge");
    QTest::addColumn<bool>("ctrl");
    QTest::addColumn<bool>("shift");
    QTest::addColumn<double>("x");
    QTest::addColumn<double>("expected");
    // The prisms' corners: (10, 4.14) at z = 0 and at z = +-3.
    QTest::newRow("table, corner below the girdle: 1")
        << 'p' << false << false << false << true << 10.0 << 1.0;
    QTest::newRow("table, corner above the girdle") << 'c' << false << false << false << true << 10.0 << 3.0;
    QTest::newRow("table, corner on the girdle: 1") << 'c' << false << false << true << false << 10.0 << 1.0;
    QTest::newRow("culet, corner below the girdle") << 'p' << true << false << false << true << 10.0 << 3.0;
    QTest::newRow("culet, edge far off: unchanged") << 'p' << true << true << false << false << 900.0 << 6.0;
}

void ModifyDialogsTest::clickedHeights() {
    QFETCH(char, type);
    QFETCH(bool, culet);
    QFETCH(bool, edge);
    QFETCH(bool, ctrl);
    QFETCH(bool, shift);
    QFETCH(double, x);
    QFETCH(double, expected);
    FakeHost host;
    host.Gem = Prism(type, 3);
    if (x > 100) host.Gem->SetBoundingPlane(6);
    TBoundingPlaneForm& form = HeightForm(host, culet);
    form.show();
    (edge ? form.Button2 : form.Button1)->click();
    QVERIFY(!form.isVisible());
    QCOMPARE(host.Cancelled, 0); // asking for a click closes the dialog, but keeps the preview
    QCOMPARE(host.Requests.back().Kind, edge ? ClickKind::Edge : ClickKind::Point);
    QCOMPARE(host.Requests.back().Prompt, std::string());
    host.NextClick = SheetClick{ClickKind::Point, x, 4.14L, ctrl, shift};
    form.show();
    QVERIFY(std::fabs(std::fabs(host.Gem->Dist(-1)) - expected) < Tolerance);
    QCOMPARE(form.Edit1->text(), Fixed(expected, 6, 2));
    QCOMPARE(host.Shown.Markers.Shown(1), x < 100);
    if (x < 100) QVERIFY(std::fabs(host.Shown.Markers.X(1) - 10) < 1e-6L);
    form.show(); // the click is taken once
    QCOMPARE(form.Edit1->text(), Fixed(expected, 6, 2));
}

void ModifyDialogsTest::culetStepsNeedACuletFacet() {
    FakeHost host;
    host.Gem = RoundBrilliantPavilion(); // pointed: the bottom plane touches nothing
    TForm2& form = DialogOf<TForm2>(host);
    form.show();
    QVERIFY(!form.UpDown1->isEnabled() && !form.UpDown2->isEnabled());
    QCOMPARE(form.focusWidget(), form.Button2);
    form.Button1->click();
    host.NextClick = SheetClick{ClickKind::Point, 50, 0, false, true}; // a corner of the mains, below
    form.show();
    QVERIFY(host.Gem->HasTable());
    QVERIFY(form.UpDown1->isEnabled() && form.UpDown2->isEnabled());
    QVERIFY(form.windowFlags().testFlag(Qt::CustomizeWindowHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
}

void ModifyDialogsTest::factorSteps_data() {
    QTest::addColumn<QString>("presses");
    QTest::addColumn<double>("factor");
    QTest::newRow("coarse up, up, down") << "CCc" << 1.1;
    QTest::newRow("coarse down from 0.10 stays") << QString(10, 'c') << 0.1;
    QTest::newRow("fine down from 0.01 stays") << QString(100, 'f') << 0.01;
    QTest::newRow("fine below the coarse floor") << "cccccccccf" << 0.09;
    QTest::newRow("coarse down from 0.11 gives 0.10") << "cccccccccFc" << 0.1;
    QTest::newRow("fine up twice") << "FF" << 1.02;
}

void ModifyDialogsTest::factorSteps() {
    QFETCH(QString, presses);
    QFETCH(double, factor);
    FakeHost host;
    host.Gem = RoundBrilliantCrown();
    const Real table = host.Gem->Dist(-1), main = host.Gem->Dist(17);
    TForm11& form = DialogOf<TForm11>(host);
    form.show();
    QCOMPARE(form.Edit1->text(), QString("  1.00"));
    PressAll(form.UpDown1, form.UpDown2, presses);
    QCOMPARE(form.Edit1->text(), Fixed(factor, 6, 2));
    QVERIFY(std::fabs(host.Gem->Dist(-1) / table - factor) < 1e-6L);
    QVERIFY(std::fabs(host.Gem->Dist(17) / main - factor) < 1e-6L);
}

void ModifyDialogsTest::stretchMakesAnOval() {
    FakeHost host;
    host.Gem = RoundBrilliantCrown();
    TForm12& form = DialogOf<TForm12>(host);
    form.show();
    PressAll(form.UpDown1, form.UpDown2, "CCFf");
    QCOMPARE(form.Edit1->text(), QString("  1.20"));
    QVERIFY(std::fabs(host.Gem->L() / host.Gem->W() - 1.2L) < 1e-6L);
    QCOMPARE(host.Gem->Parts, 1);
    QVERIFY(form.BitBtn2->isDefault() && !form.BitBtn1->isDefault());
}

void ModifyDialogsTest::previewEndsWithOneCommitOrARestore() {
    FakeHost host;
    host.Gem = RoundBrilliantCrown();
    QVERIFY(host.Changes().History().Record(*host.Gem));
    const std::string before = DesignText(*host.Gem);
    TForm11& form = DialogOf<TForm11>(host);

    form.show();
    PressAll(form.UpDown1, form.UpDown2, "CCf");
    form.BitBtn2->click();
    QCOMPARE(host.Cancelled, 1);
    QVERIFY(!form.isVisible());
    QCOMPARE(DesignText(*host.Gem), before);

    // Escape cancels as well; the factor starts at 1 again on every activation.
    form.show();
    QCOMPARE(form.Edit1->text(), QString("  1.00"));
    PressAll(form.UpDown1, form.UpDown2, "c");
    QTest::keyClick(&form, Qt::Key_Escape);
    QCOMPARE(host.Cancelled, 2);
    QCOMPARE(DesignText(*host.Gem), before);

    form.show();
    PressAll(form.UpDown1, form.UpDown2, "CC");
    form.BitBtn1->click();
    QCOMPARE(host.Finished, 1);
    QCOMPARE(host.Changes().History().Current(), 1);
    QVERIFY(DesignText(*host.Gem) != before);
}

void ModifyDialogsTest::upDownAnswersTheKeyboard() {
    FakeHost host;
    host.Gem = RoundBrilliantCrown();
    TForm11& form = DialogOf<TForm11>(host);
    form.show();
    QCOMPARE(form.UpDown1->Tag(), 1);
    QCOMPARE(form.UpDown2->Tag(), 10);
    form.UpDown2->setFocus();
    QTest::keyClick(form.UpDown2, Qt::Key_Up);
    QTest::keyClick(form.UpDown2, Qt::Key_Up);
    QTest::keyClick(form.UpDown2, Qt::Key_Down);
    QCOMPARE(form.Edit1->text(), QString("  1.10"));
    QCOMPARE(form.UpDown2->Position(), 0); // only the clicks count
    // Tab goes round the step controls, then OK and Cancel.
    QStringList order;
    for (QWidget* w = form.nextInFocusChain(); w != &form; w = w->nextInFocusChain())
        if (w->focusPolicy() != Qt::NoFocus && w->isEnabled()) order << w->objectName();
    while (order.front() != "UpDown1")
        order.move(0, order.size() - 1);
    QCOMPARE(order, QStringList({"UpDown1", "UpDown2", "BitBtn1", "BitBtn2"}));
    QTest::keyClick(form.UpDown2, Qt::Key_Return); // no default button: nothing happens
    QVERIFY(form.isVisible());
    form.reject();
}

void ModifyDialogsTest::shiftMovesOnlySlopedPlanes() {
    FakeHost host;
    host.Gem = RoundBrilliantCrown();
    const auto before = host.Gem->Backup();
    TForm13& form = DialogOf<TForm13>(host);
    form.show();
    PressAll(form.UpDown1, form.UpDown2, "FFc"); // +1 +1 -5
    const TGem& gem = *host.Gem;
    for (int i = -1; i <= gem.FacetCount; ++i) {
        const Real nz = before->NormalZ(i);
        const Real moved = std::fabs(nz) > 0.01L && i != 0 ? -3 * nz : 0;
        QVERIFY2(std::fabs(gem.Dist(i) - (before->Dist(i) + moved)) < Tolerance,
                 qPrintable(QString::number(i)));
    }
    QCOMPARE(host.Repaints, 3);
}

void ModifyDialogsTest::rotateIncrements_data() {
    QTest::addColumn<QString>("increment");
    QTest::addColumn<int>("presses"); // > 0 clockwise, < 0 anti-clockwise
    QTest::addColumn<double>("index");
    QTest::addColumn<QString>("message");
    QTest::newRow("-100 clockwise on 96: 92 back") << "-100" << 1 << 4.0 << "";
    QTest::newRow("-100 anti-clockwise") << "-100" << -1 << 92.0 << "";
    QTest::newRow("24 clockwise twice") << "24" << 2 << 48.0 << "";
    QTest::newRow("200 anti-clockwise") << "200" << -1 << 8.0 << "";
    QTest::newRow("a whole turn") << "96" << 1 << 0.0 << "";
    QTest::newRow("0 does nothing") << "0" << 1 << 0.0 << "";
    QTest::newRow("not a whole number") << "1.5" << 1 << 0.0 << "Error in index increment";
    QTest::newRow("empty") << "" << -1 << 0.0 << "Error in index increment";
}

void ModifyDialogsTest::rotateIncrements() {
    QFETCH(QString, increment);
    QFETCH(int, presses);
    QFETCH(double, index);
    QFETCH(QString, message);
    FakeHost host;
    host.Gem = RoundBrilliantCrown();
    TForm22& form = DialogOf<TForm22>(host);
    QCOMPARE(form.Edit1->text(), QString("1"));
    form.show();
    QCOMPARE(form.Edit1->text(), QString(" 24"));
    form.Edit1->setText(increment);
    for (int k = 0; k < std::abs(presses); ++k)
        (presses > 0 ? form.Button1 : form.Button2)->click();
    QVERIFY(std::fabs(host.Gem->Index(17) - index) < 1e-6L); // the first main, cut at index 0
    QCOMPARE(host.Script.Texts().empty() ? QString() : QString::fromStdString(host.Script.Texts().back()),
             message);
    QVERIFY(form.isVisible());
}

void ModifyDialogsTest::symmetryInput_data() {
    QTest::addColumn<QString>("parts");
    QTest::addColumn<int>("mirrorItem");
    QTest::addColumn<QString>("message");
    QTest::newRow("5 does not divide 96") << "5" << 0 << "system index must be a multiple of parts";
    QTest::newRow("zero") << "0" << 0 << "Number of parts must be positive";
    QTest::newRow("negative") << "-12" << 1 << "Number of parts must be positive";
    QTest::newRow("not a number") << "12a" << 0 << "Error in number of parts";
    QTest::newRow("12 without mirror") << "12" << 1 << "";
    QTest::newRow("3 with mirror, blanks around") << " 3 " << 0 << "";
}

void ModifyDialogsTest::symmetryInput() {
    QFETCH(QString, parts);
    QFETCH(int, mirrorItem);
    QFETCH(QString, message);
    FakeHost host;
    host.Gem = RoundBrilliantCrown();
    host.Gem->Parts = 4; // the symmetry of the next group differs from the design's
    host.Gem->Mirror = false;
    const std::string before = DesignText(*host.Gem);
    TForm3& form = DialogOf<TForm3>(host);
    form.show();
    QCOMPARE(form.Edit1->text(), QString("  4"));
    QCOMPARE(form.Edit2->text(), QString("  4"));
    QCOMPARE(form.RadioGroup1->ItemIndex(), 1);
    form.Button1->click(); // the design's own symmetry
    QCOMPARE(form.Edit2->text(), QString("  8"));
    QCOMPARE(form.RadioGroup1->ItemIndex(), 0);
    form.Edit2->setText(parts);
    form.RadioGroup1->Item(mirrorItem)->click();
    form.BitBtn1->click();
    if (!message.isEmpty()) {
        QCOMPARE(QString::fromStdString(host.Script.Texts().back()), message);
        QVERIFY(form.isVisible());
        QCOMPARE(form.focusWidget(), form.Edit2);
        QCOMPARE(host.Gem->Parts, 4);
        form.BitBtn2->click();
    } else {
        QVERIFY(!form.isVisible());
        QCOMPARE(host.Gem->Parts, parts.trimmed().toInt());
        QCOMPARE(host.Gem->Mirror, mirrorItem == 0);
    }
    QVERIFY(!form.isVisible());
    QCOMPARE(host.Finished + host.Cancelled, 0);
    QCOMPARE(host.Changes().History().Current(), -1);
    QCOMPARE(DesignText(*host.Gem), before); // the stone is as it was
}

LAPIDRAW_UI_TEST_MAIN(ModifyDialogsTest)
#include "modify_dialogs_test.moc"
