// "Add facets": cuts the stone one facet group at a time, or replaces an existing facet group.
#include "dialogs/add_facets_dialog.h"

#include "dialogs/dialog_frame.h"
#include "dialogs/field_input.h"
#include "dialogs/radio_group.h"
#include "gem/numread.h"
#include "gem/numtext.h"
#include "gem/plane_methods.h"

#include <QComboBox>
#include <QEvent>
#include <QFocusEvent>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {
constexpr int ComboWidth = 90;
constexpr int PlaneFieldWidth = 100;
constexpr int GirdleMethod = static_cast<int>(PlaneMethod::GirdleTwoPoints);
constexpr int DepthMethod = static_cast<int>(PlaneMethod::DepthAngleIndex);
constexpr Real OriginDistance = 0.1L; // a plane nearer to the origin is refused
constexpr Real ListTolerance = 0.01L; // combo-box values this close are one entry
constexpr int ListLimit = 500;

const QColor Aqua(0, 255, 255);
const QColor Silver(192, 192, 192);
const QColor DisabledText(96, 96, 96);

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

QLabel* BuddyLabel(const QString& caption, QWidget* buddy, QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setBuddy(buddy);
    return label;
}

// Adds text to a sorted list of distinct values unless a value within the tolerance is there.
void AddDistinct(std::vector<Real>& values, std::vector<std::string>& texts, Real value, int width) {
    if (static_cast<int>(values.size()) >= ListLimit) return;
    for (Real v : values)
        if (std::fabs(v - value) < ListTolerance) return;
    values.push_back(value);
    texts.push_back(fixed(value, width, 2));
}

void FillSorted(QComboBox* box, std::vector<std::string> texts) {
    std::sort(texts.begin(), texts.end());
    box->clear();
    for (const std::string& t : texts)
        box->addItem(Text(t));
    box->setCurrentIndex(-1);
    box->setEditText("");
}
} // namespace

TForm14::TForm14(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    setObjectName("Form14");
    setWindowTitle("Add facets");
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    UseDialogFont(*this);
    BuildControls();
    LayOut();
    Connect();
    ApplyMethod(0);
}

void TForm14::BuildControls() {
    GroupBox1 = new QGroupBox("facet data ", this);
    Label1 = new QLabel("x", GroupBox1);
    Label2 = new QLabel("Y", GroupBox1);
    Label3 = new QLabel("Z", GroupBox1);
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6, &Edit7, &Edit8, &Edit9};
    for (int k = 0; k < 9; ++k) {
        *edits[k] = new QLineEdit("0.0", GroupBox1);
        (*edits[k])->setObjectName(QString("Edit%1").arg(k + 1));
    }
    // Row i holds Edit(i+1), Edit(i+4), Edit(i+7): x, y, z of point i + 1.
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            PointEdits[i][j] = *edits[i + 3 * j];
    for (int i = 0; i < 3; ++i) {
        EdgeButtons[i] = new QPushButton(QString("&%1 Click edge").arg(i + 1), GroupBox1);
        EdgeButtons[i]->setObjectName(QString("Button%1").arg(i + 1));
        EdgeButtons[i]->setProperty("Tag", i + 1);
        PointButtons[i] = new QPushButton(QString("&%1 Click point").arg(i + 4), GroupBox1);
        PointButtons[i]->setObjectName(QString("Button%1").arg(i + 9));
        PointButtons[i]->setProperty("Tag", i + 1);
    }
    Button4 = new QPushButton("Click in &facet", GroupBox1);
    Button4->setToolTip("click to select a facet");
    Button6 = new QPushButton("Clea&r", GroupBox1);
    Edit12 = new QLineEdit(GroupBox1);
    Edit12->setEnabled(false);
    Label4 = new QLabel("Z-axis intercept", GroupBox1);
    Edit15 = new QLineEdit(GroupBox1);
    Edit16 = new QLineEdit(GroupBox1);
    Edit11 = new QLineEdit(GroupBox1);
    Label5 = BuddyLabel("Cut &angle", Edit15, GroupBox1);
    Label6 = BuddyLabel("&Index", Edit16, GroupBox1);
    Label7 = BuddyLabel("Cut dept&h", Edit11, GroupBox1);
    Edit10 = new QLineEdit(GroupBox1);
    Edit10->setEnabled(false);
    Edit10->hide();
    Label8 = new QLabel("facet nr", GroupBox1);
    Label8->hide();
    Button5 = new QPushButton("&Compute facet", GroupBox1);
    Button5->setToolTip("Compute facet plane");
    BitBtn1 = new QPushButton(style()->standardIcon(QStyle::SP_DialogApplyButton), "C&ut", this);
    BitBtn1->hide();
    WarningLabel = new QLabel(this);
    WarningLabel->setObjectName("WarningLabel");
    WarningLabel->setStyleSheet("color: #c00000");
    PreviewTimer = new QTimer(this);
    PreviewTimer->setSingleShot(true);
    PreviewTimer->setInterval(PreviewDelayMs);
    Button7 = new QPushButton("Cance&l", this);
    RadioGroup1 = new RadioGroup("&Method selection",
                                 {"1 point angle index", "2 points  index", "3 points", "depth angle index",
                                  QString::fromUtf8("2 points 90\u00ba girdle ")},
                                 GroupBox1);
    RadioGroup1->SetItemIndex(0);

    Panel1 = new QFrame(this);
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Panel1->setAutoFillBackground(true);
    Panel1->setToolTip("A complete set of facets will be modified");
    Label9 = new QLabel("Facet set selection panel", Panel1);
    Label9->setAlignment(Qt::AlignCenter);
    RadioGroup2 = new RadioGroup("Add or modif&y facets", {"Add facets", "Modify facets"}, Panel1);
    RadioGroup2->SetItemIndex(0);
    RadioGroup3 = new RadioGroup("Facet selection meth&od", {"Click in facet", "Index and angle"}, Panel1);
    RadioGroup3->SetItemIndex(0);
    ComboBox1 = new QComboBox(Panel1);
    ComboBox2 = new QComboBox(Panel1);
    for (QComboBox* box : {ComboBox1, ComboBox2}) {
        box->setEditable(true);
        box->setInsertPolicy(QComboBox::NoInsert);
        // What is typed stays as typed: completing "11" into a listed "110.00" would select
        // another facet group.
        box->setCompleter(nullptr);
    }
    Label10 = BuddyLabel("Inde&x", ComboBox1, Panel1);
    Label11 = BuddyLabel("An&gle", ComboBox2, Panel1);
    Button8 = new QPushButton("&Select", Panel1);
    // Disabled captions stay readable on both panel colours.
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::Window, Silver);
    for (QPalette::ColorRole role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, DisabledText);
    Panel1->setPalette(palette);
    RadioGroup3->hide();
    SetComboControlsVisible(false, false);

    for (auto [widget, name] : {std::pair<QWidget*, const char*>{GroupBox1, "GroupBox1"},
                                {Button4, "Button4"},
                                {Button5, "Button5"},
                                {Button6, "Button6"},
                                {Button7, "Button7"},
                                {Button8, "Button8"},
                                {BitBtn1, "BitBtn1"},
                                {Edit10, "Edit10"},
                                {Edit11, "Edit11"},
                                {Edit12, "Edit12"},
                                {Edit15, "Edit15"},
                                {Edit16, "Edit16"},
                                {RadioGroup1, "RadioGroup1"},
                                {RadioGroup2, "RadioGroup2"},
                                {RadioGroup3, "RadioGroup3"},
                                {ComboBox1, "ComboBox1"},
                                {ComboBox2, "ComboBox2"},
                                {Panel1, "Panel1"}})
        widget->setObjectName(name);
    // No button is the dialog's default: Enter in a field must not press one (the first would be
    // "&1 Click edge", which closes the dialog and waits for a click on the stone).
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(false);
}

void TForm14::LayOut() {
    auto* points = new QGridLayout;
    points->addWidget(Label1, 0, 1, Qt::AlignHCenter);
    points->addWidget(Label2, 0, 2, Qt::AlignHCenter);
    points->addWidget(Label3, 0, 3, Qt::AlignHCenter);
    for (int i = 0; i < 3; ++i) {
        points->addWidget(new QLabel(QString::number(i + 1), GroupBox1), i + 1, 0);
        for (int j = 0; j < 3; ++j) {
            PointEdits[i][j]->setFixedWidth(70);
            points->addWidget(PointEdits[i][j], i + 1, j + 1);
        }
        points->addWidget(EdgeButtons[i], i + 1, 4);
        points->addWidget(PointButtons[i], i + 1, 5);
    }
    points->setColumnStretch(6, 1);
    auto* plane = new QGridLayout;
    plane->addWidget(Label5, 0, 0);
    plane->addWidget(Edit15, 0, 1);
    plane->addWidget(Label6, 1, 0);
    plane->addWidget(Edit16, 1, 1);
    plane->addWidget(Label7, 2, 0);
    plane->addWidget(Edit11, 2, 1);
    plane->addWidget(Label4, 3, 0);
    plane->addWidget(Edit12, 3, 1);
    plane->addWidget(Label8, 4, 0);
    plane->addWidget(Edit10, 4, 1);
    for (QLineEdit* edit : {Edit15, Edit16, Edit11, Edit12, Edit10})
        edit->setFixedWidth(PlaneFieldWidth);
    auto* actions = new QVBoxLayout;
    actions->addWidget(Button5);
    actions->addWidget(Button4);
    actions->addWidget(Button6);
    actions->addStretch();
    auto* lower = new QHBoxLayout;
    lower->addWidget(RadioGroup1);
    lower->addLayout(plane);
    lower->addLayout(actions);
    lower->addStretch();
    auto* facetData = new QVBoxLayout(GroupBox1);
    facetData->addLayout(points);
    facetData->addLayout(lower);

    auto* combos = new QGridLayout;
    combos->addWidget(Label10, 0, 0);
    combos->addWidget(ComboBox1, 1, 0);
    combos->addWidget(Label11, 0, 1);
    combos->addWidget(ComboBox2, 1, 1);
    combos->addWidget(Button8, 1, 2);
    auto* panelRow = new QHBoxLayout;
    panelRow->addWidget(RadioGroup2);
    panelRow->addWidget(RadioGroup3);
    panelRow->addLayout(combos);
    panelRow->addStretch();
    auto* panel = new QVBoxLayout(Panel1);
    panel->addWidget(Label9);
    panel->addLayout(panelRow);

    // Controls that come and go keep their place, so that the dialog keeps its size and its place
    // at the bottom right of the screen.
    std::vector<QWidget*> comeAndGo{Button4, BitBtn1,   RadioGroup3, Label10,
                                    Label11, ComboBox1, ComboBox2,   Button8};
    comeAndGo.insert(comeAndGo.end(), EdgeButtons.begin(), EdgeButtons.end());
    comeAndGo.insert(comeAndGo.end(), PointButtons.begin(), PointButtons.end());
    for (QWidget* control : comeAndGo) {
        QSizePolicy policy = control->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        control->setSizePolicy(policy);
    }
    ComboBox1->setMinimumWidth(ComboWidth);
    ComboBox2->setMinimumWidth(ComboWidth);

    auto* controls = new QVBoxLayout;
    controls->addWidget(GroupBox1);
    controls->addWidget(Panel1);
    // The warning line keeps two lines' room, so that a warning neither moves nor grows the dialog.
    WarningLabel->setWordWrap(true);
    WarningLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    WarningLabel->setFixedHeight(2 * WarningLabel->fontMetrics().lineSpacing());
    controls->addWidget(WarningLabel);
    CompleteDialog(*this, controls, {BitBtn1, Button7}, Host.Svc().Window);
}

void TForm14::Connect() {
    for (int i = 0; i < 3; ++i) {
        connect(EdgeButtons[i], &QPushButton::clicked, this, [this, i] { EdgeButtonClick(i + 1); });
        connect(PointButtons[i], &QPushButton::clicked, this, [this, i] { PointButtonClick(i + 1); });
        for (QLineEdit* edit : PointEdits[i])
            connect(edit, &QLineEdit::textEdited, this, &TForm14::EditChange);
    }
    for (QLineEdit* edit : {Edit15, Edit16, Edit11})
        connect(edit, &QLineEdit::textEdited, this, &TForm14::EditChange);
    connect(PreviewTimer, &QTimer::timeout, this, &TForm14::UpdatePreview);
    connect(Button4, &QPushButton::clicked, this, &TForm14::Button4Click);
    connect(Button5, &QPushButton::clicked, this, &TForm14::Button5Click);
    connect(Button6, &QPushButton::clicked, this, &TForm14::Button6Click);
    connect(Button7, &QPushButton::clicked, this, &TForm14::Button7Click);
    connect(Button8, &QPushButton::clicked, this, &TForm14::Button8Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TForm14::BitBtn1Click);
    connect(RadioGroup1, &RadioGroup::Clicked, this, &TForm14::RadioGroup1Click);
    connect(RadioGroup2, &RadioGroup::Clicked, this, &TForm14::RadioGroup2Click);
    connect(RadioGroup3, &RadioGroup::Clicked, this, &TForm14::RadioGroup3Click);
    connect(ComboBox1, &QComboBox::activated, this, &TForm14::ComboBox1Select);
    ComboBox1->installEventFilter(this);
}

TGem& TForm14::Design() const {
    return Host.Design();
}

void TForm14::Report(QWidget* field, const std::string& message) {
    ReportFieldError(Host.Svc().Messages, field, message);
}

void TForm14::Repaint() {
    Host.Repaint();
}

// Enter presses the focused button only; in a field it does nothing.
void TForm14::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Return && event->key() != Qt::Key_Enter) return QDialog::keyPressEvent(event);
    if (auto* button = qobject_cast<QPushButton*>(focusWidget())) button->click();
}

// ---- Activation ----

void TForm14::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void TForm14::FormActivate() {
    for (int k = 0; k < PlaneMethodCount; ++k)
        RadioGroup1->Item(k)->setEnabled(k == GirdleMethod || (Host.Display().MethodMask >> k & 1u) != 0);
    for (QPushButton* button : EdgeButtons)
        button->setToolTip("<Ctrl> select edges in XY plane; <Shift> do not select edges in XY plane");
    for (QPushButton* button : PointButtons)
        button->setToolTip("<Ctrl> select points in XY plane; <Shift> do not select points in XY plane");

    if (Host.Display().DialogReset) {
        setWindowTitle("Add facet");
        TargetFacet = Design().LastFacetBeforeNewGroup() + 1;
        WriteTargetFacet();
        Host.Display().DialogReset = false;
        BitBtn1->hide();
        PreviewTimer->stop();
        WarningLabel->clear();
        Host.Display().PlannedCut.clear();
        RadioGroup1->SetItemIndex(0);
        ApplyMethod(0);
        SetRadioItem(RadioGroup2, 0);
        SetSelectionControlsEnabled(true);
        RadioGroup3->hide();
        SetRadioItem(RadioGroup3, 0);
        SetComboControlsVisible(false, false);
        if (Design().ModifyMode()) {
            RadioGroup2->setEnabled(false);
            RadioGroup3->setEnabled(false);
            ShowFacet(Design().ReplacedGroup());
            setWindowTitle("Modify facet group");
        }
    }
    UpdateFacetButton();
    ConsumeClick();
}

void TForm14::UpdateFacetButton() {
    const bool offered = Design().HasFacets() && !Design().ModifyMode();
    Button4->setVisible(offered);
    RadioGroup2->setEnabled(offered);
    RadioGroup3->setEnabled(offered);
}

// The left-button click the main window took for this dialog, if one is waiting.
void TForm14::ConsumeClick() {
    const std::optional<SheetClick> click = Host.TakeClick(*this);
    if (!click) return;
    if (click->Kind == ClickKind::Facet)
        TakeClickedFacet(*click);
    else
        TakeClickedPoint(*click);
}

// The point on the nearest edge, or the nearest corner, goes into row ClickRow; a pick that finds
// nothing changes nothing.
void TForm14::TakeClickedPoint(const SheetClick& click) {
    TGem& design = Design();
    const bool edge = click.Kind == ClickKind::Edge;
    const std::optional<TGem::PointFound> picked =
        edge ? design.PickEdge(click.X, click.Y, click.Ctrl, click.Shift)
             : design.FindPoint(click.X, click.Y, click.Ctrl, click.Shift);
    if (!picked) return Host.ShowPrompt(*this, edge ? NoEdgePicked : NoPointPicked);
    const Vector3 p = picked->Position;
    WritePoint(ClickRow - 1, p);
    BitBtn1->hide();
    if (Host.Display().ShowClick) {
        SetMarker(ClickRow, p.x, p.y);
        Repaint();
    }
}

// Shows the facet under the click; with "Modify facets" its group becomes the group to replace.
void TForm14::TakeClickedFacet(const SheetClick& click) {
    TGem& design = Design();
    const int f = design.PickFacet(click.X, click.Y).value_or(NoneFound); // none: the facet shown is cleared
    if (f == NoneFound) Host.ShowPrompt(*this, NoFacetPicked);
    ShowFacet(f);
    BitBtn1->hide();
    // Only a cut facet group can be replaced: a click beside the stone or on the table is ignored.
    const std::optional<TGem::FacetRange> group = f == NoneFound ? std::nullopt : design.GroupRange(f);
    if (RadioGroup2->ItemIndex() == 1 && group && group->First >= 1) EnterModify(group->First, group->First);
}

// ---- Methods ----

void TForm14::RadioGroup1Click() {
    ApplyMethod(RadioGroup1->ItemIndex());
    PreviewTimer->start();
}

void TForm14::ApplyMethod(int method) {
    if (method < 0 || method >= PlaneMethodCount) return;
    const PlaneMethodInputs row = InputsOf(PlaneMethodAt(method));
    for (int i = 0; i < 3; ++i)
        for (QLineEdit* edit : PointEdits[i])
            edit->setEnabled(i < row.Points);
    Edit15->setEnabled(row.Angle);
    Edit16->setEnabled(row.Index);
    Edit11->setEnabled(row.Depth);
    const bool canPick = Design().HasEdgesToPick();
    for (int i = 0; i < 3; ++i) {
        EdgeButtons[i]->setVisible(canPick && i < row.Points);
        PointButtons[i]->setVisible(canPick && i < row.Points);
    }
    UpdateFacetButton();
}

// ---- Click requests ----

void TForm14::RequestClickFor(ClickKind kind, const std::string& prompt) {
    Host.RequestClick(*this, kind, prompt);
}

void TForm14::EdgeButtonClick(int tag) {
    ClickRow = tag;
    RequestClickFor(ClickKind::Edge, "Click on edge");
}

void TForm14::PointButtonClick(int tag) {
    ClickRow = tag;
    RequestClickFor(ClickKind::Point, "Click on point");
}

void TForm14::Button4Click() {
    Host.Display().SelectedFacet = NoneFound;
    RequestClickFor(ClickKind::Facet, "Click in facet");
}

// ---- Computing the plane ----

Real TForm14::RawIndex(Real shown) const {
    const TGem& design = Design();
    const Real fromOffset = shown - design.OffsetIndex;
    if (design.SystemIndex > 0) return design.Wrap(fromOffset);
    return design.Wrap(design.IndexCount() - fromOffset);
}

std::string TForm14::AngleText(const Vector3& normal) const {
    return fixed(ArcCosDeg(Design().IsCrown() ? -normal.z : normal.z), 5, 2);
}

std::string TForm14::InterceptText(const Vector3& normal, Real dist) const {
    const Real angle = ArcCosDeg(Design().IsCrown() ? -normal.z : normal.z);
    if (Near90(angle)) return "infinity";
    return fixed(dist / normal.z, 7, 2);
}

bool TForm14::ReadInputs(int method) {
    MessageService& messages = Host.Svc().Messages;
    const PlaneMethodInputs row = InputsOf(PlaneMethodAt(method));
    for (int i = 0; i < row.Points; ++i) {
        Real* coordinates[3] = {&InputPoints[i].x, &InputPoints[i].y, &InputPoints[i].z};
        for (int j = 0; j < 3; ++j) {
            const auto value =
                ReadRealField(messages, PointEdits[i][j], std::string("Error in ") + CoordinateNames[i][j]);
            if (!value) return false;
            *coordinates[j] = *value;
        }
    }
    const auto target = ReadIntegerField(messages, Edit10, "Error in number");
    if (!target) return false;
    TargetFacet = *target;
    if (row.Angle) {
        const auto angle = ReadRealField(messages, Edit15, "Error in cutangle");
        if (!angle) return false;
        if (*angle < 0 || *angle > 90) {
            Report(Edit15, "Angle must be > 0 and <= 90");
            return false;
        }
        TypedAngle = *angle;
    }
    if (row.Index) {
        const auto index = ReadRealField(messages, Edit16, "Error in index");
        if (!index) return false;
        TypedIndex = *index;
    }
    if (row.Depth) {
        const auto depth = ReadRealField(messages, Edit11, "Error in cut depth");
        if (!depth) return false;
        if (*depth <= 0) {
            Report(Edit11, "cut depth must be positive");
            return false;
        }
        TypedDepth = *depth;
    }
    return true;
}

bool TForm14::ComputePlane(int method, Plane& plane) const {
    const std::optional<Plane> computed = PlaneOf(
        Design(), PlaneMethodAt(method),
        {TypedAngle, RawIndex(TypedIndex), TypedDepth, {InputPoints[0], InputPoints[1], InputPoints[2]}});
    if (computed) plane = *computed;
    return computed.has_value();
}

void TForm14::ShowPlane(int method) {
    const TGem& design = Design();
    const Vector3& n = WorkPlane.Normal;
    Edit15->setText(Text(AngleText(n)));
    Edit16->setText(Text(NumberText(design.ShownIndex(design.IndexFromNormal(n)))));
    if (method != DepthMethod) Edit11->setText(Text(fixed(std::fabs(WorkPlane.Dist), 6, 2)));
    Edit12->setText(Text(InterceptText(n, WorkPlane.Dist)));
}

void TForm14::Button5Click() {
    const int method = RadioGroup1->ItemIndex();
    if (method < 0 || method >= PlaneMethodCount) return;
    BitBtn1->hide();
    if (!ReadInputs(method)) return;
    ClearPreview();
    if (!ComputePlane(method, WorkPlane)) return Report(Edit1, "Facet on wrong side of origin");
    ShowPlane(method);
    if (std::fabs(WorkPlane.Dist) < OriginDistance) return Report(Edit1, "Facet goes through origin");
    ShowOutcome(WorkPlane);
    if (Host.Display().ShowClick) {
        for (int k = 1; k <= InputsOf(PlaneMethodAt(method)).Points; ++k)
            SetMarker(k, InputPoints[k - 1].x, InputPoints[k - 1].y);
        if (InputsOf(PlaneMethodAt(method)).Points > 0) Repaint();
    }
    BitBtn1->show();
}

void TForm14::EditChange() {
    BitBtn1->hide();
    PreviewTimer->start();
}

// ---- Live preview ----

bool TForm14::ReadInputsQuietly(int method) {
    const PlaneMethodInputs row = InputsOf(PlaneMethodAt(method));
    auto read = [](const QLineEdit* edit) { return ReadReal(edit->text().trimmed().toStdString()); };
    for (int i = 0; i < row.Points; ++i) {
        const auto x = read(PointEdits[i][0]), y = read(PointEdits[i][1]), z = read(PointEdits[i][2]);
        if (!x || !y || !z) return false;
        InputPoints[i] = {*x, *y, *z};
    }
    if (row.Angle) {
        const auto angle = read(Edit15);
        if (!angle || *angle < 0 || *angle > 90) return false;
        TypedAngle = *angle;
    }
    if (row.Index) {
        const auto index = read(Edit16);
        if (!index) return false;
        TypedIndex = *index;
    }
    if (row.Depth) {
        const auto depth = read(Edit11);
        if (!depth || *depth <= 0) return false;
        TypedDepth = *depth;
    }
    return true;
}

void TForm14::UpdatePreview() {
    const int method = RadioGroup1->ItemIndex();
    Plane plane;
    if (method < 0 || method >= PlaneMethodCount || !ReadInputsQuietly(method) ||
        !ComputePlane(method, plane) || std::fabs(plane.Dist) < OriginDistance)
        return ClearPreview();
    ShowOutcome(plane);
}

// Draws the plane's facets on the sheet and states what the cut would do wrong.
void TForm14::ShowOutcome(const Plane& plane) {
    const TGem& design = Design();
    try {
        const CutOutcome outcome = Planner.Plan(design, design.LastFacetBeforeNewGroup() + 1, plane);
        Host.Display().PlannedCut = outcome.NewFacets;
        WarningLabel->setText(QString::fromStdString(outcome.Warning()));
    } catch (const std::exception&) { // a plane the model cannot take: nothing to show
        Host.Display().PlannedCut.clear();
        WarningLabel->clear();
    }
    Repaint();
}

void TForm14::ClearPreview() {
    PreviewTimer->stop();
    WarningLabel->clear();
    if (Host.Display().PlannedCut.empty()) return;
    Host.Display().PlannedCut.clear();
    Repaint();
}

// ---- Cut, cancel, clear ----

void TForm14::BitBtn1Click() {
    const auto target = ReadIntegerField(Host.Svc().Messages, Edit10, "Error in number");
    if (!target) return;
    TGem& design = Design();
    // The design may have changed (undo, redo) while the dialog waited for a click: the group always
    // goes to the design's next facet number, never beyond it, which would leave a gap of stale facets.
    TargetFacet = design.LastFacetBeforeNewGroup() + 1;
    WriteTargetFacet();
    ClearPreview();
    // A cut that fails (a full facet table) is shown and leaves the design as it was; the dialog stays.
    Host.Finish(*this, [this](TGem& gem) {
        gem.CutFacetGroup(TargetFacet, WorkPlane);
        gem.LeaveModifyMode();
        Host.Display().SelectedFacet = NoneFound;
        return true;
    });
}

void TForm14::reject() {
    Button7Click();
}

void TForm14::Button7Click() {
    PreviewTimer->stop();
    WarningLabel->clear();
    Host.Display().PlannedCut.clear();
    QDialog::done(QDialog::Rejected);
    Host.Display().SelectedFacet = NoneFound;
    Host.FocusWindow();
    Host.Display().MethodMask = AllTypedMethods;
    Design().LeaveModifyMode();
    Host.RefreshMenus();
    Host.Display().Markers.HideAll();
    Repaint();
}

void TForm14::Button6Click() {
    for (auto& row : PointEdits)
        for (QLineEdit* edit : row)
            edit->clear();
    for (QLineEdit* edit : {Edit15, Edit16, Edit11, Edit12})
        edit->clear();
}

// ---- Showing a facet ----

void TForm14::WriteTargetFacet() {
    Edit10->setText(Text(fixed(TargetFacet, 4, 0)));
}

void TForm14::WritePoint(int row, const Vector3& p) {
    PointEdits[row][0]->setText(Text(fixed(p.x, 7, 2)));
    PointEdits[row][1]->setText(Text(fixed(p.y, 7, 2)));
    PointEdits[row][2]->setText(Text(fixed(p.z, 7, 2)));
}

void TForm14::SetMarker(int k, Real x, Real y) {
    Host.Display().Markers.Set(k, x, y);
}

bool TForm14::ShowFacet(int f) {
    TGem& design = Design();
    if (f == NoneFound || !design.GroupRange(f)) return false;
    Host.Display().SelectedFacet = f;
    Host.Display().FacetSelected = true;
    if (const std::optional<std::array<Vector3, 3>> corners = design.ThreePointsOfFacet(f)) {
        for (int k = 0; k < 3; ++k) {
            WritePoint(k, (*corners)[k]);
            if (Host.Display().ShowClick) SetMarker(k + 1, (*corners)[k].x, (*corners)[k].y);
        }
    }
    const Vector3& n = design.Facets[f].Normal;
    Edit15->setText(Text(AngleText(n)));
    Edit16->setText(Text(design.LabelIndexText(f)));
    Edit11->setText(Text(fixed(std::fabs(design.Dist(f)), 6, 2)));
    Edit12->setText(Text(InterceptText(n, design.Dist(f))));
    BitBtn1->hide();
    Repaint();
    return true;
}

// ---- The set-selection panel ----

void TForm14::SetRadioItem(RadioGroup* group, int index) {
    if (group->ItemIndex() == index) return;
    group->SetItemIndex(index);
    if (group == RadioGroup2) RadioGroup2Click();
    if (group == RadioGroup3) RadioGroup3Click();
}

void TForm14::SetSelectionControlsEnabled(bool enabled) {
    for (QWidget* control :
         std::initializer_list<QWidget*>{RadioGroup2, RadioGroup3, ComboBox1, ComboBox2, Button8})
        control->setEnabled(enabled);
}

void TForm14::SetComboControlsVisible(bool indexBox, bool rest) {
    ComboBox1->setVisible(indexBox);
    Label10->setVisible(rest);
    ComboBox2->setVisible(rest);
    Label11->setVisible(rest);
    Button8->setVisible(rest);
}

void TForm14::RadioGroup2Click() {
    QPalette palette = Panel1->palette();
    if (RadioGroup2->ItemIndex() == 1) {
        palette.setColor(QPalette::Window, Aqua);
        setWindowTitle("Modify facet group");
        if (RadioGroup3->ItemIndex() == 1) {
            FillIndexList();
            SetComboControlsVisible(true, true);
        } else {
            ComboBox1->hide();
        }
    } else {
        palette.setColor(QPalette::Window, Silver);
        setWindowTitle("Add facet group");
        ComboBox1->hide();
        ComboBox2->hide();
        Label10->hide();
        Label11->hide();
    }
    Panel1->setPalette(palette);
    RadioGroup3->setVisible(RadioGroup2->ItemIndex() == 1);
    SetRadioItem(RadioGroup3, 0);
    Button4->setVisible(Design().HasFacets() && !Design().ModifyMode());
}

void TForm14::RadioGroup3Click() {
    const bool byIndex = RadioGroup3->ItemIndex() == 1;
    if (byIndex) FillIndexList();
    SetComboControlsVisible(byIndex, byIndex);
}

void TForm14::FillIndexList() {
    const TGem& design = Design();
    std::vector<Real> values;
    std::vector<std::string> texts;
    for (int f = 1; f <= design.FacetCount; ++f)
        AddDistinct(values, texts, design.Index(f), 6);
    FillSorted(ComboBox1, texts);
}

void TForm14::FillAngleList(Real index) {
    const TGem& design = Design();
    std::vector<Real> values;
    std::vector<std::string> texts;
    for (int f = 1; f <= design.FacetCount; ++f) {
        const Real angle = design.FacetAngle(f);
        if (Near90(angle) || NearZero(angle)) continue;
        if (std::fabs(design.Index(f) - index) < ListTolerance) AddDistinct(values, texts, angle, 6);
    }
    FillSorted(ComboBox2, texts);
}

// The index typed or chosen in the index box; on an error the box is emptied before the message, so
// that the focus leaving it for the message box finds nothing more to check.
bool TForm14::ReadComboIndex(Real& index) {
    const auto value = ReadReal(ComboBox1->currentText().toStdString());
    if (!value) {
        ComboBox1->setEditText("");
        Report(ComboBox1, "Error in index");
        return false;
    }
    if (!Design().IndexInUse(*value)) {
        ComboBox1->setEditText("");
        Report(ComboBox1, "Index does not exists");
        return false;
    }
    index = *value;
    return true;
}

void TForm14::ComboBox1Exit() {
    if (Trim(ComboBox1->currentText().toStdString()).empty()) return;
    Real index = 0;
    if (!ReadComboIndex(index)) return;
    ComboBox2->setEditText("");
    FillAngleList(index);
}

void TForm14::ComboBox1Select() {
    ComboBox2->setCurrentIndex(-1);
    ComboBox2->setEditText("");
}

bool TForm14::eventFilter(QObject* watched, QEvent* event) {
    // Leaving the index box for another control of the dialog; its own drop-down list and a switch
    // to another window do not count.
    if (watched == ComboBox1 && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason && isVisible())
            ComboBox1Exit();
    }
    return QDialog::eventFilter(watched, event);
}

void TForm14::Button8Click() {
    Real index = 0;
    if (!ReadComboIndex(index)) return;
    const auto angle = ReadReal(ComboBox2->currentText().toStdString());
    if (!angle) {
        ComboBox2->setEditText("");
        Report(ComboBox2, "Error in cutangle");
        return;
    }
    const std::optional<int> f = Design().FindFacet(*angle, index);
    if (!f) return Report(ComboBox1, "Facet does not exists");
    const std::optional<TGem::FacetRange> group = Design().GroupRange(*f);
    if (!group || group->First < 1) return;
    BitBtn1->hide();
    EnterModify(group->First, *f);
}

// Modify mode for the group that starts at first; shown is the facet whose data fill the fields.
void TForm14::EnterModify(int first, int shown) {
    Design().EnterModifyMode(first);
    TargetFacet = Design().LastFacetBeforeNewGroup() + 1;
    WriteTargetFacet();
    ShowFacet(shown);
    Button4->hide();
    SetSelectionControlsEnabled(false);
    // The focus leaves the hidden and disabled controls for the first field a new angle goes into.
    Edit15->setFocus();
}
