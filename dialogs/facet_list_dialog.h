// "list of facet data": a read-only grid of every facet's plane, index, angle and tier, of the design or,
// while the window shows it, of the CAM preform.
#pragma once

#include "dialogs/design_host.h"

#include <QDialog>
#include <QString>
#include <string>
#include <vector>

class QPlainTextEdit;
class QSpinBox;
class QTableWidget;

class TForm5 : public QDialog {
    Q_OBJECT
  public:
    explicit TForm5(DesignHost& host);

    static constexpr int ColCount = 8;
    // The grid; its header is the grid's one fixed row, row 0.
    QTableWidget* StringGrid1;

    // The grid's rows, the header row included, and the text of a cell (row 0: the header).
    int RowCount() const;
    QString Cells(int column, int row) const;

    // Below the grid: the cutting instructions with their meet points, and every tier's indices on the
    // gear of GearBox's teeth (1 ... 400; the design's own gear when the list opens).
    QSpinBox* GearBox;
    QPlainTextEdit* AidsText;
    // Set by "Indices on gear": the next activation puts the focus on the gear.
    bool AskForGear = false;
    void ShowAids();

    void FormActivate();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    DesignHost& Host;
    std::vector<std::string> InstructionLines; // worked out once each time the list opens
};

// The eight cells of facet i's row.
QStringList FacetRowTexts(const TGem& design, int i);
