#include "platform/qt_surfaces.h"
#include "sheet/design_sheet.h"
#include "sheet/recording_surface.h"
#include "tests/support/design_builders.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(PrinterSurface, PageMetricsAndASheetOnPaper) {
    QTemporaryDir dir;
    const QString path = dir.filePath("page.pdf");
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Portrait);
    printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);

    RecordingSurface screenSurface(800, 600);
    TUserCanvas screen;
    TDesignSheet sheet;
    sheet.SetUpScreen(screen, &screenSurface, 800, 600);
    auto gem = RoundBrilliantCrown();
    {
        PrinterSurface paper(printer);
        ASSERT_TRUE(paper.Begun());
        const PageMetrics page = paper.Page();
        EXPECT_EQ(page.WidthMm, 200);
        EXPECT_EQ(page.HeightMm, 287);
        EXPECT_NEAR(page.PhysOffsetX, 5 * 1200 / 25.4, 5); // the layout works in whole points
        EXPECT_NEAR(page.WidthPx, 200 * 1200 / 25.4, 5);

        TUserCanvas canvas;
        canvas.Init(&paper, 100, 100);
        canvas.SetPrinterMargins(1, 1, 1, 800, 600);
        canvas.SetWorldIsotropic(1, 0, 0, 800);
        // 1 cm from the printable area's edge, less the printer's own offset from the paper's edge.
        EXPECT_NEAR(canvas.PixelsPerMm, 1200 / 25.4L, 0.1L);
        EXPECT_EQ(canvas.ViewportLeft, ToPixel(10 * canvas.PixelsPerMm) - page.PhysOffsetX);
        EXPECT_EQ(canvas.ViewportWidth, page.WidthPx - ToPixel(10 * canvas.PixelsPerMm));
        paper.SetPenWidth(2);
        sheet.DrawDesign(*gem, canvas);
        EXPECT_TRUE(paper.Finish());
    }
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.read(5) == "%PDF-");
    EXPECT_GT(file.size(), 2000);
}

} // namespace
