// "Change facet group": picks one facet group and hands it to the Add facets dialog, which replaces it.
#pragma once

#include "dialogs/facet_group_picker.h"

class TForm9 : public FacetGroupPicker {
    Q_OBJECT
  public:
    explicit TForm9(DesignHost& host);

    // "&Change facets": the group found is replaced through the Add facets dialog.
    void BitBtn1Click() override;
    // "Cance&l": modify mode ends and the highlight goes.
    void BitBtn2Click() override;

  protected:
    void AfterReset() override;
    void ShowClickedFacet(int f) override;
};
