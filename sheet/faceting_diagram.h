// The faceting diagram: the one page a cutter takes to the machine. The crown from above, the pavilion
// from below, a side and an end elevation of the whole stone, the figures of the stone, and every tier
// in the order the stone is cut (pavilion, then crown) with its name, angle, indices and instruction.
#pragma once

#include "gem/cutting_instructions.h"
#include "sheet/draw_surface.h"
#include "stone/stone.h"

#include <string>
#include <vector>

enum class Paper { A4, Letter };

// The page in pixels at 96 dots per inch, portrait.
struct PagePixels {
    int Width = 0, Height = 0;
};
PagePixels DiagramPage(Paper paper);

struct FacetingDiagram {
    const TGem* Crown = nullptr; // either may be null for the diagram of one half
    const TGem* Pavilion = nullptr;
    const Stone* WholeStone = nullptr;
    std::string Title;                         // the cut's name, or the file's
    std::vector<std::string> Notes;            // lines under the title: the design's text
    std::string Weight;                        // e.g. "8.00 mm wide in Quartz: 2.31 ct"; may be empty
    std::vector<TierInstruction> Instructions; // of the whole stone, or of the one half
};

// The diagram of a crown and a pavilion (either may be null): the title is the cut's name (or the first
// text line, or `fileTitle`), the notes the further text lines, of the crown when there is one; the
// cutting instructions of the stone (of the one half when the other is null).
FacetingDiagram DiagramOf(const TGem* crown, const TGem* pavilion, const Stone& stone,
                          const std::string& fileTitle);

// The figure lines as the diagram and the window show them: ratios, facet counts, gear and symmetry,
// and, with a partner half, each girdle finding. `design` is either half (it gives gear and symmetry).
std::vector<std::string> StoneFigureLines(const Stone& stone, const TGem& design, const TGem* partner);

// The diagram's tier rows: name, angle, indices and instruction in columns; long index lists and
// instructions go on over further rows.
std::vector<std::string> InstructionRows(const std::vector<TierInstruction>& instructions);

// The four views of the stone (crown from above, pavilion from below, side, end) in a 2 x 2 grid in the
// rectangle, at one common scale.
void DrawStoneViews(DrawSurface& surface, const Stone& stone, int left, int top, int width, int height);

// Draws the diagram on the whole surface (white background first).
void DrawFacetingDiagram(DrawSurface& surface, const FacetingDiagram& diagram);
