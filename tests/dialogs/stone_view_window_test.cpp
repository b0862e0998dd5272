// The 3D view's window on a fake host: the picture it paints, turned by the mouse and the keys, a click
// that selects a facet, and a window that follows the design and its partner.
#include "dialogs/stone_view_window.h"
#include "sheet/design_sheet.h"
#include "tests/dialogs/fake_host.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_test_main.h"

#include <QImage>
#include <QLabel>
#include <QMouseEvent>
#include <algorithm>
#include <cstdlib>
#include <numbers>

namespace {
constexpr int StepsToTop = 65;       // Down presses that turn the raised start view to straight down
constexpr int ChannelSlack = 48;     // a pixel differs when a channel moves more than this
constexpr double SamePicture = 1e-3; // of the pixels: what antialiasing along the edges may change

// The share of pixels of two pictures of one size that differ.
double DifferingShare(const QImage& a, const QImage& b) {
    const QImage x = a.convertToFormat(QImage::Format_RGB32), y = b.convertToFormat(QImage::Format_RGB32);
    long differing = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int column = 0; column < x.width(); ++column) {
            const QRgb p = x.pixel(column, row), q = y.pixel(column, row);
            const int channel = std::max({std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                          std::abs(qBlue(p) - qBlue(q))});
            if (channel > ChannelSlack) ++differing;
        }
    return static_cast<double>(differing) / (static_cast<double>(x.width()) * x.height());
}

QImage Painted(StoneViewCanvas& canvas) {
    return canvas.grab().toImage();
}

void Mouse(QWidget& widget, QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    QMouseEvent event(type, QPointF(at), widget.mapToGlobal(QPointF(at)), Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void Drag(QWidget& widget, QPoint from, QPoint to) {
    Mouse(widget, QEvent::MouseButtonPress, from, Qt::LeftButton);
    Mouse(widget, QEvent::MouseMove, (from + to) / 2, Qt::LeftButton);
    Mouse(widget, QEvent::MouseMove, to, Qt::LeftButton);
    Mouse(widget, QEvent::MouseButtonRelease, to, Qt::NoButton);
}

void Click(QWidget& widget, QPoint at) {
    Mouse(widget, QEvent::MouseButtonPress, at, Qt::LeftButton);
    Mouse(widget, QEvent::MouseButtonRelease, at, Qt::NoButton);
}

QPoint CentreOf(const FacePicture& face) {
    double x = 0, y = 0;
    for (const ScreenPoint& p : face.Polygon) {
        x += p.x;
        y += p.y;
    }
    const double n = static_cast<double>(face.Polygon.size());
    return QPoint(static_cast<int>(std::lround(x / n)), static_cast<int>(std::lround(y / n)));
}
} // namespace

class StoneViewWindowTest : public QObject {
    Q_OBJECT

  private slots:
    void init();
    void halfTurnOfAnEvenDesignGivesTheSamePicture();
    void dragTurnsTheStoneAndHomePutsItBack();
    void clickSelectsTheFacetOfTheOpenDesign();
    void followsTheDesignAndItsPartner();

  private:
    std::unique_ptr<FakeHost> Host;
    StoneViewWindow* Window = nullptr;
};

void StoneViewWindowTest::init() {
    Host = std::make_unique<FakeHost>();
    Host->Gem = RoundBrilliantCrown();
    Host->Partner = RoundBrilliantPavilion();
    Window = &DialogOf<StoneViewWindow>(*Host);
    Window->show();
    QVERIFY(QTest::qWaitForWindowExposed(Window));
}

void StoneViewWindowTest::halfTurnOfAnEvenDesignGivesTheSamePicture() {
    StoneViewCanvas& canvas = *Window->Canvas;
    canvas.Orientation.TurnAboutStoneAxis(0.3); // off any mirror line of the design
    const QImage before = Painted(canvas);
    canvas.Orientation.TurnAboutStoneAxis(std::numbers::pi);
    QVERIFY(DifferingShare(before, Painted(canvas)) < SamePicture);
    // A turn that is no symmetry of the design shows another picture: the comparison sees a turn.
    canvas.Orientation.TurnAboutStoneAxis(0.2);
    QVERIFY(DifferingShare(before, Painted(canvas)) > 10 * SamePicture);
}

void StoneViewWindowTest::dragTurnsTheStoneAndHomePutsItBack() {
    StoneViewCanvas& canvas = *Window->Canvas;
    const QImage start = Painted(canvas);
    const QPoint centre = canvas.rect().center();
    Drag(canvas, centre, centre + QPoint(0, canvas.height() / 4));
    QVERIFY(DifferingShare(start, Painted(canvas)) > 10 * SamePicture);
    QTest::keyClick(&canvas, Qt::Key_Home);
    QVERIFY(DifferingShare(start, Painted(canvas)) < SamePicture);
    // A drag is not a click: nothing was selected.
    QCOMPARE(Host->Shown.SelectedFacet, NoneFound);
}

void StoneViewWindowTest::clickSelectsTheFacetOfTheOpenDesign() {
    StoneViewCanvas& canvas = *Window->Canvas;
    for (int i = 0; i < StepsToTop; ++i)
        QTest::keyClick(&canvas, Qt::Key_Down);
    const StonePicture picture = canvas.Picture();
    QCOMPARE(picture.Faces.size(),
             static_cast<std::size_t>(
                 std::count_if(canvas.Shown.Faces.begin(), canvas.Shown.Faces.end(),
                               [](const StoneFace& face) { return face.FacePlane.Normal.z < -1e-9; })));
    // The table selects nothing.
    const int repaints = Host->Repaints;
    Click(canvas, canvas.rect().center());
    QCOMPARE(Host->Shown.SelectedFacet, NoneFound);
    QCOMPARE(Host->Repaints, repaints);
    // A crown facet is selected as a click on the sheet selects it, and drawn in the highlight tone.
    const auto facet = std::find_if(picture.Faces.begin(), picture.Faces.end(), [&](const FacePicture& face) {
        return DesignFacetOf(canvas.Shown, face.Face, *Host->Gem) >= 1;
    });
    QVERIFY(facet != picture.Faces.end());
    Click(canvas, CentreOf(*facet));
    QCOMPARE(Host->Shown.SelectedFacet, canvas.Shown.Faces[facet->Face].Facet);
    QVERIFY(Host->Shown.FacetSelected);
    QCOMPARE(Host->Repaints, repaints + 1);
    QCOMPARE(canvas.Marked, std::vector<int>{facet->Face});
}

void StoneViewWindowTest::followsTheDesignAndItsPartner() {
    StoneViewCanvas& canvas = *Window->Canvas;
    const std::size_t whole = canvas.Shown.Faces.size();
    QVERIFY(!canvas.Shown.SingleHalf);
    QVERIFY(Window->StatusLine->text().contains("whole stone"));
    // A change of the design through the host: the table lowered cuts the stars away.
    QVERIFY(Host->Apply([](TGem& gem) {
        CutHorizontal(gem, 10);
        return true;
    }));
    QVERIFY(canvas.Shown.Faces.size() < whole);
    // Without a partner the crown stands alone, and the line says so.
    Host->Partner.reset();
    Host->Repaint();
    QVERIFY(canvas.Shown.SingleHalf == StoneHalf::Crown);
    QVERIFY(Window->StatusLine->text().startsWith("No partner half"));
    // A new design without facets makes no stone: the view is empty and the line says why.
    Host->Gem = NewGem();
    Host->Repaint();
    QVERIFY(canvas.Shown.Empty());
    QVERIFY(canvas.Picture().Faces.empty());
    QVERIFY(Window->StatusLine->text().contains("no stone"));
}

LAPIDRAW_UI_TEST_MAIN(StoneViewWindowTest)
#include "stone_view_window_test.moc"
