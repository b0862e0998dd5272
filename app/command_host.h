// The main window as the menu commands see it: all a dialog sees (DesignHost), and besides it the
// design's file naming, the file dialogs and their folders, the recent files, the partner half, the sheet
// and its canvases, the menu items' check marks, and opening, rotating, resizing and quitting. Command
// files (app/*_commands.cpp) reach the window through this alone.
#pragma once

#include "dialogs/design_host.h"
#include "dialogs/dialog_set.h"
#include "services/services.h"

#include <QSize>
#include <string>

class PartnerSource;
class TDesignSheet;
class TUserCanvas;

// The window's file dialogs; each remembers its folder and the file last chosen.
enum class FileDialogKind {
    OpenDesign,
    SaveDesign,
    OpenAsc, // import
    SaveAsc, // export
    SavePicture,
    SaveOutline,
    OpenOutline,
    OpenPartner, // choose the partner half
    SaveDiagram, // save the faceting diagram
};
inline constexpr int FileDialogCount = static_cast<int>(FileDialogKind::SaveDiagram) + 1;

// The design's file, its name, and whether the program named the file (after an import: the first Save
// asks before it replaces a file of that name), as one value that a command keeps and puts back.
struct FileNaming {
    std::string File, Name;
    bool NotChosen = false;
};

class CommandHost : public DesignHost {
  public:
    // ---- The design's file naming (DesignFile and SetDesignFile: see DesignHost) ----
    virtual FileNaming Naming() const = 0;
    std::string DesignName() const { return Naming().Name; }
    // Names the design as given; the title shows it with the next recorded step.
    virtual void SetNaming(const FileNaming& naming) = 0;
    // Puts back a naming kept before a command that failed, and the title with it.
    virtual void RestoreNaming(const FileNaming& kept) = 0;

    // ---- Files ----
    // The request of one of the window's file dialogs, with the folder it starts in.
    virtual FileDialogRequest& FileDialog(FileDialogKind kind) = 0;
    // The Reopen list: a file put first, a file taken out.
    virtual void AddRecentFile(const std::string& path) = 0;
    virtual void RemoveRecentFile(const std::string& path) = 0;
    // Reads a design file as the design through the change runner, and updates the recent files, the
    // folders and the menus; on failure the window keeps its file name and title.
    virtual bool OpenDesign(const std::string& path) = 0;
    // Reads the design's outline file again; a failure is shown and answers false.
    virtual bool ReadOutlineReported() = 0;
    // The design starts from its girdle outline (New with outline, Read outline) or not.
    virtual void SetOutlineDesign(bool fromOutline) = 0;
    // Where the design's other half comes from (DesignHost::PartnerHalf reads it).
    virtual PartnerSource& Partner() = 0;

    // ---- Menu items, by object name ----
    virtual bool Checked(const char* item) const = 0;
    virtual void SetChecked(const char* item, bool checked) = 0;
    // Shows or hides one item and leaves the other menus as they are.
    virtual void ShowItem(const char* item, bool shown) = 0;

    // ---- The sheet ----
    // The views, options and zoom of the sheet, as last laid out.
    virtual TDesignSheet& Sheet() = 0;
    virtual TUserCanvas& ScreenCanvas() = 0; // the client area
    virtual TUserCanvas& PrintCanvas() = 0;  // the printer page
    // The client area in screen pixels.
    virtual QSize ClientSize() const = 0;
    // Draws the sheet when it was never drawn, so that its views are laid out for the client area.
    virtual void LayOutSheet() = 0;
    // Zooms by factor about the views' centre.
    virtual void ZoomSheet(Real factor) = 0;
    // The zoom shown stays with the design under the file path (a design saved under a new name).
    virtual void KeepZoomFor(const std::string& path) = 0;

    // ---- The window ----
    // The free rotation: the arrow keys turn the stone, any other key ends it.
    virtual void StartRotation() = 0;
    virtual bool Rotating() const = 0;
    // The window's size as last drawn, and a new one (the sheet is drawn once, at the new size).
    virtual QSize WindowSize() const = 0;
    virtual void ResizeWindow(QSize size) = 0;
    // Asks about unsaved steps, then ends the program.
    virtual void QuitCommand() = 0;
};
