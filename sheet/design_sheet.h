// The design sheet: the views of the stone, its data panel, text lines and facet data table, drawn
// on any TUserCanvas (screen, printer page, picture file).
#pragma once

#include "gem/angles.h"
#include "gem/bounded_array.h"
#include "gem/gem.h"
#include "sheet/pick_markers.h"
#include "sheet/sheet_zoom.h"
#include "sheet/user_canvas.h"
#include "sheet/view.h"

#include <string>
#include <vector>

// The display options the main window keeps and the drawing reads.
struct DisplayOptions {
    bool ShowIndices = false; // facet indices beside the girdle edges
    bool ShowClick = true;    // the click markers of the dialogs
    bool ShowCutoff = true;   // "*" before indices of facets cut away
    int SelectedFacet = NoneFound;
    bool FacetSelected = false; // the selected facet itself is the dark one of its group
    int ShownTier = NoneFound;  // tier highlighted by Show tier; <= 0 for none
    // The corner polygons of a cut being planned (the Add facets preview), drawn in blue over the views
    // on the screen; the design itself does not hold them.
    std::vector<std::vector<Vector3>> PlannedCut;
    PickMarkers Markers; // drawn while ShowClick
};

// One row of the facet data table.
struct FacetTableRow {
    int GroupNumber = 0;
    int NoteRow = 0;
    std::string Name;
    std::string AngleText;
    int IndexCountInRow = 0;
    std::string IndicesText;
    std::string Note;
};

inline constexpr int MaxTableRows = 500;

// Keys of the free rotation (virtual key codes).
inline constexpr int RotateStartKey = 0;
// Any key that is not an arrow or Escape draws the stone again unchanged.
inline constexpr int RotateRedrawKey = -1;
inline constexpr int KeyEscape = 27, KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40;

// The three angles of the free rotation, degrees; A is never changed by the keys.
struct RotationAngles {
    Real A = 0, B = 0, C = 0;
};

class TDesignSheet {
  public:
    // Fixed layout constants of the sheet, in canvas units.
    static constexpr int WorldWidth = 800;
    static constexpr int DimGap = 8;
    static constexpr int TickHalf = 5;

    // The canvas whose logical height lays out every sheet, also one drawn on another canvas.
    TUserCanvas* ScreenCanvas = nullptr;

    TView PageView, TopView, DataView, AxisSideView, LowerLeftView, UprightSideView, TextLinesView,
        FacetTableView, RotateView, SpareView;

    BoundedArray<FacetTableRow, 1, MaxTableRows> Rows{"Table rows"};
    int RowsUsed = 0;

    DisplayOptions Options;
    int HighlightedGroupFirst = -1;

    // The zoom of the views of the stone on the screen; printers and pictures get the fixed scale unless
    // ZoomOnPrinter ("Print as shown").
    SheetZoom Zoom;
    bool ZoomOnPrinter = false;
    // Zoom to fit: the one scale at which the stone fills the view it fills most, each view keeping a
    // margin, centred in the girdle plane. Lays the views out on the screen canvas.
    void ZoomToFit(const TGem& design);

    // The screen set-up of every repaint: the logical area is 800 units across the client area.
    void SetUpScreen(TUserCanvas& canvas, DrawSurface* surface, int clientWidth, int clientHeight);
    // Clears the screen canvas white and draws the whole sheet on it.
    void RepaintScreen(const TGem& design);
    void DrawDesign(const TGem& design, TUserCanvas& canvas);
    // The sheet of a full-page print: top view, data panel, upright side view, the table with long
    // blocks and the text lines; nothing that belongs to the screen only.
    void DrawFullPage(const TGem& design, TUserCanvas& canvas);
    void DrawFacetGroupNumbers(const TGem& design);

    // The free rotation on the screen canvas: key 0 starts it, the arrow keys turn the stone, Escape
    // leaves the canvas empty, any other key draws it again unchanged.
    RotationAngles Rotation;
    Matrix3 ViewMatrix = ViewRotation(0, 0, 0); // the view the angles give
    void RotateKey(const TGem& design, int key);
    // Draws the edges of the facets facing the viewer under the view matrix.
    void DrawRotatedStone(const TGem& design);

    int BuildFacetTable(const TGem& design);
    void DrawFacetTable(const TGem& design, TUserCanvas& canvas, bool fullPage);

    // Logical height of the screen canvas (800 units wide).
    Real SheetHeight() const;

  private:
    void SetUpTopViews(TUserCanvas& canvas);
    void SetUpDataViews(const TGem& design, TUserCanvas& canvas);
    void SetUpLowerViews(const TGem& design, TUserCanvas& canvas);
    bool Zoomed(const TUserCanvas& canvas) const;
    bool FitLayout = false; // ZoomToFit lays the views out as zoomed ones
    void DrawTopViewFacets(const TGem& design);
    void DrawEdgeIndexLabels(const TGem& design);
    void DrawDimensions(const TGem& design);
    void DrawDataPanel(const TGem& design, TUserCanvas& canvas);
    void DrawUprightSide(const TGem& design, TUserCanvas& canvas);
    void DrawTextLines(const TGem& design, TUserCanvas& canvas);
    void DrawSeparators(TUserCanvas& canvas);
    void DrawHighlights(const TGem& design);
    void DrawPlannedCut(bool sideViews);
    void DrawMarkers(TView& view) const;
    // Highlights the group of `facet` in the view; its first facet, or -1 when there is none.
    int HighlightGroup(const TGem& design, int facet, TView& view, bool useFacet, int axes);
    void HighlightTier(const TGem& design, int tier, TView& view);
    void HighlightFacets(const TGem& design, TView& view, const std::vector<TGem::HighlightFacet>& facets,
                         int axes);
    void StartRow(int& row);
    void ReadNotes(const TGem& design);
};

// A model point's place in a view: its coordinates along the view's horizontal and vertical axes.
struct ViewPoint {
    Real h, v;
};
ViewPoint InView(const TView& view, const Vector3& p);
