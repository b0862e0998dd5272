// The brightness window on real widgets with the fake host: the figures of a known stone, a design
// change that cancels the trace under way and shows nothing of the old design, the tilt slider, and a
// click on the picture that follows one ray.
#include "dialogs/brightness_window.h"
#include "optics/whole_stone.h"
#include "stone/materials.h"
#include "tests/dialogs/fake_host.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_test_main.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QSlider>

#include <cmath>

class BrightnessWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void showsTheFiguresOfTheWholeStone();
    void aDesignChangeCancelsTheTraceAndShowsOnlyTheNewDesign();
    void aClickOnThePictureFollowsThatRay();
};

namespace {
constexpr int TraceTimeout = 60000;
constexpr double QuartzIndex = 1.544;

void ShowBrilliant(FakeHost& host) {
    host.Gem = RoundBrilliantCrown();
    host.Partner = RoundBrilliantPavilion();
}

// The figures of the brilliant's whole stone tilted so, from many rays, independent of the window's
// sampling.
optics::Figures ManyRays(const FakeHost& host, double tilt) {
    Stone stone;
    if (const FileResult made = MakeStone(*host.Gem, *host.Partner, stone); !made)
        qFatal("%s", made.Error().Message.c_str());
    const optics::TracedStone traced = optics::TracedStoneOf(stone);
    optics::TraceOptions options;
    options.RefractiveIndex = QuartzIndex;
    return optics::ComputeFigures(tilt == 0 ? traced : traced.Tilted(0, optics::Radians(tilt)), options,
                                  {60000, 11});
}

bool Agree(const optics::Estimate& shown, const optics::Estimate& expected) {
    return std::fabs(shown.Value - expected.Value) < 3 * std::hypot(shown.Error, expected.Error);
}
} // namespace

void BrightnessWindowTest::showsTheFiguresOfTheWholeStone() {
    FakeHost host;
    ShowBrilliant(host);
    TBrightnessWindow window(host);
    window.show();
    QVERIFY(window.StoneLabel->text().startsWith("Whole stone"));
    QTRY_VERIFY_WITH_TIMEOUT(window.Done(), TraceTimeout);
    QVERIFY(window.ShownFigures());
    const optics::Figures expected = ManyRays(host, 0);
    QVERIFY(Agree(window.ShownFigures()->Iso, expected.Iso));
    QVERIFY(Agree(window.ShownFigures()->Cos, expected.Cos));
    QVERIFY(window.ShownFigures()->Iso.Error <= 0.001);
    QVERIFY(window.FiguresLabel->text().contains("ISO"));
    host.Repaint(); // a repaint that changes nothing (a zoom) keeps what was traced
    QVERIFY(window.Done() && window.ShownFigures());

    window.TiltSlider->setValue(12); // about the axis along index 0
    QVERIFY(!window.ShownFigures());
    QTRY_VERIFY_WITH_TIMEOUT(window.Done(), TraceTimeout);
    const optics::Figures tilted = ManyRays(host, 12);
    QVERIFY(Agree(window.ShownFigures()->Iso, tilted.Iso));
    QVERIFY(Agree(window.ShownFigures()->Cos, tilted.Cos));

    // A typed index is no longer the material's; choosing a material puts its index back.
    window.IndexBox->setValue(2.0);
    QCOMPARE(window.MaterialBox->currentText(), QString("Typed index"));
    QVERIFY(!window.ShownFigures());
    window.MaterialBox->setCurrentIndex(0);
    QCOMPARE(window.IndexBox->value(), std::round(double(Materials()[0].RefractiveIndex) * 1e4) / 1e4);
}

void BrightnessWindowTest::aDesignChangeCancelsTheTraceAndShowsOnlyTheNewDesign() {
    FakeHost host;
    ShowBrilliant(host);
    TBrightnessWindow window(host);
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(window.Done(), TraceTimeout);
    const optics::Estimate whole = window.ShownFigures()->Iso;

    // The crown alone: its first figures come while the rest is still being traced ...
    auto pavilion = std::move(host.Partner);
    host.Repaint();
    QVERIFY(window.StoneLabel->text().startsWith("This half alone"));
    QVERIFY(!window.ShownFigures()); // nothing of the design that was
    QTRY_VERIFY_WITH_TIMEOUT(window.ShownFigures(), TraceTimeout);
    QVERIFY(!window.Done());
    // ... when the design changes again, to the pavilion with the crown as its partner.
    host.Partner = std::move(host.Gem);
    host.Gem = std::move(pavilion);
    host.Repaint();
    QVERIFY(!window.ShownFigures());
    QTRY_VERIFY_WITH_TIMEOUT(window.Done(), TraceTimeout);
    QVERIFY(window.CancelledTraces() >= 1);
    QVERIFY(window.StoneLabel->text().startsWith("Whole stone"));
    QVERIFY(std::fabs(window.ShownFigures()->Iso.Value - whole.Value) < 1e-9); // the same stone again

    // A design that makes no stone says why and shows no figures.
    host.Gem->NewDesign('p', 8, 96, false, 0, true);
    host.Partner.reset();
    host.Repaint();
    QVERIFY(window.StoneLabel->text().contains("no stone"));
    QTRY_VERIFY_WITH_TIMEOUT(window.Done(), TraceTimeout);
    QVERIFY(!window.ShownFigures());
}

void BrightnessWindowTest::aClickOnThePictureFollowsThatRay() {
    FakeHost host;
    ShowBrilliant(host);
    TBrightnessWindow window(host);
    window.resize(900, 700);
    window.show();
    QTRY_VERIFY_WITH_TIMEOUT(window.Done(), TraceTimeout);
    QTest::mouseClick(window.Picture, Qt::LeftButton, {}, window.Picture->rect().center());
    const auto& path = window.ShownPath();
    QVERIFY(path.size() >= 3);
    QCOMPARE(path[0].Event, optics::PathEvent::OuterReflection);
    QCOMPARE(path[1].Event, optics::PathEvent::Enter);
    // Straight down through the middle of the table, which is level at the top of the stone.
    QVERIFY(std::fabs(path[1].Point.x) < 1 && std::fabs(path[1].Point.y) < 1);
    QVERIFY(path[1].Direction.z < -0.99);
    QVERIFY(window.PathLabel->text().contains("returned"));

    QTest::mouseClick(window.Picture, Qt::LeftButton, {},
                      QPoint(1, 1) + window.Picture->rect().center() -
                          QPoint(window.Picture->height() / 2 - 2, window.Picture->height() / 2 - 2));
    QVERIFY(window.ShownPath().empty()); // the corner of the picture's square misses a round stone
    QVERIFY(window.PathLabel->text().contains("misses"));
}

LAPIDRAW_UI_TEST_MAIN(BrightnessWindowTest)
#include "brightness_window_test.moc"
