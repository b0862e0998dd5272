// Faults a user met in the finished program, each held through the real window: a save after an import
// that replaced a file without asking, the preform's base saved over the design, clicks that picked
// nothing and still changed the design, and the smaller slips around them.
#include "app/file_questions.h"
#include "dialogs/change_angles_dialog.h"
#include "dialogs/change_facet_group_dialog.h"
#include "dialogs/culet_dialog.h"
#include "dialogs/measurement_dialog.h"
#include "dialogs/table_dialog.h"
#include "dialogs/text_editor_dialog.h"
#include "tests/support/design_builders.h"
#include "tests/ui/add_facets_support.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {
const std::string DataFolder = LAPIDRAW_TEST_DATA;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The design as its file holds it, without the header line and its time stamp.
std::string WithoutStamp(const std::string& text) {
    return text.substr(text.find('\n') + 1);
}

// A folder of its own; Put writes a design of the test data into it under a name.
struct Folder {
    QTemporaryDir Dir;
    std::string Path(const std::string& name) const {
        return Dir.filePath(QString::fromStdString(name)).toStdString();
    }
};

void OpenInWindow(Tstartform& w, const std::string& path) {
    QVERIFY(w.OpenDesign(path));
}

// The corner-to-corner facts of a design that a moved table or culet changes.
std::vector<Real> Heights(const TGem& gem) {
    std::vector<Real> dists;
    for (int i = -1; i <= gem.FacetCount; ++i)
        dists.push_back(gem.Dist(i));
    return dists;
}
} // namespace

class ReportedFaultsTest : public QObject {
    Q_OBJECT

  private slots:
    void saveAfterImportAsksBeforeReplacingAFile();
    void closingDuringPreformSavesTheDesignNotTheBase();
    void clickThatPicksNoPointChangesNothing();
    void typedTextKeepsItsCharactersOrIsRefused();
    void changeAnglesSaysWhichRefusal();
    void readOutlineAtStartShowsOnlyItsTwoItems();
    void cornerNotOnThePerimeterIsStillMarked();
    void pickedGroupShowsItsFirstFacetDark();
    void foldersAreRememberedOnlyAfterSuccess();
    void preformSavedAsGetsTheDesignExtension();
    void fileErrorsNameTheSystemsReason();
};

// After File > Import the design's file is named by the program: the first Save of a name that exists
// asks, as Save as does; No keeps the file, Yes writes it, and later saves ask no more.
void ReportedFaultsTest::saveAfterImportAsksBeforeReplacingAFile() {
    Folder folder;
    const std::string asc = folder.Path("SRB.asc");
    std::filesystem::copy_file(DataFolder + "/asc/SRB.asc", asc);
    const std::string edited = folder.Path("SRBp.lfx");
    std::ofstream(edited, std::ios::binary) << "edited by hand";
    WindowFixture f;
    Tstartform& w = *f.Window;
    f.Script.FileAnswers = {asc};
    w.Action("Importpav1")->trigger();
    QCOMPARE(w.DesignFile(), edited);

    f.Script.Answers = {Answer::No};
    w.Action("Save1")->trigger();
    QVERIFY(!f.Script.Texts().empty());
    QCOMPARE(f.Script.Texts().back(), " File " + edited + " exists and will be overwritten. Are you sure ?");
    QCOMPARE(ReadAll(edited), std::string("edited by hand"));

    f.Script.Answers = {Answer::Yes};
    w.Action("Save1")->trigger();
    auto saved = std::make_unique<TGem>();
    QVERIFY(saved->ReadDesign(edited, TGem::FileMode::Open));
    QCOMPARE(saved->FacetCount, w.Design().FacetCount);

    // The name is the user's now: the next save asks nothing.
    const std::size_t asked = f.Script.Texts().size();
    w.Action("Save1")->trigger();
    QCOMPARE(f.Script.Texts().size(), asked);
    QCOMPARE(f.Script.UnscriptedQuestions, 0);
}

// Closing while the preform is shown, Yes to the save question: the file holds the design with its
// unsaved text line and its own facets, never the flattened base of the preform.
void ReportedFaultsTest::closingDuringPreformSavesTheDesignNotTheBase() {
    Folder folder;
    const std::string path = folder.Path("crown.lfx");
    std::filesystem::copy_file(DataFolder + "/lfx/round_brilliant_crown.lfx", path);
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenInWindow(w, path);
    QVERIFY(w.Apply([](TGem& design) {
        design.SetTextLine(3, "one more line");
        return true;
    }));
    const std::string design = WithoutStamp(w.Design().DesignFileText());

    w.Action("campreform2")->trigger();
    QVERIFY(w.Display().PreformShown);
    const std::string onDisk = ReadAll(path);
    QTest::keyClick(w.Client, Qt::Key_S, Qt::ControlModifier); // writes nothing while the preform is shown
    QCOMPARE(ReadAll(path), onDisk);

    f.Script.Answers = {Answer::Yes, Answer::Yes}; // save the modifications; replace crown.lfx
    f.Script.FileAnswers = {path};
    w.close();
    QCOMPARE(f.Script.Ends, 1);
    auto saved = std::make_unique<TGem>();
    QVERIFY(saved->ReadDesign(path, TGem::FileMode::Open));
    QCOMPARE(saved->TextLine(3), std::string("one more line"));
    QCOMPARE(WithoutStamp(saved->DesignFileText()), design);
}

// "Click on point" in Make culet facet and Change table: a click far from every corner changes nothing
// and says so in the prompt line; a click on a corner still moves the plane.
void ReportedFaultsTest::clickThatPicksNoPointChangesNothing() {
    struct Case {
        const char* item;
        const char* lfx;
    } cases[] = {{"Makeculetfacet1", "round_brilliant_pavilion.lfx"},
                 {"Changetable1", "round_brilliant_crown.lfx"}};
    for (const Case& c : cases) {
        WindowFixture f;
        Tstartform& w = *f.Window;
        OpenInWindow(w, DataFolder + "/lfx/" + c.lfx);
        const std::vector<Real> before = Heights(w.Design());
        WhileModal([&] { w.Action(c.item)->trigger(); },
                   [](QDialog& dialog) { dialog.findChild<QPushButton*>("Button1")->click(); });
        QVERIFY(AwaitsClick(w, ClickKind::Point));
        const QPoint away = SheetPixel(w, 400, 400); // far beside the stone
        MoveMouse(w, away);
        bool told = false;
        WhileModal([&] { PressMouse(w, away, Qt::LeftButton); },
                   [&](QDialog& dialog) {
                       QVERIFY2(Heights(w.Design()) == before, c.item);
                       told = w.StatusBar1->isVisible() &&
                              w.StatusPanel->text() == "No corner point at the click: nothing changed";
                       dialog.findChild<QPushButton*>("BitBtn1")->click();
                   });
        QVERIFY2(told, c.item);
        QVERIFY2(Heights(w.Design()) == before, c.item);
        QVERIFY(f.Script.Messages.empty());
    }
}

// The editor stores the design's text in the design file's code page: quotes, dashes and the euro
// sign are kept; what the file cannot hold is named in a one-line message and nothing changes.
void ReportedFaultsTest::typedTextKeepsItsCharactersOrIsRefused() {
    const struct {
        QString typed;
        std::string stored; // empty: refused
        std::string message;
    } cases[] = {
        {QString::fromUtf8("\u201CQuoted\u201D \u2013 12 \u20AC \u2018a\u2019 \u00E9"),
         "\x93Quoted\x94 \x96 12 \x80 \x91"
         "a\x92 \xE9",
         ""},
        {QString::fromUtf8("r\u00F8d"), "", "The design file cannot hold the character \"\u00F8\""},
        {QString::fromUtf8("\u0394 = 3"), "", "The design file cannot hold the character \"\u0394\""},
    };
    for (const auto& c : cases) {
        WindowFixture f;
        Tstartform& w = *f.Window;
        UseDesign(w, RoundBrilliantCrown());
        const std::string before = WithoutStamp(w.Design().DesignFileText());
        InDialog<TForm7>(w, "Edittext1", [&](TForm7& form) {
            // As a paste puts it in (typed keys carry no such characters in the test's key map).
            form.Lines[2]->setText(c.typed);
            emit form.Lines[2]->textEdited(c.typed);
            form.BitBtn1->click();
            QCOMPARE(form.isVisible(), !c.message.empty());
        });
        if (c.message.empty()) {
            QCOMPARE(w.Design().TextLine(2), c.stored);
            RoundTripThroughFile(w.Design());
            QCOMPARE(w.Design().TextLine(2), c.stored);
            QVERIFY(f.Script.Messages.empty());
        } else {
            QCOMPARE(f.Script.Texts(), std::vector<std::string>{c.message});
            QCOMPARE(WithoutStamp(w.Design().DesignFileText()), before);
        }
    }
}

// An old angle the design has, raised beyond what the engine computes, is not "Angle not found".
void ReportedFaultsTest::changeAnglesSaysWhichRefusal() {
    const struct {
        const char* oldAngle;
        const char* newAngle;
        const char* message;
        const char* field;
    } cases[] = {{"10", "89.99", "New angle out of reach for this design", "Edit2"},
                 {"45", "40", "Angle not found", "Edit1"}};
    for (const auto& c : cases) {
        WindowFixture f;
        Tstartform& w = *f.Window;
        auto gem = RoundBrilliantCrown();
        QVERIFY(CutByAngle(*gem, 10, 0, 10));
        UseDesign(w, std::move(gem));
        const std::string before = WithoutStamp(w.Design().DesignFileText());
        InDialog<TForm18>(w, "Changeangles1", [&](TForm18& form) {
            form.Edit1->setText(c.oldAngle);
            form.Edit2->setText(c.newAngle);
            form.Button1->click();
            QVERIFY(form.focusWidget());
            QCOMPARE(form.focusWidget()->objectName(), QString(c.field));
        });
        QCOMPARE(f.Script.Texts(), std::vector<std::string>{c.message});
        QCOMPARE(WithoutStamp(w.Design().DesignFileText()), before);
    }
}

// Right after start-up, Read outline shows Show Outline and New with outline and nothing else.
void ReportedFaultsTest::readOutlineAtStartShowsOnlyItsTwoItems() {
    Folder folder;
    const std::string outline = folder.Path("round.otl");
    QVERIFY(RoundBrilliantCrown()->SaveOutline(outline));
    WindowFixture f;
    Tstartform& w = *f.Window;
    QStringList before;
    for (const MenuRow& row : MenuRows())
        if (w.Action(row.ObjectName) && w.Action(row.ObjectName)->isVisible()) before << row.ObjectName;
    f.Script.FileAnswers = {outline};
    w.Action("Readoutline1")->trigger();
    QStringList after;
    for (const MenuRow& row : MenuRows())
        if (w.Action(row.ObjectName) && w.Action(row.ObjectName)->isVisible()) after << row.ObjectName;
    QStringList expected = before;
    expected << "ShowOutline1";
    if (!expected.contains("Newwithoutline1")) expected << "Newwithoutline1";
    std::sort(after.begin(), after.end());
    std::sort(expected.begin(), expected.end());
    QCOMPARE(after, expected);
    QVERIFY(w.Checked("ShowOutline1"));
}

// CCD on a corner off the perimeter: the refusal is told, and the picked corner gets marker 1.
void ReportedFaultsTest::cornerNotOnThePerimeterIsStillMarked() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenInWindow(w, DataFolder + "/lfx/round_brilliant_crown.lfx");
    w.SetChecked("Showclick1", true);
    w.Display().ShowClick = true;
    WhileModal([&] { w.Action("CcdandDcf1")->trigger(); },
               [](QDialog& dialog) { static_cast<TForm16&>(dialog).Button1->click(); });
    QVERIFY(AwaitsClick(w, ClickKind::Point));
    const QPoint away = SheetPixel(w, 400, 400); // no girdle corner near: the pick answers point 1
    MoveMouse(w, away);
    bool marked = false;
    WhileModal([&] { PressMouse(w, away, Qt::LeftButton); },
               [&](QDialog&) { marked = w.Display().Markers.Shown(1); });
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"Not clicked on perimeter point"});
    QVERIFY(marked);
}

// A group chosen by a click shows its first facet dark, whichever of its facets was clicked.
void ReportedFaultsTest::pickedGroupShowsItsFirstFacetDark() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenInWindow(w, DataFolder + "/lfx/round_brilliant_crown.lfx");
    w.Display().FacetSelected = true; // as an earlier pick in Add facets leaves it
    WhileModal([&] { w.Action("Changetier1")->trigger(); },
               [](QDialog& dialog) { static_cast<TForm9&>(dialog).ClickButton->click(); });
    // A facet of the last group that is not its first: the group's facets run round the axis.
    const int last = w.Design().FacetCount;
    const std::optional<Vector3> centre = w.Design().FacetCentre(last);
    QVERIFY(centre);
    const QPoint at = SheetPixel(w, centre->x, centre->y);
    MoveMouse(w, at);
    int selected = NoneFound;
    bool facetSelected = true;
    WhileModal([&] { PressMouse(w, at, Qt::LeftButton); },
               [&](QDialog&) {
                   selected = w.Display().SelectedFacet;
                   facetSelected = w.Display().FacetSelected;
               });
    QCOMPARE(selected, last);
    QVERIFY(!facetSelected);
}

// A file dialog remembers the folder chosen only when its command read or wrote the file there.
void ReportedFaultsTest::foldersAreRememberedOnlyAfterSuccess() {
    Folder folder;
    const std::string broken = folder.Path("broken.asc");
    std::ofstream(broken, std::ios::binary) << "not an asc file at all\n";
    const std::string missingFolder = folder.Path("nodir") + "/";
    const struct {
        const char* item;
        FileDialogKind dialog;
        std::string answer;
    } cases[] = {{"Makeascfile1", FileDialogKind::SaveAsc, missingFolder + "x.asc"},
                 {"SaveOutline1", FileDialogKind::SaveOutline, missingFolder + "x.otl"},
                 {"Makepicture1", FileDialogKind::SavePicture, missingFolder + "x.emf"},
                 {"Importcrown1", FileDialogKind::OpenAsc, broken},
                 {"Readoutline1", FileDialogKind::OpenOutline, broken}};
    for (const auto& c : cases) {
        WindowFixture f;
        Tstartform& w = *f.Window;
        OpenInWindow(w, DataFolder + "/lfx/round_brilliant_crown.lfx");
        const std::string kept = w.FileDialog(c.dialog).InitialDir;
        f.Script.FileAnswers = {c.answer};
        w.Action(c.item)->trigger();
        QVERIFY2(!f.Script.Messages.empty(), c.item); // the failure was told
        QCOMPARE(w.FileDialog(c.dialog).InitialDir, kept);
    }
}

// The preform's Save as gives the design extension, whatever was typed, and asks before replacing.
void ReportedFaultsTest::preformSavedAsGetsTheDesignExtension() {
    Folder folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenInWindow(w, DataFolder + "/lfx/round_brilliant_crown.lfx");
    w.Action("campreform2")->trigger();
    f.Script.FileAnswers = {folder.Path("missing.otl")};
    w.Action("campreform3")->trigger();
    QVERIFY(!std::filesystem::exists(folder.Path("missing.otl")));
    auto saved = std::make_unique<TGem>();
    QVERIFY(saved->ReadDesign(folder.Path("missing.lfx"), TGem::FileMode::Open));
    QCOMPARE(saved->FacetCount, w.Preform().FacetCount);
    QCOMPARE(w.FileDialog(FileDialogKind::SaveDesign).InitialDir, FolderOf(folder.Path("missing.lfx")));

    f.Script.FileAnswers = {folder.Path("missing")};
    f.Script.Answers = {Answer::No};
    w.Action("campreform3")->trigger();
    QCOMPARE(f.Script.Texts().back(),
             " File " + folder.Path("missing.lfx") + " exists and will be overwritten. Are you sure ?");
}

// A file error keeps its line with the error number and gives the system's words for it below.
void ReportedFaultsTest::fileErrorsNameTheSystemsReason() {
    Folder folder;
    WindowFixture f;
    Tstartform& w = *f.Window;
    UseDesign(w, RoundBrilliantCrown());
    const std::string path = folder.Path("nodir") + "/xc.lfx";
    f.Script.FileAnswers = {path};
    w.Action("SaveAs1")->trigger();
    QVERIFY(!f.Script.Texts().empty());
    QCOMPARE(f.Script.Texts().back(),
             " Cannot write file " + path + ". Error:    2\nNo such file or directory");
}

LAPIDRAW_UI_TEST_MAIN(ReportedFaultsTest)
#include "reported_faults_test.moc"
