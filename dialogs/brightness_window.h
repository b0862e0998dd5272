// View > Brightness: how much light the stone returns, traced in the background while the design
// changes. The face-up brightness picture, the figures with their standard errors, the material or a
// typed index, the sky, the tilt on a slider that updates the picture while dragged, the tilt curves,
// and the path of the ray through a clicked point of the picture, in a side view and the top view.
//
// The window traces the whole stone of the open design and its partner half, or the design alone
// closed by the girdle plane, and says which. Every change of the design or of a control cancels the
// trace under way and starts a new one: a coarse picture first, then a fine one and figures to a
// tenth of a point.
#pragma once

#include "dialogs/design_host.h"
#include "optics/figures.h"
#include "optics/tilt.h"
#include "stone/stone.h"

#include <QDialog>

#include <atomic>
#include <memory>
#include <optional>
#include <vector>

class QComboBox;
class QDoubleSpinBox;
class QLabel;
class QSlider;
class QWidget;

class TBrightnessWindow : public QDialog {
  public:
    explicit TBrightnessWindow(DesignHost& host);
    ~TBrightnessWindow() override;

    // Traces the stone again with the controls as they are; `curves` also traces the tilt curves.
    void Restart(bool curves = true);
    // The trace of the current design and controls has delivered everything.
    bool Done() const { return done_; }
    // How many traces stopped early because a newer one replaced them.
    int CancelledTraces() const { return cancelled_->load(); }
    // The figures shown, empty while the first of the current trace are awaited.
    const std::optional<optics::Figures>& ShownFigures() const { return figures_; }
    // The events of the clicked ray, empty until a click.
    const std::vector<optics::PathStep>& ShownPath() const { return path_; }

    QComboBox* MaterialBox = nullptr; // the built-in materials, then "Typed index"
    QDoubleSpinBox* IndexBox = nullptr;
    QComboBox* LightBox = nullptr; // ISO or COS
    QComboBox* AxisBox = nullptr;  // the tilt axis: along or across index 0
    QSlider* TiltSlider = nullptr; // degrees
    QLabel* TiltLabel = nullptr;
    QLabel* StoneLabel = nullptr; // which stone is traced, or why there is none
    QLabel* FiguresLabel = nullptr;
    QLabel* PathLabel = nullptr;
    QWidget* Picture = nullptr; // click a point to see its ray's path
    QWidget* Curves = nullptr;
    QWidget* PathView = nullptr;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    class Job;
    struct Result;
    void BuildLayout();
    // Makes the stone of the design as it is now and traces it, unless it is the stone traced already
    // and not `always`.
    void DesignChanged(bool always);
    void MaterialChosen(int row);
    void IndexTyped();
    void Take(int generation, const Result& result);
    void ShowFigures(bool final);
    void TracePath(double u, double v);
    void ClearShown(const QString& why);
    double TiltAxis() const;

    DesignHost& host_;
    int generation_ = 0;
    bool done_ = false;
    Stone stone_;                                 // the stone of stone/ as traced, untilted
    std::optional<optics::TracedStone> untilted_; // the same for the tracer; empty when there is none
    QString stoneProblem_;                        // why there is none
    std::optional<optics::TracedStone> shown_;    // the traced stone, tilted as the slider says
    optics::TraceOptions options_;
    std::optional<optics::Figures> figures_;
    bool curvesWanted_ = true;
    std::vector<optics::TiltPoint> along_, across_;
    std::optional<std::pair<double, double>> clicked_; // the clicked point of the picture, 0 ... 1
    std::vector<optics::PathStep> path_;
    std::shared_ptr<std::atomic<int>> cancelled_ = std::make_shared<std::atomic<int>>(0);
    std::unique_ptr<Job> job_; // last: it stops before the widgets go
};
