// The sheet on a screen scaled to 200%: drawn at the device's pixel density, with the readout and
// the clicks still on the right design coordinates.
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"

#include <QApplication>
#include <QLabel>
#include <QStandardPaths>
#include <QTest>
#include <clocale>

class HiDpiTest : public QObject {
    Q_OBJECT

  private slots:
    void sheetIsDrawnAtDevicePixels();
    void clicksLandOnTheDesignPoint();
};

namespace {
constexpr int Scale = 2;

// The logical client point at which the top view shows the design point (x, y).
QPoint LogicalPixel(Tstartform& w, Real x, Real y) {
    w.RepaintScreen(w.Design());
    const DevicePoint at = w.Sheet().TopView.ToDevice(y, x); // model y across, model x down
    return {at.x / Scale, at.y / Scale};
}

void ShowBrilliant(WindowFixture& f) {
    f.Window->TheDesign = RoundBrilliantCrown();
    f.Window->show();
    f.Window->RepaintScreen(f.Window->Design());
}
} // namespace

void HiDpiTest::sheetIsDrawnAtDevicePixels() {
    WindowFixture f;
    ShowBrilliant(f);
    Tstartform& w = *f.Window;
    QCOMPARE(w.Client->devicePixelRatioF(), qreal(Scale));
    QCOMPARE(w.Client->Surface->Image().size(), w.Client->size() * Scale);
    // The window shows the image one device pixel to one screen pixel.
    const QImage shown = w.Client->grab().toImage();
    QCOMPARE(shown.size(), w.Client->size() * Scale);
    const QPoint centre = w.Client->rect().center() * Scale;
    QCOMPARE(shown.pixel(centre), w.Client->Surface->Image().pixel(centre));
    // Text in points takes twice the pixels of an unscaled screen.
    RasterSurface unscaled(100, 100);
    for (DrawSurface* surface : std::initializer_list<DrawSurface*>{&unscaled, w.Client->Surface.get()})
        surface->SetFont("Arial", 8, true);
    const int width = unscaled.TextWidth("8 identical parts");
    const int scaled = w.Client->Surface->TextWidth("8 identical parts");
    QVERIFY2(scaled > 1.8 * width && scaled < 2.2 * width,
             qPrintable(QString("%1 %2").arg(scaled).arg(width)));
}

void HiDpiTest::clicksLandOnTheDesignPoint() {
    WindowFixture f;
    ShowBrilliant(f);
    Tstartform& w = *f.Window;
    TestRequester requester(w);
    w.RequestClick(requester, ClickKind::Point, "");
    MoveMouse(w, LogicalPixel(w, 30, 10));
    const QString text = w.StatusPanel->text();
    QVERIFY2(text.contains("x:  30.") || text.contains("x:  29."), qPrintable(text));
    PressMouse(w, LogicalPixel(w, 30, 10), Qt::LeftButton);
    QCOMPARE(requester.Picks, 1);
    QVERIFY2(std::fabs(double(requester.Picked.X) - 30) < 1,
             qPrintable(QString::number(double(requester.Picked.X))));
    QVERIFY(std::fabs(double(requester.Picked.Y) - 10) < 1);
    // The cursor goes back to the click in screen pixels.
    QCOMPARE(w.CursorX, LogicalPixel(w, 30, 10).x());
}

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", QByteArray::number(Scale));
    QStandardPaths::setTestModeEnabled(true);
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    HiDpiTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "hidpi_test.moc"
