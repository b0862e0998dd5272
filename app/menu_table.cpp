// The main window's menus: one row per item, in menu order.
#include "app/menu_table.h"

#include "app/commands.h"

#include <array>
#include <cstring>

namespace {
using namespace Need;
using K = MenuKind;
using P = DuringPreform;

// Shown outside the free rotation and the replacement of a facet group.
constexpr unsigned On = Enabled;
// Shown once the design has cut facets and the commands are on.
constexpr unsigned OnWithCuts = Enabled | CutFacets;

// clang-format off
constexpr std::array Rows{
    // kind,       object name,         parent,        caption,                          shortcut, command,         start-up, after every change
    MenuRow{K::Menu, "File1",           nullptr,       "&File",                          "", nullptr,               Always, On, P::Hidden},
    MenuRow{K::Item, "New1",            "File1",       "&New ...",                       "Ctrl+N", &New1Click,      Always, Always},
    MenuRow{K::Item, "Newwithoutline1", "File1",       "New &with outline",              "", &Newwithoutline1Click, OutlineFile, NotRotating | OutlineFile},
    MenuRow{K::Item, "Open1",           "File1",       "&Open...",                       "Ctrl+O", &Open1Click,     Always, Always},
    MenuRow{K::RecentFiles, "Reopen1",  "File1",       "&Reopen",                        "", nullptr,               Always, Always},
    MenuRow{K::Item, "Readoutline1",    "File1",       "R&ead outline ...",              "", &Readoutline1Click,    Always, Always},
    MenuRow{K::Item, "Designlibrary1",  "File1",       "Design &library ...",            "", &Designlibrary1Click,  Always, Always},
    MenuRow{K::Item, "Print1",          "File1",       "&Print design",                  "Ctrl+P", &Print1Click,    Never, OnWithCuts},
    MenuRow{K::Item, "Printfullpage1",  "File1",       "Print &full page",               "", &Printfullpage1Click,  Never, OnWithCuts},
    MenuRow{K::Item, "Makepicture1",    "File1",       "&Make emf file...",              "Ctrl+M", &Makepicture1Click, Never, NotRotating | CutFacets},
    MenuRow{K::Item, "Makeascfile1",    "File1",       "Make asc &file ...",             "", &Makeascfile1Click,    Never, OnWithCuts},
    MenuRow{K::Item, "Export3d1",       "File1",       "Export &3D ...",                 "", &Export3d1Click,       Never, OnWithCuts},
    MenuRow{K::Item, "List1",           "File1",       "&List facet data",               "Ctrl+L", &List1Click,     Never, OnWithCuts},
    MenuRow{K::Item, "printfacetdata1", "File1",       "Print &facet data",              "", &printfacetdata1Click, Never, OnWithCuts},
    MenuRow{K::Item, "Printdiagram1",   "File1",       "Print faceting dia&gram",        "", &Printdiagram1Click,   Never, OnWithCuts},
    MenuRow{K::Item, "Savediagram1",    "File1",       "Save faceting &diagram as ...",  "", &Savediagram1Click,    Never, OnWithCuts},
    MenuRow{K::Item, "Openpartner1",    "File1",       "Open pa&rtner half",             "", &Openpartner1Click,    Never, On},
    MenuRow{K::Item, "Choosepartner1",  "File1",       "&Choose partner half ...",       "", &Choosepartner1Click,  Never, On},
    MenuRow{K::Separator, "N1",         "File1",       "",                               "", nullptr,               Never, OnWithCuts},
    MenuRow{K::Item, "Save1",           "File1",       "&Save",                          "Ctrl+S", &Save1Click,     Never, NotRotating | CutFacets},
    MenuRow{K::Item, "SaveAs1",         "File1",       "Save &as...",                    "Ctrl+A", &SaveAs1Click,   Never, OnWithCuts},
    MenuRow{K::Item, "SaveOutline1",    "File1",       "Save o&utline as...",            "", &SaveOutline1Click,    Never, OnWithCuts},
    MenuRow{K::Item, "importfile1",     "File1",       "&Import crown and girdle",       "", &importfile1Click,     Never, Never},
    MenuRow{K::Item, "Importcrown1",    "File1",       "I&mport crown ...",              "", &Importcrown1Click,    Always, Always},
    MenuRow{K::Item, "Importpav1",      "File1",       "Imp&ort pav ...",                "", &Importpav1Click,      Always, Always},
    MenuRow{K::Item, "Exit1",           "File1",       "E&xit",                          "Ctrl+X", &Exit1Click,     Always, Always},
    MenuRow{K::Item, "Edittext1",       nullptr,       "&Edit text",                     "", &Edittext1Click,       Never, OnWithCuts, P::Hidden},
    MenuRow{K::Item, "Generalfacet1",   nullptr,       "&Add  or modify facets",         "", &Generalfacet1Click,   Never, NotRotating, P::Hidden},
    MenuRow{K::Menu, "View1",           nullptr,       "&View",                          "", nullptr,               Never, OnWithCuts, P::Hidden},
    MenuRow{K::Item, "Rotate1",         "View1",       "&Rotate",                        "", &Rotate1Click,         Never, OnWithCuts},
    MenuRow{K::Item, "Wholestone1",     "View1",       "&Whole stone",                   "", &Wholestone1Click,     Always, Always},
    MenuRow{K::Item, "View3D1",         "View1",       "&3D view",                       "", &View3D1Click,         Never, OnWithCuts},
    MenuRow{K::Item, "Showtier1",       "View1",       "&Show tier",                     "", &Showtier1Click,       Always, Always},
    MenuRow{K::Item, "ZoomToFit1",      "View1",       "Zoom to &fit",                   "Ctrl+0", &ZoomToFit1Click, Always, Always},
    MenuRow{K::Item, "ActualSize1",     "View1",       "&Actual size",                   "Ctrl+1", &ActualSize1Click, Always, Always},
    MenuRow{K::Item, "ZoomIn1",         "View1",       "Zoom &in",                       "Ctrl++", &ZoomIn1Click,   Always, Always},
    MenuRow{K::Item, "ZoomOut1",        "View1",       "Zoom &out",                      "Ctrl+-", &ZoomOut1Click,  Always, Always},
    MenuRow{K::Item, "PrintAsShown1",   "View1",       "&Print as shown",                "", &PrintAsShown1Click,   Always, Always, P::ByRule, true},
    MenuRow{K::Item, "GearIndices1",    "View1",       "Indices on &gear ...",           "", &GearIndices1Click,    Always, Always},
    MenuRow{K::Item, "Brightness1",     "View1",       "&Brightness ...",                "", &Brightness1Click,     Always, Always},
    MenuRow{K::Menu, "Modify1",         nullptr,       "&Modify",                        "", nullptr,               Never, OnWithCuts, P::Hidden},
    MenuRow{K::Item, "Changetable1",    "Modify1",     "&Change table",                  "", &Changetable1Click,    Never, NotRotating | Crown | CutFacets},
    MenuRow{K::Item, "Makeculetfacet1", "Modify1",     "&Make or change culet facet",    "", &Makeculetfacet1Click, Always, NotRotating | Pavilion},
    MenuRow{K::Item, "Changetier1",     "Modify1",     "Change &facet group",            "", &Changetier1Click,     Never, Never},
    MenuRow{K::Item, "deletetier1",     "Modify1",     "D&elete facet group",            "", &deletetier1Click,     Always, Always},
    MenuRow{K::Item, "Changebaseplane1","Modify1",     "Shift &design",                  "", &Changebaseplane1Click, Never, GirdleFacet | CutFacets},
    MenuRow{K::Item, "Changeangles1",   "Modify1",     "C&hange angles",                 "", &Changeangles1Click,   Always, NotRotating | NotAllGirdle},
    MenuRow{K::Item, "Scale1",          "Modify1",     "Re&size",                        "", &Scale1Click,          Always, NotRotating | CutFacets},
    MenuRow{K::Item, "Scalepavilion1",  "Modify1",     "Scale &pavilion to crown",       "", &Scaletopartner1Click, Never, NotRotating | Pavilion | CutFacets},
    MenuRow{K::Item, "Scalecrown1",     "Modify1",     "Scale cro&wn to pavilion",       "", &Scaletopartner1Click, Never, NotRotating | Crown | CutFacets},
    MenuRow{K::Item, "Stretch1",        "Modify1",     "St&retch",                       "", &Stretch1Click,        Always, Always},
    MenuRow{K::Item, "RoundIndices1",   "Modify1",     "Round &indices",                 "", &RoundIndices1Click,   Never, OnWithCuts},
    MenuRow{K::Item, "Rotate3",         "Modify1",     "&Rotate",                        "", &Rotate3Click,         Never, OnWithCuts},
    MenuRow{K::Item, "Removelastfacets1","Modify1",    "&Remove last facet group",       "", &Removelastfacets1Click, Never, OnWithCuts},
    MenuRow{K::Item, "Undo2",           nullptr,       "&Undo",                          "", &Undo2Click,           Never, NotRotating | NotModifying | CanUndo, P::Hidden},
    MenuRow{K::Item, "Redo1",           nullptr,       "&Redo",                          "", &Redo1Click,           Never, NotRotating | NotModifying | CanRedo, P::Hidden},
    MenuRow{K::Menu, "Measure1",        nullptr,       "Mea&sure",                       "", nullptr,               Never, OnWithCuts, P::Hidden},
    MenuRow{K::Item, "CcdandDcf1",      "Measure1",    "&Dcf and Ccd",                   "", &CcdandDcf1Click,      Always, Always},
    MenuRow{K::Menu, "Options1",        nullptr,       "&Options",                       "", nullptr,               Never, NotRotating, P::Hidden},
    MenuRow{K::Item, "Showcutoff1",     "Options1",    "Show c&utoff",                   "", &Showcutoff1Click,     Always, Always, P::ByRule, true, true},
    MenuRow{K::Item, "Showclick1",      "Options1",    "Show &click",                    "", &Showclick1Click,      Always, Always, P::ByRule, true, true},
    MenuRow{K::Item, "ShowOutline1",    "Options1",    "Show &Outline",                  "", &ShowOutline1Click,    Never, NotRotating | OutlineFile, P::ByRule, true},
    MenuRow{K::Item, "Resizedrawarea1", "Options1",    "Resize drawarea",                "", &Resizedrawarea1Click, Never, Never},
    MenuRow{K::Item, "Showindices1",    "Options1",    "Show &indices",                  "", &Showindices1Click,    Always, OnWithCuts, P::ByRule, true},
    MenuRow{K::Item, "Symmetry2",       nullptr,       "S&ymmetry",                      "", &Symmetry2Click,       Never, On, P::Hidden},
    MenuRow{K::Menu, "campreform1",     nullptr,       "&CAM preform",                   "", nullptr,               Never, NotRotating | NotAllGirdle | CutFacets, P::Shown},
    MenuRow{K::Item, "campreform2",     "campreform1", "&make preform",                  "", &campreform2Click,     Always, Always, P::Hidden},
    MenuRow{K::Item, "campreform3",     "campreform1", "&Save as ...",                   "", &campreform3Click,     Never, Never, P::Shown},
    MenuRow{K::Item, "campreform4",     "campreform1", "&Print",                         "", &campreform4Click,     Never, Never, P::Shown},
    MenuRow{K::Item, "camlist",         "campreform1", "&List",                          "", &camlistClick,         Never, Never, P::Shown},
    MenuRow{K::Item, "campreform5",     "campreform1", "&Exit preform",                  "", &campreform5Click,     Never, Never, P::Shown},
    MenuRow{K::Item, "About1",          nullptr,       "A&bout",                         "", &About1Click,          Always, On, P::Hidden},
};
// clang-format on

bool Holds(unsigned needs, const MenuState& s) {
    auto need = [needs](Flag f) { return (needs & f) != 0; };
    if (need(Never)) return false;
    return (!need(Enabled) || s.Enabled()) && (!need(NotRotating) || !s.Rotating) &&
           (!need(NotModifying) || !s.Modifying) && (!need(CutFacets) || s.CutFacets) &&
           (!need(Crown) || s.Crown) && (!need(Pavilion) || !s.Crown) &&
           (!need(OutlineFile) || s.OutlineFile) && (!need(NotAllGirdle) || !s.AllGirdle) &&
           (!need(GirdleFacet) || s.GirdleFacet) && (!need(CanUndo) || s.CanUndo) &&
           (!need(CanRedo) || s.CanRedo);
}
} // namespace

std::span<const MenuRow> MenuRows() {
    return Rows;
}

const MenuRow* FindMenuRow(const char* objectName) {
    for (const MenuRow& row : Rows)
        if (std::strcmp(row.ObjectName, objectName) == 0) return &row;
    return nullptr;
}

bool Visible(const MenuRow& row, const MenuState& state) {
    if (row.Kind == MenuKind::RecentFiles) return true;
    if (state.PreformShown && row.Preform != DuringPreform::ByRule)
        return row.Preform == DuringPreform::Shown;
    return Holds(state.Initial ? row.Initial : row.Normal, state);
}
