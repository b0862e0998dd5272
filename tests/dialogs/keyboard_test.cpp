// Keyboard conventions in the dialogs: an Alt+letter without a target never types, arrow keys choose in
// a radio group, and the dialogs run on a fake host, linked without the main window.
#include "dialogs/add_facets_dialog.h"
#include "dialogs/new_design_dialog.h"
#include "dialogs/radio_group.h"
#include "platform/keyboard_conventions.h"
#include "tests/dialogs/fake_host.h"
#include "tests/ui/ui_test_main.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class KeyboardTest : public QObject {
    Q_OBJECT

  private slots:
    void unboundAltLetterNeverTypes();
    void arrowKeysChooseInARadioGroup();
    void newGemCommitsOneStepThroughTheHost();
};

void KeyboardTest::unboundAltLetterNeverTypes() {
    FakeHost host;
    KeyboardConventions keyboard(host.Script);
    TForm14& form = DialogOf<TForm14>(host);
    host.Shown.DialogReset = true;
    form.show();
    QApplication::setActiveWindow(&form);
    const QList<QLineEdit*> fields = form.findChildren<QLineEdit*>();
    for (QLineEdit* field : fields) {
        if (!field->isEnabled() || !field->isVisible()) continue;
        field->setFocus();
        const QString before = field->text();
        for (Qt::Key key : {Qt::Key_Z, Qt::Key_Q, Qt::Key_W, Qt::Key_J})
            QTest::keyClick(field, key, Qt::AltModifier);
        QCOMPARE(field->text(), before);
        // A plain letter still types.
        QTest::keyClick(field, Qt::Key_Z);
        QCOMPARE(field->text(), before + "z");
    }
    QVERIFY(host.Script.Beeps >= 4);
    QVERIFY(form.isVisible());
}

void KeyboardTest::arrowKeysChooseInARadioGroup() {
    FakeHost host;
    TForm14& form = DialogOf<TForm14>(host);
    host.Shown.DialogReset = true;
    form.show();
    QApplication::setActiveWindow(&form);
    form.RadioGroup1->Item(0)->setFocus();
    QTest::keyClick(form.RadioGroup1->Item(0), Qt::Key_Down);
    QCOMPARE(form.RadioGroup1->ItemIndex(), 1);
    QVERIFY(form.RadioGroup1->Item(1)->hasFocus());
    QVERIFY(form.Edit2->isEnabled()); // the method's own handler ran: two points
    QTest::keyClick(form.RadioGroup1->Item(1), Qt::Key_Down);
    QCOMPARE(form.RadioGroup1->ItemIndex(), 2);
    QTest::keyClick(form.RadioGroup1->Item(2), Qt::Key_Up);
    QCOMPARE(form.RadioGroup1->ItemIndex(), 1);
    // A disabled item is passed over.
    form.RadioGroup1->Item(2)->setEnabled(false);
    QTest::keyClick(form.RadioGroup1->Item(1), Qt::Key_Down);
    QCOMPARE(form.RadioGroup1->ItemIndex(), 3);
    QTest::keyClick(form.RadioGroup1->Item(3), Qt::Key_Up);
    QCOMPARE(form.RadioGroup1->ItemIndex(), 1);
}

void KeyboardTest::newGemCommitsOneStepThroughTheHost() {
    FakeHost host;
    host.File = "/somewhere/old.lfx";
    host.Shown.SelectedFacet = 3;
    TForm6& form = DialogOf<TForm6>(host);
    form.Preset("64", "4", "0", false);
    form.button1->click();
    QVERIFY(host.Script.Messages.empty());
    QCOMPARE(host.Finished, 1);
    QCOMPARE(host.Gem->SystemIndex, 64);
    QCOMPARE(host.Changes().History().Current(), 0); // the new design is the first undo step
    QCOMPARE(host.File, std::string());
    QCOMPARE(host.Shown.SelectedFacet, NoneFound);

    form.Preset("64", "5", "0", false); // 5 does not divide 64
    form.button1->click();
    QCOMPARE(host.Script.Texts().back(), std::string("system index must be a multiple of parts"));
    QCOMPARE(host.Finished, 1);
    QCOMPARE(host.Gem->Parts, 4);
}

LAPIDRAW_UI_TEST_MAIN(KeyboardTest)
#include "keyboard_test.moc"
