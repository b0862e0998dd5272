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
