// listing, print and render to EMF as a user runs them: the text the printer gets, the printed page as
// a PDF read back with poppler's tools, and the metafile read back by an independent reader.
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "tool_run.h"

#include <gtest/gtest.h>

namespace {
const QString Data = LAPIDRAW_TEST_DATA;
const QString Crown = Data + "/lfx/round_brilliant_crown.lfx";

bool Have(const char* program) {
    return !QStandardPaths::findExecutable(program).isEmpty();
}

// The standard output of a helper program, or nothing when it failed.
QString OutputOf(const QString& program, const QStringList& arguments) {
    QProcess process;
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
    return QString::fromUtf8(process.readAllStandardOutput());
}

TEST(Listing, TextAsThePrinterGetsIt) {
    const ToolRun run = Tool({"listing", Crown});
    ASSERT_EQ(run.Code, 0) << run.Err.toStdString();
    const QByteArray& text = run.Out;
    const QByteArray head = QByteArray(15, ' ') + "Page:     1" + QByteArray(20, ' ') +
                            QFileInfo(Crown).absoluteFilePath().toUtf8() + "\r\n";
    EXPECT_TRUE(text.startsWith("\r\n\r\n" + head));
    EXPECT_EQ(text.count("\r\n"), 8 + 50); // facets -1 ... 48: one full page
    EXPECT_EQ(text.count('\n'), text.count("\r\n"));
    EXPECT_FALSE(text.contains('\f'));

    const ToolRun sixty = Tool({"listing", Data + "/lfx/sixty_facets.lfx"});
    ASSERT_EQ(sixty.Code, 0);
    EXPECT_EQ(sixty.Out.count("\r\n\f\r\n"), 1);
    EXPECT_EQ(sixty.Out.count("Page:     2"), 1);

    EXPECT_EQ(Tool({"listing", Data + "/lfx/missing.lfx"}).Code, 2);
}

TEST(Print, DesignAndFullPageIntoPdf) {
    QTemporaryDir dir;
    const QString a4 = dir.filePath("a4.pdf"), letter = dir.filePath("letter.pdf"),
                  full = dir.filePath("full.pdf");
    ASSERT_EQ(Tool({"print", Crown, "-o", a4}).Code, 0);
    ASSERT_EQ(
        Tool({"print", Data + "/lfx/round_brilliant_pavilion.lfx", "-o", letter, "--paper", "Letter"}).Code,
        0);
    ASSERT_EQ(Tool({"print", Crown, "-o", full, "--full-page"}).Code, 0);
    for (const QString& pdf : {a4, letter, full})
        EXPECT_TRUE(ReadAll(pdf).startsWith("%PDF-"));
    if (!Have("pdfinfo") || !Have("pdftotext"))
        GTEST_SKIP() << "poppler-utils (pdfinfo, pdftotext) not installed";

    EXPECT_TRUE(OutputOf("pdfinfo", {a4}).contains(QRegularExpression("Pages:\\s+1\\n")));
    EXPECT_TRUE(OutputOf("pdfinfo", {a4}).contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 842")));
    EXPECT_TRUE(
        OutputOf("pdfinfo", {letter}).contains(QRegularExpression("Page size:\\s+612(\\.\\d+)? x 792")));

    const QString text = OutputOf("pdftotext", {a4, "-"});
    for (const char* shown : {"8 identical parts", "L/W = 1.000", "C/W = 0.167", "49 crown facets",
                              "filename: round_brilliant_crown.lfx", "C3 42.00"})
        EXPECT_TRUE(text.contains(shown)) << shown;
    EXPECT_TRUE(OutputOf("pdftotext", {letter, "-"}).contains("40 pavilion facets"));
    const QString fullText = OutputOf("pdftotext", {full, "-"});
    EXPECT_TRUE(fullText.contains("C5") && fullText.contains("any"));
}

TEST(Print, RefusesWhatItCannotDo) {
    QTemporaryDir dir;
    EXPECT_EQ(Tool({"print", Crown, "-o", dir.filePath("x.pdf"), "--paper", "A3"}).Code, 1);
    EXPECT_EQ(Tool({"print", Crown, "-o", dir.filePath("x.png")}).Code, 1);
    EXPECT_EQ(Tool({"print", Crown}).Code, 1);
    const ToolRun missing = Tool({"print", dir.filePath("missing.lfx"), "-o", dir.filePath("x.pdf")});
    EXPECT_EQ(missing.Code, 2);
    EXPECT_EQ(Tool({"print", Crown, "-o", dir.filePath("no/such/folder/x.pdf")}).Code, 2);
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Files).isEmpty());
}

TEST(Render, SheetToEmfReadBackByAnotherProgram) {
    QTemporaryDir dir;
    const QString emf = dir.filePath("rb.emf"), svg = dir.filePath("rb.svg");
    ASSERT_EQ(Tool({"render", Crown, "-o", emf, "--size", "800x600"}).Code, 0);
    const QByteArray bytes = ReadAll(emf);
    ASSERT_GT(bytes.size(), 1000);
    EXPECT_EQ(bytes.mid(40, 4), QByteArray(" EMF"));
    if (!Have("emf2svg-conv")) GTEST_SKIP() << "emf2svg-conv (Debian emf2svg) not installed";
    ASSERT_EQ(QProcess::execute("emf2svg-conv", {"-i", emf, "-o", svg}), 0);
    const QString text = QString::fromUtf8(ReadAll(svg));
    EXPECT_TRUE(text.contains("width=\"800.0000\" height=\"600.0000\""));
    for (const char* shown : {"L/W = 1.000", "C/W = 0.167", "C/L  = 0.167", "T/W = 50%", "49 crown facets"})
        EXPECT_TRUE(text.contains(QString("[%1]").arg(shown))) << shown;
    // The stone's edges in the three views and the sheet's lines are paths of the picture.
    EXPECT_GT(text.count("<path d=\"M "), 300);
}

} // namespace
