#include "app/menu_binding.h"

#include <QAction>
#include <QVariant>

void BindToRow(QAction& action, std::size_t index) {
    action.setData(QVariant::fromValue(qulonglong(index)));
}

Command BoundCommand(const QAction& action) {
    bool numbered = false;
    const qulonglong row = action.data().toULongLong(&numbered);
    return numbered && row < MenuRows().size() ? MenuRows()[row].Run : nullptr;
}
