// RadioGroup: a captioned group of radio buttons with one chosen item.
#include "dialogs/radio_group.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QRadioButton>
#include <QVBoxLayout>

RadioGroup::RadioGroup(const QString& caption, const QStringList& items, QWidget* parent)
    : QGroupBox(caption, parent), Group(new QButtonGroup(this)) {
    auto* layout = new QVBoxLayout(this);
    for (int i = 0; i < items.size(); ++i) {
        auto* button = new QRadioButton(items[i], this);
        Group->addButton(button, i);
        layout->addWidget(button);
        button->installEventFilter(this);
        Items.push_back(button);
    }
    connect(Group, &QButtonGroup::idClicked, this, &RadioGroup::Clicked);
}

int RadioGroup::ItemIndex() const {
    return Group->checkedId();
}

void RadioGroup::SetItemIndex(int index) {
    if (index >= 0 && index < Count()) Item(index)->setChecked(true);
}

bool RadioGroup::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress) return QGroupBox::eventFilter(watched, event);
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int step = key == Qt::Key_Down || key == Qt::Key_Right ? 1
                     : key == Qt::Key_Up || key == Qt::Key_Left  ? -1
                                                                 : 0;
    if (step == 0) return QGroupBox::eventFilter(watched, event);
    for (int i = 0; i < Count(); ++i)
        if (Item(i) == watched) {
            ChooseNext(i, step);
            return true;
        }
    return QGroupBox::eventFilter(watched, event);
}

bool RadioGroup::ChooseNext(int from, int step) {
    for (int i = from + step; i >= 0 && i < Count(); i += step) {
        QRadioButton* item = Item(i);
        if (!item->isEnabled() || !item->isVisible()) continue;
        item->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        if (!item->isChecked()) item->click(); // checks it and reports the choice like a click
        return true;
    }
    return false;
}
