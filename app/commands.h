// The main window's menu commands, grouped by family; each runs on the window through the CommandHost it
// is given (app/command_host.h). The menu table (menu_table.cpp) binds them to their items.
#pragma once

#include "services/services.h"

#include <string>

class QAction;
class TGem;
class CommandHost;

// ---- file_commands.cpp: new, open, reopen, save, undo, redo, exit ----
void New1Click(CommandHost& w);
void Newwithoutline1Click(CommandHost& w);
void Open1Click(CommandHost& w);
void f1Click(CommandHost& w, QAction& slot); // a slot of the Reopen submenu
void Save1Click(CommandHost& w);
void SaveAs1Click(CommandHost& w);
void Exit1Click(CommandHost& w);
void Undo2Click(CommandHost& w);
void Redo1Click(CommandHost& w);
// The question before a command replaces the design: No at once when nothing changed.
Answer AskSaveChanges(CommandHost& w);
// Runs the save dialog and saves; a design never saved (empty name) gets the "c"/"p" suffix. True when
// saved.
bool SaveAs(CommandHost& w, const std::string& name);
// Open without its file dialog: the save question, then the design file given.
void OpenDroppedDesign(CommandHost& w, const std::string& path);

// ---- view_commands.cpp: free rotation and display options ----
void Rotate1Click(CommandHost& w);
// The shaded 3D view of the whole stone, in a window of its own beside the main window.
void View3D1Click(CommandHost& w);
// Zoom and pan of the sheet's views of the stone, and the design on another index gear.
void ZoomToFit1Click(CommandHost& w);
void ActualSize1Click(CommandHost& w);
void ZoomIn1Click(CommandHost& w);
void ZoomOut1Click(CommandHost& w);
void PrintAsShown1Click(CommandHost& w);
void GearIndices1Click(CommandHost& w);
void Brightness1Click(CommandHost& w);
void Showcutoff1Click(CommandHost& w);
void Showclick1Click(CommandHost& w);
void ShowOutline1Click(CommandHost& w);
void Showindices1Click(CommandHost& w);
void Resizedrawarea1Click(CommandHost& w);

// ---- modify_commands.cpp: cutting and whole-design changes ----
void Generalfacet1Click(CommandHost& w);
void RoundIndices1Click(CommandHost& w);
void Removelastfacets1Click(CommandHost& w);
// The preview dialogs: each initialises itself on every activation.
void Changetable1Click(CommandHost& w);
void Makeculetfacet1Click(CommandHost& w);
void Changebaseplane1Click(CommandHost& w);
void Scale1Click(CommandHost& w);
void Stretch1Click(CommandHost& w);
void Rotate3Click(CommandHost& w);
void Symmetry2Click(CommandHost& w);

// ---- group_commands.cpp: facet groups and tiers (change, delete, show tiers, change angles) ----
void Changetier1Click(CommandHost& w);
void deletetier1Click(CommandHost& w);
void Showtier1Click(CommandHost& w);
void Changeangles1Click(CommandHost& w);

// ---- text_commands.cpp: the design's text, the facet data list and the about box ----
void Edittext1Click(CommandHost& w);
void List1Click(CommandHost& w);
void camlistClick(CommandHost& w); // the facet data list of the CAM preform
void About1Click(CommandHost& w);
// The about box's version caption becomes the version text of the design and the preform.
void CopyVersionText(CommandHost& w);

// ---- measure_commands.cpp: girdle measurements ----
void CcdandDcf1Click(CommandHost& w);

// ---- exchange_commands.cpp: ASC files and girdle outlines ----
void Importcrown1Click(CommandHost& w);
void Importpav1Click(CommandHost& w);
void importfile1Click(CommandHost& w); // the hidden "Import crown and girdle": imports the crown
void Makeascfile1Click(CommandHost& w);
// Imports one half ('c' or 'p') of an ASC file as the design, through the change runner.
void ImportAscFile(CommandHost& w, char side, const std::string& path);
void Readoutline1Click(CommandHost& w);
void SaveOutline1Click(CommandHost& w);
// A file dropped on the window: a design opens as Open opens it, an ASC file imports as a crown, an
// outline is read as Read outline reads it; any other file is refused with a message.
void OpenDroppedFile(CommandHost& w, const std::string& path);
// File > Design library ...: the browser; the design chosen opens (an ASC design's crown or pavilion
// imports) as the File menu would open it.
void Designlibrary1Click(CommandHost& w);
// File > Export 3D ...: the stone of the design (and its partner half) as a 3D file.
void Export3d1Click(CommandHost& w);

// ---- print_commands.cpp: printing and pictures ----
void Print1Click(CommandHost& w);
void Printfullpage1Click(CommandHost& w);
void printfacetdata1Click(CommandHost& w);
void Makepicture1Click(CommandHost& w);
// Prints one design on half a page (the pavilion above, the crown below).
void PrintDesignOf(CommandHost& w, const TGem& design);

// ---- preform_commands.cpp: the CAM preform ----
void campreform2Click(CommandHost& w); // make preform
void campreform3Click(CommandHost& w); // Save as ...
void campreform4Click(CommandHost& w); // Print
void campreform5Click(CommandHost& w); // Exit preform

// ---- stone_commands.cpp: the whole stone of the design and its partner half ----
void Wholestone1Click(CommandHost& w);
void Scaletopartner1Click(CommandHost& w); // Scale pavilion to crown, and crown to pavilion
void Openpartner1Click(CommandHost& w);
void Choosepartner1Click(CommandHost& w);
void Printdiagram1Click(CommandHost& w);
void Savediagram1Click(CommandHost& w);
