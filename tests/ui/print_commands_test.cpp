// Printing, pictures and the CAM preform through the real window: the printer set-up answered by the
// scripted printer, the page captured, the picture read back, and one print through a real CUPS server.
#include "platform/qt_printing.h"
#include "platform/sheet_printing.h"
#include "sheet/facet_listing.h"
#include "sheet/page_layout.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_helpers.h"
#include "tests/ui/ui_test_main.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>
#include <QtEndian>

#include <algorithm>
#include <cmath>
#include <pwd.h>
#include <unistd.h>

namespace {
const QString DataFolder = LAPIDRAW_TEST_DATA;
const char* const CupsQueue = "LapidrawPDF";

// Shows the window at its size and opens a design of the test data as the user opens one.
void OpenData(Tstartform& w, const char* name) {
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    QVERIFY(w.OpenDesign((DataFolder + "/lfx/" + name).toStdString()));
}

// The design file's text without its first line, which carries the time of writing.
std::string WithoutVersionLine(const std::string& text) {
    return text.substr(text.find('\n') + 1);
}

// The half-page layout that the scripted printer's page gives for the window's client area.
HalfPageLayout LayoutOf(const Tstartform& w) {
    const PageMetrics page = ScriptedPrinter::A4At600Dpi();
    return LayOutHalfPages(page.WidthMm, page.HeightMm, page.WidthPx, w.Client->width(), w.Client->height());
}

QStringList VisibleMenuItems(Tstartform& w, const QStringList& names) {
    QStringList shown;
    for (const QString& name : names)
        if (w.Action(name.toLatin1().constData())->isVisible()) shown << name;
    return shown;
}

const QStringList HiddenByPreform = {"File1", "Edittext1", "Generalfacet1", "View1",  "Modify1",  "Undo2",
                                     "Redo1", "Measure1",  "Options1",      "About1", "Symmetry2"};
const QStringList PreformItems = {"campreform3", "campreform4", "camlist", "campreform5"};

// The little-endian 32-bit value at an offset of a file's bytes.
qint32 Int32At(const QByteArray& bytes, int offset) {
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

// A PDF page rendered to a grey image at the given resolution.
QImage Rendered(const QString& pdf, int dpi) {
    QTemporaryDir dir;
    const QString stem = dir.filePath("page");
    QProcess render;
    render.setStandardErrorFile(QProcess::nullDevice()); // notes about the fonts Ghostscript embedded
    render.start("pdftoppm", {"-r", QString::number(dpi), "-gray", "-png", "-singlefile", pdf, stem});
    if (!render.waitForFinished() || render.exitCode() != 0) return {};
    return QImage(stem + ".png").convertToFormat(QImage::Format_Grayscale8);
}

// The mean difference of two images' grey values after both are shrunk by the factor, 0 ... 255.
double MeanDifference(const QImage& a, const QImage& b, int factor) {
    const QSize size = a.size() / factor;
    const QImage sa = a.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage sb = b.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    double sum = 0;
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            sum += std::abs(qGray(sa.pixel(x, y)) - qGray(sb.pixel(x, y)));
    return sum / (size.width() * size.height());
}

// The rows of the image that hold dark pixels: the first and the last.
std::pair<int, int> InkRows(const QImage& image) {
    int first = -1, last = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                if (first < 0) first = y;
                last = y;
                break;
            }
    return {first, last};
}

// The PDF that cups-pdf writes for a job, named after its title, into the PDF folder of the user's
// home as the system knows it (whatever HOME says).
QString WaitForCupsPdf(const QString& title) {
    const passwd* user = getpwuid(getuid());
    const QDir folder(QString::fromLocal8Bit(user ? user->pw_dir : "") + "/PDF");
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 60000) {
        for (const QFileInfo& file : folder.entryInfoList({"*.pdf"}, QDir::Files))
            if (file.fileName().contains(title) && file.size() > 0) {
                QThread::msleep(500); // let the writer finish the file it has just made
                return file.filePath();
            }
        QThread::msleep(200);
    }
    return {};
}
} // namespace

class PrintCommandsTest : public QObject {
    Q_OBJECT

  private slots:
    void cancelledSetUpPrintsNothing();
    void printDesignPutsCrownLowAndPavilionHigh_data();
    void printDesignPutsCrownLowAndPavilionHigh();
    void jobEndsWhenDrawingFails();
    void fullPageFramesTheSheetWithLongTableBlocks();
    void facetDataGoesToThePrinterAsListed();
    void printerThatCannotBeOpenedIsReported();
    void pictureIsAMetafileOfTheClientArea();
    void makePreformHidesMenusAndExitBringsTheDesignBack();
    void preformIsSavedAndPrinted();
    void preformOfADesignWithoutSnapshotComesBackToo();
    void printDesignThroughCups();
};

void PrintCommandsTest::cancelledSetUpPrintsNothing() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, "round_brilliant_crown.lfx");
    ScriptedPrinter& printer = f.Script.Printer;
    for (auto command : {&Print1Click, &Printfullpage1Click, &printfacetdata1Click}) {
        printer.SetUpAnswers = {false};
        command(w);
    }
    QCOMPARE(printer.SetUps, 3);
    QCOMPARE(printer.Portraits + printer.JobsBegun + printer.TextOpens, 0);
    QVERIFY(printer.Paper.Lines.empty());
}

void PrintCommandsTest::printDesignPutsCrownLowAndPavilionHigh_data() {
    QTest::addColumn<QString>("file");
    QTest::addColumn<bool>("upperHalf");
    QTest::newRow("crown") << "round_brilliant_crown.lfx" << false;
    QTest::newRow("pavilion") << "round_brilliant_pavilion.lfx" << true;
}

void PrintCommandsTest::printDesignPutsCrownLowAndPavilionHigh() {
    QFETCH(QString, file);
    QFETCH(bool, upperHalf);
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, file.toLatin1().constData());
    w.Display().ShowIndices = true; // a screen-only label: never on paper
    ScriptedPrinter& printer = f.Script.Printer;
    printer.SetUpAnswers = {true};
    Print1Click(w);
    QCOMPARE(printer.Portraits, 1);
    QCOMPARE(printer.JobsBegun, 1);
    QCOMPARE(printer.JobsEnded, 1);

    const HalfPageLayout layout = LayoutOf(w);
    const int top = upperHalf ? layout.Top1 : layout.Top2;
    const int bottom = upperHalf ? layout.Bottom1 : layout.Bottom2;
    QCOMPARE(w.PrintCanvas().ViewportLeft, layout.Left);
    QCOMPARE(w.PrintCanvas().ViewportTop, top);
    QCOMPARE(w.PrintCanvas().ViewportWidth, layout.Right - layout.Left);
    QCOMPARE(w.PrintCanvas().ViewportHeight, bottom - top);
    QVERIFY(w.PrintCanvas().IsPrinter);

    // Everything lies in its half of the page; the stone is drawn with the printer's pen of width 2.
    const auto& lines = printer.Paper.Lines;
    QVERIFY(lines.size() > 100);
    for (const RecordedLine& line : lines) {
        QVERIFY(std::min(line.From.y, line.To.y) >= top - 1 &&
                std::max(line.From.y, line.To.y) <= bottom + 1);
        QVERIFY(std::min(line.From.x, line.To.x) >= layout.Left - 1);
        QVERIFY(line.Pen != ColourRed);
    }
    QVERIFY(std::count_if(lines.begin(), lines.end(), [](const RecordedLine& l) { return l.Width == 2; }) >
            100);
    for (const RecordedText& text : printer.Paper.Texts)
        QVERIFY(text.Colour_ != ColourRed);
    QVERIFY(printer.Paper.FindText("system index used is  96"));

    // The window draws its sheet on the screen again, so the readout's top view is the screen's.
    QCOMPARE(w.Sheet().TopView.UserCanvas, &w.ScreenCanvas());
}

void PrintCommandsTest::jobEndsWhenDrawingFails() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, "round_brilliant_crown.lfx");
    ScriptedPrinter& printer = f.Script.Printer;
    printer.Jams = true;
    printer.SetUpAnswers = {true};
    w.Action("Print1")->trigger();
    QCOMPARE(printer.JobsBegun, 1);
    QCOMPARE(printer.JobsEnded, 1);
    QVERIFY(!printer.JobOpen);
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"The paper jammed"});

    // A printer that cannot be opened begins no job and says so.
    printer.Jams = false;
    printer.BeginFails = true;
    printer.SetUpAnswers = {true};
    f.Script.ClearRecord();
    w.Action("Print1")->trigger();
    QCOMPARE(printer.JobsEnded, 1);
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{"Cannot print: the printer could not be opened"});
}

void PrintCommandsTest::fullPageFramesTheSheetWithLongTableBlocks() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    // 16-fold tiers of 32 facets: 4 rows each, more rows than a screen block holds.
    w.Design().Restore(*DesignWithFacets(200));
    w.Changes().RecordStep();
    w.RefreshMenus();
    ScriptedPrinter& printer = f.Script.Printer;
    printer.SetUpAnswers = {true};
    w.Action("Printfullpage1")->trigger();
    QCOMPARE(printer.JobsEnded, 1);
    const TUserCanvas& c = w.PrintCanvas();
    QCOMPARE(c.ViewportLeft, ToPixel(10 * c.PixelsPerMm) - ScriptedPrinter::A4At600Dpi().PhysOffsetX);

    // The frame: pen width 1, from the page view's left to the data panel's right at the top.
    const int left = c.XToDevice(w.Sheet().PageView.PortX1), right = c.XToDevice(w.Sheet().DataView.PortX2);
    const int top = c.YToDevice(w.Sheet().PageView.PortY1);
    const auto& lines = printer.Paper.Lines;
    QVERIFY(std::any_of(lines.begin(), lines.end(), [&](const RecordedLine& l) {
        return l.Width == 1 && l.From == DevicePoint{left, top} && l.To == DevicePoint{right, top};
    }));

    // Every group name of the table stands in one column: a single block of up to 40 rows.
    std::vector<int> nameColumns;
    for (const RecordedText& text : printer.Paper.Texts)
        if (text.Text.size() >= 2 && text.Text[0] == 'P' &&
            std::isdigit(static_cast<unsigned char>(text.Text[1])))
            nameColumns.push_back(text.X);
    QVERIFY(w.Sheet().RowsUsed > 9);
    QVERIFY(nameColumns.size() >= 5);
    QVERIFY(std::all_of(nameColumns.begin(), nameColumns.end(), [&](int x) { return x == nameColumns[0]; }));
}

void PrintCommandsTest::facetDataGoesToThePrinterAsListed() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, "round_brilliant_crown.lfx");
    ScriptedPrinter& printer = f.Script.Printer;
    printer.SetUpAnswers = {true};
    w.Action("printfacetdata1")->trigger();
    QCOMPARE(printer.Portraits, 1);
    QCOMPARE(printer.TextCloses, 1);
    QCOMPARE(printer.Text, FacetListingText(w.Design(), w.DesignFile()));
    QVERIFY(printer.Text.find("Page:     1                    " + w.DesignFile()) != std::string::npos);
}

void PrintCommandsTest::printerThatCannotBeOpenedIsReported() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, "round_brilliant_crown.lfx");
    ScriptedPrinter& printer = f.Script.Printer;
    printer.SetUpAnswers = {true};
    printer.OpenTextError = 5;
    w.Action("printfacetdata1")->trigger();
    QCOMPARE(f.Script.Beeps, 1);
    QCOMPARE(f.Script.Texts(), std::vector<std::string>{" Cannot write to printer . Error:    5"});
    QVERIFY(printer.Text.empty());
}

void PrintCommandsTest::pictureIsAMetafileOfTheClientArea() {
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.emf");
    {
        WindowFixture f;
        Tstartform& w = *f.Window;
        OpenData(w, "round_brilliant_crown.lfx");
        const int width = w.Client->width(), height = w.Client->height();
        f.Script.FileAnswers = {path.toStdString()};
        w.Action("Makepicture1")->trigger();
        QCOMPARE(f.Script.Dialogs.back().DefaultExt, std::string("emf"));
        QCOMPARE(f.Script.Dialogs.back().FileName, std::string("round_brilliant_crown"));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        QVERIFY(bytes.size() > 10000);
        QCOMPARE(Int32At(bytes, 0), 1);                 // the header record
        QCOMPARE(bytes.mid(40, 4), QByteArray(" EMF")); // its signature
        QCOMPARE(Int32At(bytes, 32), width * 125 / 4);  // frame in 0.01 mm: 1024 pixels are 320 mm
        QCOMPARE(Int32At(bytes, 36), height * 125 / 4);
        QCOMPARE(w.ScreenCanvas().Canvas, static_cast<DrawSurface*>(w.Client->Surface.get()));

        // The question before an existing file is overwritten: No writes nothing.
        f.Script.FileAnswers = {path.toStdString()};
        f.Script.Answers = {Answer::No};
        file.close();
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("kept");
        file.close();
        w.Action("Makepicture1")->trigger();
        QCOMPARE(f.Script.Texts().back(),
                 " File " + path.toStdString() + " exists and will be overwritten. Are you sure ?");
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("kept"));
        f.Window.reset();
        const std::string folder = f.Script.Settings[{"lastdir", "emf"}];
        QCOMPARE(folder, (QDir(dir.path()).path() + "/").toStdString());
    }
}

void PrintCommandsTest::makePreformHidesMenusAndExitBringsTheDesignBack() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, "round_brilliant_crown.lfx");
    const std::string before = WithoutVersionLine(w.Design().DesignFileText());
    const int steps = w.Changes().History().Current();
    QVERIFY(w.Action("campreform2")->isVisible());

    w.Action("campreform2")->trigger();
    QVERIFY(w.Display().PreformShown);
    QVERIFY(w.Preform().IsPreform);
    QVERIFY(w.Preform().FacetCount > 0);
    QVERIFY(WithoutVersionLine(w.Design().DesignFileText()) != before); // flattened for the preform
    QCOMPARE(VisibleMenuItems(w, HiddenByPreform), QStringList());
    QCOMPARE(VisibleMenuItems(w, PreformItems), PreformItems);
    QVERIFY(w.Action("campreform1")->isVisible());
    QVERIFY(!w.Action("campreform2")->isVisible());
    QCOMPARE(w.Preform().TextLine(CutNameLine), std::string("round_brilliant_crown"));

    w.Action("campreform5")->trigger();
    QVERIFY(!w.Display().PreformShown);
    QCOMPARE(WithoutVersionLine(w.Design().DesignFileText()), before);
    QCOMPARE(w.Changes().History().Current(), steps);
    QCOMPARE(VisibleMenuItems(w, PreformItems), QStringList());
    QVERIFY(w.Action("campreform2")->isVisible());
    QVERIFY(w.Action("File1")->isVisible());
    QVERIFY(f.Script.Messages.empty());
}

void PrintCommandsTest::preformIsSavedAndPrinted() {
    QTemporaryDir dir;
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, "round_brilliant_pavilion.lfx");
    w.Action("campreform2")->trigger();
    const std::string path = dir.filePath("cam.lfx").toStdString();
    f.Script.FileAnswers = {path};
    w.Action("campreform3")->trigger();
    auto saved = std::make_unique<TGem>();
    QVERIFY(saved->ReadDesign(path, TGem::FileMode::Open));
    QCOMPARE(saved->FacetCount, w.Preform().FacetCount);
    QCOMPARE(saved->TextLine(FileNameLine), std::string("filename: cam.lfx"));

    // The preform is printed like a design: a pavilion in the upper half of the page.
    ScriptedPrinter& printer = f.Script.Printer;
    printer.SetUpAnswers = {true};
    w.Action("campreform4")->trigger();
    QCOMPARE(printer.JobsEnded, 1);
    QCOMPARE(w.PrintCanvas().ViewportTop, LayoutOf(w).Top1);
    const RecordedText* title = printer.Paper.FindText("round_brilliant_pavilion");
    QVERIFY(title);
    QCOMPARE(title->Size, 15);
}

void PrintCommandsTest::preformOfADesignWithoutSnapshotComesBackToo() {
    WindowFixture f;
    Tstartform& w = *f.Window;
    w.Design().Restore(*RoundBrilliantCrown());
    w.Changes().History().StartNew(); // as made, never recorded
    w.RefreshMenus();
    const std::string before = WithoutVersionLine(w.Design().DesignFileText());
    w.Action("campreform2")->trigger();
    QVERIFY(w.Display().PreformShown);
    w.Action("campreform5")->trigger();
    QCOMPARE(WithoutVersionLine(w.Design().DesignFileText()), before);
    QVERIFY(!w.Changes().History().CanUndo());
}

void PrintCommandsTest::printDesignThroughCups() {
    if (!SystemPrinterNames().contains(CupsQueue))
        QSKIP("No CUPS printer named LapidrawPDF (.ci/run starts one): nothing printed through CUPS");
    if (QStandardPaths::findExecutable("pdftoppm").isEmpty() ||
        QStandardPaths::findExecutable("pdfinfo").isEmpty())
        QSKIP("pdftoppm and pdfinfo (poppler-utils) are needed to read the printed page back");
    WindowFixture f;
    Tstartform& w = *f.Window;
    OpenData(w, "round_brilliant_crown.lfx");

    // The user chooses the PDF printer and A4 paper in the set-up dialog.
    const auto cups = QtPrinterService::Named(CupsQueue);
    const QString title = QString("lapidraw-print-test-%1").arg(QCoreApplication::applicationPid());
    cups->Printer().setDocName(title);
    cups->Printer().setPageSize(QPageSize(QPageSize::A4));
    f.Script.Printer.Device = cups.get();
    f.Script.Printer.SetUpAnswers = {true};
    w.Action("Print1")->trigger();
    QVERIFY(f.Script.Messages.empty());
    const QString printed = WaitForCupsPdf(title);
    QVERIFY2(!printed.isEmpty(), "cups-pdf wrote no PDF within a minute");

    QProcess info;
    info.start("pdfinfo", {printed});
    QVERIFY(info.waitForFinished());
    const QString infoText = QString::fromLatin1(info.readAllStandardOutput());
    QVERIFY2(infoText.contains(QRegularExpression("Pages:\\s+1\\n")), qPrintable(infoText));
    QVERIFY2(infoText.contains(QRegularExpression("Page size:\\s+595(\\.\\d+)? x 842(\\.\\d+)? pts")),
             qPrintable(infoText));

    // The same page drawn directly into a PDF with the printer's page layout.
    QTemporaryDir dir;
    const QString direct = dir.filePath("direct.pdf");
    const auto pdf = QtPrinterService::PdfFile(direct, QPageSize::A4);
    pdf->Printer().setPageLayout(cups->Printer().pageLayout());
    f.Script.Printer.Device = pdf.get();
    f.Script.Printer.SetUpAnswers = {true};
    w.Action("Print1")->trigger();

    const QImage paper = Rendered(printed, 50), drawn = Rendered(direct, 50);
    QVERIFY(!paper.isNull() && !drawn.isNull());
    QCOMPARE(paper.size(), drawn.size());
    const double difference = MeanDifference(paper, drawn, 4);
    QVERIFY2(difference < 3, qPrintable(QString("mean grey difference %1").arg(difference)));
    // A crown: the ink lies in the lower half of the page.
    const auto [first, last] = InkRows(paper);
    QVERIFY(first > paper.height() / 2 - paper.height() / 20);
    QVERIFY(last > first + paper.height() / 5);
    QFile::remove(printed);
}

LAPIDRAW_UI_TEST_MAIN(PrintCommandsTest)
#include "print_commands_test.moc"
