// "Define New Gem": the validation messages, their order and focus, and the new design it makes.
#include "dialogs/new_design_dialog.h"
#include "dialogs/radio_group.h"
#include "tests/platform/golden.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

class NewGemDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void controlsAndDefaults();
    void refusesInput_data();
    void refusesInput();
    void acceptsSmallestSystemIndex();
    void bringsNegativeOffsetIntoRange();
    void newCommandPresetsAndCancelKeepsDesign();
    void newCommandMakesPavilionThroughTheDialog();
};

void NewGemDialogTest::controlsAndDefaults() {
    std::string missingFont;
    UseFixedSheetFont(missingFont);
    WindowFixture f;
    TForm6& form = DialogOf<TForm6>(*f.Window);
    // Captions, default values and layout as the user sees them.
    const GoldenResult look = CompareLookInFixedFont(form.grab().toImage(), "new_gem_dialog", missingFont);
    QVERIFY2(look.Matches, look.Message.c_str());
    QCOMPARE(form.windowTitle(), QString("Define New Gem"));
    QCOMPARE(form.Edit1->text(), QString("96"));
    QCOMPARE(form.Edit2->text(), QString("8"));
    QCOMPARE(form.Edit3->text(), QString("0"));
    QCOMPARE(form.RadioGroup1->ItemIndex(), 0);
    QCOMPARE(form.RadioGroup2->ItemIndex(), 0);
    QVERIFY(form.button1->isDefault());
    QCOMPARE(form.Edit1->toolTip(), QString("Negative index gives incresing indices clockwise"));
    QCOMPARE(form.Label1->toolTip(), QString("Set the system index | must be greater than 3"));
    QCOMPARE(form.Label3->toolTip(), QString("The index that goes at the bottom"));
    QCOMPARE(form.Edit2->toolTip(), QString("value must integer divide system index"));
    QCOMPARE(form.Label2->toolTip(), QString("The symmetry of the gem"));
    QVERIFY(form.font().bold());
    QCOMPARE(form.font().pixelSize(), 13);
}

void NewGemDialogTest::refusesInput_data() {
    QTest::addColumn<QString>("systemIndex");
    QTest::addColumn<QString>("parts");
    QTest::addColumn<QString>("offset");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("field");
    QTest::newRow("zero") << "0"
                          << "8"
                          << "0"
                          << "system index must not be zero"
                          << "Edit1";
    QTest::newRow("two") << "2"
                         << "1"
                         << "0"
                         << "system index is too small"
                         << "Edit1";
    QTest::newRow("minus two") << "-2"
                               << "1"
                               << "0"
                               << "system index is too small"
                               << "Edit1";
    QTest::newRow("not integer") << "9.6"
                                 << "8"
                                 << "0"
                                 << "Error in system index"
                                 << "Edit1";
    QTest::newRow("empty") << ""
                           << "8"
                           << "0"
                           << "Error in system index"
                           << "Edit1";
    QTest::newRow("parts text") << "96"
                                << "x"
                                << "0"
                                << "Error in number of parts"
                                << "Edit2";
    QTest::newRow("parts zero") << "96"
                                << "0"
                                << "0"
                                << "Number of parts must be positive"
                                << "Edit2";
    QTest::newRow("offset text") << "96"
                                 << "8"
                                 << "1,5"
                                 << "Error in offset index"
                                 << "Edit3";
    QTest::newRow("not dividing") << "96"
                                  << "7"
                                  << "0"
                                  << "system index must be a multiple of parts"
                                  << "Edit2";
    // The first failing field stops the check: a bad offset is reported before parts that don't divide.
    QTest::newRow("order") << "96"
                           << "7"
                           << "x"
                           << "Error in offset index"
                           << "Edit3";
}

void NewGemDialogTest::refusesInput() {
    QFETCH(QString, systemIndex);
    QFETCH(QString, parts);
    QFETCH(QString, offset);
    QFETCH(QString, message);
    QFETCH(QString, field);
    WindowFixture f;
    f.Window->Design().NewDesign('p', 4, 64, true, 3, true);
    f.Window->SetDesignFile("/tmp/kept.lfx");
    TForm6& form = DialogOf<TForm6>(*f.Window);
    form.show();
    form.Edit1->setText(systemIndex);
    form.Edit2->setText(parts);
    form.Edit3->setText(offset);
    QTest::mouseClick(form.button1, Qt::LeftButton);

    QCOMPARE(f.Script.Messages.size(), std::size_t{1});
    QCOMPARE(f.Script.Messages[0].BoxKind, ScriptedServices::Kind::Error);
    QCOMPARE(QString::fromStdString(f.Script.Messages[0].Text), message);
    QCOMPARE(f.Script.Beeps, 1);
    QVERIFY(form.focusWidget());
    QCOMPARE(form.focusWidget()->objectName(), field);
    QVERIFY(form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(f.Window->Design().SystemIndex, 64);
    QCOMPARE(f.Window->Design().GemType, 'p');
    QCOMPARE(f.Window->DesignFile(), std::string("/tmp/kept.lfx"));
    form.hide();
}

void NewGemDialogTest::acceptsSmallestSystemIndex() {
    WindowFixture f;
    TForm6& form = DialogOf<TForm6>(*f.Window);
    form.show();
    form.Edit1->setText(" 3 ");
    form.Edit2->setText("3");
    form.Edit3->setText("0");
    QTest::mouseClick(form.button1, Qt::LeftButton);
    QVERIFY(f.Script.Messages.empty());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY(!form.isVisible());
    QCOMPARE(f.Window->Design().SystemIndex, 3);
    QCOMPARE(f.Window->Design().Parts, 3);
}

void NewGemDialogTest::bringsNegativeOffsetIntoRange() {
    WindowFixture f;
    f.Window->SetDesignFile("/tmp/old.lfx");
    f.Window->Display().SelectedFacet = 5;
    f.Window->Design().SetTextLine(FileNameLine, "filename: old.lfx");
    TForm6& form = DialogOf<TForm6>(*f.Window);
    form.show();
    form.Edit3->setText("-5");
    form.RadioGroup1->SetItemIndex(1);
    form.RadioGroup2->SetItemIndex(1);
    QTest::mouseClick(form.button1, Qt::LeftButton);
    QVERIFY(f.Script.Messages.empty());
    const TGem& design = f.Window->Design();
    QCOMPARE(design.OffsetIndex, 91);
    QCOMPARE(design.SystemIndex, 96);
    QCOMPARE(design.Parts, 8);
    QCOMPARE(design.Mirror, false);
    QCOMPARE(design.GemType, 'p');
    QCOMPARE(design.FacetCount, 0);
    QCOMPARE(design.TextLine(FileNameLine), std::string());
    QCOMPARE(f.Window->DesignFile(), std::string());
    QCOMPARE(f.Window->windowTitle(), QString());
    QCOMPARE(f.Window->Display().SelectedFacet, NoneFound);
}

void NewGemDialogTest::newCommandPresetsAndCancelKeepsDesign() {
    WindowFixture f;
    TForm6& form = DialogOf<TForm6>(*f.Window);
    form.Edit1->setText("64");
    form.Edit2->setText("4");
    form.RadioGroup1->SetItemIndex(1);
    bool sawPreset = false;
    WhileModal([&] { f.Window->Action("New1")->trigger(); },
               [&](QDialog& dialog) {
                   QCOMPARE(&dialog, static_cast<QDialog*>(&form));
                   sawPreset = form.Edit1->text() == "96" && form.Edit2->text() == "8" &&
                               form.Edit3->text() == "0" && form.RadioGroup1->ItemIndex() == 0 &&
                               form.RadioGroup2->ItemIndex() == 0;
                   form.Edit1->setText("3");
                   QTest::mouseClick(form.button2, Qt::LeftButton);
               });
    QVERIFY(sawPreset);
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), int(QDialog::Rejected));
    QCOMPARE(f.Window->Design().SystemIndex, 96);
    QVERIFY(f.Script.Messages.empty());
}

void NewGemDialogTest::newCommandMakesPavilionThroughTheDialog() {
    WindowFixture f;
    TForm6& form = DialogOf<TForm6>(*f.Window);
    WhileModal([&] { f.Window->Action("New1")->trigger(); },
               [&](QDialog&) {
                   form.Edit1->setText("-80");
                   form.Edit2->setText("5");
                   QTest::mouseClick(form.RadioGroup2->Item(1), Qt::LeftButton);
                   QTest::mouseClick(form.button1, Qt::LeftButton);
               });
    QVERIFY(f.Script.Messages.empty());
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QCOMPARE(f.Window->Design().SystemIndex, -80);
    QCOMPARE(f.Window->Design().Parts, 5);
    QCOMPARE(f.Window->Design().GemType, 'p');
    QCOMPARE(f.Window->Design().Mirror, true);
}

LAPIDRAW_UI_TEST_MAIN(NewGemDialogTest)
#include "new_gem_dialog_test.moc"
