// Tstartform: the main window. It owns the design, its menus, the drawing of the design sheet, the
// click hand-off for the dialogs, the file commands with undo and redo, and the recent-files list.
#pragma once

#include "gem/angles.h"
#include "gem/gem.h"
#include "platform/qt_services.h"
#include "platform/services.h"
#include "platform/window_surface.h"
#include "world/design_sheet.h"
#include "world/user_canvas.h"

#include <QImage>
#include <QMainWindow>
#include <array>
#include <memory>
#include <string>

class QAction;
class QDialog;
class QMenu;
class QProgressBar;
class QLabel;
class QStatusBar;
class TForm6;
class TForm14;
class Treopen;
class Tstartform;

// The window's client area: shows the sheet image and passes mouse and keys to the window.
class ClientArea : public QWidget {
    Q_OBJECT
  public:
    explicit ClientArea(Tstartform& owner);
    // The design sheet as last drawn, with the crosshair drawn into it in XOR mode.
    std::unique_ptr<WindowSurface> Surface;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    Tstartform& Owner;
};

class Tstartform : public QMainWindow {
    Q_OBJECT
  public:
    enum class MenuMode { Initial, Normal };

    // FormCreate. commandLineFile names a design to open at the first activation (may be empty).
    Tstartform(const Services& services, const std::string& commandLineFile);
    // FormDestroy: the dialog folders and the recent-files list go to the settings store.
    ~Tstartform() override;

    // ---- Drawing and menus ----
    // Draws the whole sheet of design into the client area (skipped while ClosingDown).
    void RepaintScreen(TGem& design);
    // Marks the sheet for drawing again at the next paint event.
    void Invalidate();
    // Menu visibility: Initial at start-up; Normal after every change (enabled false hides the
    // commands that must not run during the free rotation or a facet-group replacement).
    void UpdateMenus(MenuMode mode, bool enabled = true);
    // Undo and Redo shown when the design can undo or redo and no rotation runs.
    void UpdateUndoRedo();
    // Caption := CurrentFile + suffix.
    void SetTitle(const std::string& suffix);

    // ---- Committing changes ----
    // The design writes its next undo snapshot; the title shows the step; pending events run.
    void RecordStep();
    // Called by a dialog whose change is done: markers hidden, step recorded and read back, dialog
    // closed with OK, window redrawn, menus refreshed.
    void DialogFinished(QDialog& dialog);
    // Shows a dialog modally; answers true when it was closed with OK.
    bool ShowModal(QDialog& dialog);

    // ---- The click hand-off (mouse selection for the dialogs) ----
    // Called by a dialog button before the dialog closes itself: the status bar shows, the crosshair
    // starts at the next mouse move, and the next mouse press on the sheet is recorded in ClickX,
    // ClickY, ClickButton, ClickShift, ClickCtrl and ClickShiftKey; then ClickRequester is shown
    // modally again. The requesting dialog sets ClickRequester to itself whenever it is shown and
    // ClickKind (1 edge, 2 point, 3 facet) before it closes; when shown again it consumes the click
    // (left button only) and resets ClickKind to 0. Sheet.TopView, as set up by the last repaint,
    // turns ClickX, ClickY into design coordinates (DeviceToWorld gives model y, then model x).
    // A dialog that changed the design ends with DialogFinished(*this); a Cancel sets DialogCancelled.
    void RequestClick(const std::string& prompt);
    // The design x and y of the top view at the click (ClickX, ClickY).
    void ClickInDesign(Real& x, Real& y) const;
    int ClickState = 0; // 0 idle, 2 waiting for a click on the sheet
    bool CrosshairPending = false;
    std::string Prompt;
    QDialog* ClickRequester = nullptr;
    int ClickKind = 0;
    int ClickX = 0, ClickY = 0; // client pixels of the click
    Qt::MouseButton ClickButton = Qt::NoButton;
    Qt::KeyboardModifiers ClickShift;
    bool ClickCtrl = false, ClickShiftKey = false;
    int CursorX = 400, CursorY = 300; // where the cursor is put when the crosshair starts

    // ---- File commands ----
    // The question before a command replaces the design: No when nothing changed.
    Answer AskSaveChanges();
    // Save as: runs the save dialog; a design never saved gets the "c"/"p" suffix. True when saved.
    bool SaveAs(const std::string& name);
    // Exit and the close button: asks about unsaved steps, then ends the program.
    void QuitCommand();
    // Reads the girdle outline again when the outline option is on (after a new design).
    void ShowOutlineAgain();

    // ---- Event handlers, by the names of their controls and events ----
    void FormActivate();
    void FormMouseMove(int x, int y);
    void FormMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int x, int y);
    void FormKeyDown(int key);
    void New1Click();
    void Generalfacet1Click();
    void Newwithoutline1Click();
    void ShowOutline1Click();
    void Open1Click();
    void f1Click(QAction* slot);
    void Save1Click();
    void SaveAs1Click();
    void Exit1Click();
    void Undo2Click();
    void Redo1Click();
    void Rotate1Click();
    void RoundIndices1Click();
    void Removelastfacets1Click();
    void Showcutoff1Click();
    void Showclick1Click();
    void Showindices1Click();
    void Resizedrawarea1Click();

    // ---- Owned objects and state ----
    const Services Svc;
    std::unique_ptr<TGem> Design;
    std::unique_ptr<TGem> PreformDesign;
    std::unique_ptr<Treopen> RecentFiles;
    std::unique_ptr<QtProgressSink> Progress;
    TUserCanvas ScreenCanvas; // the client area
    TUserCanvas PrintCanvas;  // the printer page
    TDesignSheet Sheet;       // the views of the sheet and the table rows, set up by every repaint

    std::string CurrentFile;
    std::string DesignName;
    bool RotationMode = false;
    bool PreformShown = false;
    bool ClosingDown = false;
    bool FirstActivation = true;
    std::string CommandLineFile;
    int SelectedFacet = NoneFound;
    bool FacetSelected = false;
    int HighlightedGroupFirst = NoneFound;
    int ShownTier = NoneFound;
    bool DialogReset = false;
    unsigned MethodMask = 0x0F; // bit i: plane method i offered by the Add facets dialog
    bool ShowClick = true;
    bool ShowCutoff = true;
    bool OutlineDesign = false;
    bool DialogCancelled = false; // set by a dialog's Cancel
    int StoredWidth = 0, StoredHeight = 0;
    int WorldWidth = 800;
    int DimGap = 8, TickHalf = 5;

    // The file dialogs and the folders they remember.
    FileDialogRequest OpenDialog1; // open design
    FileDialogRequest SaveDialog1; // save design
    FileDialogRequest OpenDialog2; // open ASC (import)
    FileDialogRequest SaveDialog2; // save ASC
    FileDialogRequest SavePicture; // save picture
    FileDialogRequest SaveOutline; // save outline
    FileDialogRequest OpenOutline; // open outline

    // Dialogs, created once.
    std::unique_ptr<TForm6> Form6;
    std::unique_ptr<TForm14> Form14; // Add facets

    // Window parts.
    ClientArea* Client = nullptr;
    QStatusBar* StatusBar1 = nullptr;
    QLabel* StatusPanel = nullptr; // the bar's one panel
    QProgressBar* ProgressBar1 = nullptr;

    // Menus and their items, named after their captions.
    QMenu *File1, *Reopen1, *View1, *Modify1, *Measure1, *Options1, *campreform1;
    QAction *New1, *Newwithoutline1, *Open1, *Readoutline1, *Print1, *Printfullpage1, *Makepicture1,
        *Makeascfile1, *List1, *printfacetdata1, *N1, *Save1, *SaveAs1, *SaveOutline1, *importfile1,
        *Importcrown1, *Importpav1, *Exit1;
    std::array<QAction*, 5> file{}; // the Reopen slots file1 ... file5
    QAction *Edittext1, *Generalfacet1, *Rotate1, *Showtier1, *Changetable1, *Makeculetfacet1, *Changetier1,
        *deletetier1, *Changebaseplane1, *Changeangles1, *Scale1, *Stretch1, *RoundIndices1, *Rotate3,
        *Removelastfacets1, *Undo2, *Redo1, *CcdandDcf1, *Showcutoff1, *Showclick1, *ShowOutline1,
        *Resizedrawarea1, *Showindices1, *Symmetry2, *campreform2, *campreform3, *campreform4, *camlist,
        *campreform5, *About1;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

  private:
    friend class ClientArea;
    void BuildMenus();
    void BuildStatusAndProgress();
    void ReadDialogFolders();
    void WriteDialogFolders();
    void ClientResized();
    // The display options of the menu check marks and the selection, as the drawing reads them.
    DisplayOptions CurrentOptions() const;
    // The status bar readout of the design point under the cursor.
    std::string Readout(int x, int y) const;
    TGem& ShownDesign() { return PreformShown ? *PreformDesign : *Design; }
    bool HasCutFacets() const;
    // The design's file operations; a failure is shown to the user and answers false.
    bool ReadReported(const std::string& name, int mode);
    bool WriteReported(const std::string& name, int mode, const std::string& shortName);
    void ReportFileFailure();
    // Reads the design's outline file again; a failure is shown and answers false.
    bool ReadOutlineReported();
    // Reads a design file as the current design; on failure the window keeps its file name and title.
    bool OpenDesign(const std::string& name);
    // After a design was opened: recent files, folders, a first undo step, menus.
    void DesignOpened();
    bool SheetValid = false;
};
