// "Measurement" through the main window: clicks on the drawn girdle, the message lines it logs, OK as one
// undo step, Cancel back to the lines as they were, and the girdle outline hidden while it is open.
#include "dialogs/measurement_dialog.h"
#include "tests/support/design_builders.h"
#include "tests/ui/add_facets_support.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QPushButton>
#include <QTemporaryDir>
#include <array>

namespace {
// A crown of the given symmetry with girdle facets at distance 50 only.
std::unique_ptr<TGem> GirdleOnly(int parts, int systemIndex) {
    auto gem = NewGem('c', parts, systemIndex, false);
    CutByAngle(*gem, 90, 0, 50);
    return gem;
}

using Work = std::function<void(TForm16&)>;

// Opens "Measurement" from its menu command and works in it while it is shown.
void InMeasurement(Tstartform& w, const Work& work) {
    InDialog<TForm16>(w, "CcdandDcf1", work);
}

// Presses a mouse button on the design point (x, y) of the sheet; work runs in the dialog that comes back.
void ClickOnSheet(Tstartform& w, Real x, Real y, Qt::MouseButton button, const Work& work) {
    const QPoint at = SheetPixel(w, x, y);
    MoveMouse(w, at);
    WhileModal([&] { PressMouse(w, at, button); },
               [&](QDialog& dialog) { work(static_cast<TForm16&>(dialog)); });
}

using Lines = std::array<std::string, MessageLineCount + 1>;
Lines MessageLines(const TGem& design) {
    Lines lines;
    for (int k = 1; k <= MessageLineCount; ++k)
        lines[k] = design.MessageLine(k);
    return lines;
}

// Round brilliant: the girdle edge of the facet at index 3 and the girdle corner at index 0.
constexpr Real EdgeX = 49.2L, EdgeY = 9.6L;
constexpr Real CornerX = 50.98L, CornerY = 0;

// A Dcf and a ccd measurement on the round brilliant, ending with the given button.
void MeasureBoth(Tstartform& w, QPushButton* TForm16::*end) {
    InMeasurement(w, [](TForm16& form) { form.Button2->click(); });
    QVERIFY(AwaitsClick(w, ClickKind::Edge));
    ClickOnSheet(w, EdgeX, EdgeY, Qt::LeftButton, [](TForm16& form) { form.Button1->click(); });
    QVERIFY(AwaitsClick(w, ClickKind::Point));
    ClickOnSheet(w, CornerX, CornerY, Qt::LeftButton, [end](TForm16& form) { (form.*end)->click(); });
}
} // namespace

class MeasurementTest : public QObject {
    Q_OBJECT

  private slots:
    void dcfAndCcdOnRoundBrilliantAreOneStep();
    void fivePartsOfferNoCcdAndNoDcfRatio();
    void rightClickAfterRequestDoesNothing();
    void clickBesideTheGirdleIsRefused();
    void cancelAfterTwoMeasurementsRestoresTheLines();
    void outlineHiddenWhileOpenAndShownAgain();
};

void MeasurementTest::dcfAndCcdOnRoundBrilliantAreOneStep() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    const int step = w.Changes().History().Current();
    MeasureBoth(w, &TForm16::BitBtn1);
    QVERIFY(f.Script.Messages.empty());
    // W is the width across the girdle corners, 100 / cos(11.25º); Dcf 100, Lcf 100 tan(11.25º).
    QCOMPARE(w.Design().MessageLine(1), std::string("For Index:  3 Dcf/W = 0.981;  Lcf/W = 0.195"));
    const std::string ccd = w.Design().MessageLine(2);
    QVERIFY2(ccd.rfind("CCD", 0) == 0 && ccd.ends_with("=1.000 x W"), ccd.c_str());
    QCOMPARE(w.Design().MessageLine(4), ccd);
    QCOMPARE(w.Changes().History().Current(), step + 1);
    QVERIFY(!w.Display().Markers.Shown(1)); // OK hides the click marker
}

void MeasurementTest::fivePartsOfferNoCcdAndNoDcfRatio() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, GirdleOnly(5, 120));
    InMeasurement(w, [](TForm16& form) {
        QVERIFY(!form.Button1->isEnabled());
        QVERIFY(form.Button2->isEnabled());
        form.Button2->click();
    });
    ClickOnSheet(w, 50, 10, Qt::LeftButton, [](TForm16& form) { form.BitBtn1->click(); });
    const std::string text = w.Design().MessageLine(1);
    QVERIFY2(text.rfind("For Index:  0 Lcf/W = ", 0) == 0, text.c_str());
    QVERIFY(text.find("Dcf/W") == std::string::npos);
}

void MeasurementTest::rightClickAfterRequestDoesNothing() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    InMeasurement(w, [](TForm16& form) { form.Button2->click(); });
    bool shownAgain = false;
    ClickOnSheet(w, EdgeX, EdgeY, Qt::RightButton, [&](TForm16& form) {
        shownAgain = form.isVisible();
        QCOMPARE(w.Design().MessageLine(1), std::string());
        form.BitBtn1->click();
    });
    QVERIFY(shownAgain);
    QVERIFY(!ClickOutstanding(w));
    QCOMPARE(MessageLines(w.Design()), Lines{});
    QCOMPARE(f.Script.Beeps, 0);
}

void MeasurementTest::clickBesideTheGirdleIsRefused() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    // Far beside the stone no girdle corner is near: the pick falls on a corner of the table.
    InMeasurement(w, [](TForm16& form) { form.Button1->click(); });
    bool open = false;
    ClickOnSheet(w, 0, 160, Qt::LeftButton, [&](TForm16& form) { open = form.isVisible(); });
    QVERIFY(open);
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"Not clicked on perimeter point"});
    QCOMPARE(f.Script.Beeps, 1);
    QCOMPARE(MessageLines(w.Design()), Lines{});
}

void MeasurementTest::cancelAfterTwoMeasurementsRestoresTheLines() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    // One measurement kept before, so that the lines to come back are not empty.
    InMeasurement(w, [](TForm16& form) { form.Button2->click(); });
    ClickOnSheet(w, -EdgeX, EdgeY, Qt::LeftButton, [](TForm16& form) { form.BitBtn1->click(); });
    const Lines before = MessageLines(w.Design());
    QVERIFY(!before[1].empty());
    const int step = w.Changes().History().Current();

    // Cance&l, Escape and the title bar's close all drop the two measurements.
    for (QPushButton* TForm16::*end : {&TForm16::BitBtn2, static_cast<QPushButton * TForm16::*>(nullptr)}) {
        InMeasurement(w, [](TForm16& form) { form.Button2->click(); });
        ClickOnSheet(w, EdgeX, EdgeY, Qt::LeftButton, [](TForm16& form) { form.Button1->click(); });
        ClickOnSheet(w, CornerX, CornerY, Qt::LeftButton, [&](TForm16& form) {
            QVERIFY(MessageLines(w.Design()) != before);
            QVERIFY(w.Display().Markers.Shown(1));
            if (end)
                (form.*end)->click();
            else
                QTest::keyClick(&form, Qt::Key_Escape);
        });
        QCOMPARE(MessageLines(w.Design()), before);
        QCOMPARE(w.Changes().History().Current(), step);
        QVERIFY(!w.Display().Markers.Shown(1));
        QCOMPARE(w.Display().SelectedFacet, NoneFound);
    }
}

void MeasurementTest::outlineHiddenWhileOpenAndShownAgain() {
    QTemporaryDir folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    QVERIFY(w.Design().SaveOutline(folder.filePath("girdle.otl").toStdString()));
    w.RefreshMenus();
    w.Action("ShowOutline1")->trigger();
    QVERIFY(w.Checked("ShowOutline1") && w.Design().HoldsOutline());

    for (QPushButton* TForm16::*end : {&TForm16::BitBtn1, &TForm16::BitBtn2}) {
        InMeasurement(w, [&](TForm16& form) {
            QVERIFY(!w.Checked("ShowOutline1"));
            QVERIFY(!w.Design().HoldsOutline());
            QVERIFY(form.OutlineWasHidden);
            (form.*end)->click();
        });
        QVERIFY(w.Checked("ShowOutline1"));
        QVERIFY(w.Design().HoldsOutline());
    }
    QVERIFY(f.Script.Messages.empty());

    // Without the outline shown, nothing is switched on.
    w.Action("ShowOutline1")->trigger();
    InMeasurement(w, [](TForm16& form) { form.BitBtn1->click(); });
    QVERIFY(!w.Checked("ShowOutline1"));
}

LAPIDRAW_UI_TEST_MAIN(MeasurementTest)
#include "measurement_test.moc"
