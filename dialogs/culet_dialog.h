// "Make culet facet": moves the bottom plane of a pavilion, which makes or changes the culet facet.
#pragma once

#include "dialogs/bounding_plane_dialog.h"

class TForm2 : public TBoundingPlaneForm {
    Q_OBJECT
  public:
    explicit TForm2(DesignHost& host);
};
