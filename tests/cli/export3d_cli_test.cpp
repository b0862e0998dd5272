// lapidraw-tool export3d and outline, run as a user would: files and notes, and the refusals that
// leave no file behind.
#include <QDir>
#include <QFile>
#include <QJsonObject>
#include <QTemporaryDir>

#include "tool_run.h"

#include <gtest/gtest.h>

namespace {
const QString Asc = QString(LAPIDRAW_TEST_DATA) + "/asc";

TEST(Export3dCommand, WritesEachFormatAtTheAskedSize) {
    QTemporaryDir dir;
    for (const char* format : {"stl", "obj", "3mf", "step"}) {
        const QString out = dir.filePath(QString("srb.") + format);
        const ToolRun run = Tool({"export3d", Asc + "/SRB.asc", "-o", out, "--width-mm", "6.5"});
        ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
        const QJsonObject note = run.Json();
        EXPECT_NEAR(note["width_mm"].toDouble(), 6.5, 1e-9) << format;
        EXPECT_GT(QFile(out).size(), 0) << format;
    }
    EXPECT_TRUE(QFile::exists(dir.filePath("srb.mtl")));
    // By weight, one half, a thicker girdle.
    const ToolRun run = Tool({"export3d", Asc + "/SRB.asc", "-o", dir.filePath("crown.stl"), "--carats", "1",
                              "--material", "Diamond", "--half", "crown", "--min-girdle-mm", "0.2"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_EQ(run.Json()["stone"].toString(), "crown");
    EXPECT_GE(run.Json()["girdle_mm"].toDouble(), 0.1 - 1e-9); // a half's own share
    const ToolRun outline =
        Tool({"outline", Asc + "/SRB.asc", "-o", dir.filePath("srb.dxf"), "--width-mm", "6.5"});
    ASSERT_EQ(outline.Code, 0) << outline.Err.toStdString();
    EXPECT_NEAR(outline.Json()["width_mm"].toDouble(), 6.5, 1e-6);
}

TEST(Export3dCommand, BadInputLeavesNoFile) {
    QTemporaryDir dir;
    const QString out = dir.filePath("stone.stl");
    struct Case {
        QStringList Arguments;
        int Code;
    };
    const Case cases[] = {
        {{"export3d", Asc + "/SRB.asc", "-o", out, "--width-mm", "0"}, 1},
        {{"export3d", Asc + "/SRB.asc", "-o", out, "--width-mm", "inf"}, 1},
        {{"export3d", Asc + "/SRB.asc", "-o", out, "--carats", "nan", "--material", "Quartz"}, 1},
        {{"export3d", Asc + "/SRB.asc", "-o", out, "--carats", "1", "--material", "unobtainium"}, 1},
        {{"export3d", Asc + "/SRB.asc", "-o", out}, 1},
        {{"export3d", Asc + "/SRB.asc", "-o", out, "--width-mm", "5", "--min-girdle-mm", "-1"}, 1},
        {{"export3d", Asc + "/SRB.asc", "-o", out, "--width-mm", "5", "--half", "table"}, 1},
        {{"export3d", Asc + "/SRB.asc", "-o", dir.filePath("stone.ply"), "--width-mm", "5"}, 1},
        {{"export3d", Asc + "/SRB.asc", "-o", dir.filePath("no/such/folder.stl"), "--width-mm", "5"}, 2},
        {{"outline", Asc + "/SRB.asc", "-o", dir.filePath("no/such/folder.svg"), "--width-mm", "5"}, 2},
        {{"outline", Asc + "/SRB.asc", "-o", dir.filePath("o.svg")}, 1},
    };
    for (const Case& c : cases) {
        const ToolRun run = Tool(c.Arguments);
        EXPECT_EQ(run.Code, c.Code) << c.Arguments.join(' ').toStdString();
        EXPECT_FALSE(run.Err.isEmpty());
    }
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
}
} // namespace
