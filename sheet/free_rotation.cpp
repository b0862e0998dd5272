// The free rotation: the stone turned by the model's view matrix, back faces hidden.
#include "gem/gem.h"
#include "sheet/design_sheet.h"

namespace {
constexpr Real RotateWindowHalfWidth = 2; // times the view size
constexpr Real RotateWindowTop = 1.5L;
} // namespace

void TDesignSheet::RotateKey(const TGem& design, int key) {
    TUserCanvas& canvas = *ScreenCanvas;
    canvas.ClearAll(ColourWhite);
    if (key == RotateStartKey) {
        const Real s = design.ViewSize;
        RotateView.Init(&canvas, "", 0, 0, WorldWidth, SheetHeight(), 1);
        RotateView.SetWindowIsotropic(-1, -RotateWindowHalfWidth * s, RotateWindowTop * s,
                                      RotateWindowHalfWidth * s);
        canvas.SetPenColor(ColourBlack);
        Rotation = RotationAngles{};
    }
    switch (key) {
    case KeyLeft:
        Rotation.C += 1;
        break;
    case KeyRight:
        Rotation.C -= 1;
        break;
    case KeyUp:
        Rotation.B -= 1;
        break;
    case KeyDown:
        Rotation.B += 1;
        break;
    case KeyEscape:
        return;
    default:
        break;
    }
    ViewMatrix = ViewRotation(Rotation.A, Rotation.B, Rotation.C);
    DrawRotatedStone(design);
}

void TDesignSheet::DrawRotatedStone(const TGem& design) {
    const Matrix3& r = ViewMatrix;
    // A facet faces the viewer when its inward normal points away along the view's first axis.
    auto facing = [&](int f) {
        const Vector3& n = design.Facets[f].Normal;
        return n.x * r[0][0] + n.y * r[1][0] + n.z * r[2][0] <= 0;
    };
    for (int e = 1; e <= design.EdgeCount; ++e) {
        const FacetEdge& edge = design.Edges[e];
        if (!facing(edge.FacetA) && !facing(edge.FacetB)) continue;
        const Vector3& a = design.Points[edge.PointA].Position;
        const Vector3& b = design.Points[edge.PointB].Position;
        RotateView.Line(
            a.x * r[0][1] + a.y * r[1][1] + a.z * r[2][1], a.x * r[0][2] + a.y * r[1][2] + a.z * r[2][2],
            b.x * r[0][1] + b.y * r[1][1] + b.z * r[2][1], b.x * r[0][2] + b.y * r[1][2] + b.z * r[2][2]);
    }
}
