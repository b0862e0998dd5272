#include "platform/qt_surfaces.h"

#include <QFile>
#include <QFontMetrics>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void DrawSquare(DrawSurface& s, Colour pen, int left, int top, int right, int bottom) {
    s.SetPenColor(pen);
    s.MoveTo(left, top);
    s.LineTo(right, top);
    s.LineTo(right, bottom);
    s.LineTo(left, bottom);
    s.LineTo(left, top);
}

TEST(RasterSurface, FloodFillStopsAtTheBorderColourOnly) {
    RasterSurface s(100, 100);
    DrawSquare(s, ColourRed, 10, 10, 60, 60);
    DrawSquare(s, ColourBlack, 20, 20, 40, 40); // a black square inside does not stop the fill
    s.SetBrushColor(ColourGrey);
    s.FloodFill(30, 30, ColourRed, {});
    const QImage& image = s.Finish();
    EXPECT_EQ(image.pixelColor(30, 30), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(50, 50), QColor(128, 128, 128));
    EXPECT_EQ(image.pixelColor(20, 30), QColor(128, 128, 128)); // the black line was filled over
    EXPECT_EQ(image.pixelColor(10, 30), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(70, 30), QColor(255, 255, 255));
}

TEST(RasterSurface, DiagonalBordersHoldTheFill) {
    RasterSurface s(100, 100);
    s.SetPenColor(ColourRed);
    s.MoveTo(50, 5);
    s.LineTo(95, 50);
    s.LineTo(50, 95);
    s.LineTo(5, 50);
    s.LineTo(50, 5);
    s.SetBrushColor(ColourSilver);
    s.FloodFill(50, 50, ColourRed, {});
    const QImage& image = s.Finish();
    EXPECT_EQ(image.pixelColor(50, 50), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(10, 10), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(90, 90), QColor(255, 255, 255));
}

TEST(RasterSurface, SeedOnTheBorderOrOutsideFillsNothing) {
    RasterSurface s(40, 40);
    DrawSquare(s, ColourRed, 5, 5, 30, 30);
    s.SetBrushColor(ColourBlack);
    s.FloodFill(5, 10, ColourRed, {});
    s.FloodFill(-1, 10, ColourRed, {});
    const QImage& image = s.Finish();
    EXPECT_EQ(image.pixelColor(15, 15), QColor(255, 255, 255));
}

TEST(RasterSurface, XorPenDrawsAndErases) {
    RasterSurface s(40, 40);
    s.SetPenMode(PenMode::Xor);
    s.SetPenColor(ColourWhite);
    for (int y : {20, 30, 30}) {
        s.MoveTo(0, y);
        s.LineTo(39, y);
    }
    const QImage& image = s.Finish();
    EXPECT_EQ(image.pixelColor(10, 20), QColor(0, 0, 0));       // white on white turns black
    EXPECT_EQ(image.pixelColor(10, 30), QColor(255, 255, 255)); // drawn twice: erased
}

TEST(RasterSurface, TextsAreLatin1AndMeasuredInTheSheetFont) {
    RasterSurface s(200, 100);
    s.SetFont("Arial", 10, true);
    const std::string degrees = "41.00\xBA";
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(10);
    font.setBold(true);
    const int expected = QFontMetrics(font).horizontalAdvance(QString::fromUtf8("41.00º"));
    EXPECT_EQ(s.TextWidth(degrees), expected);
    EXPECT_GT(s.TextWidth("W"), 0);
    EXPECT_GT(s.TextHeight("W"), 10); // 10 points at 96 dpi are 13 pixels
    s.SetFontColor(ColourBlack);
    s.TextOut(10, 10, degrees);
    const QImage& image = s.Finish();
    int dark = 0;
    for (int y = 10; y < 10 + 20; ++y)
        for (int x = 10; x < 10 + expected; ++x)
            if (image.pixelColor(x, y).lightness() < 128) ++dark;
    EXPECT_GT(dark, 20);
    EXPECT_EQ(image.pixelColor(10 + expected + 5, 15), QColor(255, 255, 255));
}

TEST(VectorSurfaces, FillThePassedRegionAndWriteFiles) {
    QTemporaryDir dir;
    const QString svgPath = dir.filePath("a.svg");
    const QString pdfPath = dir.filePath("a.pdf");
    FillRegion square;
    square.Polygon = {{10, 10}, {60, 10}, {60, 60}, {10, 60}, {10, 10}};
    {
        SvgSurface svg(svgPath, 100, 80);
        DrawSquare(svg, ColourRed, 10, 10, 60, 60);
        svg.SetBrushColor(ColourGrey);
        svg.FloodFill(30, 30, ColourRed, square);
        svg.SetFont("Arial", 10, false);
        svg.TextOut(5, 65, "3\xB3");
        EXPECT_TRUE(svg.Finish());
        PdfSurface pdf(pdfPath, 100, 80);
        DrawSquare(pdf, ColourRed, 10, 10, 60, 60);
        pdf.FloodFill(30, 30, ColourRed, square);
        EXPECT_TRUE(pdf.Finish());
    }
    QFile svgFile(svgPath);
    ASSERT_TRUE(svgFile.open(QIODevice::ReadOnly));
    const QString svgText = QString::fromUtf8(svgFile.readAll());
    EXPECT_TRUE(svgText.contains(QStringLiteral("#808080")));
    EXPECT_TRUE(svgText.contains(QStringLiteral("polygon")) || svgText.contains(QStringLiteral("path")));
    EXPECT_TRUE(svgText.contains(QString::fromUtf8("3³")));
    EXPECT_TRUE(svgText.contains(QStringLiteral("viewBox=\"0 0 100 80\"")));
    QFile pdfFile(pdfPath);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.read(5) == "%PDF-");
}

// A surface that cannot read its pixels fills the passed region; like a flood fill, it leaves the
// border in the border colour on every side.
TEST(VectorSurfaces, RegionFillKeepsItsBorder) {
    QImage image(80, 80, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    QtSurface s(painter, 80, 80);
    DrawSquare(s, ColourRed, 10, 10, 60, 60);
    FillRegion square;
    square.Polygon = {{10, 10}, {60, 10}, {60, 60}, {10, 60}, {10, 10}};
    s.SetBrushColor(ColourGrey);
    s.FloodFill(30, 30, ColourRed, square);
    s.SetBrushColor(ColourBlack);
    s.FloodFill(70, 70, ColourRed, FillRegion::Ellipse(68, 68, 72, 72));
    painter.end();
    EXPECT_EQ(image.pixelColor(30, 30), QColor(128, 128, 128));
    for (const QPoint p : {QPoint(10, 30), QPoint(60, 30), QPoint(30, 10), QPoint(30, 60)})
        EXPECT_EQ(image.pixelColor(p), QColor(255, 0, 0)) << p.x() << "," << p.y();
    EXPECT_EQ(image.pixelColor(68, 70), QColor(255, 0, 0)); // the marker keeps its red rim
    EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 255, 255));
}

TEST(QtSurface, ColoursKeepTheirByteOrder) {
    EXPECT_EQ(ToQColor(ColourRed), QColor(255, 0, 0));
    EXPECT_EQ(ToQColor(0xFF0000), QColor(0, 0, 255));
    EXPECT_EQ(FromQColor(QColor(1, 2, 3)), 0x030201u);
}

} // namespace
