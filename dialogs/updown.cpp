// UpDown: two arrow buttons whose clicks are reported.
#include "dialogs/updown.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QStyleOptionFocusRect>
#include <QStylePainter>
#include <QToolButton>
#include <QVBoxLayout>

namespace {
constexpr int ArrowWidth = 22;
constexpr int ArrowHeight = 14;
constexpr int FocusMargin = 2;

QToolButton* ArrowButton(Qt::ArrowType type, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setArrowType(type);
    button->setAutoRepeat(true); // held down, it clicks again and again
    button->setFocusPolicy(Qt::NoFocus);
    button->setFixedSize(ArrowWidth, ArrowHeight);
    return button;
}
} // namespace

UpDown::UpDown(QWidget* parent)
    : QWidget(parent), UpButton(ArrowButton(Qt::UpArrow, this)),
      DownButton(ArrowButton(Qt::DownArrow, this)) {
    setFocusPolicy(Qt::StrongFocus);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(FocusMargin, FocusMargin, FocusMargin, FocusMargin);
    layout->setSpacing(0);
    layout->addWidget(UpButton);
    layout->addWidget(DownButton);
    connect(UpButton, &QToolButton::clicked, this, [this] { emit Clicked(Arrow::Up); });
    connect(DownButton, &QToolButton::clicked, this, [this] { emit Clicked(Arrow::Down); });
}

void UpDown::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier || event->modifiers() == Qt::KeypadModifier) {
        if (event->key() == Qt::Key_Up) return UpButton->click();
        if (event->key() == Qt::Key_Down) return DownButton->click();
    }
    QWidget::keyPressEvent(event);
}

// A focus frame around the arrows, so that the keyboard user sees where the keys go.
void UpDown::paintEvent(QPaintEvent*) {
    if (!hasFocus()) return;
    QStylePainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, option);
}

QGridLayout* StepControlsLayout(QLabel* upLabel, QLabel* downLabel, UpDown* fine, UpDown* coarse) {
    auto* pair = new QHBoxLayout;
    pair->addWidget(fine);
    pair->addWidget(coarse);
    pair->addStretch();
    auto* grid = new QGridLayout;
    grid->addWidget(upLabel, 0, 0);
    grid->addWidget(downLabel, 1, 0);
    grid->addLayout(pair, 0, 1, 2, 1);
    return grid;
}
