// instructions and listing --instructions / --gear as a user runs them: every tier in cutting order with
// the earlier tiers it meets, and the indices on another gear with the tiers that cannot be cut exactly.
#include "tool_run.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {
const QString Data = LAPIDRAW_TEST_DATA;
const QString Crown = Data + "/lfx/round_brilliant_crown.lfx";
const QString Pavilion = Data + "/lfx/round_brilliant_pavilion.lfx";

TEST(Instructions, JsonNamesEveryTierAndMeetsOnlyEarlierOnes) {
    const ToolRun run = Tool({"instructions", Crown, "--json"});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QJsonArray tiers = QJsonDocument::fromJson(run.Out).array();
    ASSERT_GE(tiers.size(), 4);
    QStringList earlier;
    for (const QJsonValue& value : tiers) {
        const QJsonObject tier = value.toObject();
        const QString name = tier["tier"].toString();
        EXPECT_FALSE(earlier.contains(name)) << name.toStdString();
        for (const QJsonValue& met : tier["meets"].toArray())
            EXPECT_TRUE(earlier.contains(met.toString())) << name.toStdString() << " meets a later tier";
        EXPECT_GT(tier["facets"].toInt(), 0);
        earlier << name;
    }
    EXPECT_EQ(earlier.first(), "g");
    EXPECT_EQ(earlier.last(), "t");

    const ToolRun text = Tool({"instructions", Crown});
    ASSERT_EQ(text.Code, 0);
    EXPECT_EQ(text.Out.count('\n'), tiers.size());
}

// The whole stone from a half and its partner (either order) or from an ASC file: the pavilion's tiers,
// then the crown's, every name once.
TEST(Instructions, WholeStonePavilionFirstThenCrownNamesUnique) {
    for (const QStringList& files :
         {QStringList{Crown, Pavilion}, QStringList{Pavilion, Crown}, QStringList{Data + "/asc/SRB.asc"}}) {
        const ToolRun run = Tool(QStringList{"instructions"} + files + QStringList{"--json"});
        ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
        const QJsonArray tiers = QJsonDocument::fromJson(run.Out).array();
        QStringList names, halves;
        for (const QJsonValue& value : tiers) {
            names << value.toObject()["tier"].toString();
            halves << value.toObject()["half"].toString();
        }
        EXPECT_EQ(names.removeDuplicates(), 0) << names.join(' ').toStdString();
        EXPECT_EQ(names.first(), "g");
        EXPECT_EQ(names.last(), "t");
        const qsizetype firstCrown = halves.indexOf("crown");
        ASSERT_GT(firstCrown, 1);
        EXPECT_EQ(halves.lastIndexOf("pavilion"), firstCrown - 1);
        EXPECT_TRUE(names[firstCrown].startsWith('c'));
        EXPECT_TRUE(tiers[firstCrown].toObject()["meets"].toArray().contains("g"))
            << "the crown starts at the girdle";
    }
    EXPECT_EQ(Tool({"instructions", Pavilion, Crown}).Out.count('\n'), 7); // g p1 p2 c1 c2 c3 t
    EXPECT_FALSE(Tool({"instructions", Crown, "--json"}).Out.contains("\"half\""));
    EXPECT_EQ(Tool({"instructions", Data + "/asc/SRB.asc", Pavilion}).Code, 1);
    EXPECT_EQ(Tool({"instructions", Data + "/asc/SRB.asc", Pavilion, "--import", "crown"}).Code, 1);
    EXPECT_EQ(Tool({"instructions", Crown, Crown}).Code, 2); // two crowns make no stone
}

TEST(Listing, InstructionsAndGearFollowTheFacetLines) {
    const ToolRun plain = Tool({"listing", Crown});
    const ToolRun aids = Tool({"listing", Crown, "--instructions", "--gear", "80"});
    ASSERT_EQ(aids.Code, 0) << aids.Err.toStdString();
    EXPECT_TRUE(aids.Out.startsWith(plain.Out));
    const QByteArray added = aids.Out.mid(plain.Out.size());
    EXPECT_TRUE(added.contains("Cutting instructions"));
    EXPECT_TRUE(added.contains("Indices on a gear of 80 teeth"));
    EXPECT_EQ(added.count('\n'), added.count("\r\n"));

    for (const char* teeth : {"0", "-96", "401", "twelve"}) {
        const ToolRun refused = Tool({"listing", Crown, "--gear", teeth});
        EXPECT_EQ(refused.Code, 1) << teeth;
        EXPECT_TRUE(refused.Out.isEmpty());
    }
}
} // namespace
