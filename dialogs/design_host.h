// The main window as the dialogs see it: the design, the desktop services, what the window shows besides
// the design, the one change runner and the click hand-off. A dialog reaches the window through this
// alone; nothing in dialogs/ includes app/.
#pragma once

#include "editing/change_runner.h"
#include "gem/gem.h"
#include "services/services.h"
#include "sheet/design_sheet.h"

#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class DialogSet;
class QDialog;
class QObject;
class QWidget;

// The plane methods that the Add facets dialog offers (bit i: method i; the girdle method is always on).
inline constexpr unsigned AllTypedMethods = 0b1111; // methods 0 ... 3
inline constexpr unsigned ModifyMethods = 0b1011;   // no "3 points" while a facet group is replaced

// What a dialog asks the window to pick on the sheet.
enum class ClickKind { Edge, Point, Facet };

// What the prompt line says when a click found nothing to pick: the dialog then changes nothing.
inline constexpr const char* NoPointPicked = "No corner point at the click: nothing changed";
inline constexpr const char* NoEdgePicked = "No edge at the click: nothing changed";
inline constexpr const char* NoFacetPicked = "No facet at the click: nothing changed";
inline constexpr const char* NoGroupPicked = "No facet group at the click: nothing changed";

// One press of the left mouse button on the sheet, taken for the dialog that asked for it: the design
// point under it in the top view, and the Ctrl and Shift keys (the pick filters).
struct SheetClick {
    ClickKind Kind = ClickKind::Edge;
    Real X = 0, Y = 0;
    bool Ctrl = false, Shift = false;
};

// What the window shows besides the design, as the drawing and the dialogs read and set it.
struct DisplayState : DisplayOptions {
    int HighlightedGroupFirst = NoneFound; // first facet of the highlighted group
    bool DialogReset = false;              // the next activation of a dialog starts afresh
    unsigned MethodMask = AllTypedMethods; // plane methods offered by the Add facets dialog
    bool PreformShown = false;             // the window shows the CAM preform instead of the design
    bool ShowOutline = false;              // the "Show &Outline" option
};

class DesignHost {
  public:
    virtual ~DesignHost() = default;

    // ---- What the window holds ----
    virtual TGem& Design() = 0;
    virtual TGem& Preform() = 0; // the CAM preform
    TGem& ShownDesign() { return Display().PreformShown ? Preform() : Design(); }
    virtual const Services& Svc() = 0;
    virtual DisplayState& Display() = 0;
    // The full path of the design file; empty for a design never saved.
    virtual std::string DesignFile() = 0;
    // Names the design's file and shows it in the title (empty: a design never saved).
    virtual void SetDesignFile(const std::string& path) = 0;
    // The width in screen pixels of the sheet's text-lines view.
    virtual int TextLinesWidth() = 0;

    // ---- Dialogs ----
    virtual QWidget* DialogParent() = 0;
    virtual DialogSet& Dialogs() = 0;
    // Shows a dialog modally; true when it was closed with OK.
    virtual bool ShowModal(QDialog& dialog) = 0;

    // ---- The window ----
    // Draws the sheet again at once.
    virtual void Repaint() = 0;
    // Shows and hides the menu commands for the design as it is now.
    virtual void RefreshMenus() = 0;
    virtual void FocusWindow() = 0;
    // Runs the "Show &Outline" command as its menu item does.
    virtual void ToggleOutline() = 0;

    // ---- The one change runner ----
    // Every change of the design goes through it (editing/change_runner.h): an exception from the model
    // is shown to the user and the design is put back exactly as it was, with its undo history; a refused
    // change does nothing more. Each answers whether the change was made.
    virtual ChangeRunner& Changes() = 0;
    // One undo step, then the sheet is repainted and the menus refreshed.
    bool Apply(const DesignChange& change) { return Changes().Apply(change); }
    // A step of a dialog that shows its change at once; repaint and menus, no undo step. Finish keeps
    // what the steps did, CancelPreview throws it away.
    bool Preview(const DesignChange& change) { return Changes().Preview(change); }
    // The change with which a dialog ends (none: keep what its previews did), committed by the runner
    // (markers hidden, one undo step recorded and read back, repaint, menus); then the dialog closes with
    // OK and the window takes the focus. On a failure the dialog stays open.
    virtual bool Finish(QDialog& dialog, const DesignChange& change = nullptr);
    // The runner reads the current undo step back (what the previews did is gone); the dialog closes.
    virtual void CancelPreview(QDialog& dialog);

    // ---- The click hand-off ----
    // Closes requester; the window then takes one press on the sheet with a crosshair and the prompt in
    // front of the coordinate readout, and shows requester modally again, whose activation takes the
    // click with TakeClick.
    virtual void RequestClick(QDialog& requester, ClickKind kind, const std::string& prompt) = 0;
    // The press taken for requester, handed out once. Nothing while the press is still awaited, and
    // nothing for a press of another button than the left one, which only brings the dialog back.
    virtual std::optional<SheetClick> TakeClick(const QDialog& requester) = 0;
    // Shows text in the window's prompt line while requester stays open (a window without a prompt
    // line has nothing to show it in).
    virtual void ShowPrompt(QDialog& requester, const std::string& text) {
        (void)requester;
        (void)text;
    }

    // ---- The whole stone ----
    // The other half of the open design: the file chosen for it, else the other half of the ASC file
    // it was imported from, else the file the naming rule gives (NAMEc.lfx beside NAMEp.lfx). Null when
    // there is none or it cannot be read; PartnerProblem then says why.
    virtual const TGem* PartnerHalf() { return nullptr; }
    virtual std::string PartnerFile() { return {}; }
    virtual std::string PartnerProblem() { return {}; }
    // Opens the partner half for editing as File > Open opens a design (asking first about unsaved steps).
    virtual void OpenPartnerHalf() {}

    // ---- Windows that follow the design ----
    // `changed` runs after every repaint of the sheet while `follower` lives.
    void FollowDesign(QObject& follower, std::function<void()> changed);

  protected:
    // Tells every live follower that the design may have changed; called by Repaint.
    void TellFollowers();

  private:
    struct Follower {
        QPointer<QObject> Watcher;
        std::function<void()> Changed;
    };
    std::vector<Follower> Followers;
};
