// Picking one facet group by a click in a facet or by its cut angle and index.
#include "dialogs/facet_group_picker.h"

#include "dialogs/dialog_frame.h"
#include "dialogs/field_input.h"
#include "gem/numread.h"
#include "gem/numtext.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
constexpr int ListWidth = 90;
constexpr int ListHeight = 160;
constexpr int FieldWidth = 80;

QString Text(const std::string& s) {
    return QString::fromStdString(s);
}

// The raw index of a shown index: the inverse of the design's ShownIndex.
Real RawIndex(const TGem& design, Real shown) {
    const Real fromOffset = shown - design.OffsetIndex;
    if (design.SystemIndex > 0) return design.Wrap(fromOffset);
    return design.Wrap(design.IndexCount() - fromOffset);
}

void ClearList(QListWidget* list) {
    const QSignalBlocker quiet(list);
    list->clear();
    list->setCurrentRow(-1);
}
} // namespace

FacetGroupPicker::FacetGroupPicker(DesignHost& host, const Look& look)
    : QDialog(host.DialogParent()), Host(host) {
    setObjectName(look.ObjectName);
    setWindowTitle(look.Title);
    setModal(true);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    UseDialogFont(*this);
    BuildControls(look);
    LayOut();
    PressFocusedButtonOnEnter(*this);
    OnListChoice(ListBox1, this, [this] { ListBox1Click(); });
    OnListChoice(ListBox2, this, [this] { ListBox2Click(); });
    connect(ClickButton, &QPushButton::clicked, this, &FacetGroupPicker::ClickButtonClick);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
}

void FacetGroupPicker::BuildControls(const Look& look) {
    ListBox1 = new QListWidget(this);
    ListBox2 = new QListWidget(this);
    Label1 = new QLabel("&Angles", this);
    Label1->setBuddy(ListBox1);
    Label2 = new QLabel("&Indices", this);
    Label2->setBuddy(ListBox2);
    if (look.AngleListHint) ListBox1->setToolTip(look.AngleListHint);
    Edit1 = new QLineEdit(this);
    Edit2 = new QLineEdit(this);
    Label3 = new QLabel("Index", this);
    Label4 = new QLabel(look.AngleLabel, this);
    for (QLineEdit* edit : {Edit1, Edit2})
        edit->setEnabled(look.EditsEnabled);
    ClickButton = new QPushButton(look.ClickCaption, this);
    BitBtn1 = new QPushButton(style()->standardIcon(look.CommitGlyph), look.CommitCaption, this);
    BitBtn1->hide();
    BitBtn2 = new QPushButton(style()->standardIcon(QStyle::SP_DialogCancelButton), "Cance&l", this);
    for (auto [widget, name] : {std::pair<QWidget*, const char*>{ListBox1, "ListBox1"},
                                {ListBox2, "ListBox2"},
                                {Edit1, "Edit1"},
                                {Edit2, "Edit2"},
                                {ClickButton, "Button1"},
                                {BitBtn1, "BitBtn1"},
                                {BitBtn2, "BitBtn2"}})
        widget->setObjectName(name);
}

void FacetGroupPicker::LayOut() {
    for (QListWidget* list : {ListBox1, ListBox2})
        list->setFixedSize(ListWidth, ListHeight);
    auto* fields = new QGridLayout;
    fields->addWidget(Label3, 0, 0);
    fields->addWidget(Edit1, 0, 1);
    fields->addWidget(Label4, 1, 0);
    fields->addWidget(Edit2, 1, 1);
    fields->addWidget(ClickButton, 2, 0, 1, 2);
    fields->setRowStretch(3, 1);
    for (QLineEdit* edit : {Edit1, Edit2})
        edit->setFixedWidth(FieldWidth);
    auto* lists = new QGridLayout;
    lists->addWidget(Label1, 0, 0);
    lists->addWidget(ListBox1, 1, 0);
    lists->addWidget(Label2, 0, 1);
    lists->addWidget(ListBox2, 1, 1);
    lists->addLayout(fields, 1, 2);
    // The commit button comes and goes in its place, so that the dialog keeps its size and corner.
    QSizePolicy policy = BitBtn1->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    BitBtn1->setSizePolicy(policy);
    CompleteDialog(*this, lists, {BitBtn1, BitBtn2}, Host.Svc().Window);
}

// ---- Activation ----

void FacetGroupPicker::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    FormActivate();
}

void FacetGroupPicker::FormActivate() {
    if (Host.Display().DialogReset) Reset();
    ConsumeClick();
}

void FacetGroupPicker::Reset() {
    Host.Display().DialogReset = false;
    BitBtn1->hide();
    Host.Display().SelectedFacet = NoneFound;
    Edit1->clear();
    Edit2->clear();
    FoundFacet = -1;
    FillAngleList();
    AfterReset();
}

// One entry per tier, in tier order, for every tier that is not horizontal.
void FacetGroupPicker::FillAngleList() {
    ClearList(ListBox1);
    ClearList(ListBox2);
    const TGem& design = Design();
    const QSignalBlocker quiet(ListBox1);
    for (int t = 1; t <= design.TierCount; ++t) {
        const Real angle = design.FacetAngle(design.Tiers[t].FirstFacet);
        if (NearZero(angle) || Near180(angle)) continue;
        ListBox1->addItem(Text(fixed(angle, 6, 2)));
    }
}

// The shown indices of the members of every tier at the angle, tier by tier.
void FacetGroupPicker::FillIndexList(Real angle) {
    ClearList(ListBox2);
    const TGem& design = Design();
    const QSignalBlocker quiet(ListBox2);
    for (int t = 1; t <= design.TierCount; ++t) {
        const Tier& tier = design.Tiers[t];
        if (std::fabs(design.FacetAngle(tier.FirstFacet) - angle) >= AngleTolerance) continue;
        for (int m = 1; m <= tier.MemberCount; ++m)
            ListBox2->addItem(Text(NumberText(design.ShownIndex(design.Index(tier.Members[m])))));
    }
}

// ---- Choosing by angle and index ----

void FacetGroupPicker::ListBox1Click() {
    const QListWidgetItem* item = ListBox1->currentItem();
    if (!item) return;
    Edit2->setText(item->text());
    Edit1->clear();
    BitBtn1->hide();
    if (const std::optional<Real> angle = ReadReal(item->text().toStdString()))
        FillIndexList(*angle);
    else
        ClearList(ListBox2);
}

void FacetGroupPicker::ListBox2Click() {
    const QListWidgetItem* item = ListBox2->currentItem();
    if (!item) return;
    Edit1->setText(item->text());
    BitBtn1->setVisible(LookUpFacet());
}

// The facet at the index and angle of the two fields; nothing is said when either is empty.
bool FacetGroupPicker::LookUpFacet() {
    if (Trim(Edit1->text().toStdString()).empty() || Trim(Edit2->text().toStdString()).empty()) return false;
    MessageService& messages = Host.Svc().Messages;
    const std::optional<Real> index = ReadRealField(messages, Edit1, "Error in number");
    if (!index) return false;
    const std::optional<Real> angle = ReadRealField(messages, Edit2, "Error in number");
    if (!angle) return false;
    const std::optional<int> f = Design().FindFacet(*angle, RawIndex(Design(), *index));
    if (!f) {
        ReportFieldError(messages, Edit1, "Facet not found");
        return false;
    }
    FoundFacet = *f;
    Highlight(*f);
    return true;
}

bool FacetGroupPicker::Highlight(int f) {
    if (!Design().GroupRange(f)) return false;
    // A group is chosen, not one facet of it: the group's first facet is the dark one.
    Host.Display().SelectedFacet = f;
    Host.Display().FacetSelected = false;
    Host.Repaint();
    return true;
}

// ---- Choosing by a click ----

void FacetGroupPicker::ClickButtonClick() {
    Host.Display().SelectedFacet = NoneFound;
    Host.RequestClick(*this, ClickKind::Facet, "Click in facet");
}

// A click beside the stone, on the table or on the bottom plane is passed over.
void FacetGroupPicker::ConsumeClick() {
    const std::optional<SheetClick> click = Host.TakeClick(*this);
    if (!click || click->Kind != ClickKind::Facet) return;
    const int f = Design().PickFacet(click->X, click->Y).value_or(NoneFound);
    if (f < 1 || !Highlight(f)) return Host.ShowPrompt(*this, NoGroupPicked);
    FoundFacet = f;
    BitBtn1->show();
    ShowClickedFacet(f);
}

// ---- Cancel ----

void FacetGroupPicker::reject() {
    BitBtn2Click();
}

void FacetGroupPicker::BitBtn2Click() {
    Host.Display().SelectedFacet = NoneFound;
    Host.Display().HighlightedGroupFirst = NoneFound;
    done(QDialog::Rejected);
    Host.Repaint();
}
