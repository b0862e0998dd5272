// lapidraw-tool optics: figures as JSON, pictures, and its usage errors.
#include "tool_run.h"

#include <QJsonArray>
#include <QTemporaryDir>

namespace {
const QString Data = LAPIDRAW_TEST_DATA;

double Value(const QJsonObject& figures, const char* key) {
    return figures[key].toObject()["value"].toDouble();
}

TEST(Optics, PrintsEveryFigureOfAWholeStoneWithItsError) {
    const ToolRun run = Tool(
        {"optics", Data + "/asc/SRB.asc", "--rays", "2000", "--json", "--tilt", "10", "--head-shadow", "5"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QJsonObject json = run.Json();
    EXPECT_EQ(json["material"].toString(), "quartz");
    for (const char* key :
         {"iso", "cos", "returned", "windowed", "lost", "outerReflection", "shadowed", "fire"})
        EXPECT_GE(json[key].toObject()["error"].toDouble(), 0) << key;
    EXPECT_NEAR(Value(json, "returned") + Value(json, "windowed") + Value(json, "lost") +
                    Value(json, "outerReflection"),
                100, 1e-6);
    EXPECT_GT(Value(json, "iso"), 50);
    EXPECT_GT(Value(json, "shadowed"), 0);
    const QJsonObject tilt = json["tilt"].toObject();
    EXPECT_EQ(tilt["axes"].toArray().size(), 2);
    const QJsonObject axis = tilt["axes"].toArray()[0].toObject();
    const double zero = Value(axis["atZero"].toObject(), "iso"),
                 half = Value(axis["atHalf"].toObject(), "iso"),
                 full = Value(axis["atFull"].toObject(), "iso");
    EXPECT_EQ(zero, Value(json, "iso"));
    EXPECT_NEAR(Value(axis, "meanIso"), (zero + half + full) / 3, 1e-9);
}

// A crown and a pavilion design file make the same whole stone whichever comes first.
TEST(Optics, TakesTheTwoHalvesInEitherOrder) {
    const QString crown = Data + "/lfx/round_brilliant_crown.lfx",
                  pavilion = Data + "/lfx/round_brilliant_pavilion.lfx";
    const ToolRun a = Tool({"optics", crown, pavilion, "--rays", "1000", "--json", "--ri", "1.76"});
    const ToolRun b = Tool({"optics", pavilion, crown, "--rays", "1000", "--json", "--ri", "1.76"});
    ASSERT_EQ(a.Code, 0) << a.Err.toStdString();
    EXPECT_EQ(Value(a.Json(), "iso"), Value(b.Json(), "iso"));
    EXPECT_EQ(a.Json()["material"].toString(), "typed");
}

TEST(Optics, WritesPicturesAsPngAndSvg) {
    QTemporaryDir dir;
    for (const char* kind : {"brightness", "tilt"})
        for (const char* suffix : {".png", ".svg"}) {
            const QString path = dir.filePath(QString(kind) + suffix);
            const ToolRun run = Tool({"optics", Data + "/lfx/round_brilliant_pavilion.lfx", "--rays", "400",
                                      "--size", "64", "--picture", kind, "-o", path});
            ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
            const QByteArray bytes = ReadAll(path);
            EXPECT_TRUE(suffix[1] == 'p' ? bytes.startsWith("\x89PNG") : bytes.contains("<svg"))
                << kind << suffix;
        }
}

TEST(Optics, RefusesWhatItCannotDo) {
    const QString file = Data + "/asc/SRB.asc";
    EXPECT_EQ(Tool({"optics", file, "--ri", "1.5", "--material", "quartz"}).Code, 1);
    EXPECT_EQ(Tool({"optics", file, "--material", "unobtainium"}).Code, 1);
    EXPECT_EQ(Tool({"optics", file, "--light", "sun"}).Code, 1);
    EXPECT_EQ(Tool({"optics", file, file}).Code, 1);
    EXPECT_EQ(Tool({"optics", file, "-o", "picture.pdf"}).Code, 1);
    const QString crown = Data + "/lfx/round_brilliant_crown.lfx";
    EXPECT_EQ(Tool({"optics", crown, crown}).Code, 2); // two crowns
}

} // namespace
