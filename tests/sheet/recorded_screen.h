// A window client area of a given size with its screen canvas and sheet, drawing on a recording
// surface: what the sheet tests look at.
#pragma once

#include "gem/gem.h"
#include "sheet/design_sheet.h"
#include "sheet/recording_surface.h"

#include <vector>

struct Screen {
    RecordingSurface surface;
    TUserCanvas canvas;
    TDesignSheet sheet;
    explicit Screen(int width = 800, int height = 600) : surface(width, height) {
        sheet.SetUpScreen(canvas, &surface, width, height);
    }
    void Draw(TGem& design) {
        surface.Clear();
        sheet.RepaintScreen(design);
    }
    std::vector<const RecordedText*> TextsOfSize(int size) const {
        std::vector<const RecordedText*> found;
        for (const RecordedText& t : surface.Texts)
            if (t.Size == size) found.push_back(&t);
        return found;
    }
};
