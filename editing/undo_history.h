// The undo history of one design: every step is the design written as a design file into a private
// folder of this run, and undo, redo and reload read a step back. Free of Qt, like the change runner
// that keeps the window's history.
#pragma once

#include "gem/file_error.h"

#include <string>

class TGem;

class UndoHistory {
  public:
    // The file names' stem is chosen now; the private folder is made by the first step written.
    UndoHistory();
    // Removes the steps' files and the folder.
    ~UndoHistory();
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    // The step the design was last written as or read from, and the last step written; -1 before the
    // first step.
    struct Counters {
        int Current = -1;
        int Top = -1;
    };
    int Current() const { return Steps.Current; }
    int Top() const { return Steps.Top; }
    // The counters, to put back when a change fails half-way.
    Counters Backup() const { return Steps; }
    void Restore(const Counters& backup) { Steps = backup; }
    // A new history (after Open, Save or New design): the next step written is step 0. The files stay
    // until they are written again.
    void StartNew() { Steps = Counters{}; }

    // Writes the design as the next step, which becomes the last one. On failure the counters are
    // unchanged. The steps are the history's files: the design keeps the name of its own file.
    FileResult Record(TGem& design);
    // Read the previous, next or current step into the design. NothingToRead when there is no such step;
    // a failed read leaves the design and the counters as they were.
    FileResult Undo(TGem& design);
    FileResult Redo(TGem& design);
    FileResult Reload(TGem& design);
    bool CanUndo() const { return Steps.Current > 0; }
    bool CanRedo() const { return Steps.Current < Steps.Top; }
    // " (changed: n)" while there is a step to undo, else empty: the main window's caption suffix.
    std::string ChangedSuffix() const;

    // The file of step n, and the private folder (empty until the first step is written).
    std::string StepFile(int n) const;
    const std::string& Folder() const { return FolderPath; }

    // Every run keeps its steps in a private folder inside this one (the system's temporary folder;
    // empty when there is none).
    static std::string ParentFolder();
    // Names as the steps are given them: a run's private folder, and the files in it (steps, and steps
    // not yet complete).
    static bool IsFolderName(const std::string& name);
    static bool IsFileName(const std::string& name);

  private:
    FileResult MakeFolder();
    FileResult ReadStep(TGem& design, int n);
    void DeleteSteps();

    Counters Steps;
    std::string Stem; // "$$" + the time of day's digits + "$$"
    std::string FolderPath;
    std::string Prefix; // the folder and the stem: + step number + ".lfx" names a step's file
};
