// Tstartform: the main window. It owns the design and the preform, paints the design sheet, builds its
// menus from the menu table, runs every change of the design through one change runner, takes clicks on
// the sheet for the dialogs, runs the free rotation and asks before quitting. The commands themselves
// live in app/*_commands.cpp and reach the window through CommandHost; the dialogs through DesignHost.
#pragma once

#include "app/command_host.h"
#include "app/menu_table.h"
#include "app/partner_source.h"
#include "dialogs/design_host.h"
#include "dialogs/dialog_set.h"
#include "gem/gem.h"
#include "platform/qt_services.h"
#include "platform/window_surface.h"
#include "services/services.h"
#include "sheet/design_sheet.h"
#include "sheet/user_canvas.h"

#include <QMainWindow>
#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

class KeyboardConventions;
class QAction;
class QLabel;
class QMenu;
class QProgressBar;
class QStatusBar;
class Treopen;
class Tstartform;

// The window's client area: shows the sheet image and passes mouse and keys to the window.
class ClientArea : public QWidget {
    Q_OBJECT
  public:
    explicit ClientArea(Tstartform& owner);
    // The design sheet as last drawn, with the crosshair drawn into it in XOR mode, in device pixels.
    std::unique_ptr<WindowSurface> Surface;
    // The client area in device pixels (screen pixels times the screen's scale), and a point in it.
    QSize DeviceSize() const;
    QPoint ToDevice(QPointF logical) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    Tstartform& Owner;
    // Panning: the middle button, or the left one with Space held, drags the views of the stone.
    bool Panning = false;
    bool SpaceHeld = false;
    QPoint PanLast;
};

class Tstartform : public QMainWindow, public CommandHost, public ChangeView {
    Q_OBJECT
  public:
    // FormCreate. commandLineFile names a design to open at the first activation (may be empty).
    Tstartform(const Services& services, const std::string& commandLineFile);
    // FormDestroy: the dialog folders and the recent-files list go to the settings store.
    ~Tstartform() override;

    // ---- DesignHost ----
    TGem& Design() override { return *TheDesign; }
    TGem& Preform() override { return *ThePreform; }
    const Services& Svc() override { return ServiceSet; }
    DisplayState& Display() override { return Shown; }
    std::string DesignFile() override { return DesignNaming.File; }
    void SetDesignFile(const std::string& path) override;
    int TextLinesWidth() override;
    QWidget* DialogParent() override { return this; }
    DialogSet& Dialogs() override { return DialogObjects; }
    bool ShowModal(QDialog& dialog) override;
    void Repaint() override;
    void RefreshMenus() override;
    void FocusWindow() override;
    void ToggleOutline() override;
    ChangeRunner& Changes() override { return Runner; }
    void RequestClick(QDialog& requester, ClickKind kind, const std::string& prompt) override;
    std::optional<SheetClick> TakeClick(const QDialog& requester) override;
    void ShowPrompt(QDialog& requester, const std::string& text) override;
    const TGem* PartnerHalf() override { return ThePartner.Find(DesignNaming.File, Design()); }
    std::string PartnerFile() override { return ThePartner.File(); }
    std::string PartnerProblem() override { return ThePartner.Problem(); }
    void OpenPartnerHalf() override;

    // ---- CommandHost ----
    FileNaming Naming() const override { return DesignNaming; }
    void SetNaming(const FileNaming& naming) override { DesignNaming = naming; }
    void RestoreNaming(const FileNaming& kept) override;
    FileDialogRequest& FileDialog(FileDialogKind kind) override;
    void AddRecentFile(const std::string& path) override;
    void RemoveRecentFile(const std::string& path) override;
    bool OpenDesign(const std::string& path) override;
    bool ReadOutlineReported() override;
    void SetOutlineDesign(bool fromOutline) override { OutlineDesign = fromOutline; }
    PartnerSource& Partner() override { return ThePartner; }
    bool Checked(const char* item) const override;
    void SetChecked(const char* item, bool checked) override;
    void ShowItem(const char* item, bool shown) override;
    TDesignSheet& Sheet() override { return TheSheet; }
    TUserCanvas& ScreenCanvas() override { return ClientCanvas; }
    TUserCanvas& PrintCanvas() override { return PageCanvas; }
    QSize ClientSize() const override;
    void LayOutSheet() override;
    void ZoomSheet(Real factor) override;
    void KeepZoomFor(const std::string& path) override { ZoomByDesign[path] = TheSheet.Zoom; }
    void StartRotation() override;
    bool Rotating() const override { return RotationMode; }
    QSize WindowSize() const override { return {StoredWidth, StoredHeight}; }
    void ResizeWindow(QSize size) override;
    void QuitCommand() override;

    // ---- ChangeView ----
    void ShowStep(const std::string& suffix) override { SetTitle(suffix); }
    void ShowUndoRedo() override { UpdateUndoRedo(); }

    // ---- Drawing and menus ----
    // Draws the whole sheet of design into the client area (skipped while ClosingDown).
    void RepaintScreen(const TGem& design);
    // Marks the sheet for drawing again at the next paint event.
    void Invalidate();
    // Undo and Redo shown when the design can undo or redo and nothing forbids it.
    void UpdateUndoRedo();
    // The state the menu rules read.
    MenuState CurrentMenuState() const;
    // A menu item (or a menu's own action) by its object name; null when there is none.
    QAction* Action(const char* objectName) const;
    QMenu* Menu(const char* objectName) const;
    // Caption := the design file + suffix.
    void SetTitle(const std::string& suffix);
    // The design started from its girdle outline.
    bool StartedFromOutline() const { return OutlineDesign; }

    // ---- Reporting ----
    // Tells once at start-up what keeps the settings store from working.
    void ReportSettingsProblem();

    // ---- Event handlers, by the names of their controls and events ----
    void FormActivate();
    // Mouse positions in device pixels of the client area.
    void FormMouseMove(int x, int y);
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void FormKeyDown(int key);

    // ---- Owned objects ----
    const Services ServiceSet;
    ChangeRunner Runner{*this, ServiceSet.Messages, ServiceSet.Window};
    std::unique_ptr<TGem> TheDesign;
    std::unique_ptr<TGem> ThePreform;
    std::unique_ptr<Treopen> RecentFiles;
    std::unique_ptr<QtProgressSink> Progress;

    // ---- Window state ----
    bool ClosingDown = false;
    bool FirstActivation = true;
    bool MenusInitial = true; // the start-up menus, shown once when the window is made
    std::string CommandLineFile;

    // ---- The click hand-off ----
    QDialog* ClickRequester = nullptr; // the dialog to show again after the press
    ClickKind RequestedKind = ClickKind::Edge;
    bool CrosshairPending = false; // a click was requested; the crosshair starts at the next mouse move
    bool WaitingForClick = false;  // the crosshair runs; the next press is the click
    std::string Prompt;
    std::optional<SheetClick> TakenClick; // the last press, until its dialog takes it
    int CursorX = 400, CursorY = 300;     // where the cursor is put when the crosshair starts
    // The design point of the top view under a device pixel of the client area.
    void ClientToDesign(int x, int y, Real& modelX, Real& modelY) const;

    // ---- Zoom and pan of the sheet ----
    // Zooms by factor about a device pixel of the client area.
    void ZoomSheetAbout(Real factor, QPoint about);
    // Moves the views of the stone by device pixels.
    void PanSheet(QPoint by);

    // ---- Window parts ----
    ClientArea* Client = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel = nullptr; // the bar's one panel
    QProgressBar* ProgressBar1 = nullptr;
    QMenu* Reopen1 = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // A file dropped on the window is opened by its kind while the File menu is offered.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    friend class ClientArea;
    void BuildMenus();
    void BuildStatusAndProgress();
    void ReadDialogFolders();
    void WriteDialogFolders();
    void ClientResized();
    // Runs a menu command; nothing it throws leaves the slot (the message is shown, the design reloaded).
    void RunCommand(const std::function<void(CommandHost&)>& command);
    // The status bar readout of the design point under the cursor.
    std::string Readout(int x, int y) const;

    TUserCanvas ClientCanvas; // the client area
    TUserCanvas PageCanvas;   // the printer page
    TDesignSheet TheSheet;    // the views of the sheet and the table rows, set up by every repaint
    PartnerSource ThePartner; // the design's other half, for the whole stone
    DisplayState Shown;
    FileNaming DesignNaming;
    std::array<FileDialogRequest, FileDialogCount> FileDialogs;
    bool RotationMode = false;
    bool OutlineDesign = false;
    int StoredWidth = 0, StoredHeight = 0;
    std::map<std::string, SheetZoom> ZoomByDesign; // each design's zoom by its file, while the program runs
    std::string ZoomedFile;                        // the design file whose zoom the sheet shows
    std::map<std::string, QAction*> Actions;
    std::map<std::string, QMenu*> Menus;
    DialogSet DialogObjects; // after everything the dialogs may touch while they go
    std::unique_ptr<KeyboardConventions> Keyboard;
    bool SheetValid = false;
};
