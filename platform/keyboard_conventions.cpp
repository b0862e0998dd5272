#include "platform/keyboard_conventions.h"

#include "services/services.h"
#include "sheet/design_sheet.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>

KeyboardConventions::KeyboardConventions(MessageService& messages) : Messages(messages) {
    qApp->installEventFilter(this);
}

KeyboardConventions::~KeyboardConventions() {
    qApp->removeEventFilter(this);
}

// Underlined letters and shortcuts are matched before a key press reaches a widget: an Alt+letter that
// arrives as a key press has no target. An open menu matches its letters itself and keeps them.
bool KeyboardConventions::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier);
    if (modifiers != Qt::AltModifier || key->text().isEmpty() || !key->text().at(0).isPrint()) return false;
    if (qobject_cast<QMenu*>(watched)) return false;
    Messages.Beep();
    return true;
}

int ArrowKeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return KeyLeft;
    case Qt::Key_Up:
        return KeyUp;
    case Qt::Key_Right:
        return KeyRight;
    case Qt::Key_Down:
        return KeyDown;
    default:
        return 0;
    }
}
