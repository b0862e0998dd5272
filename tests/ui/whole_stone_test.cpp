// The whole stone through the window: View > Whole stone follows the design and its partner, Scale crown
// to pavilion makes the girdles agree in one undo step, a partner of the wrong kind is refused, and the
// faceting diagram is saved and printed.
#include "dialogs/whole_stone_window.h"
#include "stone/stone_files.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
const std::string Srb = std::string(LAPIDRAW_TEST_DATA) + "/asc/SRB.asc";

// The crown of SRB imported into a window whose folder holds a copy of the file.
struct ImportedCrown {
    QTemporaryDir Dir;
    WindowFixture Fixture;
    Tstartform& W = *Fixture.Window;
    std::string Asc = Dir.path().toStdString() + "/SRB.asc";
    ImportedCrown() {
        std::filesystem::copy_file(Srb, Asc);
        Fixture.Script.FileAnswers = {Asc};
        W.Action("Importcrown1")->trigger();
    }
};

Real RelativeDifference(Real a, Real b) {
    return std::fabs(a - b) / std::fabs(b);
}
} // namespace

class WholeStoneTest : public QObject {
    Q_OBJECT

  private slots:
    void viewFollowsTheDesignAndScalingIsOneStep();
    void partnerOfTheSameKindIsRefused();
    void diagramIsSavedAndPrinted();
};

void WholeStoneTest::viewFollowsTheDesignAndScalingIsOneStep() {
    ImportedCrown c;
    Tstartform& w = c.W;
    QVERIFY(w.Design().IsCrown());
    w.Action("Wholestone1")->trigger();
    auto* window = w.Dialogs().Find<TWholeStoneWindow>();
    QVERIFY(window && window->isVisible());

    // The stone of both halves of the file, made here from the file itself.
    StoneHalves halves;
    QVERIFY(ReadAscHalves(Srb, halves));
    Stone expected;
    QVERIFY(MakeStone(*halves.Crown, *halves.Pavilion, expected));
    QVERIFY(!window->Shown().SingleHalf);
    // The design has gone through its undo snapshot, written with fewer digits than memory holds.
    QVERIFY(RelativeDifference(window->Shown().Volume, expected.Volume) < 1e-7);
    QVERIFY(window->Figures->text().contains("L/W"));

    // A change of the crown shows at once, and the girdles no longer agree.
    QVERIFY(w.Apply([](TGem& design) { return design.Resize(1.05L); }));
    QVERIFY(window->Shown().Volume > expected.Volume * 1.001L);
    QVERIFY(window->ScaleButton->isEnabled());
    QVERIFY(std::fabs(GirdleScaleToPartner(w) - 1 / 1.05L) < 1e-3);

    const int stepBefore = w.Changes().History().Current();
    w.Action("Scalecrown1")->trigger();
    QCOMPARE(w.Changes().History().Current(), stepBefore + 1);
    QCOMPARE(GirdleScaleToPartner(w), Real(1));
    QVERIFY(!window->ScaleButton->isEnabled());
    QVERIFY(RelativeDifference(window->Shown().Volume, expected.Volume) < 1e-6);

    w.Action("Undo2")->trigger();
    QVERIFY(window->ScaleButton->isEnabled());
    QVERIFY(c.Fixture.Script.Messages.empty());
}

void WholeStoneTest::partnerOfTheSameKindIsRefused() {
    ImportedCrown c;
    Tstartform& w = c.W;
    QVERIFY2(w.PartnerHalf(), w.PartnerProblem().c_str());
    const std::string partnerBefore = w.PartnerFile();
    const std::string crown = std::string(LAPIDRAW_TEST_DATA) + "/lfx/round_brilliant_crown.lfx";
    c.Fixture.Script.FileAnswers = {crown};
    w.Action("Choosepartner1")->trigger();
    QCOMPARE(c.Fixture.Script.Messages.size(), std::size_t{1});
    QVERIFY(c.Fixture.Script.Messages[0].Text.find("crown too") != std::string::npos);
    QVERIFY2(w.PartnerHalf(), w.PartnerProblem().c_str()); // the partner it had
    QCOMPARE(w.PartnerFile(), partnerBefore);
}

void WholeStoneTest::diagramIsSavedAndPrinted() {
    ImportedCrown c;
    Tstartform& w = c.W;
    const std::string svg = c.Dir.path().toStdString() + "/diagram.svg";
    c.Fixture.Script.FileAnswers = {svg};
    w.Action("Savediagram1")->trigger();
    QVERIFY(c.Fixture.Script.Messages.empty());
    std::ifstream in(svg);
    std::stringstream text;
    text << in.rdbuf();
    // Figures, and the tier rows of both halves (the crown's first tier and the pavilion's culet side).
    for (const char* expected : {"L/W", "P/W", "Crown from above", "Pavilion from below"})
        QVERIFY2(text.str().find(expected) != std::string::npos, expected);

    c.Fixture.Script.Printer.SetUpAnswers = {true};
    w.Action("Printdiagram1")->trigger();
    QCOMPARE(c.Fixture.Script.Printer.JobsEnded, 1);
    QVERIFY(c.Fixture.Script.Messages.empty());
}

LAPIDRAW_UI_TEST_MAIN(WholeStoneTest)
#include "whole_stone_test.moc"
