// "Text editor", "list of facet data" and "About Lapidra" through the main window, and the version
// caption that every saved design carries.
#include "dialogs/about_dialog.h"
#include "dialogs/facet_list_dialog.h"
#include "dialogs/text_editor_dialog.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>

namespace {
int Width(const QLineEdit* edit, const QString& text) {
    return edit->fontMetrics().horizontalAdvance(text);
}
} // namespace

class TextListAboutTest : public QObject {
    Q_OBJECT

  private slots:
    void editorLoadsUpToLastNonBlankLine();
    void okIsOneStepOnlyAfterTyping();
    void pastedAndTypedTextStopsAtTheSheetWidth();
    void listOfNewCrownHasThreeRows();
    void listRows_data();
    void listRows();
    void listShowsThePreformWhileShown();
    void aboutBoxAndVersionOfSavedDesign();
};

void TextListAboutTest::editorLoadsUpToLastNonBlankLine() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    TGem& d = w.Design();
    d.SetTextLine(3, "three");
    d.SetTextLine(FileNameLine, "filename: x.lfx");
    d.SetTextLine(15, "note");
    d.SetTextLine(CutNameLine, "brilliant");
    InDialog<TForm7>(w, "Edittext1", [](TForm7& form) { QCOMPARE(form.Lines[15]->text(), QString("note")); });
    d.SetTextLine(15, "   ");
    d.SetTextLine(AuthorLine, "me");
    InDialog<TForm7>(w, "Edittext1", [](TForm7& form) {
        QCOMPARE(form.Lines[3]->text(), QString("three"));
        QCOMPARE(form.Lines[FileNameLine]->text(), QString("filename: x.lfx"));
        QVERIFY(!form.Lines[FileNameLine]->isEnabled());
        for (int k = 11; k <= TForm7::FreeLineCount; ++k) {
            QCOMPARE(form.Lines[k]->text(), QString());
            QVERIFY(form.Lines[k]->toolTip().endsWith("next column "));
        }
        QCOMPARE(form.Edit20->text(), QString("brilliant"));
        QCOMPARE(form.Edit21->text(), QString("me"));
        QCOMPARE(QApplication::focusWidget(), form.Lines[1]);
    });
}

void TextListAboutTest::okIsOneStepOnlyAfterTyping() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    const int step = w.Changes().History().Current();
    const QString title = w.windowTitle();
    InDialog<TForm7>(w, "Edittext1", [](TForm7& form) { form.BitBtn1->click(); });
    QCOMPARE(w.Changes().History().Current(), step);
    QCOMPARE(w.windowTitle(), title);

    InDialog<TForm7>(w, "Edittext1", [](TForm7& form) {
        QTest::keyClicks(form.Lines[2], "Crown");
        QTest::keyClicks(form.Lines[12], "&1 polish");
        QTest::keyClicks(form.Edit21, "A. Cutter");
        form.BitBtn1->click();
    });
    QCOMPARE(w.Changes().History().Current(), step + 1);
    QCOMPARE(w.Design().TextLine(2), std::string("Crown"));
    QCOMPARE(w.Design().TextLine(12), std::string("&1 polish"));
    QCOMPARE(w.Design().TextLine(AuthorLine), std::string("A. Cutter"));
    w.Action("Undo2")->trigger();
    QCOMPARE(w.Design().TextLine(2), std::string());

    // Cance&l stores nothing.
    InDialog<TForm7>(w, "Edittext1", [](TForm7& form) {
        QTest::keyClicks(form.Lines[2], "dropped");
        form.BitBtn2->click();
    });
    QCOMPARE(w.Design().TextLine(2), std::string());
}

void TextListAboutTest::pastedAndTypedTextStopsAtTheSheetWidth() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    const int limit = w.TextLinesWidth();
    QVERIFY(limit > 100);
    const QString wide = QString("pasted words ").repeated(20);
    QApplication::clipboard()->setText(wide);
    InDialog<TForm7>(w, "Edittext1", [&](TForm7& form) {
        QLineEdit* pasted = form.Lines[4];
        QTest::keyClick(pasted, Qt::Key_V, Qt::ControlModifier);
        const QString kept = pasted->text();
        QVERIFY(!kept.isEmpty() && wide.startsWith(kept));
        QVERIFY(Width(pasted, kept) <= limit);
        QVERIFY(Width(pasted, wide.left(kept.size() + 1)) > limit);

        // Typing stops once the line is within 10 pixels of the width.
        QLineEdit* typed = form.Lines[5];
        QTest::keyClicks(typed, wide);
        QVERIFY(typed->text().size() < wide.size());
        QVERIFY(Width(typed, typed->text()) <= limit);
        QVERIFY(Width(typed, typed->text().chopped(1)) <= limit - 10);
        form.BitBtn1->click();
    });
    const QString stored = QString::fromStdString(w.Design().TextLine(4));
    QVERIFY(!stored.isEmpty() && wide.startsWith(stored));
}

void TextListAboutTest::listOfNewCrownHasThreeRows() {
    WindowFixture f;
    InDialog<TForm5>(*f.Window, "List1", [](TForm5& form) {
        QCOMPARE(form.windowTitle(), QString("list of facet data"));
        QCOMPARE(form.RowCount(), 3);
        QCOMPARE(form.Cells(0, 0), QString(" i"));
        QCOMPARE(form.Cells(0, 1), QString(" -1"));
        QCOMPARE(form.Cells(0, 2), QString("  0"));
        QCOMPARE(form.Cells(6, 2), QString("  0.00"));
        QCOMPARE(form.Cells(7, 2), QString());
    });
}

void TextListAboutTest::listRows_data() {
    QTest::addColumn<int>("facet");
    QTest::addColumn<QStringList>("cells");
    // A brilliant crown without its halves, and a girdle group beyond the stone's reach.
    QTest::newRow("girdle, first of a mirrored group")
        << 1
        << QStringList{"  1", "-0.9808", "-0.1951", " 0.0000", "-50.0000", "  3.00", " 90.00", "  1  8m"};
    QTest::newRow("its twin") << 9 << QStringList{"  9",      "-0.9808", " 0.1951", " 0.0000",
                                                  "-50.0000", " 93.00",  " 90.00",  "  1   m"};
    QTest::newRow("star of tier 3, on a mirror line")
        << 25
        << QStringList{" 25", "-0.3461", "-0.1434", "-0.9272", "-24.5934", "  6.00", " 22.00", "  3  8s"};
    QTest::newRow("cut away") << 33 << QStringList{" 33",      "-1.0000", " 0.0000", " 0.0000",
                                                   "-55.0000", "  0.00",  " 90.00",  "  4* 8s"};
}

void TextListAboutTest::listRows() {
    QFETCH(int, facet);
    QFETCH(QStringList, cells);
    WindowFixture f;
    Tstartform& w = *f.Window;
    std::unique_ptr<TGem> design = RoundBrilliantCrown();
    design->DeleteFacets(25, 40);
    QVERIFY(CutByAngle(*design, 90, 0, 55));
    UseDesign(w, std::move(design));
    InDialog<TForm5>(w, "List1", [&](TForm5& form) {
        QCOMPARE(form.RowCount(), w.Design().FacetCount + 3);
        for (int c = 0; c < TForm5::ColCount; ++c)
            QCOMPARE(form.Cells(c, facet + 2), cells[c]);
    });
}

void TextListAboutTest::listShowsThePreformWhileShown() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    QVERIFY(CutByAngle(w.Preform(), 90, 0, 40));
    w.Display().PreformShown = true;
    InDialog<TForm5>(w, "camlist",
                     [&](TForm5& form) { QCOMPARE(form.RowCount(), w.Preform().FacetCount + 3); });
    w.Display().PreformShown = false;
    InDialog<TForm5>(w, "List1", [&](TForm5& form) { QCOMPARE(form.RowCount(), w.Design().FacetCount + 3); });
}

void TextListAboutTest::aboutBoxAndVersionOfSavedDesign() {
    QTemporaryDir folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    InDialog<TGemAbout>(w, "About1", [](TGemAbout& form) {
        QCOMPARE(form.windowTitle(), QString("About Lapidra"));
        QCOMPARE(form.ProductName->text(), QString("    LapidraW"));
        // The program's own version and platform, and the version record of its design files.
        QCOMPARE(form.Version->text(), QString::fromStdString("Version: " + ProgramVersionText()));
        QVERIFY(form.Version->text().contains(LAPIDRAW_VERSION));
        QCOMPARE(form.FileVersion->text(), QString("Design files: Version: 3.1F May 2002"));
        QCOMPARE(form.Comments->text(),
                 QString("Comments : This program  is the Linux version of Lapidra.  "
                         "The program can also import a crown or pavilion form ASC files ."));
        QVERIFY(!form.ProgramIcon->pixmap().isNull());
        QVERIFY(form.OKButton->isDefault());
        form.OKButton->click();
        QVERIFY(!form.isVisible());
    });

    // A design made and saved after start-up carries the caption on its first line.
    QVERIFY(CutByAngle(w.Design(), 90, 0, 50));
    w.Changes().RecordStep();
    w.RefreshMenus();
    const std::string path = folder.filePath("firstc.lfx").toStdString();
    f.Script.FileAnswers = {path};
    w.Action("SaveAs1")->trigger();
    std::ifstream saved(path, std::ios::binary);
    std::string first;
    std::getline(saved, first);
    QVERIFY2(first.rfind("V Version: 3.1F May 2002 ", 0) == 0, first.c_str());

    // New and Open copy it again, even when they stop at the question.
    for (const char* command : {"New1", "Open1"}) {
        w.Design().VersionText = w.Preform().VersionText = "other";
        w.Design().SetTextLine(1, "changed");
        w.Changes().RecordStep();
        f.Script.Answers = {Answer::Cancel};
        w.Action(command)->trigger();
        QCOMPARE(w.Design().VersionText, std::string(VersionCaption));
        QCOMPARE(w.Preform().VersionText, std::string(VersionCaption));
    }
}

LAPIDRAW_UI_TEST_MAIN(TextListAboutTest)
#include "text_list_about_test.moc"
