// "Resize Gem": scales the whole stone about the origin.
#pragma once

#include "dialogs/scale_dialog.h"

class TForm11 : public TScaleForm {
    Q_OBJECT
  public:
    explicit TForm11(DesignHost& host);

  protected:
    bool Scale(TGem& design, Real ratio) const override { return design.Resize(ratio); }
};
