// "Stretch Gem": stretches the stone along y, which turns a round design into an oval one and gives
// up its symmetry.
#pragma once

#include "dialogs/scale_dialog.h"

class TForm12 : public TScaleForm {
    Q_OBJECT
  public:
    explicit TForm12(DesignHost& host);

  protected:
    bool Scale(TGem& design, Real ratio) const override { return design.StretchY(ratio); }
};
