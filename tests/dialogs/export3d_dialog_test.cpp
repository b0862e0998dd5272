// "Export 3D" on a fake host, driven through its widgets: the file named, browsed for, sized by width or
// weight, one half alone, and refusals that show their reason and write nothing.
#include "dialogs/export3d_dialog.h"
#include "tests/dialogs/fake_host.h"
#include "tests/support/design_builders.h"
#include "tests/ui/ui_test_main.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cmath>
#include <cstring>

namespace {
// The x extent of a binary STL file's corners.
double StlWidth(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray bytes = file.readAll();
    double low = INFINITY, high = -INFINITY;
    for (qsizetype at = 84; at + 50 <= bytes.size(); at += 50)
        for (int corner = 1; corner <= 3; ++corner) {
            float x;
            std::memcpy(&x, bytes.constData() + at + 12 * corner, sizeof x);
            low = std::fmin(low, x);
            high = std::fmax(high, x);
        }
    return high - low;
}
} // namespace

class Export3dDialogTest : public QObject {
    Q_OBJECT
  private slots:
    void WritesTheWholeStoneAtTheWidth() {
        FakeHost host;
        host.Gem = RoundBrilliantCrown();
        host.Partner = RoundBrilliantPavilion();
        QTemporaryDir dir;
        const QString path = dir.filePath("brilliant.stl");
        host.Script.FileAnswers.push_back(path.toStdString());
        TExport3dDialog dialog(host);
        QCOMPARE(dialog.StoneBox->currentIndex(), 0); // the whole stone, as there is a partner
        dialog.BrowseButton->click();
        QCOMPARE(dialog.FileEdit->text(), path);
        dialog.WidthEdit->setText("6.5");
        dialog.OkButton->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(host.Script.Messages.empty());
        QVERIFY(std::fabs(StlWidth(path) - 6.5) < 1e-6);
    }

    void WritesOneHalfByWeight() {
        FakeHost host;
        host.Gem = RoundBrilliantCrown();
        host.Partner = RoundBrilliantPavilion();
        QTemporaryDir dir;
        TExport3dDialog dialog(host);
        dialog.FileEdit->setText(dir.filePath("pavilion.obj"));
        dialog.ByWeight->click();
        QVERIFY(!dialog.WidthEdit->isEnabled() && dialog.CaratsEdit->isEnabled());
        dialog.CaratsEdit->setText("0.5");
        dialog.MaterialBox->setCurrentText("Diamond");
        dialog.StoneBox->setCurrentIndex(2);
        dialog.OkButton->click();
        QVERIFY2(host.Script.Messages.empty(),
                 host.Script.Messages.empty() ? "" : host.Script.Messages[0].Text.c_str());
        QVERIFY(QFile::exists(dir.filePath("pavilion.obj")) && QFile::exists(dir.filePath("pavilion.mtl")));
    }

    // Each refusal shows one message and leaves the folder empty.
    void RefusalsShowTheirReasonAndWriteNothing() {
        struct Case {
            const char* File;
            const char* Width;
            const char* Girdle;
            int Stone;
            bool Partner;
            const char* Reason;
        };
        const Case cases[] = {{"a.stl", "0", "0", 0, true, "positive finite"},
                              {"a.stl", "-2", "0", 0, true, "positive finite"},
                              {"a.stl", "x", "0", 0, true, "positive finite"},
                              {"a.stl", "5", "-1", 0, true, "minimum girdle"},
                              {"a.ply", "5", "0", 0, true, ".stl"},
                              {"no/folder/a.step", "5", "0", 0, true, "Cannot write"},
                              {"a.3mf", "5", "0", 2, false, "no pavilion"}};
        for (const Case& c : cases) {
            FakeHost host;
            host.Gem = RoundBrilliantCrown();
            if (c.Partner) host.Partner = RoundBrilliantPavilion();
            QTemporaryDir dir;
            TExport3dDialog dialog(host);
            dialog.FileEdit->setText(dir.filePath(c.File));
            dialog.WidthEdit->setText(c.Width);
            dialog.GirdleEdit->setText(c.Girdle);
            dialog.StoneBox->setCurrentIndex(c.Stone);
            dialog.OkButton->click();
            QCOMPARE(dialog.result(), int(QDialog::Rejected));
            QCOMPARE(host.Script.Messages.size(), std::size_t(1));
            QVERIFY2(host.Script.Messages[0].Text.find(c.Reason) != std::string::npos,
                     host.Script.Messages[0].Text.c_str());
            QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden));
        }
    }
};

LAPIDRAW_UI_TEST_MAIN(Export3dDialogTest)
#include "export3d_dialog_test.moc"
