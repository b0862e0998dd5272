#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "tool_run.h"

#include <gtest/gtest.h>

namespace {
const QString Data = LAPIDRAW_TEST_DATA;

// Width and height from a PNG's header.
std::pair<int, int> PngSize(const QByteArray& png) {
    auto be32 = [&](int at) {
        return (static_cast<unsigned char>(png[at]) << 24) | (static_cast<unsigned char>(png[at + 1]) << 16) |
               (static_cast<unsigned char>(png[at + 2]) << 8) | static_cast<unsigned char>(png[at + 3]);
    };
    return {be32(16), be32(20)};
}

TEST(Render, SheetToPngSvgAndPdf) {
    QTemporaryDir dir;
    const QString png = dir.filePath("box.png"), svg = dir.filePath("box.svg"), pdf = dir.filePath("box.pdf");
    ASSERT_EQ(Tool({"render", Data + "/lfx/box.lfx", "-o", png}).Code, 0);
    const QByteArray image = ReadAll(png);
    ASSERT_TRUE(image.startsWith("\x89PNG"));
    EXPECT_EQ(PngSize(image), std::make_pair(800, 600));

    ASSERT_EQ(Tool({"render", Data + "/lfx/box.lfx", "-o", png, "--size", "640x900"}).Code, 0);
    EXPECT_EQ(PngSize(ReadAll(png)), std::make_pair(640, 900));

    ASSERT_EQ(Tool({"render", Data + "/lfx/box.lfx", "-o", svg, "--size", "1000x500"}).Code, 0);
    const QString text = QString::fromUtf8(ReadAll(svg));
    EXPECT_TRUE(text.contains("viewBox=\"0 0 1000 500\""));
    EXPECT_TRUE(text.contains("identical parts"));
    EXPECT_TRUE(text.contains(QString::fromUtf8("x W³")));

    ASSERT_EQ(Tool({"render", Data + "/lfx/box.lfx", "-o", pdf}).Code, 0);
    EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF-"));
}

TEST(Render, AscHalvesNeedTheirImportOption) {
    QTemporaryDir dir;
    const QString out = dir.filePath("srb.svg");
    EXPECT_EQ(Tool({"render", Data + "/asc/SRB.asc", "-o", out}).Code, 1);
    EXPECT_FALSE(QFile::exists(out));
    ASSERT_EQ(Tool({"render", Data + "/asc/SRB.asc", "--import", "pavilion", "-o", out}).Code, 0);
    const QString text = QString::fromUtf8(ReadAll(out));
    EXPECT_TRUE(text.contains("pavilion facets"));
    EXPECT_TRUE(text.contains("P1"));
}

TEST(Render, FailuresWriteNothing) {
    QTemporaryDir dir;
    const QString out = dir.filePath("x.png");
    ToolRun run = Tool({"render", dir.filePath("missing.lfx"), "-o", out});
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains("missing.lfx"));
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_EQ(Tool({"render", Data + "/lfx/box.lfx", "-o", dir.filePath("x.bmp")}).Code, 1);
    EXPECT_EQ(Tool({"render", Data + "/lfx/box.lfx"}).Code, 1);
    EXPECT_EQ(Tool({"render", Data + "/lfx/box.lfx", "-o", out, "--size", "0x100"}).Code, 1);
    EXPECT_EQ(Tool({"render", Data + "/lfx/box.lfx", "-o", out, "--size", "800"}).Code, 1);
    EXPECT_EQ(Tool({"render", Data + "/lfx/box.lfx", "-o", out, "--size", "20000x20000"}).Code, 1); // 1.6 GB
    EXPECT_FALSE(QFile::exists(out));
    run = Tool({"render", Data + "/lfx/box.lfx", "-o", dir.filePath("no/such/folder/x.png")});
    EXPECT_EQ(run.Code, 2);
    EXPECT_EQ(run.Err.count('\n'), 1);
}

TEST(Rotate, DrawsTheTurnedStone) {
    QTemporaryDir dir;
    const QString png = dir.filePath("r.png");
    ASSERT_EQ(Tool({"rotate", Data + "/lfx/box.lfx", "-o", png, "--angles", "30,-15.5"}).Code, 0);
    EXPECT_EQ(PngSize(ReadAll(png)), std::make_pair(800, 600));
    EXPECT_EQ(Tool({"rotate", Data + "/lfx/box.lfx", "-o", png, "--angles", "30"}).Code, 1);
    EXPECT_EQ(Tool({"rotate", Data + "/lfx/box.lfx", "-o", png, "--angles", "a,b"}).Code, 1);
    EXPECT_EQ(Tool({"rotate", Data + "/lfx/box.lfx", "-o", png, "--angles", "nan,0"}).Code, 1);
    EXPECT_EQ(Tool({"rotate", Data + "/lfx/box.lfx", "-o", png, "--angles", "0,1e400"}).Code, 1);
    const ToolRun run = Tool({"rotate", Data + "/lfx/box.lfx", "-o", png});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains("no angles given (--angles B,C)")) << run.Err.toStdString();
}

} // namespace
