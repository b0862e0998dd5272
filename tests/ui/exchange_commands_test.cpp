// ASC and outline commands through the window: the import's name, file and undo history, what a failed
// import leaves, the round trip through Make asc file, outlines saved and read, and files dropped on the
// window.
#include "app/file_questions.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QDropEvent>
#include <QMimeData>
#include <QTemporaryDir>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <stdexcept>

namespace {
const std::string DataFolder = LAPIDRAW_TEST_DATA;
const std::string FiveOn96 = DataFolder + "/asc/five_on_96.asc";
const std::string SevenOn64 = DataFolder + "/asc/seven_on_64.asc";

// A folder of its own holding a copy of a test file under the given name.
struct Folder {
    QTemporaryDir Dir;
    std::string Path() const { return Dir.path().toStdString() + "/"; }
    std::string Copy(const std::string& from, const std::string& name) const {
        std::filesystem::copy_file(from, Path() + name);
        return Path() + name;
    }
};

// A design with undo steps, as the window holds it before an import replaces it.
void ChangedDesign(Tstartform& w) {
    w.Design().NewDesign('c', 8, 96, false, 0, true);
    w.Changes().History().StartNew();
    w.Changes().RecordStep();
    QVERIFY(CutByAngle(w.Design(), 90, 0, 40));
    w.Changes().RecordStep();
    QVERIFY(CutByAngle(w.Design(), 40, 6, 36));
    w.Changes().RecordStep();
}

// The design as its file holds it, without the header line and its time stamp.
std::string DesignText(const TGem& design) {
    const std::string text = design.DesignFileText();
    return text.substr(text.find('\n') + 1);
}

// What an import must leave untouched when it fails.
struct Kept {
    std::string File, Title, Text;
    int Snapshot;
    explicit Kept(Tstartform& w)
        : File(w.DesignFile()), Title(w.windowTitle().toStdString()), Text(DesignText(w.Design())),
          Snapshot(w.Changes().History().Current()) {}
    bool Same(Tstartform& w) const {
        return File == w.DesignFile() && Title == w.windowTitle().toStdString() &&
               Text == DesignText(w.Design()) && Snapshot == w.Changes().History().Current();
    }
};

void Drop(Tstartform& w, const std::string& path) {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &drop);
    QCoreApplication::processEvents(); // the command runs once the drop has ended
}

// Long recomputes report progress; this one fails there, after the import has started its history.
class FailingProgress : public ProgressSink {
  public:
    void Show(int, int, int) override { throw std::runtime_error("Range error: progress test"); }
    void Step() override {}
    void Hide() override {}
};
} // namespace

class ExchangeCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void importNamesTheDesignAfterTheFile();
    void oneUndoGoesBackToTheEmptyDesignAndNoFurther();
    void failedImportsChangeNothing();
    void failedBuildKeepsTheUndoHistory();
    void madeAscFileImportsToTheSamePlanes();
    void savedOutlineIsReadAndOffersNewWithOutline();
    void droppedFilesOpenByTheirKind();
};

void ExchangeCommandsTest::importNamesTheDesignAfterTheFile() {
    const struct {
        const char* item;
        const char* name;
        bool crown;
    } cases[] = {{"Importcrown1", "xc", true}, {"Importpav1", "xp", false}, {"importfile1", "xc", true}};
    for (const auto& c : cases) {
        Folder folder;
        const std::string asc = folder.Copy(FiveOn96, "x.asc");
        WindowFixture f;
        Tstartform& w = *f.Window;
        f.Script.FileAnswers = {asc};
        w.Action(c.item)->trigger();
        QCOMPARE(f.Script.Dialogs.at(0).FilterDescription, std::string("import files (*.asc)"));
        QCOMPARE(w.DesignName(), std::string(c.name));
        QCOMPARE(w.DesignFile(), folder.Path() + c.name + ".lfx");
        QCOMPARE(w.windowTitle(), QString::fromStdString(w.DesignFile() + " (changed:  1)"));
        QCOMPARE(w.FileDialog(FileDialogKind::OpenAsc).InitialDir, folder.Path());
        QCOMPARE(w.Design().IsCrown(), c.crown);
        QCOMPARE(w.Design().FacetCount, c.crown ? 20 : 10);
        QCOMPARE(w.Design().TextLine(FileNameLine), "Filename: " + std::string(c.name) + ".lfx");
        QVERIFY(f.Script.Messages.empty());
        QVERIFY(!std::filesystem::exists(w.DesignFile())); // written only when saved
        w.Action("Save1")->trigger();
        QVERIFY(std::filesystem::exists(w.DesignFile()));
        QCOMPARE(f.Script.Dialogs.size(), std::size_t{1});
    }
}

void ExchangeCommandsTest::oneUndoGoesBackToTheEmptyDesignAndNoFurther() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    ChangedDesign(w);
    f.Script.Answers = {Answer::No};
    f.Script.FileAnswers = {SevenOn64};
    w.Action("Importcrown1")->trigger();
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"File changed; save changes"});
    const int facets = w.Design().FacetCount;
    QCOMPARE(facets, 28);

    w.Action("Undo2")->trigger();
    const TGem& d = w.Design();
    QCOMPARE(d.FacetCount, 0);
    QCOMPARE(d.SystemIndex, 64);
    QCOMPARE(d.DesignParts, 7);
    QVERIFY(!d.DesignMirror);
    QVERIFY(!w.Changes().History().CanUndo());
    QVERIFY(!w.Action("Undo2")->isVisible());
    Undo2Click(w);
    QCOMPARE(d.FacetCount, 0);
    QCOMPARE(d.SystemIndex, 64);
    w.Action("Redo1")->trigger();
    QCOMPARE(d.FacetCount, facets);
}

void ExchangeCommandsTest::failedImportsChangeNothing() {
    const std::string broken = DataFolder + "/broken/facet_line_without_distance.asc";
    const std::string missing = DataFolder + "/asc/none.asc";
    const struct {
        std::optional<std::string> chosen;
        std::string message; // empty: none
    } cases[] = {{std::nullopt, ""},
                 {broken, "File " + broken + ", line 5: a facet line needs an angle and a distance"},
                 {missing, " File: " + missing + " does not exist"}};
    for (const auto& c : cases) {
        WindowFixture f;
        Tstartform& w = *f.Window;
        f.Script.FileAnswers = {DataFolder + "/lfx/box.lfx"};
        w.Action("Open1")->trigger();
        ChangedDesign(w);
        const Kept before(w);
        f.Script.ClearRecord();
        f.Script.Answers = {Answer::No};
        f.Script.FileAnswers = {c.chosen};
        w.Action("Importcrown1")->trigger();
        std::vector<std::string> expected{"File changed; save changes"};
        if (!c.message.empty()) expected.push_back(c.message);
        QCOMPARE(f.Script.Texts(), expected);
        QVERIFY(before.Same(w));
    }
}

void ExchangeCommandsTest::failedBuildKeepsTheUndoHistory() {
    Folder folder;
    std::string all;
    for (int i = 0; i < 96; ++i)
        all += " " + std::to_string(i);
    std::ofstream(folder.Path() + "many.asc")
        << "g 96 0\ny 96 n\na 90 1.0" << all << "\na 40 0.9" << all << "\n";

    WindowFixture f;
    Tstartform& w = *f.Window;
    f.Script.FileAnswers = {DataFolder + "/lfx/box.lfx"};
    w.Action("Open1")->trigger();
    const std::string boxText = DesignText(w.Design());
    QVERIFY(CutByAngle(w.Design(), 40, 0, 4));
    w.Changes().RecordStep();
    const Kept before(w);

    FailingProgress failing;
    w.Design().Progress = &failing;
    f.Script.Answers = {Answer::No};
    f.Script.FileAnswers = {folder.Path() + "many.asc"};
    w.Action("Importcrown1")->trigger();
    w.Design().Progress = w.Progress.get();
    QCOMPARE(f.Script.Texts().back(), std::string("Range error: progress test"));
    QVERIFY(before.Same(w));
    w.Action("Undo2")->trigger(); // the first snapshot is the opened design still
    QCOMPARE(DesignText(w.Design()), boxText);
}

void ExchangeCommandsTest::madeAscFileImportsToTheSamePlanes() {
    constexpr Real DistanceScale = 49.0L / 47; // the file's distance unit differs on the way in
    for (const std::string& source : {FiveOn96, SevenOn64}) {
        Folder folder;
        WindowFixture f;
        Tstartform& w = *f.Window;
        f.Script.FileAnswers = {source, folder.Path() + "out.asc"};
        w.Action("Importcrown1")->trigger();
        w.Action("Makeascfile1")->trigger();
        QCOMPARE(f.Script.Dialogs.at(1).FilterDescription, std::string("asc file(*.asc)"));
        QCOMPARE(f.Script.Dialogs.at(1).FileName, NameOnly(w.DesignFile()));
        QCOMPARE(w.FileDialog(FileDialogKind::SaveAsc).InitialDir, folder.Path());
        std::vector<Facet> planes;
        for (int k = 1; k <= w.Design().FacetCount; ++k)
            planes.push_back(w.Design().Facets[k]);

        f.Script.Answers = {Answer::No};
        f.Script.FileAnswers = {folder.Path() + "out.asc"};
        w.Action("Importcrown1")->trigger();
        QCOMPARE(w.Design().FacetCount, int(planes.size()));
        for (int k = 1; k <= w.Design().FacetCount; ++k) {
            const Facet& again = w.Design().Facets[k];
            const auto same = std::find_if(planes.begin(), planes.end(), [&](const Facet& p) {
                return ManhattanDistance(p.Normal, again.Normal) < 1e-9L &&
                       std::fabs(p.Dist * DistanceScale - again.Dist) < 3e-4L;
            });
            QVERIFY2(same != planes.end(), ("facet " + std::to_string(k)).c_str());
            planes.erase(same);
        }
    }
}

void ExchangeCommandsTest::savedOutlineIsReadAndOffersNewWithOutline() {
    Folder folder;
    const std::string outline = folder.Path() + "girdle.otl";
    {
        WindowFixture f;
        Tstartform& w = *f.Window;
        f.Script.FileAnswers = {SevenOn64, outline};
        w.Action("Importcrown1")->trigger();
        w.Action("SaveOutline1")->trigger();
        QCOMPARE(f.Script.Dialogs.at(1).FilterDescription, std::string("outline(*.otl)"));
        QVERIFY(std::filesystem::exists(outline));
        QVERIFY(w.Checked("ShowOutline1"));
        QVERIFY(w.Design().HoldsOutline());
    }
    WindowFixture f;
    Tstartform& w = *f.Window;
    QVERIFY(!w.Action("Newwithoutline1")->isVisible());
    f.Script.FileAnswers = {outline};
    w.Action("Readoutline1")->trigger();
    QCOMPARE(f.Script.Dialogs.at(0).FilterDescription, std::string("outline file(*.otl)"));
    QVERIFY(f.Script.Messages.empty());
    QCOMPARE(w.Design().OutlineFirstEdge, 1 - 7); // the seven girdle edges
    QVERIFY(w.Design().HoldsOutline());
    QVERIFY(w.Checked("ShowOutline1"));
    QVERIFY(w.Action("ShowOutline1")->isVisible());
    QVERIFY(w.Action("Newwithoutline1")->isVisible());
    QVERIFY(w.StartedFromOutline());
    QCOMPARE(w.FileDialog(FileDialogKind::OpenOutline).InitialDir, folder.Path());
}

void ExchangeCommandsTest::droppedFilesOpenByTheirKind() {
    Folder folder;
    const std::string box = DataFolder + "/lfx/box.lfx";
    WindowFixture f;
    Tstartform& w = *f.Window;
    ChangedDesign(w);
    const Kept before(w);
    f.Script.Answers = {Answer::Cancel};
    Drop(w, box);
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"File changed; save changes"});
    QVERIFY(before.Same(w));
    f.Script.Answers = {Answer::No};
    Drop(w, box);
    QCOMPARE(w.DesignFile(), box);
    QVERIFY(f.Script.Dialogs.empty()); // no file dialog for a dropped file

    Drop(w, folder.Copy(SevenOn64, "Seven.ASC"));
    QCOMPARE(w.DesignFile(), folder.Path() + "Sevenc.lfx");
    QCOMPARE(w.FileDialog(FileDialogKind::OpenAsc).InitialDir, folder.Path());

    f.Script.FileAnswers = {folder.Path() + "seven.otl"};
    w.Action("SaveOutline1")->trigger();
    w.Action("ShowOutline1")->trigger(); // hidden again
    Drop(w, folder.Path() + "seven.otl");
    QVERIFY(w.Design().HoldsOutline());
    QVERIFY(w.Checked("ShowOutline1"));

    f.Script.ClearRecord();
    const std::string text = folder.Copy(DataFolder + "/lfx/box.lfx", "notes.txt");
    Drop(w, text);
    QCOMPARE(f.Script.Texts(),
             std::vector<std::string>{" File " + text + " is not a design, ASC or outline file"});
    QCOMPARE(w.DesignFile(), folder.Path() + "Sevenc.lfx");
}

LAPIDRAW_UI_TEST_MAIN(ExchangeCommandsTest)
#include "exchange_commands_test.moc"
