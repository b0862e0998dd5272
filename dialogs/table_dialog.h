// "Change Table of Gem": moves the table of a crown.
#pragma once

#include "dialogs/bounding_plane_dialog.h"

class TForm8 : public TBoundingPlaneForm {
    Q_OBJECT
  public:
    explicit TForm8(DesignHost& host);
};
