#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include "tool_run.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace {
const QString Data = LAPIDRAW_TEST_DATA;

QStringList Strings(const QJsonValue& value) {
    QStringList list;
    for (const auto& v : value.toArray())
        list << v.toString();
    return list;
}

// One line on standard error.
void ExpectOneErrorLine(const ToolRun& run) {
    EXPECT_TRUE(run.Err.endsWith('\n'));
    EXPECT_EQ(run.Err.count('\n'), 1) << run.Err.toStdString();
}
} // namespace

TEST(Info, BoxCrownAgainstHandValues) {
    const ToolRun run = Tool({"info", Data + "/lfx/box.lfx"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QJsonObject info = run.Json();
    EXPECT_EQ(info.keys().size(), 18);
    EXPECT_EQ(info["type"].toString(), "crown");
    EXPECT_EQ(info["system_index"].toInt(), 4);
    EXPECT_EQ(info["parts"].toInt(), 4);
    EXPECT_FALSE(info["mirror"].toBool(true));
    EXPECT_EQ(info["offset"].toInt(), 0);
    EXPECT_EQ(info["facets"].toInt(), 4);
    EXPECT_EQ(info["edges"].toInt(), 12);
    EXPECT_EQ(info["points"].toInt(), 8);
    EXPECT_EQ(info["tiers"].toInt(), 3); // table, girdle plane, girdle facets
    EXPECT_DOUBLE_EQ(info["width"].toDouble(), 10);
    EXPECT_DOUBLE_EQ(info["length"].toDouble(), 10);
    EXPECT_DOUBLE_EQ(info["height"].toDouble(), 5);
    EXPECT_DOUBLE_EQ(info["table"].toDouble(), 10);
    EXPECT_DOUBLE_EQ(info["volume"].toDouble(), 500);
    EXPECT_EQ(info["facets_shown"].toInt(), 5);
    EXPECT_EQ(Strings(info["proportions"]),
              QStringList({" 4 identical parts", "L/W = 1.000", "T/W = 100%", "C/L  = 0.500", "C/W = 0.500",
                           " 5 crown facets", "system index used is   4",
                           QString::fromUtf8("Vol.Crown =   0.500 x W³")}));
    EXPECT_EQ(Strings(info["messages"]), QStringList({"", "", "", ""}));
    const QStringList text = Strings(info["text"]);
    ASSERT_EQ(text.size(), 21);
    EXPECT_EQ(text[9], "filename: box.lfx");
    EXPECT_EQ(text[19], "Box");
    EXPECT_EQ(text[20], "A. Cutter");
}

TEST(Info, PyramidPavilionAgainstHandValues) {
    const ToolRun run = Tool({"info", Data + "/lfx/pyramid.lfx"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QJsonObject info = run.Json();
    EXPECT_EQ(info["type"].toString(), "pavilion");
    EXPECT_EQ(info["points"].toInt(), 5);
    EXPECT_EQ(info["edges"].toInt(), 8);
    EXPECT_NEAR(info["width"].toDouble(), 8, 1e-5);
    EXPECT_NEAR(info["height"].toDouble(), 4, 1e-5);
    EXPECT_TRUE(info["table"].isNull());
    EXPECT_NEAR(info["volume"].toDouble(), 256 / 3.0, 1e-4);
    EXPECT_EQ(info["facets_shown"].toInt(), 4);
    const QStringList proportions = Strings(info["proportions"]);
    EXPECT_TRUE(proportions.contains(QString::fromUtf8("Vol.Pav. =   0.167 x W³")));
    EXPECT_EQ(proportions.last(), "CCD01/02=  1.414 x W");
    EXPECT_EQ(Strings(info["messages"])[3], "CCD01/02=  1.414 x W");
}

TEST(Info, RealsCarryFullPrecision) {
    const ToolRun run = Tool({"info", Data + "/lfx/pyramid.lfx"});
    ASSERT_EQ(run.Code, 0);
    // The volume (about 85.33) is not a short decimal: it is written with 17 significant digits.
    const QRegularExpressionMatch match = QRegularExpression("\"volume\":([0-9.]+)").match(run.Out);
    ASSERT_TRUE(match.hasMatch());
    const QString number = match.captured(1);
    EXPECT_EQ(number.count(QRegularExpression("[0-9]")), 17) << number.toStdString();
    EXPECT_NEAR(number.toDouble(), 256 / 3.0, 1e-4);
}

// The first installed locale that writes numbers with a decimal comma, or empty.
QString CommaLocale() {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    QString found;
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "nl_NL.UTF-8", "de_DE", "fr_FR"})
        if (std::setlocale(LC_NUMERIC, name) != nullptr && std::localeconv()->decimal_point[0] == ',') {
            found = name;
            break;
        }
    std::setlocale(LC_NUMERIC, saved.c_str());
    return found;
}

TEST(Info, NumbersUseAPointInEveryLocale) {
    const QString comma = CommaLocale();
    if (comma.isEmpty()) GTEST_SKIP() << "no locale with a decimal comma is installed";
    QProcessEnvironment plain = QProcessEnvironment::systemEnvironment(), local = plain;
    plain.insert("LC_ALL", "C");
    local.insert("LC_ALL", comma);
    const QString design = Data + "/lfx/pyramid.lfx";
    const ToolRun expected = Tool({"info", design}, plain), run = Tool({"info", design}, local);
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Out, expected.Out);
    QTemporaryDir dir;
    ASSERT_EQ(Tool({"convert", design, dir.filePath("c.otl")}, plain).Code, 0);
    ASSERT_EQ(Tool({"convert", design, dir.filePath("local.otl")}, local).Code, 0);
    EXPECT_EQ(ReadAll(dir.filePath("local.otl")), ReadAll(dir.filePath("c.otl")));
}

TEST(Geometry, BoxPointsEdgesAndFacets) {
    const ToolRun run = Tool({"geometry", Data + "/lfx/box.lfx"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QJsonObject geometry = run.Json();
    const QJsonArray points = geometry["points"].toArray();
    ASSERT_EQ(points.size(), 8);
    for (const auto& p : points) {
        const QJsonArray xyz = p.toArray();
        ASSERT_EQ(xyz.size(), 3);
        EXPECT_NEAR(std::fabs(xyz[0].toDouble()), 5, 1e-12);
        EXPECT_NEAR(std::fabs(xyz[1].toDouble()), 5, 1e-12);
        EXPECT_TRUE(std::fabs(xyz[2].toDouble()) < 1e-12 || std::fabs(xyz[2].toDouble() - 5) < 1e-12);
    }
    const QJsonArray edges = geometry["edges"].toArray();
    ASSERT_EQ(edges.size(), 12);
    for (const auto& e : edges) {
        const QJsonArray edge = e.toArray();
        ASSERT_EQ(edge.size(), 4);
        EXPECT_LT(edge[0].toInt(), edge[1].toInt());
        EXPECT_GE(edge[2].toInt(), 1);
        EXPECT_LE(edge[3].toInt(), 8);
    }
    const QJsonArray facets = geometry["facets"].toArray();
    ASSERT_EQ(facets.size(), 6); // -1, 0 and the four girdle facets
    const QJsonObject table = facets[0].toObject();
    EXPECT_EQ(table["number"].toInt(), -1);
    EXPECT_EQ(table["normal"].toArray()[2].toDouble(), -1);
    EXPECT_EQ(table["dist"].toDouble(), -5);
    EXPECT_EQ(table["angle"].toDouble(), 0);
    EXPECT_EQ(table["sym"].toString(), "n");
    const QJsonArray corners = table["corners"].toArray();
    ASSERT_EQ(corners.size(), 5);
    EXPECT_EQ(corners.first(), corners.last());
    const QJsonObject second = facets[3].toObject();
    EXPECT_EQ(second["number"].toInt(), 2);
    EXPECT_EQ(second["index"].toDouble(), 1);
    EXPECT_EQ(second["shown_index"].toDouble(), 1);
    EXPECT_DOUBLE_EQ(second["angle"].toDouble(), 90);
    EXPECT_EQ(second["group_parts"].toInt(), 0);
    EXPECT_EQ(facets[2].toObject()["group_parts"].toInt(), 4);
    EXPECT_EQ(facets[2].toObject()["sym"].toString(), " ");
}

TEST(Convert, WritesADesignThatReadsBackTheSame) {
    QTemporaryDir dir;
    const QString out = dir.filePath("copy.lfx");
    const ToolRun run = Tool({"convert", Data + "/lfx/pyramid.lfx", out});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.isEmpty());
    QFile file(out);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.contains("\r\nIfilename: copy.lfx\r\n"));
    EXPECT_TRUE(bytes.endsWith("\r\ne\r\n"));
    QJsonObject before = Tool({"info", Data + "/lfx/pyramid.lfx"}).Json();
    QJsonObject after = Tool({"info", out}).Json();
    before.remove("text");
    after.remove("text");
    EXPECT_EQ(before, after);
}

TEST(Convert, BrokenInputWritesNothing) {
    QTemporaryDir dir;
    const QString out = dir.filePath("never.lfx");
    const QString in = Data + "/broken/letter_for_number.lfx";
    const ToolRun run = Tool({"convert", in, out});
    EXPECT_EQ(run.Code, 2);
    EXPECT_FALSE(QFile::exists(out));
    ExpectOneErrorLine(run);
    EXPECT_TRUE(run.Err.contains(in.toLocal8Bit() + ", line 6: a number was expected"))
        << run.Err.toStdString();
}

TEST(Convert, UnwritableOutputAndUnknownFormat) {
    QTemporaryDir dir;
    const QString out = dir.filePath("missing/out.lfx");
    ToolRun run = Tool({"convert", Data + "/lfx/box.lfx", out});
    EXPECT_EQ(run.Code, 2);
    ExpectOneErrorLine(run);
    EXPECT_TRUE(run.Err.contains("Cannot write file " + out.toLocal8Bit() + ". Error:    2"));
    run = Tool({"convert", Data + "/lfx/box.lfx", dir.filePath("out.xyz")});
    EXPECT_EQ(run.Code, 1);
    EXPECT_FALSE(QFile::exists(dir.filePath("out.xyz")));
}

TEST(Usage, ExitCodesAndMessages) {
    EXPECT_EQ(Tool({}).Code, 1);
    EXPECT_EQ(Tool({"frobnicate"}).Code, 1);
    EXPECT_EQ(Tool({"info"}).Code, 1);
    EXPECT_EQ(Tool({"info", "a.lfx", "b.lfx"}).Code, 1);
    EXPECT_EQ(Tool({"info", "--bogus", "a.lfx"}).Code, 1);
    const ToolRun missing = Tool({"info", Data + "/no-such-file.lfx"});
    EXPECT_EQ(missing.Code, 2);
    ExpectOneErrorLine(missing);
    EXPECT_TRUE(missing.Err.contains("no-such-file.lfx. Error:    2"));
}

TEST(Usage, AnEmptyFileNameWasTakenAsAFile) {
    for (const QStringList& arguments : {QStringList{"info", ""}, QStringList{"convert", "", "out.lfx"}}) {
        const ToolRun run = Tool(arguments);
        EXPECT_EQ(run.Code, 1);
        EXPECT_TRUE(run.Err.contains("an empty argument names no file")) << run.Err.toStdString();
    }
}

TEST(Usage, OutputThatCannotBeWrittenIsAFileError) {
    if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    QProcess process;
    process.setStandardOutputFile("/dev/full");
    process.start(LAPIDRAW_TOOL, {"geometry", Data + "/lfx/box.lfx"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().contains("standard output"));
}

TEST(Usage, HelpAndVersion) {
    const ToolRun help = Tool({"--help"});
    EXPECT_EQ(help.Code, 0);
    for (const char* command : {"info", "geometry", "convert"})
        EXPECT_TRUE(help.Out.contains(command));
    const ToolRun commandHelp = Tool({"convert", "--help"});
    EXPECT_EQ(commandHelp.Code, 0);
    EXPECT_TRUE(commandHelp.Out.startsWith("Usage: lapidraw-tool convert [options] IN OUT\n"))
        << commandHelp.Out.toStdString();
    const ToolRun version = Tool({"--version"});
    EXPECT_EQ(version.Code, 0);
    EXPECT_TRUE(version.Out.startsWith("lapidraw-tool "));
}
