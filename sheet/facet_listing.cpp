#include "sheet/facet_listing.h"

#include "gem/cutting_instructions.h"
#include "gem/gear_conversion.h"
#include "gem/gem.h"
#include "gem/numtext.h"

#include <algorithm>

namespace {
const std::string Margin(15, ' ');
const std::string LineEnd = "\r\n";
constexpr int FirstLineForcesHead = 1000;

std::string Blanks(int n) {
    return std::string(static_cast<std::size_t>(n), ' ');
}

class Listing {
  public:
    Listing(const TGem& design, const std::string& file) : design_(design), file_(file) {}

    std::vector<std::string> Lines() {
        for (int i = -1; i <= design_.FacetCount; ++i) {
            if (++lines_ > ListingLinesPerPage) PageHead();
            FacetLine(i);
        }
        return out_;
    }

  private:
    void PageHead() {
        if (page_ != 0) out_.emplace_back(1, FormFeed);
        ++page_;
        EmptyLines(2);
        out_.push_back(Margin + "Page: " + fixed(page_, 5, 0) + Blanks(20) + file_);
        EmptyLines(2);
        out_.push_back(Margin + "  i  " + Blanks(20) + "a" + Blanks(22) + "b" + Blanks(22) + "c" +
                       Blanks(22) + "d" + Blanks(20) + "index" + Blanks(10) + "angle");
        lines_ = 1;
        EmptyLines(2);
    }

    void FacetLine(int i) {
        const Facet& f = design_.Facets[i];
        const std::string gap = Blanks(10);
        out_.push_back(Margin + fixed(i, 5, 0) + gap + fixed(f.Normal.x, 10, 4) + gap +
                       fixed(f.Normal.y, 10, 4) + gap + fixed(f.Normal.z, 10, 4) + gap +
                       fixed(f.Dist, 10, 4) + gap + fixed(f.Index, 8, 2) + gap +
                       fixed(design_.FacetAngle(i), 8, 2));
    }

    void EmptyLines(int n) {
        for (int k = 0; k < n; ++k)
            out_.emplace_back();
    }

    const TGem& design_;
    const std::string& file_;
    std::vector<std::string> out_;
    int lines_ = FirstLineForcesHead;
    int page_ = 0;
};
} // namespace

std::vector<std::string> FacetListingLines(const TGem& design, const std::string& file) {
    return Listing(design, file).Lines();
}

std::string FacetListingText(const TGem& design, const std::string& file) {
    std::string text;
    for (const std::string& line : FacetListingLines(design, file))
        text += line + LineEnd;
    return text;
}

std::vector<std::string> InstructionListingLines(const TGem& design) {
    std::vector<std::string> lines{"", Margin + "Cutting instructions", ""};
    for (const std::string& line : CuttingInstructionLines(CuttingInstructions(design)))
        lines.push_back(Margin + line);
    return lines;
}

namespace {
std::string ToothText(const IndexOnGear& index) {
    const std::string tooth = ZeroPadded(index.Nearest, 2, 0);
    if (index.OnGear()) return tooth;
    return tooth + " (" + (index.ErrorDegrees >= 0 ? "+" : "") + fixed(index.ErrorDegrees, 0, 2) + " deg)";
}
} // namespace

std::vector<std::string> GearListingLines(const TGem& design, int teeth) {
    const std::vector<TierOnGear> tiers = IndicesOnGear(design, teeth);
    std::vector<std::string> lines{"", Margin + "Indices on a gear of " + IntText(teeth) + " teeth", ""};
    for (const TierOnGear& tier : tiers) {
        std::string name = tier.Tier.Name;
        name.resize(std::max<std::size_t>(name.size(), 4), ' ');
        std::string teethText;
        for (const IndexOnGear& index : tier.Indices)
            teethText += (teethText.empty() ? "" : "-") + ToothText(index);
        const std::string mark =
            tier.Exact() ? "exact"
                         : "NOT EXACT: up to " + fixed(tier.LargestErrorDegrees(), 0, 2) + " deg off";
        lines.push_back(Margin + name + fixed(tier.Tier.Angle, 6, 2) + "  " + teethText + "  " + mark);
    }
    return lines;
}
