// lapidraw-tool library: index, search and show as a user runs them, and their refusals.
#include "tool_run.h"

#include <QDir>
#include <QJsonArray>
#include <QTemporaryDir>

namespace {
const QString Asc = LAPIDRAW_TEST_DATA "/asc";

// The designs of the folder: each ASC file is one.
int AscFileCount() {
    return static_cast<int>(QDir(Asc).entryList({"*.asc"}, QDir::Files).size());
}

QJsonArray JsonArray(const ToolRun& run) {
    return QJsonDocument::fromJson(run.Out).array();
}
} // namespace

TEST(LibraryCli, IndexesSearchesAndShowsWithTheQueryLanguageOrItsOptions) {
    QTemporaryDir dir;
    const QString db = dir.filePath("lib.sqlite");
    ToolRun run = Tool({"library", "index", Asc, "--db", db});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    EXPECT_TRUE(run.Out.contains(QString("%1 designs read").arg(AscFileCount()).toUtf8()))
        << run.Out.toStdString();

    // The same search as options and as words of the query language.
    const ToolRun options =
        Tool({"library", "search", "--db", db, "--shape", "round", "--lw", "1.0", "--json"});
    const ToolRun words = Tool({"library", "search", "--db", db, "shape:round", "lw:1.0", "--json"});
    ASSERT_EQ(options.Code, 0) << options.Err.toStdString();
    EXPECT_EQ(options.Out, words.Out);
    const QJsonArray found = JsonArray(options);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(found[0].toObject()["name"].toString(), "SRB");
    EXPECT_EQ(found[0].toObject()["facets"].toInt(), 73);

    const QJsonArray byFacets =
        JsonArray(Tool({"library", "search", "--db", db, "--sort", "-facets", "--json"}));
    ASSERT_EQ(byFacets.size(), AscFileCount());
    for (int k = 1; k < byFacets.size(); ++k)
        EXPECT_GE(byFacets[k - 1].toObject()["facets"].toInt(), byFacets[k].toObject()["facets"].toInt());

    run = Tool({"library", "show", "--db", db, Asc + "/Turkey.asc", "--json"});
    ASSERT_EQ(run.Code, 0);
    EXPECT_EQ(run.Json()["kind"].toString(), "asc");
    EXPECT_EQ(Tool({"library", "show", "--db", db, Asc + "/none.asc"}).Code, 2);
}

// Designs that lie along y: the library holds the figures the stone command prints.
TEST(LibraryCli, ShowsTheFiguresOfTheStoneCommand) {
    QTemporaryDir dir;
    const QString db = dir.filePath("lib.sqlite");
    ASSERT_EQ(Tool({"library", "index", Asc, "--db", db}).Code, 0);
    for (const char* name : {"SRB.asc", "Turkey.asc", "five_on_96.asc"}) {
        SCOPED_TRACE(name);
        const QJsonObject shown = Tool({"library", "show", "--db", db, Asc + "/" + name, "--json"}).Json();
        const QJsonObject stone = Tool({"stone", Asc + "/" + name}).Json();
        const QJsonObject ratios = stone["ratios"].toObject();
        for (const auto& [key, ratio] :
             std::initializer_list<std::pair<const char*, const char*>>{{"lw", "L/W"},
                                                                        {"tw", "T/W"},
                                                                        {"cw", "C/W"},
                                                                        {"pw", "P/W"},
                                                                        {"gw", "G/W thickest"},
                                                                        {"hw", "H/W"},
                                                                        {"vol", "Vol/W3"}})
            EXPECT_NEAR(shown[key].toDouble(), ratios[ratio].toDouble(), 1e-9) << key;
        const QJsonObject facets = stone["facets"].toObject();
        EXPECT_EQ(shown["facets"].toInt(),
                  facets["crown"].toInt() + facets["pavilion"].toInt() + facets["girdle"].toInt());
    }
}

TEST(LibraryCli, RefusesWrongTermsAndReportsADamagedDatabase) {
    QTemporaryDir dir;
    const QString db = dir.filePath("lib.sqlite");
    for (const QStringList& arguments : {QStringList{"library"},
                                         {"library", "sort"},
                                         {"library", "index", "--db", db},
                                         {"library", "search", "--db", db, "--lw", "wide"},
                                         {"library", "search", "--db", db, "colour:red"}})
        EXPECT_EQ(Tool(arguments).Code, 1) << arguments.join(' ').toStdString();
    EXPECT_EQ(Tool({"library", "index", dir.filePath("missing"), "--db", db}).Code, 2);

    QFile junk(db);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, '\x5a'));
    junk.close();
    ToolRun run = Tool({"library", "search", "--db", db});
    EXPECT_EQ(run.Code, 2);
    EXPECT_TRUE(run.Err.contains("damaged")) << run.Err.toStdString();
    EXPECT_TRUE(run.Err.contains("--rebuild")) << run.Err.toStdString();
    run = Tool({"library", "index", "--rebuild", Asc, "--db", db});
    EXPECT_EQ(run.Code, 0) << run.Err.toStdString();
}
