#include "dialogs/stone_view_window.h"

#include "platform/keyboard_conventions.h"
#include "platform/qt_surfaces.h"
#include "platform/stone_painting.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>
#include <filesystem>

namespace {
constexpr int StartWidth = 640, StartHeight = 520;
constexpr double WheelStep = 1.2;  // zoom of one notch of the wheel
constexpr double WheelNotch = 120; // angle delta of one notch
constexpr int MinCanvasSide = 120;

ScreenPoint At(const QPoint& p) {
    return {static_cast<double>(p.x()), static_cast<double>(p.y())};
}

std::string HalfName(const TGem& design) {
    return design.IsCrown() ? "crown" : "pavilion";
}

std::string WithoutFinalStop(std::string text) {
    while (!text.empty() && (text.back() == '.' || text.back() == ' '))
        text.pop_back();
    return text;
}
} // namespace

// ---- The canvas ----

StoneViewCanvas::StoneViewCanvas(QWidget* parent) : QWidget(parent) {
    setObjectName("StoneViewCanvas");
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(MinCanvasSide, MinCanvasSide);
}

StonePicture StoneViewCanvas::Picture() const {
    return ProjectStone(Shown, Orientation, width(), height(), Marked);
}

void StoneViewCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), ToQColor(StoneViewBackground));
    PaintStonePicture(painter, Picture());
}

void StoneViewCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    Pressed = true;
    Dragged = false;
    PressedAt = LastAt = event->position().toPoint();
}

void StoneViewCanvas::mouseMoveEvent(QMouseEvent* event) {
    if (!Pressed || !(event->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(event);
    const QPoint now = event->position().toPoint();
    if (!Dragged && (now - PressedAt).manhattanLength() < QApplication::startDragDistance()) return;
    Dragged = true;
    Orientation.TurnByDrag(At(LastAt), At(now), width(), height());
    LastAt = now;
    update();
}

void StoneViewCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !Pressed) return QWidget::mouseReleaseEvent(event);
    Pressed = false;
    if (Dragged || !FaceClicked) return;
    FaceClicked(FaceAt(Picture(), At(PressedAt)));
}

void StoneViewCanvas::wheelEvent(QWheelEvent* event) {
    Orientation.ZoomBy(std::pow(WheelStep, event->angleDelta().y() / WheelNotch));
    update();
}

void StoneViewCanvas::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Home || event->key() == Qt::Key_R) {
        Orientation.Reset();
    } else if (const int arrow = ArrowKeyCode(event->key())) {
        Orientation.TurnByKey(arrow);
    } else {
        return QWidget::keyPressEvent(event);
    }
    update();
}

// ---- The window ----

StoneViewWindow::StoneViewWindow(DesignHost& host) : QDialog(host.DialogParent()), Host(host) {
    setObjectName("StoneViewWindow");
    setWindowTitle("3D view");
    setWindowFlags(Qt::Window | Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    setModal(false);
    Canvas = new StoneViewCanvas(this);
    StatusLine = new QLabel(this);
    StatusLine->setObjectName("StatusLine");
    StatusLine->setWordWrap(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(Canvas, 1);
    layout->addWidget(StatusLine);
    resize(StartWidth, StartHeight);
    Canvas->FaceClicked = [this](int face) { SelectFacetAt(face); };
    Host.FollowDesign(*this, [this] { Rebuild(); });
}

void StoneViewWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (Stale) Rebuild();
    Canvas->setFocus();
}

void StoneViewWindow::Rebuild() {
    Stale = !isVisible();
    if (Stale) return;
    const TGem& design = Host.Design();
    const TGem* partner = Host.PartnerHalf();
    if (const FileResult made = MakeStoneOf(design, partner, Canvas->Shown); !made) {
        StatusLine->setText(QString::fromStdString(made.Error().Message));
    } else if (partner) {
        const std::string file = std::filesystem::path(Host.PartnerFile()).filename().string();
        StatusLine->setText(QString::fromStdString("The whole stone: the open " + HalfName(design) +
                                                   " with " + (file.empty() ? "its partner" : file)));
    } else {
        const std::string why = WithoutFinalStop(Host.PartnerProblem());
        StatusLine->setText(QString::fromStdString("No partner half" + (why.empty() ? "" : ": " + why) +
                                                   ". The " + HalfName(design) + " is shown alone."));
    }
    MarkSelectedFacet();
    Canvas->update();
}

void StoneViewWindow::MarkSelectedFacet() {
    const int f = Host.Display().SelectedFacet;
    Canvas->Marked = f >= 1 ? FacesOfDesignFacet(Canvas->Shown, f, Host.Design()) : std::vector<int>{};
}

// A facet of the open design is selected as a click on the sheet selects it; the table, the partner's
// faces and the space beside the stone leave the selection as it is.
void StoneViewWindow::SelectFacetAt(int face) {
    const int f = DesignFacetOf(Canvas->Shown, face, Host.Design());
    if (f < 1) return;
    Host.Display().SelectedFacet = f;
    Host.Display().FacetSelected = true;
    Host.Repaint();
}
