// "Export 3D": the open design's stone (with its partner half, or the open half alone) as an STL, OBJ,
// 3MF or STEP file in millimetres, sized by a width or by a weight in a material, with a minimum girdle.
#pragma once

#include "dialogs/design_host.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

class TExport3dDialog : public QDialog {
    Q_OBJECT
  public:
    explicit TExport3dDialog(DesignHost& host);

    // Writes the file the fields ask for; false after showing the reason.
    bool Export();

    QLineEdit* FileEdit;
    QPushButton* BrowseButton;
    QRadioButton* ByWidth;
    QRadioButton* ByWeight;
    QLineEdit* WidthEdit;
    QLineEdit* CaratsEdit;
    QComboBox* MaterialBox;
    QLineEdit* GirdleEdit;
    QComboBox* StoneBox; // the whole stone, or the crown or the pavilion alone
    QPushButton* OkButton;
    QPushButton* CancelButton;

  private:
    void Browse();
    void ShowSizeChoice();
    DesignHost& Host;
};
