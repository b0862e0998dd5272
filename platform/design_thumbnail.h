// The small picture of a design in the design library: its top view as a PNG image.
#pragma once

#include "library/design_figures.h"

#include <string>

inline constexpr int ThumbnailSize = 128; // pixels, square

// PNG bytes of the top view's lines fitted into a square of `size` pixels; empty for an empty view.
// Safe to call from several threads at once.
std::string TopViewPng(const TopView& view, int size = ThumbnailSize);
