// The shaded view of a whole stone: an orientation that a trackball drag, the arrow keys and a zoom turn,
// and the picture it gives. A convex polyhedron needs no depth buffer: the faces turned away from the
// viewer are dropped and the rest never overlap, so they are drawn in any order.
//
// View coordinates: x to the right, y up, z towards the viewer (an orthographic projection). Screen
// coordinates: pixels from the top left corner, y down.
#pragma once

#include "sheet/draw_surface.h"
#include "stone/stone.h"

#include <array>
#include <vector>

class TGem;

struct ScreenPoint {
    double x = 0, y = 0;
};

using ViewVector = std::array<double, 3>;
// Rows: the view's right, up and towards-the-viewer directions in stone coordinates.
using ViewTurn = std::array<ViewVector, 3>;

class StoneOrientation {
  public:
    static constexpr double KeyStepDegrees = 1; // one arrow key, as the free rotation turns
    static constexpr double MinZoom = 0.1, MaxZoom = 20;

    StoneOrientation() { Reset(); }
    // Looks at the stone from the side, raised a little above the girdle, at zoom 1.
    void Reset();
    // The arrow keys (KeyLeft ... KeyDown of the sheet) turn as the free rotation does: Left and Right
    // about the screen's vertical, Up and Down about its horizontal, one step a press. Other keys: nothing.
    void TurnByKey(int key);
    // A trackball: the point under `from` on a sphere filling the smaller side of a width x height view
    // is turned to the point under `to`.
    void TurnByDrag(ScreenPoint from, ScreenPoint to, int width, int height);
    // Turns the view about an axis given in view coordinates (a unit vector), by radians.
    void TurnAboutViewAxis(const ViewVector& axis, double radians);
    // Turns the stone about its own axis (z), by radians.
    void TurnAboutStoneAxis(double radians);
    // Multiplies the zoom, kept within MinZoom ... MaxZoom.
    void ZoomBy(double factor);

    const ViewTurn& Turn() const { return Rows; }
    double Zoom() const { return ZoomFactor; }
    ViewVector ToView(const Vector3& v) const;

  private:
    void Orthonormalize();

    ViewTurn Rows{};
    double ZoomFactor = 1;
};

// One face of the stone turned towards the viewer.
struct FacePicture {
    int Face = 0; // its index in Stone::Faces
    std::vector<ScreenPoint> Polygon;
    Colour Fill = ColourWhite;
};

struct EdgePicture {
    ScreenPoint A, B;
};

struct StonePicture {
    int Width = 0, Height = 0;
    std::vector<FacePicture> Faces;
    std::vector<EdgePicture> Edges; // the edges of the faces shown
};

// The picture of the stone in a width x height view: its axis through the centre, the whole stone
// filling most of the smaller side at zoom 1 whichever way it is turned. `marked` (indices in
// Stone::Faces) are drawn in the highlight tone.
StonePicture ProjectStone(const Stone& stone, const StoneOrientation& orientation, int width, int height,
                          const std::vector<int>& marked = {});

// The face (index in Stone::Faces) whose polygon holds the screen point, or -1 for none.
int FaceAt(const StonePicture& picture, ScreenPoint p);

// The facet of the design that made a face of the stone: the face's facet when the face comes from the
// design's half, the design's own girdle facet of the same plane for a girdle face the partner's girdle
// made; NoneFound for a face of the partner alone.
int DesignFacetOf(const Stone& stone, int face, const TGem& design);

// The faces that facet f of the design made.
std::vector<int> FacesOfDesignFacet(const Stone& stone, int f, const TGem& design);
