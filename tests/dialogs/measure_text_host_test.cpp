// "Measurement" and "Text editor" on the fake host: what they ask of the window, and nothing of app/.
#include "dialogs/measurement_dialog.h"
#include "dialogs/text_editor_dialog.h"
#include "tests/dialogs/fake_host.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_test_main.h"

#include <QLineEdit>
#include <QPushButton>

class MeasureTextHostTest : public QObject {
    Q_OBJECT

  private slots:
    void clickRequestsClearAndOutlineToggles();
    void namesAreLimitedToo();
};

void MeasureTextHostTest::clickRequestsClearAndOutlineToggles() {
    FakeHost host;
    host.Gem->Restore(*RoundBrilliantCrown());
    host.Shown.ShowOutline = true;
    host.Shown.DialogReset = true;
    TForm16& form = DialogOf<TForm16>(host);
    form.show();
    QCOMPARE(host.OutlineToggles, 1);
    form.Button2->click();
    host.NextClick = SheetClick{ClickKind::Edge, 49.2L, 9.6L};
    form.show(); // the window shows the dialog again after the press
    QVERIFY(!host.Gem->MessageLine(1).empty());
    form.Button3->click(); // Clea&r
    QCOMPARE(host.Gem->MessageLine(1), std::string());
    QCOMPARE(host.Gem->MessageNext, 1);
    form.Button1->click();
    QCOMPARE(host.Requests.size(), std::size_t(2));
    QCOMPARE(host.Requests[0].Kind, ClickKind::Edge);
    QCOMPARE(host.Requests[0].Prompt, std::string("Click on girdle of corner facet"));
    QCOMPARE(host.Requests[1].Kind, ClickKind::Point);
    QCOMPARE(host.Requests[1].Prompt, std::string("Click on point of corner facet"));
    form.show(); // no DialogReset: nothing toggled again
    form.BitBtn1->click();
    QCOMPARE(host.OutlineToggles, 2);
    QCOMPARE(host.Finished, 1);
}

void MeasureTextHostTest::namesAreLimitedToo() {
    FakeHost host;
    host.TextWidth = 60;
    TForm7& form = DialogOf<TForm7>(host);
    form.show();
    for (QLineEdit* name : {form.Edit20, form.Edit21}) {
        name->setText(QString("W").repeated(40));
        QVERIFY(name->fontMetrics().horizontalAdvance(name->text()) <= 60);
        QVERIFY(!name->text().isEmpty());
    }
}

LAPIDRAW_UI_TEST_MAIN(MeasureTextHostTest)
#include "measure_text_host_test.moc"
