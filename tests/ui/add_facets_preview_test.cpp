// "Add facets" while the cutter types: the live preview of the plane, drawn a moment after the last key
// and never changing the design, and the warning line before a cut that misses the stone or removes a
// whole tier. Driven through the real dialog on the real main window.
#include "dialogs/add_facets_dialog.h"
#include "dialogs/radio_group.h"
#include "tests/support/design_builders.h"
#include "tests/ui/add_facets_support.h"
#include "tests/ui/ui_test_main.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {
constexpr int DepthMethodItem = 3;
constexpr Real OnPlane = 1e-6L;

void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

// Angle, index and depth typed key by key into a dialog on the "depth angle index" method.
void TypeDepthPlane(TForm14& form, const QString& angle, const QString& index, const QString& depth) {
    form.RadioGroup1->SetItemIndex(DepthMethodItem);
    form.RadioGroup1Click();
    TypeInto(form.Edit15, angle);
    TypeInto(form.Edit16, index);
    TypeInto(form.Edit11, depth);
}

bool InsideStone(const TGem& gem, const Vector3& p) {
    for (int f = -1; f <= gem.FacetCount; ++f)
        if (gem.Facets[f].CornerCount != 0 && Dot(gem.Facets[f].Normal, p) < gem.Facets[f].Dist - 1e-6L)
            return false;
    return true;
}
} // namespace

class AddFacetsPreviewTest : public QObject {
    Q_OBJECT

  private slots:
    void previewFollowsTypingAndLeavesTheDesign();
    void notYetANumberShowsNothingAndNoMessage();
    void warningBeforeTheCut_data();
    void warningBeforeTheCut();
};

void AddFacetsPreviewTest::previewFollowsTypingAndLeavesTheDesign() {
    AddFacetsFixture f;
    UseDesign(*f.Window, RoundBrilliantCrown());
    const std::string before = DesignTextWithoutStamp(f.Design());
    f.Open();
    TypeDepthPlane(f.Form, "35", "0", "30");
    QVERIFY(f.Form.PreviewTimer->isActive()); // drawn a moment after the last key, not at every key
    QTRY_VERIFY(!f.Window->Display().PlannedCut.empty());
    TypeInto(f.Form.Edit15, "3"); // 3 degrees: the plane passes above the stone
    QTRY_VERIFY(!f.Form.PreviewTimer->isActive());
    QVERIFY(f.Window->Display().PlannedCut.empty());
    QCOMPARE(f.Form.WarningLabel->text(),
             QString("This plane misses the stone: the cut would remove nothing"));
    QTest::keyClicks(f.Form.Edit15, "5"); // 35 degrees again
    QTRY_VERIFY(!f.Window->Display().PlannedCut.empty());
    QVERIFY(f.Form.WarningLabel->text().isEmpty());

    // Every drawn facet lies on the typed plane turned by one of the 8 parts, on the stone as it is.
    Plane plane;
    QVERIFY(Made(f.Design().PlaneFromAngleIndexDist(35, 0, 30), plane));
    const auto& polygons = f.Window->Display().PlannedCut;
    QCOMPARE(static_cast<int>(polygons.size()), 8);
    for (const auto& polygon : polygons) {
        bool onAPart = false;
        for (int part = 0; part < 8 && !onAPart; ++part) {
            const Real turn = part * TwoPi / 8, c = std::cos(turn), s = std::sin(turn);
            const Vector3 n{plane.Normal.x * c - plane.Normal.y * s, plane.Normal.x * s + plane.Normal.y * c,
                            plane.Normal.z};
            onAPart = std::all_of(polygon.begin(), polygon.end(), [&](const Vector3& p) {
                return std::fabs(Dot(n, p) - plane.Dist) < OnPlane;
            });
        }
        QVERIFY(onAPart);
        for (const Vector3& p : polygon)
            QVERIFY(InsideStone(f.Design(), p));
    }
    QCOMPARE(DesignTextWithoutStamp(f.Design()), before);
    QVERIFY(f.Script.Messages.empty());

    f.Form.Button7Click(); // Cancel takes the plane off the sheet
    QVERIFY(f.Window->Display().PlannedCut.empty());
    QCOMPARE(DesignTextWithoutStamp(f.Design()), before);
}

void AddFacetsPreviewTest::notYetANumberShowsNothingAndNoMessage() {
    AddFacetsFixture f;
    UseDesign(*f.Window, RoundBrilliantCrown());
    f.Open();
    TypeDepthPlane(f.Form, "35", "0", "30");
    QTRY_VERIFY(!f.Window->Display().PlannedCut.empty());
    for (const char* partial : {"-", "4e", ".", "3x"}) {
        TypeInto(f.Form.Edit11, partial);
        QTRY_VERIFY(!f.Form.PreviewTimer->isActive());
        QVERIFY2(f.Window->Display().PlannedCut.empty(), partial);
        QVERIFY(f.Form.WarningLabel->text().isEmpty());
    }
    QVERIFY(f.Script.Messages.empty());
}

void AddFacetsPreviewTest::warningBeforeTheCut_data() {
    QTest::addColumn<QString>("angle");
    QTest::addColumn<QString>("index");
    QTest::addColumn<QString>("depth");
    QTest::addColumn<QString>("warning");
    // clang-format off
    QTest::newRow("outside the stone")     << "35" << "0" << "500" << "This plane misses the stone: the cut would remove nothing";
    QTest::newRow("table below the stars") << "0"  << "0" << "5"   << QString::fromUtf8("This cut removes tier C3 (22.00\u00B0, 8 facets) entirely");
    QTest::newRow("a useful cut")          << "35" << "0" << "30"  << "";
    // clang-format on
}

void AddFacetsPreviewTest::warningBeforeTheCut() {
    QFETCH(QString, angle);
    QFETCH(QString, index);
    QFETCH(QString, depth);
    QFETCH(QString, warning);
    AddFacetsFixture f;
    UseDesign(*f.Window, RoundBrilliantCrown());
    const int facets = f.Design().FacetCount;
    f.Open();
    TypeDepthPlane(f.Form, angle, index, depth);
    f.Form.PreviewTimer->stop();
    f.Form.Button5->click(); // Compute states it at once
    QCOMPARE(f.Form.WarningLabel->text(), warning);
    QVERIFY(f.Form.BitBtn1->isVisible()); // the cutter can still cut
    QVERIFY(f.Script.Messages.empty());
    QCOMPARE(f.Design().FacetCount, facets);
}

LAPIDRAW_UI_TEST_MAIN(AddFacetsPreviewTest)
#include "add_facets_preview_test.moc"
