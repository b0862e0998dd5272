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
