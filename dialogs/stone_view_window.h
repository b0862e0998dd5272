// "3D view": a window beside the main window showing the whole stone of the open design and its partner
// half, flat shaded, or the open half alone with a line saying why there is no partner. A left drag
// turns it as a trackball, the wheel zooms, Home or R resets, the arrow keys turn it as the free rotation
// does; a click on a face of the open design selects its facet. It follows every change of the design.
#pragma once

#include "dialogs/design_host.h"
#include "sheet/stone_view.h"

#include <QDialog>
#include <QPoint>
#include <QWidget>
#include <functional>

class QLabel;

// The painted stone and its mouse, wheel and keys.
class StoneViewCanvas : public QWidget {
  public:
    explicit StoneViewCanvas(QWidget* parent);

    Stone Shown;
    StoneOrientation Orientation;
    std::vector<int> Marked; // faces drawn in the highlight tone
    // Runs for a click (press and release without a drag) with the face under it, -1 for none.
    std::function<void(int face)> FaceClicked;

    // The picture for the canvas's present size and orientation.
    StonePicture Picture() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QPoint PressedAt, LastAt;
    bool Pressed = false, Dragged = false;
};

class StoneViewWindow : public QDialog {
    Q_OBJECT
  public:
    explicit StoneViewWindow(DesignHost& host);

    StoneViewCanvas* Canvas;
    QLabel* StatusLine; // whose stone is shown, or why none

    // Makes the stone again from the design and its partner and draws it; a hidden window waits until
    // it is shown.
    void Rebuild();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void SelectFacetAt(int face);
    void MarkSelectedFacet();

    DesignHost& Host;
    bool Stale = true; // the design changed while the window was hidden
};
