// The shaded view of the stone painted with a QPainter: the faces towards the viewer filled, antialiased,
// and their edges drawn over them.
#pragma once

#include "sheet/stone_view.h"

class QPainter;

inline constexpr Colour StoneViewBackground = 0xF4F4F4;
inline constexpr Colour StoneEdgeColour = 0x383838;

// Paints the picture onto the painter's device; the background is the caller's.
void PaintStonePicture(QPainter& painter, const StonePicture& picture);
