// "list of facet data": a read-only grid of every facet's plane, index, angle and tier, of the design or,
// while the window shows it, of the CAM preform.
#pragma once

#include "dialogs/design_host.h"

#include <QDialog>
#include <QString>

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

    void FormActivate();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    DesignHost& Host;
};

// The eight cells of facet i's row.
QStringList FacetRowTexts(const TGem& design, int i);
