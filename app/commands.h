// The main window's menu commands, grouped by family; each runs on the window it is given. The menu
// table (menu_table.cpp) binds them to their items.
#pragma once

#include "platform/services.h"

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

// ---- view_commands.cpp: free rotation and display options ----
void Rotate1Click(Tstartform& w);
void Showcutoff1Click(Tstartform& w);
void Showclick1Click(Tstartform& w);
void ShowOutline1Click(Tstartform& w);
void Showindices1Click(Tstartform& w);
void Resizedrawarea1Click(Tstartform& w);

// ---- modify_commands.cpp: cutting and whole-design changes ----
void Generalfacet1Click(Tstartform& w);
void RoundIndices1Click(Tstartform& w);
void Removelastfacets1Click(Tstartform& w);

// ---- group_commands.cpp: facet groups and tiers (change, delete, show tiers, change angles) ----

// ---- text_commands.cpp: the design's text, the facet data list and the about box ----

// ---- measure_commands.cpp: girdle measurements ----

// ---- exchange_commands.cpp: ASC files and girdle outlines ----

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
