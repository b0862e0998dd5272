// lapidraw-tool with ASC input, ASC and outline output, preform and transform.
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include "tool_run.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {
const QString Data = LAPIDRAW_TEST_DATA;
const QString Asc = Data + "/asc";

double Ratio(const QJsonObject& info) {
    return info["length"].toDouble() / info["width"].toDouble();
}
} // namespace

TEST(AscInput, InfoAndGeometryOfAnImportedHalf) {
    ToolRun run = Tool({"info", "--import", "crown", Asc + "/Turkey.asc"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    QJsonObject info = run.Json();
    EXPECT_EQ(info["type"].toString(), "crown");
    EXPECT_NEAR(std::fmax(Ratio(info), 1 / Ratio(info)), 1.3333, 0.0001);
    EXPECT_EQ(info["text"].toArray()[0].toString().left(1), " "); // H text keeps its blank

    run = Tool({"geometry", Asc + "/SRB.asc", "--import", "pavilion"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QJsonArray facets = run.Json()["facets"].toArray();
    ASSERT_EQ(facets.size(), 2 + 40); // -1, 0 and 16 girdle, 16 mains, 8 halves
    EXPECT_NEAR(facets[2 + 16].toObject()["angle"].toDouble(), 42.5, 1e-9);
}

TEST(AscInput, ImportOptionIsRequiredForAscAndOnlyForIt) {
    ToolRun run = Tool({"info", Asc + "/SRB.asc"});
    EXPECT_EQ(run.Code, 1);
    EXPECT_TRUE(run.Err.contains("--import crown or --import pavilion"));
    EXPECT_EQ(Tool({"info", "--import", "table", Asc + "/SRB.asc"}).Code, 1);
    EXPECT_EQ(Tool({"info", "--import", "crown", Data + "/lfx/box.lfx"}).Code, 1);
    QTemporaryDir dir;
    EXPECT_EQ(Tool({"convert", Asc + "/SRB.asc", dir.filePath("x.lfx")}).Code, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.lfx")));
}

TEST(AscInput, BrokenAscFileIsAFileErrorNamingTheLine) {
    QTemporaryDir dir;
    const QString in = dir.filePath("broken.asc");
    QFile file(in);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("GemCad 5.0\r\ng 96 0\r\na 40\r\n");
    file.close();
    const ToolRun run = Tool({"convert", "--import", "crown", in, dir.filePath("out.lfx")});
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains(in.toLocal8Bit() + ", line 3: a facet line needs an angle and a distance"))
        << run.Err.toStdString();
    EXPECT_EQ(run.Err.count('\n'), 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("out.lfx")));
}

TEST(ConvertExchange, AscToLfxToAscAndOutline) {
    QTemporaryDir dir;
    const QString lfx = dir.filePath("srb.lfx"), asc = dir.filePath("srb.asc"), otl = dir.filePath("srb.otl");
    ASSERT_EQ(Tool({"convert", "--import", "crown", Asc + "/SRB.asc", lfx}).Code, 0);
    ASSERT_EQ(Tool({"convert", lfx, asc}).Code, 0);
    const QByteArray exported = ReadAll(asc);
    EXPECT_TRUE(exported.startsWith("GemCad 10.00 c\r\ng     96      0\r\ny 8 y\r\n"))
        << exported.toStdString();
    EXPECT_TRUE(exported.contains("\r\na  34.00 "));
    // The exported crown imports again with the same facets.
    const QJsonObject before = Tool({"info", lfx}).Json();
    const QJsonObject after = Tool({"info", "--import", "crown", asc}).Json();
    EXPECT_EQ(after["facets"].toInt(), before["facets"].toInt());
    EXPECT_EQ(after["parts"].toInt(), 8);

    ASSERT_EQ(Tool({"convert", lfx, otl}).Code, 0);
    const QList<QByteArray> lines = ReadAll(otl).split('\n');
    EXPECT_EQ(lines[0], "96 8 cm0\r");
    // The import brings SRB's girdle band to z = 0: its crown's girdle is 0.76 high, so the 16 edges at
    // z = 0 and the 16 along the girdle's upper edge all lie within 1 of the girdle plane.
    EXPECT_EQ(lines.size(), 1 + 2 * 32 + 1);
}

TEST(ConvertExchange, UnwritableAscOutput) {
    QTemporaryDir dir;
    const QString out = dir.filePath("missing/out.asc");
    const ToolRun run = Tool({"convert", Data + "/lfx/box.lfx", out});
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains("Cannot write file " + out.toLocal8Bit() + ". Error:    2"));
}

TEST(CliPreform, MakesThePreformDesign) {
    QTemporaryDir dir;
    const QString out = dir.filePath("pre.lfx");
    const ToolRun run = Tool({"preform", "--import", "crown", Asc + "/SRB.asc", out});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QJsonObject info = Tool({"info", out}).Json();
    EXPECT_EQ(info["type"].toString(), "crown");
    EXPECT_TRUE(info["table"].isNull());
    EXPECT_EQ(info["facets"].toInt(), 16 + 16); // a face for each main and upper half, and the girdle
    EXPECT_EQ(Tool({"preform", Data + "/lfx/box.lfx", dir.filePath("x.doc")}).Code, 1);
}

TEST(CliFiles, NamesBeyondAscii) {
    QTemporaryDir dir;
    const QString accent = QString::fromUtf8("\xc3\xa9"); // e with an acute accent
    // Messages show the name as the system gives it; the design file records it in Latin-1.
    const ToolRun run = Tool({"info", "--import", "crown", dir.filePath(accent + ".asc")});
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains((accent + ".asc. Error:").toUtf8())) << run.Err.toStdString();
    const QString out = dir.filePath(accent + ".lfx");
    ASSERT_EQ(Tool({"convert", Data + "/lfx/box.lfx", out}).Code, 0);
    EXPECT_TRUE(ReadAll(out).contains("\r\nIfilename: \xe9.lfx\r\n"));
}

TEST(CliTransform, EachOperation) {
    QTemporaryDir dir;
    const QString in = dir.filePath("srb.lfx"), out = dir.filePath("out.lfx");
    ASSERT_EQ(Tool({"convert", "--import", "crown", Asc + "/SRB.asc", in}).Code, 0);
    const QJsonObject original = Tool({"info", in}).Json();

    ASSERT_EQ(Tool({"transform", in, out, "--resize", "2"}).Code, 0);
    EXPECT_NEAR(Tool({"info", out}).Json()["width"].toDouble(), 2 * original["width"].toDouble(), 1e-3);

    ASSERT_EQ(Tool({"transform", in, out, "--stretch", "1.2"}).Code, 0);
    QJsonObject info = Tool({"info", out}).Json();
    EXPECT_NEAR(Ratio(info), 1.2, 1e-4);
    EXPECT_EQ(info["parts"].toInt(), 1);

    ASSERT_EQ(Tool({"transform", in, out, "--table", "10"}).Code, 0);
    EXPECT_NEAR(Tool({"info", out}).Json()["height"].toDouble(), 10, 1e-6);

    ASSERT_EQ(Tool({"transform", in, out, "--shift", "2"}).Code, 0);
    EXPECT_NEAR(Tool({"info", out}).Json()["height"].toDouble(), original["height"].toDouble() + 2, 1e-3);

    ASSERT_EQ(Tool({"transform", in, out, "--angles", "30,34"}).Code, 0);
    // The stone is pressed along its axis: the table keeps its size and comes lower.
    info = Tool({"info", out}).Json();
    EXPECT_NEAR(info["table"].toDouble(), original["table"].toDouble(), 1e-4);
    EXPECT_NEAR(info["height"].toDouble(),
                original["height"].toDouble() * std::tan(30 * M_PI / 180) / std::tan(34 * M_PI / 180), 1e-4);

    ASSERT_EQ(Tool({"transform", in, out, "--rotate", "-3"}).Code, 0);
    const QJsonArray facets = Tool({"geometry", out}).Json()["facets"].toArray();
    EXPECT_NEAR(facets[2].toObject()["index"].toDouble(), 90, 1e-9); // the first girdle facet, from 93

    ASSERT_EQ(Tool({"transform", in, out, "--round-indices"}).Code, 0);
    EXPECT_EQ(Tool({"info", out}).Json()["facets"].toInt(), original["facets"].toInt());
}

TEST(CliTransform, RefusedValuesAndUsage) {
    QTemporaryDir dir;
    const QString in = Data + "/lfx/box.lfx", out = dir.filePath("out.lfx");
    for (const QStringList& options :
         {QStringList{"--resize", "0"}, QStringList{"--stretch", "-1"}, QStringList{"--resize", "x"},
          QStringList{"--rotate", "1.5"}, QStringList{"--angles", "30"}, QStringList{"--angles", "45,40"},
          QStringList{}, QStringList{"--resize", "2", "--rotate", "1"},
          QStringList{"--resize", "2", "--resize", "3"}, QStringList{"--resize", "nan"},
          QStringList{"--shift", "inf"}, QStringList{"--table", "1e400"}, QStringList{"--resize", "1e6"},
          QStringList{"--rotate", "2147483648"}, QStringList{"--angles", "nan,40"},
          QStringList{"--resize", "50000"}}) {
        const ToolRun run = Tool(QStringList{"transform", in, out} + options);
        EXPECT_EQ(run.Code, 1) << options.join(' ').toStdString();
        EXPECT_FALSE(QFile::exists(out));
    }
    EXPECT_TRUE(Tool({"transform", in, out, "--angles", "45,40"}).Err.contains("Angle not found"));
    EXPECT_TRUE(Tool({"transform", in, out, "--resize", "50000"})
                    .Err.contains("--resize would take the stone beyond the engine's reach"));
    EXPECT_TRUE(Tool({"transform", in, out, "--table", "1e400"}).Err.contains("--table takes a number"));
}
