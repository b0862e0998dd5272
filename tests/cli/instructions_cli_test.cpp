// instructions and listing --instructions / --gear as a user runs them: every tier in cutting order with
// the earlier tiers it meets, and the indices on another gear with the tiers that cannot be cut exactly.
#include "tool_run.h"

#include <QJsonArray>

#include <gtest/gtest.h>

namespace {
const QString Data = LAPIDRAW_TEST_DATA;
const QString Crown = Data + "/lfx/round_brilliant_crown.lfx";

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
