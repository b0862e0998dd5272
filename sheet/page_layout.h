// Where a printed design sheet goes on the page, in printer pixels: half a page per design, the
// pavilion in the upper half and the crown in the lower half, placed through millimetres.
#pragma once

#include "gem/vector3.h"

struct HalfPageLayout {
    Real PixelsPerMm = 0;
    int Width = 0;      // of the sheet: the usable width, or less to keep the window's proportions
    int HalfHeight = 0; // of the usable page height
    int Left = 0, Right = 0;
    int Top1 = 0, Bottom1 = 0; // upper half (pavilion)
    int Top2 = 0, Bottom2 = 0; // lower half (crown)
};

// The layout for a page of horzMm x vertMm millimetres, pageWidthPx pixels across, and a sheet with
// the proportions of a client area of clientWidth x clientHeight pixels.
HalfPageLayout LayOutHalfPages(int horzMm, int vertMm, int pageWidthPx, int clientWidth, int clientHeight);
