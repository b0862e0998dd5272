// lapidraw-tool stone, stone-geometry, materials and convert --stone, run as a user would.
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QTemporaryDir>

#include "tool_run.h"

#include <gtest/gtest.h>

namespace {
const QString Asc = QString(LAPIDRAW_TEST_DATA) + "/asc";

TEST(StoneCommand, FiguresWeightAndCountsOfAnAscFile) {
    ToolRun run = Tool({"stone", Asc + "/SRB.asc", "--width-mm", "6.5", "--material", "diamond"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QJsonObject stone = run.Json();
    EXPECT_EQ(stone["facets"].toObject()["girdle"].toInt(), 16);
    EXPECT_EQ(stone["faces"].toInt() - stone["edges"].toInt() + stone["corners"].toInt(), 2);
    EXPECT_EQ(stone["material"].toObject()["name"].toString(), "Diamond");
    const double carats = stone["carats"].toDouble();
    EXPECT_GT(carats, 0.5); // a 6.5 mm round brilliant diamond weighs about a carat
    EXPECT_LT(carats, 1.5);

    run = Tool(
        {"stone", Asc + "/SRB.asc", "--carats", QString::number(carats, 'g', 17), "--material", "Diamond"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_NEAR(run.Json()["width_mm"].toDouble(), 6.5, 1e-9);
}

TEST(StoneCommand, BadNumbersAndNamesAreUsageErrors) {
    for (const QStringList& arguments :
         {QStringList{"stone", Asc + "/SRB.asc", "--width-mm", "0"},
          QStringList{"stone", Asc + "/SRB.asc", "--carats", "-1"},
          QStringList{"stone", Asc + "/SRB.asc", "--width-mm", "nan"},
          QStringList{"stone", Asc + "/SRB.asc", "--width-mm", "5", "--carats", "1"},
          QStringList{"stone", Asc + "/SRB.asc", "--material", "unobtainium"},
          QStringList{"stone", Asc + "/SRB.asc", "other.lfx"}, QStringList{"materials", "x"}})
        EXPECT_EQ(Tool(arguments).Code, 1) << arguments.join(' ').toStdString();
    const ToolRun run = Tool({"stone", Asc + "/missing.asc"});
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains("missing.asc")) << run.Err.toStdString();
}

TEST(StoneCommand, GeometryNamesEachFacesHalf) {
    const ToolRun run = Tool({"stone-geometry", Asc + "/SRB.asc"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    int crown = 0, pavilion = 0;
    for (const QJsonValue face : run.Json()["faces"].toArray())
        ++(face.toObject()["half"].toString() == "crown" ? crown : pavilion);
    EXPECT_EQ(crown, 16 + 33); // girdle facets, named by the crown, then table, mains, stars, halves
    EXPECT_EQ(pavilion, 24);
}

TEST(StoneCommand, MaterialsListTheTable) {
    const ToolRun run = Tool({"materials"});
    ASSERT_EQ(run.Code, 0);
    const QJsonArray materials = QJsonDocument::fromJson(run.Out).array();
    EXPECT_GE(materials.size(), 20);
    EXPECT_FALSE(materials[0].toObject()["source"].toString().isEmpty());
}

TEST(StoneCommand, ConvertWritesTheWholeStoneAndReadsItBack) {
    QTemporaryDir dir;
    const QString out = dir.filePath("whole.asc");
    ToolRun run = Tool({"convert", "--stone", Asc + "/Turkey.asc", out});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QJsonObject before = Tool({"stone", Asc + "/Turkey.asc"}).Json(),
                      after = Tool({"stone", out}).Json();
    EXPECT_NEAR(after["volume"].toDouble(), before["volume"].toDouble(), 1e-5 * before["volume"].toDouble());
    EXPECT_EQ(after["faces"].toInt(), before["faces"].toInt());
    EXPECT_EQ(Tool({"convert", "--stone", Asc + "/Turkey.asc", dir.filePath("x.lfx")}).Code, 1);

    // A pair by the naming rule: both halves written as design files, then put together again.
    const QString crown = dir.filePath("turkeyc.lfx"), pavilion = dir.filePath("turkeyp.lfx");
    ASSERT_EQ(Tool({"convert", "--import", "crown", Asc + "/Turkey.asc", crown}).Code, 0);
    ASSERT_EQ(Tool({"convert", "--import", "pavilion", Asc + "/Turkey.asc", pavilion}).Code, 0);
    run = Tool({"stone", pavilion});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_NEAR(run.Json()["volume"].toDouble(), before["volume"].toDouble(),
                1e-5 * before["volume"].toDouble());
    EXPECT_EQ(Tool({"stone", crown, crown}).Code, 2); // two crowns
}
} // namespace

namespace {
TEST(DiagramCommand, WritesThePageWithEveryTierRow) {
    QTemporaryDir dir;
    const QString svg = dir.filePath("srb.svg");
    ToolRun run =
        Tool({"diagram", Asc + "/SRB.asc", "-o", svg, "--width-mm", "6.5", "--material", "Diamond"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QByteArray text = ReadAll(svg);
    // The tiers of SRB: crown mains at 34, stars at 16, halves at 28; pavilion mains and halves.
    for (const char* angle : {"34.00", "28.00", "16.00", "42.50", "41.50"})
        EXPECT_TRUE(text.contains(angle)) << angle;
    EXPECT_TRUE(text.contains("Diamond"));
    for (const char* out : {"srb.pdf", "srb.png"})
        EXPECT_EQ(Tool({"diagram", Asc + "/SRB.asc", "-o", dir.filePath(out), "--paper", "Letter"}).Code, 0)
            << out;
    EXPECT_TRUE(ReadAll(dir.filePath("srb.pdf")).startsWith("%PDF"));
    EXPECT_EQ(Tool({"diagram", Asc + "/SRB.asc", "-o", dir.filePath("x.emf")}).Code, 1);
    EXPECT_EQ(Tool({"diagram", Asc + "/SRB.asc", "-o", svg, "--paper", "A3"}).Code, 1);
}
} // namespace
