#include "dialogs/design_library_dialog.h"

#include "platform/design_thumbnail.h"

#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int MostShown = 2000; // designs in the grid at most
constexpr int CellWidth = 132, CellHeight = 150;
const char* const SortKeys[] = {"name", "facets", "lw",    "tw",          "cw",
                                "pw",   "hw",     "vol",   "crown-angle", "pavilion-angle",
                                "gear", "parts",  "shape", "brightness"};

QString FigureText(const char* name, const std::optional<double>& value, int decimals) {
    return value ? QString("%1 %2").arg(name).arg(*value, 0, 'f', decimals) : QString("%1 -").arg(name);
}

QString Describe(const DesignRecord& r) {
    const DesignFigures& f = r.Figures;
    const QString title = QString::fromStdString(r.Title.empty() ? r.Name : r.Title);
    return QStringList{
        title,
        QString("%1, %2, %3 facets, gear %4, %5 part%6%7")
            .arg(QString::fromStdString(KindName(r.Kind)), QString::fromStdString(ShapeName(f.Shape)))
            .arg(f.Facets)
            .arg(r.Gear)
            .arg(r.Parts)
            .arg(r.Parts == 1 ? "" : "s", r.Mirror ? ", mirror" : ""),
        QStringList{FigureText("L/W", f.LW, 3), FigureText("T/W", f.TW, 3), FigureText("C/W", f.CW, 3),
                    FigureText("P/W", f.PW, 3), FigureText("H/W", f.HW, 3),
                    FigureText("Vol/W\u00b3", f.VolW3, 3)}
            .join("  "),
        QStringList{FigureText("crown", f.CrownAngle, 1), FigureText("pavilion", f.PavilionAngle, 1)}.join(
            "  ") +
            " degrees",
        QString::fromStdString(r.Path)}
        .join('\n');
}
} // namespace

TDesignLibraryDialog::TDesignLibraryDialog(QWidget* parent, const std::string& database)
    : QDialog(parent), database_(database) {
    setObjectName("DesignLibrary");
    setWindowTitle("Design library");
    BuildLayout();
    try {
        library_ = std::make_unique<DesignLibrary>(database_);
    } catch (const LibraryError& error) {
        Status->setText(QString::fromLocal8Bit(error.what()) +
                        (error.Rebuildable() ? " Index a folder to start it afresh." : ""));
    }
    Refresh();
}

TDesignLibraryDialog::~TDesignLibraryDialog() {
    cancel_ = true;
    if (indexer_.joinable()) indexer_.join();
}

void TDesignLibraryDialog::BuildLayout() {
    auto* layout = new QVBoxLayout(this);
    auto* indexRow = new QHBoxLayout;
    FolderEdit = new QLineEdit;
    FolderEdit->setObjectName("Folder");
    auto* choose = new QPushButton("&Folder ...");
    IndexButton = new QPushButton("&Index");
    CancelButton = new QPushButton("&Stop");
    CancelButton->setEnabled(false);
    Progress = new QProgressBar;
    Progress->setVisible(false);
    indexRow->addWidget(new QLabel("Designs in:"));
    indexRow->addWidget(FolderEdit, 1);
    indexRow->addWidget(choose);
    indexRow->addWidget(IndexButton);
    indexRow->addWidget(Progress);
    indexRow->addWidget(CancelButton);
    layout->addLayout(indexRow);

    auto* filterRow = new QHBoxLayout;
    QueryEdit = new QLineEdit;
    QueryEdit->setObjectName("Query");
    QueryEdit->setPlaceholderText("words, shape:oval lw:1.2-1.4 facets:-70 crown-angle:30-40 sort:-lw");
    ShapeBox = new QComboBox;
    ShapeBox->addItem("any shape", "");
    for (const ShapeClass shape : AllShapes)
        ShapeBox->addItem(QString::fromStdString(ShapeName(shape)), QString::fromStdString(ShapeName(shape)));
    SortBox = new QComboBox;
    for (const char* key : SortKeys)
        SortBox->addItem(QString("sort by %1").arg(key), key);
    filterRow->addWidget(new QLabel("Find:"));
    filterRow->addWidget(QueryEdit, 1);
    filterRow->addWidget(ShapeBox);
    filterRow->addWidget(SortBox);
    layout->addLayout(filterRow);

    Grid = new QListWidget;
    Grid->setViewMode(QListView::IconMode);
    Grid->setIconSize(QSize(ThumbnailSize, ThumbnailSize) * 3 / 4);
    Grid->setGridSize(QSize(CellWidth, CellHeight));
    Grid->setResizeMode(QListView::Adjust);
    Grid->setMovement(QListView::Static);
    Grid->setUniformItemSizes(true);
    Grid->setMinimumSize(4 * CellWidth + 30, 2 * CellHeight + 10);
    layout->addWidget(Grid, 1);

    Figures = new QLabel;
    Figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Figures->setMinimumHeight(5 * Figures->fontMetrics().height());
    Figures->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    Status = new QLabel;
    Status->setWordWrap(true);
    layout->addWidget(Figures);
    layout->addWidget(Status);

    auto* buttons = new QHBoxLayout;
    OpenCrownButton = new QPushButton("Open &crown");
    OpenPavilionButton = new QPushButton("Open &pavilion");
    auto* close = new QPushButton("Close");
    buttons->addStretch(1);
    buttons->addWidget(OpenCrownButton);
    buttons->addWidget(OpenPavilionButton);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(choose, &QPushButton::clicked, this, [this] {
        const QString folder =
            QFileDialog::getExistingDirectory(this, "Folder of designs", FolderEdit->text());
        if (!folder.isEmpty()) FolderEdit->setText(folder);
    });
    connect(IndexButton, &QPushButton::clicked, this, [this] { StartIndexing(FolderEdit->text()); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { cancel_ = true; });
    connect(QueryEdit, &QLineEdit::textChanged, this, [this] { Refresh(); });
    connect(ShapeBox, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    connect(SortBox, &QComboBox::currentIndexChanged, this, [this] { Refresh(); });
    connect(Grid, &QListWidget::currentRowChanged, this, [this] { ShowSelected(); });
    connect(Grid, &QListWidget::itemDoubleClicked, this, [this] {
        const DesignRecord* r = Selected();
        if (r) OpenSelected(r->Kind == DesignKind::Pavilion ? 'p' : 'c');
    });
    connect(OpenCrownButton, &QPushButton::clicked, this, [this] { OpenSelected('c'); });
    connect(OpenPavilionButton, &QPushButton::clicked, this, [this] { OpenSelected('p'); });
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

int TDesignLibraryDialog::Refresh() {
    Grid->clear();
    shown_.clear();
    if (!library_) return 0;
    LibraryQuery query;
    std::string fault = ApplyQueryText(query, QueryEdit->text().toStdString());
    if (fault.empty() && !ShapeBox->currentData().toString().isEmpty())
        fault = ApplyTerm(query, "shape", ShapeBox->currentData().toString().toStdString());
    if (fault.empty() && !QueryEdit->text().contains("sort:"))
        fault = ApplyTerm(query, "sort", SortBox->currentData().toString().toStdString());
    if (!fault.empty()) {
        Status->setText(QString::fromStdString(fault));
        return 0;
    }
    query.Limit = MostShown;
    try {
        shown_ = library_->Search(query);
        for (const DesignRecord& r : shown_) {
            auto* item = new QListWidgetItem(QString::fromStdString(r.Name), Grid);
            QPixmap picture;
            const std::string png = r.HasThumbnail ? library_->Thumbnail(r.Id) : "";
            if (picture.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                     static_cast<uint>(png.size()), "PNG"))
                item->setIcon(QIcon(picture));
            item->setToolTip(QString::fromStdString(r.Path));
        }
        Status->setText(QString("%1 designs").arg(shown_.size()));
    } catch (const LibraryError& error) {
        Status->setText(QString::fromLocal8Bit(error.what()));
    }
    ShowSelected();
    return static_cast<int>(shown_.size());
}

const DesignRecord* TDesignLibraryDialog::Selected() const {
    const int row = Grid->currentRow();
    return row >= 0 && row < static_cast<int>(shown_.size()) ? &shown_[row] : nullptr;
}

void TDesignLibraryDialog::ShowSelected() {
    const DesignRecord* r = Selected();
    Figures->setText(r ? Describe(*r) : QString());
    const bool crown = r && r->Kind != DesignKind::Pavilion && r->Figures.CrownFacets > 0;
    const bool pavilion = r && r->Kind != DesignKind::Crown && r->Figures.PavilionFacets > 0;
    OpenCrownButton->setEnabled(crown);
    OpenPavilionButton->setEnabled(pavilion);
}

void TDesignLibraryDialog::OpenSelected(char half) {
    const DesignRecord* r = Selected();
    if (!r) return;
    // A pair opens the half's own design file; a design file opens as it is.
    Chosen = ChosenDesign{r->Kind == DesignKind::Pair && half == 'p' ? r->Partner : r->Path, half};
    accept();
}

void TDesignLibraryDialog::StartIndexing(const QString& folder) {
    if (Indexing() || folder.isEmpty()) return;
    cancel_ = false;
    IndexButton->setEnabled(false);
    CancelButton->setEnabled(true);
    Progress->setRange(0, 0);
    Progress->setVisible(true);
    Status->setText("Indexing " + folder + " ...");
    const bool rebuild = !library_;
    indexer_ = std::thread([this, folder = QFile::encodeName(folder).toStdString(), rebuild] {
        QString report;
        try {
            DesignLibrary library(database_, rebuild ? DesignLibrary::OpenMode::Rebuild
                                                     : DesignLibrary::OpenMode::Existing);
            IndexOptions options;
            options.Folders = {folder};
            options.Cancel = &cancel_;
            options.Thumbnails = [](const TopView& view) { return TopViewPng(view); };
            options.Progress = [this](const IndexProgress& p) {
                QMetaObject::invokeMethod(this, [this, p] {
                    Progress->setRange(0, p.Total);
                    Progress->setValue(p.Done);
                });
            };
            const IndexSummary s = library.Index(options);
            report = QString("%1 files: %2 designs read, %3 unchanged, %4 removed, %5 broken%6")
                         .arg(s.Files)
                         .arg(s.Indexed)
                         .arg(s.Unchanged)
                         .arg(s.Removed)
                         .arg(s.Broken.size())
                         .arg(s.Cancelled ? " (stopped)" : "");
        } catch (const LibraryError& error) {
            report = QString::fromLocal8Bit(error.what());
        }
        QMetaObject::invokeMethod(this, [this, report] { FinishIndexing(report); });
    });
}

void TDesignLibraryDialog::FinishIndexing(const QString& report) {
    if (indexer_.joinable()) indexer_.join();
    IndexButton->setEnabled(true);
    CancelButton->setEnabled(false);
    Progress->setVisible(false);
    if (!library_) {
        try {
            library_ = std::make_unique<DesignLibrary>(database_);
        } catch (const LibraryError&) {
        }
    }
    Refresh();
    Status->setText(report);
}
