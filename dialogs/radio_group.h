// RadioGroup: a captioned group of radio buttons with one chosen item, as the dialogs lay them out. The
// arrow keys choose the next or previous enabled item, as a click on it does.
#pragma once

#include <QGroupBox>
#include <QStringList>
#include <vector>

class QButtonGroup;
class QRadioButton;

class RadioGroup : public QGroupBox {
    Q_OBJECT
  public:
    RadioGroup(const QString& caption, const QStringList& items, QWidget* parent = nullptr);

    // The chosen item (0-based), or -1 when none is chosen.
    int ItemIndex() const;
    void SetItemIndex(int index);
    QRadioButton* Item(int index) const { return Items.at(static_cast<std::size_t>(index)); }
    int Count() const { return static_cast<int>(Items.size()); }

  signals:
    void Clicked(int index);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Chooses the nearest enabled item from `from` in steps of `step` (1 or -1); false when there is none.
    bool ChooseNext(int from, int step);
    QButtonGroup* Group;
    std::vector<QRadioButton*> Items;
};
