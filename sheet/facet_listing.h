// The plain-text listing of the facet planes that goes to the printer: pages of 50 facet lines, each
// with a head naming the page and the design's file, a form feed before every page after the first.
#pragma once

#include <string>
#include <vector>

class TGem;

inline constexpr int ListingLinesPerPage = 50;
inline constexpr char FormFeed = '\f';

// The listing line by line, without line ends; a line holding the form feed alone starts a new page.
std::vector<std::string> FacetListingLines(const TGem& design, const std::string& file);
// The listing as it is sent to the printer: every line ended with CR LF.
std::string FacetListingText(const TGem& design, const std::string& file);

// The cutting instructions after the facet lines: a head and one line per tier in cutting order.
std::vector<std::string> InstructionListingLines(const TGem& design);
// Every tier's indices on a gear of `teeth` teeth: the nearest tooth and, off the gear, the error in
// degrees; tiers that cannot be cut exactly are marked. A gear outside 1 ... 400 is a RangeError.
std::vector<std::string> GearListingLines(const TGem& design, int teeth);
