// The design library's browser on real widgets: a folder indexed in the background, the grid filtered
// by the query line and the shape box, and a double-click that chooses the design to open.
#include "dialogs/design_library_dialog.h"
#include "tests/support/library_designs.h"
#include "tests/ui/ui_test_main.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QTemporaryDir>

#include <filesystem>
#include <fstream>

class DesignLibraryDialogTest : public QObject {
    Q_OBJECT

  private slots:
    void indexesFiltersAndOpensByDoubleClick();
    void stoppingAnIndexingKeepsWhatWasWritten();
};

namespace {
// A folder with the bundled ASC designs and designs of every shape.
void FillFolder(const QString& folder, int generated) {
    for (const char* name : {"SRB.asc", "Compear125.asc", "Turkey.asc"})
        std::filesystem::copy_file(std::string(LAPIDRAW_TEST_DATA "/asc/") + name,
                                   folder.toStdString() + "/" + name);
    WriteDesignSet(folder.toStdString(), generated, 9);
}
} // namespace

void DesignLibraryDialogTest::indexesFiltersAndOpensByDoubleClick() {
    QTemporaryDir dir;
    FillFolder(dir.path(), 40);
    TDesignLibraryDialog dialog(nullptr, dir.filePath("library.sqlite").toStdString());
    dialog.show();
    QCOMPARE(dialog.Grid->count(), 0);

    dialog.FolderEdit->setText(dir.path());
    QTest::mouseClick(dialog.IndexButton, Qt::LeftButton);
    QVERIFY(dialog.Indexing());
    QTRY_VERIFY_WITH_TIMEOUT(!dialog.Indexing(), 60000);
    QCOMPARE(dialog.Grid->count(), 43);
    QVERIFY(!dialog.Grid->item(0)->icon().isNull()); // thumbnails

    dialog.ShapeBox->setCurrentIndex(dialog.ShapeBox->findText("oval"));
    const int ovals = dialog.Grid->count();
    QVERIFY(ovals > 0 && ovals < 43);
    QTest::keyClicks(dialog.QueryEdit, "oval");
    QCOMPARE(dialog.Grid->count(), ovals);        // the generated ovals are named so
    QTest::keyClicks(dialog.QueryEdit, " lw:9-"); // none that long
    QCOMPARE(dialog.Grid->count(), 0);
    dialog.QueryEdit->clear();
    dialog.ShapeBox->setCurrentIndex(0);
    QTest::keyClicks(dialog.QueryEdit, "shape:pear");
    QCOMPARE(dialog.Grid->count(), 1 + 2); // Compear125 and the generated pears
    QTest::keyClicks(dialog.QueryEdit, " facets:-100");
    QCOMPARE(dialog.Grid->count(), 1); // the generated ones have more
    QTest::keyClicks(dialog.QueryEdit, " Compear");
    QCOMPARE(dialog.Grid->count(), 1);

    QListWidget* grid = dialog.Grid;
    const QRect cell = grid->visualItemRect(grid->item(0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(dialog.Figures->text().contains("pear"));
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QVERIFY(dialog.Chosen.has_value());
    QCOMPARE(QString::fromStdString(dialog.Chosen->Path), QDir(dir.path()).filePath("Compear125.asc"));
    QCOMPARE(dialog.Chosen->Half, 'c');
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void DesignLibraryDialogTest::stoppingAnIndexingKeepsWhatWasWritten() {
    QTemporaryDir dir;
    FillFolder(dir.path(), 400);
    const std::string db = dir.filePath("library.sqlite").toStdString();
    {
        TDesignLibraryDialog dialog(nullptr, db);
        dialog.FolderEdit->setText(dir.path());
        QTest::mouseClick(dialog.IndexButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(dialog.Progress->value() > 0, 60000);
        QTest::mouseClick(dialog.CancelButton, Qt::LeftButton);
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.Indexing(), 60000);
        QVERIFY(dialog.Grid->count() < 403);
    }
    DesignLibrary library(db);
    QCOMPARE(library.IntegrityCheck(), std::string("ok"));
    IndexOptions options;
    options.Folders = {dir.path().toStdString()};
    const IndexSummary rest = library.Index(options);
    QVERIFY(rest.Unchanged > 0);
    QCOMPARE(library.DesignCount(), 403);
}

LAPIDRAW_UI_TEST_MAIN(DesignLibraryDialogTest)
#include "design_library_dialog_test.moc"
