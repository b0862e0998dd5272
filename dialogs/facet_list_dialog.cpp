// "list of facet data".
#include "dialogs/facet_list_dialog.h"

#include "dialogs/dialog_frame.h"
#include "gem/gear_conversion.h"
#include "gem/numtext.h"
#include "sheet/facet_listing.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {
constexpr int ColWidths[TForm5::ColCount] = {37, 64, 64, 64, 79, 64, 64, 71};
constexpr const char* Headers[TForm5::ColCount] = {" i",   "   a",  "   b",  "   c",
                                                   "   d", "index", "angle", "  tier"};
constexpr int RowHeight = 18;
constexpr int GridFontPixels = 12;
constexpr int VisibleRows = 24;
constexpr int AidsRows = 12;
constexpr int TableTiers = 2; // the tiers of facets -1 and 0 come before the user's first tier

std::string Coordinate(Real v) {
    return fixed(v, 7, 4);
}

// Tier number, " " on the stone or "*" cut away, the group's parts on its first facet, the symmetry.
std::string TierText(const TGem& design, int i) {
    const Facet& facet = design.Facets[i];
    return fixed(facet.TierNo - TableTiers, 3, 0) + (facet.CornerCount > 0 ? " " : "*") +
           (facet.GroupParts != 0 ? fixed(facet.GroupParts, 2, 0) : "  ") + facet.SymChar;
}
} // namespace

QStringList FacetRowTexts(const TGem& design, int i) {
    const Facet& facet = design.Facets[i];
    const std::string cells[TForm5::ColCount] = {
        fixed(i, 3, 0),
        Coordinate(facet.Normal.x),
        Coordinate(facet.Normal.y),
        Coordinate(facet.Normal.z),
        Coordinate(facet.Dist),
        fixed(facet.Index, 6, 2),
        i == 0 ? fixed(0, 6, 2) : fixed(design.FacetAngle(i), 6, 2),
        i >= 1 ? TierText(design, i) : "",
    };
    QStringList texts;
    for (const std::string& cell : cells)
        texts << QString::fromLatin1(cell.c_str());
    return texts;
}

TForm5::TForm5(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    SetUpDialog(*this, "Form5", "list of facet data");

    StringGrid1 = new QTableWidget(0, ColCount, this);
    StringGrid1->setObjectName("StringGrid1");
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont); // the numbers line up
    font.setPixelSize(GridFontPixels);
    StringGrid1->setFont(font);
    StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    StringGrid1->verticalHeader()->hide();
    StringGrid1->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->verticalHeader()->setDefaultSectionSize(RowHeight);
    StringGrid1->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    StringGrid1->horizontalHeader()->setFixedHeight(RowHeight);
    StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    StringGrid1->setWordWrap(false);
    int width = 0;
    for (int c = 0; c < ColCount; ++c) {
        StringGrid1->setHorizontalHeaderItem(c, new QTableWidgetItem(Headers[c]));
        StringGrid1->setColumnWidth(c, ColWidths[c]);
        width += ColWidths[c];
    }
    StringGrid1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    StringGrid1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int frame = 2 * StringGrid1->frameWidth();
    StringGrid1->setFixedSize(width + frame + StringGrid1->verticalScrollBar()->sizeHint().width(),
                              (VisibleRows + 1) * RowHeight + frame);

    GearBox = new QSpinBox(this);
    GearBox->setObjectName("GearBox");
    GearBox->setRange(MinGearTeeth, MaxGearTeeth);
    auto* gearLabel = new QLabel("Indices on &gear", this);
    gearLabel->setBuddy(GearBox);
    AidsText = new QPlainTextEdit(this);
    AidsText->setObjectName("AidsText");
    AidsText->setReadOnly(true);
    AidsText->setFont(font);
    AidsText->setLineWrapMode(QPlainTextEdit::NoWrap);
    AidsText->setFixedHeight(AidsRows * RowHeight);
    connect(GearBox, &QSpinBox::valueChanged, this, &TForm5::ShowAids);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(StringGrid1);
    auto* gearRow = new QHBoxLayout;
    gearRow->addWidget(gearLabel);
    gearRow->addWidget(GearBox);
    gearRow->addStretch();
    layout->addLayout(gearRow);
    layout->addWidget(AidsText);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    CentreOnScreen(*this);
}

int TForm5::RowCount() const {
    return StringGrid1->rowCount() + 1;
}

QString TForm5::Cells(int column, int row) const {
    const QTableWidgetItem* item =
        row == 0 ? StringGrid1->horizontalHeaderItem(column) : StringGrid1->item(row - 1, column);
    return item ? item->text() : QString();
}

void TForm5::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

// Facet i goes into row i + 2: row 1 is facet -1 (table or bottom), row 2 facet 0 (girdle plane).
void TForm5::FormActivate() {
    const TGem& design = Host.ShownDesign();
    StringGrid1->clearContents();
    StringGrid1->setRowCount(design.FacetCount + 2);
    for (int i = -1; i <= design.FacetCount; ++i) {
        const QStringList texts = FacetRowTexts(design, i);
        for (int c = 0; c < ColCount; ++c)
            StringGrid1->setItem(i + 1, c, new QTableWidgetItem(texts[c]));
    }
    StringGrid1->scrollToTop();
    const QSignalBlocker quiet(GearBox);
    GearBox->setValue(design.IndexCount());
    InstructionLines = design.FacetCount > 0 ? InstructionListingLines(design) : std::vector<std::string>{};
    ShowAids();
    if (AskForGear) {
        AskForGear = false;
        GearBox->setFocus();
        GearBox->selectAll();
    }
}

void TForm5::ShowAids() {
    const TGem& design = Host.ShownDesign();
    QString text;
    if (design.FacetCount > 0) {
        std::vector<std::string> lines = InstructionLines;
        for (const std::string& line : GearListingLines(design, GearBox->value()))
            lines.push_back(line);
        for (const std::string& line : lines)
            text += QString::fromLatin1(line.c_str()).trimmed() + '\n';
    }
    AidsText->setPlainText(text);
}
