#include "dialogs/export3d_dialog.h"

#include "dialogs/dialog_frame.h"
#include "gem/numread.h"
#include "gem/range_error.h"
#include "mesh/mesh_files.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <filesystem>

namespace {
enum StoneChoice { WholeStone, CrownAlone, PavilionAlone };

// A field's number, or nothing when it holds none.
std::optional<Real> Number(const QLineEdit* field) {
    return ReadReal(field->text().trimmed().toStdString());
}
} // namespace

TExport3dDialog::TExport3dDialog(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    SetUpDialog(*this, "Export3dForm", "Export 3D");
    FileEdit = new QLineEdit(this);
    BrowseButton = new QPushButton("&Browse ...", this);
    ByWidth = new QRadioButton("&Width (mm)", this);
    ByWeight = new QRadioButton("W&eight (ct)", this);
    WidthEdit = new QLineEdit("10", this);
    CaratsEdit = new QLineEdit("1", this);
    MaterialBox = new QComboBox(this);
    for (const Material& material : Materials())
        MaterialBox->addItem(QString::fromStdString(material.Name));
    GirdleEdit = new QLineEdit("0", this);
    StoneBox = new QComboBox(this);
    const bool crown = host.Design().IsCrown(), partner = host.PartnerHalf() != nullptr;
    StoneBox->addItem("Whole stone");
    StoneBox->addItem(partner || crown ? "Crown alone" : "Crown alone (no crown)");
    StoneBox->addItem(partner || !crown ? "Pavilion alone" : "Pavilion alone (no pavilion)");
    StoneBox->setCurrentIndex(partner ? WholeStone : crown ? CrownAlone : PavilionAlone);
    OkButton = new QPushButton("&Export", this);
    CancelButton = new QPushButton("Cance&l", this);
    ByWidth->setChecked(true);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{FileEdit, "FileEdit"},
                                {BrowseButton, "BrowseButton"},
                                {ByWidth, "ByWidth"},
                                {ByWeight, "ByWeight"},
                                {WidthEdit, "WidthEdit"},
                                {CaratsEdit, "CaratsEdit"},
                                {MaterialBox, "MaterialBox"},
                                {GirdleEdit, "GirdleEdit"},
                                {StoneBox, "StoneBox"},
                                {OkButton, "OkButton"},
                                {CancelButton, "CancelButton"}})
        widget->setObjectName(name);

    auto* file = new QHBoxLayout;
    file->addWidget(FileEdit);
    file->addWidget(BrowseButton);
    auto* weight = new QHBoxLayout;
    weight->addWidget(CaratsEdit);
    weight->addWidget(MaterialBox);
    auto* form = new QFormLayout;
    form->addRow("File (.stl, .obj, .3mf, .step)", file);
    form->addRow(ByWidth, WidthEdit);
    form->addRow(ByWeight, weight);
    form->addRow("Minimum girdle (mm)", GirdleEdit);
    form->addRow("Stone", StoneBox);
    OkButton->setDefault(true);
    CompleteCentredDialog(*this, form, {OkButton, CancelButton});

    connect(BrowseButton, &QPushButton::clicked, this, &TExport3dDialog::Browse);
    connect(ByWidth, &QRadioButton::toggled, this, &TExport3dDialog::ShowSizeChoice);
    connect(OkButton, &QPushButton::clicked, this, [this] {
        if (Export()) accept();
    });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    ShowSizeChoice();
}

void TExport3dDialog::ShowSizeChoice() {
    WidthEdit->setEnabled(ByWidth->isChecked());
    CaratsEdit->setEnabled(!ByWidth->isChecked());
    MaterialBox->setEnabled(!ByWidth->isChecked());
}

void TExport3dDialog::Browse() {
    FileDialogRequest request;
    request.DefaultExt = "stl";
    request.FilterDescription = "3D files (*.stl, *.obj, *.3mf, *.step)";
    request.Pattern = "*.stl;*.obj;*.3mf;*.step;*.stp";
    request.Title = "Export 3D";
    const std::string design = Host.DesignFile();
    request.InitialDir = std::filesystem::path(design).parent_path().string();
    request.FileName = std::filesystem::path(design).stem().string() + ".stl";
    if (const auto chosen = Host.Svc().Files.SaveFile(request))
        FileEdit->setText(QString::fromStdString(*chosen));
}

bool TExport3dDialog::Export() {
    MessageService& messages = Host.Svc().Messages;
    const std::string path = FileEdit->text().trimmed().toStdString();
    if (!MeshFormatOf(path)) {
        messages.ShowError("Give the file a name ending in .stl, .obj, .3mf or .step");
        return false;
    }
    MeshOptions options;
    const Material* material = FindMaterial(MaterialBox->currentText().toStdString());
    if (ByWidth->isChecked())
        options.Size.WidthMm = Number(WidthEdit).value_or(0);
    else {
        options.Size.Carats = Number(CaratsEdit).value_or(0);
        options.Size.Of = material;
    }
    options.MinGirdleMm = Number(GirdleEdit).value_or(-1);

    // The stone: the design with its partner, or one half alone.
    const TGem& design = Host.Design();
    const TGem* partner = Host.PartnerHalf();
    const int choice = StoneBox->currentIndex();
    const TGem* half = &design;
    if (choice != WholeStone && design.IsCrown() != (choice == CrownAlone)) half = partner;
    if (!half) {
        messages.ShowError(std::string("The design has no ") + (choice == CrownAlone ? "crown" : "pavilion") +
                           (Host.PartnerProblem().empty() ? "" : ": " + Host.PartnerProblem()));
        return false;
    }
    Stone stone;
    const FileResult made =
        choice == WholeStone ? MakeStoneOf(design, partner, stone) : MakeHalfStone(*half, stone);
    if (!made) {
        messages.ShowError(made.Error().Message);
        return false;
    }
    try {
        if (const FileResult written = WriteStoneMesh(MakeStoneMesh(stone, options), path); !written) {
            messages.ShowError(written.Error().Message);
            return false;
        }
    } catch (const RangeError& refused) {
        messages.ShowError(refused.what());
        return false;
    }
    return true;
}
