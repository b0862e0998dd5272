#include "app/main_window.h"

#include "app/commands.h"
#include "app/file_questions.h"
#include "app/menu_binding.h"
#include "app/recent_files.h"
#include "dialogs/add_facets_dialog.h"
#include "gem/numtext.h"
#include "platform/keyboard_conventions.h"

#include <QCloseEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QStatusBar>
#include <QTimer>
#include <QWheelEvent>
#include <cmath>
#include <exception>

namespace {
constexpr int FormWidth = 800, FormHeight = 600;
constexpr int MaxFormWidth = 1024, MaxFormHeight = 768;
constexpr int StatusPanelWidth = 200;
constexpr QRect ProgressBarPlace{136, 8, 577, 9};
constexpr int RequestCursorLeft = 200, RequestCursorTop = 100;
constexpr int FontPixels = 11;
constexpr const char* RedoKey = "Ctrl+Y"; // redo on every desktop, beside the desktop's own key
constexpr Real AxisBlankRadius = 2;       // within this distance of the axis the readout shows no index

// The first local file among dropped data; empty when there is none.
std::string DroppedFile(const QMimeData* data) {
    if (data)
        for (const QUrl& url : data->urls())
            if (url.isLocalFile()) return url.toLocalFile().toStdString();
    return "";
}

QFont FormFont() {
    QFont font("Arial");
    font.setPixelSize(FontPixels);
    font.setBold(true);
    return font;
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

QSize ClientArea::DeviceSize() const {
    const qreal ratio = devicePixelRatioF();
    return {std::max(1, qRound(width() * ratio)), std::max(1, qRound(height() * ratio))};
}

QPoint ClientArea::ToDevice(QPointF logical) const {
    return (logical * devicePixelRatioF()).toPoint();
}

// The sheet is drawn at the screen's own pixel density and shown one image pixel to one screen pixel.
void ClientArea::paintEvent(QPaintEvent*) {
    if (!Owner.SheetValid || !Surface || Surface->Image().size() != DeviceSize())
        Owner.RepaintScreen(Owner.ShownDesign());
    QPainter painter(this);
    if (Surface)
        painter.drawImage(QRectF(rect()), Surface->Image());
    else
        painter.fillRect(rect(), Qt::white);
}

void ClientArea::resizeEvent(QResizeEvent*) {
    Owner.ClientResized();
}

void ClientArea::mouseMoveEvent(QMouseEvent* event) {
    const QPoint p = ToDevice(event->position());
    if (Panning) {
        Owner.PanSheet(p - PanLast);
        PanLast = p;
    }
    Owner.FormMouseMove(p.x(), p.y());
}

void ClientArea::mousePressEvent(QMouseEvent* event) {
    const QPoint p = ToDevice(event->position());
    const bool pan = event->button() == Qt::MiddleButton || (event->button() == Qt::LeftButton && SpaceHeld);
    if (pan && !Owner.RotationMode) {
        Panning = true;
        PanLast = p;
        return;
    }
    Owner.FormMouseDown(event->button(), event->modifiers(), p.x(), p.y());
}

void ClientArea::mouseReleaseEvent(QMouseEvent*) {
    Panning = false;
}

void ClientArea::wheelEvent(QWheelEvent* event) {
    if (!event->modifiers().testFlag(Qt::ControlModifier) || Owner.RotationMode)
        return QWidget::wheelEvent(event);
    const Real notches = event->angleDelta().y() / 120.0L;
    Owner.ZoomSheetAbout(std::pow(SheetZoom::Step, notches), ToDevice(event->position()));
}

void ClientArea::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !Owner.RotationMode) {
        SpaceHeld = true;
        return;
    }
    if (!Owner.RotationMode) return QWidget::keyPressEvent(event);
    Owner.FormKeyDown(event->key());
}

void ClientArea::keyReleaseEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat()) SpaceHeld = false;
    QWidget::keyReleaseEvent(event);
}

// ---- FormCreate and FormDestroy ----

Tstartform::Tstartform(const Services& services, const std::string& commandLineFile)
    : ServiceSet(services), TheDesign(std::make_unique<TGem>()), ThePreform(std::make_unique<TGem>()),
      CommandLineFile(commandLineFile) {
    setObjectName("startform");
    TheDesign->NewDesign('c', 8, 96, false, 0, true);
    ThePreform->NewDesign('c', 1, 96, false, 0, true);
    CopyVersionText(*this);
    setWindowTitle("Lapidra");
    setAcceptDrops(true);
    Client = new ClientArea(*this);
    setCentralWidget(Client);
    BuildMenus();
    BuildStatusAndProgress();
    RecentFiles = std::make_unique<Treopen>(*Reopen1, ServiceSet.Settings);
    Keyboard = std::make_unique<KeyboardConventions>(ServiceSet.Messages);

    setMinimumSize(FormWidth, FormHeight);
    setMaximumSize(MaxFormWidth, MaxFormHeight);
    resize(FormWidth, FormHeight);
    StoredWidth = ServiceSet.Window.ScreenWidth();
    StoredHeight = ServiceSet.Window.ScreenHeight();
    move((ServiceSet.Window.ScreenWidth() - StoredWidth) / 2,
         (ServiceSet.Window.ScreenHeight() - StoredHeight) / 2);

    RefreshMenus();
    MenusInitial = false; // every later refresh shows the menus of a design
    ReadDialogFolders();
    Progress = std::make_unique<QtProgressSink>(*ProgressBar1);
    TheDesign->Progress = Progress.get();
    ThePreform->Progress = Progress.get();
}

Tstartform::~Tstartform() {
    WriteDialogFolders();
    TheDesign->Progress = nullptr;
    ThePreform->Progress = nullptr;
}

void Tstartform::BuildMenus() {
    auto parentOf = [this](const MenuRow& row) -> QMenu* {
        return row.Parent ? Menus.at(row.Parent) : nullptr;
    };
    const std::span<const MenuRow> rows = MenuRows();
    for (std::size_t index = 0; index < rows.size(); ++index) {
        const MenuRow& row = rows[index];
        QMenu* parent = parentOf(row);
        QAction* action = nullptr;
        if (row.Kind == MenuKind::Menu || row.Kind == MenuKind::RecentFiles) {
            QMenu* menu = parent ? parent->addMenu(row.Caption) : menuBar()->addMenu(row.Caption);
            menu->setObjectName(row.ObjectName);
            Menus[row.ObjectName] = menu;
            action = menu->menuAction();
        } else if (row.Kind == MenuKind::Separator) {
            action = parent->addSeparator();
        } else {
            action = parent ? parent->addAction(row.Caption) : menuBar()->addAction(row.Caption);
        }
        action->setObjectName(row.ObjectName);
        Actions[row.ObjectName] = action;
        if (*row.Shortcut) action->setShortcut(QKeySequence(row.Shortcut));
        action->setCheckable(row.Checkable);
        action->setChecked(row.Checked);
        if (!row.Run) continue;
        BindToRow(*action, index);
        connect(action, &QAction::triggered, this, [this, action] { RunCommand(BoundCommand(*action)); });
    }
    // The desktop's own undo and redo keys work beside the menu's.
    Action("Undo2")->setShortcuts(QKeySequence::Undo);
    QList<QKeySequence> redoKeys = QKeySequence::keyBindings(QKeySequence::Redo);
    if (!redoKeys.contains(QKeySequence(RedoKey))) redoKeys << QKeySequence(RedoKey);
    Action("Redo1")->setShortcuts(redoKeys);

    Reopen1 = Menus.at("Reopen1");
    for (int i = 1; i <= Treopen::SlotCount; ++i) {
        QAction* slot = Reopen1->addAction("file" + QString::number(i));
        slot->setObjectName("file" + QString::number(i));
        Actions[slot->objectName().toStdString()] = slot;
        connect(slot, &QAction::triggered, this,
                [this, slot] { RunCommand([slot](CommandHost& w) { f1Click(w, *slot); }); });
    }
    Reopen1->menuAction()->setVisible(false);
    Shown.ShowClick = Checked("Showclick1");
    Shown.ShowCutoff = Checked("Showcutoff1");
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
    using enum FileDialogKind;
    const std::string lastDir = RecentFiles->LastDir, outlineFolder = RecentFiles->GetFolder("otl");
    FileDialog(OpenDesign) = {"lfx", "facet files (*.lfx)", "*.lfx", "", lastDir, ""};
    FileDialog(SaveDesign) = {"lfx", "facetfile(*.lfx)", "*.lfx", "Facet file", lastDir, ""};
    FileDialog(OpenAsc) = {"asc", "import files (*.asc)", "*.asc", "", RecentFiles->GetFolder("imp"), ""};
    FileDialog(SaveAsc) = {"asc", "asc file(*.asc)", "*.asc", "", RecentFiles->GetFolder("asc"), ""};
    FileDialog(SavePicture) = {"emf", "emf file (*.emf)", "*.emf", "", RecentFiles->GetFolder("emf"), ""};
    FileDialog(SaveOutline) = {"otl", "outline(*.otl)", "*.otl", "", outlineFolder, ""};
    FileDialog(OpenOutline) = {"otl", "outline file(*.otl)", "*.otl", "", outlineFolder, ""};
    FileDialog(OpenPartner) = {"lfx", "design halves (*.lfx *.asc)", "*.lfx *.asc", "Partner half", lastDir,
                               ""};
    FileDialog(SaveDiagram) = {"pdf", "faceting diagram (*.pdf *.svg *.png)", "*.pdf *.svg *.png",
                               "",    RecentFiles->GetFolder("diagram"),      ""};
}

void Tstartform::WriteDialogFolders() {
    using enum FileDialogKind;
    RecentFiles->SetFolder("asc", FileDialog(SaveAsc).InitialDir);
    RecentFiles->SetFolder("imp", FileDialog(OpenAsc).InitialDir);
    RecentFiles->SetFolder("emf", FileDialog(SavePicture).InitialDir);
    RecentFiles->SetFolder("otl", FileDialog(SaveOutline).InitialDir);
    RecentFiles->SetFolder("otl", FileDialog(OpenOutline).InitialDir);
    RecentFiles->SetFolder("diagram", FileDialog(SaveDiagram).InitialDir);
}

FileDialogRequest& Tstartform::FileDialog(FileDialogKind kind) {
    return FileDialogs[static_cast<std::size_t>(kind)];
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

void Tstartform::dragEnterEvent(QDragEnterEvent* event) {
    if (Action("File1")->isVisible() && !DroppedFile(event->mimeData()).empty())
        event->acceptProposedAction();
}

void Tstartform::dropEvent(QDropEvent* event) {
    const std::string path = DroppedFile(event->mimeData());
    if (!Action("File1")->isVisible() || path.empty()) return;
    event->acceptProposedAction();
    // The drop ends before the command asks anything, so that the program it came from is not kept waiting.
    QTimer::singleShot(0, this,
                       [this, path] { RunCommand([path](CommandHost& w) { OpenDroppedFile(w, path); }); });
}

void Tstartform::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void Tstartform::FormActivate() {
    Shown.ShowClick = Checked("Showclick1");
    Shown.ShowCutoff = Checked("Showcutoff1");
    if (FirstActivation) ReportSettingsProblem();
    if (FirstActivation && !CommandLineFile.empty()) {
        FirstActivation = false;
        Shown.SelectedFacet = NoneFound;
        FileDialog(FileDialogKind::OpenDesign).InitialDir = FolderOf(CommandLineFile);
        // A missing design is named in plain words, and the window keeps no title of it.
        if (!FileMustExist(ServiceSet.Messages, CommandLineFile)) OpenDesign(CommandLineFile);
    }
    FirstActivation = false;
    RepaintScreen(ShownDesign());
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

void Tstartform::Repaint() {
    RepaintScreen(ShownDesign());
    TellFollowers();
}

void Tstartform::RepaintScreen(const TGem& design) {
    if (ClosingDown) return;
    // The size that resize() sets: the window without the frame the desktop draws around it.
    StoredWidth = width();
    StoredHeight = height();
    const QSize device = Client->DeviceSize();
    const int width = device.width(), height = device.height();
    // A crosshair on the screen is taken off before the sheet is drawn and put back afterwards.
    const bool crosshairShown = ClientCanvas.XorActive;
    const int crossX = ClientCanvas.CrossX, crossY = ClientCanvas.CrossY;
    if (crosshairShown) ClientCanvas.Crosshair(0, 0, CrossEnd);
    if (!Client->Surface || Client->Surface->DeviceWidth() != width ||
        Client->Surface->DeviceHeight() != height)
        Client->Surface = std::make_unique<WindowSurface>(width, height, Client->devicePixelRatioF());
    TheSheet.Options = Shown;
    if (ZoomedFile != DesignNaming.File) { // each design keeps its own zoom while the program runs
        ZoomByDesign[ZoomedFile] = TheSheet.Zoom;
        const auto kept = ZoomByDesign.find(DesignNaming.File);
        TheSheet.Zoom = kept == ZoomByDesign.end() ? SheetZoom{} : kept->second;
        ZoomedFile = DesignNaming.File;
    }
    TheSheet.SetUpScreen(ClientCanvas, Client->Surface.get(), width, height);
    TheSheet.RepaintScreen(design);
    Shown.HighlightedGroupFirst = TheSheet.HighlightedGroupFirst;
    if (crosshairShown && crossX >= 0) ClientCanvas.Crosshair(crossX, crossY, CrossStart);
    SheetValid = true;
    Client->update();
}

int Tstartform::TextLinesWidth() {
    if (!SheetValid) Repaint();
    return qRound((TheSheet.TextLinesView.DevRight - TheSheet.TextLinesView.DevLeft) /
                  Client->devicePixelRatioF());
}

// ---- Menus and title ----

QAction* Tstartform::Action(const char* objectName) const {
    const auto found = Actions.find(objectName);
    return found == Actions.end() ? nullptr : found->second;
}

QMenu* Tstartform::Menu(const char* objectName) const {
    const auto found = Menus.find(objectName);
    return found == Menus.end() ? nullptr : found->second;
}

bool Tstartform::Checked(const char* item) const {
    return Action(item)->isChecked();
}

void Tstartform::SetChecked(const char* item, bool checked) {
    Action(item)->setChecked(checked);
    if (std::string_view(item) == "ShowOutline1") Shown.ShowOutline = checked;
}

void Tstartform::ShowItem(const char* item, bool shown) {
    Action(item)->setVisible(shown);
}

MenuState Tstartform::CurrentMenuState() const {
    const TGem& design = *TheDesign;
    MenuState state;
    state.Initial = MenusInitial;
    state.Rotating = RotationMode;
    state.Modifying = design.ModifyMode();
    state.CutFacets = design.HasFacets();
    state.Crown = design.IsCrown();
    state.OutlineFile = design.OutlineFileExists();
    state.AllGirdle = design.AllGirdleFacets();
    state.GirdleFacet = design.HasGirdleFacet();
    state.CanUndo = Runner.History().CanUndo();
    state.CanRedo = Runner.History().CanRedo();
    state.PreformShown = Shown.PreformShown;
    return state;
}

void Tstartform::RefreshMenus() {
    const MenuState state = CurrentMenuState();
    for (const MenuRow& row : MenuRows())
        if (row.Kind != MenuKind::RecentFiles) Action(row.ObjectName)->setVisible(Visible(row, state));
    if (state.Initial) SetChecked("ShowOutline1", false);
    if (auto* addFacets = DialogObjects.Find<TForm14>())
        addFacets->setWindowTitle(state.Modifying ? "Change facet group" : "Add facet group");
}

void Tstartform::UpdateUndoRedo() {
    MenuState state = CurrentMenuState();
    state.Initial = false;
    for (const char* name : {"Undo2", "Redo1"})
        Action(name)->setVisible(Visible(*FindMenuRow(name), state));
}

void Tstartform::SetTitle(const std::string& suffix) {
    setWindowTitle(QString::fromStdString(DesignNaming.File + suffix));
}

void Tstartform::RestoreNaming(const FileNaming& kept) {
    DesignNaming = kept;
    SetTitle(Runner.History().ChangedSuffix());
}

void Tstartform::SetDesignFile(const std::string& path) {
    DesignNaming = {path, NameOnly(path), false};
    SetTitle("");
}

// ---- Files ----

bool Tstartform::OpenDesign(const std::string& path) {
    const FileNaming kept = Naming();
    SetDesignFile(path); // the title of the step the open records
    if (!Runner.Open(path)) {
        RestoreNaming(kept); // the design in memory is still the previous one
        return false;
    }
    RecentFiles->Add(DesignNaming.File);
    SetChecked("ShowOutline1", false);
    FileDialogRequest& openDialog = FileDialog(FileDialogKind::OpenDesign);
    openDialog.InitialDir = FolderOf(DesignNaming.File);
    openDialog.FileName = DesignNaming.Name;
    return true;
}

void Tstartform::AddRecentFile(const std::string& path) {
    RecentFiles->Add(path);
}

void Tstartform::RemoveRecentFile(const std::string& path) {
    RecentFiles->Remove(path);
}

void Tstartform::OpenPartnerHalf() {
    Openpartner1Click(*this);
}

// ---- Committing changes ----

bool Tstartform::ReadOutlineReported() {
    const FileResult read = TheDesign->ReadOutline("");
    Runner.ReportFileFailure(read);
    return read.Done();
}

void Tstartform::ReportSettingsProblem() {
    const std::string problem = ServiceSet.Settings.Problem();
    if (!problem.empty()) Runner.Report(problem);
}

bool Tstartform::ShowModal(QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
}

void Tstartform::FocusWindow() {
    activateWindow();
    Client->setFocus();
}

void Tstartform::RunCommand(const std::function<void(CommandHost&)>& command) {
    try {
        if (command) command(*this);
    } catch (const std::exception& error) {
        // A command that changes the design goes through the runner; this is the last guard of the others.
        Runner.Report(error.what());
        Runner.Revert();
    }
}

void Tstartform::ToggleOutline() {
    Action("ShowOutline1")->trigger(); // toggles the check mark, then runs the command
}

// ---- Click hand-off ----

void Tstartform::RequestClick(QDialog& requester, ClickKind kind, const std::string& prompt) {
    requester.done(QDialog::Rejected);
    ClickRequester = &requester;
    RequestedKind = kind;
    TakenClick.reset();
    Prompt = prompt;
    StatusBar1->show();
    StatusBar1->raise();
    CrosshairPending = true;
    const QPoint corner = frameGeometry().topLeft();
    ServiceSet.Window.SetCursorPos(corner.x() + RequestCursorLeft, corner.y() + RequestCursorTop);
    FocusWindow();
}

std::optional<SheetClick> Tstartform::TakeClick(const QDialog& requester) {
    if (&requester != ClickRequester || !TakenClick) return std::nullopt;
    std::optional<SheetClick> click;
    click.swap(TakenClick);
    return click;
}

void Tstartform::ZoomSheet(Real factor) {
    TheSheet.Zoom.ZoomAbout(factor, TheSheet.Zoom.CentreX, TheSheet.Zoom.CentreY);
    Repaint();
}

void Tstartform::ZoomSheetAbout(Real factor, QPoint about) {
    Real x = 0, y = 0;
    ClientToDesign(about.x(), about.y(), x, y);
    TheSheet.Zoom.ZoomAbout(factor, x, y);
    Repaint();
}

void Tstartform::LayOutSheet() {
    if (!Client->Surface) Repaint();
}

QSize Tstartform::ClientSize() const {
    return Client->size();
}

void Tstartform::PanSheet(QPoint by) {
    // The top view shows model y across and model x downwards.
    const Real across = TheSheet.TopView.Window.X.Scale * ClientCanvas.World.X.Scale;
    const Real down = TheSheet.TopView.Window.Y.Scale * ClientCanvas.World.Y.Scale;
    TheSheet.Zoom.CentreY -= by.x() / across;
    TheSheet.Zoom.CentreX -= by.y() / down;
    Repaint();
}

void Tstartform::ShowPrompt(QDialog& requester, const std::string& text) {
    StatusPanel->setText(QString::fromLatin1(text.c_str()));
    StatusBar1->show();
    StatusBar1->raise();
    connect(&requester, &QDialog::finished, StatusBar1, &QWidget::hide, Qt::SingleShotConnection);
}

void Tstartform::ClientToDesign(int x, int y, Real& modelX, Real& modelY) const {
    // The top view shows model y across and model x downwards.
    TheSheet.TopView.DeviceToWorld(x, y, modelY, modelX);
}

std::string Tstartform::Readout(int x, int y) const {
    Real modelX = 0, modelY = 0;
    ClientToDesign(x, y, modelX, modelY);
    const Real r = std::sqrt(modelX * modelX + modelY * modelY);
    std::string indexText(40, ' ');
    if (r > AxisBlankRadius) {
        Real theta = ArcCosDeg(modelX / r);
        if (modelY < 0) theta = 360 - theta;
        if (theta >= 360) theta -= 360;
        indexText = " Index: " + fixed(TheDesign->ShownIndex(TheDesign->IndexCount() * theta / 360), 4, 1);
    }
    return Prompt + "   x: " + fixed(modelX, 6, 2) + "  y: " + fixed(modelY, 6, 2) +
           "  r: " + fixed(r, 6, 2) + indexText + "     ";
}

void Tstartform::FormMouseMove(int x, int y) {
    if (CrosshairPending) {
        RepaintScreen(ShownDesign());
        const QPoint corner = frameGeometry().topLeft();
        ServiceSet.Window.SetCursorPos(corner.x() + CursorX, corner.y() + CursorY);
        const QPoint start = Client->ToDevice(QPointF(CursorX, CursorY));
        ClientCanvas.Crosshair(start.x(), start.y(), CrossStart);
        WaitingForClick = true;
        CrosshairPending = false;
    }
    if (!WaitingForClick) return;
    StatusPanel->setText(QString::fromLatin1(Readout(x, y).c_str()));
    ClientCanvas.Crosshair(x, y, CrossMove);
    Client->update();
}

void Tstartform::FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y) {
    if (!WaitingForClick) return;
    StatusBar1->hide();
    // Only a left press is a pick; another button only brings the dialog back.
    if (button == Qt::LeftButton) {
        SheetClick click;
        click.Kind = RequestedKind;
        ClientToDesign(x, y, click.X, click.Y);
        click.Ctrl = modifiers.testFlag(Qt::ControlModifier);
        click.Shift = modifiers.testFlag(Qt::ShiftModifier);
        TakenClick = click;
    }
    // The cursor is placed in screen pixels, the click is in device pixels of the sheet.
    const qreal ratio = Client->devicePixelRatioF();
    CursorX = qRound(x / ratio);
    CursorY = qRound(y / ratio) + (frameGeometry().height() - Client->height());
    WaitingForClick = false;
    ClientCanvas.Crosshair(0, 0, CrossEnd);
    RepaintScreen(ShownDesign());
    if (ClickRequester) ShowModal(*ClickRequester);
}

// ---- Free rotation ----

void Tstartform::StartRotation() {
    RotationMode = true;
    Runner.Refresh();
    TheSheet.RotateKey(*TheDesign, RotateStartKey);
    Client->update();
    Client->setFocus();
}

// The free rotation's key codes: the arrows and Escape by their virtual-key numbers.
static int RotationKey(int qtKey) {
    if (const int arrow = ArrowKeyCode(qtKey)) return arrow;
    if (qtKey == Qt::Key_Escape) return KeyEscape;
    return qtKey > 0 && qtKey < 0x100 ? qtKey : 0xFF; // never the start key 0
}

void Tstartform::FormKeyDown(int key) {
    if (!RotationMode) return;
    const int code = RotationKey(key);
    TheSheet.RotateKey(*TheDesign, code);
    Client->update();
    if (code == KeyLeft || code == KeyUp || code == KeyRight || code == KeyDown) return;
    ClientCanvas.ClearAll(ColourWhite);
    ClientCanvas.SetBrushColor(ColourWhite);
    ClientCanvas.SetPenColor(ColourBlack);
    RotationMode = false;
    RepaintScreen(*TheDesign);
    RefreshMenus();
}

// ---- Size ----

void Tstartform::ResizeWindow(QSize size) {
    StoredWidth = size.width();
    StoredHeight = size.height();
    ClosingDown = true; // no drawing while the window takes its new size
    resize(size);
    ClosingDown = false;
    Repaint();
}

// ---- Quitting ----

void Tstartform::QuitCommand() {
    if (Runner.History().CanUndo()) {
        ServiceSet.Messages.Beep();
        const Answer answer = ServiceSet.Messages.Confirm(
            DesignNaming.File.empty() ? "This program will terminate. Save current new design?"
                                      : "This program will terminate. Save current modifications?");
        if (answer == Answer::Cancel) return;
        // While the preform is shown the design holds the flattened base the preform was made from:
        // the user's design is its current undo snapshot.
        if (answer == Answer::Yes && Shown.PreformShown && !Runner.Revert()) return;
        if (answer == Answer::Yes && !SaveAs(*this, DesignNaming.File)) return;
    }
    ClosingDown = true;
    ServiceSet.Window.EndApplication();
}

void Tstartform::closeEvent(QCloseEvent* event) {
    // Ending the program closes the window once more: the question has been answered by then.
    if (ClosingDown) return event->accept();
    event->ignore();
    RunCommand([](CommandHost& w) { w.QuitCommand(); });
}
