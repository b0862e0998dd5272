// "delete facet group": picks one facet group and deletes it.
#pragma once

#include "dialogs/facet_group_picker.h"

class Tdeltierform : public FacetGroupPicker {
    Q_OBJECT
  public:
    explicit Tdeltierform(DesignHost& host);

    // "&Delete facets": the group found goes, as one undo step.
    void BitBtn1Click() override;

  protected:
    void ShowClickedFacet(int f) override;
};
