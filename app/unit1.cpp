#include "app/unit1.h"

#include "app/reopen.h"
#include "app/util.h"
#include "dialogs/Unit12.h"
#include "dialogs/unit6.h"
#include "gem/numtext.h"

#include <cmath>

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>

namespace {
constexpr int FormWidth = 800, FormHeight = 600;
constexpr int MaxFormWidth = 1024, MaxFormHeight = 768;
constexpr int StatusPanelWidth = 200;
constexpr QRect ProgressBarPlace{136, 8, 577, 9};
constexpr int RequestCursorLeft = 200, RequestCursorTop = 100;
constexpr int WaitingForClick = 2;
constexpr int FontPixels = 11;

QFont FormFont() {
    QFont font("Arial");
    font.setPixelSize(FontPixels);
    font.setBold(true);
    return font;
}

void SetVisible(std::initializer_list<QAction*> actions, bool visible) {
    for (QAction* action : actions)
        action->setVisible(visible);
}
} // namespace

// ---- Client area ----

ClientArea::ClientArea(Tstartform& owner) : QWidget(&owner), Owner(owner) {
    setObjectName("ClientArea");
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFont(FormFont());
}

void ClientArea::paintEvent(QPaintEvent*) {
    if (!Owner.SheetValid || !Surface || Surface->Image().size() != size())
        Owner.RepaintScreen(Owner.ShownDesign());
    QPainter painter(this);
    if (Surface)
        painter.drawImage(0, 0, Surface->Image());
    else
        painter.fillRect(rect(), Qt::white);
}

void ClientArea::resizeEvent(QResizeEvent*) {
    Owner.ClientResized();
}

void ClientArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    Owner.FormMouseMove(p.x(), p.y());
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    Owner.FormMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void ClientArea::keyPressEvent(QKeyEvent* event) {
    if (!Owner.RotationMode) return QWidget::keyPressEvent(event);
    Owner.FormKeyDown(event->key());
}

// ---- FormCreate and FormDestroy ----

Tstartform::Tstartform(const Services& services, const std::string& commandLineFile)
    : Svc(services), Design(std::make_unique<TGem>()), PreformDesign(std::make_unique<TGem>()),
      CommandLineFile(commandLineFile) {
    setObjectName("startform");
    Design->NewDesign('c', 8, 96, false, 0, true, true);
    PreformDesign->NewDesign('c', 1, 96, false, 0, true, true);
    setWindowTitle("Lapidra");
    Client = new ClientArea(*this);
    setCentralWidget(Client);
    BuildMenus();
    BuildStatusAndProgress();
    RecentFiles = std::make_unique<Treopen>(*Reopen1, Svc.Settings);

    setMinimumSize(FormWidth, FormHeight);
    setMaximumSize(MaxFormWidth, MaxFormHeight);
    resize(FormWidth, FormHeight);
    StoredWidth = Svc.Window.ScreenWidth();
    StoredHeight = Svc.Window.ScreenHeight();
    move((Svc.Window.ScreenWidth() - StoredWidth) / 2, (Svc.Window.ScreenHeight() - StoredHeight) / 2);

    Form6 = std::make_unique<TForm6>(*this);
    Form14 = std::make_unique<TForm14>(*this);
    UpdateMenus(MenuMode::Initial);
    ReadDialogFolders();
    Progress = std::make_unique<QtProgressSink>(*ProgressBar1);
    Design->Progress = Progress.get();
    PreformDesign->Progress = Progress.get();
}

Tstartform::~Tstartform() {
    WriteDialogFolders();
    Design->Progress = nullptr;
    PreformDesign->Progress = nullptr;
}

void Tstartform::BuildMenus() {
    auto item = [this](QMenu* menu, const char* name, const char* caption, auto handler) {
        QAction* action = menu->addAction(caption);
        action->setObjectName(name);
        if constexpr (!std::is_same_v<decltype(handler), std::nullptr_t>)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto topItem = [this](const char* name, const char* caption, auto handler) {
        QAction* action = menuBar()->addAction(caption);
        action->setObjectName(name);
        if constexpr (!std::is_same_v<decltype(handler), std::nullptr_t>)
            connect(action, &QAction::triggered, this, handler);
        return action;
    };
    auto submenu = [this](QMenu* parent, const char* name, const char* caption) {
        QMenu* menu = parent ? parent->addMenu(caption) : menuBar()->addMenu(caption);
        menu->setObjectName(name);
        menu->menuAction()->setObjectName(name);
        return menu;
    };

    File1 = submenu(nullptr, "File1", "&File");
    New1 = item(File1, "New1", "&New ...", &Tstartform::New1Click);
    New1->setShortcut(QKeySequence("Ctrl+N"));
    Newwithoutline1 = item(File1, "Newwithoutline1", "New &with outline", &Tstartform::Newwithoutline1Click);
    Open1 = item(File1, "Open1", "&Open...", &Tstartform::Open1Click);
    Open1->setShortcut(QKeySequence("Ctrl+O"));
    Reopen1 = submenu(File1, "Reopen1", "&Reopen");
    for (std::size_t i = 0; i < file.size(); ++i) {
        file[i] = Reopen1->addAction("file" + QString::number(i + 1));
        file[i]->setObjectName("file" + QString::number(i + 1));
        QAction* slot = file[i];
        connect(slot, &QAction::triggered, this, [this, slot] { f1Click(slot); });
    }
    Reopen1->menuAction()->setVisible(false);
    Readoutline1 = item(File1, "Readoutline1", "R&ead outline ...", nullptr);
    Print1 = item(File1, "Print1", "&Print design", nullptr);
    Print1->setShortcut(QKeySequence("Ctrl+P"));
    Printfullpage1 = item(File1, "Printfullpage1", "Print &full page", nullptr);
    Makepicture1 = item(File1, "Makepicture1", "&Make emf file...", nullptr);
    Makepicture1->setShortcut(QKeySequence("Ctrl+M"));
    Makeascfile1 = item(File1, "Makeascfile1", "Make asc &file ...", nullptr);
    List1 = item(File1, "List1", "&List facet data", nullptr);
    List1->setShortcut(QKeySequence("Ctrl+L"));
    printfacetdata1 = item(File1, "printfacetdata1", "Print &facet data", nullptr);
    printfacetdata1->setVisible(false);
    N1 = File1->addSeparator();
    N1->setObjectName("N1");
    Save1 = item(File1, "Save1", "&Save", &Tstartform::Save1Click);
    Save1->setShortcut(QKeySequence("Ctrl+S"));
    SaveAs1 = item(File1, "SaveAs1", "Save &as...", &Tstartform::SaveAs1Click);
    SaveAs1->setShortcut(QKeySequence("Ctrl+A"));
    SaveOutline1 = item(File1, "SaveOutline1", "Save o&utline as...", nullptr);
    SaveOutline1->setVisible(false);
    importfile1 = item(File1, "importfile1", "&Import crown and girdle", nullptr);
    importfile1->setVisible(false);
    Importcrown1 = item(File1, "Importcrown1", "I&mport crown ...", nullptr);
    Importpav1 = item(File1, "Importpav1", "Imp&ort pav ...", nullptr);
    Exit1 = item(File1, "Exit1", "E&xit", &Tstartform::Exit1Click);
    Exit1->setShortcut(QKeySequence("Ctrl+X"));

    Edittext1 = topItem("Edittext1", "&Edit text", nullptr);
    Generalfacet1 = topItem("Generalfacet1", "&Add  or modify facets", &Tstartform::Generalfacet1Click);

    View1 = submenu(nullptr, "View1", "&View");
    Rotate1 = item(View1, "Rotate1", "&Rotate", &Tstartform::Rotate1Click);
    Showtier1 = item(View1, "Showtier1", "&Show tier", nullptr);

    Modify1 = submenu(nullptr, "Modify1", "&Modify");
    Changetable1 = item(Modify1, "Changetable1", "&Change table", nullptr);
    Makeculetfacet1 = item(Modify1, "Makeculetfacet1", "&Make or change culet facet", nullptr);
    Changetier1 = item(Modify1, "Changetier1", "Change &facet group", nullptr);
    Changetier1->setVisible(false);
    deletetier1 = item(Modify1, "deletetier1", "D&elete facet group", nullptr);
    Changebaseplane1 = item(Modify1, "Changebaseplane1", "Shift &design", nullptr);
    Changeangles1 = item(Modify1, "Changeangles1", "C&hange angles", nullptr);
    Scale1 = item(Modify1, "Scale1", "Re&size", nullptr);
    Stretch1 = item(Modify1, "Stretch1", "St&retch", nullptr);
    RoundIndices1 = item(Modify1, "RoundIndices1", "Round &indices", &Tstartform::RoundIndices1Click);
    Rotate3 = item(Modify1, "Rotate3", "&Rotate", nullptr);
    Removelastfacets1 =
        item(Modify1, "Removelastfacets1", "&Remove last facet group", &Tstartform::Removelastfacets1Click);

    Undo2 = topItem("Undo2", "&Undo", &Tstartform::Undo2Click);
    Redo1 = topItem("Redo1", "&Redo", &Tstartform::Redo1Click);

    Measure1 = submenu(nullptr, "Measure1", "Mea&sure");
    CcdandDcf1 = item(Measure1, "CcdandDcf1", "&Dcf and Ccd", nullptr);

    Options1 = submenu(nullptr, "Options1", "&Options");
    Showcutoff1 = item(Options1, "Showcutoff1", "Show c&utoff", &Tstartform::Showcutoff1Click);
    Showcutoff1->setCheckable(true);
    Showcutoff1->setChecked(true);
    Showclick1 = item(Options1, "Showclick1", "Show &click", &Tstartform::Showclick1Click);
    Showclick1->setCheckable(true);
    Showclick1->setChecked(true);
    ShowOutline1 = item(Options1, "ShowOutline1", "Show &Outline", &Tstartform::ShowOutline1Click);
    ShowOutline1->setCheckable(true);
    Resizedrawarea1 = item(Options1, "Resizedrawarea1", "Resize drawarea", &Tstartform::Resizedrawarea1Click);
    Resizedrawarea1->setVisible(false);
    Showindices1 = item(Options1, "Showindices1", "Show &indices", &Tstartform::Showindices1Click);
    Showindices1->setCheckable(true);

    Symmetry2 = topItem("Symmetry2", "S&ymmetry", nullptr);

    campreform1 = submenu(nullptr, "campreform1", "&CAM preform");
    campreform2 = item(campreform1, "campreform2", "&make preform", nullptr);
    campreform3 = item(campreform1, "campreform3", "&Save as ...", nullptr);
    campreform4 = item(campreform1, "campreform4", "&Print", nullptr);
    camlist = item(campreform1, "camlist", "&List", nullptr);
    campreform5 = item(campreform1, "campreform5", "&Exit preform", nullptr);
    SetVisible({campreform3, campreform4, camlist, campreform5}, false);

    About1 = topItem("About1", "A&bout", nullptr);
}

void Tstartform::BuildStatusAndProgress() {
    StatusBar1 = new QStatusBar(Client);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel = new QLabel(StatusBar1);
    StatusPanel->setObjectName("StatusPanel");
    StatusPanel->setMinimumWidth(StatusPanelWidth);
    StatusBar1->addWidget(StatusPanel, 1);
    StatusBar1->hide();

    ProgressBar1 = new QProgressBar(Client);
    ProgressBar1->setObjectName("ProgressBar1");
    ProgressBar1->setGeometry(ProgressBarPlace);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->hide();
}

// The dialog folders are kept in the settings store between runs.
void Tstartform::ReadDialogFolders() {
    OpenDialog1 = {"lfx", "facet files (*.lfx)", "*.lfx", "", RecentFiles->LastDir, ""};
    SaveDialog1 = {"lfx", "facetfile(*.lfx)", "*.lfx", "Facet file", RecentFiles->LastDir, ""};
    OpenDialog2 = {"asc", "import files (*.asc)", "*.asc", "", RecentFiles->GetFolder("imp"), ""};
    SaveDialog2 = {"asc", "asc file(*.asc)", "*.asc", "", RecentFiles->GetFolder("asc"), ""};
    SavePicture = {"emf", "emf file (*.emf)", "*.emf", "", RecentFiles->GetFolder("emf"), ""};
    const std::string outlineFolder = RecentFiles->GetFolder("otl");
    SaveOutline = {"otl", "outline(*.otl)", "*.otl", "", outlineFolder, ""};
    OpenOutline = {"otl", "outline file(*.otl)", "*.otl", "", outlineFolder, ""};
}

void Tstartform::WriteDialogFolders() {
    RecentFiles->SetFolder("asc", SaveDialog2.InitialDir);
    RecentFiles->SetFolder("imp", OpenDialog2.InitialDir);
    RecentFiles->SetFolder("emf", SavePicture.InitialDir);
    RecentFiles->SetFolder("otl", SaveOutline.InitialDir);
    RecentFiles->SetFolder("otl", OpenOutline.InitialDir);
}

// ---- Activation, painting, resizing ----

void Tstartform::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // Without a window manager the window may never be activated: open the command-line design anyway.
    if (FirstActivation)
        QTimer::singleShot(0, this, [this] {
            if (FirstActivation) FormActivate();
        });
}

void Tstartform::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void Tstartform::FormActivate() {
    ShowClick = Showclick1->isChecked();
    ShowCutoff = Showcutoff1->isChecked();
    if (FirstActivation && !CommandLineFile.empty()) {
        FirstActivation = false;
        SelectedFacet = NoneFound;
        OpenDialog1.InitialDir = FolderOf(CommandLineFile);
        if (OpenDesign(CommandLineFile)) {
            RecentFiles->Add(CurrentFile);
            ShowOutline1->setChecked(false);
            Invalidate();
            RecordStep();
            UpdateMenus(MenuMode::Normal, true);
        }
    }
    FirstActivation = false;
    RepaintScreen(*Design);
}

void Tstartform::ClientResized() {
    StatusBar1->setGeometry(0, Client->height() - StatusBar1->sizeHint().height(), Client->width(),
                            StatusBar1->sizeHint().height());
    Invalidate();
}

void Tstartform::Invalidate() {
    SheetValid = false;
    Client->update();
}

DisplayOptions Tstartform::CurrentOptions() const {
    DisplayOptions options;
    options.ShowIndices = Showindices1->isChecked();
    options.ShowClick = ShowClick;
    options.ShowCutoff = ShowCutoff;
    options.SelectedFacet = SelectedFacet;
    options.FacetSelected = FacetSelected;
    options.ShownTier = ShownTier;
    return options;
}

void Tstartform::RepaintScreen(TGem& design) {
    if (ClosingDown) return;
    // The size that resize() sets: the window without the frame the desktop draws around it.
    StoredWidth = width();
    StoredHeight = height();
    WorldWidth = TDesignSheet::WorldWidth;
    DimGap = TDesignSheet::DimGap;
    TickHalf = TDesignSheet::TickHalf;
    const int width = std::max(1, Client->width()), height = std::max(1, Client->height());
    // A crosshair on the screen is taken off before the sheet is drawn and put back afterwards.
    const bool crosshairShown = ScreenCanvas.XorActive;
    const int crossX = ScreenCanvas.CrossX, crossY = ScreenCanvas.CrossY;
    if (crosshairShown) ScreenCanvas.Crosshair(0, 0, CrossEnd);
    if (!Client->Surface || Client->Surface->DeviceWidth() != width ||
        Client->Surface->DeviceHeight() != height)
        Client->Surface = std::make_unique<WindowSurface>(width, height);
    Sheet.Options = CurrentOptions();
    Sheet.SetUpScreen(ScreenCanvas, Client->Surface.get(), width, height);
    Sheet.RepaintScreen(design);
    HighlightedGroupFirst = Sheet.HighlightedGroupFirst;
    if (crosshairShown && crossX >= 0) ScreenCanvas.Crosshair(crossX, crossY, CrossStart);
    SheetValid = true;
    Client->update();
}

// ---- Menus and title ----

bool Tstartform::HasCutFacets() const {
    return Design->HasFacets();
}

void Tstartform::UpdateMenus(MenuMode mode, bool enabled) {
    if (mode == MenuMode::Initial) {
        SetVisible({campreform1->menuAction(),
                    N1,
                    Options1->menuAction(),
                    Measure1->menuAction(),
                    Makepicture1,
                    View1->menuAction(),
                    Undo2,
                    Symmetry2,
                    Rotate1,
                    Rotate3,
                    Print1,
                    printfacetdata1,
                    Printfullpage1,
                    List1,
                    SaveAs1,
                    Generalfacet1,
                    Makeascfile1,
                    Modify1->menuAction(),
                    Edittext1,
                    Removelastfacets1,
                    RoundIndices1,
                    Save1,
                    Redo1,
                    SaveOutline1,
                    Changetable1,
                    ShowOutline1,
                    Changebaseplane1},
                   false);
        ShowOutline1->setChecked(false);
        File1->menuAction()->setVisible(true);
        Newwithoutline1->setVisible(Design->OutlineFileExists());
        return;
    }
    SetVisible({About1,
                Measure1->menuAction(),
                Symmetry2,
                File1->menuAction(),
                View1->menuAction(),
                Print1,
                printfacetdata1,
                Printfullpage1,
                Rotate1,
                Rotate3,
                List1,
                SaveAs1,
                Modify1->menuAction(),
                Edittext1,
                Showindices1,
                Removelastfacets1,
                RoundIndices1,
                SaveOutline1,
                N1,
                Makeascfile1},
               enabled);
    const bool free = !RotationMode;
    const bool cut = HasCutFacets();
    Options1->menuAction()->setVisible(free);
    Changetable1->setVisible(free && Design->IsCrown());
    Makeculetfacet1->setVisible(free && Design->IsPavilion());
    Scale1->setVisible(free && cut);
    Makepicture1->setVisible(free && cut);
    ShowOutline1->setVisible(free && Design->OutlineFileExists());
    Newwithoutline1->setVisible(free && Design->OutlineFileExists());
    campreform1->menuAction()->setVisible(free && !Design->AllGirdleFacets());
    Changeangles1->setVisible(free && !Design->AllGirdleFacets());
    UpdateUndoRedo();
    Save1->setVisible(free && cut);
    Generalfacet1->setVisible(free);
    if (Form14)
        Form14->setWindowTitle(!enabled && Design->ModifyMode() ? "Change facet group" : "Add facet group");
    Changebaseplane1->setVisible(Design->HasGirdleFacet());
    if (!cut)
        SetVisible({Makeascfile1,
                    campreform1->menuAction(),
                    View1->menuAction(),
                    Measure1->menuAction(),
                    Rotate1,
                    Rotate3,
                    Print1,
                    printfacetdata1,
                    Printfullpage1,
                    SaveAs1,
                    N1,
                    List1,
                    Modify1->menuAction(),
                    Edittext1,
                    Removelastfacets1,
                    RoundIndices1,
                    Changetable1,
                    Scale1,
                    SaveOutline1,
                    Showindices1,
                    Changebaseplane1},
                   false);
}

void Tstartform::UpdateUndoRedo() {
    Undo2->setVisible(Design->CanUndo() && !RotationMode);
    Redo1->setVisible(Design->CanRedo() && !RotationMode);
}

void Tstartform::SetTitle(const std::string& suffix) {
    setWindowTitle(QString::fromStdString(CurrentFile + suffix));
}

// ---- Committing changes ----

bool Tstartform::ReadReported(const std::string& name, int mode) {
    if (Design->ReadDesign(name, mode)) return true;
    ReportFileFailure();
    return false;
}

bool Tstartform::WriteReported(const std::string& name, int mode, const std::string& shortName) {
    if (Design->WriteDesign(name, mode, shortName) == 0) return true;
    ReportFileFailure();
    return false;
}

void Tstartform::ReportFileFailure() {
    if (Design->LastFileMessage.empty()) return; // nothing to undo, redo or reload: no message
    Svc.Messages.Beep();
    Svc.Messages.ShowError(Design->LastFileMessage);
}

void Tstartform::RecordStep() {
    WriteReported("", TGem::SnapshotMode, "");
    SetTitle(Design->ChangedSuffix());
    Svc.Window.ProcessPendingEvents();
    UpdateUndoRedo();
}

bool Tstartform::ShowModal(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

void Tstartform::DialogFinished(QDialog& dialog) {
    Design->HideMarkers();
    RecordStep();
    ReadReported("", TGem::ReloadMode);
    dialog.accept();
    Invalidate();
    UpdateMenus(MenuMode::Normal, true);
    activateWindow();
    Client->setFocus();
}

bool Tstartform::ReadOutlineReported() {
    if (Design->ReadOutline("")) return true;
    Svc.Messages.Beep();
    Svc.Messages.ShowError(Design->OutlineError);
    return false;
}

void Tstartform::ShowOutlineAgain() {
    if (ShowOutline1->isChecked() && Design->ReadOutline("")) Design->SetOutlineShown(true);
}

// ---- Click hand-off ----

void Tstartform::RequestClick(const std::string& prompt) {
    Prompt = prompt;
    StatusBar1->show();
    StatusBar1->raise();
    CrosshairPending = true;
    const QPoint corner = frameGeometry().topLeft();
    Svc.Window.SetCursorPos(corner.x() + RequestCursorLeft, corner.y() + RequestCursorTop);
}

void Tstartform::ClickInDesign(Real& x, Real& y) const {
    // The top view shows model y across and model x downwards.
    Sheet.TopView.DeviceToWorld(ClickX, ClickY, y, x);
}

std::string Tstartform::Readout(int x, int y) const {
    // The top view shows model y across and model x downwards.
    Real across = 0, down = 0;
    Sheet.TopView.DeviceToWorld(x, y, across, down);
    const Real modelX = down, modelY = across;
    const Real r = std::sqrt(modelX * modelX + modelY * modelY);
    std::string indexText(40, ' ');
    if (r > 2) {
        Real theta = ArcCosDeg(modelX / r);
        if (modelY < 0) theta = 360 - theta;
        if (theta >= 360) theta -= 360;
        indexText = " Index: " + fixed(Design->ShownIndex(Design->IndexCount() * theta / 360), 4, 1);
    }
    return Prompt + "   x: " + fixed(modelX, 6, 2) + "  y: " + fixed(modelY, 6, 2) +
           "  r: " + fixed(r, 6, 2) + indexText + "     ";
}

void Tstartform::FormMouseMove(int x, int y) {
    if (CrosshairPending) {
        RepaintScreen(*Design);
        const QPoint corner = frameGeometry().topLeft();
        Svc.Window.SetCursorPos(corner.x() + CursorX, corner.y() + CursorY);
        ScreenCanvas.Crosshair(CursorX, CursorY, CrossStart);
        ClickState = WaitingForClick;
        CrosshairPending = false;
    }
    if (ClickState != WaitingForClick) return;
    StatusPanel->setText(QString::fromLatin1(Readout(x, y).c_str()));
    ScreenCanvas.Crosshair(x, y, CrossMove);
    Client->update();
}

void Tstartform::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
    if (ClickState != WaitingForClick) return;
    StatusBar1->hide();
    ClickX = x;
    ClickY = y;
    ClickShift = modifiers;
    ClickCtrl = modifiers.testFlag(Qt::ControlModifier);
    ClickShiftKey = modifiers.testFlag(Qt::ShiftModifier);
    ClickButton = button;
    CursorX = x;
    CursorY = y + (frameGeometry().height() - Client->height());
    ClickState = 0;
    ScreenCanvas.Crosshair(0, 0, CrossEnd);
    RepaintScreen(*Design);
    if (ClickRequester) ShowModal(*ClickRequester);
}

// ---- Free rotation ----

void Tstartform::Rotate1Click() {
    if (!HasCutFacets()) return;
    RotationMode = true;
    UpdateMenus(MenuMode::Normal, false);
    if (!Client->Surface) RepaintScreen(*Design);
    Sheet.RotateKey(*Design, RotateStartKey);
    Client->update();
    Client->setFocus();
}

// The free rotation's key codes: the arrows and Escape by their virtual-key numbers.
static int RotationKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return KeyLeft;
    case Qt::Key_Up:
        return KeyUp;
    case Qt::Key_Right:
        return KeyRight;
    case Qt::Key_Down:
        return KeyDown;
    case Qt::Key_Escape:
        return KeyEscape;
    default:
        return qtKey > 0 && qtKey < 0x100 ? qtKey : 0xFF; // never the start key 0
    }
}

void Tstartform::FormKeyDown(int key) {
    if (!RotationMode) return;
    const int code = RotationKey(key);
    Sheet.RotateKey(*Design, code);
    Client->update();
    if (code == KeyLeft || code == KeyUp || code == KeyRight || code == KeyDown) return;
    ScreenCanvas.ClearAll(ColourWhite);
    ScreenCanvas.SetBrushColor(ColourWhite);
    ScreenCanvas.SetPenColor(ColourBlack);
    RotationMode = false;
    RepaintScreen(*Design);
    UpdateMenus(MenuMode::Normal, true);
}

// ---- File commands ----

Answer Tstartform::AskSaveChanges() {
    if (!Design->CanUndo()) return Answer::No;
    Svc.Messages.Beep();
    const Answer answer = Svc.Messages.Confirm("File changed; save changes");
    if (answer != Answer::Yes) return answer;
    return SaveAs(CurrentFile) ? Answer::Yes : Answer::Cancel;
}

void Tstartform::New1Click() {
    if (AskSaveChanges() == Answer::Cancel) return;
    Form6->Preset("96", "8", "0", true);
    ShowOutline1->setChecked(false);
    Design->OutlineShown = false;
    OutlineDesign = false;
    DesignName.clear();
    DialogCancelled = false;
    ShowModal(*Form6);
}

void Tstartform::Generalfacet1Click() {
    DialogReset = true;
    ShowModal(*Form14);
}

bool Tstartform::OpenDesign(const std::string& name) {
    const std::string previousFile = CurrentFile, previousName = DesignName;
    CurrentFile = name;
    DesignName = NameOnly(name);
    SetTitle("");
    if (ReadReported(name, TGem::OpenMode)) return true;
    // The design in memory is still the previous one: so are its file name and title.
    CurrentFile = previousFile;
    DesignName = previousName;
    SetTitle(Design->ChangedSuffix());
    return false;
}

void Tstartform::DesignOpened() {
    RecentFiles->Add(CurrentFile);
    ShowOutline1->setChecked(false);
    Invalidate();
    OpenDialog1.InitialDir = FolderOf(CurrentFile);
    OpenDialog1.FileName = DesignName;
    RecordStep();
    UpdateMenus(MenuMode::Normal, true);
}

void Tstartform::Newwithoutline1Click() {
    if (AskSaveChanges() == Answer::Cancel) return;
    if (!ReadOutlineReported()) return;
    const TGem& d = *Design;
    Form6->Preset(QString::fromStdString(PadLeft(IntText(d.OutlineSystemIndex), 4)),
                  QString::fromStdString(PadLeft(IntText(d.OutlineParts), 2)),
                  QString::fromStdString(PadLeft(IntText(d.OutlineOffset), 3)), d.OutlineMirror == 'm');
    // Cancel, Escape and the close button all leave the dialog without a new design.
    if (ShowModal(*Form6)) {
        // The new design has dropped the outline: read it again so that it shows.
        ShowOutline1->setChecked(true);
        ShowOutlineAgain();
        Design->SetOutlineShown(true);
        OutlineDesign = true;
    }
    Invalidate();
}

void Tstartform::Open1Click() {
    if (AskSaveChanges() == Answer::Cancel) return;
    OpenDialog1.FileName = NameOnly(OpenDialog1.FileName);
    if (!RunOpenDialog(Svc, OpenDialog1)) return;
    SelectedFacet = NoneFound;
    const std::string chosen = OpenDialog1.FileName;
    if (FileMustExist(Svc.Messages, chosen)) return;
    if (!OpenDesign(chosen)) return;
    DesignOpened();
}

void Tstartform::f1Click(QAction* slot) {
    if (AskSaveChanges() == Answer::Cancel) return;
    const std::string name = Treopen::FileOfCaption(slot->text().toStdString());
    if (FileMustExist(Svc.Messages, name)) {
        RecentFiles->Remove(name);
        return;
    }
    SelectedFacet = NoneFound;
    OpenDialog1.InitialDir = FolderOf(name);
    if (!OpenDesign(name)) {
        RecentFiles->Remove(name);
        return;
    }
    DesignOpened();
}

void Tstartform::Save1Click() {
    if (CurrentFile.empty()) {
        SaveAs("");
    } else if (WriteReported(CurrentFile, TGem::SaveMode, NameOnly(CurrentFile))) {
        SetTitle("");
        ReadReported(CurrentFile, TGem::OpenMode);
        RecordStep();
        UpdateMenus(MenuMode::Normal, true);
    }
    Invalidate();
}

void Tstartform::SaveAs1Click() {
    SaveAs(CurrentFile);
}

// A design never saved gets the letter of its type unless its name already ends with it.
static std::string TypeSuffix(const TGem& design, const std::string& base) {
    const char last =
        base.empty() ? '\0' : static_cast<char>(std::tolower(static_cast<unsigned char>(base.back())));
    if (design.IsCrown() && last != 'c') return "c";
    if (design.IsPavilion() && last != 'p') return "p";
    return "";
}

bool Tstartform::SaveAs(const std::string& name) {
    SaveDialog1.InitialDir = CurrentFile.empty() ? OpenDialog1.InitialDir : FolderOf(CurrentFile);
    if (!RunSaveDialog(Svc, SaveDialog1, name, false)) return false;
    const std::string folder = WithoutTrailingSeparator(FolderOf(SaveDialog1.FileName));
    const std::string base = NameOnly(SaveDialog1.FileName);
    const std::string suffix = name.empty() ? TypeSuffix(*Design, base) : "";
    const std::string path = folder + "/" + base + suffix + ".lfx";
    if (ConfirmOverwrite(Svc.Messages, path)) return false;
    // A failed write leaves the design, its file name and the old file as they were.
    if (!WriteReported(path, TGem::SaveMode, NameOnly(path))) return false;
    CurrentFile = path;
    DesignName = NameOnly(path);
    SetTitle("");
    if (ReadReported(path, TGem::OpenMode))
        RecentFiles->Add(path);
    else
        RecentFiles->Remove(path);
    OpenDialog1.InitialDir = folder + "/";
    OpenDialog1.FileName = DesignName;
    Invalidate();
    RecordStep();
    UpdateMenus(MenuMode::Normal, true);
    return true;
}

void Tstartform::Exit1Click() {
    QuitCommand();
}

void Tstartform::QuitCommand() {
    if (Design->CanUndo()) {
        Svc.Messages.Beep();
        const Answer answer = Svc.Messages.Confirm(
            CurrentFile.empty() ? "This program will terminate. Save current new design?"
                                : "This program will terminate. Save current modifications?");
        if (answer == Answer::Cancel) return;
        if (answer == Answer::Yes && !SaveAs(CurrentFile)) return;
    }
    ClosingDown = true;
    Svc.Window.EndApplication();
}

void Tstartform::closeEvent(QCloseEvent* event) {
    event->ignore();
    QuitCommand();
}

void Tstartform::Undo2Click() {
    ReadReported("", TGem::UndoMode);
    SetTitle(Design->ChangedSuffix());
    SelectedFacet = NoneFound;
    RepaintScreen(*Design);
    UpdateMenus(MenuMode::Normal, true);
}

void Tstartform::Redo1Click() {
    ReadReported("", TGem::RedoMode);
    SetTitle(Design->ChangedSuffix());
    RepaintScreen(*Design);
    UpdateMenus(MenuMode::Normal, true);
}

// ---- Model commands and options ----

void Tstartform::RoundIndices1Click() {
    Design->RoundIndices();
    RecordStep();
    RepaintScreen(*Design);
    UpdateMenus(MenuMode::Normal, true);
}

void Tstartform::ShowOutline1Click() {
    // The action has already toggled its check mark; the command decides it itself.
    const bool wasChecked = !ShowOutline1->isChecked();
    if (wasChecked) {
        ShowOutline1->setChecked(false);
        Design->SetOutlineShown(false);
        Invalidate();
        return;
    }
    ShowOutline1->setChecked(false);
    if (!ReadOutlineReported()) return;
    Design->SetOutlineShown(true);
    RepaintScreen(*Design);
    Invalidate();
    ShowOutline1->setChecked(true);
}

void Tstartform::Removelastfacets1Click() {
    Design->DeleteLastGroup();
    RecordStep();
    RepaintScreen(*Design);
    UpdateMenus(MenuMode::Normal, true);
}

void Tstartform::Showcutoff1Click() {
    ShowCutoff = Showcutoff1->isChecked();
    RepaintScreen(*Design);
}

void Tstartform::Showclick1Click() {
    ShowClick = Showclick1->isChecked();
    RepaintScreen(*Design);
}

void Tstartform::Showindices1Click() {
    Invalidate();
}

void Tstartform::Resizedrawarea1Click() {
    if (StoredWidth <= FormWidth) {
        StoredWidth = Svc.Window.ScreenWidth();
        StoredHeight = Svc.Window.ScreenHeight();
    } else {
        StoredWidth = FormWidth;
        StoredHeight = FormHeight;
    }
    ClosingDown = true;
    resize(StoredWidth, StoredHeight);
    ClosingDown = false;
    RepaintScreen(*Design);
}
