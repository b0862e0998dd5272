// Zoom, fit and pan of the sheet's views of the stone, through the real window: a fitted stone fills its
// views within their frames, a click picks the same corner at every zoom and after a pan, printing keeps
// the fixed scale, the zoom stops at its bounds and each design keeps its own.
#include "tests/support/design_builders.h"
#include "tests/ui/add_facets_support.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QAction>

namespace {
const QString DataFolder = LAPIDRAW_TEST_DATA;
constexpr Real FitMargin = SheetZoom::FitMargin;

void OpenData(Tstartform& w, const char* name) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.OpenDesign((DataFolder + "/lfx/" + name).toStdString()));
}

void Run(Tstartform& w, const char* command) {
    w.Action(command)->trigger();
}

// The share of a view's frame that the stone's box spans, the larger of across and down; -1 when a corner
// of the box lies outside the frame.
Real FrameFill(const TView& view, const TGem& gem) {
    Real x1 = 1e9, y1 = 1e9, x2 = -1e9, y2 = -1e9;
    for (int corner = 0; corner < 8; ++corner) {
        const Vector3 p{corner & 1 ? gem.BoxMax.x : gem.BoxMin.x, corner & 2 ? gem.BoxMax.y : gem.BoxMin.y,
                        corner & 4 ? gem.BoxMax.z : gem.BoxMin.z};
        const ViewPoint q = InView(view, p);
        const Real x = view.ToCanvasX(q.h), y = view.ToCanvasY(q.v);
        if (x < view.FrameX1 - 1e-6L || x > view.FrameX2 + 1e-6L || y < view.FrameY1 - 1e-6L ||
            y > view.FrameY2 + 1e-6L)
            return -1;
        x1 = std::min(x1, x), x2 = std::max(x2, x), y1 = std::min(y1, y), y2 = std::max(y2, y);
    }
    return std::max((x2 - x1) / (view.FrameX2 - view.FrameX1), (y2 - y1) / (view.FrameY2 - view.FrameY1));
}

// A corner of the girdle: where a pick of a corner point should land.
Vector3 GirdleCorner(const TGem& gem) {
    for (int p = 1; p <= gem.PointCount; ++p)
        if (std::fabs(gem.Points[p].Position.z) < 1e-9L && gem.Points[p].Position.x > 0)
            return gem.Points[p].Position;
    return {};
}
} // namespace

class SheetZoomTest : public QObject {
    Q_OBJECT

  private slots:
    void fittedStoneOfWidth25FillsItsViews();
    void clickPicksTheCornerAtEveryZoomAndAfterAPan();
    void printingKeepsTheFixedScaleUnlessPrintAsShown();
    void zoomStopsAtItsBounds();
    void eachDesignKeepsItsZoom();
};

void SheetZoomTest::fittedStoneOfWidth25FillsItsViews() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    auto gem = RoundBrilliantCrown();
    QVERIFY(gem->Resize(25 / gem->W()));
    UseDesign(w, std::move(gem));
    QCOMPARE(static_cast<double>(w.Design().W()), 25.0);
    Run(w, "ZoomToFit1");
    QVERIFY(w.Sheet().Zoom.Scale > 2);
    Real most = 0;
    for (const TView* view : {&w.Sheet().TopView, &w.Sheet().AxisSideView, &w.Sheet().UprightSideView}) {
        const Real fill = FrameFill(*view, w.Design());
        QVERIFY2(fill > 0.25L, "a view is left nearly empty or the stone leaves its frame");
        QVERIFY(fill <= 1 - 2 * FitMargin + 1e-6L);
        most = std::max(most, fill);
    }
    QVERIFY(most > 1 - 2 * FitMargin - 0.01L); // the limiting view is filled to its margins
    Run(w, "ActualSize1");
    QVERIFY(w.Sheet().Zoom.IsActualSize());
}

void SheetZoomTest::clickPicksTheCornerAtEveryZoomAndAfterAPan() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    const Vector3 corner = GirdleCorner(w.Design());
    auto pickAt = [&](const char* when) {
        TestRequester requester(w);
        w.RequestClick(requester, ClickKind::Point, "");
        const QPoint at = SheetPixel(w, corner.x, corner.y);
        MoveMouse(w, at);
        PressMouse(w, at, Qt::LeftButton);
        QVERIFY2(requester.Picks == 1, when);
        const Vector3 p = w.Design().PickPoint(requester.Picked.X, requester.Picked.Y, false, false).Position;
        QVERIFY2(std::fabs(p.x - corner.x) + std::fabs(p.y - corner.y) < 1e-9L, when);
        // The click reads the design point under the pixel, to the pixel's size.
        const Real pixel = 1 / (w.Sheet().TopView.Window.X.Scale * w.ScreenCanvas().World.X.Scale);
        QVERIFY2(std::fabs(requester.Picked.X - corner.x) <= pixel &&
                     std::fabs(requester.Picked.Y - corner.y) <= pixel,
                 when);
    };
    pickAt("actual size");
    Run(w, "ZoomIn1");
    Run(w, "ZoomIn1");
    pickAt("zoomed in twice");
    w.ZoomSheetAbout(3, SheetPixel(w, corner.x, corner.y));
    pickAt("zoomed about the corner");
    const Real centreX = w.Sheet().Zoom.CentreX, centreY = w.Sheet().Zoom.CentreY;
    const QPoint from = SheetPixel(w, 0, 0);
    QTest::mousePress(w.Client, Qt::MiddleButton, Qt::NoModifier, from);
    QTest::mouseMove(w.Client, from + QPoint(30, 20));
    QTest::mouseRelease(w.Client, Qt::MiddleButton, Qt::NoModifier, from + QPoint(30, 20));
    QVERIFY(w.Sheet().Zoom.CentreX != centreX && w.Sheet().Zoom.CentreY != centreY);
    pickAt("after a pan");
}

void SheetZoomTest::printingKeepsTheFixedScaleUnlessPrintAsShown() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, "round_brilliant_crown.lfx");
    ScriptedPrinter& printer = f.Script.Printer;
    auto print = [&] {
        printer.Paper.Clear();
        printer.SetUpAnswers = {true};
        Run(w, "Print1");
        std::vector<std::pair<DevicePoint, DevicePoint>> lines;
        for (const RecordedLine& line : printer.Paper.Lines)
            lines.push_back({line.From, line.To});
        return lines;
    };
    auto same = [](const auto& a, const auto& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t k = 0; k < a.size(); ++k)
            if (a[k].first.x != b[k].first.x || a[k].first.y != b[k].first.y ||
                a[k].second.x != b[k].second.x || a[k].second.y != b[k].second.y)
                return false;
        return true;
    };
    const auto actual = print();
    QVERIFY(actual.size() > 100);
    Run(w, "ZoomIn1");
    w.PanSheet({40, -25});
    QVERIFY(same(print(), actual));
    Run(w, "ZoomToFit1");
    QVERIFY(same(print(), actual));
    Run(w, "PrintAsShown1");
    QVERIFY(w.Sheet().ZoomOnPrinter);
    QVERIFY(!same(print(), actual));
}

void SheetZoomTest::zoomStopsAtItsBounds() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    for (int k = 0; k < 40; ++k)
        Run(w, "ZoomIn1");
    QCOMPARE(static_cast<double>(w.Sheet().Zoom.Scale), 50.0);
    for (int k = 0; k < 60; ++k)
        Run(w, "ZoomOut1");
    QCOMPARE(static_cast<double>(w.Sheet().Zoom.Scale), 1.0 / 20);
    Run(w, "ActualSize1");
    QVERIFY(w.Sheet().Zoom.IsActualSize());
}

void SheetZoomTest::eachDesignKeepsItsZoom() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, "round_brilliant_crown.lfx");
    Run(w, "ZoomIn1");
    w.Repaint();
    const Real zoomed = w.Sheet().Zoom.Scale;
    OpenData(w, "round_brilliant_pavilion.lfx");
    w.Repaint();
    QVERIFY(w.Sheet().Zoom.IsActualSize());
    OpenData(w, "round_brilliant_crown.lfx");
    w.Repaint();
    QCOMPARE(static_cast<double>(w.Sheet().Zoom.Scale), static_cast<double>(zoomed));
}

LAPIDRAW_UI_TEST_MAIN(SheetZoomTest)
#include "sheet_zoom_test.moc"
