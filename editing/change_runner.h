// The one change runner. Every change of the design goes through it: a dialog's, a menu command's, and
// the file operations that replace the design (open, save, undo, redo, import). It backs the design up,
// runs the change, puts the design back and reports on any exception, records the undo step in the
// design's undo history (which it owns), reads it back so that the design in memory equals its file form,
// and tells its view what to show again.
// Free of Qt: the main window and the tests' stand-in host run this same class.
#pragma once

#include "editing/undo_history.h"
#include "gem/gem.h"
#include "services/services.h"

#include <functional>
#include <string>

// A change of a design; false when it refused and changed nothing.
using DesignChange = std::function<bool(TGem&)>;

// What follows a change on the screen: the main window, or a test's stand-in.
class ChangeView {
  public:
    virtual ~ChangeView() = default;
    // The design the changes are made to (the same object for the whole run of the window).
    virtual TGem& Design() = 0;
    // The title's text after the design's file name: "" or " (changed: n)".
    virtual void ShowStep(const std::string& suffix) = 0;
    // Undo and Redo offered as the design's history allows.
    virtual void ShowUndoRedo() = 0;
    // The sheet drawn again from the design.
    virtual void Repaint() = 0;
    // The menu commands shown and hidden for the design as it is now.
    virtual void RefreshMenus() = 0;
};

class ChangeRunner {
  public:
    ChangeRunner(ChangeView& view, MessageService& messages, WindowServices& window);

    // ---- Changes of the design ----
    // One undo step, then the sheet and the menus. False when the change refused or failed (a failure is
    // shown and the design put back exactly as it was, with its undo history).
    bool Apply(const DesignChange& change);
    // A step of a dialog that shows its change at once: the sheet and the menus, no undo step.
    bool Preview(const DesignChange& change);
    // The change a dialog ends with (none: keep what its previews did): one undo step is recorded and read
    // back, then the sheet and the menus.
    bool Commit(const DesignChange& change = nullptr);
    // Throws away what the previews did: the current undo step is read back (with none yet, nothing is
    // restored); the sheet and the menus. False when nothing was read back.
    bool Revert();
    // The design shown again as it is: the sheet and the menus (after a change of what is shown).
    void Refresh();

    // ---- Changes that replace the design ----
    void Undo();
    void Redo();
    // Reads a design file as the design, with a new undo history whose first step it records. On failure
    // the design stays as it was and the failure is shown.
    bool Open(const std::string& path);
    // Writes the design to path (shortName: the name its text gives it) and reads it back as a new undo
    // history. On failure to write, the design, its history and the old file stay as they were; every failure
    // is shown.
    enum class Saved { No, Yes, ButNotReadBack };
    Saved Save(const std::string& path, const std::string& shortName);
    // Writes a snapshot for a design that has none yet, so that a later Revert has a step to go back to.
    bool EnsureStep();

    // The design is written as the next undo step; the title and Undo and Redo follow; pending events
    // run. False when the step could not be written (shown once while the same failure repeats).
    bool RecordStep();

    // The undo history of the design (a change that starts a new design starts a new history).
    UndoHistory& History() { return DesignHistory; }
    const UndoHistory& History() const { return DesignHistory; }

    // ---- Reporting ----
    // A beep and an error box.
    void Report(const std::string& message);
    // The failure of a file operation, if it is one (nothing to undo, redo or reload is none).
    void ReportFileFailure(const FileResult& result);

  private:
    bool Run(const DesignChange& change);
    bool ReadReported(const FileResult& read);
    bool OpenReported(const std::string& path);
    void ShowChanged();

    ChangeView& View;
    MessageService& Messages;
    WindowServices& Window;
    UndoHistory DesignHistory;
    std::string SnapshotFailureShown;
};
