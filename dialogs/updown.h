// UpDown: a pair of arrow buttons that report which of them was clicked. The dialogs use only the
// clicks, never a position: the control keeps its range and position for show, and a click at either
// end of the range is reported like any other. With the focus, the Up and Down keys click the arrows.
#pragma once

#include "gem/vector3.h"

#include <QWidget>

class QGridLayout;
class QLabel;
class QToolButton;

class UpDown : public QWidget {
    Q_OBJECT
  public:
    enum class Arrow { Up, Down };
    static constexpr int Min = -1000, Max = 1000;

    explicit UpDown(QWidget* parent = nullptr);

    int Position() const { return 0; }
    int Tag() const { return TagValue; }
    void SetTag(int tag) { TagValue = tag; }

    QToolButton* UpButton;
    QToolButton* DownButton;

  signals:
    void Clicked(UpDown::Arrow arrow);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    int TagValue = 0;
};

// step for the up arrow, -step for the down arrow.
inline Real SignedStep(Real step, UpDown::Arrow arrow) {
    return arrow == UpDown::Arrow::Up ? step : -step;
}

// The dialogs' step controls: the up and down labels on two rows in column 0, the fine and the coarse
// control side by side beside them in column 1; further rows go below.
QGridLayout* StepControlsLayout(QLabel* upLabel, QLabel* downLabel, UpDown* fine, UpDown* coarse);
