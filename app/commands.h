// The main window's menu commands, grouped by family; each runs on the window it is given. The menu
// table (menu_table.cpp) binds them to their items.
#pragma once

#include "services/services.h"

#include <string>

class QAction;
class TGem;
class Tstartform;

// ---- file_commands.cpp: new, open, reopen, save, undo, redo, exit ----
void New1Click(Tstartform& w);
void Newwithoutline1Click(Tstartform& w);
void Open1Click(Tstartform& w);
void f1Click(Tstartform& w, QAction& slot); // a slot of the Reopen submenu
void Save1Click(Tstartform& w);
void SaveAs1Click(Tstartform& w);
void Exit1Click(Tstartform& w);
void Undo2Click(Tstartform& w);
void Redo1Click(Tstartform& w);
// The question before a command replaces the design: No at once when nothing changed.
Answer AskSaveChanges(Tstartform& w);
// Runs the save dialog and saves; a design never saved (empty name) gets the "c"/"p" suffix. True when
// saved.
bool SaveAs(Tstartform& w, const std::string& name);
// Open without its file dialog: the save question, then the design file given.
void OpenDroppedDesign(Tstartform& w, const std::string& path);

// ---- view_commands.cpp: free rotation and display options ----
void Rotate1Click(Tstartform& w);
// The shaded 3D view of the whole stone, in a window of its own beside the main window.
void View3D1Click(Tstartform& w);
// Zoom and pan of the sheet's views of the stone, and the design on another index gear.
void ZoomToFit1Click(Tstartform& w);
void ActualSize1Click(Tstartform& w);
void ZoomIn1Click(Tstartform& w);
void ZoomOut1Click(Tstartform& w);
void PrintAsShown1Click(Tstartform& w);
void GearIndices1Click(Tstartform& w);
void Brightness1Click(Tstartform& w);
void Showcutoff1Click(Tstartform& w);
void Showclick1Click(Tstartform& w);
void ShowOutline1Click(Tstartform& w);
void Showindices1Click(Tstartform& w);
void Resizedrawarea1Click(Tstartform& w);

// ---- modify_commands.cpp: cutting and whole-design changes ----
void Generalfacet1Click(Tstartform& w);
void RoundIndices1Click(Tstartform& w);
void Removelastfacets1Click(Tstartform& w);
// The preview dialogs: each initialises itself on every activation.
void Changetable1Click(Tstartform& w);
void Makeculetfacet1Click(Tstartform& w);
void Changebaseplane1Click(Tstartform& w);
void Scale1Click(Tstartform& w);
void Stretch1Click(Tstartform& w);
void Rotate3Click(Tstartform& w);
void Symmetry2Click(Tstartform& w);

// ---- group_commands.cpp: facet groups and tiers (change, delete, show tiers, change angles) ----
void Changetier1Click(Tstartform& w);
void deletetier1Click(Tstartform& w);
void Showtier1Click(Tstartform& w);
void Changeangles1Click(Tstartform& w);

// ---- text_commands.cpp: the design's text, the facet data list and the about box ----
void Edittext1Click(Tstartform& w);
void List1Click(Tstartform& w);
void camlistClick(Tstartform& w); // the facet data list of the CAM preform
void About1Click(Tstartform& w);
// The about box's version caption becomes the version text of the design and the preform.
void CopyVersionText(Tstartform& w);

// ---- measure_commands.cpp: girdle measurements ----
void CcdandDcf1Click(Tstartform& w);

// ---- exchange_commands.cpp: ASC files and girdle outlines ----
void Importcrown1Click(Tstartform& w);
void Importpav1Click(Tstartform& w);
void importfile1Click(Tstartform& w); // the hidden "Import crown and girdle": imports the crown
void Makeascfile1Click(Tstartform& w);
// Imports one half ('c' or 'p') of an ASC file as the design, through the change runner.
void ImportAscFile(Tstartform& w, char side, const std::string& path);
void Readoutline1Click(Tstartform& w);
void SaveOutline1Click(Tstartform& w);
// A file dropped on the window: a design opens as Open opens it, an ASC file imports as a crown, an
// outline is read as Read outline reads it; any other file is refused with a message.
void OpenDroppedFile(Tstartform& w, const std::string& path);
// File > Design library ...: the browser; the design chosen opens (an ASC design's crown or pavilion
// imports) as the File menu would open it.
void Designlibrary1Click(Tstartform& w);
// File > Export 3D ...: the stone of the design (and its partner half) as a 3D file.
void Export3d1Click(Tstartform& w);

// ---- print_commands.cpp: printing and pictures ----
void Print1Click(Tstartform& w);
void Printfullpage1Click(Tstartform& w);
void printfacetdata1Click(Tstartform& w);
void Makepicture1Click(Tstartform& w);
// Prints one design on half a page (the pavilion above, the crown below).
void PrintDesignOf(Tstartform& w, const TGem& design);

// ---- preform_commands.cpp: the CAM preform ----
void campreform2Click(Tstartform& w); // make preform
void campreform3Click(Tstartform& w); // Save as ...
void campreform4Click(Tstartform& w); // Print
void campreform5Click(Tstartform& w); // Exit preform

// ---- stone_commands.cpp: the whole stone of the design and its partner half ----
void Wholestone1Click(Tstartform& w);
void Scaletopartner1Click(Tstartform& w); // Scale pavilion to crown, and crown to pavilion
void Openpartner1Click(Tstartform& w);
void Choosepartner1Click(Tstartform& w);
void Printdiagram1Click(Tstartform& w);
void Savediagram1Click(Tstartform& w);
