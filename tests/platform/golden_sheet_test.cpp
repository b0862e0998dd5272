// The design sheet, the free rotation and the facet listing against their golden references. Every
// picture is made twice: through the recording surface, whose record is drawn out with texts as their
// measured boxes (no font involved), and through the raster surface in the fixed sheet font.
#include "platform/qt_surfaces.h"
#include "sheet/design_sheet.h"
#include "sheet/facet_listing.h"
#include "sheet/recording_surface.h"
#include "tests/platform/golden.h"

#include <QPainter>
#include <QPen>
#include <QPolygon>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <ostream>
#include <utility>
#include <vector>

namespace {
constexpr int SheetWidth = 640, SheetHeight = 480;
const std::string Data = LAPIDRAW_TEST_DATA;

std::unique_ptr<TGem> DesignFile(const std::string& name) {
    auto gem = std::make_unique<TGem>();
    EXPECT_TRUE(gem->ReadDesign(Data + "/lfx/" + name, TGem::FileMode::Open)) << name;
    return gem;
}

std::unique_ptr<TGem> ImportedHalf(const std::string& name, char side) {
    auto gem = std::make_unique<TGem>();
    EXPECT_TRUE(gem->ReadAsc(Data + "/asc/" + name) && gem->ImportAsc(side)) << name;
    return gem;
}

std::unique_ptr<TGem> PreformOf(const std::string& name) {
    auto design = DesignFile(name);
    design->FlattenForPreform();
    design->Recompute();
    design->RevealGirdleFacets();
    auto preform = std::make_unique<TGem>();
    design->MakePreform(*preform);
    preform->SetTextLine(CutNameLine, "round brilliant");
    return preform;
}

void Repaint(TDesignSheet& sheet, TGem& design) {
    sheet.RepaintScreen(design);
}

// The main group picked, as Add facets shows it, and the indices at the girdle.
void RepaintWithSelection(TDesignSheet& sheet, TGem& design) {
    sheet.Options.SelectedFacet = 19;
    sheet.Options.FacetSelected = true;
    sheet.Options.ShowIndices = true;
    sheet.RepaintScreen(design);
}

void Rotate(TDesignSheet& sheet, TGem& design) {
    sheet.RotateKey(design, RotateStartKey);
    sheet.Rotation.B = 20;
    sheet.Rotation.C = 30;
    sheet.RotateKey(design, RotateRedrawKey);
}

struct Scene {
    std::string Name;
    std::function<std::unique_ptr<TGem>()> Design;
    void (*Draw)(TDesignSheet&, TGem&);
};

const Scene Scenes[] = {
    {"crown", [] { return ImportedHalf("Compear125.asc", 'c'); }, Repaint},
    {"pavilion", [] { return DesignFile("round_brilliant_pavilion.lfx"); }, Repaint},
    {"mirrored", [] { return DesignFile("round_brilliant_crown.lfx"); }, Repaint},
    {"srb_crown", [] { return ImportedHalf("SRB.asc", 'c'); }, Repaint},
    {"srb_pavilion", [] { return ImportedHalf("SRB.asc", 'p'); }, Repaint},
    {"preform", [] { return PreformOf("round_brilliant_crown.lfx"); }, Repaint},
    {"selection", [] { return DesignFile("round_brilliant_crown.lfx"); }, RepaintWithSelection},
    {"rotation", [] { return DesignFile("round_brilliant_crown.lfx"); }, Rotate},
};

// Test names and messages show a scene by its name.
void PrintTo(const Scene& scene, std::ostream* out) {
    *out << scene.Name;
}

void Draw(const Scene& scene, DrawSurface& surface) {
    auto design = scene.Design();
    TUserCanvas canvas;
    TDesignSheet sheet;
    sheet.SetUpScreen(canvas, &surface, SheetWidth, SheetHeight);
    scene.Draw(sheet, *design);
}

// Half the strength of a colour: lines and text boxes are inked with it, multiplying with what is
// already there, so that a line drawn twice (an edge of two facets) is darker than one drawn once.
QColor Ink(Colour c) {
    return QColor((255 + RedOf(c)) / 2, (255 + GreenOf(c)) / 2, (255 + BlueOf(c)) / 2);
}

// The record drawn out in the order it was drawn, each text as the box the surface measured for it.
// Shapes and fills cover what is below them; lines and text boxes are inked.
QImage RecordPicture(const RecordingSurface& record) {
    QImage image(record.DeviceWidth(), record.DeviceHeight(), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    auto pen = [&painter](Colour c, int width) {
        painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
        QPen p(ToQColor(c));
        p.setWidth(width <= 1 ? 0 : width);
        return p;
    };
    auto ink = [&painter](Colour c, int width) {
        painter.setCompositionMode(QPainter::CompositionMode_Multiply);
        QPen p(Ink(c));
        p.setWidth(width <= 1 ? 0 : width);
        return p;
    };
    auto box = [](int left, int top, int right, int bottom) {
        return QRect(left, top, right - left - 1, bottom - top - 1);
    };
    std::vector<std::pair<int, std::function<void()>>> steps;
    for (const RecordedShape& s : record.Shapes)
        steps.emplace_back(s.Order, [&, s] {
            painter.setPen(pen(s.Pen, 1));
            painter.setBrush(ToQColor(s.Brush));
            if (s.IsEllipse)
                painter.drawEllipse(box(s.Left, s.Top, s.Right, s.Bottom));
            else
                painter.drawRect(box(s.Left, s.Top, s.Right, s.Bottom));
        });
    for (const RecordedFill& f : record.Fills)
        steps.emplace_back(f.Order, [&, f] {
            painter.setPen(pen(f.Border, 1));
            painter.setBrush(ToQColor(f.Fill));
            const FillRegion& r = f.Region;
            if (r.IsEllipse) return painter.drawEllipse(box(r.Left, r.Top, r.Right, r.Bottom));
            QPolygon polygon;
            for (const DevicePoint& p : r.Polygon)
                polygon << QPoint(p.x, p.y);
            painter.drawPolygon(polygon);
        });
    for (const RecordedLine& l : record.Lines)
        steps.emplace_back(l.Order, [&, l] {
            painter.setPen(ink(l.Pen, l.Width));
            painter.drawLine(l.From.x, l.From.y, l.To.x, l.To.y);
        });
    for (const RecordedText& t : record.Texts)
        steps.emplace_back(t.Order, [&, t] {
            painter.setPen(ink(t.Colour_, t.Bold ? 2 : 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(t.X, t.Y, t.Width - 1, t.Height - 1);
        });
    std::sort(steps.begin(), steps.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& step : steps)
        step.second();
    return image;
}

void ExpectMatch(const GoldenResult& result) {
    EXPECT_TRUE(result.Matches) << result.Message;
}

class GoldenSheet : public testing::TestWithParam<Scene> {};

TEST_P(GoldenSheet, ThroughTheRecordingSurface) {
    RecordingSurface surface(SheetWidth, SheetHeight);
    Draw(GetParam(), surface);
    ExpectMatch(CompareWithGoldenPicture(RecordPicture(surface), GetParam().Name + ".record",
                                         RecordChannelTolerance));
}

TEST_P(GoldenSheet, ThroughTheRasterSurface) {
    std::string reason;
    if (!UseFixedSheetFont(reason)) GTEST_SKIP() << reason;
    RasterSurface surface(SheetWidth, SheetHeight);
    Draw(GetParam(), surface);
    ExpectMatch(
        CompareWithGoldenPicture(surface.Finish(), GetParam().Name + ".raster", RasterChannelTolerance));
}

INSTANTIATE_TEST_SUITE_P(Designs, GoldenSheet, testing::ValuesIn(Scenes),
                         [](const testing::TestParamInfo<Scene>& info) { return info.param.Name; });

TEST(GoldenListing, FacetListingOfAnImportedCrown) {
    auto design = ImportedHalf("SRB.asc", 'c');
    std::string text;
    for (const std::string& line : FacetListingLines(*design, "SRB.asc"))
        text += line + "\n";
    ExpectMatch(CompareWithGoldenText(text, "srb_crown.listing"));
}

} // namespace
