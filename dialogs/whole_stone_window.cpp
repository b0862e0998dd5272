#include "dialogs/whole_stone_window.h"

#include "gem/numtext.h"
#include "gem/range_error.h"
#include "platform/qt_surfaces.h"
#include "sheet/faceting_diagram.h"
#include "stone/stone_figures.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

namespace {
constexpr const char* MaterialsSection = "Materials";
constexpr const char* OwnMaterialsKey = "Own";
constexpr int PictureSide = 420; // pixels, the four views at first
constexpr double DefaultWidthMm = 8;
constexpr double LargestSize = 1000; // mm, and carats
constexpr int SizeDecimals = 2;

// The open design and its partner as crown and pavilion.
struct Halves {
    const TGem* Crown = nullptr;
    const TGem* Pavilion = nullptr;
};

Halves HalvesOf(const TGem& design, const TGem* partner) {
    return design.IsCrown() ? Halves{&design, partner} : Halves{partner, &design};
}

QString Lines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text << QString::fromLatin1(line.c_str());
    return text.join('\n');
}

QString SourceText(DesignHost& host, const TGem* partner) {
    const char* open = host.Design().IsCrown() ? "crown" : "pavilion";
    const std::string file = host.DesignFile().empty() ? "the design" : host.DesignFile();
    if (partner)
        return QString::fromStdString("The " + std::string(open) + " " + file + " with its partner " +
                                      host.PartnerFile());
    return QString::fromStdString("The " + std::string(open) + " alone, closed at the girdle. " +
                                  host.PartnerProblem());
}
} // namespace

Real GirdleScaleToPartner(DesignHost& host) {
    const TGem* partner = host.PartnerHalf();
    if (!partner) return 1;
    const Halves halves = HalvesOf(host.Design(), partner);
    const GirdleComparison girdles = CompareGirdles(*halves.Crown, *halves.Pavilion);
    if (girdles.Agree()) return 1;
    return host.Design().IsCrown() ? girdles.CrownToPavilion() : girdles.PavilionToCrown();
}

bool ScaleToPartner(DesignHost& host) {
    if (!host.PartnerHalf()) {
        host.Svc().Messages.ShowError(host.PartnerProblem());
        return false;
    }
    const Real factor = GirdleScaleToPartner(host);
    if (factor == 1) {
        host.Svc().Messages.ShowError("The girdles of the two halves agree: nothing to scale");
        return false;
    }
    return host.Apply([factor](TGem& design) {
        if (!design.Resize(factor))
            throw RangeError("The design cannot be resized by " + Trim(fixed(factor, 0, 6)) +
                             ": a plane would lie beyond the program's reach");
        return true;
    });
}

TWholeStoneWindow::TWholeStoneWindow(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    setObjectName("WholeStoneWindow");
    setWindowTitle("Whole stone");
    setModal(false);
    BuildLayout();
    FillMaterials();
    host.FollowDesign(*this, [this] {
        if (isVisible()) Refresh();
    });
}

void TWholeStoneWindow::BuildLayout() {
    Picture = new QLabel(this);
    Picture->setObjectName("Picture");
    Picture->setMinimumSize(PictureSide / 2, PictureSide / 2);
    Picture->resize(PictureSide, PictureSide);
    Picture->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    Picture->setAlignment(Qt::AlignCenter);

    Source = new QLabel(this);
    Source->setWordWrap(true);
    Figures = new QLabel(this);
    Figures->setObjectName("Figures");
    Figures->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    Figures->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Consistency = new QLabel(this);
    Consistency->setWordWrap(true);

    MaterialBox = new QComboBox(this);
    AddMaterialButton = new QPushButton("Add material ...", this);
    WidthBox = new QDoubleSpinBox(this);
    WeightBox = new QDoubleSpinBox(this);
    for (QDoubleSpinBox* box : {WidthBox, WeightBox}) {
        box->setDecimals(SizeDecimals);
        box->setRange(0.01, LargestSize);
        box->setKeyboardTracking(false);
    }
    WidthBox->setSuffix(" mm");
    WeightBox->setSuffix(" ct");
    WidthBox->setValue(DefaultWidthMm);

    auto* materialRow = new QHBoxLayout;
    materialRow->addWidget(MaterialBox, 1);
    materialRow->addWidget(AddMaterialButton);
    auto* form = new QFormLayout;
    form->addRow("Material:", materialRow);
    form->addRow("Width:", WidthBox);
    form->addRow("Weight:", WeightBox);

    ScaleButton = new QPushButton(this);
    OpenPartnerButton = new QPushButton("Open partner half", this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ScaleButton);
    buttons->addWidget(OpenPartnerButton);

    auto* side = new QVBoxLayout;
    side->addWidget(Source);
    side->addWidget(Figures);
    side->addLayout(form);
    side->addWidget(Consistency);
    side->addStretch(1);
    side->addLayout(buttons);
    auto* whole = new QHBoxLayout(this);
    whole->addWidget(Picture, 1);
    whole->addLayout(side);

    connect(MaterialBox, &QComboBox::currentIndexChanged, this, [this] { WeightFromWidth(); });
    connect(WidthBox, &QDoubleSpinBox::valueChanged, this, [this] { WeightFromWidth(); });
    connect(WeightBox, &QDoubleSpinBox::valueChanged, this, [this] { WidthFromWeight(); });
    connect(AddMaterialButton, &QPushButton::clicked, this, [this] { AddMaterial(); });
    connect(ScaleButton, &QPushButton::clicked, this, [this] { ScaleToPartner(Host); });
    connect(OpenPartnerButton, &QPushButton::clicked, this, [this] { Host.OpenPartnerHalf(); });
}

void TWholeStoneWindow::FillMaterials() {
    const std::string own = Host.Svc().Settings.ReadString(MaterialsSection, OwnMaterialsKey, "");
    Choices.assign(Materials().begin(), Materials().end());
    for (const Material& material : ParseMaterials(own))
        Choices.push_back(material);
    const QString kept = MaterialBox->currentText();
    const bool updating = std::exchange(Updating, true);
    MaterialBox->clear();
    for (const Material& material : Choices)
        MaterialBox->addItem(QString::fromStdString(material.Name));
    MaterialBox->setCurrentIndex(std::max(0, MaterialBox->findText(kept)));
    Updating = updating;
}

// The user's own material, typed as one line, is kept in the settings with those added before.
void TWholeStoneWindow::AddMaterial() {
    bool ok = false;
    const QString line = QInputDialog::getText(
        this, "Add material", "Name; specific gravity; refractive index:", QLineEdit::Normal, "", &ok);
    if (!ok) return;
    Material material;
    std::string why;
    if (!ParseMaterial(line.toStdString(), material, why)) {
        Host.Svc().Messages.ShowError(why);
        return;
    }
    std::string own = Host.Svc().Settings.ReadString(MaterialsSection, OwnMaterialsKey, "");
    if (!own.empty() && own.back() != '\n') own += '\n';
    Host.Svc().Settings.WriteString(MaterialsSection, OwnMaterialsKey, own + MaterialLine(material) + '\n');
    FillMaterials();
    MaterialBox->setCurrentIndex(MaterialBox->count() - 1);
}

const Material& TWholeStoneWindow::Chosen() const {
    const int index = std::clamp(MaterialBox->currentIndex(), 0, static_cast<int>(Choices.size()) - 1);
    return Choices[static_cast<std::size_t>(index)];
}

void TWholeStoneWindow::WeightFromWidth() {
    if (Updating || WholeStone.Empty()) return;
    SetQuietly(*WeightBox, CaratsOf(WholeStone, WidthBox->value(), Chosen().SpecificGravity));
}

void TWholeStoneWindow::WidthFromWeight() {
    if (Updating || WholeStone.Empty()) return;
    SetQuietly(*WidthBox, SizeForCarats(WholeStone, WeightBox->value(), Chosen().SpecificGravity));
}

// Sets a box without the change running back into the other box.
void TWholeStoneWindow::SetQuietly(QDoubleSpinBox& box, Real value) {
    const bool updating = std::exchange(Updating, true);
    box.setValue(double(value));
    Updating = updating;
}

void TWholeStoneWindow::Refresh() {
    TGem& design = Host.Design();
    const TGem* partner = Host.PartnerHalf();
    const FileResult made = MakeStoneOf(design, partner, WholeStone);
    Source->setText(made ? SourceText(Host, partner) : QString::fromStdString(made.Error().Message));
    Figures->setText(made ? Lines(StoneFigureLines(WholeStone, design, partner)) : QString());
    const Real factor = made ? GirdleScaleToPartner(Host) : 1;
    Consistency->setText(!partner      ? QString()
                         : factor == 1 ? QString("The girdles of the two halves agree.")
                                       : QString("Scaling the %1 by %2 makes the girdles agree.")
                                             .arg(design.IsCrown() ? "crown" : "pavilion")
                                             .arg(double(factor), 0, 'f', 4));
    ScaleButton->setText(design.IsCrown() ? "Scale crown to pavilion" : "Scale pavilion to crown");
    ScaleButton->setEnabled(factor != 1);
    OpenPartnerButton->setEnabled(partner != nullptr);
    for (QWidget* box : {static_cast<QWidget*>(MaterialBox), static_cast<QWidget*>(WidthBox),
                         static_cast<QWidget*>(WeightBox)})
        box->setEnabled(made.Done());
    WeightFromWidth();
    DrawViews();
}

void TWholeStoneWindow::DrawViews() {
    const QSize size = Picture->size().expandedTo(QSize(1, 1));
    RasterSurface surface(size.width(), size.height());
    if (!WholeStone.Empty()) DrawStoneViews(surface, WholeStone, 0, 0, size.width(), size.height());
    Picture->setPixmap(QPixmap::fromImage(surface.Finish()));
}

void TWholeStoneWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    DrawViews();
}
