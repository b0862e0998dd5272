#include "sheet/facet_listing.h"

#include "gem/gem.h"
#include "gem/numtext.h"

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
